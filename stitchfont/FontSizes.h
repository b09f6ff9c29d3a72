// The stitch fonts the editor offers: fifteen fonts, each with up to ten size steps. A size
// step names its pack folder by the letter height (size number); 0 means the step does not
// exist for that font.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stitchfont {

constexpr int kFontCount = 15;
constexpr int kSizeSteps = 10;

// Size number of (fontIndex, sizeIndex); 0 for steps that do not exist and for indexes
// outside the table.
int sizeNumber(int fontIndex, int sizeIndex);

// The size numbers of the font in size-step order, as the size drop-down and mes-cli offer them:
// entry j is size step j. The list ends at the first step without a size (the table gives every
// font's sizes first), so that a position in it is always the step.
std::vector<int> fontSizes(int fontIndex);

// The font display names held by the bytes of names.txt: UTF-8, one name per line in font order.
// A line ends at "\n", "\r" or "\r\n"; a leading byte order mark and a final NUL are dropped.
// Always `count` names, "" where the text has no line.
std::vector<std::string> displayNames(std::string_view namesTxt, int count);

// "MIVO_FONTS/MIVOFONT_%03i/%02i/stitch.pack" with fontIndex + 1 and the size number. Indexes
// outside the table give size number 0, so a folder that never exists.
std::string packPath(int fontIndex, int sizeIndex);

}  // namespace stitchfont
