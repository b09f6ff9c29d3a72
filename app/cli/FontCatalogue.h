// What mes-cli tells about the fifteen stitch fonts: a Latin name and the source typefaces of
// each (the display names the editor shows are read from data/MIVO_FONTS/names.txt, and the
// sizes in millimetres given, by stitchfont/FontSizes.h), and the reading of a --size value as a
// size step or as a height.
//
// Pure code. Font indexes are 0..14 (the font folders MIVOFONT_001..015); a size step is an
// index into the font's sizes; a size is the height of KO KAI in millimetres.
#pragma once

#include <string>
#include <vector>

namespace cli {

class Invocation;

struct FontFacts {
    const char* latinName;      // a name in Latin letters, for those who do not read Thai
    const char* typeface;       // the TrueType face the pack was made from
    const char* latinTypeface;  // the face of its Latin letters
};

// Facts of font 0..14 (font 0's for any other index).
const FontFacts& fontFacts(int font);

// "5, 7, 8, 10, 13, 15 and 20 mm".
std::string sizeListText(int font);

// The size step of the font named by a --size value: a step number ("3") or a height in
// millimetres ("10mm"). -1 with the reason in `why` (a sentence part naming the font's sizes)
// when the font has no such size or the value is neither.
int sizeStepFor(int font, const std::string& value, std::string& why);

// The --font value: 0..14, else a UsageError that points to mes-cli fonts.
int fontOption(const Invocation& in, const std::string& option = "--font");

// The --size value for the font: a step or a height ("10mm"), else a UsageError listing the
// font's sizes.
int sizeStepOption(const Invocation& in, int font, const std::string& option = "--size");

}  // namespace cli
