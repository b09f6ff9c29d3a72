// Ways for the needle inside one connected part: along the part's medial axis, then pulled
// straight wherever a shorter line still stays inside and clear of the outline. A jump inside a
// part would leave a loose thread over the fabric, so the stitch planners move with these ways
// whenever the straight line between two places leaves the outline. Units 0.1 mm.
#pragma once

#include <vector>

#include "digitizer/MedialAxis.h"

namespace digitizer {

class Router {
public:
    // part and axis must outlive the router. The axis should be the unpruned medial graph: it is
    // connected for a connected part, and its edges lie inside.
    Router(const Part& part, const MGraph& axis);

    // A polyline from from to to (both included) whose segments stay inside the part; empty
    // when no way is found (the axis is broken into pieces, or an end sees no axis vertex).
    std::vector<Point> way(Point from, Point to) const;

private:
    // Whether the segment a-b stays inside and margin away from the outline, where the ends
    // allow it: near an end with clearance ca (cb) less is asked for.
    bool clear(Point a, double ca, Point b, double cb, double margin) const;
    // The axis way pts (clearances cl) pulled short.
    std::vector<Point> pull(const std::vector<Point>& pts, const std::vector<double>& cl) const;
    // Axis vertices that a straight inside line joins to p, nearest first, a few at most.
    std::vector<int> seen(Point p) const;

    const Part& part_;
    const MGraph& axis_;
    std::vector<std::vector<std::pair<int, double>>> next_;  // neighbour, edge length
    std::vector<int> usable_;  // vertices off the outline: ways enter and leave the axis there
};

}  // namespace digitizer
