// Ways inside one part, and the fill and stitch plans that move with them: U, C and ring shapes
// whose straight lines between places leave the outline.

#include <gtest/gtest.h>

#include <cmath>

#include "digitizer/Fill.h"
#include "digitizer/MedialAxis.h"
#include "digitizer/Router.h"

using namespace digitizer;

namespace {

// Two bars 8 mm wide and 30 mm high, joined by an 8 mm band at the bottom; the gap between the
// bars is 8 mm wide and 22 mm deep.
Ring uShape() {
    return {{0, 0}, {80, 0}, {80, 220}, {160, 220}, {160, 0}, {240, 0}, {240, 300}, {0, 300}};
}

// Arc of radius r from angle a0 to a1 (radians), n steps.
void arc(Ring& ring, double r, double a0, double a1, int n) {
    for (int i = 0; i <= n; ++i) {
        double a = a0 + (a1 - a0) * i / n;
        ring.push_back({r * std::cos(a), r * std::sin(a)});
    }
}

// A C: an 8 mm wide ring band (radii 7 and 15 mm) open on the right over 60 degrees.
Ring cShape() {
    Ring ring;
    arc(ring, 150, M_PI / 6, 2 * M_PI - M_PI / 6, 60);
    arc(ring, 70, 2 * M_PI - M_PI / 6, M_PI / 6, 60);
    return ring;
}

// A closed ring band: outer radius 15 mm, hole of 7 mm (the hole runs the other way).
std::vector<Ring> ringShape() {
    Ring outer, hole;
    arc(outer, 150, 0, 2 * M_PI, 72);
    outer.pop_back();
    arc(hole, 70, 2 * M_PI, 0, 72);
    hole.pop_back();
    return {outer, hole};
}

double pathLength(const std::vector<Point>& way) {
    double l = 0.0;
    for (std::size_t i = 1; i < way.size(); ++i)
        l += dist(way[i - 1], way[i]);
    return l;
}

// Every point of the way, and points every 0.2 mm along its segments, inside the part.
void expectInside(const Part& part, const std::vector<Point>& way) {
    for (std::size_t i = 1; i < way.size(); ++i) {
        Point a = way[i - 1], b = way[i];
        int n = std::max(2, int(dist(a, b) / 2.0));
        for (int k = 0; k <= n; ++k) {
            Point p = a + (b - a) * (double(k) / n);
            EXPECT_TRUE(part.inside(p)) << "segment " << i << " at " << p.x << "," << p.y;
        }
    }
}

struct WayCase {
    const char* name;
    std::vector<Ring> outline;
    Point from, to;
    double maxLength;   // a little over the shortest way inside (0.1 mm)
    double outlineWay;  // the way along the outline (0.1 mm)
};

int count(const std::vector<Needle>& path, Kind k) {
    int n = 0;
    for (std::size_t i = 1; i < path.size(); ++i)
        n += path[i].kind == k;
    return n;
}

}  // namespace

TEST(Router, WaysStayInsideAndAreShort) {
    // Shortest U way: tip to the gap's inner corners, across, and up: 2·hypot(40, 210) + 80.
    double uBest = 2 * std::hypot(40.0, 210.0) + 80.0;
    // From the right tip (200, 10) to (20, 280) the shortest way turns round the gap's corner
    // (160, 220) alone.
    // Around a hole of radius 70 between two points 110 from its centre: two tangents and an
    // arc; the C's way goes round the long side (all but 2·0.7 rad).
    double tangent = std::sqrt(110.0 * 110.0 - 70.0 * 70.0), turn = std::acos(70.0 / 110.0);
    double ringBest = 2 * tangent + 70.0 * (M_PI - 2 * turn);
    double cBest = 2 * tangent + 70.0 * (2 * M_PI - 1.4 - 2 * turn);
    Point c0{110 * std::cos(0.7), 110 * std::sin(0.7)}, c1{c0.x, -c0.y};
    std::vector<WayCase> cases{
        {"U tips", {uShape()}, {40, 10}, {200, 10}, uBest * 1.08, 290 + 240 + 290},
        {"U tip to far bottom corner",
         {uShape()},
         {200, 10},
         {20, 280},
         (std::hypot(40.0, 210.0) + std::hypot(140.0, 60.0)) * 1.06,
         290 + 240},
        {"ring across the hole", ringShape(), {-110, 0}, {110, 0}, ringBest * 1.1, M_PI * 150},
        {"C ends round the back", {cShape()}, c0, c1, cBest * 1.1, 150 * (2 * M_PI - 1.4)},
    };
    for (const WayCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Part> parts = makeParts(c.outline);
        ASSERT_EQ(parts.size(), 1u);
        const Part& part = parts[0];
        ASSERT_TRUE(part.inside(c.from));
        ASSERT_TRUE(part.inside(c.to));
        MGraph axis = medialGraph(part);
        Router router(part, axis);
        std::vector<Point> way = router.way(c.from, c.to);
        ASSERT_GE(way.size(), 2u);
        EXPECT_EQ(dist(way.front(), c.from), 0.0);
        EXPECT_EQ(dist(way.back(), c.to), 0.0);
        expectInside(part, way);
        double len = pathLength(way);
        EXPECT_LE(len, c.maxLength);
        EXPECT_LT(len, c.outlineWay);
        // Pulled straight: the way turns only where the outline is in the way, a few times.
        EXPECT_LE(way.size(), 12u);
        // Where the part is wide the way keeps 0.4 mm off the outline.
        for (std::size_t i = 1; i + 1 < way.size(); ++i)
            EXPECT_GE(part.clearance(way[i]), 4.0) << "corner " << i;
    }
}

TEST(Router, StraightWhereTheLineIsInside) {
    std::vector<Part> parts = makeParts({uShape()});
    MGraph axis = medialGraph(parts[0]);
    Router router(parts[0], axis);
    std::vector<Point> way = router.way({20, 20}, {30, 250});
    ASSERT_EQ(way.size(), 2u);
    EXPECT_EQ(dist(way[1], {30, 250}), 0.0);
}

TEST(Router, TravelRunsAlongTheWayInsteadOfJumping) {
    std::vector<Part> parts = makeParts({uShape()});
    const Part& part = parts[0];
    MGraph axis = medialGraph(part);
    Router router(part, axis);
    Params prm;
    std::vector<Needle> out{{{40, 10}, Kind::Run}};
    travel(part, {200, 10}, prm, out, &router);
    EXPECT_EQ(count(out, Kind::Jump), 0);
    ASSERT_GT(out.size(), 10u);
    EXPECT_EQ(dist(out.back().p, {200, 10}), 0.0);
    std::vector<Point> pts;
    for (const Needle& n : out) {
        pts.push_back(n.p);
        if (pts.size() > 1) {
            EXPECT_LE(dist(pts[pts.size() - 2], n.p), prm.runLength + 1e-9);
        }
    }
    expectInside(part, pts);
    // Without a way to follow the needle can only jump.
    std::vector<Needle> bare{{{40, 10}, Kind::Run}};
    travel(part, {200, 10}, prm, bare);
    EXPECT_EQ(count(bare, Kind::Jump), 1);
}

// Fill of wide shapes with notches and holes: one connected part, so no jump and no trim, every
// stitch inside, and tatami, edge run and travel stitches between 0.3 and 4 mm.
TEST(Router, WideShapesAreFilledWithoutJumps) {
    std::vector<std::pair<const char*, std::vector<Ring>>> shapes{
        {"U", {uShape()}}, {"C", {cShape()}}, {"ring", ringShape()}};
    Params prm;
    for (const auto& [name, outline] : shapes) {
        SCOPED_TRACE(name);
        for (Point entry : {Point{0, 0}, Point{300, 300}, Point{-200, 0}}) {
            std::vector<Needle> path = digitize(outline, prm, entry);
            ASSERT_GT(path.size(), 100u);
            EXPECT_EQ(path[0].kind, Kind::Jump);
            EXPECT_EQ(count(path, Kind::Jump), 0);
            EXPECT_EQ(count(path, Kind::Trim), 0);
            EXPECT_GT(count(path, Kind::Fill), 300);
            std::vector<Part> parts = makeParts(outline);
            for (std::size_t i = 1; i < path.size(); ++i) {
                Kind k = path[i].kind;
                if (k != Kind::Fill && k != Kind::Run && k != Kind::EdgeRun)
                    continue;
                double len = dist(path[i - 1].p, path[i].p);
                EXPECT_LE(len, 40.0) << "stitch " << i;
                EXPECT_GE(len, prm.minStitch) << "stitch " << i;
                EXPECT_TRUE(parts[0].inside((path[i - 1].p + path[i].p) * 0.5)) << "stitch " << i;
            }
        }
    }
}

// fillPart on its own makes the router it needs.
TEST(Router, FillPartWithoutARouterStillTravelsInside) {
    std::vector<Part> parts = makeParts({cShape()});
    Params prm;
    std::vector<Needle> out;
    fillPart(parts[0], prm, parts[0].nearestVertex({0, 0}), out);
    ASSERT_GT(out.size(), 100u);
    EXPECT_EQ(count(out, Kind::Jump), 0);
    for (std::size_t i = 1; i < out.size(); ++i)
        EXPECT_TRUE(parts[0].inside((out[i - 1].p + out[i].p) * 0.5)) << "stitch " << i;
}
