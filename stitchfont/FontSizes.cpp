#include "stitchfont/FontSizes.h"

#include <cstdio>

namespace stitchfont {

namespace {

const int kSizes[kFontCount][kSizeSteps] = {
    {5, 7, 8, 10, 13, 15, 20},        // 001
    {5, 7, 8, 10, 13, 15, 20},        // 002
    {4, 5, 6, 7, 8, 10, 13, 15, 20},  // 003
    {8, 10, 13},                      // 004
    {8, 10, 13},                      // 005
    {6, 7, 8, 10, 13, 15, 20},        // 006
    {6, 7, 8, 10, 13, 15, 20},        // 007
    {5, 7, 8, 10, 13, 15, 20},        // 008
    {6, 8, 10, 13},                   // 009
    {8, 10, 13},                      // 010
    {6, 8, 10, 12, 14},               // 011
    {6, 8, 10, 12, 14},               // 012
    {6, 8, 10, 12, 14},               // 013
    {7, 10, 15},                      // 014
    {10, 13, 15, 20},                 // 015
};

}  // namespace

int sizeNumber(int fontIndex, int sizeIndex) {
    if (fontIndex < 0 || fontIndex >= kFontCount || sizeIndex < 0 || sizeIndex >= kSizeSteps)
        return 0;
    return kSizes[fontIndex][sizeIndex];
}

std::string packPath(int fontIndex, int sizeIndex) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "MIVO_FONTS/MIVOFONT_%03i/%02i/stitch.pack", fontIndex + 1,
                  sizeNumber(fontIndex, sizeIndex));
    return buf;
}

}  // namespace stitchfont
