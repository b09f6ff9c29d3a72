// Loading the text and icon fonts at the pixel scale, icons by size index, and UTF-8 text with
// Thai shaped as Thai. Uses the font files of the data folder.

#include "gui/Fonts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gui/Globals.h"
#include "gui/Toolkit.h"

namespace {

class FontsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
        ASSERT_EQ(TTF_Init(), 0);
    }
    void SetUp() override {
        GUI_scale = 1;
        window = SDL_CreateWindow("fonts", 0, 0, 64, 64, 0);
        ASSERT_NE(window, nullptr);
        GUI_renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        ASSERT_NE(GUI_renderer, nullptr);
    }
    void TearDown() override {
        GUI_CloseIconFonts();
        SDL_DestroyRenderer(GUI_renderer);
        GUI_renderer = nullptr;
        SDL_DestroyWindow(window);
        GUI_scale = 1;
    }
    static bool fontFilesPresent() {
        SDL_RWops* a = SDL_RWFromFile(GUI_ResourcePath(GUI_TextFontFile).c_str(), "rb");
        SDL_RWops* b = SDL_RWFromFile(GUI_ResourcePath(GUI_IconFontFile).c_str(), "rb");
        const bool ok = a && b;
        if (a)
            SDL_RWclose(a);
        if (b)
            SDL_RWclose(b);
        return ok;
    }
    int iconHeight(int sizeIndex) {
        int w = 0, h = 0;
        SDL_Texture* t = GUI_RenderIcon(0xF111, &w, &h, GUI_White, sizeIndex);
        EXPECT_NE(t, nullptr) << "size index " << sizeIndex;
        SDL_DestroyTexture(t);
        return h;
    }

    SDL_Window* window = nullptr;
};

TEST(FontsThai, FindsTheThaiBlock) {
    const std::pair<std::string, bool> cases[] = {
        {"", false},
        {"Hello", false},
        {"\xE0\xB8\x81", true},               // U+0E01 ko kai
        {"Size \xE0\xB9\x99 cm", true},       // U+0E59 Thai digit nine
        {"\xE0\xB9\xBF", true},               // U+0E7F, last of the block
        {"\xE0\xBA\x81", false},              // U+0E81, Lao
        {"\xE0\xB7\xBF", false},              // U+0DFF, just before
        {"\xE3\x81\x82\xE3\x82\xA2", false},  // Japanese あア
        {"\xE0\xB8", false},                  // cut sequence
    };
    for (const auto& c : cases)
        EXPECT_EQ(GUI_HasThai(c.first), c.second) << c.first;
}

TEST_F(FontsTest, OpensEverySizeTimesTheScale) {
    if (!fontFilesPresent())
        GTEST_SKIP() << "font files missing";
    ASSERT_TRUE(GUI_LoadFonts());
    const int h14 = TTF_FontHeight(GUI_fonts[0]);
    const int h18 = TTF_FontHeight(GUI_fonts[1]);
    const int h11 = TTF_FontHeight(GUI_fonts[2]);
    EXPECT_GT(h18, h14);
    EXPECT_GT(h14, h11);
    EXPECT_NE(GUI_iconFonts[0], nullptr);
    EXPECT_NE(GUI_iconFonts[1], nullptr);
    EXPECT_EQ(GUI_iconFonts[2], nullptr);  // opened on first use
    EXPECT_EQ(GUI_Font(7), GUI_fonts[2]);
    EXPECT_EQ(GUI_Font(-3), GUI_fonts[0]);

    // At scale 2 every font is opened at twice the points (28, 36 and 22).
    GUI_CloseIconFonts();
    GUI_scale = 2;
    ASSERT_TRUE(GUI_LoadFonts());
    EXPECT_NEAR(TTF_FontHeight(GUI_fonts[0]), 2 * h14, 2);
    EXPECT_NEAR(TTF_FontHeight(GUI_fonts[1]), 2 * h18, 2);
    EXPECT_NEAR(TTF_FontHeight(GUI_fonts[2]), 2 * h11, 2);
}

TEST_F(FontsTest, IconSizeIndexIsClamped) {
    if (!fontFilesPresent())
        GTEST_SKIP() << "font files missing";
    ASSERT_TRUE(GUI_LoadFonts());
    const int h0 = iconHeight(0), h1 = iconHeight(1), h2 = iconHeight(2);
    EXPECT_LT(h0, h1);
    EXPECT_LT(h1, h2);
    EXPECT_EQ(iconHeight(5), h2);
    EXPECT_EQ(iconHeight(-1), h0);
}

TEST_F(FontsTest, TheFirstLargeIconOpensAllThreeSizes) {
    if (!fontFilesPresent())
        GTEST_SKIP() << "font files missing";
    ASSERT_TRUE(GUI_LoadFonts());  // icon sizes 0 and 1 at scale 1
    const int small = iconHeight(0);
    // Index 2 is not open yet: all three are opened, at the scale in force now.
    GUI_scale = 2;
    iconHeight(2);
    ASSERT_NE(GUI_iconFonts[2], nullptr);
    EXPECT_NEAR(iconHeight(0), 2 * small, 2);
}

TEST_F(FontsTest, IconsOpenOnDemandWithoutLoadFonts) {
    if (!fontFilesPresent())
        GTEST_SKIP() << "font files missing";
    GUI_CloseIconFonts();
    int w = 0, h = 0;
    SDL_Texture* t = GUI_RenderIcon(0xF0D7, &w, &h, GUI_Black, 1);
    ASSERT_NE(t, nullptr);
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
    SDL_DestroyTexture(t);
    GUI_CloseIconFonts();
    for (TTF_Font* f : GUI_iconFonts)
        EXPECT_EQ(f, nullptr);
}

TEST_F(FontsTest, ThaiMarksStackOnTheirConsonant) {
    if (!fontFilesPresent())
        GTEST_SKIP() << "font files missing";
    ASSERT_TRUE(GUI_LoadFonts());
    TTF_Font* f = GUI_fonts[0];
    int wBase = 0, wMarked = 0, h = 0;
    // ko kai alone, and with the vowel sara i and the tone mark mai ek above it.
    ASSERT_TRUE(GUI_SizeText(f, "\xE0\xB8\x81", &wBase, &h));
    ASSERT_TRUE(GUI_SizeText(f, "\xE0\xB8\x81\xE0\xB8\xB4\xE0\xB9\x88", &wMarked, &h));
    EXPECT_EQ(wMarked, wBase);
    // The same inside Latin text.
    int wLatin = 0, wLatinMarked = 0;
    ASSERT_TRUE(GUI_SizeText(f, "Ab \xE0\xB8\x81", &wLatin, &h));
    ASSERT_TRUE(GUI_SizeText(f, "Ab \xE0\xB8\x81\xE0\xB8\xB4\xE0\xB9\x88", &wLatinMarked, &h));
    EXPECT_EQ(wLatinMarked, wLatin);
}

TEST_F(FontsTest, RendersLatinThaiAndJapanese) {
    if (!fontFilesPresent())
        GTEST_SKIP() << "font files missing";
    ASSERT_TRUE(GUI_LoadFonts());
    for (const char* text : {"Embroidery on Cloud",
                             "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1"
                             "\xE0\xB8\xAA\xE0\xB8\x94\xE0\xB8\xB5",
                             "\xE5\x88\xBA\xE7\xB9\x8D\xE3\x83\x87\xE3\x82\xB6\xE3\x82\xA4"
                             "\xE3\x83\xB3"}) {
        int w = 0, h = 0;
        SDL_Texture* t = GUI_RenderText(GUI_fonts[1], text, GUI_White, &w, &h);
        ASSERT_NE(t, nullptr) << text;
        EXPECT_GT(w, 10) << text;
        EXPECT_GT(h, 10) << text;
        SDL_DestroyTexture(t);
    }
    EXPECT_EQ(GUI_RenderText(GUI_fonts[1], "", GUI_White), nullptr);
    EXPECT_EQ(GUI_RenderText(nullptr, "x", GUI_White), nullptr);
}

TEST_F(FontsTest, LoadingAgainReplacesTheTextFonts) {
    if (!fontFilesPresent())
        GTEST_SKIP() << "font files missing";
    ASSERT_TRUE(GUI_LoadFonts());
    ASSERT_TRUE(GUI_LoadFonts());
    int w = 0, h = 0;
    EXPECT_TRUE(GUI_SizeText(GUI_fonts[2], "still usable", &w, &h));
    EXPECT_GT(w, 0);
}

}  // namespace
