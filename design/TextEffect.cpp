#include "design/TextEffect.h"

#include <cmath>

#include "design/geometry/Geometry.h"

namespace effects {

namespace {

using geom::kPi;
using geom::mapRange;

// The bend of one point: the x range x0..x1 is spread over the angles a0..a1, and the distance
// from the base line becomes the distance from the circle's centre.
struct Bend {
    float x0, x1, a0, a1, halfHeight, radius;

    void apply(int32_t& x, int32_t& y) const {
        const float t = mapRange(static_cast<float>(x), x0, x1, a0, a1);
        const float d = static_cast<float>(static_cast<double>(y) - halfHeight - radius);
        const float s = static_cast<float>(std::sin(static_cast<double>(t)));
        const float c = static_cast<float>(std::cos(static_cast<double>(t)));
        x = geom::truncToUnit(-s * d);
        y = geom::truncToUnit(c * d);
    }
};

}  // namespace

float baselineRadius(float radiusValue) {
    return mapRange(radiusValue, 0, 1, 0, 1500);
}

float baselineHalfAngle(float angleValue) {
    return mapRange(angleValue, 0, 1, 0, kPi);
}

float rotationAngle(float rotateValue) {
    return mapRange(rotateValue, 0, 1, -kPi, kPi);
}

void bendLayer(PESData& layer, int32_t oldBaselineIndex, BendKind kind) {
    auto& props = layer.properties;
    const int32_t baseline = props.baselineIndex;
    if (baseline != 1 && baseline != 2)
        return;

    if (oldBaselineIndex == 0) {
        // An arc of 120 degrees as long as the layer is wide: R = width * 3 / (2 pi).
        const double radius = static_cast<double>(layer.boundsWidth) * 3 / 6.283185307179586;
        props.radiusValue = mapRange(static_cast<float>(radius), 0, 1500, 0, 1);
        props.angleValue = kAutoAngleValue;
    }
    if (layer.stitchCount == 0)
        return;  // nothing to bend; the bounds are only placeholders

    float radius = baselineRadius(props.radiusValue);
    const float phi = baselineHalfAngle(props.angleValue);
    float a0 = -phi, a1 = phi;
    if (baseline == 2) {
        a0 = phi;
        a1 = -phi;
        radius = -(static_cast<float>(layer.boundsHeight) + radius);
    }
    const double margin = kind == BendKind::Text ? kTextBendMargin : 0;
    Bend bend;
    bend.x0 = static_cast<float>(layer.minX - margin);
    bend.x1 = static_cast<float>(layer.maxX + margin);
    bend.a0 = a0;
    bend.a1 = a1;
    bend.halfHeight = static_cast<float>(layer.boundsHeight * 0.5);
    bend.radius = radius;

    for (auto& block : layer.blocks) {
        for (auto& s : block.stitches)
            bend.apply(s.x, s.y);
    }
    if (kind == BendKind::Text) {
        for (auto& p : layer.framePoints)
            bend.apply(p.x, p.y);
    }
}

void rotateLayer(PESData& layer) {
    const double theta = rotationAngle(layer.properties.rotateValue);
    const float c = static_cast<float>(std::cos(theta));
    const float s = static_cast<float>(std::sin(theta));
    for (auto& block : layer.blocks) {
        for (auto& st : block.stitches) {
            const float x = static_cast<float>(st.x);
            const float y = static_cast<float>(st.y);
            st.x = geom::truncToUnit(x * c - y * s);
            st.y = geom::truncToUnit(x * s + y * c);
        }
    }
}

float rotationPreviewAngle(float sliderValue, float rotateValue) {
    return mapRange(sliderValue, 0, 1, -180, 180) - mapRange(rotateValue, 0, 1, -180, 180);
}

bool rebuildTextLayer(PESData& layer, const LayerProperties& newProperties,
                      int32_t oldBaselineIndex, const TextComposer& compose) {
    PESData before = layer;
    layer.properties = newProperties;
    const int32_t cx0 = layer.centerX;
    const int32_t cy0 = layer.centerY;

    if (!compose(layer)) {
        layer = std::move(before);
        return false;
    }
    layer.computeBounds();

    // The frame is taken from the straight text, so that the bend below gives it the same shape
    // as the letters. An empty layer has no bounds to frame.
    if (layer.stitchCount > 0) {
        layer.buildFramePoints();
    } else {
        layer.framePoints.clear();
    }
    layer.framePointsFollow = true;
    layer.translate(-layer.centerX, -layer.centerY);
    layer.computeBounds();

    layer.setColor(layer.properties.colorIndex);

    if (layer.properties.baselineIndex != 0) {
        bendLayer(layer, oldBaselineIndex, BendKind::Text);
        layer.computeBounds();
    }
    if (layer.properties.rotateValue != 0.5f) {
        rotateLayer(layer);
        layer.computeBounds();
    }
    if (layer.centerX != cx0 || layer.centerY != cy0) {
        // The layer goes back to its place; its frame stays centred on the origin, where the
        // border generator expects it.
        layer.framePointsFollow = false;
        layer.translate(cx0 - layer.centerX, cy0 - layer.centerY);
        layer.computeBounds();
    }
    return true;
}

void rebuildPESLayer(PESData& layer, const LayerProperties& newProperties, int32_t oldBaselineIndex,
                     int32_t cx0, int32_t cy0) {
    layer.properties = newProperties;
    layer.blocks = layer.sourceBlocks;
    layer.computeBounds();
    layer.translate(-layer.centerX, -layer.centerY);
    layer.computeBounds();

    layer.setColor(layer.properties.colorIndex);

    if (layer.properties.baselineIndex != 0) {
        bendLayer(layer, oldBaselineIndex, BendKind::Plain);
        layer.computeBounds();
    }
    if (layer.properties.rotateValue != 0.5f) {
        rotateLayer(layer);
        layer.computeBounds();
    }
    layer.translate(cx0 - layer.centerX, cy0 - layer.centerY);
    layer.computeBounds();
}

}  // namespace effects
