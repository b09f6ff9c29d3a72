// A connected part of an outline: an outer ring and its holes, with the queries the stitch
// planners ask of it (inside, rays, clearance). Units 0.1 mm.
#pragma once

#include <utility>
#include <vector>

#include "digitizer/Geometry.h"

namespace digitizer {

// A connected part: outer ring first, then its holes.
struct Part {
    std::vector<Ring> rings;
    std::vector<ClipperLib::Path> paths;  // the same rings in Clipper units
    std::vector<Site> segments;           // every ring edge

    bool inside(Point p) const {
        ClipperLib::IntPoint ip = toInt(p);
        if (paths.empty() || ClipperLib::PointInPolygon(ip, paths[0]) == 0)
            return false;
        for (std::size_t i = 1; i < paths.size(); ++i)
            if (ClipperLib::PointInPolygon(ip, paths[i]) == 1)
                return false;
        return true;
    }
    // Whether the straight line from a to b stays inside (checked every 0.5 mm).
    bool lineInside(Point a, Point b) const {
        int n = std::max(2, int(dist(a, b) / 5.0) + 1);
        for (int i = 0; i <= n; ++i)
            if (!inside(a + (b - a) * (double(i) / n)))
                return false;
        return true;
    }
    // The stretches of the line p + l·n (n a unit vector) that lie inside, as sorted intervals
    // of l.
    std::vector<std::pair<double, double>> chords(Point p, Point n) const {
        std::vector<double> ls;
        for (const Site& s : segments) {
            double sa = cross(n, s.a - p), sb = cross(n, s.b - p);
            if ((sa > 0.0) == (sb > 0.0))
                continue;
            Point x = s.a + (s.b - s.a) * (sa / (sa - sb));
            ls.push_back(dot(x - p, n));
        }
        std::sort(ls.begin(), ls.end());
        std::vector<std::pair<double, double>> out;
        for (std::size_t i = 0; i + 1 < ls.size(); i += 2)
            out.push_back({ls[i], ls[i + 1]});
        return out;
    }
    // Distance to the nearest outline segment.
    double clearance(Point p) const {
        double best = std::numeric_limits<double>::max();
        for (const Site& s : segments)
            best = std::min(best, dist(p, foot(s, p)));
        return best;
    }
    Point nearestVertex(Point p) const {
        Point best = rings[0][0];
        for (const Ring& r : rings)
            for (Point q : r)
                if (dist(q, p) < dist(best, p))
                    best = q;
        return best;
    }
};

// The outline as non-overlapping parts (Clipper union by the non-zero rule).
std::vector<Part> makeParts(const std::vector<Ring>& outline);

}  // namespace digitizer
