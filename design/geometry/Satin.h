// Satin stitching of outlines: the zigzag stitch points of a column of constant width laid along
// a polyline. Two styles:
//  - column stitching follows the outline with mitred corners, one zigzag pair per 4 units;
//  - rounded stitching zigzags along each edge of a closed loop at a given spacing and turns round
//    each corner on a Bezier curve.
//
// Units: design units (0.1 mm) in float; the caller rounds the points into stitches.
#pragma once

#include <vector>

#include "design/geometry/Geometry.h"

namespace geom {

// Column stitch points along `centre` for a column `width` wide: left, right, left, right, ...
// Empty for fewer than two points.
std::vector<Point> columnStitch(const Polyline& centre, float width);

// The satin of one straight edge A -> B of a rounded loop.
struct SegmentSatin {
    std::vector<Point> start;   // first two medial points (may be empty)
    std::vector<Point> zigzag;  // the stitch points of the edge
    std::vector<Point> end;     // last two medial points (may be empty)
};
SegmentSatin segmentSatin(Point a, Point b, float width, float spacing,
                          const NoticeSink& notice = {});

// The stitch points that turn from the end part of one edge to the start part of the next.
std::vector<Point> cornerStitch(const std::vector<Point>& previousEnd,
                                const std::vector<Point>& nextStart, float width);

// Rounded stitching of the loop through the points of `outline` (closed implicitly): the zigzag
// of each edge joined by rounded corners. Points crowding their predecessor closer than `spacing`
// are filtered out first; fewer than three remaining points give no stitches.
std::vector<Point> roundedStitch(const Polyline& outline, float width, float spacing,
                                 const NoticeSink& notice = {});

}  // namespace geom
