// Small made-up outlines and path queries shared by the digitizer's tests. Units 0.1 mm.
#pragma once

#include <cmath>
#include <vector>

#include "digitizer/Digitizer.h"

namespace digitizer_test {

using digitizer::Kind;
using digitizer::Needle;
using digitizer::Point;
using digitizer::Ring;

inline Ring rect(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

// n points round the circle; reverse gives the other winding (a hole).
inline Ring circle(double cx, double cy, double r, int n, bool reverse = false) {
    Ring ring;
    for (int i = 0; i < n; ++i) {
        double a = 2 * M_PI * (reverse ? n - i : i) / n;
        ring.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return ring;
}

// Needle points of one kind, the entry point not counted.
inline int count(const std::vector<Needle>& path, Kind k) {
    int n = 0;
    for (std::size_t i = 1; i < path.size(); ++i)
        n += path[i].kind == k;
    return n;
}

// Non-zero winding test of a point against rings.
inline bool insideOutline(const std::vector<Ring>& rings, Point p) {
    int wind = 0;
    for (const Ring& r : rings)
        for (std::size_t i = 0; i < r.size(); ++i) {
            Point a = r[i], b = r[(i + 1) % r.size()];
            if ((a.y <= p.y) != (b.y <= p.y)) {
                double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
                if (x > p.x)
                    wind += b.y > a.y ? 1 : -1;
            }
        }
    return wind != 0;
}

}  // namespace digitizer_test
