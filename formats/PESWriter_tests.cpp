// Byte layout of the files the PES writer produces: stitch records, colour changes, the PES
// objects and segments, the PEC header, thumbnails and the version 5 trailer.

#include "formats/PESWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formats/TestStitches.h"
#include "formats/ThreadPalette.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint16_t u16(const Bytes& b, std::size_t at) {
    return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8);
}
int16_t s16(const Bytes& b, std::size_t at) {
    return static_cast<int16_t>(u16(b, at));
}
uint32_t u32(const Bytes& b, std::size_t at) {
    return uint32_t(u16(b, at)) | uint32_t(u16(b, at + 2)) << 16;
}
float f32(const Bytes& b, std::size_t at) {
    uint32_t bits = u32(b, at);
    float f = 0;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}
std::string text(const Bytes& b, std::size_t at, std::size_t n) {
    return std::string(b.begin() + at, b.begin() + at + n);
}

using fixtures::block;
using fixtures::st;

// The parts of a written file, found by walking it the way another program would.
struct Parsed {
    uint32_t pec = 0;
    std::size_t segmentCount = 0;
    struct Segment {
        uint16_t type = 0, ref = 0;
        std::vector<std::pair<int, int>> points;
    };
    std::vector<Segment> segments;
    uint16_t tableCount = 0;
    std::vector<std::pair<uint16_t, uint16_t>> colorTable;
    std::size_t objectsEnd = 0;  // first byte after the colour table
    int pecColors = 0;           // count byte + 1 (0 for the byte 0xFF)
    std::vector<uint8_t> pecColorList;
    uint32_t length = 0;  // L
    Bytes stream;         // P + 532 up to the graphics, the end byte included
    std::size_t graphicsAt = 0;
};

// objectsAt is where the object block starts (18 in version 1).
Parsed parse(const Bytes& f, std::size_t objectsAt) {
    Parsed p;
    p.pec = u32(f, 8);
    std::size_t at = objectsAt + 4 + 2 + 7 + 16 + 24 + 2 + 8 + 8;
    p.segmentCount = u16(f, at);
    at += 2 + 4 + 2 + 7;
    for (std::size_t i = 0; i < p.segmentCount; ++i) {
        if (i > 0) {
            EXPECT_EQ(u16(f, at), 0x8003) << "separator before segment " << i;
            at += 2;
        }
        Parsed::Segment s;
        s.type = u16(f, at);
        s.ref = u16(f, at + 2);
        const uint16_t m = u16(f, at + 4);
        at += 6;
        for (uint16_t k = 0; k < m; ++k, at += 4)
            s.points.emplace_back(s16(f, at), s16(f, at + 2));
        p.segments.push_back(s);
    }
    p.tableCount = u16(f, at);
    at += 2;
    p.objectsEnd = at;
    const std::size_t P = p.pec;
    const int count = f.at(P + 48);
    p.pecColors = count == 0xFF ? 0 : count + 1;
    p.pecColorList.assign(f.begin() + P + 49, f.begin() + P + 49 + p.pecColors);
    p.length = f.at(P + 514) | f.at(P + 515) << 8 | f.at(P + 516) << 16;
    p.graphicsAt = P + 512 + p.length;
    p.stream.assign(f.begin() + P + 532, f.begin() + p.graphicsAt);
    return p;
}

// The colour table sits between the segments and the 4 (v1) or 8 + 8n (v5) bytes before P.
void readColorTable(const Bytes& f, Parsed& p, std::size_t entries) {
    for (std::size_t i = 0; i < entries; ++i)
        p.colorTable.emplace_back(u16(f, p.objectsEnd + 4 * i), u16(f, p.objectsEnd + 4 * i + 2));
}

Bytes move(int64_t dx, int64_t dy, uint8_t type, uint8_t longForm) {
    Bytes out;
    pes_writer::appendMove(dx, dy, type, longForm != 0, out);
    return out;
}

// ---------------------------------------------------------------------------------------------

struct MoveCase {
    const char* what;
    int dx, dy;
    uint8_t type, longForm;
    Bytes bytes;
};

TEST(PESWriterStitch, MovesAreEncodedInTheRightForm) {
    const MoveCase cases[] = {
        {"plain short", 10, -3, 0, 0, {0x0A, 0x7D}},
        {"jump is long with 0x90", 10, -3, 1, 1, {0x90, 0x0A, 0x9F, 0xFD}},
        {"jump without long flag", 10, -3, 1, 0, {0x90, 0x0A, 0x9F, 0xFD}},
        {"trim is long with 0xA0", 5, 5, 2, 1, {0xA0, 0x05, 0xA0, 0x05}},
        {"jump and trim 0xB0", 1, 0, 3, 1, {0xB0, 0x01, 0xB0, 0x00}},
        {"long plain stays long", 5, 5, 0, 1, {0x80, 0x05, 0x80, 0x05}},
        {"62 is short", 62, -63, 0, 0, {0x3E, 0x41}},
        {"63 is long", 63, 0, 0, 0, {0x80, 0x3F, 0x80, 0x00}},
        {"-63 is short", -63, 0, 0, 0, {0x41, 0x00}},
        {"-64 is long", -64, 0, 0, 0, {0x8F, 0xC0, 0x80, 0x00}},
        {"dy 63 is long", 0, 63, 0, 0, {0x80, 0x00, 0x80, 0x3F}},
        {"2047 in one record", 2047, 0, 0, 0, {0x87, 0xFF, 0x80, 0x00}},
        {"-2047 in one record", -2047, -1, 0, 0, {0x88, 0x01, 0x8F, 0xFF}},
        {"-2048 is split", 0, -2048, 1, 1, {0x90, 0x00, 0x9C, 0x00, 0x90, 0x00, 0x9C, 0x00}},
        {"3000 jump in halves", 3000, 100, 1, 1, {0x95, 0xDC, 0x90, 0x32, 0x95, 0xDC, 0x90, 0x32}},
        {"2600 jump in halves", 100, 2600, 1, 1, {0x90, 0x32, 0x95, 0x14, 0x90, 0x32, 0x95, 0x14}},
        // 4095 in two halves would need 2048, which a record cannot hold: three thirds.
        {"4095 in thirds",
         4095,
         0,
         1,
         1,
         {0x95, 0x55, 0x90, 0x00, 0x95, 0x55, 0x90, 0x00, 0x95, 0x55, 0x90, 0x00}},
        {"-4095 in halves", -4095, 0, 0, 0, {0x88, 0x00, 0x80, 0x00, 0x88, 0x01, 0x80, 0x00}},
        // Odd moves: the parts add up to the move, no unit is lost.
        {"3001 by 101", 3001, 101, 1, 1, {0x95, 0xDD, 0x90, 0x33, 0x95, 0xDC, 0x90, 0x32}},
    };
    for (const MoveCase& c : cases)
        EXPECT_EQ(move(c.dx, c.dy, c.type, c.longForm), c.bytes) << c.what;
}

// Decodes records and adds them up: every split move must land exactly.
TEST(PESWriterStitch, SplitMovesAddUpExactly) {
    for (int dx : {2048, 2049, 4094, 4095, 4096, 6143, 6144, 10000, -4095, -6143, -10001}) {
        for (int dy : {0, 1, -1, 777, -2049}) {
            Bytes b = move(dx, dy, pec::kJump, 1);
            long sx = 0, sy = 0;
            ASSERT_EQ(b.size() % 4, 0u);
            for (std::size_t i = 0; i < b.size(); i += 4) {
                EXPECT_EQ(b[i] & 0xF0, 0x90);
                EXPECT_EQ(b[i + 2] & 0xF0, 0x90);
                sx += pec::longValue(b[i], b[i + 1]);
                sy += pec::longValue(b[i + 2], b[i + 3]);
            }
            EXPECT_EQ(sx, dx) << dx << "," << dy;
            EXPECT_EQ(sy, dy) << dx << "," << dy;
        }
    }
}

TEST(PESWriterStitch, ColourChangesToggleBetweenTwoAndOne) {
    std::vector<StitchBlock> blocks = {block(1, {st(0, 0)}), block(2, {st(1, 0)}),
                                       block(3, {st(2, 0)}), block(4, {st(3, 0)})};
    Bytes out;
    pes_writer::appendStitchStream(blocks, pes_writer::colorRuns(blocks), 0, 0, out);
    const Bytes expected = {0x00, 0x00, 0xFE, 0xB0, 0x02, 0x01, 0x00, 0xFE, 0xB0,
                            0x01, 0x01, 0x00, 0xFE, 0xB0, 0x02, 0x01, 0x00, 0xFF};
    EXPECT_EQ(out, expected);
}

TEST(PESWriterStitch, StreamIsRelativeToTheCentre) {
    // The first stitch is reached by a jump of (10, -5).
    std::vector<StitchBlock> blocks = {block(5, {st(110, 195), st(120, 192)})};
    Bytes out;
    pes_writer::appendStitchStream(blocks, pes_writer::colorRuns(blocks), 100, 200, out);
    EXPECT_EQ(out, (Bytes{0x90, 0x0A, 0x9F, 0xFB, 0x0A, 0x7D, 0xFF}));
}

struct StartCase {
    const char* what;
    std::vector<StitchBlock> blocks;
    Bytes stream;
};

// The movement from the origin to the first stitch is never sewn. The stream's origin is (0, 0)
// here, so each move is the stitch's position.
TEST(PESWriterStitch, TheMoveToTheFirstStitchIsAJump) {
    const StartCase cases[] = {
        // Text and shape layers begin with a long movement to their first stitch.
        {"long plain first stitch",
         {block(5, {st(-1302, 48, 0, 1), st(-1299, 49)})},
         {0x9A, 0xEA, 0x90, 0x30, 0x03, 0x01, 0xFF}},
        {"jump stays a jump",
         {block(5, {st(5, 5, pec::kJump, 1), st(6, 6)})},
         {0x90, 0x05, 0x90, 0x05, 0x01, 0x01, 0xFF}},
        {"trim gets the jump flag",
         {block(5, {st(5, 5, pec::kTrim, 1), st(6, 6)})},
         {0xB0, 0x05, 0xB0, 0x05, 0x01, 0x01, 0xFF}},
        // Even a short plain move from the origin is a jump: nothing is sewn on the way.
        {"plain first stitch",
         {block(5, {st(3, -2), st(6, 6)})},
         {0x90, 0x03, 0x9F, 0xFE, 0x03, 0x08, 0xFF}},
        {"far plain first stitch split",
         {block(5, {st(3000, 0), st(3001, 0)})},
         {0x95, 0xDC, 0x90, 0x00, 0x95, 0xDC, 0x90, 0x00, 0x01, 0x00, 0xFF}},
        {"plain stitch on the origin has nothing to jump",
         {block(5, {st(0, 0), st(6, 6)})},
         {0x00, 0x00, 0x06, 0x06, 0xFF}},
        {"left-out stitches before it do not count",
         {block(5, {st(9, 9, 0x04), st(4, 0, 0, 1), st(5, 0)})},
         {0x90, 0x04, 0x90, 0x00, 0x01, 0x00, 0xFF}},
        {"an empty first run",
         {block(5, {}), block(6, {st(4, 0, 0, 1), st(5, 0)})},
         {0xFE, 0xB0, 0x02, 0x90, 0x04, 0x90, 0x00, 0x01, 0x00, 0xFF}},
        // Later blocks: a long first stitch is the movement to the block's start.
        {"long start of a later run",
         {block(5, {st(1, 1), st(2, 2)}), block(6, {st(500, 0, 0, 1), st(501, 0)})},
         {0x90, 0x01, 0x90, 0x01, 0x01, 0x01, 0xFE, 0xB0, 0x02, 0x91, 0xF2, 0x9F, 0xFE, 0x01, 0x00,
          0xFF}},
        {"long start of a later block of the same colour",
         {block(5, {st(1, 1, 0, 1)}), block(5, {st(500, 0, 0, 1), st(501, 0)})},
         {0x90, 0x01, 0x90, 0x01, 0x91, 0xF3, 0x9F, 0xFF, 0x01, 0x00, 0xFF}},
        {"short start of a later run stays a stitch",
         {block(5, {st(1, 1, 0, 1)}), block(6, {st(3, 3), st(501, 0, 0, 1), st(502, 0)})},
         {0x90, 0x01, 0x90, 0x01, 0xFE, 0xB0, 0x02, 0x02, 0x02, 0x81, 0xF2, 0x8F, 0xFD, 0x01, 0x00,
          0xFF}},
    };
    for (const StartCase& c : cases) {
        Bytes out;
        pes_writer::appendStitchStream(c.blocks, pes_writer::colorRuns(c.blocks), 0, 0, out);
        EXPECT_EQ(out, c.stream) << c.what;
    }
}

TEST(PESWriterStitch, LeftOutTypesDoNotShiftTheStitchesAfterThem) {
    std::vector<StitchBlock> blocks = {
        block(5, {st(0, 0), st(30, 0, 0x04), st(40, 0, 0x10), st(50, 0)})};
    Bytes out;
    pes_writer::appendStitchStream(blocks, pes_writer::colorRuns(blocks), 0, 0, out);
    EXPECT_EQ(out, (Bytes{0x00, 0x00, 0x32, 0x00, 0xFF}));
}

TEST(PESWriterStitch, ALongLastRecordIsFollowedByAZeroMove) {
    // Readers drop a long/long record in front of the end marker; the zero move is the one
    // they drop, and the jump stays.
    std::vector<StitchBlock> endsLong = {block(5, {st(0, 0), st(5, 0, pec::kJump, 1)})};
    Bytes out;
    pes_writer::appendStitchStream(endsLong, pes_writer::colorRuns(endsLong), 0, 0, out);
    EXPECT_EQ(out, (Bytes{0x00, 0x00, 0x90, 0x05, 0x90, 0x00, 0x80, 0x00, 0x80, 0x00, 0xFF}));

    // An empty last run: the change is followed by the zero move too.
    std::vector<StitchBlock> emptyLast = {block(5, {st(0, 0)}), block(6, {})};
    out.clear();
    pes_writer::appendStitchStream(emptyLast, pes_writer::colorRuns(emptyLast), 0, 0, out);
    EXPECT_EQ(out, (Bytes{0x00, 0x00, 0xFE, 0xB0, 0x02, 0x80, 0x00, 0x80, 0x00, 0xFF}));
}

TEST(PESWriterStitch, NeighbouringBlocksOfOneColourAreOneRun) {
    std::vector<StitchBlock> blocks = {block(5, {st(0, 0)}), block(5, {st(1, 1)}),
                                       block(7, {st(2, 2)}), block(5, {st(3, 3)})};
    const auto runs = pes_writer::colorRuns(blocks);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].colorIndex, 5);
    EXPECT_EQ(runs[0].endBlock, 2u);
    EXPECT_EQ(runs[1].colorIndex, 7);
    EXPECT_EQ(runs[2].firstBlock, 3u);
}

// ---------------------------------------------------------------------------------------------

// A block after the first, many points of one form, cut every 1000 points.
TEST(PESWriterSegments, LongBlocksAreCutEvery1000Points) {
    std::vector<Stitch> many;
    for (int i = 0; i < 2500; ++i)
        many.push_back(st(i % 50, i / 50));
    std::vector<StitchBlock> blocks = {block(20, {st(0, 0), st(1, 1)}), block(5, many)};
    PESWriteInput in = pesWriteInputFor(blocks, 100, 100);
    const Bytes f = writePES1(in);
    Parsed p = parse(f, 18);
    ASSERT_EQ(p.segmentCount, 5u);
    // The jump from the centre to the first stitch, then on from there to the second stitch.
    EXPECT_EQ(p.segments[0].points.size(), 2u);
    EXPECT_EQ(p.segments[1].points.size(), 2u);
    EXPECT_EQ(p.segments[2].points.size(), 1000u);
    EXPECT_EQ(p.segments[3].points.size(), 1000u);
    EXPECT_EQ(p.segments[4].points.size(), 502u);
    EXPECT_EQ(p.segments[3].points.front(), p.segments[2].points.back());
    EXPECT_EQ(p.segments[4].points.front(), p.segments[3].points.back());
    // Coordinates are shifted by hoop * 10 - centre, so the centre is at 1000, 1000.
    const int sx = 1000 - in.centerX, sy = 1000 - in.centerY;
    EXPECT_EQ(p.segments[0].points[0], std::make_pair(1000, 1000));
    EXPECT_EQ(p.segments[0].points[1], std::make_pair(sx, sy));
    EXPECT_EQ(p.segments[2].points[0], std::make_pair(sx + 0, sy + 0));
    EXPECT_EQ(p.segments[4].points.back(), std::make_pair(sx + 2499 % 50, sy + 2499 / 50));
    EXPECT_EQ(p.tableCount, 2);
    readColorTable(f, p, 2);
    EXPECT_EQ(p.colorTable[0], std::make_pair(uint16_t(0), uint16_t(20)));
    EXPECT_EQ(p.colorTable[1], std::make_pair(uint16_t(2), uint16_t(5)));
}

TEST(PESWriterSegments, FormChangesStartSegmentsThatRepeatThePoint) {
    std::vector<StitchBlock> blocks = {
        block(1, {st(0, 0), st(10, 0), st(500, 0, pec::kJump, 1), st(510, 0)}),
        block(2, {st(600, 0, pec::kJump, 1), st(610, 0), st(620, 0)})};
    const PESWriteInput in = pesWriteInputFor(blocks, 100, 100);
    Parsed p = parse(writePES1(in), 18);
    const int sx = 1000 - in.centerX, sy = 1000 - in.centerY;
    auto pt = [&](int x) { return std::make_pair(sx + x, sy); };
    ASSERT_EQ(p.segmentCount, 6u);
    // First run: the jump from the centre (310, 0) to the first stitch, then the stitch after.
    EXPECT_EQ(p.segments[0].type, 1);
    EXPECT_EQ(p.segments[0].points, (std::vector<std::pair<int, int>>{pt(310), pt(0)}));
    EXPECT_EQ(p.segments[1].type, 0);
    EXPECT_EQ(p.segments[1].points, (std::vector<std::pair<int, int>>{pt(0), pt(10)}));
    EXPECT_EQ(p.segments[2].type, 1);
    EXPECT_EQ(p.segments[2].points, (std::vector<std::pair<int, int>>{pt(10), pt(500)}));
    EXPECT_EQ(p.segments[3].type, 0);
    EXPECT_EQ(p.segments[3].points, (std::vector<std::pair<int, int>>{pt(500), pt(510)}));
    // Second run: its type comes from its first stitch, and it does not repeat the point before.
    EXPECT_EQ(p.segments[4].type, 1);
    EXPECT_EQ(p.segments[4].points, (std::vector<std::pair<int, int>>{pt(600)}));
    EXPECT_EQ(p.segments[5].type, 0);
    EXPECT_EQ(p.segments[5].points, (std::vector<std::pair<int, int>>{pt(600), pt(610), pt(620)}));
    EXPECT_EQ(p.segments[5].ref, 2);
}

// A long first stitch is the jump itself: one jump segment from the centre, then the stitches.
TEST(PESWriterSegments, ALongFirstStitchIsTheJumpSegment) {
    std::vector<StitchBlock> blocks = {block(1, {st(-300, 40, 0, 1), st(-290, 40), st(300, 40)})};
    const PESWriteInput in = pesWriteInputFor(blocks, 100, 100);
    Parsed p = parse(writePES1(in), 18);
    const int sx = 1000 - in.centerX, sy = 1000 - in.centerY;
    auto pt = [&](int x) { return std::make_pair(sx + x, sy + 40); };
    ASSERT_EQ(p.segmentCount, 2u);
    EXPECT_EQ(p.segments[0].type, 1);
    EXPECT_EQ(p.segments[0].points, (std::vector<std::pair<int, int>>{{1000, 1000}, pt(-300)}));
    EXPECT_EQ(p.segments[1].type, 0);
    EXPECT_EQ(p.segments[1].points,
              (std::vector<std::pair<int, int>>{pt(-300), pt(-290), pt(300)}));
    // A plain stitch on the centre needs no jump: one stitch segment from the centre.
    std::vector<StitchBlock> centred = {block(1, {st(0, 0), st(-10, 0), st(10, 0)})};
    p = parse(writePES1(pesWriteInputFor(centred, 100, 100)), 18);
    ASSERT_EQ(p.segmentCount, 1u);
    EXPECT_EQ(p.segments[0].type, 0);
    EXPECT_EQ(p.segments[0].points, (std::vector<std::pair<int, int>>{
                                        {1000, 1000}, {1000, 1000}, {990, 1000}, {1010, 1000}}));
}

TEST(PESWriterSegments, Version5ReferencesColoursByTheirPosition) {
    std::vector<StitchBlock> blocks = {block(9, {st(0, 0)}), block(30, {st(5, 5)}),
                                       block(9, {st(9, 9)})};
    const PESWriteInput in = pesWriteInputFor(blocks, 130, 180);
    const Bytes f = writePES5(in);
    // Thread list: three entries of 1 + 3 + 3 + 1 + 4 + (1 + d) + 11 + 1 bytes.
    std::size_t objects = 78;
    for (int c : {9, 30, 9})
        objects += 1 + 3 + 3 + 1 + 4 + 1 + std::to_string(c).size() + 11 + 1;
    EXPECT_EQ(u16(f, objects), 1);
    Parsed p = parse(f, objects + 2);
    ASSERT_EQ(p.segmentCount, 3u);
    EXPECT_EQ(p.segments[0].type, 1);  // the jump from the centre to the one stitch
    EXPECT_EQ(p.segments[0].ref, 0);
    EXPECT_EQ(p.segments[1].ref, 1);
    EXPECT_EQ(p.segments[2].ref, 0);  // first match
    EXPECT_EQ(p.tableCount, 3);
    readColorTable(f, p, 3);
    EXPECT_EQ(p.colorTable[2], std::make_pair(uint16_t(2), uint16_t(0)));
    // Eight zero bytes, then (0, i) per colour, then the PEC block.
    const std::size_t tail = p.objectsEnd + 12;
    EXPECT_EQ(u32(f, tail), 0u);
    EXPECT_EQ(u32(f, tail + 4), 0u);
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(u32(f, tail + 8 + 8 * i), 0u);
        EXPECT_EQ(u32(f, tail + 12 + 8 * i), i);
    }
    EXPECT_EQ(p.pec, tail + 8 + 24);
}

// ---------------------------------------------------------------------------------------------

TEST(PESWriterLayout, Version1Header) {
    std::vector<StitchBlock> blocks = {block(5, {st(-20, -10), st(20, 30)})};
    PESWriteInput in = pesWriteInputFor(blocks, 130, 180);
    ASSERT_EQ(in.centerX, 0);
    ASSERT_EQ(in.centerY, 10);
    const Bytes f = writePES1(in);
    EXPECT_EQ(text(f, 0, 8), "#PES0001");
    EXPECT_EQ(u16(f, 12), 1);  // hoop larger than 100 mm
    EXPECT_EQ(u16(f, 14), 1);
    EXPECT_EQ(u16(f, 16), 1);
    EXPECT_EQ(u32(f, 18), 0x0000FFFFu);
    EXPECT_EQ(u16(f, 22), 7);
    EXPECT_EQ(text(f, 24, 7), "CEmbOne");
    const int ox = 1300 - 0 - 1000, oy = 1800 - 10 - 1000;
    for (std::size_t at : {31u, 39u}) {
        EXPECT_EQ(s16(f, at), -20 + ox);
        EXPECT_EQ(s16(f, at + 2), -10 + oy);
        EXPECT_EQ(s16(f, at + 4), 20 + ox);
        EXPECT_EQ(s16(f, at + 6), 30 + oy);
    }
    const float matrix[] = {1, 0, 0, 1, float(-ox), float(-oy)};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(f32(f, 47 + 4 * i), matrix[i]);
    EXPECT_EQ(u16(f, 71), 1);
    EXPECT_EQ(s16(f, 73), -20 - 0 + 1300);
    EXPECT_EQ(s16(f, 75), 30 - 10 + 1800);
    EXPECT_EQ(s16(f, 77), 40);
    EXPECT_EQ(s16(f, 79), 40);
    EXPECT_EQ(text(f, 97, 7), "CSewSeg");
    // Four zero bytes end the section.
    Parsed p = parse(f, 18);
    EXPECT_EQ(p.pec, p.objectsEnd + 4 * 1 + 4);
    EXPECT_EQ(u32(f, p.pec - 4), 0u);

    PESWriteInput small = in;
    small.hoopW = 100;
    small.hoopH = 100;
    EXPECT_EQ(u16(writePES1(small), 12), 0);
}

TEST(PESWriterLayout, Version5HeaderAndThreadList) {
    std::vector<StitchBlock> blocks = {block(62, {st(0, 0)}), block(5, {st(1, 1)})};
    const Bytes f = writePES5(pesWriteInputFor(blocks, 130, 180));
    EXPECT_EQ(text(f, 0, 8), "#PES0050");
    EXPECT_EQ(u16(f, 12), 1);
    EXPECT_EQ(text(f, 14, 2), "01");
    const uint16_t fields[] = {0, 130, 180, 0, 7, 19, 1, 1, 0, 100};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(u16(f, 21 + 2 * i), fields[i]) << "field at " << 21 + 2 * i;
    EXPECT_EQ(f[41], 1);
    const float matrix[] = {1, 0, 0, 1, 0, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(f32(f, 46 + 4 * i), matrix[i]);
    EXPECT_EQ(u16(f, 76), 2);
    // Appliqué material: code "x9", the palette colour, the colour number and the word.
    std::size_t at = 78;
    EXPECT_EQ(f[at], 2);
    EXPECT_EQ(text(f, at + 1, 2), "x9");
    at += 3;
    EXPECT_EQ(f[at], 160);
    EXPECT_EQ(f[at + 1], 160);
    EXPECT_EQ(f[at + 2], 160);
    EXPECT_EQ(f[at + 3], 0);
    EXPECT_EQ(u32(f, at + 4), 10u);
    at += 8;
    EXPECT_EQ(f[at], 2);
    EXPECT_EQ(text(f, at + 1, 2), "62");
    at += 3;
    EXPECT_EQ(f[at], 10);
    EXPECT_EQ(text(f, at + 1, 10), "EMBROIDERY");
    EXPECT_EQ(f[at + 11], 0);
    at += 12;
    // Red: code 800, 237 23 31.
    EXPECT_EQ(text(f, at, 4), std::string("\x03") + "800");
    EXPECT_EQ(f[at + 4], 237);
    EXPECT_EQ(f[at + 5], 23);
    EXPECT_EQ(f[at + 6], 31);
}

TEST(PESWriterLayout, PecBlock) {
    std::vector<StitchBlock> blocks = {block(5, {st(-20, -10), st(20, 30)}),
                                       block(7, {st(0, 300)})};
    const PESWriteInput in = pesWriteInputFor(blocks, 100, 100);
    const Bytes f = writePES1(in);
    const Parsed p = parse(f, 18);
    const std::size_t P = p.pec;
    EXPECT_EQ(text(f, P, 3), "LA:");
    EXPECT_EQ(text(f, P + 3, 16), std::string(16, ' '));
    EXPECT_EQ(f[P + 19], 0x0D);
    EXPECT_EQ(text(f, P + 20, 12), std::string(12, ' '));
    EXPECT_EQ(f[P + 32], 0xFF);
    EXPECT_EQ(f[P + 33], 0x00);
    EXPECT_EQ(f[P + 34], 0x06);
    EXPECT_EQ(f[P + 35], 0x26);
    EXPECT_EQ(text(f, P + 36, 12), std::string(12, ' '));
    EXPECT_EQ(f[P + 48], 1);
    EXPECT_EQ(f[P + 49], 5);
    EXPECT_EQ(f[P + 50], 7);
    EXPECT_EQ(text(f, P + 51, 461), std::string(461, ' '));
    EXPECT_EQ(u16(f, P + 512), 0);
    EXPECT_EQ(f[P + 517], 0x31);
    EXPECT_EQ(f[P + 518], 0xFF);
    EXPECT_EQ(f[P + 519], 0xF0);
    EXPECT_EQ(u16(f, P + 520), 40);
    EXPECT_EQ(u16(f, P + 522), 310);
    EXPECT_EQ(u16(f, P + 524), 480);
    EXPECT_EQ(u16(f, P + 526), 432);
    // Centre (0, 145): 20 from the left edge, 155 from the top, big-endian with 0x90.
    EXPECT_EQ(f[P + 528], 0x90);
    EXPECT_EQ(f[P + 529], 20);
    EXPECT_EQ(f[P + 530], 0x90);
    EXPECT_EQ(f[P + 531], 155);
    // L counts the stream and 20; the stream ends with 0xFF; three thumbnails end the file.
    EXPECT_EQ(p.length, p.stream.size() + 20);
    EXPECT_EQ(p.stream.back(), 0xFF);
    EXPECT_EQ(f.size(), p.graphicsAt + 3 * 228);
    EXPECT_EQ(f[p.graphicsAt], 0x00);  // top row of the first thumbnail
}

TEST(PESWriterLayout, EmptyDesign) {
    const std::vector<StitchBlock> none;
    for (int version : {1, 5}) {
        const Bytes f = writePES(pesWriteInputFor(none, 100, 100), version);
        const std::size_t objects = version == 1 ? 18 : 78 + 2;
        Parsed p = parse(f, objects);
        EXPECT_EQ(p.segmentCount, 0u);
        EXPECT_EQ(p.tableCount, 0);
        EXPECT_EQ(f[p.pec + 48], 0xFF);
        EXPECT_EQ(p.stream, Bytes{0xFF});
        EXPECT_EQ(p.length, 21u);
        const std::size_t trailer = version == 5 ? 128 : 0;
        EXPECT_EQ(f.size(), p.graphicsAt + 228 + trailer);
        if (version == 5) {
            EXPECT_EQ(f[p.graphicsAt + 228], 0xFF);
            EXPECT_EQ(f.back(), 0x20);
        }
    }
    // A layer that never had stitches keeps its bounds at the int32 extremes.
    PESWriteInput stale;
    stale.minX = stale.minY = INT32_MAX;
    stale.maxX = stale.maxY = INT32_MIN;
    stale.centerX = stale.centerY = 12345;
    const Bytes f = writePES1(stale);
    Parsed p = parse(f, 18);
    EXPECT_EQ(u16(f, p.pec + 520), 0);
    EXPECT_EQ(u16(f, p.pec + 522), 0);
}

TEST(PESWriterLayout, ManyColoursKeepTheHeaderInPlace) {
    std::vector<StitchBlock> blocks;
    for (int i = 0; i < 300; ++i)
        blocks.push_back(block(static_cast<uint8_t>(1 + i % 2), {st(i, 0)}));
    const Bytes f = writePES5(pesWriteInputFor(blocks, 100, 100));
    const uint32_t P = u32(f, 8);
    EXPECT_EQ(f[P + 48], 254);
    EXPECT_EQ(f[P + 49 + 254], 1);
    EXPECT_EQ(f[P + 49 + 255], 0x20);
    EXPECT_EQ(u16(f, P + 512), 0);
    EXPECT_EQ(f[P + 517], 0x31);
    const uint32_t L = f[P + 514] | f[P + 515] << 8 | f[P + 516] << 16;
    const std::size_t graphics = P + 512 + L;
    // 300 runs: 301 thumbnails, then a trailer of 127 colours.
    const std::size_t trailer = graphics + 301 * 228;
    EXPECT_EQ(f[trailer], 126);
    EXPECT_EQ(f.size(), trailer + 128 + 127 * (144 + 3));
}

// ---------------------------------------------------------------------------------------------

struct BoxCase {
    int w, h;
    int x0, x1, y0, y1;
};

TEST(PESWriterThumbnail, DesignIsPlacedInTheMiddle) {
    const BoxCase cases[] = {
        {30, 20, 9, 38, 9, 28},     // at scale 1
        {42, 32, 3, 44, 3, 34},     // the largest at scale 1
        {0, 0, 24, 23, 19, 18},     // nothing to scale
        {840, 320, 3, 44, 11, 26},  // width decides: 1/20
        {100, 400, 20, 27, 3, 34},  // height decides: 0.08
    };
    for (const BoxCase& c : cases) {
        const auto box = pes_writer::thumbBox(c.w, c.h);
        EXPECT_EQ(box.x0, c.x0) << c.w << "x" << c.h;
        EXPECT_EQ(box.x1, c.x1) << c.w << "x" << c.h;
        EXPECT_EQ(box.y0, c.y0) << c.w << "x" << c.h;
        EXPECT_EQ(box.y1, c.y1) << c.w << "x" << c.h;
    }
}

bool pixel(const Bytes& image, std::size_t at, int x, int y) {
    return (image.at(at + y * 6 + x / 8) >> (x % 8)) & 1;
}

TEST(PESWriterThumbnail, FrameCornersAndLines) {
    // A 30 x 20 rectangle from a jump in its own run, then a second run of one stitch.
    std::vector<StitchBlock> blocks = {
        block(5, {st(0, 0), st(30, 0), st(30, 20, pec::kJump, 1), st(0, 20)}),
        block(6, {st(15, 10)})};
    const PESWriteInput in = pesWriteInputFor(blocks, 100, 100);
    Bytes images;
    pes_writer::appendThumbnails(in, pes_writer::colorRuns(blocks), images);
    ASSERT_EQ(images.size(), 3u * 228);
    for (std::size_t at : {0u, 228u, 456u}) {
        // The rounded frame.
        for (int x = 0; x < 48; ++x) {
            EXPECT_FALSE(pixel(images, at, x, 0));
            EXPECT_FALSE(pixel(images, at, x, 37));
            EXPECT_EQ(pixel(images, at, x, 1), x >= 4 && x <= 43) << x;
            EXPECT_EQ(pixel(images, at, x, 36), x >= 4 && x <= 43) << x;
        }
        EXPECT_TRUE(pixel(images, at, 3, 2));
        EXPECT_TRUE(pixel(images, at, 44, 35));
        EXPECT_TRUE(pixel(images, at, 2, 3));
        EXPECT_TRUE(pixel(images, at, 45, 34));
        for (int y = 4; y <= 33; ++y) {
            EXPECT_TRUE(pixel(images, at, 1, y));
            EXPECT_TRUE(pixel(images, at, 46, y));
            EXPECT_FALSE(pixel(images, at, 0, y));
            EXPECT_FALSE(pixel(images, at, 47, y));
        }
    }
    // Whole design: top edge, the jump down the right side and the bottom edge are drawn.
    EXPECT_TRUE(pixel(images, 0, 9, 9));
    EXPECT_TRUE(pixel(images, 0, 20, 9));
    EXPECT_TRUE(pixel(images, 0, 38, 18));
    EXPECT_TRUE(pixel(images, 0, 20, 28));
    EXPECT_TRUE(pixel(images, 0, 24, 19));  // the second run's stitch
    EXPECT_FALSE(pixel(images, 0, 9, 18));  // no line closes the rectangle
    // First run: no line toward the jump's end, but the line after it.
    EXPECT_TRUE(pixel(images, 228, 20, 9));
    EXPECT_FALSE(pixel(images, 228, 38, 18));
    EXPECT_TRUE(pixel(images, 228, 38, 28));
    EXPECT_TRUE(pixel(images, 228, 20, 28));
    EXPECT_FALSE(pixel(images, 228, 24, 19));
    // Second run: its one stitch only.
    EXPECT_TRUE(pixel(images, 456, 24, 19));
    EXPECT_FALSE(pixel(images, 456, 20, 9));
}

TEST(PESWriterThumbnail, StaleBoundsStayInsideTheImage) {
    std::vector<StitchBlock> blocks = {block(5, {st(-5000, -5000), st(5000, 5000)})};
    PESWriteInput in;
    in.blocks = &blocks;
    in.maxX = in.maxY = 10;  // far too small
    Bytes images;
    pes_writer::appendThumbnails(in, pes_writer::colorRuns(blocks), images);
    EXPECT_EQ(images.size(), 2u * 228);
}

// ---------------------------------------------------------------------------------------------

std::vector<std::string> rows(const std::array<uint8_t, 144>& image) {
    std::vector<std::string> out;
    for (int y = 0; y < 24; ++y) {
        std::string row;
        for (int x = 0; x < 48; ++x)
            row += ((image[y * 6 + x / 8] >> (x % 8)) & 1) ? '#' : '.';
        out.push_back(row);
    }
    return out;
}

TEST(PESWriterLabels, CodeRowsWordRowsAndEmptyRows) {
    for (int index = 0; index <= 64; ++index) {
        const auto r = rows(pes_writer::labelImage(index));
        for (int y : {0, 1, 11, 12, 13, 14, 22, 23})
            EXPECT_EQ(r[y], std::string(48, '.')) << "index " << index << " row " << y;
        bool code = false, word = false;
        for (int y = 2; y <= 10; ++y)
            code = code || r[y].find('#') != std::string::npos;
        for (int y = 15; y <= 21; ++y)
            word = word || r[y].find('#') != std::string::npos;
        EXPECT_TRUE(code) << index;
        EXPECT_TRUE(word) << index;
        // Nothing at x = 0 and the word stays inside the image.
        for (const auto& row : r)
            EXPECT_EQ(row[0], '.') << index;
    }
    // Different codes give different images; equal codes equal images.
    EXPECT_NE(pes_writer::labelImage(20), pes_writer::labelImage(5));
    EXPECT_EQ(pes_writer::labelImage(6), pes_writer::labelImage(17));  // both 337
    EXPECT_EQ(pes_writer::labelImage(0), pes_writer::labelImage(16));  // both 005
    EXPECT_EQ(pes_writer::labelImage(99), pes_writer::labelImage(0));
}

TEST(PESWriterLabels, AppliqueEntriesShowPatterns) {
    const auto dashed = rows(pes_writer::labelImage(62));
    EXPECT_EQ(dashed[6].substr(0, 21), ".###..###..###..###..");
    for (int y = 2; y <= 10; ++y) {
        if (y != 6) {
            EXPECT_EQ(dashed[y].substr(0, 22), std::string(22, '.'));
        }
    }
    EXPECT_EQ(pes_writer::labelImage(63), pes_writer::labelImage(62));
    const auto zigzag = rows(pes_writer::labelImage(64));
    EXPECT_EQ(zigzag[10][1], '#');
    EXPECT_EQ(zigzag[2][9], '#');
    EXPECT_EQ(zigzag[10][17], '#');
    // The code "900" of Black: three digits at x = 1, 8 and 15.
    const auto black = rows(pes_writer::labelImage(20));
    EXPECT_EQ(black[2].substr(0, 21), "..###....###....###..");
}

TEST(PESWriterLabels, LabelColours) {
    const struct {
        int index;
        uint8_t r, g, b;
    } cases[] = {{3, 0, 135, 119},    {5, 237, 23, 31},    {19, 79, 85, 86},
                 {57, 253, 217, 222}, {64, 255, 200, 200}, {0, 168, 168, 168}};
    for (const auto& c : cases) {
        const Rgba got = pes_writer::labelColor(c.index);
        EXPECT_EQ(got.r, c.r) << c.index;
        EXPECT_EQ(got.g, c.g) << c.index;
        EXPECT_EQ(got.b, c.b) << c.index;
    }
}

TEST(PESWriterLabels, Version5Trailer) {
    std::vector<StitchBlock> blocks = {block(3, {st(0, 0)}), block(62, {st(1, 1)})};
    const Bytes f = writePES5(pesWriteInputFor(blocks, 100, 100));
    const uint32_t P = u32(f, 8);
    const uint32_t L = f[P + 514] | f[P + 515] << 8 | f[P + 516] << 16;
    const std::size_t trailer = P + 512 + L + 3 * 228;
    EXPECT_EQ(f[trailer], 1);
    EXPECT_EQ(f[trailer + 1], 3);
    EXPECT_EQ(f[trailer + 2], 62);
    EXPECT_EQ(text(f, trailer + 3, 125), std::string(125, ' '));
    const auto label3 = pes_writer::labelImage(3);
    const auto label62 = pes_writer::labelImage(62);
    EXPECT_TRUE(std::equal(label3.begin(), label3.end(), f.begin() + trailer + 128));
    EXPECT_TRUE(std::equal(label62.begin(), label62.end(), f.begin() + trailer + 128 + 144));
    const std::size_t colours = trailer + 128 + 288;
    EXPECT_EQ(Bytes(f.begin() + colours, f.end()), (Bytes{0, 135, 119, 255, 200, 100}));
}

}  // namespace
