// Checks the generated files of data/ (made by tools/ui-font, tools/icon-font and tools/images):
// the icon font has every icon the program draws, the text font has every character of the
// translations and of the Thai and kana blocks, Thai vowels and tone marks are shaped into place,
// and the logo and window icon load. Needs SDL_ttf and SDL_image only, no window.
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <utf8.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kDataDir = std::string(MES_SOURCE_DIR) + "/data/";
const std::string kTextFont = kDataDir + "NotoSansLatinThaiJP.ttf";
const std::string kIconFont = kDataDir + "fontawesome-webfont.ttf";

std::string Hex(Uint32 cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

// Opens one font file at a size for the length of a test.
class FontFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TTF_Init(), 0) << TTF_GetError(); }
    void TearDown() override {
        for (TTF_Font* f : opened_)
            TTF_CloseFont(f);
        TTF_Quit();
    }
    TTF_Font* Open(const std::string& path, int points) {
        TTF_Font* f = TTF_OpenFont(path.c_str(), points);
        if (f)
            opened_.push_back(f);
        return f;
    }
    // The code points among `cps` the font lacks, as "U+XXXX" words.
    static std::string Missing(TTF_Font* font, const std::vector<Uint32>& cps) {
        std::string out;
        for (Uint32 cp : cps)
            if (!TTF_GlyphIsProvided32(font, cp))
                out += Hex(cp) + " ";
        return out;
    }

private:
    std::vector<TTF_Font*> opened_;
};

std::vector<Uint32> Range(Uint32 first, Uint32 last) {
    std::vector<Uint32> v;
    for (Uint32 cp = first; cp <= last; ++cp)
        v.push_back(cp);
    return v;
}

TEST_F(FontFile, IconFontProvidesEveryIconTheProgramDraws) {
    TTF_Font* font = Open(kIconFont, 16);
    ASSERT_NE(font, nullptr) << TTF_GetError();
    const std::vector<Uint32> icons = {
        0xF00C, 0xF00D, 0xF00E, 0xF010, 0xF013, 0xF01E, 0xF031, 0xF036, 0xF037,
        0xF038, 0xF03B, 0xF03C, 0xF055, 0xF056, 0xF067, 0xF068, 0xF07B, 0xF07C,
        0xF07D, 0xF07E, 0xF08B, 0xF090, 0xF0C4, 0xF0C5, 0xF0C7, 0xF0C9, 0xF0D7,
        0xF0D9, 0xF0EA, 0xF0ED, 0xF0EE, 0xF10C, 0xF111, 0xF118, 0xF147, 0xF148,
        0xF149, 0xF15B, 0xF196, 0xF1C5, 0xF1DA, 0xF1DB, 0xF1F8, 0xF247, 0xF24D};
    EXPECT_EQ(Missing(font, icons), "");
    // The check itself can fail: the icon font has no Thai.
    EXPECT_FALSE(TTF_GlyphIsProvided32(font, 0x0E01));
}

TEST_F(FontFile, IconsRenderWithInk) {
    // The shape textures are cut from these three circles at a large size.
    TTF_Font* font = Open(kIconFont, 64);
    ASSERT_NE(font, nullptr) << TTF_GetError();
    for (Uint32 cp : {0xF111u, 0xF10Cu, 0xF1DBu}) {
        SDL_Surface* s = TTF_RenderGlyph32_Blended(font, cp, SDL_Color{255, 255, 255, 255});
        ASSERT_NE(s, nullptr) << Hex(cp) << ": " << TTF_GetError();
        EXPECT_GT(s->w, 32) << Hex(cp);
        EXPECT_GT(s->h, 32) << Hex(cp);
        SDL_FreeSurface(s);
    }
}

TEST_F(FontFile, TextFontCoversLatinThaiAndKana) {
    TTF_Font* font = Open(kTextFont, 14);
    ASSERT_NE(font, nullptr) << TTF_GetError();
    struct Block {
        const char* name;
        std::vector<Uint32> cps;
    };
    const std::vector<Block> blocks = {
        {"printable ASCII", Range(0x20, 0x7E)},
        {"Latin-1", Range(0xA0, 0xFF)},
        {"Thai consonants and vowels", Range(0x0E01, 0x0E3A)},  // U+0E3B..0E3E unassigned
        {"Thai baht, vowels, marks and digits", Range(0x0E3F, 0x0E5B)},
        {"hiragana", Range(0x3041, 0x3096)},  // U+3097, 3098 unassigned
        {"hiragana marks", Range(0x3099, 0x309F)},
        {"katakana", Range(0x30A0, 0x30FF)},
        {"CJK punctuation", Range(0x3000, 0x3003)},
        {"full-width forms", Range(0xFF01, 0xFF5E)},
        {"kanji of the interface",
         {0x8A2D, 0x5B9A, 0x4FDD, 0x5B58, 0x958B, 0x6587, 0x5B57, 0x523A, 0x7E4D, 0x8272, 0x7DE8,
          0x96C6, 0x524A, 0x9664}},
    };
    for (const Block& b : blocks)
        EXPECT_EQ(Missing(font, b.cps), "") << b.name;
    // Unassigned code points in the Thai block must not be claimed.
    EXPECT_FALSE(TTF_GlyphIsProvided32(font, 0x0E3B));
    EXPECT_FALSE(TTF_GlyphIsProvided32(font, 0x0E5C));
}

// Every character of each translation file that exists (they are written by hand and grow):
// whatever a caption holds must be drawable.
TEST_F(FontFile, TextFontCoversEveryCharacterOfTheTranslations) {
    TTF_Font* font = Open(kTextFont, 14);
    ASSERT_NE(font, nullptr) << TTF_GetError();
    int files = 0;
    for (const char* lang : {"en", "th", "jp"}) {
        const std::string path = kDataDir + lang + "/Localizable.strings";
        std::ifstream in(path, std::ios::binary);
        if (!in)
            continue;
        ++files;
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        std::string valid;
        utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(valid), 0xFFFD);
        std::vector<Uint32> cps;
        for (auto it = valid.begin(); it != valid.end();) {
            const Uint32 cp = utf8::next(it, valid.end());
            // Line ends, tabs, a byte-order mark and what the decoder could not read carry no
            // glyph of their own.
            if (cp < 0x20 || cp == 0x7F || cp == 0xFEFF || cp == 0xFFFD)
                continue;
            cps.push_back(cp);
        }
        EXPECT_EQ(Missing(font, cps), "")
            << path << ": rebuild the font with tools/ui-font/build-ui-font.sh";
    }
    if (files == 0)
        GTEST_SKIP() << "no translation file in " << kDataDir;
}

// First and last rows of a surface that hold ink (alpha over a quarter), -1 when blank.
struct InkRows {
    int top = -1;
    int bottom = -1;
};

InkRows FindInk(SDL_Surface* s) {
    InkRows ink;
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGBA32, 0);
    if (!rgba)
        return ink;
    for (int y = 0; y < rgba->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(rgba->pixels) + y * rgba->pitch;
        for (int x = 0; x < rgba->w; ++x) {
            if (row[x * 4 + 3] > 64) {
                if (ink.top < 0)
                    ink.top = y;
                ink.bottom = y;
                break;
            }
        }
    }
    SDL_FreeSurface(rgba);
    return ink;
}

class ThaiShaping : public FontFile {
protected:
    void SetUp() override {
        FontFile::SetUp();
        font_ = Open(kTextFont, 48);
        ASSERT_NE(font_, nullptr) << TTF_GetError();
        ASSERT_EQ(TTF_SetFontScriptName(font_, "Thai"), 0)
            << "SDL_ttf was built without HarfBuzz: " << TTF_GetError();
    }
    InkRows Render(const std::string& text, int* height = nullptr) {
        SDL_Surface* s = TTF_RenderUTF8_Blended(font_, text.c_str(), SDL_Color{255, 255, 255, 255});
        if (!s) {
            ADD_FAILURE() << text << ": " << TTF_GetError();
            return {};
        }
        if (height)
            *height = s->h;
        InkRows ink = FindInk(s);
        SDL_FreeSurface(s);
        return ink;
    }
    TTF_Font* font_ = nullptr;
};

// A tone mark (or a mark on the nikhahit of sara am) must sit above an upper vowel, not inside
// it: the stacked cluster reaches clearly higher than the same cluster without the tone mark.
TEST_F(ThaiShaping, ToneMarksStackAboveUpperVowels) {
    const struct {
        const char* stacked;
        const char* plain;
    } pairs[] = {
        {"ปี่", "ปี"},   {"ที่", "ที"},   {"ปิ่น", "ปิน"}, {"นี้", "นี"},
        {"ซื้อ", "ซือ"}, {"น้ำ", "นำ"}, {"กั้น", "กัน"}, {"กิ์", "กิ"},
    };
    for (const auto& p : pairs) {
        const InkRows stacked = Render(p.stacked);
        const InkRows plain = Render(p.plain);
        ASSERT_GE(stacked.top, 0) << p.stacked;
        ASSERT_GE(plain.top, 0) << p.plain;
        // At 48 points the small tone marks stand about 10 pixels above the vowels.
        EXPECT_LE(stacked.top, plain.top - 5) << p.stacked << " against " << p.plain;
    }
}

// Lower vowels under consonants with a tail and the tallest stacks stay inside the line box
// the font reports, so labels sized by TTF_FontHeight clip nothing.
TEST_F(ThaiShaping, ClustersStayInsideTheLineBox) {
    const int lineHeight = TTF_FontHeight(font_);
    for (const char* text : {"ปิ่น", "ญุ", "ฎุ", "ฏู", "กำ", "น้ำ", "กิ์", "ปั๊ม", "ฤๅ", "Ág"}) {
        int h = 0;
        const InkRows ink = Render(text, &h);
        EXPECT_EQ(h, lineHeight) << text;
        EXPECT_GT(ink.top, 0) << text;
        EXPECT_LT(ink.bottom, h - 1) << text;
    }
}

// A lower vowel under a consonant with a tail hangs below the tail: ฎุ reaches lower than ฎ.
TEST_F(ThaiShaping, LowerVowelHangsBelowTheTail) {
    const InkRows withVowel = Render("ฎุ");
    const InkRows bare = Render("ฎ");
    EXPECT_GE(withVowel.bottom, bare.bottom + 5);
}

// The start-up logo is drawn at its pixel size times the scale, centred in the default
// 1024 x 673 window, so it must fit there with room to spare; the window icon is square.
TEST(DataImages, LogoAndIconLoadAtUsableSizes) {
    ASSERT_NE(IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG, 0) << IMG_GetError();
    SDL_Surface* logo = IMG_Load((kDataDir + "logo.png").c_str());
    ASSERT_NE(logo, nullptr) << IMG_GetError();
    EXPECT_GE(logo->w, 200);
    EXPECT_LE(logo->w, 1024 / 2);
    EXPECT_GE(logo->h, 100);
    EXPECT_LE(logo->h, 673 / 2);
    EXPECT_TRUE(SDL_ISPIXELFORMAT_ALPHA(logo->format->format));
    SDL_FreeSurface(logo);

    SDL_Surface* icon = IMG_Load((kDataDir + "icon.png").c_str());
    ASSERT_NE(icon, nullptr) << IMG_GetError();
    EXPECT_EQ(icon->w, icon->h);
    EXPECT_GE(icon->w, 64);
    EXPECT_LE(icon->w, 256);
    SDL_FreeSurface(icon);
    IMG_Quit();
}

}  // namespace
