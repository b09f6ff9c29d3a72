#include "stitchfont/FontSizes.h"

#include <algorithm>
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

std::vector<int> fontSizes(int fontIndex) {
    std::vector<int> sizes;
    for (int step = 0; step < kSizeSteps; ++step) {
        const int n = sizeNumber(fontIndex, step);
        if (n == 0)
            break;
        sizes.push_back(n);
    }
    return sizes;
}

std::vector<std::string> displayNames(std::string_view text, int count) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    if (!text.empty() && text.back() == '\0')
        text.remove_suffix(1);
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < text.size() && int(names.size()) < count) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        names.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
            ++start;
    }
    names.resize(std::size_t(count > 0 ? count : 0));
    return names;
}

std::string packPath(int fontIndex, int sizeIndex) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "MIVO_FONTS/MIVOFONT_%03i/%02i/stitch.pack", fontIndex + 1,
                  sizeNumber(fontIndex, sizeIndex));
    return buf;
}

}  // namespace stitchfont
