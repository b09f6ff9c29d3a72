// The metrics of one stitch font pack, read from the "config.plist" beside its "stitch.pack".
//
// All values are in PEC units (0.1 mm), y growing downwards. Missing keys read as 0.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "stitchfont/FontEnv.h"

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

    // Value of any key, 0 when absent.
    int32_t get(const std::string& key) const;

    // Parses the text of a config.plist: a line holding "<key>" and "</key>" names a metric, the
    // very next line must hold "<integer>" and "</integer>" around its value (decimal, optional
    // sign; no digits give 0). A later key overwrites an earlier one. Logs each key under
    // "Key" and each value under "Value" at verbose level.
    static FontMetrics parse(const std::string& text, const FontEnv* env = nullptr);

    // Reads folder + "config.plist" through env.files (with the trace lines of the loader) and
    // parses it; a missing file gives all zeros.
    static FontMetrics load(const std::string& folder, const FontEnv& env);
};
