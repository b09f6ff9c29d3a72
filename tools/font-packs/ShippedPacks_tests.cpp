// The stitch fonts shipped in data/MIVO_FONTS: every font and size of the editor's table has a
// pack that loads, whose glyphs decode to valid stitch streams, and that composes a Thai and
// Latin sample line through our own composer.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "DiskEnv.h"
#include "digitizer/GlyphRecord.h"
#include "formats/PES.h"
#include "stitchfont/FontSizes.h"
#include "stitchfont/StitchPack.h"

namespace {

// The data folder of the repository, where the shipped packs are.
FontEnv shippedEnv() {
    return diskEnv(std::string(MES_SOURCE_DIR) + "/data/");
}

// Decodes a stitch stream up to its end marker; false when it is cut or malformed.
bool decodes(const std::vector<uint8_t>& d, int& visible, int& minX, int& minY, int& maxX,
             int& maxY) {
    std::size_t pos = 0;
    int x = 0, y = 0;
    visible = 0;
    minX = minY = 1 << 20;
    maxX = maxY = -(1 << 20);
    for (;;) {
        pec::Record r = pec::readRecord(d.data(), d.size(), pos);
        if (r.kind == pec::RecordKind::End)
            return true;
        if (r.kind == pec::RecordKind::Truncated)
            return false;
        if (r.kind == pec::RecordKind::ColorChange) {
            pos = r.next;
            continue;
        }
        x += r.dx;
        y += r.dy;
        if (!r.xLong && !r.yLong) {
            ++visible;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
        pos = r.next;
    }
}

}  // namespace

TEST(ShippedPacks, EveryFontAndSizeLoadsDecodesAndComposes) {
    FontEnv env = shippedEnv();
    int packs = 0;
    for (int font = 0; font < stitchfont::kFontCount; ++font) {
        for (int step = 0; step < stitchfont::kSizeSteps; ++step) {
            int size = stitchfont::sizeNumber(font, step);
            if (size == 0)
                continue;
            ++packs;
            std::string path = stitchfont::packPath(font, step);
            SCOPED_TRACE(path);
            StitchPack pack;
            pack.loadPack(path, env);
            ASSERT_EQ(pack.packFilePath(), path);
            // Printable ASCII, the Thai consonants, vowels, marks and digits.
            EXPECT_GE(pack.glyphCount(), 170u);
            for (int code :
                 {int('A'), int('z'), int('1'), 0xA1, 0xCA, 0xD1, 0xD4, 0xD8, 0xE8, 0x9E, 0x9F})
                EXPECT_TRUE(pack.hasGlyph(code)) << code;
            const FontMetrics& m = pack.metrics();
            EXPECT_GT(m.spaceGap, 0);
            EXPECT_GT(m.lineHeight, size * 10);
            EXPECT_GT(m.interCharacter, 0);

            for (const auto& [code, data] : pack.glyphs()) {
                ASSERT_GE(data.size(), 10u) << code;
                std::unique_ptr<PES> g = pack.createPES(code, env);
                ASSERT_TRUE(g && g->hasSections()) << code;
                int visible, minX, minY, maxX, maxY;
                ASSERT_TRUE(decodes(g->stitchData(), visible, minX, minY, maxX, maxY)) << code;
                // Every glyph starts with a movement and ends with the long one to its advance.
                int advance = 0;
                std::vector<digitizer::Needle> pts = digitizer::decodeGlyph(data, &advance);
                ASSERT_FALSE(pts.empty()) << code;
                EXPECT_NE(pts.front().kind, digitizer::Kind::Run) << code;
                // Marks do not move the pen; MAI HAN-AKAT moves it back over the letter gap
                // the composer puts in front of it.
                if (code == 0xD1)
                    EXPECT_EQ(advance, -2 * m.interCharacter) << code;
                else if ((code >= 0xD4 && code <= 0xDA) || (code >= 0xE7 && code <= 0xEE))
                    EXPECT_EQ(advance, 0) << code;
                else
                    EXPECT_GT(advance, 0) << code;
                // The trailer holds the bounds of the stitches.
                if (visible > 0) {
                    EXPECT_LE(g->bounds().minX, minX) << code;
                    EXPECT_GE(g->bounds().maxX, maxX) << code;
                    EXPECT_LE(g->bounds().minY, minY) << code;
                    EXPECT_GE(g->bounds().maxY, maxY) << code;
                }
            }

            std::unique_ptr<PES> line = pack.createPES("สวัสดีครับ Hello 123", 0, 0, env);
            ASSERT_TRUE(line);
            int visible, minX, minY, maxX, maxY;
            ASSERT_TRUE(decodes(line->stitchData(), visible, minX, minY, maxX, maxY));
            EXPECT_GT(visible, 300);
            // Eighteen letters side by side: far wider than tall, and centred on x = 0.
            line->createLineList();
            const PESBounds& b = line->bounds();
            EXPECT_GT(b.maxX - b.minX, 8.0f * size * 10);
            EXPECT_NEAR(b.maxX + b.minX, 0.0f, 4.0f);
        }
    }
    EXPECT_EQ(packs, 79);
}

TEST(ShippedPacks, FifteenDisplayNames) {
    std::ifstream in(std::string(MES_SOURCE_DIR) + "/data/MIVO_FONTS/names.txt");
    ASSERT_TRUE(in);
    std::string line;
    int n = 0, latin = 0;
    while (std::getline(in, line)) {
        ASSERT_FALSE(line.empty());
        ++n;
        latin += static_cast<unsigned char>(line[0]) < 0x80;
    }
    EXPECT_EQ(n, 15);
    EXPECT_EQ(latin, 1);
}
