#include <gtest/gtest.h>

#include <cmath>

#include "design/geometry/Geometry.h"
#include "design/geometry/Path.h"

using geom::Path;
using geom::Point;
using geom::Polyline;

namespace {

void expectNear(Point p, float x, float y, float tol = 1e-3f) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

}  // namespace

TEST(Path, RectangleHasFiveClosedPointsFromTopLeftClockwise) {
    Path path;
    path.rectangle(-250, -250, 500, 500);
    ASSERT_EQ(path.outline().size(), 1u);
    const auto& pts = path.first().points;
    ASSERT_EQ(pts.size(), 5u);
    expectNear(pts[0], -250, -250);
    expectNear(pts[1], 250, -250);
    expectNear(pts[2], 250, 250);
    expectNear(pts[3], -250, 250);
    EXPECT_EQ(pts[4], pts[0]);
    EXPECT_TRUE(path.first().closed);
}

TEST(Path, MoveToStartsNewSubPathOnlyWhenCurrentHasPoints) {
    Path path;
    path.moveTo(1, 2);
    path.lineTo(3, 4);
    path.moveTo(5, 6);
    ASSERT_EQ(path.outline().size(), 2u);
    EXPECT_EQ(path.outline()[1].points.size(), 1u);
    path.clear();
    EXPECT_EQ(path.outline().size(), 1u);
    EXPECT_TRUE(path.first().points.empty());
    EXPECT_EQ(path.circleResolution(), 20);
}

TEST(Path, CloseRepeatsFirstPointOnlyWhenAsked) {
    Path path;
    path.moveTo(0, 0);
    path.lineTo(10, 0);
    path.close(false);
    EXPECT_EQ(path.first().points.size(), 2u);
    path.close(true);
    ASSERT_EQ(path.first().points.size(), 3u);
    EXPECT_EQ(path.first().points.back(), path.first().points.front());
}

TEST(Path, FullEllipseHas65PointsAndClosesExactly) {
    Path path;
    path.arc(250, 100, {0, 0}, 0, 360, 64, true);
    const auto& pts = path.first().points;
    ASSERT_EQ(pts.size(), 65u);
    expectNear(pts[0], 250, 0);
    expectNear(pts[16], 0, 100);  // the seventeenth point: a quarter turn, clockwise on screen
    expectNear(pts[32], -250, 0);
    EXPECT_EQ(pts.back(), pts.front());
}

TEST(Path, ArcSkipsSampledDirectionsAtItsEnds) {
    struct Case {
        float start, end;
        int resolution;
        bool clockwise;
        std::size_t count;
        Point first, last;
    };
    const Case cases[] = {
        // 0..90 at 4 steps: the sampled directions 0 and 90 coincide with the ends.
        {0, 90, 4, true, 2, {10, 0}, {0, 10}},
        // 0..90 at 8 steps: 45 lies between.
        {0, 90, 8, true, 3, {10, 0}, {0, 10}},
        // Anticlockwise 90..0 walks down through 45.
        {90, 0, 8, false, 3, {0, 10}, {10, 0}},
        // Anticlockwise from 0 to 270 is a quarter turn through 315.
        {0, 270, 8, false, 3, {10, 0}, {0, -10}},
        // Clockwise 10..20 meets no sampled direction.
        {10, 20, 8, true, 2, {9.848f, 1.736f}, {9.397f, 3.420f}},
        // A zero sweep is a full turn.
        {30, 30, 4, true, 6, {8.660f, 5.0f}, {8.660f, 5.0f}},
    };
    for (const auto& c : cases) {
        Path path;
        path.arc(10, 10, {0, 0}, c.start, c.end, c.resolution, c.clockwise);
        const auto& pts = path.first().points;
        ASSERT_EQ(pts.size(), c.count) << c.start << ".." << c.end;
        expectNear(pts.front(), c.first.x, c.first.y);
        expectNear(pts.back(), c.last.x, c.last.y);
    }
}

TEST(Path, ArcResolutionBelowTwoIsTwo) {
    Path path;
    path.arc(10, 10, {5, 5}, 0, 360, 0, true);
    // Directions 0 and 180: start, 180, end.
    ASSERT_EQ(path.first().points.size(), 3u);
    expectNear(path.first().points[1], -5, 5);
}

TEST(Simplify, DropsArcPointsCloseToTheChord) {
    Path path;
    // A flat arc: radius 1000, 4 degrees, sampled every degree; the sagitta is about 0.6 units, the
    // sagitta between neighbouring samples far below 0.5.
    path.arc(1000, 1000, {0, 0}, 88, 92, 360, true);
    Polyline line = path.first();
    ASSERT_EQ(line.points.size(), 5u);
    std::vector<std::string> notes;
    geom::simplify(line, 0.5f, [&](const std::string& s) { notes.push_back(s); });
    // The middle point (0, 1000) lies about 0.61 off the chord and stays; the others go.
    ASSERT_EQ(line.points.size(), 3u);
    expectNear(line.points[1], 0, 1000, 0.01f);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], "Before simplify 5");
    EXPECT_EQ(notes[1], "After simplify 3 tolerance=0.5");
}

TEST(Simplify, VertexReductionKeepsFirstAndLast) {
    Polyline line;
    line.points = {{0, 0}, {0.1f, 0}, {0.2f, 5}, {10, 0}, {10.1f, 0}};
    geom::simplify(line, 1.0f);
    // (0.1, 0) is within 1 of the first point; (0.2, 5) is far from the chord; (10, 0) survives
    // the reduction but lies on the chord.
    ASSERT_EQ(line.points.size(), 3u);
    expectNear(line.points[0], 0, 0);
    expectNear(line.points[1], 0.2f, 5);
    expectNear(line.points[2], 10.1f, 0);
}

TEST(OffsetRails, TwoPointLine) {
    Polyline line;
    line.points = {{-250, 0}, {250, 0}};
    const auto rails = geom::offsetRails(line, 20);
    ASSERT_EQ(rails.n, 2u);
    expectNear(rails.left.points[0], -250, -10);
    expectNear(rails.left.points[1], 250, -10);
    expectNear(rails.right.points[0], -250, 10);
    expectNear(rails.right.points[1], 250, 10);
}

TEST(OffsetRails, MitredCornerAndPlainEndsOfClosedPolygon) {
    // A square run clockwise on screen, first point repeated last.
    Polyline line;
    line.points = {{0, -100}, {100, -100}, {100, 100}, {-100, 100}, {-100, -100}, {0, -100}};
    const auto rails = geom::offsetRails(line, 20);
    ASSERT_EQ(rails.n, 6u);
    // Left is outside for a clockwise loop: mitred corners lie diagonally out.
    expectNear(rails.left.points[1], 110, -110);
    expectNear(rails.right.points[1], 90, -90);
    expectNear(rails.left.points[3], -110, 110);
    // The seam point has plain ends: both ends sit straight above and below the first point.
    expectNear(rails.left.points.front(), 0, -110);
    expectNear(rails.left.points.back(), 0, -110);
    expectNear(rails.right.points.front(), 0, -90);
    expectNear(rails.right.points.back(), 0, -90);
}

TEST(OffsetRails, ParallelAndDegenerateSegmentsGiveFiniteJoints) {
    Polyline line;
    // A straight run with a repeated point and a reversal.
    line.points = {{0, 0}, {50, 0}, {50, 0}, {100, 0}, {20, 0}};
    const auto rails = geom::offsetRails(line, 20);
    ASSERT_EQ(rails.n, 5u);
    for (std::size_t i = 0; i < rails.n; ++i) {
        EXPECT_TRUE(std::isfinite(rails.left.points[i].x) && std::isfinite(rails.left.points[i].y));
        EXPECT_TRUE(std::isfinite(rails.right.points[i].x) &&
                    std::isfinite(rails.right.points[i].y));
    }
    // Collinear neighbours meet at their shared offset end point.
    expectNear(rails.left.points[1], 50, -10);
    EXPECT_TRUE(geom::offsetRails(Polyline{{{1, 1}}, false}, 20).left.points.empty());
}

TEST(Segments, CrossingRules) {
    struct Case {
        Point a0, a1, b0, b1;
        bool cross;
    };
    const Case cases[] = {
        {{-1, -1}, {1, 1}, {-1, 1}, {1, -1}, true},
        {{0, 0}, {1, 0}, {2, -1}, {2, 1}, false},  // would meet beyond a's end
        {{0, 0}, {4, 0}, {1, 0}, {3, 0}, false},   // collinear
        {{0, 0}, {4, 0}, {2, 0}, {2, 5}, false},   // b0 on a's line counts as non-negative
        {{0, 0}, {4, 0}, {2, -5}, {2, 0}, true},   // b1 on the line, b0 on the negative side
        {{0, 0}, {0, 10}, {5, 5}, {6, 5}, false},  // parallel offsets never cross
    };
    for (const auto& c : cases) {
        EXPECT_EQ(geom::segmentsCross(c.a0, c.a1, c.b0, c.b1), c.cross)
            << c.a0.x << "," << c.a0.y << " " << c.b0.x << "," << c.b0.y;
    }
    expectNear(geom::crossingPoint({-1, -1}, {1, 1}, {-1, 1}, {1, -1}), 0, 0);
    expectNear(geom::crossingPoint({0, 0}, {10, 0}, {3, -7}, {3, 20}), 3, 0);
    expectNear(geom::crossingPoint({-100, -50}, {0, 50}, {100, -50}, {-10, 60}), 0, 50);
}

TEST(MapRange, LinearUnclampedAndGuarded) {
    EXPECT_FLOAT_EQ(geom::mapRange(0.5f, 0, 1, 1, 179), 90.0f);
    EXPECT_FLOAT_EQ(geom::mapRange(0.75f, 0, 1, -geom::kPi, geom::kPi), geom::kPi / 2);
    EXPECT_FLOAT_EQ(geom::mapRange(2.0f, 0, 1, 0, 1500), 3000.0f);  // no clamping
    EXPECT_FLOAT_EQ(geom::mapRange(-1.0f, 0, 1, 0, 1500), -1500.0f);
    EXPECT_FLOAT_EQ(geom::mapRange(7.0f, 3, 3, 11, 20), 11.0f);  // degenerate range
    EXPECT_FLOAT_EQ(geom::mapRange(3.0f, 5, 1, 0, 1), 0.5f);     // reversed input range
}
