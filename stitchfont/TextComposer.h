// Text composition: a UTF-8 line becomes one stitch path glued from the glyphs of a pack, with
// Thai vowels and tone marks moved around the consonants they sit on: by the placement rules,
// plus the pack's own mark shifts where it has them. The composer itself is
// StitchPack::createPES(text, ...); this header exposes its steps for tests and tools.
//
// Character codes are single bytes: ASCII for Latin, TIS-620 (0xA1..0xFB) for Thai, and two
// glyph variants: 0x9E YO YING without its lower tail, 0x9F THO THAN without its lower tail.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "stitchfont/FontMetrics.h"

namespace stitchfont {

// A character that has no code (outside ASCII and the Thai block, or a malformed byte). It is
// never a glyph, so the composer skips it like any character the pack lacks.
constexpr int kNoCode = 0x100;
// The code buffer holds at most this many codes; longer text is cut at a character boundary.
constexpr std::size_t kMaxCodes = 255;

constexpr int kYoYingTailless = 0x9E;
constexpr int kThoThanTailless = 0x9F;

// Converts UTF-8 text to codes with the Thai rewrites: SARA AM becomes NIKHAHIT + SARA AA (a
// tone mark before it moves behind the NIKHAHIT), and YO YING / THO THAN before a lower vowel
// take their tailless variants when hasGlyph says the pack has that vowel. truncated (when
// given) tells whether the text was cut to kMaxCodes.
std::vector<int> textToCodes(const std::string& text, const std::function<bool(int)>& hasGlyph,
                             bool* truncated = nullptr);

// Movement of a mark glyph ch that follows f (and pp before f), from the placement table.
// Returns false when the combination leaves the glyph where it is.
bool placement(int pp, int f, int ch, const FontMetrics& m, int& dx, int& dy);

// The pack's own correction of that placement (FontMetrics::markShifts, stackShifts): for a
// mark on a letter the mark shift of (f, ch); for a tone mark on an upper vowel the vowel's
// mark shift on its letter (pp, f), the stack shift of (pp, f) and the mark shift of (f, ch);
// for a tone mark after a lower vowel the tone's mark shift on the letter (pp, ch) plus that
// of (f, ch). Returns false when the sum is (0, 0).
bool markCorrection(int pp, int f, int ch, const FontMetrics& m, int& dx, int& dy);

// Codes that advance the pen by nothing when joined (vowels above and below, tone marks).
bool isSpacingFree(int code);

// The letter classes the placement rules go by, for the tools that measure a font against them.
// Upper vowels: MAI HAN-AKAT, SARA I to SARA UEE and NIKHAHIT (0xD1, 0xD4..0xD7, 0xED).
bool isUpperVowel(int code);
// Lower vowels: SARA U, SARA UU and PHINTHU (0xD8..0xDA).
bool isLowerVowel(int code);
// Marks that stack on a vowel: the four tone marks and THANTHAKHAT (0xE8..0xEC).
bool isStackable(int code);

}  // namespace stitchfont
