#include "stitchfont/FontSizes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A position in the list is the size step the composer is given, so the list stops at the first
// step without a size rather than closing up the gap.
TEST(FontSizes, TheListPositionIsTheSizeStep) {
    for (int f = 0; f < stitchfont::kFontCount; ++f) {
        const std::vector<int> sizes = stitchfont::fontSizes(f);
        ASSERT_FALSE(sizes.empty()) << f;
        for (std::size_t step = 0; step < sizes.size(); ++step)
            EXPECT_EQ(sizes[step], stitchfont::sizeNumber(f, int(step))) << f;
        EXPECT_EQ(stitchfont::sizeNumber(f, int(sizes.size())), 0) << f;
    }
    EXPECT_EQ(stitchfont::fontSizes(3), (std::vector<int>{8, 10, 13}));
    EXPECT_TRUE(stitchfont::fontSizes(-1).empty());
    EXPECT_TRUE(stitchfont::fontSizes(stitchfont::kFontCount).empty());
}

TEST(FontSizes, DisplayNamesAreTheLinesOfNamesTxt) {
    using Names = std::vector<std::string>;
    // Every line end the editor's text files use, a byte order mark and a closing NUL.
    EXPECT_EQ(stitchfont::displayNames(std::string("\xEF\xBB\xBF"
                                                   "a\r\nb\nc\rd\0",
                                                   12),
                                       5),
              (Names{"a", "b", "c", "d", ""}));
    // Blank lines keep their place; the line end after the last name adds none.
    EXPECT_EQ(stitchfont::displayNames("a\n\nc\n", 4), (Names{"a", "", "c", ""}));
    // More lines than fonts.
    EXPECT_EQ(stitchfont::displayNames("a\nb\nc", 2), (Names{"a", "b"}));
    EXPECT_EQ(stitchfont::displayNames("", 2), (Names{"", ""}));
}

}  // namespace
