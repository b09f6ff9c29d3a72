// The equal-step point generator of satin stitching: the points that divide the way from A to B
// into steps of a given spacing, split into a start part, a middle part and an end part.
//
// Units: design units (0.1 mm) in float.
#pragma once

#include <string>
#include <vector>

#include "design/geometry/Geometry.h"

namespace geom {

// The smallest step count: a way shorter than (kMedialMinSteps - 1) spacings is cut into this
// many equal steps.
constexpr int kMedialMinSteps = 7;
// Parameter step of the Bezier curves that round the corners of rounded satin.
constexpr double kCurveStep = 0.125;
// Upper bound on the steps of one way, so that a spacing typed as (nearly) nothing cannot make a
// generator allocate without end; the way is then cut into this many equal steps.
constexpr int kMedialMaxSteps = 100000;

struct MedialPoints {
    // A + i * step for i = 1 .. n: the first two form `start`, the last two `end`, the rest
    // `middle`. When the step is zero (A equals B, or the spacing is not positive) the points are
    // A and B alone, as one part: `onePart` is set, `middle` holds A and B, the others are empty.
    std::vector<Point> start;
    std::vector<Point> middle;
    std::vector<Point> end;
    bool onePart = false;
};

// Medial points of a -> b with the given spacing. Notices (an empty middle) go to `notice`.
MedialPoints medialPoints(Point a, Point b, float spacing, const NoticeSink& notice = {});

}  // namespace geom
