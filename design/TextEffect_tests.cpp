#include <gtest/gtest.h>

#include <cmath>

#include "design/TextEffect.h"
#include "design/geometry/Geometry.h"

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

// A block of stitches in a grid over the box, standing in for composed letters.
StitchBlock gridBlock(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t color = 11) {
    StitchBlock block;
    block.colorIndex = color;
    for (int i = 0; i <= 4; ++i) {
        for (int j = 0; j <= 2; ++j) {
            block.stitches.push_back({x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * j / 2});
        }
    }
    return block;
}

// Composes "text" as a 628 x 100 block placed away from the origin, as the composer may do.
effects::TextComposer composer628() {
    return [](PESData& layer) {
        layer.blocks.clear();
        layer.appendBlock(gridBlock(1000 - 314, 400 - 50, 1000 + 314, 400 + 50));
        return true;
    };
}

// Angle of p seen from the origin, measured from straight up, clockwise on screen, in degrees.
double angleFromUp(int32_t x, int32_t y) {
    return std::atan2(double(x), -double(y)) * kDegrees;
}

PESData centredLayer(const StitchBlock& block) {
    PESData layer;
    layer.appendBlock(block);
    layer.computeBounds();
    layer.translate(-layer.centerX, -layer.centerY);
    layer.computeBounds();
    return layer;
}

}  // namespace

TEST(TextEffect, RangesAndPreviewAngle) {
    EXPECT_FLOAT_EQ(effects::baselineRadius(0.2f), 300.0f);
    EXPECT_FLOAT_EQ(effects::baselineHalfAngle(1.0f), geom::kPi);
    EXPECT_FLOAT_EQ(effects::rotationAngle(0.5f), 0.0f);
    EXPECT_FLOAT_EQ(effects::rotationPreviewAngle(0.75f, 0.5f), 90.0f);
    EXPECT_NEAR(effects::rotationPreviewAngle(0.5f, 0.6f), -36.0f, 1e-4);
    EXPECT_FLOAT_EQ(effects::rotationPreviewAngle(0.3f, 0.3f), 0.0f);
}

TEST(TextEffect, AutomaticRadiusAndAngleFor628UnitText) {
    PESData layer = centredLayer(gridBlock(-314, -50, 314, 50));
    layer.buildFramePoints();
    layer.properties.baselineIndex = 1;
    effects::bendLayer(layer, 0, effects::BendKind::Text);
    EXPECT_NEAR(layer.properties.radiusValue, 0.2f, 1e-3);
    EXPECT_NEAR(effects::baselineRadius(layer.properties.radiusValue), 299.9f, 0.1f);
    EXPECT_FLOAT_EQ(layer.properties.angleValue, 0.33333334f);

    // The text's edges lie 20 units inside the frame: +-56.4 degrees; the frame spans +-60.
    const auto& s = layer.blocks[0].stitches;
    EXPECT_NEAR(angleFromUp(s.front().x, s.front().y), -56.4, 0.2);
    EXPECT_NEAR(angleFromUp(s.back().x, s.back().y), 56.4, 0.2);
    const auto& f = layer.framePoints;
    EXPECT_NEAR(angleFromUp(f[9].x, f[9].y), -60.0, 0.3);
    EXPECT_NEAR(angleFromUp(f[5].x, f[5].y), 60.0, 0.3);
    // The bottom edge of the text lies on the circle of radius R, upright on top of it.
    const auto bottomLeft = s[2];  // (-314, 50) before the bend
    // Within the truncation of both coordinates.
    EXPECT_NEAR(std::hypot(bottomLeft.x, bottomLeft.y), 299.9, 1.5);
    EXPECT_LT(bottomLeft.y, 0);
}

TEST(TextEffect, StoredRadiusUsedWhenAlreadyCircular) {
    PESData layer = centredLayer(gridBlock(-314, -50, 314, 50));
    layer.properties.baselineIndex = 2;
    layer.properties.radiusValue = 0.2f;
    layer.properties.angleValue = 0.25f;
    effects::bendLayer(layer, 1, effects::BendKind::Plain);
    EXPECT_FLOAT_EQ(layer.properties.radiusValue, 0.2f);
    EXPECT_FLOAT_EQ(layer.properties.angleValue, 0.25f);
    // Under the circle the top edge lands on radius R and the text hangs below, left to right.
    const auto& s = layer.blocks[0].stitches;
    const auto topLeft = s[0];  // (-314, -50)
    EXPECT_NEAR(std::hypot(topLeft.x, topLeft.y), 300, 1.0);
    EXPECT_GT(topLeft.y, 0);
    EXPECT_LT(topLeft.x, 0);
}

TEST(TextEffect, ZeroWidthLayerMapsToStartAngle) {
    PESData layer = centredLayer(gridBlock(0, -50, 0, 50));
    layer.properties.baselineIndex = 1;
    layer.properties.radiusValue = 0.2f;
    layer.properties.angleValue = 0.25f;
    effects::bendLayer(layer, 1, effects::BendKind::Plain);
    for (const auto& s : layer.blocks[0].stitches) {
        EXPECT_NEAR(angleFromUp(s.x, s.y), -45.0, 0.5);
    }
}

TEST(TextEffect, RotationQuarterTurnAndNeutralValue) {
    PESData layer;
    StitchBlock block;
    block.stitches = {{100, 0}, {-100, 0}, {0, 37}};
    layer.appendBlock(block);
    layer.properties.rotateValue = 0.75f;
    effects::rotateLayer(layer);
    const auto& s = layer.blocks[0].stitches;
    EXPECT_EQ(s[0].x, 0);
    EXPECT_EQ(s[0].y, 100);
    EXPECT_EQ(s[1].x, 0);
    EXPECT_EQ(s[1].y, -100);
    EXPECT_EQ(s[2].x, -37);
    EXPECT_EQ(s[2].y, 0);
}

TEST(TextEffect, TextRebuildKeepsCentreAndBendsFrame) {
    PESData layer;
    LayerProperties props;
    effects::rebuildTextLayer(layer, props, 0, composer628());
    // A fresh layer starts at the origin and stays there; straight, its stitches are exact.
    EXPECT_EQ(layer.centerX, 0);
    EXPECT_EQ(layer.minX, -314);
    ASSERT_EQ(layer.framePoints.size(), 10u);
    EXPECT_EQ(layer.framePoints[0].x, -334);
    EXPECT_EQ(layer.framePoints[0].y, -70);
    EXPECT_EQ(layer.blocks[0].colorIndex, 11);  // colorIndex 10 + 1

    // Move it, then bend it: it stays where it was; the frame stays centred on the origin.
    layer.translate(500, 300);
    layer.computeBounds();
    LayerProperties bent = props;
    bent.baselineIndex = 1;
    effects::rebuildTextLayer(layer, bent, 0, composer628());
    EXPECT_EQ(layer.centerX, 500);
    EXPECT_EQ(layer.centerY, 300);
    EXPECT_FALSE(layer.framePointsFollow);
    EXPECT_NEAR(layer.properties.radiusValue, 0.2f, 1e-3);
    const auto& f = layer.framePoints;
    EXPECT_NE(f[0].y, f[4].y + 1000);  // bent: the corners lie below the top middle
    EXPECT_GT(f[0].y, f[2].y);
    EXPECT_GT(f[4].y, f[2].y);
    EXPECT_EQ(f[0].x, -f[4].x);

    // The same properties again give the same stitches (nothing is bent twice).
    LayerProperties again = layer.properties;
    const auto stitches = layer.blocks[0].stitches;
    const auto frame = layer.framePoints;
    effects::rebuildTextLayer(layer, again, 1, composer628());
    EXPECT_EQ(layer.blocks[0].stitches, stitches);
    ASSERT_EQ(layer.framePoints.size(), frame.size());
    for (std::size_t i = 0; i < frame.size(); ++i)
        EXPECT_EQ(layer.framePoints[i], frame[i]);

    // Circle-bottom afterwards keeps the radius (the old base line was circular).
    LayerProperties bottom = layer.properties;
    bottom.baselineIndex = 2;
    effects::rebuildTextLayer(layer, bottom, 1, composer628());
    EXPECT_NEAR(layer.properties.radiusValue, 0.2f, 1e-3);
    EXPECT_FLOAT_EQ(layer.properties.angleValue, 0.33333334f);
    EXPECT_EQ(layer.centerX, 500);
    EXPECT_EQ(layer.centerY, 300);
}

TEST(TextEffect, TextRebuildRotatesOnceAndNeverFramesAnEmptyLayer) {
    PESData layer;
    LayerProperties props;
    props.rotateValue = 0.75f;
    effects::rebuildTextLayer(layer, props, 0, composer628());
    EXPECT_EQ(layer.boundsWidth, 100);
    EXPECT_EQ(layer.boundsHeight, 628);
    const auto once = layer.blocks[0].stitches;
    effects::rebuildTextLayer(layer, props, 0, composer628());
    EXPECT_EQ(layer.blocks[0].stitches, once);

    PESData empty;
    EXPECT_FALSE(effects::rebuildTextLayer(empty, props, 0, [](PESData&) { return false; }));
    EXPECT_TRUE(empty.framePoints.empty());
    EXPECT_TRUE(empty.blocks.empty());

    // A composer that succeeds without stitches (nothing printable) frames nothing.
    PESData blank;
    EXPECT_TRUE(effects::rebuildTextLayer(blank, props, 0, [](PESData&) { return true; }));
    EXPECT_TRUE(blank.framePoints.empty());
}

TEST(TextEffect, FailedCompositionLeavesTheLayerAsItWas) {
    PESData layer;
    LayerProperties props;
    props.baselineIndex = 1;
    props.rotateValue = 0.6f;
    ASSERT_TRUE(effects::rebuildTextLayer(layer, props, 0, composer628()));
    const PESData before = layer;
    LayerProperties next = layer.properties;
    next.text = "unprintable";
    EXPECT_FALSE(effects::rebuildTextLayer(layer, next, 1, [](PESData&) { return false; }));
    EXPECT_EQ(layer.blocks[0].stitches, before.blocks[0].stitches);
    EXPECT_EQ(layer.properties.text, before.properties.text);
    EXPECT_EQ(layer.centerX, before.centerX);
    ASSERT_EQ(layer.framePoints.size(), before.framePoints.size());
    for (std::size_t i = 0; i < before.framePoints.size(); ++i) {
        EXPECT_EQ(layer.framePoints[i], before.framePoints[i]);
    }
}

TEST(TextEffect, PESRebuildStartsFromSource) {
    PESData layer;
    layer.appendBlock(gridBlock(-200, -80, 200, 80, 5));
    layer.computeBounds();
    layer.sourceBlocks = layer.blocks;
    layer.translate(250, -40);
    layer.computeBounds();
    const int32_t cx = layer.centerX, cy = layer.centerY;

    // rotateValue 0.5 leaves the stitches exactly as in the source (moved back, nothing rounded).
    LayerProperties props = layer.properties;
    props.type = kLayerPES;
    props.colorIndex = 4;
    effects::rebuildPESLayer(layer, props, 0, cx, cy);
    for (std::size_t i = 0; i < layer.blocks[0].stitches.size(); ++i) {
        EXPECT_EQ(layer.blocks[0].stitches[i].x, layer.sourceBlocks[0].stitches[i].x + 250);
        EXPECT_EQ(layer.blocks[0].stitches[i].y, layer.sourceBlocks[0].stitches[i].y - 40);
    }
    EXPECT_EQ(layer.blocks[0].colorIndex, 5);

    // 0.6 then 0.7 ends at 0.7 from the source, not 0.6 plus 0.7.
    PESData direct = layer;
    props.rotateValue = 0.6f;
    effects::rebuildPESLayer(layer, props, 0, cx, cy);
    props.rotateValue = 0.7f;
    effects::rebuildPESLayer(layer, props, 0, cx, cy);
    effects::rebuildPESLayer(direct, props, 0, cx, cy);
    EXPECT_EQ(layer.blocks[0].stitches, direct.blocks[0].stitches);
    EXPECT_EQ(layer.centerX, cx);
    EXPECT_EQ(layer.centerY, cy);
}

TEST(TextEffect, ComposerWithoutResultCountsAsSuccess) {
    PESData layer;
    LayerProperties props;
    const bool built = effects::rebuildTextLayer(
        layer, props, 0, [](PESData& l) { l.appendBlock(gridBlock(-100, -20, 100, 20)); });
    EXPECT_TRUE(built);
    EXPECT_EQ(layer.boundsWidth, 200);
    EXPECT_FALSE(effects::rebuildTextLayer(layer, props, 0, effects::TextComposer()));
    EXPECT_EQ(layer.boundsWidth, 200);
}
