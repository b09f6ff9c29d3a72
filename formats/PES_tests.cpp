// Tests of the PES reader: the stitch encoding, header and sections, end normalisation, the bounds
// pass and the stitch edits of text composition.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formats/PES.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Byte by byte: g++ 12 warns falsely about vector::insert of short ranges at -O3.
void append(Bytes& f, const Bytes& x) {
    for (uint8_t b : x)
        f.push_back(b);
}

// A minimal PES file in the reader's view: stitch bytes (ending 0xFF 0x00) at P + 532 and
// L = their length + 19, followed by a few graphics bytes.
Bytes makePES(const Bytes& stitches, const Bytes& colors = {5}, const char* version = "0001",
              std::size_t objects = 8, uint16_t width = 120, uint16_t height = 80) {
    Bytes f = {'#', 'P', 'E', 'S'};
    for (int i = 0; i < 4; ++i)
        f.push_back(uint8_t(version[i]));
    const uint32_t P = uint32_t(12 + objects);
    for (int i = 0; i < 4; ++i)
        f.push_back(uint8_t(P >> (8 * i)));
    f.resize(P, 0xAA);
    Bytes pec(532, 0x20);
    pec[48] = uint8_t(colors.size() - 1);
    for (std::size_t i = 0; i < colors.size(); ++i)
        pec[49 + i] = colors[i];
    const uint32_t L = uint32_t(stitches.size() + 19);
    pec[514] = uint8_t(L);
    pec[515] = uint8_t(L >> 8);
    pec[516] = uint8_t(L >> 16);
    pec[520] = uint8_t(width);
    pec[521] = uint8_t(width >> 8);
    pec[522] = uint8_t(height);
    pec[523] = uint8_t(height >> 8);
    append(f, pec);
    append(f, stitches);
    append(f, {0x00, 0x11, 0x22, 0x33});
    return f;
}

uint32_t fieldL(const PES& p) {
    const Bytes& h = p.pecHeader();
    return uint32_t(h[514]) | uint32_t(h[515]) << 8 | uint32_t(h[516]) << 16;
}

// The invariants every edit keeps.
void expectConsistent(const PES& p) {
    EXPECT_EQ(fieldL(p), p.stitchData().size() + 19);
    EXPECT_EQ(p.graphicsOffset(), p.pecOffset() + 513 + int(fieldL(p)));
    EXPECT_EQ(std::size_t(p.fileSize()), p.pesSection().size() + p.pecHeader().size() +
                                             p.stitchData().size() + p.graphics().size());
}

PES load(const Bytes& f, FormatLog* log = nullptr) {
    PES p;
    p.loadBuffer(0, f, log);
    return p;
}

bool logged(const FormatLog& log, const std::string& text) {
    for (const auto& l : log.lines) {
        if (l.text == text)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// The stitch encoding

struct RecordCase {
    const char* name;
    Bytes bytes;
    pec::RecordKind kind;
    int dx, dy;
    bool xLong, yLong;
    uint8_t type;
    std::size_t next;
};

TEST(PecEncoding, RecordsDecodeByFormAndFlag) {
    using K = pec::RecordKind;
    const RecordCase cases[] = {
        {"short zero and max", {0x00, 0x3F}, K::Stitch, 0, 63, false, false, 0, 2},
        {"short min and -1", {0x40, 0x7F}, K::Stitch, -64, -1, false, false, 0, 2},
        {"long -1 and 2047", {0x8F, 0xFF, 0x87, 0xFF}, K::Stitch, -1, 2047, true, true, 0, 4},
        {"long -2048", {0x88, 0x00, 0x00}, K::Stitch, -2048, 0, true, false, 0, 3},
        {"FF 05 is a long dx", {0xFF, 0x05, 0x01}, K::Stitch, -251, 1, true, false, 1, 3},
        {"FE 20 is a long dx", {0xFE, 0x20, 0x02}, K::Stitch, -480, 2, true, false, 1, 3},
        {"trim flag on dx", {0xA0, 0x05, 0x05}, K::Stitch, 5, 5, true, false, 2, 3},
        {"jump flag on dy", {0x05, 0x90, 0x01}, K::Stitch, 5, 1, false, true, 1, 3},
        {"dy jump replaces dx trim", {0xA0, 0x01, 0x90, 0x01}, K::Stitch, 1, 1, true, true, 1, 4},
        {"dy trim replaces dx jump", {0x90, 0x01, 0xA0, 0x01}, K::Stitch, 1, 1, true, true, 2, 4},
        {"plain long dy keeps dx jump",
         {0x90, 0x01, 0x80, 0x01},
         K::Stitch,
         1,
         1,
         true,
         true,
         1,
         4},
        {"0x40 flag means nothing", {0xC0, 0x01, 0x05}, K::Stitch, 1, 5, true, false, 0, 3},
        {"end marker", {0xFF, 0x00}, K::End, 0, 0, false, false, 0, 2},
        {"colour change", {0xFE, 0xB0, 0x07}, K::ColorChange, 0, 0, false, false, 0, 3},
        {"lone FF", {0xFF}, K::Truncated, 0, 0, false, false, 0, 0},
        {"long dx cut", {0x85}, K::Truncated, 0, 0, false, false, 0, 0},
        {"dy missing", {0x05}, K::Truncated, 0, 0, false, false, 0, 0},
        {"long dy cut", {0x05, 0x85}, K::Truncated, 0, 0, false, false, 0, 0},
        {"empty", {}, K::Truncated, 0, 0, false, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const pec::Record r = pec::readRecord(c.bytes.data(), c.bytes.size(), 0);
        EXPECT_EQ(r.kind, c.kind);
        if (c.kind == K::Truncated)
            continue;
        EXPECT_EQ(r.next, c.next);
        if (c.kind != K::Stitch)
            continue;
        EXPECT_EQ(r.dx, c.dx);
        EXPECT_EQ(r.dy, c.dy);
        EXPECT_EQ(r.xLong, c.xLong);
        EXPECT_EQ(r.yLong, c.yLong);
        EXPECT_EQ(pec::recordType(r), c.type);
    }
}

TEST(PecEncoding, EncodersRoundTripEveryValue) {
    for (int v = pec::kLongMin; v <= pec::kLongMax; ++v) {
        uint8_t h, l;
        pec::longBytes(v, pec::kLongJumpNibble, h, l);
        ASSERT_EQ(h & 0xF0, 0x90);
        ASSERT_EQ(pec::longValue(h, l), v);
    }
    for (int v = pec::kShortMin; v <= pec::kShortMax; ++v) {
        ASSERT_EQ(pec::shortValue(pec::shortByte(v)), v);
        ASSERT_FALSE(pec::isLong(pec::shortByte(v)));
    }
}

// ---------------------------------------------------------------------------------------------
// Header and sections

TEST(PESReader, ReadsFieldsAndSections) {
    const Bytes stitches = {0x0A, 0x0A, 0xFE, 0xB0, 0x01, 0x05, 0x05,
                            0x80, 0x00, 0x80, 0x00, 0xFF, 0x00};
    const Bytes f = makePES(stitches, {5, 7}, "0050", 20, 300, 200);
    FormatLog log;
    PES p = load(f, &log);
    ASSERT_TRUE(p.hasSections());
    EXPECT_EQ(p.version(), 50);
    EXPECT_EQ(p.pecOffset(), 32);
    EXPECT_EQ(p.pesSection().size(), 32u);
    EXPECT_EQ(p.pecHeader().size(), 532u);
    EXPECT_EQ(p.stitchStart(), 32 + 532);
    EXPECT_EQ(p.stitchData(), stitches);  // ended long/long: unchanged
    EXPECT_EQ(p.graphics(), (Bytes{0x00, 0x11, 0x22, 0x33}));
    EXPECT_EQ(p.colorCount(), 2);
    EXPECT_EQ(p.colorIndexes(), (std::vector<uint32_t>{5, 7}));
    EXPECT_EQ(p.width(), 300);
    EXPECT_EQ(p.height(), 200);
    EXPECT_EQ(p.fileSize(), int(f.size()));
    EXPECT_EQ(p.data(), f);
    EXPECT_TRUE(p.lineListPending());
    EXPECT_FALSE(log.hasError());
    EXPECT_TRUE(logged(log, "Version: 50 (0050)"));
    expectConsistent(p);
}

TEST(PESReader, ShortLastStitchGainsALongZeroMove) {
    const Bytes f = makePES({0x0A, 0x0A, 0x05, 0x7E, 0xFF, 0x00});
    PES p = load(f);
    ASSERT_TRUE(p.hasSections());
    EXPECT_EQ(p.stitchData(), (Bytes{0x0A, 0x0A, 0x05, 0x7E, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(p.fileSize(), int(f.size()) + 4);
    EXPECT_EQ(p.graphicsOffset(), 20 + 513 + 6 + 19 + 4);
    expectConsistent(p);
}

TEST(PESReader, HalfLongLastStitchIsNormalisedToo) {
    PES p = load(makePES({0x85, 0x00, 0x05, 0xFF, 0x00}));
    EXPECT_EQ(p.stitchData().size(), 9u);
    EXPECT_EQ(p.stitchData()[3], 0x80);
    expectConsistent(p);
}

TEST(PESReader, RejectsBadBuffersWithoutSections) {
    struct Case {
        const char* name;
        Bytes bytes;
        const char* error;  // nullptr: no error line expected
        bool header;
    };
    Bytes badMagic = makePES({0xFF, 0x00});
    badMagic[3] = 'X';
    Bytes pecBeyondEnd = makePES({0xFF, 0x00});
    pecBeyondEnd[8] = 0xFF;
    pecBeyondEnd[9] = 0xFF;
    Bytes lTooSmall = makePES({0xFF, 0x00});
    lTooSmall[20 + 514] = 13;  // the graphics would start inside the PEC header
    Bytes lTooLarge = makePES({0xFF, 0x00});
    lTooLarge[20 + 516] = 0x10;
    const Case cases[] = {
        {"empty", {}, nullptr, false},
        {"three bytes", {'#', 'P', 'E'}, "PES Header ERROR", false},
        {"bad magic", badMagic, "PES Header ERROR", false},
        {"PEC magic of another version",
         {'#', 'P', 'E', 'C', '0', '0', '0', '2'},
         "PES Header ERROR",
         false},
        {"PEC file cut after its magic",
         {'#', 'P', 'E', 'C', '0', '0', '0', '1'},
         "Load PES ERROR",
         true},
        {"header only", {'#', 'P', 'E', 'S', '0', '0', '0', '1'}, "Load PES ERROR", true},
        {"PEC offset beyond end", pecBeyondEnd, "Load PES ERROR", true},
        {"graphics before stitches", lTooSmall, "Load PES ERROR", true},
        {"graphics beyond end", lTooLarge, "Load PES ERROR", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormatLog log;
        PES p;
        EXPECT_FALSE(p.loadBuffer(0, c.bytes, &log));
        EXPECT_FALSE(p.hasSections());
        EXPECT_EQ(p.headerOk(), c.header);
        EXPECT_EQ(p.data(), c.bytes);
        EXPECT_TRUE(p.stitchData().empty());
        EXPECT_TRUE(p.pecHeader().empty());
        if (c.error) {
            EXPECT_TRUE(logged(log, c.error));
        } else {
            EXPECT_TRUE(log.lines.empty());
        }
    }
}

TEST(PESReader, EveryPrefixOfAFileLoadsSafely) {
    const Bytes f = makePES({0x0A, 0x0A, 0xFE, 0xB0, 0x00, 0x85, 0x00, 0x05, 0xFF, 0x00}, {1, 2});
    for (std::size_t n = 0; n <= f.size(); ++n) {
        PES p;
        p.loadBuffer(0, f.data(), n);
        p.createLineList();
        if (p.hasSections())
            expectConsistent(p);
    }
}

TEST(PESReader, StitchDataWithoutEndMarkerIsKeptAndLogged) {
    Bytes f = makePES({0x0A, 0x0A, 0x05, 0x05});
    FormatLog log;
    PES p = load(f, &log);
    ASSERT_TRUE(p.hasSections());
    EXPECT_TRUE(logged(log, "EROR ERROR ERROR"));
    EXPECT_EQ(p.stitchData(), (Bytes{0x0A, 0x0A, 0x05, 0x05}));
    p.createLineList();
    EXPECT_EQ(p.bounds().maxX, 15.0f);
}

// ---------------------------------------------------------------------------------------------
// Bounds

TEST(PESReader, BoundsCoverEveryPositionButNotTheOrigin) {
    // First stitch at (-30, 5) holds the smallest x; a jump reaches (40, 90).
    PES p = load(makePES({0x80 | 0x0F, 0xE2, 0x05, 0xFE, 0xB0, 0x00, 0x90, 0x46, 0x90, 0x55, 0x7F,
                          0x7F, 0xFF, 0x00}));
    ASSERT_TRUE(p.createLineList());
    EXPECT_FALSE(p.lineListPending());
    EXPECT_EQ(p.bounds().minX, -30.0f);
    EXPECT_EQ(p.bounds().minY, 5.0f);
    EXPECT_EQ(p.bounds().maxX, 40.0f);
    EXPECT_EQ(p.bounds().maxY, 90.0f);
}

TEST(PESReader, EndMarkerOnlyLeavesInitialBounds) {
    // The bare marker is followed by a stray byte, so the end is not normalised and the decode
    // meets the marker before any move.
    FormatLog log;
    PES p = load(makePES({0xFF, 0x00, 0x05}), &log);
    p.createLineList(&log);
    EXPECT_EQ(p.bounds().minX, 2147483648.0f);
    EXPECT_EQ(p.bounds().minY, 2147483648.0f);
    EXPECT_EQ(p.bounds().maxX, -2147483648.0f);
    EXPECT_EQ(p.bounds().maxY, -2147483648.0f);
    EXPECT_TRUE(logged(log, "ERROR ERROR 0002 022B 0228 (0003)"));
}

TEST(PESReader, NormalisedEmptyDesignReturnsToTheOrigin) {
    PES p = load(makePES({0xFF, 0x00}));
    EXPECT_EQ(p.stitchData(), (Bytes{0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}));
    p.createLineList();
    EXPECT_EQ(p.bounds().minX, 0.0f);
    EXPECT_EQ(p.bounds().maxY, 0.0f);
}

TEST(PESReader, CreateLineListRunsOnlyWhilePending) {
    PES p = load(makePES({0x0A, 0x0A, 0xFF, 0x00}));
    p.createLineList();
    p.setBounds({1, 2, 3, 4});
    p.createLineList();
    EXPECT_EQ(p.bounds().maxY, 4.0f);
    p.setLineListPending(true);
    p.createLineList();
    EXPECT_EQ(p.bounds().maxY, 10.0f);
}

// ---------------------------------------------------------------------------------------------
// Stitch edits

TEST(PESEdits, PromoteFirstStitch) {
    PES p = load(makePES({0x05, 0x7E, 0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}));
    const int before = p.graphicsOffset();
    p.promoteFirstStitch();
    EXPECT_EQ(p.stitchData(), (Bytes{0x80, 0x05, 0x8F, 0xFE, 0x00, 0x00, 0x0A, 0x0A, 0x80, 0x00,
                                     0x80, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(p.graphicsOffset(), before + 4);
    expectConsistent(p);
}

TEST(PESEdits, PromoteKeepsTheFormsOfALongFirstValue) {
    PES p = load(makePES({0x93, 0x00, 0x05, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}));
    p.promoteFirstStitch();
    EXPECT_EQ(p.stitchData(), (Bytes{0x83, 0x00, 0x80, 0x05, 0x80, 0x00, 0x00, 0x80, 0x00, 0x80,
                                     0x00, 0xFF, 0x00}));
    expectConsistent(p);
}

struct MoveCase {
    const char* name;
    Bytes stitches;
    int dx, dy;
    Bytes expected;
};

TEST(PESEdits, TranslateFirstStitch) {
    const MoveCase cases[] = {
        {"short first is promoted, then moved",
         {0x05, 0x7E, 0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00},
         10,
         -3,
         {0x80, 0x0F, 0x8F, 0xFB, 0x00, 0x00, 0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}},
        {"flags of a long/long first are cleared",
         {0x90, 0x05, 0xA0, 0x02, 0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00},
         1,
         1,
         {0x80, 0x06, 0x80, 0x03, 0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}},
        {"a move beyond 2047 becomes two records",
         {0x80, 0x00, 0x80, 0x00, 0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00},
         3000,
         -10,
         {0x87, 0xFF, 0x8F, 0xF6, 0x83, 0xB9, 0x80, 0x00, 0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF,
          0x00}},
        {"data without a first stitch gets a move in front",
         {0xFE, 0xB0, 0x00, 0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00},
         4,
         2,
         {0x80, 0x04, 0x80, 0x02, 0xFE, 0xB0, 0x00, 0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF,
          0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PES p = load(makePES(c.stitches));
        p.createLineList();
        const PESBounds b0 = p.bounds();
        p.translateFirstStitch(c.dx, c.dy);
        EXPECT_EQ(p.stitchData(), c.expected);
        expectConsistent(p);
        // The whole design moves.
        p.setLineListPending(true);
        p.createLineList();
        EXPECT_EQ(p.bounds().maxX, b0.maxX + float(c.dx));
        EXPECT_EQ(p.bounds().maxY, b0.maxY + float(c.dy));
    }
}

TEST(PESEdits, TranslateLastStitch) {
    PES p = load(makePES({0x0A, 0x0A, 0x05, 0x05, 0xFF, 0x00}));
    p.translateLastStitch(5, -7);
    EXPECT_EQ(p.stitchData(), (Bytes{0x0A, 0x0A, 0x05, 0x05, 0x80, 0x05, 0x8F, 0xF9, 0xFF, 0x00}));
    expectConsistent(p);
    p.translateLastStitch(-5000, 0);  // too far for one record: split, nothing wraps
    p.createLineList();
    EXPECT_EQ(p.bounds().minX, 15.0f - 4995.0f);
    expectConsistent(p);
}

TEST(PESEdits, TranslateLastStitchRefusesDataWithoutLongEnd) {
    PES p = load(makePES({0x0A, 0x0A, 0x05, 0x05}));  // no end marker: not normalised
    const Bytes before = p.stitchData();
    FormatLog log;
    p.translateLastStitch(1, 1, &log);
    EXPECT_EQ(p.stitchData(), before);
    EXPECT_TRUE(logged(log, "ERROR"));
}

struct AppendCase {
    const char* name;
    Bytes other;
    float dx;
    Bytes expected;
};

TEST(PESEdits, AppendPES) {
    // This reader ends with the long/long move (+3, -2).
    const Bytes mine = {0x0A, 0x0A, 0x80, 0x03, 0x8F, 0xFE, 0xFF, 0x00};
    const AppendCase cases[] = {
        {"long first stitch takes the gap, jump nibble",
         {0x80, 0x10, 0x80, 0x05, 0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00},
         100.7f,
         {0x0A, 0x0A, 0x90, 0x77, 0x90, 0x03, 0x0A, 0x0A, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}},
        {"short first stitch stays short",
         {0x05, 0x05, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00},
         0.5f,
         {0x0A, 0x0A, 0x08, 0x03, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}},
        {"negative gap truncates toward zero",
         {0x05, 0x05, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00},
         -5.9f,
         {0x0A, 0x0A, 0x03, 0x03, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}},
        {"a short value that no longer fits becomes a long jump",
         {0x05, 0x05, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00},
         100.0f,
         {0x0A, 0x0A, 0x90, 0x6C, 0x90, 0x03, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PES p = load(makePES(mine));
        PES glyph = load(makePES(c.other));
        p.appendPES(glyph, c.dx);
        EXPECT_EQ(p.stitchData(), c.expected);
        expectConsistent(p);
    }
}

TEST(PESEdits, AppendKeepsTheJoinedPathWhenTheOtherStartsWithAColourChange) {
    PES p = load(makePES({0x0A, 0x0A, 0x80, 0x03, 0x8F, 0xFE, 0xFF, 0x00}));
    PES glyph = load(makePES({0xFE, 0xB0, 0x00, 0x05, 0x05, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00}));
    p.appendPES(glyph, 10.0f);
    p.createLineList();
    EXPECT_EQ(p.bounds().maxX, 10.0f + 13.0f + 5.0f);
    EXPECT_EQ(p.bounds().maxY, 10.0f - 2.0f + 5.0f);
    expectConsistent(p);
}

TEST(PESEdits, AppendDoesNothingWithoutEndMarker) {
    PES p = load(makePES({0x0A, 0x0A, 0x05, 0x05}));
    PES glyph = load(makePES({0x05, 0x05, 0xFF, 0x00}));
    const Bytes before = p.stitchData();
    p.appendPES(glyph, 1.0f);
    EXPECT_EQ(p.stitchData(), before);
}

TEST(PESEdits, EditsOnAnEmptyReaderChangeNothing) {
    PES p;
    PES glyph = load(makePES({0x05, 0x05, 0xFF, 0x00}));
    p.promoteFirstStitch();
    p.translateFirstStitch(3, 3);
    p.translateLastStitch(3, 3);
    p.appendPES(glyph, 1.0f);
    EXPECT_TRUE(p.stitchData().empty());
    EXPECT_TRUE(p.pecHeader().empty());
}

}  // namespace
