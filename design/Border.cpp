#include "design/Border.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "design/ShapeLayer.h"
#include "design/geometry/Satin.h"

namespace border {

namespace {

constexpr int kNotice = 1;
constexpr float kArcTolerance = 0.5f;

void notice(FormatLog* log, const std::string& text) {
    if (log)
        log->add(kNotice, "", text);
}

geom::Point toPoint(FramePoint p) {
    return {static_cast<float>(p.x), static_cast<float>(p.y)};
}

// v divided by its length; v itself when it has none.
geom::Point unit(geom::Point v) {
    const float len = geom::length(v);
    return len == 0.0f ? v : v / len;
}

// One arc in a path of its own, simplified, so that the flat stretches of a large radius do not
// carry more points than the column needs.
std::vector<geom::Point> simplifiedArc(float radius, geom::Point centre, float start, float end,
                                       int resolution, bool clockwise, FormatLog* log) {
    geom::Path path;
    path.arc(radius, radius, centre, start, end, resolution, clockwise);
    geom::NoticeSink sink;
    if (log)
        sink = [log](const std::string& text) { log->add(kNotice, "", text); };
    path.simplify(kArcTolerance, sink);
    return path.first().points;
}

// Whether the side segments a and b lie exactly on one line and point at each other.
bool sidesFaceOnOneLine(geom::Point a0, geom::Point a1, geom::Point b0, geom::Point b1) {
    const geom::Point dA = a1 - a0;
    const geom::Point dB = b1 - b0;
    auto cross = [](geom::Point u, geom::Point v) { return u.x * v.y - u.y * v.x; };
    if (dA == geom::Point{} || dB == geom::Point{} || a0 == b0)
        return false;
    return cross(dA, b0 - a0) == 0.0f && cross(dA, dB) == 0.0f &&
           dA.x * dB.x + dA.y * dB.y < 0.0f && dA.x * (b0 - a0).x + dA.y * (b0 - a0).y > 0.0f;
}

}  // namespace

float arcHalfSpanDegrees(float angleValue) {
    return geom::mapRange(angleValue, 0, 1, 1, 179);
}

int arcResolution(float halfSpanDegrees) {
    const float k = std::isfinite(halfSpanDegrees) ? halfSpanDegrees : 0.0f;
    // Clamped above as well, so that a wild angle cannot ask for an endless arc.
    return static_cast<int>(std::clamp(std::trunc(k), 60.0f, 3600.0f));
}

geom::Path borderOutline(const std::vector<FramePoint>& frame, int32_t baselineIndex,
                         float angleValue, FormatLog* log) {
    geom::Path outline;
    if (frame.size() < kFramePointCount)
        return outline;
    geom::Point p[kFramePointCount];
    for (std::size_t i = 0; i < kFramePointCount; ++i)
        p[i] = toPoint(frame[i]);

    if (baselineIndex == 1 || baselineIndex == 2) {
        // The frame's sides point at the circle's centre: on top of the circle they run down from
        // the top corners, under it they run up from the bottom corners.
        const bool top = baselineIndex == 1;
        const geom::Point l0 = top ? p[0] : p[9], l1 = top ? p[9] : p[0];
        const geom::Point r0 = top ? p[4] : p[5], r1 = top ? p[5] : p[4];
        const geom::Point lEnd = l0 + unit(l1 - l0) * kSideReach;
        const geom::Point rEnd = r0 + unit(r1 - r0) * kSideReach;
        // A text bent over exactly half a circle has both sides on one line, facing each other;
        // lines that coincide do not cross, but the centre is plainly half-way between them.
        const bool facingOnOneLine = sidesFaceOnOneLine(l0, lEnd, r0, rEnd);
        if (facingOnOneLine || geom::segmentsCross(l0, lEnd, r0, rEnd)) {
            notice(log, "Intersect");
            const geom::Point c =
                facingOnOneLine ? (l0 + r0) / 2.0f : geom::crossingPoint(l0, lEnd, r0, rEnd);
            const float k = arcHalfSpanDegrees(angleValue);
            const int resolution = arcResolution(k);
            const float r1 = geom::length(c - p[2]);
            const float r2 = geom::length(c - p[7]);
            // Angles are clockwise on screen: 270 points up from the centre, 90 down.
            const float mid = top ? 270.0f : 90.0f;
            const float side = top ? k : -k;
            std::vector<geom::Point> arcs[3] = {
                simplifiedArc(r1, c, mid, mid + side, resolution, top, log),
                simplifiedArc(r2, c, mid + side, mid - side, resolution, !top, log),
                simplifiedArc(r1, c, mid - side, mid, resolution, top, log),
            };
            bool first = true;
            for (const auto& arc : arcs) {
                for (const auto& q : arc) {
                    if (first) {
                        outline.moveTo(q.x, q.y);
                        first = false;
                    } else {
                        outline.lineTo(q.x, q.y);
                    }
                }
            }
            outline.close(false);
            return outline;
        }
        notice(log, "Not Intersect");
    }

    // The frame rectangle, from the middle of its top edge, clockwise.
    outline.moveTo(p[2].x, p[2].y);
    for (int i : {4, 5, 9, 0, 2})
        outline.lineTo(p[i].x, p[i].y);
    outline.close(false);
    return outline;
}

LayerProperties borderProperties(const PESData& text, int32_t colorIndex) {
    LayerProperties props;
    props.type = kLayerPES;
    props.text = "Text";
    props.typeName = "PES Stitch";
    props.fontIndex = 0;
    props.fontSizeIndex = 0;
    props.colorIndex = colorIndex;
    props.baselineIndex = text.properties.baselineIndex;
    props.radiusValue = text.properties.radiusValue;
    props.angleValue = text.properties.angleValue;
    props.rotateValue = text.properties.rotateValue;
    props.shapeIndex = 6;
    const auto& f = text.framePoints;
    if (f.size() >= kFramePointCount) {
        // Whole centimetres: the mean of the top and bottom widths, and the height.
        const int64_t widths =
            std::llabs(int64_t{f[5].x} - f[9].x) + std::llabs(int64_t{f[4].x} - f[0].x);
        props.width = static_cast<float>(widths / 200);
        props.height = static_cast<float>(std::llabs(int64_t{f[2].y} - f[7].y) / 100);
    }
    return props;
}

bool buildBorderLayer(const PESData& text, int32_t colorIndex, PESData& out, FormatLog* log) {
    if (text.framePoints.size() < kFramePointCount)
        return false;
    const auto& tp = text.properties;
    geom::Path outline = borderOutline(text.framePoints, tp.baselineIndex, tp.angleValue, log);
    std::vector<geom::Point> points = outline.first().points;

    if (tp.rotateValue != 0.5f) {
        const float theta = geom::mapRange(tp.rotateValue, 0, 1, -geom::kPi, geom::kPi);
        const float c = std::cos(theta);
        const float s = std::sin(theta);
        for (auto& q : points)
            q = {q.x * c - q.y * s, q.x * s + q.y * c};
    }

    PESData layer;
    layer.properties = borderProperties(text, colorIndex);
    notice(log, "/////// Begin border ////////");
    geom::Polyline centre;
    centre.points = std::move(points);
    const std::vector<geom::Point> stitches = centre.points.size() >= 2
                                                  ? geom::columnStitch(centre, kBorderWidth)
                                                  : std::vector<geom::Point>{};
    notice(log, "/////// End border ////////");
    shapes::addSatinBlock(layer, stitches, colorIndex);

    layer.translate(text.centerX - layer.centerX, text.centerY - layer.centerY);
    layer.computeBounds();
    layer.sourceBlocks = layer.blocks;
    out = std::move(layer);
    return true;
}

}  // namespace border
