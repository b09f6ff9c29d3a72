// The stitch fonts the editor offers: fifteen fonts, each with up to ten size steps. A size
// step names its pack folder by the letter height (size number); 0 means the step does not
// exist for that font.
#pragma once

#include <string>

namespace stitchfont {

constexpr int kFontCount = 15;
constexpr int kSizeSteps = 10;

// Size number of (fontIndex, sizeIndex); 0 for steps that do not exist and for indexes
// outside the table.
int sizeNumber(int fontIndex, int sizeIndex);

// "MIVO_FONTS/MIVOFONT_%03i/%02i/stitch.pack" with fontIndex + 1 and the size number. Indexes
// outside the table give size number 0, so a folder that never exists.
std::string packPath(int fontIndex, int sizeIndex);

}  // namespace stitchfont
