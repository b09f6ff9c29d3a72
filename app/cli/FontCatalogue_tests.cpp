#include "app/cli/FontCatalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "stitchfont/FontSizes.h"

namespace {

TEST(FontCatalogue, SizeIsAStepOrAHeight) {
    const struct {
        int font;
        const char* value;
        int step;         // -1: refused
        const char* why;  // part of the reason when refused
    } cases[] = {
        {0, "0", 0, ""},
        {0, "6", 6, ""},
        {0, "5mm", 0, ""},
        {0, "20mm", 6, ""},
        {2, "4mm", 0, ""},
        {3, "10mm", 1, ""},
        {0, "7", -1, "has size steps 0 to 6 (5, 7, 8, 10, 13, 15 and 20 mm)"},
        {3, "11mm", -1, "font 3 (Purisa) has no 11 mm size; its sizes are 8, 10 and 13 mm"},
        {3, "-1", -1, "has size steps 0 to 2"},
        {3, "10 mm", -1, "must be a size step (0 to 2) or a height in millimetres, as 13mm"},
        {3, "mm", -1, "must be a size step"},
        {3, "", -1, "must be a size step"},
        {3, "1.5", -1, "must be a size step"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_EQ(cli::sizeStepFor(c.font, c.value, why), c.step) << c.value;
        EXPECT_NE(why.find(c.why), std::string::npos) << c.value << ": " << why;
    }
}

TEST(FontCatalogue, SizesFollowTheFontSizeTable) {
    int total = 0;
    for (int f = 0; f < stitchfont::kFontCount; ++f) {
        const std::vector<int> sizes = stitchfont::fontSizes(f);
        ASSERT_FALSE(sizes.empty()) << f;
        for (std::size_t s = 0; s < sizes.size(); ++s)
            EXPECT_EQ(sizes[s], stitchfont::sizeNumber(f, int(s))) << f;
        total += int(sizes.size());
    }
    EXPECT_EQ(total, 79);  // every pack the data folder ships
    EXPECT_EQ(cli::sizeListText(9), "8, 10 and 13 mm");
}

// The typefaces named here are those the data folder's README says the packs were made from.
TEST(FontCatalogue, TypefacesMatchTheFontReadme) {
    std::ifstream in(std::string(MES_SOURCE_DIR) + "/data/MIVO_FONTS/README.md");
    ASSERT_TRUE(in);
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        // "| 12 | MIVOFONT_013 | หัวกลม | Noto Looped Thai Bold (fonts-noto-core ...) | Noto ..."
        if (line.find("| MIVOFONT_") == std::string::npos)
            continue;
        const int font = std::stoi(line.substr(2));
        const cli::FontFacts& facts = cli::fontFacts(font);
        EXPECT_NE(line.find(std::string("| ") + facts.typeface + " ("), std::string::npos) << line;
        if (std::string(facts.latinTypeface) != facts.typeface) {
            EXPECT_NE(line.find(std::string("| ") + facts.latinTypeface + " |"), std::string::npos)
                << line;
        }
        ++rows;
    }
    EXPECT_EQ(rows, stitchfont::kFontCount);
}

TEST(FontCatalogue, DisplayNamesAreLinesOfNamesTxt) {
    const std::string text =
        "\xEF\xBB\xBF"
        "ครุฑ\r\nกินรี\nModern";
    const auto names = stitchfont::displayNames(text, 4);
    EXPECT_EQ(names, (std::vector<std::string>{"ครุฑ", "กินรี", "Modern", ""}));
}

}  // namespace
