#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "design/Border.h"
#include "design/TextEffect.h"

namespace {

// A stand-in for a composed text: a few stitches spanning the given box, framed like a text layer
// (frame 20 units outside the bounds).
PESData textLayer(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    PESData layer;
    StitchBlock block;
    block.colorIndex = 11;
    for (int32_t x = x0; x <= x1; x += (x1 - x0) / 8) {
        block.stitches.push_back({x, y0});
        block.stitches.push_back({x, y1});
    }
    layer.appendBlock(block);
    layer.computeBounds();
    layer.buildFramePoints();
    return layer;
}

bool hasLine(const FormatLog& log, const std::string& text) {
    for (const auto& l : log.lines) {
        if (l.text == text)
            return true;
    }
    return false;
}

}  // namespace

TEST(Border, StraightTextGetsFrameRectangle) {
    const PESData text = textLayer(-300, -100, 300, 100);
    ASSERT_EQ(text.framePoints.size(), 10u);
    EXPECT_EQ(text.framePoints[0].x, -320);
    EXPECT_EQ(text.framePoints[0].y, -120);
    EXPECT_EQ(text.framePoints[5].x, 320);
    EXPECT_EQ(text.framePoints[5].y, 120);

    const geom::Path outline = border::borderOutline(text.framePoints, 0, 0.1f);
    const auto& pts = outline.first().points;
    ASSERT_EQ(pts.size(), 6u);
    EXPECT_EQ(pts[0], (geom::Point{0, -120}));
    EXPECT_EQ(pts[1], (geom::Point{320, -120}));
    EXPECT_EQ(pts[3], (geom::Point{-320, 120}));
    EXPECT_EQ(pts[5], pts[0]);

    FormatLog log;
    PESData layer;
    ASSERT_TRUE(border::buildBorderLayer(text, 4, layer, &log));
    EXPECT_EQ(layer.properties.type, kLayerPES);
    EXPECT_EQ(layer.properties.typeName, "PES Stitch");
    EXPECT_EQ(layer.properties.shapeIndex, 6);
    EXPECT_FLOAT_EQ(layer.properties.width, 6.0f);
    EXPECT_FLOAT_EQ(layer.properties.height, 2.0f);
    EXPECT_EQ(layer.properties.colorIndex, 4);
    // A 20-unit column centred on the frame, starting above (0, -120).
    const auto& s = layer.blocks.at(0).stitches;
    EXPECT_EQ(s[0].longForm, 1);
    EXPECT_EQ(s[0].x, 0);
    EXPECT_EQ(s[0].y, -130);
    EXPECT_EQ(s[2].x, 0);
    EXPECT_EQ(s[2].y, -110);
    EXPECT_EQ(layer.minX, -330);
    EXPECT_EQ(layer.maxX, 330);
    EXPECT_EQ(layer.minY, -130);
    EXPECT_EQ(layer.maxY, 130);
    EXPECT_EQ(layer.blocks[0].colorIndex, 4);
    EXPECT_EQ(layer.sourceBlocks.size(), 1u);
    EXPECT_TRUE(hasLine(log, "/////// Begin border ////////"));
    EXPECT_TRUE(hasLine(log, "/////// End border ////////"));
}

TEST(Border, CentredOnTheTextEvenWhenFrameIsAtOrigin) {
    PESData text = textLayer(-300, -100, 300, 100);
    // As after a rebuild that moved the text back to its place: stitches moved, frame not.
    text.framePointsFollow = false;
    text.translate(500, -200);
    text.computeBounds();
    PESData layer;
    ASSERT_TRUE(border::buildBorderLayer(text, 4, layer));
    EXPECT_EQ(layer.centerX, text.centerX);
    EXPECT_EQ(layer.centerY, text.centerY);
}

TEST(Border, LayerWithoutFramePointsGetsNone) {
    PESData pes;
    pes.properties.type = kLayerPES;
    PESData out;
    out.properties.text = "untouched";
    EXPECT_FALSE(border::buildBorderLayer(pes, 4, out));
    EXPECT_EQ(out.properties.text, "untouched");
    EXPECT_TRUE(border::borderOutline({}, 1, 0.5f).first().points.empty());
}

TEST(Border, ArcSpanAndResolution) {
    EXPECT_FLOAT_EQ(border::arcHalfSpanDegrees(0.5f), 90.0f);
    EXPECT_EQ(border::arcResolution(90.0f), 90);
    EXPECT_EQ(border::arcResolution(border::arcHalfSpanDegrees(0.1f)), 60);
    EXPECT_EQ(border::arcResolution(NAN), 60);
}

TEST(Border, BentTextGetsAnnularSector) {
    // A text bent onto the top of a circle of radius 450 around the origin, half span 72 degrees.
    PESData text = textLayer(-300, -100, 300, 100);
    text.properties.baselineIndex = 1;
    text.properties.radiusValue = 0.3f;
    text.properties.angleValue = 0.4f;
    text.translate(-text.centerX, -text.centerY);
    text.computeBounds();
    effects::bendLayer(text, 1, effects::BendKind::Text);
    text.computeBounds();
    // The top edge's middle lands 670 above the centre, the bottom edge's 430.
    ASSERT_EQ(text.framePoints[2].y, -670);
    ASSERT_EQ(text.framePoints[7].y, -430);

    // Arcs of K = 90 degrees (angleValue 0.5) around the crossing of the sides.
    FormatLog log;
    const geom::Path outline = border::borderOutline(text.framePoints, 1, 0.5f, &log);
    EXPECT_TRUE(hasLine(log, "Intersect"));
    EXPECT_FALSE(hasLine(log, "Not Intersect"));
    const auto& pts = outline.first().points;
    ASSERT_GT(pts.size(), 10u);
    EXPECT_NEAR(pts.front().x, 0, 1.0);
    EXPECT_NEAR(pts.front().y, -670, 1.0);
    EXPECT_NEAR(pts.back().x, pts.front().x, 1e-3);
    EXPECT_NEAR(pts.back().y, pts.front().y, 1e-3);
    // The truncated frame points put the crossing of the sides a little off the origin.
    std::size_t outer = 0, inner = 0;
    float maxX = -1e9f;
    for (const auto& p : pts) {
        const float r = geom::length(p);
        if (std::fabs(r - 670) < 3.0f)
            ++outer;
        if (std::fabs(r - 430) < 3.0f)
            ++inner;
        maxX = std::max(maxX, p.x);
    }
    EXPECT_EQ(outer + inner, pts.size());
    EXPECT_GT(inner, 2u);
    // K = 90: the outer arc runs down to the level of the centre, (670, 0).
    EXPECT_NEAR(maxX, 670, 3.0);

    PESData layer;
    ASSERT_TRUE(border::buildBorderLayer(text, 4, layer));
    EXPECT_GT(layer.stitchCount, 100);
    EXPECT_EQ(layer.centerX, text.centerX);
    EXPECT_EQ(layer.centerY, text.centerY);
}

TEST(Border, HalfCircleTextUsesTheCentreBetweenItsSides) {
    // angleValue 0.5 bends the text over +-90 degrees: both frame sides lie on the x axis, facing
    // each other. The arcs still go round the circle's centre.
    PESData text = textLayer(-300, -100, 300, 100);
    text.properties.baselineIndex = 1;
    text.properties.radiusValue = 0.3f;
    text.properties.angleValue = 0.5f;
    effects::bendLayer(text, 1, effects::BendKind::Text);
    ASSERT_EQ(text.framePoints[0].y, 0);
    ASSERT_EQ(text.framePoints[4].y, 0);
    FormatLog log;
    const auto pts = border::borderOutline(text.framePoints, 1, 0.5f, &log).first().points;
    EXPECT_TRUE(hasLine(log, "Intersect"));
    EXPECT_FALSE(hasLine(log, "Not Intersect"));
    for (const auto& p : pts) {
        const float r = geom::length(p);
        EXPECT_TRUE(std::fabs(r - 670) < 1.0f || std::fabs(r - 430) < 1.0f) << p.x << "," << p.y;
        EXPECT_LE(p.y, 0.5f);
    }
}

TEST(Border, UnderTheCircleUsesTheBottomCorners) {
    PESData text = textLayer(-300, -100, 300, 100);
    text.properties.baselineIndex = 2;
    text.properties.radiusValue = 0.3f;
    text.properties.angleValue = 0.4f;
    effects::bendLayer(text, 2, effects::BendKind::Text);
    text.computeBounds();
    FormatLog log;
    const auto pts = border::borderOutline(text.framePoints, 2, 0.4f, &log).first().points;
    ASSERT_TRUE(hasLine(log, "Intersect"));
    // The text hangs under the circle: everything lies below its centre, starting on the inner
    // arc straight below it.
    for (const auto& p : pts)
        EXPECT_GT(p.y, 0.0f);
    EXPECT_NEAR(pts.front().x, 0, 1.0);
}

TEST(Border, NearlyStraightArcFallsBackToRectangle) {
    // Sides that are parallel (a straight frame treated as circular) do not meet.
    const PESData text = textLayer(-300, -100, 300, 100);
    FormatLog log;
    const auto pts = border::borderOutline(text.framePoints, 2, 0.5f, &log).first().points;
    EXPECT_TRUE(hasLine(log, "Not Intersect"));
    ASSERT_EQ(pts.size(), 6u);
    EXPECT_EQ(pts[0], (geom::Point{0, -120}));
}

TEST(Border, RotatedTextTurnsTheRectangle) {
    PESData text = textLayer(-300, -100, 300, 100);
    text.properties.rotateValue = 0.75f;
    PESData layer;
    ASSERT_TRUE(border::buildBorderLayer(text, 4, layer));
    // Turned by 90 degrees: tall instead of wide, still centred on the text.
    EXPECT_EQ(layer.boundsWidth, 260);
    EXPECT_EQ(layer.boundsHeight, 660);
    EXPECT_EQ(layer.centerX, text.centerX);
    EXPECT_EQ(layer.centerY, text.centerY);
    // The first stitch: (0, -130) turned clockwise on screen by 90 degrees is (130, 0).
    EXPECT_EQ(layer.blocks[0].stitches[0].x, 130);
    EXPECT_EQ(layer.blocks[0].stitches[0].y, 0);
}
