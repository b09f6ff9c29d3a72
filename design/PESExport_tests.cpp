// A layer written as PES and imported again is the same layer: every corpus design, a layer
// that ends in a jump, one with long plain stitches, and an empty layer.

#include "design/PESExport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/PES.h"
#include "formats/ThreadPalette.h"

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
// written centre. Positions, colours and types must match; a stitch comes back long when it was
// long or when its move left the short range -63..62.
void expectSameLayer(const PESData& want, const PESData& got, const std::string& what) {
    if (want.stitchCount == 0) {
        // The file of an empty layer has no colour; the reader may still give it an empty run.
        EXPECT_EQ(got.stitchCount, 0) << what;
        return;
    }
    ASSERT_EQ(got.blocks.size(), want.blocks.size()) << what;
    int64_t px = want.centerX, py = want.centerY;
    for (std::size_t b = 0; b < want.blocks.size(); ++b) {
        const auto& w = want.blocks[b];
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

Stitch st(int x, int y, uint8_t type = pec::kNormal, uint8_t longForm = 0) {
    Stitch s;
    s.x = x;
    s.y = y;
    s.type = type;
    s.longForm = longForm;
    return s;
}

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
