#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "design/ShapeLayer.h"
#include "design/ShapeOutline.h"
#include "formats/ThreadPalette.h"

using shapes::shapeProperties;

namespace {

LayerProperties shape(int index, float w = 5.0f, float h = 5.0f, float line = 0.2f,
                      float density = 0.4f, int color = 10) {
    return shapeProperties(index, w, h, line, density, color);
}

const std::vector<Stitch>& stitchesOf(const PESData& layer) {
    return layer.blocks.at(0).stitches;
}

bool noWildCoordinates(const PESData& layer) {
    for (const auto& b : layer.blocks) {
        for (const auto& s : b.stitches) {
            if (std::abs(int64_t{s.x}) > 100000 || std::abs(int64_t{s.y}) > 100000)
                return false;
        }
    }
    return true;
}

}  // namespace

TEST(ShapeOutline, TableOfOutlines) {
    struct Case {
        int index;
        std::size_t count;
        geom::Point first, last;
    };
    const Case cases[] = {
        {0, 2, {-250, 0}, {250, 0}},        {1, 3, {0, -150}, {-250, 150}},
        {2, 5, {-250, -150}, {-250, -150}}, {3, 65, {250, 0}, {250, 0}},
        {4, 2, {-250, 0}, {250, 0}},        {5, 5, {0, 150}, {0, 150}},
        {6, 6, {0, -150}, {0, -150}},       {7, 0, {0, 0}, {0, 0}},
        {8, 65, {250, 0}, {250, 0}},
    };
    for (const auto& c : cases) {
        const auto path = shapes::buildShapeOutline(shape(c.index, 5, 3));
        const auto& pts = path.first().points;
        ASSERT_EQ(pts.size(), c.count) << shapes::kShapeNames[c.index];
        if (c.count == 0)
            continue;
        EXPECT_NEAR(pts.front().x, c.first.x, 1e-3);
        EXPECT_NEAR(pts.front().y, c.first.y, 1e-3);
        EXPECT_NEAR(pts.back().x, c.last.x, 1e-3);
        EXPECT_NEAR(pts.back().y, c.last.y, 1e-3);
    }
    const auto ellipse = shapes::buildShapeOutline(shape(8, 5, 2)).first().points;
    EXPECT_NEAR(ellipse[16].x, 0, 1e-3);
    EXPECT_NEAR(ellipse[16].y, 100, 1e-3);
}

TEST(ShapeOutline, NamesAndNumbers) {
    EXPECT_EQ(shapes::shapeIndexFromName("Circle/Eclipse"), 8);
    EXPECT_EQ(shapes::shapeIndexFromName("Sharp Rectangle"), 6);
    EXPECT_EQ(shapes::shapeIndexFromName("3"), 3);
    EXPECT_EQ(shapes::shapeIndexFromName("---"), -1);
    EXPECT_EQ(shapes::shapeIndexFromName("9"), -1);
    EXPECT_EQ(shapes::shapeIndexFromName("Circle"), -1);
}

TEST(ShapeLayer, LineHas253StitchesStartingWithAMovement) {
    FormatLog log;
    const PESData layer = shapes::buildShapeLayer(shape(shapes::kLine), &log);
    ASSERT_EQ(layer.blocks.size(), 1u);
    const auto& s = stitchesOf(layer);
    ASSERT_EQ(s.size(), 253u);
    EXPECT_EQ(layer.stitchCount, 253);
    EXPECT_EQ(s[0].longForm, 1);
    EXPECT_EQ(s[0].x, -250);
    EXPECT_EQ(s[0].y, -10);
    EXPECT_EQ(s[1].longForm, 0);
    EXPECT_EQ(s[1].x, -250);
    EXPECT_EQ(s[2].y, 10);
    EXPECT_EQ(s.back().x, 250);
    EXPECT_EQ(s.back().y, 10);
    EXPECT_EQ(layer.minX, -250);
    EXPECT_EQ(layer.maxX, 250);
    EXPECT_EQ(layer.minY, -10);
    EXPECT_EQ(layer.maxY, 10);
    // Palette index = colorIndex for the block (the command recolours to colorIndex + 1).
    EXPECT_EQ(layer.blocks[0].colorIndex, 10);
    EXPECT_TRUE(layer.blocks[0].color == threadColor(10));
    ASSERT_GE(log.lines.size(), 2u);
    EXPECT_EQ(log.lines.front().text, "/////// Begin shape ////////");
    EXPECT_EQ(log.lines.back().text, "/////// End shape ////////");
}

TEST(ShapeLayer, RectangleZigzagAndCorners) {
    const PESData layer = shapes::buildShapeLayer(shape(shapes::kRectangle));
    const auto& s = stitchesOf(layer);
    ASSERT_EQ(s.size(), 1u + 4 * 242 + 4 * 16);
    // The top edge starts outside (h above), its first middle point at x = -238.
    EXPECT_EQ(s[1].x, -237);
    EXPECT_EQ(s[1].y, -260);
    EXPECT_EQ(s[2].y, -240);
    // After the top zigzag comes the first corner, whose pairs begin on the inner side.
    const Stitch& corner = s[1 + 242];
    EXPECT_LT(corner.x, 250);
    EXPECT_GT(corner.y, -250);
    // The right edge begins outside, h right of the edge.
    EXPECT_EQ(s[1 + 242 + 16].x, 260);
}

TEST(ShapeLayer, TriangleSides) {
    const auto pts = shapes::shapeStitchPoints(shape(shapes::kTriangle, 5, 5));
    ASSERT_FALSE(pts.empty());
    // First zigzag point of the slanted right edge lies inside the triangle: left of x = y / 2.
    // The right edge runs from (0, -250) to (250, 250); inside means x < (y + 250) / 2.
    EXPECT_LT(pts[0].x, (pts[0].y + 250) / 2);
    EXPECT_GT(pts[1].x, (pts[1].y + 250) / 2);
}

TEST(ShapeLayer, EllipseFromEitherIndexAndPlainEnds) {
    const PESData a = shapes::buildShapeLayer(shape(3, 20, 10));
    const PESData b = shapes::buildShapeLayer(shape(8, 20, 10));
    ASSERT_EQ(stitchesOf(a).size(), stitchesOf(b).size());
    for (std::size_t i = 0; i < stitchesOf(a).size(); ++i) {
        ASSERT_EQ(stitchesOf(a)[i], stitchesOf(b)[i]) << i;
    }
    // The column starts and ends at the seam (1000, 0) with plain ends: each end pair is square
    // to its own first or last chord, so the two ends tilt in opposite directions instead of
    // meeting in a mitre. (The outline runs clockwise on screen, so the left rail is outside.)
    const auto& s = stitchesOf(b);
    const std::size_t n = s.size();
    EXPECT_EQ(s[1].x, 1010);
    EXPECT_EQ(s[1].y, 1);
    EXPECT_EQ(s[2].x, 990);
    EXPECT_EQ(s[2].y, -1);
    EXPECT_EQ(s[n - 2].x, 1010);
    EXPECT_EQ(s[n - 2].y, -1);
    EXPECT_EQ(s[n - 1].x, 990);
    EXPECT_EQ(s[n - 1].y, 1);
}

TEST(ShapeLayer, DegenerateSizesStayFinite) {
    // A Line of width 0: the final rail pair at the origin plus the movement.
    const PESData line = shapes::buildShapeLayer(shape(0, 0, 0));
    ASSERT_EQ(stitchesOf(line).size(), 3u);
    for (const auto& s : stitchesOf(line)) {
        EXPECT_EQ(s.x, 0);
        EXPECT_EQ(s.y, 0);
    }
    // A Rectangle of size 0 keeps fewer than 3 points: an empty block.
    const PESData rect = shapes::buildShapeLayer(shape(2, 0, 0));
    ASSERT_EQ(rect.blocks.size(), 1u);
    EXPECT_TRUE(stitchesOf(rect).empty());
    EXPECT_EQ(rect.stitchCount, 0);
    // Shape 7 has no outline but still a layer with one empty block.
    const PESData none = shapes::buildShapeLayer(shape(7));
    ASSERT_EQ(none.blocks.size(), 1u);
    EXPECT_TRUE(stitchesOf(none).empty());
    // Degenerate or absurd inputs never give wild coordinates or crash.
    for (int index = 0; index < shapes::kShapeCount; ++index) {
        for (const auto& p : {shape(index, 0, 0, 0, 0), shape(index, 0, 5, 0.2f, 0),
                              shape(index, NAN, INFINITY, NAN, NAN), shape(index, 5, 0, 0.2f, 0.4f),
                              shape(index, -5, -5, -0.2f, -0.4f)}) {
            const PESData layer = shapes::buildShapeLayer(p);
            EXPECT_TRUE(noWildCoordinates(layer)) << index;
        }
    }
}

TEST(ShapeLayer, WildSizesAreBounded) {
    // Sizes from a damaged project file: limited to 10 m, so the stitch count stays finite.
    for (int index : {2, 8}) {
        const PESData layer = shapes::buildShapeLayer(shape(index, 1e30f, 1e30f, 0.2f, 1e-30f));
        EXPECT_GT(layer.stitchCount, 0) << index;
        EXPECT_LT(layer.stitchCount, 3000000) << index;
        EXPECT_LE(layer.maxX, 50100) << index;
        EXPECT_GE(layer.minX, -50100) << index;
    }
}

TEST(ShapeLayer, ParseShapeNumbers) {
    EXPECT_FLOAT_EQ(shapes::parseShapeNumber("5.0"), 5.0f);
    EXPECT_FLOAT_EQ(shapes::parseShapeNumber(" 0.25cm"), 0.25f);
    EXPECT_FLOAT_EQ(shapes::parseShapeNumber("-2"), -2.0f);
    EXPECT_FLOAT_EQ(shapes::parseShapeNumber("abc"), 0.0f);
    EXPECT_FLOAT_EQ(shapes::parseShapeNumber(""), 0.0f);
    EXPECT_FLOAT_EQ(shapes::parseShapeNumber("1e999"), 0.0f);
    EXPECT_FLOAT_EQ(shapes::parseShapeNumber("nan"), 0.0f);
}

TEST(ShapeLayer, RebuildKeepsCentreAndRotatesFromScratch) {
    PESData layer = shapes::buildShapeLayer(shape(shapes::kLine));
    layer.translate(300, 200);
    layer.computeBounds();
    ASSERT_EQ(layer.centerX, 300);

    LayerProperties turned = shape(shapes::kLine);
    turned.rotateValue = 0.75f;
    shapes::rebuildShapeLayer(layer, turned);
    EXPECT_EQ(layer.centerX, 300);
    EXPECT_EQ(layer.centerY, 200);
    EXPECT_EQ(layer.boundsHeight, 500);  // the line now runs vertically
    EXPECT_EQ(layer.boundsWidth, 20);

    // Rebuilding again with the same rotation gives the same stitches, not a double turn.
    const auto before = stitchesOf(layer);
    shapes::rebuildShapeLayer(layer, turned);
    EXPECT_EQ(stitchesOf(layer), before);
}

TEST(ShapeLayer, RebuildOntoCircleChoosesRadiusOnceFromStraight) {
    PESData layer = shapes::buildShapeLayer(shape(shapes::kLine));
    LayerProperties bent = layer.properties;
    bent.baselineIndex = 1;
    shapes::rebuildShapeLayer(layer, bent);
    // 500 units wide: R = 500 * 3 / 2pi = 238.7 units, stored as 0.159.
    EXPECT_NEAR(layer.properties.radiusValue, 500 * 3 / 6.283185307179586 / 1500, 1e-6);
    EXPECT_FLOAT_EQ(layer.properties.angleValue, 0.33333334f);
    EXPECT_EQ(layer.centerX, 0);
    EXPECT_EQ(layer.centerY, 0);
    // Later changes keep the stored radius.
    LayerProperties other = layer.properties;
    other.radiusValue = 0.4f;
    shapes::rebuildShapeLayer(layer, other);
    EXPECT_FLOAT_EQ(layer.properties.radiusValue, 0.4f);
}
