// The metrics of one stitch font pack, read from the "config.plist" beside its "stitch.pack".
//
// All values are in PEC units (0.1 mm), y growing downwards. Missing keys read as 0.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "stitchfont/FontEnv.h"

// Where a font sets one mark on a particular letter (or a tone mark on a particular vowel) away
// from where the placement rules of the composer put it, 0.1 mm, y down.
struct MarkShift {
    int32_t dx = 0;
    int32_t dy = 0;
};

struct FontMetrics {
    // Every key of the file (and every named key below, 0 when the file lacks it).
    std::map<std::string, int32_t> values;

    int32_t interCharacter = 0;  // letter spacing; counted twice between spacing glyphs
    int32_t spaceGap = 0;        // advance of a space the pack has no glyph for
    int32_t lineHeight = 0;      // height below which composed text is not centred vertically
    int32_t upperVowelGap = 0;   // lift of a tone mark standing on an upper vowel
    int32_t fishTail = 0;  // left shift of marks over ป ฝ ฟ and of lower vowels under ฤ ฦ
    int32_t elephantTail = 0;  // left shift of marks over ช ซ ศ ส
    int32_t owlTail = 0;       // left shift of marks over ฮ
    int32_t kiteY = 0;         // lift of marks over ฬ
    int32_t baseGap = 0;       // drop of a lower vowel under ญ ฎ ฏ ฐ

    // Corrections of the placement rules, by (first code, second code), from the keys
    // "<family>X_<first>_<second>" and "<family>Y_<first>_<second>" (codes as two hex digits,
    // e.g. "MarkX_BB_D4"). Family "Mark": mark `second` on letter `first`, or tone mark `second`
    // on vowel `first`. Family "Stack": a tone mark on vowel `second` of letter `first`, beyond
    // the vowel's own shift. A pack without them places every mark by the rules alone.
    std::map<std::pair<int, int>, MarkShift> markShifts;
    std::map<std::pair<int, int>, MarkShift> stackShifts;

    // Value of any key, 0 when absent.
    int32_t get(const std::string& key) const;
    // The shifts of (first, second); (0, 0) when the pack has none.
    MarkShift markShift(int first, int second) const;
    MarkShift stackShift(int first, int second) const;
    // The key of one axis ('X' or 'Y') of a shift of family "Mark" or "Stack", as the pack
    // builder writes it.
    static std::string shiftKey(const char* family, char axis, int first, int second);

    // Parses the text of a config.plist: a line holding "<key>" and "</key>" names a metric, the
    // very next line must hold "<integer>" and "</integer>" around its value (decimal, optional
    // sign; no digits give 0). A later key overwrites an earlier one. Logs each key under
    // "Key" and each value under "Value" at verbose level.
    static FontMetrics parse(const std::string& text, const FontEnv* env = nullptr);

    // Reads folder + "config.plist" through env.files (with the trace lines of the loader) and
    // parses it; a missing file gives all zeros.
    static FontMetrics load(const std::string& folder, const FontEnv& env);
};
