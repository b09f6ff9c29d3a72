#include <gtest/gtest.h>

#include <cmath>

#include "design/geometry/MedialPoints.h"
#include "design/geometry/Path.h"
#include "design/geometry/Satin.h"

using geom::Point;
using geom::Polyline;

namespace {

void expectNear(Point p, float x, float y, float tol = 1e-3f) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

bool allFinite(const std::vector<Point>& pts) {
    for (const auto& p : pts) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return false;
    }
    return true;
}

}  // namespace

TEST(MedialPoints, StepCountsAndParts) {
    struct Case {
        Point a, b;
        float spacing;
        std::size_t total;
        Point firstStep;
    };
    const Case cases[] = {
        {{0, 0}, {500, 0}, 4, 125, {4, 0}},         // 125 steps of 4, B reached exactly
        {{0, 0}, {0, -23}, 4, 7, {0, -23.0f / 7}},  // shorter than 6 spacings: 7 equal steps
        {{0, 0}, {24, 0}, 4, 6, {4, 0}},            // exactly 6 spacings: steps of the spacing
        {{0, 0}, {30, 40}, 4, 12, {2.4f, 3.2f}},    // 50 units, direction kept
        {{0, 0}, {10.9f, 0}, 1, 10, {1, 0}},        // the length is truncated before dividing
    };
    for (const auto& c : cases) {
        const auto m = geom::medialPoints(c.a, c.b, c.spacing);
        ASSERT_FALSE(m.onePart);
        ASSERT_EQ(m.start.size(), 2u);
        ASSERT_EQ(m.end.size(), 2u);
        EXPECT_EQ(m.start.size() + m.middle.size() + m.end.size(), c.total)
            << c.b.x << "," << c.b.y;
        expectNear(m.start[0], c.a.x + c.firstStep.x, c.a.y + c.firstStep.y);
        expectNear(m.middle[1] - m.middle[0], c.firstStep.x, c.firstStep.y);
    }
}

TEST(MedialPoints, ZeroStepGivesOnePartWithNotice) {
    std::vector<std::string> notes;
    auto sink = [&](const std::string& s) { notes.push_back(s); };
    for (float spacing : {4.0f, 0.0f, -1.0f}) {
        const Point b = spacing == 4.0f ? Point{3, 4} : Point{100, 0};
        const auto m = geom::medialPoints({3, 4}, b, spacing, sink);
        EXPECT_TRUE(m.onePart);
        ASSERT_EQ(m.middle.size(), 2u);
        EXPECT_TRUE(m.start.empty() && m.end.empty());
    }
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].rfind("mediPoints.size()=0", 0), 0u);
}

TEST(MedialPoints, TinySpacingIsBounded) {
    const auto m = geom::medialPoints({0, 0}, {1000, 0}, 1e-9f);
    EXPECT_EQ(m.start.size() + m.middle.size() + m.end.size(),
              static_cast<std::size_t>(geom::kMedialMaxSteps));
    expectNear(m.end.back(), 1000, 0, 0.01f);
}

TEST(ColumnStitch, LineGivesPairsPerFourUnitsPlusFinalPair) {
    Polyline line;
    line.points = {{-250, 0}, {250, 0}};
    const auto pts = geom::columnStitch(line, 20);
    ASSERT_EQ(pts.size(), 252u);
    expectNear(pts[0], -250, -10);
    expectNear(pts[1], -250, 10);
    expectNear(pts[2], -246, -10);
    expectNear(pts[3], -246, 10);
    expectNear(pts[250], 250, -10, 0.01f);
    expectNear(pts[251], 250, 10, 0.01f);
}

TEST(ColumnStitch, ZeroLengthLineGivesOnlyTheFinalPair) {
    Polyline line;
    line.points = {{0, 0}, {0, 0}};
    const auto pts = geom::columnStitch(line, 20);
    ASSERT_EQ(pts.size(), 2u);
    expectNear(pts[0], 0, 0);
    expectNear(pts[1], 0, 0);
    EXPECT_TRUE(geom::columnStitch(Polyline{{{5, 5}}, false}, 20).empty());
}

TEST(ColumnStitch, ShortLastSegmentEndsAtItsStartPoints) {
    Polyline line;
    line.points = {{0, 0}, {40, 0}, {42, 0}};
    const auto pts = geom::columnStitch(line, 20);
    // 10 pairs on the first segment, none on the 2-unit one, then its start points again.
    ASSERT_EQ(pts.size(), 22u);
    expectNear(pts[20], 40, -10);
    expectNear(pts[21], 40, 10);
}

TEST(SegmentSatin, AxisStepStartsLeftSlantedStepStartsRight) {
    const float w = 20;
    // Top edge of a clockwise rectangle, travelling right: the left is up (outside).
    auto top = geom::segmentSatin({-250, -250}, {250, -250}, w, 4);
    ASSERT_EQ(top.zigzag.size(), 242u);
    ASSERT_EQ(top.start.size(), 2u);
    ASSERT_EQ(top.end.size(), 2u);
    // Middle point m0 = (-238, -250); o1 = (1, -10), o2 = (3, 10).
    expectNear(top.zigzag[0], -237, -260);
    expectNear(top.zigzag[1], -235, -240);

    // A slanted step down and to the right: N1 is the right normal (down-left).
    auto slant = geom::segmentSatin({0, 0}, {300, 400}, w, 4);
    ASSERT_GE(slant.zigzag.size(), 2u);
    const Point m0 = slant.start[1] + Point{2.4f, 3.2f};
    const Point step{2.4f, 3.2f};
    expectNear(slant.zigzag[0], m0.x + step.x / 4 - 8, m0.y + step.y / 4 + 6);
    expectNear(slant.zigzag[1], m0.x + 3 * step.x / 4 + 8, m0.y + 3 * step.y / 4 - 6);
}

TEST(SegmentSatin, DegenerateEdges) {
    auto same = geom::segmentSatin({7, 7}, {7.00001f, 7}, 20, 4);
    ASSERT_EQ(same.zigzag.size(), 1u);
    EXPECT_TRUE(same.start.empty() && same.end.empty());
    auto flat = geom::segmentSatin({0, 0}, {50, 0}, 20, 0);
    ASSERT_EQ(flat.zigzag.size(), 2u);
    expectNear(flat.zigzag[1], 50, 0);
    EXPECT_TRUE(flat.start.empty() && flat.end.empty());
}

TEST(CornerStitch, SixteenPointsStartingInside) {
    // Top-right corner of a clockwise 500 x 500 square at spacing 4.
    const std::vector<Point> end = {{246, -250}, {250, -250}};
    const std::vector<Point> start = {{250, -246}, {250, -242}};
    const auto pts = geom::cornerStitch(end, start, 20);
    ASSERT_EQ(pts.size(), 16u);
    // The first point of each pair lies inside the square (below-left of the curve).
    for (std::size_t i = 0; i < pts.size(); i += 2) {
        EXPECT_LT(pts[i].x + -pts[i].y, pts[i + 1].x + -pts[i + 1].y) << i;
    }
    EXPECT_TRUE(geom::cornerStitch({}, start, 20).empty());
    EXPECT_EQ(geom::cornerStitch({{0, 0}}, {{10, 10}}, 20).size(), 16u);
}

TEST(RoundedStitch, RectangleCountsAndSides) {
    geom::Path path;
    path.rectangle(-250, -250, 500, 500);
    const auto pts = geom::roundedStitch(path.first(), 20, 4);
    ASSERT_EQ(pts.size(), 4u * 242u + 4u * 16u);
    // Edge zigzags begin outside: the top edge's first point lies h above the edge.
    expectNear(pts[0], -237, -260);
    // The right edge's zigzag follows the top edge and the first corner; its first point lies
    // right of the edge (outside).
    const Point right0 = pts[242 + 16];
    EXPECT_NEAR(right0.x, 260, 1e-3);
    // The first corner begins inside.
    const Point corner0 = pts[242];
    EXPECT_LT(corner0.x, 250);
    EXPECT_GT(corner0.y, -250);
}

TEST(RoundedStitch, TriangleSlantedEdgesStartInsideBottomEdgeOutside) {
    geom::Path path;
    path.moveTo(0, -250);
    path.lineTo(250, 250);
    path.lineTo(-250, 250);
    path.close(false);
    const auto pts = geom::roundedStitch(path.first(), 20, 4);
    ASSERT_FALSE(pts.empty());
    // First edge (0,-250) -> (250,250): its first zigzag point lies on the inner (lower-left) side.
    const auto edge0 = geom::segmentSatin({0, -250}, {250, 250}, 20, 4);
    EXPECT_EQ(pts[0], edge0.zigzag[0]);
    const Point m0 = edge0.start[1] + (edge0.start[1] - edge0.start[0]);
    // The inner side of a down-right edge of this triangle is to the lower left: cross < 0.
    const Point d = Point{250, 500};
    const Point v = pts[0] - m0;
    EXPECT_GT(d.x * v.y - d.y * v.x, 0.0f);
    // Bottom edge (250,250) -> (-250,250): its zigzag starts below the edge (outside).
    const auto edge1 = geom::segmentSatin({250, 250}, {-250, 250}, 20, 4);
    EXPECT_NEAR(edge1.zigzag[0].y, 260, 1e-3);
}

TEST(RoundedStitch, DegenerateOutlines) {
    geom::Path zero;
    zero.rectangle(0, 0, 0, 0);
    EXPECT_TRUE(geom::roundedStitch(zero.first(), 20, 4).empty());
    // Density 0 keeps every point; coincident corners give single points, never NaN.
    const auto pts = geom::roundedStitch(zero.first(), 20, 0);
    EXPECT_TRUE(allFinite(pts));
    geom::Path flat;
    flat.moveTo(0, 0);
    flat.lineTo(0, 0);
    flat.lineTo(0, 0);
    flat.close(false);
    EXPECT_TRUE(allFinite(geom::roundedStitch(flat.first(), 20, 4)));
}
