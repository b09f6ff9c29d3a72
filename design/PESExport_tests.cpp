// A layer written as PES and imported again is the same layer: every corpus design, a layer
// that ends in a jump, one with long plain stitches, and an empty layer. Text, shape and merged
// layers begin the file with a jump to their first stitch.

#include "design/PESExport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "design/ShapeLayer.h"
#include "design/TextLayer.h"
#include "formats/PES.h"
#include "formats/TestStitches.h"
#include "formats/ThreadPalette.h"
#include "stitchfont/FontSizes.h"
#include "stitchfont/TestPack.h"

namespace {

using Bytes = std::vector<uint8_t>;

PESData importBytes(const Bytes& bytes) {
    PES reader;
    reader.loadBuffer(0, bytes);
    PESData layer;
    layer.createFromPES(&reader);
    return layer;
}

// Compares a layer with the one read back from its file, whose coordinates are relative to the
// written centre. Positions and colours must match, types as the writer writes them (the move to
// the first stitch and a long block start become jumps); a stitch comes back long when it was
// long, is written as a jump, or its move left the short range -63..62.
void expectSameLayer(const PESData& want, const PESData& got, const std::string& what) {
    if (want.stitchCount == 0) {
        // The file of an empty layer has no colour; the reader may still give it an empty run.
        EXPECT_EQ(got.stitchCount, 0) << what;
        return;
    }
    ASSERT_EQ(got.blocks.size(), want.blocks.size()) << what;
    const std::vector<StitchBlock> written =
        pes_writer::writtenBlocks(want.blocks, want.centerX, want.centerY);
    int64_t px = want.centerX, py = want.centerY;
    for (std::size_t b = 0; b < want.blocks.size(); ++b) {
        const auto& w = written[b];
        const auto& g = got.blocks[b];
        EXPECT_EQ(g.colorIndex, w.colorIndex) << what << " block " << b;
        ASSERT_EQ(g.stitches.size(), w.stitches.size()) << what << " block " << b;
        for (std::size_t i = 0; i < w.stitches.size(); ++i) {
            const Stitch& ws = w.stitches[i];
            const Stitch& gs = g.stitches[i];
            ASSERT_EQ(gs.x + want.centerX, ws.x) << what << " block " << b << " stitch " << i;
            ASSERT_EQ(gs.y + want.centerY, ws.y) << what << " block " << b << " stitch " << i;
            EXPECT_EQ(gs.type, ws.type) << what << " block " << b << " stitch " << i;
            const int64_t dx = ws.x - px, dy = ws.y - py;
            const bool shortMove = dx >= -63 && dx <= 62 && dy >= -63 && dy <= 62;
            const uint8_t longForm = (ws.longForm || ws.type != 0 || !shortMove) ? 1 : 0;
            EXPECT_EQ(gs.longForm, longForm) << what << " block " << b << " stitch " << i;
            px = ws.x;
            py = ws.y;
        }
    }
    EXPECT_EQ(got.colorList, want.colorList) << what;
    EXPECT_EQ(got.stitchCount, want.stitchCount) << what;
}

using fixtures::st;

void addBlock(PESData& layer, uint8_t color, std::vector<Stitch> stitches) {
    StitchBlock b;
    b.colorIndex = color;
    b.color = threadColor(color);
    b.stitches = std::move(stitches);
    layer.appendBlock(std::move(b));
}

TEST(PESExport, LayersComeBackFromBothVersions) {
    PESData endsInJump;
    addBlock(endsInJump, 5, {st(0, 0), st(20, 20), st(1200, -300, pec::kJump, 1)});
    addBlock(endsInJump, 9,
             {st(1300, -300, pec::kJump, 1), st(1310, -290), st(1373, -290), st(1300, 1700)});
    endsInJump.computeBounds();

    PESData shape;  // a generated block starts with a long copy of its first stitch
    addBlock(shape, 11, {st(-250, -10, 0, 1), st(-250, -10), st(-250, 10), st(-246, -10)});
    shape.computeBounds();

    for (const PESData* layer : {&endsInJump, &shape}) {
        for (int version : {1, 5}) {
            const std::string what = "v" + std::to_string(version);
            const PESData back = importBytes(writePES(*layer, version, 100, 100));
            expectSameLayer(*layer, back, what);
        }
    }
}

// The first stitch record of the PEC stream, and the one behind the first colour change.
struct FirstRecords {
    Bytes first, afterChange;
};

FirstRecords firstRecords(const Bytes& f) {
    const uint32_t P = f[8] | f[9] << 8 | f[10] << 16 | f[11] << 24;
    const std::size_t at = P + 532;
    FirstRecords r;
    std::size_t pos = 0;
    const std::size_t n = f.size() - at;
    bool changed = false;
    for (;;) {
        const pec::Record rec = pec::readRecord(f.data() + at, n, pos);
        if (rec.kind == pec::RecordKind::End || rec.kind == pec::RecordKind::Truncated)
            break;
        if (rec.kind == pec::RecordKind::ColorChange) {
            changed = true;
        } else if (r.first.empty()) {
            r.first.assign(f.begin() + at + pos, f.begin() + at + rec.next);
        } else if (changed) {
            r.afterChange.assign(f.begin() + at + pos, f.begin() + at + rec.next);
            break;
        }
        pos = rec.next;
    }
    return r;
}

bool isJumpRecord(const Bytes& record) {
    return record.size() == 4 && (record[0] & 0xF0) == 0x90 && (record[2] & 0xF0) == 0x90;
}

std::vector<std::pair<int, int>> positions(const PESData& layer, int dx = 0, int dy = 0) {
    std::vector<std::pair<int, int>> out;
    for (const StitchBlock& b : layer.blocks) {
        for (const Stitch& s : b.stitches)
            out.emplace_back(s.x + dx, s.y + dy);
    }
    return out;
}

class FirstStitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Font 0, size step 3 is letter height 10.
        data.files[stitchfont::packPath(0, 3)] = testpack::pack({{0x41, 40, 80}, {0xA1, 41, 100}});
        data.put("MIVO_FONTS/MIVOFONT_001/10/config.plist",
                 testpack::plist({{"InterCharacter", 7}, {"LineHeight", 500}}));
        env = data.env();
        text.properties.colorIndex = 4;
        ASSERT_TRUE(createTextLayer(text, "AกA", 0, 3, 0, 0, env));
        text.translate(-300, 200);  // somewhere in the hoop, away from its centre
        text.computeBounds();
        shape = shapes::buildShapeLayer(shapes::shapeProperties(2, 3.0f, 2.0f, 0.2f, 0.4f, 8));
        shape.translate(400, -150);
        shape.computeBounds();
        merged.mergeLayer(text);
        merged.mergeLayer(shape);
        merged.computeBounds();
    }

    testpack::MemoryData data;
    FontEnv env;
    PESData text, shape, merged;
};

// Text and shape layers begin with a long movement to their first stitch; the file makes it a
// jump, in both versions, alone or merged for the stick, and no stitch moves.
TEST_F(FirstStitchTest, TheMoveToTheFirstStitchIsAJump) {
    ASSERT_GT(text.stitchCount, 0);
    ASSERT_GT(shape.stitchCount, 0);
    ASSERT_EQ(merged.numColorChange, 1);
    const std::pair<const char*, const PESData*> layers[] = {
        {"text", &text}, {"shape", &shape}, {"merged", &merged}};
    for (const auto& [name, layer] : layers) {
        // The layer itself holds a long plain stitch there, as the composer and the shape
        // generator make it.
        ASSERT_EQ(layer->blocks[0].stitches[0].longForm, 1) << name;
        ASSERT_EQ(layer->blocks[0].stitches[0].type, pec::kNormal) << name;
        for (int version : {1, 5}) {
            const std::string what = std::string(name) + " v" + std::to_string(version);
            const Bytes f = writePES(*layer, version, 130, 180);
            const FirstRecords r = firstRecords(f);
            EXPECT_TRUE(isJumpRecord(r.first)) << what;
            if (layer == &merged) {
                // The shape behind the colour change is reached by a jump too.
                EXPECT_TRUE(isJumpRecord(r.afterChange)) << what;
            }
            const PESData back = importBytes(f);
            EXPECT_EQ(positions(back, layer->centerX, layer->centerY), positions(*layer)) << what;
            EXPECT_EQ(back.stitchCount, layer->stitchCount) << what;
            EXPECT_EQ(back.blocks[0].stitches[0].type, pec::kJump) << what;
        }
    }
}

// Files written before the move became a jump hold a long plain first record; they read the
// same positions as the files written now, only that record's type differs.
TEST_F(FirstStitchTest, OlderFilesReadTheSamePositions) {
    for (const PESData* layer : {&text, &shape, &merged}) {
        const Bytes now = writePES1(*layer, 130, 180);
        Bytes older = now;
        const uint32_t P = older[8] | older[9] << 8 | older[10] << 16 | older[11] << 24;
        ASSERT_EQ(older[P + 532] & 0xF0, 0x90);
        older[P + 532] = uint8_t(0x80 | (older[P + 532] & 0x0F));
        older[P + 534] = uint8_t(0x80 | (older[P + 534] & 0x0F));
        const PESData a = importBytes(now), b = importBytes(older);
        EXPECT_EQ(positions(a), positions(b));
        EXPECT_EQ(a.stitchCount, b.stitchCount);
        EXPECT_EQ(a.longStitchCount, b.longStitchCount);
        EXPECT_EQ(b.blocks[0].stitches[0].type, pec::kNormal);
        EXPECT_EQ(b.blocks[0].stitches[0].longForm, 1);
    }
}

TEST(PESExport, BothVersionsCarryTheirMagicAndHoop) {
    PESData layer;
    addBlock(layer, 5, {st(0, 0), st(10, 10)});
    layer.computeBounds();
    const Bytes v1 = writePES1(layer, 130, 180);
    const Bytes v5 = writePES5(layer, 130, 180);
    EXPECT_EQ(std::string(v1.begin(), v1.begin() + 8), "#PES0001");
    EXPECT_EQ(std::string(v5.begin(), v5.begin() + 8), "#PES0050");
    EXPECT_EQ(v5[23] | v5[24] << 8, 130);
    EXPECT_EQ(v5[25] | v5[26] << 8, 180);
    EXPECT_EQ(writePES(layer, 7, 130, 180), v5);
}

TEST(PESExport, AnEmptyLayerWritesAValidFile) {
    PESData layer;
    layer.computeBounds();  // keeps the int32 extremes as bounds
    for (int version : {1, 5}) {
        const Bytes f = writePES(layer, version, 100, 100);
        PES reader;
        ASSERT_TRUE(reader.loadBuffer(0, f));
        const PESData back = importBytes(f);
        EXPECT_EQ(back.stitchCount, 0);
        const uint32_t P = f[8] | f[9] << 8 | f[10] << 16 | f[11] << 24;
        EXPECT_EQ(f[P + 48], 0xFF);
        EXPECT_EQ(f[P + 520], 0);
        EXPECT_EQ(f[P + 522], 0);
    }
}

// Each corpus design, imported as the editor imports it, written in both versions and imported
// again.
TEST(PESExport, CorpusDesignsComeBack) {
    namespace fs = std::filesystem;
    const fs::path dir(MES_CORPUS_DIR);
    if (!fs::is_directory(dir))
        GTEST_SKIP() << "no corpus at " << dir;
    int withStitches = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".pes" && ext != ".pec")
            continue;
        const std::string name = entry.path().filename().string();
        std::ifstream in(entry.path().string(), std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        PES reader;
        reader.loadFileContents(bytes);
        PESData layer;
        layer.createFromPES(&reader);
        layer.prepareImportedPES();
        if (layer.stitchCount > 0)
            ++withStitches;
        for (int version : {1, 5}) {
            const PESData back = importBytes(writePES(layer, version, 100, 100));
            expectSameLayer(layer, back, name + " v" + std::to_string(version));
        }
    }
    EXPECT_GT(withStitches, 10);
}

}  // namespace
