// The check of what a machine meets: long and short stitches, thread piling up, the hoop, colour
// changes and time, the stream decoder it reads files with, and the reason texts.

#include "formats/SewingCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/PES.h"
#include "formats/PESWriter.h"
#include "formats/TestStitches.h"
#include "formats/ThreadPalette.h"

namespace {

using fixtures::block;
using fixtures::st;

// A satin column 4 mm wide and `steps` steps of 0.4 mm long, going down from (x, y): the kind of
// stitching that must pass the check.
std::vector<Stitch> column(int x, int y, int steps) {
    std::vector<Stitch> out;
    for (int i = 0; i < steps; ++i)
        out.push_back(st(x + (i % 2 ? 40 : 0), y + 4 * i));
    return out;
}

SewingCheckOptions hoop(int w, int h) {
    SewingCheckOptions o;
    o.hoopW = w;
    o.hoopH = h;
    return o;
}

TEST(SewingCheck, ACleanDesignPasses) {
    std::vector<StitchBlock> blocks = {block(5, column(0, 0, 100)), block(20, column(100, 0, 100))};
    blocks[1].stitches.front().type = pec::kJump;
    blocks[1].stitches.front().longForm = 1;
    const SewingReport r = checkSewing(blocks, hoop(100, 100));
    EXPECT_TRUE(r.issues.empty());
    EXPECT_FALSE(r.stopsMachine());
    EXPECT_TRUE(r.hasStitches);
    EXPECT_EQ(r.stitches, 199);
    EXPECT_EQ(r.jumps, 1);
    EXPECT_EQ(r.trims, 0);
    EXPECT_EQ(r.colorChanges, 1);
    EXPECT_EQ(r.colors, (std::vector<uint8_t>{5, 20}));
    EXPECT_EQ(r.minX, 0);
    EXPECT_EQ(r.maxX, 140);
    EXPECT_EQ(r.maxY, 396);
    // 200 records at 600 a minute, one colour change.
    EXPECT_DOUBLE_EQ(r.seconds, 20.0 + 30.0);
}

struct LengthCase {
    const char* what;
    Stitch stitch;
    bool tooLong;
};

// A plain stitch is sewn whatever its form; jumps and trims only move the frame.
TEST(SewingCheck, StitchesLongerThanTheMachineSews) {
    const LengthCase cases[] = {
        {"12.1 mm is the longest sewn", st(121, 0), false},
        {"12.2 mm is too long", st(122, 0), true},
        {"the length counts, not each axis", st(90, 90), true},
        {"a long-form plain stitch is sewn", st(0, 500, pec::kNormal, 1), true},
        {"a jump is not", st(0, 500, pec::kJump, 1), false},
        {"a trim is not", st(0, 500, pec::kTrim, 1), false},
        {"a left-out type is not", st(0, 500, 0x04), false},
    };
    for (const LengthCase& c : cases) {
        const std::vector<StitchBlock> blocks = {block(5, {st(0, 0), c.stitch})};
        const SewingReport r = checkSewing(blocks, SewingCheckOptions());
        const SewingIssue* issue = r.find(SewingIssueKind::LongStitches);
        ASSERT_EQ(issue != nullptr, c.tooLong) << c.what;
        EXPECT_EQ(r.stopsMachine(), c.tooLong) << c.what;
        if (!issue)
            continue;
        EXPECT_EQ(issue->count, 1) << c.what;
        ASSERT_EQ(issue->places.size(), 1u) << c.what;
        EXPECT_EQ(issue->places[0].block, 0u) << c.what;
        EXPECT_EQ(issue->places[0].stitch, 1u) << c.what;
        EXPECT_EQ(issue->places[0].x, c.stitch.x) << c.what;
        EXPECT_NEAR(issue->worst, std::hypot(c.stitch.x, c.stitch.y), 1e-9) << c.what;
    }
}

// A file whose first record is a long plain stitch from the origin makes the machine sew it; the
// same design written by our writer reaches its first stitch by a jump from its centre.
TEST(SewingCheck, TheMoveToTheFirstStitch) {
    const std::vector<StitchBlock> blocks = {block(5, {st(-1302, 48, 0, 1), st(-1299, 49)})};
    const SewingReport asFile = checkSewing(blocks, SewingCheckOptions());
    ASSERT_NE(asFile.find(SewingIssueKind::LongStitches), nullptr);
    EXPECT_NEAR(asFile.find(SewingIssueKind::LongStitches)->worst, std::hypot(1302, 48), 1e-9);
    const SewingReport asWritten = checkSewingAsWritten(blocks, -1300, 48, SewingCheckOptions());
    EXPECT_EQ(asWritten.find(SewingIssueKind::LongStitches), nullptr);
    EXPECT_EQ(asWritten.jumps, 1);
    EXPECT_EQ(asWritten.stitches, 1);
}

TEST(SewingCheck, ShortStitchesThatAreNoLockStitches) {
    // After the jump: four lock stitches of 0.1 mm, a column, one stitch of 0.2 mm in the middle,
    // the column again and four lock stitches at the end. Only the middle one is reported.
    std::vector<Stitch> s = {st(0, 0, pec::kJump, 1), st(1, 0), st(0, 0), st(1, 0), st(0, 0)};
    for (const Stitch& c : column(0, 4, 20))
        s.push_back(c);
    const Stitch last = s.back();
    s.push_back(st(last.x + 2, last.y));
    const std::size_t shortAt = s.size() - 1;
    for (const Stitch& c : column(last.x + 2, last.y + 4, 20))
        s.push_back(c);
    for (int i = 0; i < 4; ++i)
        s.push_back(st(s.back().x + (i % 2 ? -1 : 1), s.back().y));
    const SewingReport r = checkSewing({block(5, s)}, SewingCheckOptions());
    const SewingIssue* issue = r.find(SewingIssueKind::ShortStitches);
    ASSERT_NE(issue, nullptr);
    EXPECT_EQ(issue->count, 1);
    EXPECT_DOUBLE_EQ(issue->worst, 2.0);
    ASSERT_EQ(issue->places.size(), 1u);
    EXPECT_EQ(issue->places[0].stitch, shortAt);
    EXPECT_FALSE(issue->stopsMachine);
    EXPECT_FALSE(r.stopsMachine());

    // A jump, a trim or a colour change starts a new stretch with its own lock stitches.
    std::vector<Stitch> two = column(0, 0, 20);
    two.push_back(st(300, 0, pec::kTrim, 1));
    two.push_back(st(301, 0));
    two.push_back(st(300, 0));
    for (const Stitch& c : column(300, 4, 20))
        two.push_back(c);
    std::vector<StitchBlock> blocks = {block(5, two), block(6, {st(302, 80), st(303, 80)})};
    for (const Stitch& c : column(303, 84, 20))
        blocks[1].stitches.push_back(c);
    EXPECT_EQ(checkSewing(blocks, SewingCheckOptions()).find(SewingIssueKind::ShortStitches),
              nullptr);
}

// Thread laid again and again over one spot: 30 passes of 0.6 mm inside one 1 mm cell are
// 30 * 6 * 4 / 100 = 7.2 layers of thread.
TEST(SewingCheck, ThreadPilingUp) {
    SewingCheckOptions o;
    o.originX = 2;
    o.originY = 5;
    std::vector<Stitch> spot;
    for (int i = 0; i <= 30; ++i)
        spot.push_back(st(i % 2 ? 8 : 2, 5));
    SewingReport r = checkSewing({block(5, spot)}, o);
    const SewingIssue* issue = r.find(SewingIssueKind::PileUps);
    ASSERT_NE(issue, nullptr);
    EXPECT_EQ(issue->count, 1);
    EXPECT_NEAR(issue->worst, 7.2, 1e-4);
    ASSERT_EQ(issue->places.size(), 1u);
    EXPECT_EQ(issue->places[0].x, 5);
    EXPECT_EQ(issue->places[0].y, 5);
    EXPECT_EQ(issue->places[0].stitch, 1u);  // the first stitch laying thread there
    EXPECT_FALSE(r.stopsMachine());

    // 25 passes are 6 layers: not more than 6.
    spot.resize(26);
    EXPECT_EQ(checkSewing({block(5, spot)}, o).find(SewingIssueKind::PileUps), nullptr);

    // Two spots apart are two places. Thread across a cell border is shared between the cells:
    // 16 passes of 1.2 mm over the border at x = 10 would be 7.7 layers in one cell, and are
    // 3.8 on each side.
    std::vector<Stitch> two;
    for (int i = 0; i <= 30; ++i)
        two.push_back(st(i % 2 ? 8 : 2, 5));
    two.push_back(st(500, 5, pec::kJump, 1));
    for (int i = 0; i <= 40; ++i)
        two.push_back(st(i % 2 ? 505 : 498, 5));
    std::vector<Stitch> border = {st(4, 25, pec::kJump, 1)};
    for (int i = 1; i <= 16; ++i)
        border.push_back(st(i % 2 ? 16 : 4, 25));
    r = checkSewing({block(5, two), block(6, border)}, o);
    issue = r.find(SewingIssueKind::PileUps);
    ASSERT_NE(issue, nullptr);
    EXPECT_EQ(issue->count, 2);
    ASSERT_EQ(issue->places.size(), 2u);
    EXPECT_GT(issue->places[0].value, issue->places[1].value);  // worst first
    EXPECT_EQ(issue->places[0].x, 505);
}

// Satin columns of normal density stay well below a pile-up, also where two of them cross.
TEST(SewingCheck, SatinColumnsDoNotPileUp) {
    std::vector<Stitch> across = {st(0, 100, pec::kJump, 1)};
    for (int i = 1; i < 100; ++i)
        across.push_back(st(4 * i, 100 + (i % 2 ? 40 : 0)));
    const std::vector<StitchBlock> blocks = {block(5, column(150, 0, 100)), block(6, across)};
    SewingCheckOptions o;
    o.originX = 150;
    const SewingReport r = checkSewing(blocks, o);
    EXPECT_TRUE(r.issues.empty());
    EXPECT_EQ(r.stitches, 199);
}

TEST(SewingCheck, SizeAgainstTheHoop) {
    // 100 mm wide and 50 mm high, jumps included in the size.
    const std::vector<StitchBlock> blocks = {
        block(5, {st(-500, 0, pec::kJump, 1), st(-495, 0), st(500, 0, pec::kJump, 1),
                  st(500, 500, pec::kJump, 1), st(500, 495)})};
    struct Case {
        int w, h;
        bool tooLarge;
    } cases[] = {{100, 50, false}, {99, 50, true}, {100, 49, true}, {0, 0, false}, {0, 10, false}};
    for (const Case& c : cases) {
        const SewingReport r = checkSewing(blocks, hoop(c.w, c.h));
        const SewingIssue* issue = r.find(SewingIssueKind::TooLarge);
        EXPECT_EQ(issue != nullptr, c.tooLarge) << c.w << "x" << c.h;
        EXPECT_EQ(r.stopsMachine(), c.tooLarge) << c.w << "x" << c.h;
        EXPECT_EQ(r.issues.size(), c.tooLarge ? 1u : 0u) << c.w << "x" << c.h;
    }
    EXPECT_EQ(checkSewing(blocks, hoop(99, 50)).width(), 1000);
}

TEST(SewingCheck, TimeColoursAndTrims) {
    std::vector<Stitch> s = column(0, 0, 300);
    s.push_back(st(0, 0, pec::kTrim, 1));
    s.push_back(st(0, 1, pec::kTrim, 1));  // one trim over two records
    s.push_back(st(5, 5, pec::kJump, 1));
    const std::vector<StitchBlock> blocks = {block(5, s), block(5, column(0, 0, 96)),
                                             block(7, column(0, 0, 100)),
                                             block(5, column(0, 0, 100))};
    SewingCheckOptions o;
    o.stitchesPerMinute = 300;
    const SewingReport r = checkSewing(blocks, o);
    EXPECT_EQ(r.colorChanges, 2);  // blocks of one colour next to each other are one thread
    EXPECT_EQ(r.colors, (std::vector<uint8_t>{5, 7, 5}));
    EXPECT_EQ(r.trims, 1);
    EXPECT_EQ(r.jumps, 1);
    EXPECT_EQ(r.stitches, 596);
    // 599 records at 300 a minute, two colour changes, one trim.
    EXPECT_DOUBLE_EQ(r.seconds, 599 * 0.2 + 2 * 30.0 + 6.0);
    const SewingReport none = checkSewing({}, o);
    EXPECT_FALSE(none.hasStitches);
    EXPECT_EQ(none.colorChanges, 0);
    EXPECT_DOUBLE_EQ(none.seconds, 0.0);
    EXPECT_TRUE(none.issues.empty());
}

TEST(SewingCheck, StreamAsTheMachineMeetsIt) {
    // Short (5, -2); colour change; long plain (100, 0); colour change to the same colour; jump
    // (0, 3); closing zero move; end.
    const std::vector<uint8_t> d = {0x05, 0x7E, 0xFE, 0xB0, 0x02, 0x80, 0x64, 0x80,
                                    0x00, 0xFE, 0xB0, 0x01, 0x90, 0x00, 0x90, 0x03,
                                    0x80, 0x00, 0x80, 0x00, 0xFF, 0x00};
    const auto blocks = sewingBlocksOfStream(d.data(), d.size(), {5, 9, 9});
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[1].colorIndex, 9);
    EXPECT_EQ(blocks[2].colorIndex, 9);
    ASSERT_EQ(blocks[1].stitches.size(), 1u);
    EXPECT_EQ(blocks[1].stitches[0].x, 105);
    EXPECT_EQ(blocks[1].stitches[0].longForm, 1);
    EXPECT_EQ(blocks[1].stitches[0].type, pec::kNormal);
    ASSERT_EQ(blocks[2].stitches.size(), 1u);  // the closing move is left out
    EXPECT_EQ(blocks[2].stitches[0].type, pec::kJump);
    EXPECT_EQ(blocks[2].stitches[0].y, 1);
    // Every prefix stops inside the bytes; colours beyond the list are the fall-back 0.
    for (std::size_t n = 0; n <= d.size(); ++n)
        sewingBlocksOfStream(d.data(), n, {});
    EXPECT_EQ(sewingBlocksOfStream(d.data(), d.size(), {}).back().colorIndex, 0);
    EXPECT_EQ(sewingBlocksOfStream(nullptr, 10, {5}).size(), 1u);
}

// A design written by our writer and checked as a file meets the same as the check of the
// design before writing.
TEST(SewingCheck, AWrittenFileMeetsWhatTheCheckSaidBeforeWriting) {
    std::vector<Stitch> first = {st(-400, 100, 0, 1)};
    for (const Stitch& c : column(-400, 100, 50))
        first.push_back(c);
    first.push_back(st(-400, 500, 0, 1));  // a long plain stitch inside the block: sewn
    const std::vector<StitchBlock> blocks = {block(5, first),
                                             block(6, {st(300, -200, 0, 1), st(300, -195)})};
    const PESWriteInput in = pesWriteInputFor(blocks, 100, 100);
    const SewingReport before =
        checkSewingAsWritten(blocks, in.centerX, in.centerY, SewingCheckOptions());
    PES reader;
    ASSERT_TRUE(reader.loadBuffer(0, writePES5(in)));
    const SewingReport after =
        checkSewing(sewingBlocksOfStream(reader.stitchData().data(), reader.stitchData().size(),
                                         reader.colorIndexes()),
                    SewingCheckOptions());
    EXPECT_EQ(after.stitches, before.stitches);
    EXPECT_EQ(after.jumps, before.jumps);
    EXPECT_EQ(after.colorChanges, before.colorChanges);
    EXPECT_EQ(after.width(), before.width());
    ASSERT_EQ(after.issues.size(), before.issues.size());
    ASSERT_NE(before.find(SewingIssueKind::LongStitches), nullptr);
    EXPECT_EQ(after.find(SewingIssueKind::LongStitches)->count, 1);
    EXPECT_EQ(before.find(SewingIssueKind::LongStitches)->count, 1);
}

TEST(SewingCheck, ReasonTexts) {
    std::vector<Stitch> s = {st(0, 0), st(130, 0), st(0, 0), st(130, 150)};
    const SewingReport r = checkSewing({block(5, s)}, hoop(10, 10));
    ASSERT_EQ(r.issues.size(), 2u);
    EXPECT_EQ(sewingReasonText(r.issues[0], r),
              "The design is 13.0 x 15.0 mm, larger than the 10 x 10 mm hoop.");
    EXPECT_EQ(sewingReasonText(r.issues[1], r),
              "Stitches longer than 12.1 mm: 3 (the longest is 19.8 mm).");
    SewingIssue shortOnes;
    shortOnes.kind = SewingIssueKind::ShortStitches;
    shortOnes.count = 7;
    EXPECT_EQ(sewingReasonText(shortOnes, r), "Stitches shorter than 0.3 mm: 7.");
    SewingIssue piles;
    piles.kind = SewingIssueKind::PileUps;
    piles.count = 2;
    EXPECT_EQ(sewingReasonText(piles, r), "Places where more than 6 layers of thread pile up: 2.");

    // A translation is used when it keeps the conversions, never when it does not.
    auto thai = [](const std::string& key) {
        return key == sewingReasonKey(SewingIssueKind::PileUps)
                   ? std::string("จุดที่ด้ายซ้อนกันเกิน %i ชั้น: %i จุด")
                   : std::string("%s %n");
    };
    EXPECT_EQ(sewingReasonText(piles, r, thai), "จุดที่ด้ายซ้อนกันเกิน 6 ชั้น: 2 จุด");
    EXPECT_EQ(sewingReasonText(shortOnes, r, thai), "Stitches shorter than 0.3 mm: 7.");
}

// The reason keys are keys of every shipped translation table.
TEST(SewingCheck, ReasonKeysAreTranslated) {
    for (const char* language : {"en", "th", "jp"}) {
        std::ifstream in(std::string(MES_SOURCE_DIR) + "/data/" + language +
                         "/Localizable.strings");
        const std::string table((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        ASSERT_FALSE(table.empty()) << language;
        for (SewingIssueKind kind : {SewingIssueKind::TooLarge, SewingIssueKind::LongStitches,
                                     SewingIssueKind::ShortStitches, SewingIssueKind::PileUps}) {
            const std::string entry = "\n\"" + std::string(sewingReasonKey(kind)) + "\" = \"";
            EXPECT_NE(table.find(entry), std::string::npos) << language << ": " << entry;
        }
    }
}

// Every design of the corpus, as its file is, and as our writer would write it.
TEST(SewingCheck, CorpusDesigns) {
    namespace fs = std::filesystem;
    const fs::path dir(MES_CORPUS_DIR);
    if (!fs::is_directory(dir))
        GTEST_SKIP() << "no corpus at " << dir;
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        std::ifstream in(entry.path().string(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
        PES reader;
        if (!reader.loadFileContents(bytes) || !reader.hasSections())
            continue;
        const std::vector<uint8_t>& d = reader.stitchData();
        const auto blocks = sewingBlocksOfStream(d.data(), d.size(), reader.colorIndexes());
        const SewingReport asFile = checkSewing(blocks, hoop(100, 100));
        const PESWriteInput w = pesWriteInputFor(blocks, 100, 100);
        const SewingReport asWritten =
            checkSewingAsWritten(blocks, w.centerX, w.centerY, hoop(100, 100));
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(asFile.width(), asWritten.width()) << name;
        EXPECT_LE(asWritten.stitches, asFile.stitches) << name;
        for (const SewingReport* r : {&asFile, &asWritten}) {
            for (const SewingIssue& issue : r->issues) {
                EXPECT_GT(issue.count, 0) << name;
                EXPECT_LE(issue.places.size(), SewingIssue::kMaxPlaces) << name;
                EXPECT_FALSE(sewingReasonText(issue, *r).empty()) << name;
            }
        }
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

}  // namespace
