#include "design/geometry/Geometry.h"

#include <cmath>
#include <cstdint>
#include <sstream>

namespace geom {

namespace {

float cross(Point u, Point v) {
    return u.x * v.y - u.y * v.x;
}

float squaredDistance(Point a, Point b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return dx * dx + dy * dy;
}

// Squared distance of p to the segment a-b: to the foot of the perpendicular when it falls on the
// segment, else to the nearer end point.
float squaredSegmentDistance(Point p, Point a, Point b) {
    const Point d = b - a;
    const float len2 = d.x * d.x + d.y * d.y;
    if (len2 == 0.0f)
        return squaredDistance(p, a);
    const float t = ((p.x - a.x) * d.x + (p.y - a.y) * d.y) / len2;
    if (t <= 0.0f)
        return squaredDistance(p, a);
    if (t >= 1.0f)
        return squaredDistance(p, b);
    return squaredDistance(p, a + d * t);
}

// Marks the point of first+1 .. last-1 farthest from the chord first-last when it lies beyond the
// tolerance, and repeats on both halves. An explicit stack keeps long arcs from recursing deeply.
void douglasPeucker(const std::vector<Point>& pts, float tolerance2, std::vector<bool>& keep) {
    std::vector<std::pair<std::size_t, std::size_t>> stack;
    stack.emplace_back(0, pts.size() - 1);
    while (!stack.empty()) {
        const auto [first, last] = stack.back();
        stack.pop_back();
        if (last <= first + 1)
            continue;
        float worst = -1.0f;
        std::size_t worstIndex = first;
        for (std::size_t i = first + 1; i < last; ++i) {
            const float d2 = squaredSegmentDistance(pts[i], pts[first], pts[last]);
            if (d2 > worst) {
                worst = d2;
                worstIndex = i;
            }
        }
        if (worst > tolerance2) {
            keep[worstIndex] = true;
            stack.emplace_back(first, worstIndex);
            stack.emplace_back(worstIndex, last);
        }
    }
}

// Intersection of the line p1-p2 with the line p3-p4 by the determinant formula. Returns false
// for (nearly) parallel lines, whose determinant is below 1e-10 in magnitude.
bool lineIntersection(Point p1, Point p2, Point p3, Point p4, Point& out) {
    const float den = (p1.x - p2.x) * (p3.y - p4.y) - (p1.y - p2.y) * (p3.x - p4.x);
    if (std::fabs(den) < 1e-10f)
        return false;
    const float a = p1.x * p2.y - p1.y * p2.x;
    const float b = p3.x * p4.y - p3.y * p4.x;
    out.x = (a * (p3.x - p4.x) - (p1.x - p2.x) * b) / den;
    out.y = (a * (p3.y - p4.y) - (p1.y - p2.y) * b) / den;
    return std::isfinite(out.x) && std::isfinite(out.y);
}

}  // namespace

float length(Point v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

void simplify(Polyline& line, float tolerance, const NoticeSink& notice) {
    auto& pts = line.points;
    if (notice)
        notice("Before simplify " + std::to_string(pts.size()));
    if (pts.size() > 2) {
        // Vertex reduction: drop points crowding the last kept one.
        const float tolerance2 = tolerance * tolerance;
        std::vector<Point> reduced;
        reduced.reserve(pts.size());
        reduced.push_back(pts.front());
        for (std::size_t i = 1; i + 1 < pts.size(); ++i) {
            if (squaredDistance(pts[i], reduced.back()) >= tolerance2)
                reduced.push_back(pts[i]);
        }
        reduced.push_back(pts.back());

        std::vector<bool> keep(reduced.size(), false);
        keep.front() = true;
        keep.back() = true;
        douglasPeucker(reduced, tolerance2, keep);

        pts.clear();
        for (std::size_t i = 0; i < reduced.size(); ++i) {
            if (keep[i])
                pts.push_back(reduced[i]);
        }
    }
    if (notice) {
        std::ostringstream line;
        line << "After simplify " << pts.size() << " tolerance=" << tolerance;
        notice(line.str());
    }
}

Rails offsetRails(const Polyline& centre, float width) {
    Rails rails;
    const auto& p = centre.points;
    const std::size_t n = p.size();
    if (n < 2)
        return rails;
    const float h = width / 2.0f;

    // Offset segments k: left from p[k] + hN to p[k+1] + hN, right with -hN.
    std::vector<Point> leftA(n - 1), leftB(n - 1), rightA(n - 1), rightB(n - 1);
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const Point d = p[k + 1] - p[k];
        const float len = length(d);
        Point normal{0.0f, 0.0f};
        if (len > 0.0f)
            normal = {d.y / len, -d.x / len};
        const Point off = normal * h;
        leftA[k] = p[k] + off;
        leftB[k] = p[k + 1] + off;
        rightA[k] = p[k] - off;
        rightB[k] = p[k + 1] - off;
    }

    rails.n = n;
    rails.left.closed = rails.right.closed = centre.closed;
    rails.left.points.resize(n);
    rails.right.points.resize(n);
    rails.left.points.front() = leftA.front();
    rails.right.points.front() = rightA.front();
    rails.left.points.back() = leftB.back();
    rails.right.points.back() = rightB.back();
    for (std::size_t j = 1; j + 1 < n; ++j) {
        // Mitred joint; parallel neighbours meet at the shared offset end point instead.
        Point joint;
        if (!lineIntersection(leftA[j - 1], leftB[j - 1], leftA[j], leftB[j], joint)) {
            joint = leftB[j - 1];
        }
        rails.left.points[j] = joint;
        if (!lineIntersection(rightA[j - 1], rightB[j - 1], rightA[j], rightB[j], joint)) {
            joint = rightB[j - 1];
        }
        rails.right.points[j] = joint;
    }
    return rails;
}

bool segmentsCross(Point a0, Point a1, Point b0, Point b1) {
    const Point dA = a1 - a0;
    const Point dB = b1 - b0;
    auto side = [](Point p, Point s0, Point ds) { return cross(ds, p - s0) < 0.0f; };
    return side(b0, a0, dA) != side(b1, a0, dA) && side(a0, b0, dB) != side(a1, b0, dB);
}

Point crossingPoint(Point a0, Point a1, Point b0, Point b1) {
    const Point dA = a1 - a0;
    const Point dB = b1 - b0;
    const float den = cross(dA, dB);
    const float ca = cross(dA, a0);
    const float cb = cross(dB, b0);
    return {(dB.x * ca - dA.x * cb) / den, (dB.y * ca - dA.y * cb) / den};
}

namespace {

int32_t clampToInt32(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace

int32_t roundToUnit(float v) {
    return clampToInt32(std::round(static_cast<double>(v)));
}

int32_t truncToUnit(float v) {
    return clampToInt32(std::trunc(static_cast<double>(v)));
}

float mapRange(float value, float in0, float in1, float out0, float out1) {
    if (std::fabs(in0 - in1) < 1.1920929e-7f)
        return out0;
    return (value - in0) / (in1 - in0) * (out1 - out0) + out0;
}

}  // namespace geom
