// Text composition over a fixture pack whose glyphs are told apart by their tick heights: every
// placement row, rewrite, spacing and centring rule is checked on the composed stitch path.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "stitchfont/FontSizes.h"
#include "stitchfont/TestPack.h"
#include "stitchfont/TextComposer.h"

namespace {

using stitchfont::kNoCode;

const char* const kPath = "MIVO_FONTS/MIVOFONT_001/05/stitch.pack";
const char* const kPlist = "MIVO_FONTS/MIVOFONT_001/05/config.plist";

// Metrics with distinct values, so that each distance shows which rule produced it.
const std::map<std::string, int> kMetrics = {
    {"InterCharacter", 7}, {"SpaceGap", 55},     {"LineHeight", 500}, {"UpperVovelGap", 13},
    {"FishTail", 17},      {"ElephantTail", 19}, {"OwlTail", 23},     {"KiteY", 29},
    {"BaseGap", 31},       {"LowerGap", 1000},   {"KiteX", 1000},
};

// code, tick (identifies the glyph), advance.
const std::vector<testpack::Glyph> kGlyphs = {
    {0x41, 40, 80},   // A
    {0xA1, 41, 100},  // ก
    {0xBB, 42, 90},   // ป (fish tail)
    {0xAE, 43, 95},   // ฎ (base)
    {0xAD, 44, 110},  // ญ
    {0x9E, 45, 105},  // ญ without its tail
    {0xD8, 46, 0},    // SARA U
    {0xD4, 47, 0},    // SARA I
    {0xE8, 48, 0},    // MAI EK
    {0xED, 49, 0},    // NIKHAHIT
    {0xD2, 50, 60},   // SARA AA
    {0xAA, 51, 92},   // ช (elephant tail)
    {0xCE, 52, 93},   // ฮ (owl)
    {0xCC, 53, 94},   // ฬ (kite)
    {0xC4, 54, 70},   // ฤ (long tail)
    {0xD1, 55, 0},    // MAI HAN-AKAT
    {0xB0, 56, 96},   // ฐ
    {0x9F, 57, 97},   // ฐ without its tail
};

// Tick of the space glyph that some tests add.
constexpr int kSpaceTick = 58;

struct Placed {
    int code;
    int x;
    int y;
};

// The glyphs of a composed path in stitching order, each with its origin (the position before
// its tick up).
std::vector<Placed> placedGlyphs(const PES& pes) {
    std::map<int, int> codeOfTick;
    for (const auto& g : kGlyphs)
        codeOfTick[g.tick] = g.code;
    codeOfTick[kSpaceTick] = 0x20;
    std::vector<pec::Record> records;
    std::vector<std::pair<int, int>> before;
    const std::vector<uint8_t>& d = pes.stitchData();
    int x = 0;
    int y = 0;
    std::size_t pos = 0;
    while (true) {
        pec::Record r = pec::readRecord(d.data(), d.size(), pos);
        if (r.kind == pec::RecordKind::End || r.kind == pec::RecordKind::Truncated)
            break;
        pos = r.next;
        if (r.kind != pec::RecordKind::Stitch)
            continue;
        records.push_back(r);
        before.push_back({x, y});
        x += r.dx;
        y += r.dy;
    }
    std::vector<Placed> out;
    for (std::size_t i = 0; i + 1 < records.size(); ++i) {
        const auto& up = records[i];
        const auto& down = records[i + 1];
        if (up.dx == 0 && down.dx == 0 && up.dy < 0 && down.dy == -up.dy &&
            codeOfTick.count(-up.dy))
            out.push_back({codeOfTick[-up.dy], before[i].first, before[i].second});
    }
    return out;
}

class Composer : public ::testing::Test {
protected:
    void SetUp() override { build(kGlyphs, kMetrics); }

    void build(const std::vector<testpack::Glyph>& glyphs, const std::map<std::string, int>& m) {
        data.files[kPath] = testpack::pack(glyphs);
        data.put(kPlist, testpack::plist(m));
        pack = SmartFontPack::add(kPath, data.env());
        ASSERT_NE(pack, nullptr);
    }

    std::unique_ptr<PES> compose(const std::string& text, int letter = 0, int space = 0) {
        return pack->pack().createPES(text, letter, space, data.env());
    }

    // Glyph origins relative to the first glyph's.
    std::vector<Placed> relative(const std::string& text, int letter = 0, int space = 0) {
        std::unique_ptr<PES> r = compose(text, letter, space);
        EXPECT_NE(r, nullptr) << text;
        if (!r)
            return {};
        std::vector<Placed> g = placedGlyphs(*r);
        EXPECT_FALSE(g.empty()) << text;
        if (g.empty())
            return g;
        const Placed first = g[0];
        for (auto& p : g) {
            p.x -= first.x;
            p.y -= first.y;
        }
        return g;
    }

    std::vector<int> codes(const std::string& text) {
        return stitchfont::textToCodes(text, [this](int c) { return pack->pack().hasGlyph(c); });
    }

    testpack::MemoryData data;
    std::shared_ptr<SmartFontPack> pack;
};

void expectPlaced(const std::vector<Placed>& got, const std::vector<Placed>& want,
                  const std::string& text) {
    ASSERT_EQ(got.size(), want.size()) << text;
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].code, want[i].code) << text << " glyph " << i;
        EXPECT_EQ(got[i].x, want[i].x) << text << " glyph " << i;
        EXPECT_EQ(got[i].y, want[i].y) << text << " glyph " << i;
    }
}

TEST_F(Composer, SaraAmAndTailVariantsInTheCodeBuffer) {
    EXPECT_EQ(codes("กำ"), (std::vector<int>{0xA1, 0xED, 0xD2}));
    EXPECT_EQ(codes("ก่ำ"), (std::vector<int>{0xA1, 0xED, 0xE8, 0xD2}));
    EXPECT_EQ(codes("ญุ"), (std::vector<int>{0x9E, 0xD8}));
    EXPECT_EQ(codes("ฐุ"), (std::vector<int>{0x9F, 0xD8}));
    EXPECT_EQ(codes("ญู"), (std::vector<int>{0xAD, 0xD9}));  // no glyph for SARA UU
    EXPECT_EQ(codes("Az ~"), (std::vector<int>{0x41, 0x7A, 0x20, 0x7E}));
}

TEST_F(Composer, CharactersOutsideAsciiAndThaiHaveNoCode) {
    EXPECT_EQ(codes("é"), (std::vector<int>{kNoCode}));  // not the Thai codes 0xC3 0xA9
    EXPECT_EQ(codes("A\xF0\x9F\x98\x80ก"), (std::vector<int>{0x41, kNoCode, 0xA1}));
    EXPECT_EQ(codes("\xE2\x82\xAC"), (std::vector<int>{kNoCode}));  // euro sign
    // Malformed bytes: a stray continuation, a cut sequence.
    EXPECT_EQ(codes("\x80"
                    "A\xE0\xB8"),
              (std::vector<int>{kNoCode, 0x41, kNoCode, kNoCode}));
}

TEST_F(Composer, LongTextIsCutAtTheBuffer) {
    std::string text(300, 'A');
    bool cut = false;
    std::vector<int> c = stitchfont::textToCodes(text, nullptr, &cut);
    EXPECT_EQ(c.size(), stitchfont::kMaxCodes);
    EXPECT_TRUE(cut);
    // A SARA AM that needs two places when one is left is dropped whole.
    text = std::string(254, 'A') + "ำ";
    c = stitchfont::textToCodes(text, nullptr, &cut);
    EXPECT_EQ(c.size(), 254u);
    EXPECT_TRUE(cut);
    std::unique_ptr<PES> r = compose(std::string(1000, 'A') + "ก่ำ");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(placedGlyphs(*r).size(), stitchfont::kMaxCodes);
}

struct Case {
    const char* text;
    int letter;
    int space;
    std::vector<Placed> want;
};

TEST_F(Composer, PlacementJoiningAndSpaces) {
    const std::vector<Case> cases = {
        // Latin letters: InterCharacter counts twice, plus the extra letter space.
        {"AA", 0, 0, {{0x41, 0, 0}, {0x41, 94, 0}}},
        {"AA", 5, 0, {{0x41, 0, 0}, {0x41, 99, 0}}},
        // SARA AM: NIKHAHIT without spacing, SARA AA with it; the tone goes up on NIKHAHIT.
        {"กำ", 0, 0, {{0xA1, 0, 0}, {0xED, 100, 0}, {0xD2, 114, 0}}},
        {"ก่ำ", 0, 0, {{0xA1, 0, 0}, {0xED, 100, 0}, {0xE8, 100, -13}, {0xD2, 114, 0}}},
        // Above marks over tailed consonants.
        {"ปิ่", 0, 0, {{0xBB, 0, 0}, {0xD4, 73, 0}, {0xE8, 73, -13}}},
        {"ชิ่", 0, 0, {{0xAA, 0, 0}, {0xD4, 73, 0}, {0xE8, 73, -13}}},
        {"ฮิ่", 0, 0, {{0xCE, 0, 0}, {0xD4, 70, 0}, {0xE8, 70, -13}}},
        {"ฬิ่", 0, 0, {{0xCC, 0, 0}, {0xD4, 94, -29}, {0xE8, 94, -42}}},
        {"กิ่", 0, 0, {{0xA1, 0, 0}, {0xD4, 100, 0}, {0xE8, 100, -13}}},
        {"ป่", 0, 0, {{0xBB, 0, 0}, {0xE8, 73, 0}}},
        // Tone marks after a lower vowel.
        {"ปุ่", 0, 0, {{0xBB, 0, 0}, {0xD8, 90, 0}, {0xE8, 73, 0}}},
        {"ชุ่", 0, 0, {{0xAA, 0, 0}, {0xD8, 92, 0}, {0xE8, 73, 0}}},
        {"ฮุ่", 0, 0, {{0xCE, 0, 0}, {0xD8, 93, 0}, {0xE8, 70, 0}}},
        {"ฬุ่", 0, 0, {{0xCC, 0, 0}, {0xD8, 94, 0}, {0xE8, 94, -29}}},
        {"กุ่", 0, 0, {{0xA1, 0, 0}, {0xD8, 100, 0}, {0xE8, 100, 0}}},
        // Lower vowels under long-tail and base consonants, and the tailless variants.
        {"ฤุ", 0, 0, {{0xC4, 0, 0}, {0xD8, 53, 0}}},
        {"ฎุ", 0, 0, {{0xAE, 0, 0}, {0xD8, 95, 31}}},
        {"ญุ", 0, 0, {{0x9E, 0, 0}, {0xD8, 105, 0}}},
        {"ฐุ", 0, 0, {{0x9F, 0, 0}, {0xD8, 97, 0}}},
        // MAI HAN-AKAT takes the pack spacing but not the extra letter space.
        {"กัA", 0, 0, {{0xA1, 0, 0}, {0xD1, 114, 0}, {0x41, 128, 0}}},
        {"กัA", 5, 0, {{0xA1, 0, 0}, {0xD1, 114, 0}, {0x41, 133, 0}}},
        // Spaces: nothing when leading, SpaceGap + extra space inside, then the letter gap.
        {"  A", 0, 0, {{0x41, 0, 0}}},
        {"A A", 0, 3, {{0x41, 0, 0}, {0x41, 152, 0}}},
        {"A  A", 2, 3, {{0x41, 0, 0}, {0x41, 80 + 58 + 58 + 16, 0}}},
        // Characters without a code or a glyph are skipped and add nothing.
        {"AéA", 0, 0, {{0x41, 0, 0}, {0x41, 94, 0}}},
        {"A\xF0\x9F\x98\x80"
         "A",
         0,
         0,
         {{0x41, 0, 0}, {0x41, 94, 0}}},
        {"AxA", 0, 0, {{0x41, 0, 0}, {0x41, 94, 0}}},
        // ...but they stand between a consonant and its mark.
        {"ปxิ", 0, 0, {{0xBB, 0, 0}, {0xD4, 90, 0}}},
    };
    for (const auto& c : cases)
        expectPlaced(relative(c.text, c.letter, c.space), c.want, c.text);
}

TEST_F(Composer, MarkShiftsOfThePackAddToThePlacementRules) {
    std::map<std::string, int> m = kMetrics;
    m["MarkX_A1_E8"] = 5;  // MAI EK on ก
    m["MarkY_A1_E8"] = -3;
    m["MarkX_BB_D4"] = 2;  // SARA I on ป, and a tone mark on it
    m["MarkY_BB_D4"] = -1;
    m["StackX_BB_D4"] = 4;
    m["StackY_BB_D4"] = 6;
    m["MarkX_D4_E8"] = -7;  // MAI EK on SARA I
    m["MarkY_D4_E8"] = 8;
    m["MarkX_BB_E8"] = 9;  // MAI EK on ป, above SARA U too
    m["MarkX_D8_E8"] = -10;
    m["MarkY_D8_E8"] = -11;
    m["MarkX_D4_D8"] = 100;  // a lower vowel after an upper vowel is not shifted
    m["MarkX_AE_D8"] = 1;    // SARA U under ฎ, on top of BaseGap
    data = testpack::MemoryData();
    build(kGlyphs, m);
    const std::vector<Case> cases = {
        {"ก่", 0, 0, {{0xA1, 0, 0}, {0xE8, 105, -3}}},
        // Rule (-17, 0) and the vowel's shift; the tone mark: rule (-17, -13), the vowel's
        // shift, the stack shift of ป and SARA I, the shift of MAI EK on SARA I.
        {"ปิ่", 0, 0, {{0xBB, 0, 0}, {0xD4, 75, -1}, {0xE8, 90 - 17 + 2 + 4 - 7, -13 - 1 + 6 + 8}}},
        // Rule (-17, 0), MAI EK's shift on ป and its shift over SARA U.
        {"ปุ่", 0, 0, {{0xBB, 0, 0}, {0xD8, 90, 0}, {0xE8, 90 - 17 + 9 - 10, -11}}},
        {"กิุ", 0, 0, {{0xA1, 0, 0}, {0xD4, 100, 0}, {0xD8, 100, 0}}},
        {"ฎุ", 0, 0, {{0xAE, 0, 0}, {0xD8, 96, 31}}},
        // Letters are never shifted, whatever keys a pack has.
        {"กA", 0, 0, {{0xA1, 0, 0}, {0x41, 114, 0}}},
    };
    for (const auto& c : cases)
        expectPlaced(relative(c.text, c.letter, c.space), c.want, c.text);
}

TEST_F(Composer, HostileShiftsAreClampedNotWrapped) {
    std::map<std::string, int> m = kMetrics;
    m["MarkX_BB_D4"] = 2147483647;
    m["StackX_BB_D4"] = 2147483647;
    m["MarkX_D4_E8"] = 2147483647;
    data = testpack::MemoryData();
    build(kGlyphs, m);
    std::unique_ptr<PES> r = compose("ปิ่ก");
    ASSERT_NE(r, nullptr);
    // The letter after the marks stays where the marks leave the pen.
    const std::vector<Placed> g = placedGlyphs(*r);
    ASSERT_EQ(g.size(), 4u);
    EXPECT_EQ(g[3].x - g[0].x, 90 + 14);
    EXPECT_EQ(g[3].y, g[0].y);
}

TEST_F(Composer, YoYingKeepsItsTailWithoutAGlyphForTheVowel) {
    std::vector<testpack::Glyph> glyphs;
    for (const auto& g : kGlyphs)
        if (g.code != 0xD8)
            glyphs.push_back(g);
    data = testpack::MemoryData();
    build(glyphs, kMetrics);
    EXPECT_EQ(codes("ญุ"), (std::vector<int>{0xAD, 0xD8}));
    expectPlaced(relative("ญุ"), {{0xAD, 0, 0}}, "ญุ");
}

TEST_F(Composer, ASpaceGlyphIsJoinedLikeALetter) {
    std::vector<testpack::Glyph> glyphs = kGlyphs;
    glyphs.push_back({0x20, kSpaceTick, 30});
    data = testpack::MemoryData();
    build(glyphs, kMetrics);
    // The space glyph takes the letter gap on both sides instead of SpaceGap + extra space.
    expectPlaced(relative("A A", 0, 100), {{0x41, 0, 0}, {0x20, 94, 0}, {0x41, 94 + 30 + 14, 0}},
                 "A A");
    // A leading space with a glyph is stitched too.
    expectPlaced(relative(" A"), {{0x20, 0, 0}, {0x41, 44, 0}}, " A");
}

TEST_F(Composer, CentredHorizontallyOnTheBaselineUnlessTallerThanLineHeight) {
    std::unique_ptr<PES> r = compose("AกA");
    ASSERT_NE(r, nullptr);
    ASSERT_TRUE(r->lineListPending());
    r->createLineList();
    const PESBounds b = r->bounds();
    // Width 80 + 14 + 100 + 14 + 80 = 288.
    EXPECT_EQ(b.maxX - b.minX, 288.0f);
    EXPECT_EQ(b.minX, -144.0f);
    EXPECT_EQ(b.maxY, 0.0f);  // the baseline stays at y = 0 (height 41 <= LineHeight)
    EXPECT_EQ(b.minY, -41.0f);

    std::map<std::string, int> low = kMetrics;
    low["LineHeight"] = 40;
    data = testpack::MemoryData();
    build(kGlyphs, low);
    r = compose("AกA");
    ASSERT_NE(r, nullptr);
    r->setLineListPending(true);
    r->createLineList();
    EXPECT_EQ(r->bounds().maxY, -20.0f);  // raised by trunc(41 / 2) = 20
    EXPECT_EQ(r->bounds().minY, -61.0f);
    EXPECT_EQ(r->bounds().minX, -144.0f);
}

TEST_F(Composer, NothingToCompose) {
    EXPECT_EQ(compose(""), nullptr);
    EXPECT_EQ(compose("xyz  "), nullptr);
    EXPECT_TRUE(data.logged("3|StitchPack::createPES|Pack not contain a character "));
    StitchPack empty;
    EXPECT_EQ(empty.createPES("A", 0, 0, data.env()), nullptr);
    EXPECT_TRUE(data.logged("3|StitchPack::createPES|Pack have not load yet!"));
}

TEST_F(Composer, ResultIsAValidReaderEndingInALongStitch) {
    std::unique_ptr<PES> r = compose("กำ ปิ่ A");
    ASSERT_NE(r, nullptr);
    ASSERT_TRUE(r->hasSections());
    const std::vector<uint8_t>& d = r->stitchData();
    ASSERT_GE(d.size(), 6u);
    EXPECT_EQ(d[d.size() - 2], 0xFF);
    EXPECT_EQ(d[d.size() - 1], 0x00);
    const uint32_t L = r->pecHeader()[514] | r->pecHeader()[515] << 8 | r->pecHeader()[516] << 16;
    EXPECT_EQ(L, d.size() + 19);
    EXPECT_EQ(r->graphicsOffset(), r->pecOffset() + 513 + int(L));
}

}  // namespace
