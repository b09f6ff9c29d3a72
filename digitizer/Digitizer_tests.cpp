// The digitizer on shapes whose stitching is known: bars, rings, separate parts, wide blocks.

#include <gtest/gtest.h>

#include <cmath>

#include "digitizer/Digitizer.h"
#include "digitizer/DigitizerTestShapes.h"
#include "digitizer/GlyphRecord.h"
#include "digitizer/Patch.h"
#include "digitizer/Quality.h"

using namespace digitizer;

using namespace digitizer_test;

TEST(Digitizer, BarBecomesOneSatinColumnOfTheBarsWidth) {
    // 12 mm long, 2 mm high.
    std::vector<Ring> bar{rect(0, 0, 120, 20)};
    std::vector<Needle> path = digitize(bar);
    ASSERT_GT(path.size(), 20u);
    EXPECT_EQ(count(path, Kind::Jump), 0);
    EXPECT_EQ(count(path, Kind::Trim), 0);
    // Ribs across the column: vertical, the bar's width, spread along its whole length.
    int across = 0;
    double minX = 1e9, maxX = -1e9;
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i].kind != Kind::Satin || path[i - 1].kind != Kind::Satin)
            continue;
        Point a = path[i - 1].p, b = path[i].p;
        if (std::fabs(std::fabs(b.y - a.y) - 20.0) < 0.5 && std::fabs(b.x - a.x) <= 4.0) {
            ++across;
            minX = std::min(minX, a.x);
            maxX = std::max(maxX, a.x);
        }
    }
    EXPECT_GT(across, 40);  // one rib every 0.4 mm, zig and zag
    EXPECT_LT(minX, 15.0);
    EXPECT_GT(maxX, 105.0);
    Quality q = measure(bar, path);
    EXPECT_GE(q.coverage, 0.95);
    EXPECT_LE(q.outside, 0.02);
    EXPECT_EQ(q.shortStitches, 0);
    EXPECT_GE(q.medianSpacing, 3.0);
    EXPECT_LE(q.medianSpacing, 5.0);
}

TEST(Digitizer, RingBecomesAClosedColumnWithoutJump) {
    std::vector<Ring> o{circle(0, 0, 60, 72), circle(0, 0, 40, 72, true)};
    std::vector<Needle> path = digitize(o);
    EXPECT_EQ(count(path, Kind::Jump), 0);
    EXPECT_EQ(count(path, Kind::Trim), 0);
    // Satin ribs of about the ring's width all the way round.
    std::vector<bool> sector(36, false);
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i].kind != Kind::Satin || path[i - 1].kind != Kind::Satin)
            continue;
        Point a = path[i - 1].p, b = path[i].p;
        double span = std::hypot(b.x - a.x, b.y - a.y);
        EXPECT_NEAR(span, 20.0, 3.0);
        double ang = std::atan2(a.y + b.y, a.x + b.x) + M_PI;
        sector[std::min(35, int(ang / (2 * M_PI) * 36))] = true;
    }
    for (int s = 0; s < 36; ++s)
        EXPECT_TRUE(sector[s]) << "no satin in sector " << s;
    Quality q = measure(o, path);
    EXPECT_GE(q.coverage, 0.95);
    EXPECT_LE(q.outside, 0.02);
}

TEST(Digitizer, TwoSeparateBarsGiveExactlyOneJumpWithTrim) {
    std::vector<Ring> bars{rect(0, 0, 100, 20), rect(0, 60, 100, 80)};
    std::vector<Needle> path = digitize(bars);
    EXPECT_EQ(count(path, Kind::Trim), 1);
    EXPECT_EQ(count(path, Kind::Jump), 0);
    EXPECT_EQ(path.front().kind, Kind::Jump);  // the entry movement
    // Lock stitches on both sides of the trim.
    std::size_t t = 0;
    while (path[t].kind != Kind::Trim || t == 0)
        ++t;
    EXPECT_EQ(path[t - 1].kind, Kind::Lock);
    EXPECT_EQ(path[t + 1].kind, Kind::Lock);
    EXPECT_EQ(path.back().kind, Kind::Lock);
    Quality q = measure(bars, path);
    EXPECT_EQ(q.parts, 2);
    EXPECT_EQ(q.jumps, 1);
    EXPECT_EQ(q.trims, 1);
}

TEST(Digitizer, TouchingContoursAreOnePart) {
    // Two overlapping contours (as fonts draw a crossbar over a stem) sew without a jump.
    std::vector<Ring> cross{rect(0, 40, 100, 60), rect(40, 0, 60, 100)};
    std::vector<Needle> path = digitize(cross);
    EXPECT_EQ(count(path, Kind::Trim), 0);
    EXPECT_EQ(count(path, Kind::Jump), 0);
    // The square where the bars cross is no column's: it is sewn on its own.
    EXPECT_GE(measure(cross, path).coverage, 0.95);
}

TEST(Digitizer, UnderlayLiesInsideTheOutline) {
    struct Case {
        const char* name;
        std::vector<Ring> rings;
    };
    std::vector<Case> cases{
        {"bar", {rect(0, 0, 120, 20)}},
        {"ring", {circle(0, 0, 60, 72), circle(0, 0, 40, 72, true)}},
        {"L", {{{0, 0}, {20, 0}, {20, 80}, {70, 80}, {70, 100}, {0, 100}}}},
        {"block", {rect(0, 0, 150, 150)}},
    };
    for (const Case& c : cases) {
        std::vector<Needle> path = digitize(c.rings);
        int runs = 0;
        for (const Needle& n : path)
            if (n.kind == Kind::Run || n.kind == Kind::EdgeRun) {
                ++runs;
                EXPECT_TRUE(insideOutline(c.rings, n.p)) << c.name << " " << n.p.x << "," << n.p.y;
            }
        EXPECT_GT(runs, 0) << c.name;
    }
}

TEST(Digitizer, WideBlockIsFilledWithShortRows) {
    std::vector<Ring> block{rect(0, 0, 150, 150)};
    std::vector<Needle> path = digitize(block);
    EXPECT_GT(count(path, Kind::Fill), 100);
    EXPECT_GT(count(path, Kind::EdgeRun), 10);
    EXPECT_EQ(count(path, Kind::Satin), 0);
    Quality q = measure(block, path);
    EXPECT_LE(q.maxRun, 40.0);
    EXPECT_EQ(q.shortStitches, 0);
    EXPECT_GE(q.coverage, 0.95);
    EXPECT_LE(q.outside, 0.01);
}

TEST(Digitizer, StrokeEndsCutAtASlantAreSewnToTheirTips) {
    // Stems 2.4 mm wide cut level at top and bottom, leaning at 60 and 30 degrees (as in A, V,
    // x): the cap's ribs shorten into the sharp corners instead of leaving them bare.
    for (double lean : {0.58, 1.73}) {
        std::vector<Ring> stem{{{0, 0}, {24, 0}, {24 + 100 * lean, 100}, {100 * lean, 100}}};
        std::vector<Needle> path = digitize(stem);
        Quality q = measure(stem, path);
        EXPECT_GE(q.coverage, 0.95) << "lean " << lean;
        EXPECT_LE(q.outside, 0.03) << "lean " << lean;
    }
}

TEST(Digitizer, NarrowRingIsFollowedNotCutAcross) {
    // A ring 0.35 mm wide and 1.2 mm across, as the head of a small Thai letter: too narrow for
    // satin, so a running stitch goes round it, with no stitch over the hole.
    std::vector<Ring> ring{circle(0, 0, 6, 48), circle(0, 0, 2.5, 48, true)};
    std::vector<Needle> path = digitize(ring);
    EXPECT_GE(measure(ring, path).coverage, 0.9);
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i].kind == Kind::Jump || path[i].kind == Kind::Trim)
            continue;
        Point a = path[i - 1].p, b = path[i].p;
        EXPECT_GT(std::hypot((a.x + b.x) / 2, (a.y + b.y) / 2), 2.0) << "stitch " << i;
    }
}

TEST(Digitizer, SatinSpansAndSpacingStayInRange) {
    // Columns of several widths and shapes: every satin stitch 0.5 to 7 mm, the median distance
    // between neighbouring threads 0.3 to 0.5 mm.
    std::vector<std::pair<const char*, std::vector<Ring>>> shapes{
        {"thin bar", {rect(0, 0, 120, 6)}},
        {"wide bar", {rect(0, 0, 250, 55)}},
        {"ring", {circle(0, 0, 60, 72), circle(0, 0, 40, 72, true)}},
        {"L", {{{0, 0}, {20, 0}, {20, 80}, {70, 80}, {70, 100}, {0, 100}}}},
        {"cross", {rect(0, 40, 100, 60), rect(40, 0, 60, 100)}},
    };
    for (const auto& shape : shapes) {
        Quality q = measure(shape.second, digitize(shape.second));
        ASSERT_GT(q.satinStitches, 0) << shape.first;
        EXPECT_GE(q.minSpan, 5.0) << shape.first;
        EXPECT_LE(q.maxSpan, 70.0) << shape.first;
        EXPECT_GE(q.medianSpacing, 3.0) << shape.first;
        EXPECT_LE(q.medianSpacing, 5.0) << shape.first;
        EXPECT_EQ(q.shortStitches, 0) << shape.first;
    }
}

TEST(Digitizer, LongStitchesAreSplit) {
    // With lower limits the same bar's satin gets split penetrations and its runs more points.
    std::vector<Ring> bar{rect(0, 0, 160, 40)};  // ribs 4 mm, split once each
    Params p;
    p.maxSatinStitch = 25.0;
    p.maxRunStitch = 12.0;
    std::vector<Needle> path = digitize(bar, p);
    int satin = 0;
    for (std::size_t i = 1; i < path.size(); ++i) {
        double len = std::hypot(path[i].p.x - path[i - 1].p.x, path[i].p.y - path[i - 1].p.y);
        if (path[i].kind == Kind::Satin && path[i - 1].kind == Kind::Satin) {
            ++satin;
            // Split a little off the middle, staggered from rib to rib.
            EXPECT_LE(len, 25.0 * 1.2);
        } else if (path[i].kind == Kind::Run || path[i].kind == Kind::Fill) {
            EXPECT_LE(len, 12.0 + 1e-9);
        }
    }
    EXPECT_GT(satin, 40);
}

TEST(Digitizer, StemOfATRunsUpToTheBarWithoutFanningIntoIt) {
    // The bar carries its column through the junction. The stem's ribs (level, across it) go up
    // to where the bar begins, and none fans up into the bar.
    std::vector<Ring> t{rect(0, 0, 100, 20), rect(40, 20, 60, 100)};
    std::vector<Needle> path = digitize(t);
    int stemRibs = 0;
    double top = 1e9;
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i].kind != Kind::Satin || path[i - 1].kind != Kind::Satin)
            continue;
        Point a = path[i - 1].p, b = path[i].p;
        if (std::fabs(b.x - a.x) < 15.0 || std::fabs(b.y - a.y) > 6.0)
            continue;  // not a level stitch across the stem
        ++stemRibs;
        top = std::min({top, a.y, b.y});
        EXPECT_GE(std::min(a.y, b.y), 18.0) << "stitch " << i;
    }
    EXPECT_GT(stemRibs, 30);
    EXPECT_LE(top, 23.0);
    EXPECT_GE(measure(t, path).coverage, 0.97);
}

TEST(Digitizer, BareSpotIsSewnAsParallelSatinAcrossItsNarrowSide) {
    // A 3 x 2 mm spot: stitches run across its 2 mm side, a satin spacing apart along the 3 mm.
    std::vector<Part> parts = makeParts({rect(0, 0, 30, 20)});
    ASSERT_EQ(parts.size(), 1u);
    MGraph axis = medialGraph(parts[0]);
    Router router(parts[0], axis);
    std::vector<Needle> path = sewSpot(parts[0], Params(), {0, 0}, parts[0], router);
    int ribs = 0;
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i].kind != Kind::Satin || path[i - 1].kind != Kind::Satin)
            continue;
        Point a = path[i - 1].p, b = path[i].p;
        EXPECT_NEAR(std::fabs(b.y - a.y), 20.0, 0.5) << "stitch " << i;
        EXPECT_LE(std::fabs(b.x - a.x), Params().satinSpacing + 0.5) << "stitch " << i;
        ++ribs;
    }
    EXPECT_GE(ribs, 7);  // 30 / 3.6 rows
    EXPECT_EQ(measure({rect(0, 0, 30, 20)}, path).shortStitches, 0);
}

TEST(Digitizer, UncoveredFindsTheSpotNoStitchReaches) {
    // Satin over the left half of a 4 x 2 mm bar leaves the right half bare.
    std::vector<Part> parts = makeParts({rect(0, 0, 40, 20)});
    std::vector<Needle> half;
    for (int x = 0; x <= 20; x += 4) {
        half.push_back({{double(x), 0}, Kind::Satin});
        half.push_back({{double(x), 20}, Kind::Satin});
    }
    std::vector<Part> bare = uncovered(parts[0], half, 2.0, 4.0, 40.0);
    ASSERT_EQ(bare.size(), 1u);
    double minX = 1e9;
    for (Point q : bare[0].rings[0])
        minX = std::min(minX, q.x);
    EXPECT_NEAR(minX, 22.0, 1.0);
    // Covered all over, nothing is left.
    for (int x = 24; x <= 40; x += 4) {
        half.push_back({{double(x), 0}, Kind::Satin});
        half.push_back({{double(x), 20}, Kind::Satin});
    }
    EXPECT_TRUE(uncovered(parts[0], half, 2.0, 4.0, 40.0).empty());
}

TEST(GlyphRecord, EncodesShortStitchesLongMovementsAdvanceAndBounds) {
    std::vector<Needle> path{{{10, -50}, Kind::Jump},
                             {{10, -120}, Kind::Run},  // longer than the short form: cut
                             {{30, -120}, Kind::Satin},
                             {{200, -20}, Kind::Trim},
                             {{205, -20}, Kind::Lock}};
    std::vector<uint8_t> data = encodeGlyph(path, 250);
    // Ends with a long movement, the end marker and the trailer.
    ASSERT_GT(data.size(), 12u);
    std::size_t n = data.size();
    EXPECT_EQ(data[n - 10], 0xFF);
    EXPECT_EQ(data[n - 9], 0x00);
    auto trailer = [&](int i) {
        int v = ((data[n - 8 + 2 * i + 1] & 0x0F) << 8) | data[n - 8 + 2 * i];
        return v & 0x800 ? v - 4096 : v;
    };
    EXPECT_EQ(trailer(0), 10);
    EXPECT_EQ(trailer(1), -120);
    EXPECT_EQ(trailer(2), 205);
    EXPECT_EQ(trailer(3), -20);
    int advance = 0;
    std::vector<Needle> back = decodeGlyph(data, &advance);
    EXPECT_EQ(advance, 250);
    // The 7 mm stitch comes back as two short stitches.
    ASSERT_EQ(back.size(), 6u);
    EXPECT_EQ(back[0].kind, Kind::Jump);
    EXPECT_EQ(back[1].p.y, -85);
    EXPECT_EQ(back[2].p.y, -120);
    EXPECT_EQ(back[4].kind, Kind::Trim);
    EXPECT_EQ(back[5].p.x, 205);
    EXPECT_EQ(back[5].kind, Kind::Run);
}

TEST(Digitizer, FillRowsFollowTheChosenAngleOrRunSquareToTheLongSide) {
    // 30 x 10 mm: too wide for satin.
    std::vector<Ring> block{rect(0, 0, 300, 100)};
    struct Case {
        const char* name;
        double angle;
        bool alongShape;
        double dx, dy;  // the direction most fill stitches should have
    };
    const Case cases[] = {
        {"default", 0, false, 1, 0},
        {"chosen 90", 90, false, 0, 1},
        {"chosen 45", 45, false, M_SQRT1_2, M_SQRT1_2},
        {"square to the long side", 0, true, 0, 1},
    };
    for (const Case& c : cases) {
        Params prm;
        prm.fillAngle = c.angle;
        prm.fillAlongShape = c.alongShape;
        prm.fillSpacing = 3.6;  // rows that cover at any angle, not only along the pixel grid
        std::vector<Needle> path = digitize(block, prm);
        int fill = 0, along = 0;
        for (std::size_t i = 1; i < path.size(); ++i) {
            if (path[i].kind != Kind::Fill || path[i - 1].kind != Kind::Fill)
                continue;
            Point d = path[i].p - path[i - 1].p;
            ++fill;
            along += std::fabs(cross(unit(d), {c.dx, c.dy})) < 0.05;
        }
        EXPECT_GT(fill, 200) << c.name;
        EXPECT_GT(along, fill * 9 / 10) << c.name;
        Quality q = measure(block, path, prm);
        EXPECT_GE(q.coverage, 0.97) << c.name;
        EXPECT_LE(q.outside, 0.01) << c.name;
    }
}

TEST(Digitizer, FillUnderlayRunsAcrossTheRowsBeforeThem) {
    std::vector<Ring> block{rect(0, 0, 300, 100)};
    Params prm;
    prm.fillAlongShape = true;  // vertical rows
    std::size_t plain = digitize(block, prm).size();
    prm.fillUnderlay = true;
    std::vector<Needle> path = digitize(block, prm);
    std::size_t firstFill = 0;
    while (firstFill < path.size() && path[firstFill].kind != Kind::Fill)
        ++firstFill;
    ASSERT_LT(firstFill, path.size());
    // Between the edge run and the first row: horizontal running stitches, well inside.
    int across = 0;
    for (std::size_t i = 1; i < firstFill; ++i) {
        Point d = path[i].p - path[i - 1].p;
        if (path[i].kind == Kind::Run && std::fabs(d.y) < 0.5 && std::fabs(d.x) > 10) {
            ++across;
            EXPECT_GT(path[i].p.y, 4.0);
            EXPECT_LT(path[i].p.y, 96.0);
        }
    }
    EXPECT_GT(across, 20);
    for (std::size_t i = firstFill; i < path.size(); ++i)
        EXPECT_NE(path[i].kind, Kind::EdgeRun);
    EXPECT_GT(path.size(), plain + 20);
}

TEST(Digitizer, SatinIsKeptForStrokesOnlyWhenAsked) {
    auto fills = [](const std::vector<Needle>& p) { return count(p, Kind::Fill); };
    auto satins = [](const std::vector<Needle>& p) { return count(p, Kind::Satin); };
    // A 20 mm disc with a 16 mm hole cut off-centre: a ring 1..3 mm wide, narrow nearly all
    // round, the shape satin is made for.
    std::vector<Ring> ring{circle(0, 0, 100, 96), circle(0, 15, 80, 96, true)};
    // A 24 mm disc with four 5 mm holes: narrow between the holes and the rim, 7.7 mm wide
    // between the holes.
    std::vector<Ring> face{circle(0, 0, 120, 96), circle(-45, -45, 25, 48, true),
                           circle(45, -45, 25, 48, true), circle(-45, 45, 25, 48, true),
                           circle(45, 45, 25, 48, true)};
    Params prm;
    EXPECT_GT(satins(digitize(ring, prm)), 100);
    EXPECT_GT(satins(digitize(face, prm)), 100);  // the font setting: the axis decides
    prm.maxSatinWidth = prm.maxSatinSpan;
    EXPECT_GT(satins(digitize(ring, prm)), 100);
    EXPECT_EQ(satins(digitize(face, prm)), 0);
    EXPECT_GT(fills(digitize(face, prm)), 100);
    // A fat crescent: satin fans round its inner curve; asking for full coverage makes it fill.
    std::vector<Ring> crescent{circle(0, 0, 40, 64), circle(0, -22, 22, 48, true)};
    prm = Params();
    std::vector<Needle> satin = digitize(crescent, prm);
    prm.minSatinCoverage = 0.99;
    std::vector<Needle> chosen = digitize(crescent, prm);
    ASSERT_GT(satins(satin), 50);
    ASSERT_LT(measure(crescent, satin).coverage, 0.99);
    EXPECT_GT(measure(crescent, chosen).coverage, measure(crescent, satin).coverage);
    EXPECT_GT(fills(chosen), 50);
    EXPECT_EQ(satins(chosen), 0);
}
