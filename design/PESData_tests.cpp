// Tests of the layer model: decoding PES and MIVO stitch streams into colour runs, bounds and
// counts, joining, moving, mirroring, recolouring, merging and the text frame.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "design/PESData.h"
#include "formats/ThreadPalette.h"

namespace {

using Bytes = std::vector<uint8_t>;

void append(Bytes& f, const Bytes& x) {
    for (uint8_t b : x)
        f.push_back(b);
}

// A minimal PES file in the reader's view (stitch bytes end with 0xFF 0x00, L = length + 19).
Bytes makePES(const Bytes& stitches, const Bytes& colors) {
    Bytes f = {'#', 'P', 'E', 'S', '0', '0', '0', '1', 20, 0, 0, 0};
    f.resize(20, 0);
    Bytes pec(532, 0x20);
    pec[48] = uint8_t(colors.size() - 1);
    for (std::size_t i = 0; i < colors.size(); ++i)
        pec[49 + i] = colors[i];
    const uint32_t L = uint32_t(stitches.size() + 19);
    pec[514] = uint8_t(L);
    pec[515] = uint8_t(L >> 8);
    pec[516] = uint8_t(L >> 16);
    append(f, pec);
    append(f, stitches);
    append(f, {0x00, 0x00});
    return f;
}

PESData layerFrom(const Bytes& stitches, const Bytes& colors, FormatLog* log = nullptr) {
    PES reader;
    reader.loadBuffer(0, makePES(stitches, colors), log);
    PESData layer;
    EXPECT_TRUE(layer.createFromPES(&reader, log));
    return layer;
}

Stitch at(int x, int y, uint8_t longForm = 0, uint8_t type = 0) {
    Stitch s;
    s.x = x;
    s.y = y;
    s.longForm = longForm;
    s.type = type;
    return s;
}

StitchBlock block(uint8_t color, std::vector<Stitch> stitches) {
    StitchBlock b;
    b.colorIndex = color;
    b.color = threadColor(color);
    b.stitches = std::move(stitches);
    return b;
}

bool logged(const FormatLog& log, const std::string& module, const std::string& text) {
    for (const auto& l : log.lines) {
        if (l.module == module && l.text == text)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Construction and decoding

TEST(PESData, ConstructedEmptyWithDefaults) {
    PESData d;
    EXPECT_TRUE(d.blocks.empty());
    EXPECT_EQ(d.stitchCount, 0);
    EXPECT_TRUE(d.framePointsFollow);
    EXPECT_EQ(d.previewAngle, 0.0f);
    EXPECT_EQ(d.properties.type, 0);
    EXPECT_EQ(d.properties.text, "Text");
    EXPECT_EQ(d.properties.typeName, "Font Stitch");
    EXPECT_EQ(d.properties.colorIndex, 10);
    EXPECT_EQ(d.properties.radiusValue, 0.5f);
    EXPECT_EQ(d.properties.angleValue, 0.1f);
    EXPECT_EQ(d.properties.rotateValue, 0.5f);
}

TEST(PESData, DecodesPositionsTypesAndFlags) {
    // (10, 10) short; (-20, 15) long jump dx; (-20, 45) long dy with trim; (0, 45) 0x40 flag;
    // then the closing long move, which is dropped.
    PESData d = layerFrom({0x0A, 0x0A, 0x9F, 0xE2, 0x05, 0x00, 0xA0, 0x1E, 0xC0, 0x14, 0x00, 0x80,
                           0x01, 0x80, 0x01, 0xFF, 0x00},
                          {20});
    ASSERT_EQ(d.blocks.size(), 1u);
    const auto& s = d.blocks[0].stitches;
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0], at(10, 10));
    Stitch j = at(-20, 15, 1, 1);
    j.xFlags = 0x10;
    EXPECT_EQ(s[1], j);
    Stitch t = at(-20, 45, 1, 2);
    t.yFlags = 0x20;
    EXPECT_EQ(s[2], t);
    Stitch f = at(0, 45, 1, 0);
    f.xFlags = 0x40;
    EXPECT_EQ(s[3], f);
    EXPECT_EQ(d.blocks[0].colorIndex, 20);
    EXPECT_EQ(d.blocks[0].color, (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(d.stitchCount, 4);
    EXPECT_EQ(d.longStitchCount, 3);
    EXPECT_EQ(d.longStitchList, (std::vector<int32_t>{0, 1, 0, 2, 0, 3}));
    EXPECT_EQ(d.firstStitch, s[0]);
    EXPECT_EQ(d.lastStitch, s[3]);
}

TEST(PESData, StitchBeforeTheEndMarkerIsDropped) {
    PESData d = layerFrom({0x0A, 0x0A, 0x05, 0x05, 0x80, 0x03, 0x80, 0x03, 0xFF, 0x00}, {5});
    EXPECT_EQ(d.stitchCount, 2);
    // A short last stitch is kept: the reader put a zero long move behind it.
    PESData e = layerFrom({0x0A, 0x0A, 0x05, 0x05, 0x03, 0x03, 0xFF, 0x00}, {5});
    EXPECT_EQ(e.stitchCount, 3);
    EXPECT_EQ(e.lastStitch, at(18, 18));
}

TEST(PESData, EqualNeighbourColoursJoinIntoOneRun) {
    // Colours 5, 5, 7; the second run starts with a long move.
    PESData d = layerFrom({0x0A, 0x0A, 0xFE, 0xB0, 0x00, 0x80, 0x14, 0x80, 0x00, 0x01, 0x01,
                           0xFE, 0xB0, 0x01, 0x02, 0x02, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00},
                          {5, 5, 7});
    ASSERT_EQ(d.blocks.size(), 2u);
    ASSERT_EQ(d.blocks[0].stitches.size(), 3u);
    EXPECT_EQ(d.blocks[0].stitches[1].type, pec::kJump);
    EXPECT_EQ(d.blocks[0].stitches[1].xFlags, pec::kJumpFlag);
    EXPECT_EQ(d.colorList, (std::vector<uint8_t>{5, 7}));
    EXPECT_EQ(d.numColorChange, 1);
    EXPECT_EQ(d.blocks[1].color, threadColor(7));
}

TEST(PESData, ColourChangesBeyondTheListKeepTheLastColour) {
    PESData d = layerFrom({0x0A, 0x0A, 0xFE, 0xB0, 0x00, 0x01, 0x01, 0xFE, 0xB0, 0x00, 0x02, 0x02,
                           0x80, 0x00, 0x80, 0x00, 0xFF, 0x00},
                          {3});
    EXPECT_EQ(d.colorList, (std::vector<uint8_t>{3}));
    EXPECT_EQ(d.stitchCount, 3);
}

TEST(PESData, OutOfRangeColourKeepsItsIndexAndTakesTheFallBackColour) {
    PESData d = layerFrom({0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}, {99});
    EXPECT_EQ(d.blocks[0].colorIndex, 99);
    EXPECT_EQ(d.blocks[0].color, threadColor(0));
}

TEST(PESData, StreamWithoutEndMarkerKeepsEveryStitch) {
    PESData d = layerFrom({0x0A, 0x0A, 0x05, 0x05, 0x85}, {5});
    EXPECT_EQ(d.stitchCount, 2);
    EXPECT_EQ(d.maxX, 15);
}

TEST(PESData, RefusedReadersLeaveTheLayerUnchanged) {
    struct Case {
        const char* name;
        Bytes bytes;
        const char* module;
        const char* error;
    };
    Bytes badMagic = makePES({0xFF, 0x00}, {5});
    badMagic[1] = 'X';
    Bytes cut = makePES({0xFF, 0x00}, {5});
    cut.resize(100);
    const Case cases[] = {
        {"six bytes", {'#', 'P', 'E', 'S', '0', '0'}, "createFromPES", "data invalid"},
        {"wrong magic", badMagic, "createFromPES", "PES header invalid"},
        {"sections cut off", cut, "createFromPES", "data invalid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PESData d;
        d.appendBlock(block(5, {at(1, 2)}));
        d.computeBounds();
        PES reader;
        reader.loadBuffer(0, c.bytes);
        FormatLog log;
        EXPECT_FALSE(d.createFromPES(&reader, &log));
        EXPECT_TRUE(logged(log, c.module, c.error));
        ASSERT_EQ(d.blocks.size(), 1u);
        EXPECT_EQ(d.stitchCount, 1);
    }
    PESData d;
    FormatLog log;
    EXPECT_FALSE(d.createFromPES(nullptr, &log));
    EXPECT_TRUE(logged(log, "PESData::createFromPES()", "pes=NULL"));
    EXPECT_EQ(log.lines[0].level, 2);
}

// ---------------------------------------------------------------------------------------------
// MIVO buffers

Bytes mivo(std::initializer_list<uint8_t> rest) {
    Bytes b = {'#', 'M', 'I', 'V', 'O'};
    for (uint8_t x : rest)
        b.push_back(x);
    return b;
}

TEST(PESDataMivo, OneRedStitch) {
    PESData d;
    ASSERT_TRUE(d.loadMIVO(mivo({0, 5, 0x0A, 0x0A, 0x05, 0x05, 0xFF, 0x00})));
    ASSERT_EQ(d.blocks.size(), 1u);
    EXPECT_EQ(d.blocks[0].colorIndex, 5);
    EXPECT_EQ(d.blocks[0].color, (Rgba{237, 23, 31, 255}));
    ASSERT_EQ(d.blocks[0].stitches.size(), 1u);
    EXPECT_EQ(d.blocks[0].stitches[0], at(10, 10));
    EXPECT_EQ(d.stitchCount, 1);
    EXPECT_EQ(d.minX, 10);
    EXPECT_EQ(d.maxY, 10);
}

TEST(PESDataMivo, ColoursAreNormalisedAndBoundedByTheList) {
    PESData d;
    ASSERT_TRUE(d.loadMIVO(mivo({1, 70, 9, 0x0A, 0x0A, 0xFE, 0xB0, 0x00, 0x01, 0x01, 0xFE, 0xB0,
                                 0x00, 0x02, 0x02, 0x03, 0x03, 0xFF, 0x00})));
    ASSERT_EQ(d.blocks.size(), 2u);
    EXPECT_EQ(d.blocks[0].colorIndex, 0);  // 70 is outside the palette
    EXPECT_EQ(d.blocks[1].colorIndex, 9);  // the third run reuses the last colour and joins
    EXPECT_EQ(d.stitchCount, 3);
}

TEST(PESDataMivo, MalformedBuffersLeaveTheLayerUnchanged) {
    const Bytes cases[] = {
        {},
        {'M', 'I', 'V', 'O', 0, 5, 0x0A, 0x0A, 0xFF, 0x00},
        mivo({0x80, 5, 0x0A, 0x0A, 0xFF, 0x00}),
        mivo({4, 5, 6}),
    };
    for (const auto& c : cases) {
        PESData d;
        d.appendBlock(block(5, {at(1, 2)}));
        d.computeBounds();
        FormatLog log;
        EXPECT_FALSE(d.loadMIVO(c, &log));
        EXPECT_TRUE(log.hasError());
        EXPECT_EQ(d.stitchCount, 1);
    }
    FormatLog log;
    PESData d;
    d.loadMIVO(Bytes{}, &log);
    EXPECT_TRUE(logged(log, "PESData::loadMIVO()", "Error file not found"));
}

// ---------------------------------------------------------------------------------------------
// Bounds

TEST(PESData, ComputeBoundsCentreAndSize) {
    struct Case {
        int lo, hi;
        int center, width;
    };
    const Case cases[] = {{-100, 300, 100, 400}, {-7, 0, -4, 7}, {5, 5, 5, 0}, {-9, -2, -6, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lo);
        PESData d;
        d.appendBlock(block(1, {at(c.lo, c.lo), at(c.hi, c.hi)}));
        d.computeBounds();
        EXPECT_EQ(d.minX, c.lo);
        EXPECT_EQ(d.maxX, c.hi);
        EXPECT_EQ(d.centerX, c.center);
        EXPECT_EQ(d.centerY, c.center);
        EXPECT_EQ(d.boundsWidth, c.width);
        EXPECT_EQ(d.boundsHeight, c.width);
    }
}

TEST(PESData, ComputeBoundsOfAnEmptyLayer) {
    PESData d;
    d.appendBlock(block(3, {}));
    d.computeBounds();
    EXPECT_EQ(d.minX, INT32_MAX);
    EXPECT_EQ(d.maxX, INT32_MIN);
    EXPECT_EQ(d.boundsWidth, 0);
    EXPECT_EQ(d.centerX, 0);
    EXPECT_EQ(d.colorList, (std::vector<uint8_t>{3}));
    EXPECT_EQ(d.numColorChange, 0);
    PESData none;
    none.computeBounds();
    EXPECT_EQ(none.numColorChange, -1);
}

TEST(PESData, ComputeBoundsColourListCountsRunsNotBlocks) {
    PESData d;
    // Blocks pushed directly (not through appendBlock) may repeat a colour.
    d.blocks = {block(4, {at(0, 0)}), block(4, {at(1, 0, 1)}), block(6, {at(2, 0)}),
                block(4, {at(3, 0)})};
    d.computeBounds();
    EXPECT_EQ(d.colorList, (std::vector<uint8_t>{4, 6, 4}));
    EXPECT_EQ(d.numColorChange, 2);
    EXPECT_EQ(d.longStitchList, (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(d.lastStitch, at(3, 0));
}

TEST(PESData, PreparingAnImportCentresTheDesign) {
    PESData d;
    d.appendBlock(block(8, {at(-100, 0), at(300, 50)}));
    d.computeBounds();
    d.prepareImportedPES();
    EXPECT_EQ(d.minX, -200);
    EXPECT_EQ(d.maxX, 200);
    EXPECT_EQ(d.minY, -25);
    EXPECT_EQ(d.centerX, 0);
    EXPECT_EQ(d.properties.type, 1);
    EXPECT_EQ(d.properties.typeName, "PES Stitch");
    EXPECT_EQ(d.properties.colorIndex, 7);
    ASSERT_EQ(d.sourceBlocks.size(), 1u);
    EXPECT_EQ(d.sourceBlocks[0].stitches, d.blocks[0].stitches);
}

// ---------------------------------------------------------------------------------------------
// Edits

TEST(PESData, AppendBlockJoinsEqualColours) {
    PESData d;
    d.appendBlock(block(5, {at(0, 0)}));
    d.appendBlock(block(5, {at(10, 0, 1), at(20, 0)}));
    d.appendBlock(block(5, {at(30, 0)}));  // short first stitch: left as it is
    d.appendBlock(block(6, {at(40, 0, 1)}));
    ASSERT_EQ(d.blocks.size(), 2u);
    const auto& s = d.blocks[0].stitches;
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[1].type, pec::kJump);
    EXPECT_EQ(s[1].xFlags, 0x10);
    EXPECT_EQ(s[3].type, pec::kNormal);
    EXPECT_EQ(d.blocks[1].stitches[0].type, pec::kNormal);  // not joined: untouched
}

TEST(PESData, TranslateMovesStitchesAndFollowingFramePoints) {
    PESData d;
    d.appendBlock(block(5, {at(0, 0), at(10, 5)}));
    d.framePoints = {{1, 1}};
    d.sourceBlocks = d.blocks;
    d.translate(3, -4);
    EXPECT_EQ(d.blocks[0].stitches[1], at(13, 1));
    EXPECT_EQ(d.framePoints[0], (FramePoint{4, -3}));
    EXPECT_EQ(d.sourceBlocks[0].stitches[1], at(10, 5));
    d.framePointsFollow = false;
    d.translate(1, 1);
    EXPECT_EQ(d.framePoints[0], (FramePoint{4, -3}));
    d.translate(INT32_MAX, 0);  // saturates rather than wrapping
    EXPECT_EQ(d.blocks[0].stitches[1].x, INT32_MAX);
}

TEST(PESData, Mirrors) {
    PESData d;
    d.appendBlock(block(5, {at(0, 0), at(10, 20), at(100, 40)}));
    d.computeBounds();
    d.mirrorX();
    EXPECT_EQ(d.blocks[0].stitches[1], at(90, 20));
    EXPECT_EQ(d.blocks[0].stitches[0], at(100, 0));
    EXPECT_EQ(d.minX, 0);  // bounds untouched
    d.mirrorY();
    EXPECT_EQ(d.blocks[0].stitches[1], at(90, 20));
    EXPECT_EQ(d.blocks[0].stitches[2], at(0, 0));

    PESData flat;
    flat.appendBlock(block(5, {at(7, 1), at(7, 9)}));
    flat.computeBounds();
    flat.mirrorX();
    EXPECT_EQ(flat.blocks[0].stitches[0].x, 7);
    flat.mirrorY();
    EXPECT_EQ(flat.blocks[0].stitches[0].y, 9);

    PESData empty;
    empty.computeBounds();
    empty.mirrorX();  // no bounds: nothing to do, no overflow
    empty.mirrorY();
}

TEST(PESData, SetColorChangesOnlyTheFirstBlock) {
    PESData d;
    d.appendBlock(block(5, {at(0, 0)}));
    d.appendBlock(block(7, {at(1, 0)}));
    d.setColor(19);
    EXPECT_EQ(d.blocks[0].colorIndex, 20);
    EXPECT_EQ(d.blocks[0].color, (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(d.blocks[1].colorIndex, 7);
    EXPECT_EQ(d.properties.colorIndex, 19);
    d.setColor(64);
    EXPECT_EQ(d.blocks[0].colorIndex, 0);
    EXPECT_EQ(d.properties.colorIndex, 64);
    PESData none;
    none.setColor(3);
    EXPECT_EQ(none.properties.colorIndex, 3);
    EXPECT_TRUE(none.blocks.empty());
}

TEST(PESData, MergeLayerJoinsAndSetsProperties) {
    struct Case {
        uint8_t otherFirst;
        std::size_t blocks;
        const char* typeName;
    };
    const Case cases[] = {{20, 1, "PES Stitch[Single Block]"},
                          {21, 2, "PES Stitch[Multiple Blocks]"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typeName);
        PESData d;
        d.properties.extraLetterSpace = 7;
        d.properties.fontIndex = 3;
        d.properties.angleValue = 0.9f;
        d.appendBlock(block(20, {at(0, 0)}));
        PESData other;
        other.appendBlock(block(c.otherFirst, {at(50, 50, 1), at(60, 60)}));
        d.mergeLayer(other);
        EXPECT_EQ(d.blocks.size(), c.blocks);
        EXPECT_EQ(d.stitchCount, 3);
        EXPECT_EQ(d.maxX, 60);
        EXPECT_EQ(d.properties.type, 1);
        EXPECT_EQ(d.properties.typeName, c.typeName);
        EXPECT_EQ(d.properties.colorIndex, 19);
        EXPECT_EQ(d.properties.fontIndex, 0);
        EXPECT_EQ(d.properties.angleValue, 0.1f);
        EXPECT_EQ(d.properties.extraLetterSpace, 7);
        // The other layer is left as it was.
        EXPECT_EQ(other.blocks[0].stitches[0].type, pec::kNormal);
    }
}

TEST(PESData, MergeLayerWithItself) {
    PESData d;
    d.appendBlock(block(2, {at(0, 0), at(5, 5)}));
    d.mergeLayer(d);
    EXPECT_EQ(d.stitchCount, 4);
}

TEST(PESData, ClearEmptiesEverything) {
    PESData d;
    d.appendBlock(block(2, {at(0, 0)}));
    d.computeBounds();
    d.sourceBlocks = d.blocks;
    d.buildFramePoints();
    d.clear();
    EXPECT_TRUE(d.blocks.empty());
    EXPECT_TRUE(d.colorList.empty());
    EXPECT_TRUE(d.longStitchList.empty());
    EXPECT_TRUE(d.sourceBlocks.empty());
    EXPECT_TRUE(d.framePoints.empty());
}

TEST(PESData, FramePointsLieTwentyUnitsOutside) {
    PESData d;
    d.appendBlock(block(2, {at(0, 0), at(100, 50)}));
    d.computeBounds();
    d.buildFramePoints();
    const std::vector<FramePoint> expected = {{-20, -20}, {15, -20}, {50, -20}, {85, -20},
                                              {120, -20}, {120, 70}, {85, 70},  {50, 70},
                                              {15, 70},   {-20, 70}};
    EXPECT_EQ(d.framePoints, expected);
    // Odd width: the quarter points truncate toward zero.
    PESData odd;
    odd.appendBlock(block(2, {at(-51, 0), at(0, 1)}));
    odd.computeBounds();
    odd.buildFramePoints();
    EXPECT_EQ(odd.framePoints[1].x, -48);  // trunc(-71 + 22.75)
    EXPECT_EQ(odd.framePoints[6].x, -2);   // trunc(20 - 22.75)
}

TEST(PESData, CopiesAreIndependent) {
    PESData a;
    a.appendBlock(block(2, {at(0, 0)}));
    a.properties.text = "abc";
    PESData b = a;
    b.translate(5, 5);
    b.properties.text = "x";
    EXPECT_EQ(a.blocks[0].stitches[0], at(0, 0));
    EXPECT_EQ(a.properties.text, "abc");
}

// ---------------------------------------------------------------------------------------------
// Real-world files through the layer decoder

TEST(PESDataCorpus, LayersOfRealFiles) {
    namespace fs = std::filesystem;
    const fs::path dir = MES_CORPUS_DIR;
    std::ifstream manifest(dir / "MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);  // header
    int files = 0;
    while (std::getline(manifest, line)) {
        std::vector<std::string> c;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, '\t'))
            c.push_back(cell);
        ASSERT_GT(c.size(), 16u);
        SCOPED_TRACE(c[0]);
        std::ifstream in(dir / c[0], std::ios::binary);
        PES reader;
        reader.loadBuffer(0, Bytes((std::istreambuf_iterator<char>(in)), {}));
        PESData layer;
        const bool ok = layer.createFromPES(&reader);
        const int stitches = std::atoi(c[8].c_str());  // pyemb_stitches
        const int colours = std::atoi(c[15].c_str());  // indep_colours
        const int indep = std::atoi(c[14].c_str());    // indep_stitches
        if (indep == 0) {
            EXPECT_FALSE(ok);
            EXPECT_TRUE(layer.blocks.empty());
            continue;
        }
        ASSERT_TRUE(ok);
        ++files;
        int normal = 0;
        for (const auto& b : layer.blocks) {
            for (const auto& s : b.stitches)
                normal += s.type == pec::kNormal;
        }
        EXPECT_NEAR(normal, stitches, 2);
        EXPECT_GE(layer.stitchCount, normal);
        EXPECT_LE(int(layer.colorList.size()), colours);
        EXPECT_GE(int(layer.colorList.size()), 1);
        layer.prepareImportedPES();
        EXPECT_LE(std::abs(layer.centerX), 0);
        EXPECT_LE(std::abs(layer.minX + layer.maxX), 1);  // centred on the origin
    }
    EXPECT_GE(files, 10);
}

}  // namespace
