// Loader, glyph builder, metrics, templates and pack cache.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "stitchfont/FontSizes.h"
#include "stitchfont/StitchPack.h"
#include "stitchfont/TestPack.h"

namespace {

const char* const kPath = "MIVO_FONTS/MIVOFONT_001/05/stitch.pack";

std::vector<uint8_t> bytesOf(std::initializer_list<int> list) {
    std::vector<uint8_t> v;
    for (int b : list)
        v.push_back(uint8_t(b));
    return v;
}

TEST(StitchPackLoad, SixByteFileHasNoGlyphSevenByteFileHasOneEmptyGlyph) {
    testpack::MemoryData data;
    data.files[kPath] = bytesOf({0x41, 0, 0, 0, 0, 0});
    StitchPack six;
    six.loadPack(kPath, data.env());
    EXPECT_EQ(six.glyphCount(), 0u);

    data.files[kPath] = bytesOf({0x41, 0, 0, 0, 0, 0, 0x99});
    StitchPack seven;
    seven.loadPack(kPath, data.env());
    ASSERT_EQ(seven.glyphCount(), 1u);
    EXPECT_TRUE(seven.glyphs().at(0x41).empty());
    EXPECT_TRUE(data.logged("1|StitchPack::loadPack|found 1 stitches"));
    EXPECT_EQ(seven.packFilePath(), kPath);
    EXPECT_EQ(seven.packFolderPath(), "/data/MIVO_FONTS/MIVOFONT_001/05/");
}

TEST(StitchPackLoad, LaterRecordWithTheSameFirstByteWinsAndTracesTheWholeKey) {
    testpack::MemoryData data;
    std::vector<uint8_t> pack;
    testpack::appendRecord(pack, 0x000000A1, bytesOf({1, 2, 3}));
    testpack::appendRecord(pack, 0x00000EA1, bytesOf({4, 5}));
    testpack::appendRecord(pack, 0x00000042, bytesOf({6}));
    data.files[kPath] = pack;
    StitchPack p;
    p.loadPack(kPath, data.env());
    ASSERT_EQ(p.glyphCount(), 2u);
    EXPECT_EQ(p.glyphs().at(0xA1), bytesOf({4, 5}));
    EXPECT_TRUE(data.logged("0||stitch 161"));
    EXPECT_TRUE(data.logged("0||stitch 3745"));
}

TEST(StitchPackLoad, RecordPastTheEndStopsWithoutRecordingThePack) {
    testpack::MemoryData data;
    data.put("MIVO_FONTS/MIVOFONT_001/05/config.plist", testpack::plist({{"SpaceGap", 9}}));
    std::vector<uint8_t> pack;
    testpack::appendRecord(pack, 0x41, bytesOf({1, 2, 3}));
    testpack::appendRecord(pack, 0x42, bytesOf({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    pack.resize(pack.size() - 1);  // the second record is one byte short
    data.files[kPath] = pack;
    StitchPack p;
    p.loadPack(kPath, data.env());
    EXPECT_EQ(p.glyphCount(), 1u);
    EXPECT_TRUE(p.hasGlyph(0x41));
    EXPECT_TRUE(data.logged("3|StitchPack::loadPack|Error out of length!"));
    EXPECT_TRUE(p.packFilePath().empty());
    EXPECT_TRUE(p.packFolderPath().empty());
    EXPECT_EQ(p.metrics().spaceGap, 0);  // no metrics for a pack that did not load completely

    // A record whose length field alone points far beyond the file.
    data.files[kPath] = bytesOf({0x41, 0, 0, 0, 0xFF, 0xFF, 1, 2});
    StitchPack q;
    q.loadPack(kPath, data.env());
    EXPECT_EQ(q.glyphCount(), 0u);
}

TEST(StitchPackLoad, SamePathIsNotLoadedAgainAnotherPathReplacesTheGlyphs) {
    testpack::MemoryData data;
    data.files[kPath] = testpack::pack({{0x41, 10, 20}});
    data.files["other/stitch.pack"] = testpack::pack({{0x42, 10, 20}, {0x43, 10, 20}});
    StitchPack p;
    p.loadPack(kPath, data.env());
    const int reads = data.reads;
    p.loadPack(kPath, data.env());
    EXPECT_EQ(data.reads, reads);
    EXPECT_TRUE(data.logged("0|StitchPack::loadPack|this pack is already loaded!"));
    p.loadPack("other/stitch.pack", data.env());
    EXPECT_EQ(p.glyphCount(), 2u);
    EXPECT_FALSE(p.hasGlyph(0x41));
}

TEST(StitchPackLoad, MissingFileGivesAnEmptyPack) {
    testpack::MemoryData data;
    StitchPack p;
    p.loadPack(kPath, data.env());
    EXPECT_EQ(p.glyphCount(), 0u);
    EXPECT_EQ(p.createPES(0x41, data.env()), nullptr);
    EXPECT_TRUE(data.logged("3|StitchPack::createPES|Pack have not load yet!"));
}

TEST(StitchPackTrailer, BothValueForms) {
    EXPECT_EQ(StitchPack::trailerValue(0x38, 0x8F), -200);
    EXPECT_EQ(StitchPack::trailerValue(0x10, 0x80), 16);
    EXPECT_EQ(StitchPack::trailerValue(0xC8, 0x80), 200);
    EXPECT_EQ(StitchPack::trailerValue(0x40, 0x01), 64);
    EXPECT_EQ(StitchPack::trailerValue(0xFF, 0x00), 127);
    EXPECT_EQ(StitchPack::trailerValue(0xFF, 0x87), 2047);
}

TEST(StitchPackGlyph, GlyphReaderIsAValidPesWithTheTrailerBounds) {
    testpack::MemoryData data;
    // Stitch data: (5, -3) short, then the end marker; trailer -200, 16, 200, 64.
    std::vector<uint8_t> g =
        bytesOf({0x05, 0x7D, 0xFF, 0x00, 0x38, 0x8F, 0x10, 0x80, 0xC8, 0x80, 0x40, 0x01});
    std::vector<uint8_t> pack;
    testpack::appendRecord(pack, 0x41, g);
    data.files[kPath] = pack;
    StitchPack p;
    p.loadPack(kPath, data.env());
    std::unique_ptr<PES> r = p.createPES(0x41, data.env());
    ASSERT_NE(r, nullptr);
    ASSERT_TRUE(r->hasSections());
    EXPECT_EQ(r->fontId(), 0x41);
    EXPECT_TRUE(r->lineListPending());
    EXPECT_EQ(r->bounds().minX, -200.0f);
    EXPECT_EQ(r->bounds().minY, 16.0f);
    EXPECT_EQ(r->bounds().maxX, 200.0f);
    EXPECT_EQ(r->bounds().maxY, 64.0f);
    EXPECT_EQ(r->width(), 400);
    EXPECT_EQ(r->height(), 48);
    ASSERT_EQ(r->colorIndexes().size(), 1u);
    EXPECT_EQ(r->colorIndexes()[0], 20u);
    // The short last stitch was normalised by the reader.
    EXPECT_EQ(r->stitchData(), bytesOf({0x05, 0x7D, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}));
    const std::vector<uint8_t>& pec = r->pecHeader();
    EXPECT_EQ(pec[528], 0x90);  // -minX = 200 = 0x00C8
    EXPECT_EQ(pec[529], 0xC8);
    EXPECT_EQ(pec[530], 0xFF);  // -minY = -16: (-16 >> 8) | 0x90 keeps 0xFF
    EXPECT_EQ(pec[531], 0xF0);
    const std::vector<uint8_t>& h = r->pesSection();
    EXPECT_EQ(h[31] | h[32] << 8, 0xFF38);
    EXPECT_EQ(h[45] | h[46] << 8, 64);
    EXPECT_EQ(h[79] | h[80] << 8, 48);
    EXPECT_FALSE(data.logged("3|PES|EROR ERROR ERROR"));
}

TEST(StitchPackGlyph, HostileGlyphsNeverCrash) {
    testpack::MemoryData data;
    std::vector<uint8_t> pack;
    testpack::appendRecord(pack, 0x41, bytesOf({1, 2, 3}));  // shorter than the trailer
    testpack::appendRecord(pack, 0x42, bytesOf({0, 0, 0, 0, 0, 0, 0, 0}));  // trailer only
    testpack::appendRecord(pack, 0x43, bytesOf({0x05, 0x05, 0, 0, 0, 0, 0, 0, 0, 0}));  // no end
    data.files[kPath] = pack;
    StitchPack p;
    p.loadPack(kPath, data.env());
    EXPECT_EQ(p.createPES(0x41, data.env()), nullptr);
    EXPECT_NE(p.createPES(0x42, data.env()), nullptr);
    EXPECT_NE(p.createPES(0x43, data.env()), nullptr);
    EXPECT_EQ(p.createPES(0x44, data.env()), nullptr);
    EXPECT_TRUE(data.logged("3|StitchPack::createPES|Pack not contain a character D"));
    // Composing from such glyphs produces something or nothing, but stays inside its buffers.
    p.createPES("ABCABC", 3, 4, data.env());
}

TEST(StitchPackGlyph, MissingTemplatesGiveReadersWithoutSections) {
    testpack::MemoryData data;
    data.files.erase(GlyphTemplates::kHeaderFile);
    data.files[kPath] = testpack::pack({{0x41, 10, 20}});
    StitchPack p;
    p.loadPack(kPath, data.env());
    std::unique_ptr<PES> r = p.createPES(0x41, data.env());
    ASSERT_NE(r, nullptr);
    EXPECT_FALSE(r->hasSections());
    EXPECT_EQ(p.createPES("AA", 0, 0, data.env()), nullptr);
}

TEST(GlyphTemplatesFiles, CommittedFilesMatchTheGeneratorAndSelfDescribe) {
    const GlyphTemplates::Buffers t = GlyphTemplates::make();
    ASSERT_GE(t.header.size(), 81u);
    EXPECT_EQ(t.header[8] | t.header[9] << 8 | t.header[10] << 16 | t.header[11] << 24,
              int(t.header.size()));
    EXPECT_EQ(t.pecHeader.size(), 532u);
    auto read = [](const char* name) {
        std::ifstream in(std::string(MES_SOURCE_DIR) + "/data/" + name, std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(read(GlyphTemplates::kHeaderFile), t.header);
    EXPECT_EQ(read(GlyphTemplates::kPecHeaderFile), t.pecHeader);
    EXPECT_EQ(read(GlyphTemplates::kGraphicsFile), t.graphics);
}

TEST(GlyphTemplatesFiles, ReadOnceEvenWhenMissing) {
    testpack::MemoryData data;
    data.files.clear();
    FontEnv env = data.env();
    data.templates.get(env);
    const int reads = data.reads;
    data.templates.get(env);
    EXPECT_EQ(data.reads, reads);
    EXPECT_TRUE(data.templates.get(env).header.empty());
}

TEST(FontMetricsParse, KeysValuesOverwritesAndMissingKeys) {
    const std::string text =
        "<dict>\n<key>InterCharacter</key>\n<integer>12</integer>\n"
        "<key>SpaceGap</key>\n\t<integer>-7</integer>\r\n"
        "<key>KiteY</key>\n<string>x</string>\n"  // no integer line: ignored
        "<key>BaseGap</key>\n<integer>abc</integer>\n"
        "<key>InterCharacter</key>\n<integer>+15</integer>\n"
        "<key>__KorKai</key>\n<integer>3</integer>\n</dict>\n";
    const FontMetrics m = FontMetrics::parse(text);
    EXPECT_EQ(m.interCharacter, 15);
    EXPECT_EQ(m.spaceGap, -7);
    EXPECT_EQ(m.kiteY, 0);
    EXPECT_EQ(m.baseGap, 0);
    EXPECT_EQ(m.get("__KorKai"), 3);
    EXPECT_EQ(m.values.count("LineHeight"), 1u);  // absent named keys join the map as 0
    EXPECT_EQ(m.get("Nothing"), 0);
}

TEST(FontMetricsParse, MarkAndStackShiftsFromTheirKeys) {
    const std::string text = testpack::plist({
        {"MarkX_BB_D4", -12},
        {"MarkY_BB_D4", 3},
        {"MarkY_d4_e8", -5},  // lower-case hex digits read too
        {"StackX_BB_D4", 7},
        {"MarkX_A1_E8x", 1},  // anything else is an ordinary key
        {"MarkZ_A1_E8", 1},
        {"MarkX_G1_E8", 1},
        {"MarkXA1_E8", 1},
        {"StackX_A1E8_", 1},
    });
    const FontMetrics m = FontMetrics::parse(text);
    EXPECT_EQ(m.markShift(0xBB, 0xD4).dx, -12);
    EXPECT_EQ(m.markShift(0xBB, 0xD4).dy, 3);
    EXPECT_EQ(m.markShift(0xD4, 0xE8).dx, 0);
    EXPECT_EQ(m.markShift(0xD4, 0xE8).dy, -5);
    EXPECT_EQ(m.stackShift(0xBB, 0xD4).dx, 7);
    EXPECT_EQ(m.stackShift(0xBB, 0xD4).dy, 0);
    EXPECT_EQ(m.markShift(0xA1, 0xE8).dx, 0);  // not a shift key: no shift
    EXPECT_EQ(m.markShifts.size(), 2u);
    EXPECT_EQ(m.stackShifts.size(), 1u);
    EXPECT_EQ(m.get("MarkZ_A1_E8"), 1);
    // The builder writes the keys the parser reads.
    EXPECT_EQ(FontMetrics::shiftKey("Mark", 'X', 0xBB, 0xD4), "MarkX_BB_D4");
    EXPECT_EQ(FontMetrics::shiftKey("Stack", 'Y', 0x9E, 0x0D), "StackY_9E_0D");
}

TEST(FontMetricsParse, LoadedFromThePackFolderOrZeroWhenMissing) {
    testpack::MemoryData data;
    data.files[kPath] = testpack::pack({{0x41, 10, 20}});
    data.put("MIVO_FONTS/MIVOFONT_001/05/config.plist", testpack::plist({{"OwlTail", 23}}));
    StitchPack p;
    p.loadPack(kPath, data.env());
    EXPECT_EQ(p.metrics().owlTail, 23);
    EXPECT_TRUE(data.logged("-1||loadCOnfig path: /data/MIVO_FONTS/MIVOFONT_001/05/"));
    EXPECT_TRUE(data.logged("0|Key|OwlTail"));
    EXPECT_TRUE(data.logged("0|Value|23"));

    data.files.erase("MIVO_FONTS/MIVOFONT_001/05/config.plist");
    StitchPack q;
    q.loadPack(kPath, data.env());
    EXPECT_EQ(q.glyphCount(), 1u);
    EXPECT_EQ(q.metrics().owlTail, 0);
}

TEST(PackCacheTest, OneLoadPerPathAndFindNeverLoads) {
    testpack::MemoryData data;
    data.files[kPath] = testpack::pack({{0x41, 10, 20}});
    FontEnv env = data.env();
    EXPECT_EQ(SmartFontPack::find(kPath, env), nullptr);
    EXPECT_TRUE(data.logged(std::string("3|requested font|") + kPath + " not found"));
    EXPECT_EQ(data.reads, 0);

    std::shared_ptr<SmartFontPack> a = SmartFontPack::add(kPath, env);
    ASSERT_NE(a, nullptr);
    const int reads = data.reads;
    EXPECT_GT(reads, 0);
    std::shared_ptr<SmartFontPack> b = SmartFontPack::add(kPath, env);
    EXPECT_EQ(a, b);
    EXPECT_EQ(SmartFontPack::find(kPath, env), a);
    EXPECT_EQ(data.reads, reads);
    EXPECT_EQ(a->name(), kPath);
    EXPECT_TRUE(data.logged("1||total # of fonts cached1"));
}

TEST(PackCacheTest, FailedPackStaysCachedAndIsNotReadAgain) {
    testpack::MemoryData data;
    FontEnv env = data.env();
    EXPECT_EQ(SmartFontPack::add("missing/stitch.pack", env), nullptr);
    EXPECT_TRUE(data.logged("3|SmartFontPack|load packmissing/stitch.pack fail"));
    const int reads = data.reads;
    std::shared_ptr<SmartFontPack> again = SmartFontPack::add("missing/stitch.pack", env);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->glyphCount(), 0u);
    EXPECT_EQ(data.reads, reads);
    EXPECT_EQ(again->pack().createPES("A", 0, 0, env), nullptr);
}

TEST(FontSizesTest, TableAndFolders) {
    EXPECT_EQ(stitchfont::sizeNumber(0, 0), 5);
    EXPECT_EQ(stitchfont::sizeNumber(2, 8), 20);
    EXPECT_EQ(stitchfont::sizeNumber(14, 3), 20);
    EXPECT_EQ(stitchfont::sizeNumber(3, 3), 0);
    EXPECT_EQ(stitchfont::sizeNumber(0, 9), 0);
    EXPECT_EQ(stitchfont::sizeNumber(15, 0), 0);
    EXPECT_EQ(stitchfont::sizeNumber(-1, 0), 0);
    EXPECT_EQ(stitchfont::packPath(3, 3), "MIVO_FONTS/MIVOFONT_004/00/stitch.pack");
    EXPECT_EQ(stitchfont::packPath(0, 4), "MIVO_FONTS/MIVOFONT_001/13/stitch.pack");
    EXPECT_EQ(stitchfont::packPath(10, 2), "MIVO_FONTS/MIVOFONT_011/10/stitch.pack");
}

}  // namespace
