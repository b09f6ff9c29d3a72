#include "design/geometry/Satin.h"

#include <cmath>

#include "design/geometry/MedialPoints.h"

namespace geom {

namespace {

// Column stitching takes one zigzag pair per 4 units of centre length. A segment never takes more
// than this many pairs, whatever size was typed in.
constexpr float kMaxColumnPairs = 250000.0f;

// h * N1 and h * N2 for a zigzag step d (the side rule). A step along an axis starts on the left
// of the direction of travel (as seen on screen, y down) and every other step on the right; the
// second point of the pair lies on the other side.
void sideOffsets(Point d, float h, Point& first, Point& second) {
    Point left;
    if (d.x == 0.0f && d.y == 0.0f) {
        first = second = {0.0f, 0.0f};
        return;
    }
    if (d.x == 0.0f || d.y == 0.0f) {
        // Exact for axis steps: (0, +-h) or (+-h, 0).
        if (d.x == 0.0f) {
            left = {d.y > 0.0f ? h : -h, 0.0f};
        } else {
            left = {0.0f, d.x > 0.0f ? -h : h};
        }
        first = left;
        second = left * -1.0f;
        return;
    }
    const float len = length(d);
    left = {std::fabs(d.y) * h / len, std::fabs(d.x) * h / len};
    if (d.y < 0.0f)
        left.x = -left.x;
    if (d.x > 0.0f)
        left.y = -left.y;
    first = left * -1.0f;
    second = left;
}

// Point of the Bezier curve with the given control points at t (de Casteljau), in double.
Point bezier(const std::vector<Point>& control, double t) {
    std::vector<double> xs, ys;
    for (const auto& c : control) {
        xs.push_back(c.x);
        ys.push_back(c.y);
    }
    for (std::size_t level = control.size(); level > 1; --level) {
        for (std::size_t i = 0; i + 1 < level; ++i) {
            xs[i] = xs[i] + (xs[i + 1] - xs[i]) * t;
            ys[i] = ys[i] + (ys[i + 1] - ys[i]) * t;
        }
    }
    return {static_cast<float>(xs[0]), static_cast<float>(ys[0])};
}

}  // namespace

std::vector<Point> columnStitch(const Polyline& centre, float width) {
    std::vector<Point> out;
    const Rails rails = offsetRails(centre, width);
    if (rails.n < 2)
        return out;

    Point lastL, lastR;
    for (std::size_t k = 0; k + 1 < rails.n; ++k) {
        const Point l0 = rails.left.points[k], l1 = rails.left.points[k + 1];
        const Point r0 = rails.right.points[k], r1 = rails.right.points[k + 1];
        const Point mid0 = (l0 + r0) / 2.0f;
        const Point mid1 = (l1 + r1) / 2.0f;
        float count = std::trunc(length(mid0 - mid1) * 50.0f / 200.0f);
        if (!std::isfinite(count) || count < 0.0f)
            count = 0.0f;
        if (count > kMaxColumnPairs)
            count = kMaxColumnPairs;
        const int c = static_cast<int>(count);

        Point l = l0, r = r0;
        if (c > 0) {
            const Point dL = (l1 - l0) / count;
            const Point dR = (r1 - r0) / count;
            for (int i = 0; i < c; ++i) {
                out.push_back(l);
                out.push_back(r);
                l = l + dL;
                r = r + dR;
            }
        }
        lastL = l;
        lastR = r;
    }
    out.push_back(lastL);
    out.push_back(lastR);
    return out;
}

SegmentSatin segmentSatin(Point a, Point b, float width, float spacing, const NoticeSink& notice) {
    SegmentSatin result;
    if (std::fabs(a.x - b.x) < 1e-4f && std::fabs(a.y - b.y) < 1e-4f) {
        result.zigzag.push_back(a);
        return result;
    }
    MedialPoints medial = medialPoints(a, b, spacing, notice);
    if (medial.onePart) {
        result.zigzag = {a, b};
        return result;
    }
    result.start = std::move(medial.start);
    result.end = std::move(medial.end);
    const auto& middle = medial.middle;
    if (middle.size() < 2)
        return result;

    const Point step = middle[1] - middle[0];
    Point side1, side2;
    sideOffsets(step, width / 2.0f, side1, side2);
    const Point o1 = step / 4.0f + side1;
    const Point o2 = step * 3.0f / 4.0f + side2;
    result.zigzag.reserve(middle.size() * 2);
    for (const auto& m : middle) {
        result.zigzag.push_back(m + o1);
        result.zigzag.push_back(m + o2);
    }
    return result;
}

std::vector<Point> cornerStitch(const std::vector<Point>& previousEnd,
                                const std::vector<Point>& nextStart, float width) {
    std::vector<Point> out;
    std::vector<Point> control;
    if (previousEnd.size() >= 2 && nextStart.size() >= 2) {
        control = {previousEnd[0], previousEnd[1], nextStart[0], nextStart[1]};
    } else if (!previousEnd.empty() && !nextStart.empty()) {
        control = {previousEnd[0], nextStart[0]};
    } else {
        return out;
    }

    std::vector<Point> samples;
    for (double t = 0.0; t <= 1.0; t += kCurveStep)
        samples.push_back(bezier(control, t));

    const float h = width / 2.0f;
    for (std::size_t k = 0; k + 1 < samples.size(); ++k) {
        const Point p = samples[k];
        const Point d = samples[k + 1] - p;
        if (length(d) < 0.001f)
            continue;
        Point side1, side2;
        sideOffsets(d, h, side1, side2);
        out.push_back(p + d / 4.0f + side1);
        out.push_back(p + d * 3.0f / 4.0f + side2);
    }
    return out;
}

std::vector<Point> roundedStitch(const Polyline& outline, float width, float spacing,
                                 const NoticeSink& notice) {
    std::vector<Point> out;
    const auto& pts = outline.points;
    if (pts.size() < 2)
        return out;

    // Drop points crowding their predecessor, and the closing repeat of the first point.
    std::vector<Point> kept;
    if (pts.size() > 3) {
        kept.push_back(pts.front());
        for (std::size_t i = 1; i + 1 < pts.size(); ++i) {
            if (length(pts[i] - pts[i - 1]) >= spacing)
                kept.push_back(pts[i]);
        }
    } else {
        kept = pts;
    }
    if (kept.size() < 3)
        return out;

    std::vector<SegmentSatin> edges;
    edges.reserve(kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        edges.push_back(segmentSatin(kept[i], kept[(i + 1) % kept.size()], width, spacing, notice));
    }

    auto append = [&out](const std::vector<Point>& more) {
        out.insert(out.end(), more.begin(), more.end());
    };
    append(edges[0].zigzag);
    for (std::size_t i = 1; i < edges.size(); ++i) {
        append(cornerStitch(edges[i - 1].end, edges[i].start, width));
        append(edges[i].zigzag);
    }
    append(cornerStitch(edges.back().end, edges.front().start, width));
    return out;
}

}  // namespace geom
