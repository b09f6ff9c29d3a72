// Small plane geometry shared by the digitizer's pieces. Units 0.1 mm, y downwards.
#pragma once

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

#include "digitizer/Digitizer.h"

namespace digitizer {

// Clipper and the Voronoi builder work on integers: 0.01 mm keeps curves smooth enough.
inline constexpr double kScale = 10.0;
inline constexpr double kPi = 3.14159265358979323846;

inline Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
inline Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
inline Point operator*(Point a, double s) {
    return {a.x * s, a.y * s};
}
inline double dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}
inline double cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}
inline double length(Point a) {
    return std::hypot(a.x, a.y);
}
inline double dist(Point a, Point b) {
    return length(a - b);
}
inline Point unit(Point a) {
    double l = length(a);
    return l > 1e-12 ? a * (1.0 / l) : Point{1.0, 0.0};
}

// A site of the Voronoi diagram: an outline segment, or one of its end points.
struct Site {
    Point a;
    Point b;
    bool point = false;
};

inline Point foot(const Site& s, Point p) {
    if (s.point)
        return s.a;
    Point d = s.b - s.a;
    double l2 = dot(d, d);
    if (l2 < 1e-12)
        return s.a;
    double t = std::clamp(dot(p - s.a, d) / l2, 0.0, 1.0);
    return s.a + d * t;
}

inline ClipperLib::IntPoint toInt(Point p) {
    return {ClipperLib::cInt(std::llround(p.x * kScale)),
            ClipperLib::cInt(std::llround(p.y * kScale))};
}

// Rings in Clipper units; rings of fewer than three points are left out.
inline ClipperLib::Paths toIntPaths(const std::vector<Ring>& rings) {
    ClipperLib::Paths out;
    for (const Ring& r : rings) {
        ClipperLib::Path p;
        for (Point q : r)
            p.push_back(toInt(q));
        if (p.size() >= 3)
            out.push_back(p);
    }
    return out;
}

}  // namespace digitizer
