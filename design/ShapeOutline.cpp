#include "design/ShapeOutline.h"

#include <algorithm>
#include <cmath>

#include "design/geometry/Satin.h"

namespace shapes {

const char* const kShapeNames[kShapeCount] = {
    "Line", "Triangle",       "Rectangle", "---", "Satin Line", "Sharp Triangle", "Sharp Rectangle",
    "---",  "Circle/Eclipse",
};

namespace {

// Typed sizes are taken as they are, except what no outline can use: non-finite values count as
// 0, and sizes are limited to 10 m so that a wild project value cannot ask for endless stitches.
constexpr float kMaxSizeCm = 1000.0f;

float finiteOrZero(float v) {
    if (!std::isfinite(v))
        return 0.0f;
    return std::clamp(v, -kMaxSizeCm, kMaxSizeCm);
}

}  // namespace

int shapeIndexFromName(const std::string& name) {
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '8')
        return name[0] - '0';
    for (int i = 0; i < kShapeCount; ++i) {
        if (name == kShapeNames[i] && name != "---")
            return i;
    }
    return -1;
}

bool isRoundedShape(int shapeIndex) {
    return shapeIndex == kTriangle || shapeIndex == kRectangle;
}

geom::Path buildShapeOutline(const LayerProperties& properties) {
    const float w = finiteOrZero(properties.width) * 100.0f;
    const float h = finiteOrZero(properties.height) * 100.0f;
    geom::Path path;
    switch (properties.shapeIndex) {
        case kLine:
        case kSatinLine:
            path.moveTo(-w / 2, 0);
            path.lineTo(w / 2, 0);
            break;
        case kTriangle:
            path.moveTo(0, -h / 2);
            path.lineTo(w / 2, h / 2);
            path.lineTo(-w / 2, h / 2);
            path.close(false);
            break;
        case kRectangle:
            path.rectangle(-w / 2, -h / 2, w, h);
            break;
        case kSharpTriangle:
            // Starts in the middle of the bottom edge, so the column's seam lies on a straight
            // edge.
            path.moveTo(0, h / 2);
            path.lineTo(-w / 2, h / 2);
            path.lineTo(0, -h / 2);
            path.lineTo(w / 2, h / 2);
            path.close(true);
            break;
        case kSharpRectangle:
            path.moveTo(0, -h / 2);
            path.lineTo(w / 2, -h / 2);
            path.lineTo(w / 2, h / 2);
            path.lineTo(-w / 2, h / 2);
            path.lineTo(-w / 2, -h / 2);
            path.close(true);
            break;
        case kLegacyEllipse:
        case kEllipse:
            path.arc(w / 2, h / 2, {0, 0}, 0, 360, kEllipseResolution, true);
            break;
        default:
            break;
    }
    return path;
}

std::vector<geom::Point> shapeStitchPoints(const LayerProperties& properties,
                                           const geom::NoticeSink& notice) {
    const geom::Path outline = buildShapeOutline(properties);
    const geom::Polyline& first = outline.first();
    if (first.points.size() < 2)
        return {};
    const float lineWidth = finiteOrZero(properties.lineWidth) * 100.0f;
    if (isRoundedShape(properties.shapeIndex)) {
        const float spacing = finiteOrZero(properties.density) * 10.0f;
        return geom::roundedStitch(first, lineWidth, spacing, notice);
    }
    return geom::columnStitch(first, lineWidth);
}

}  // namespace shapes
