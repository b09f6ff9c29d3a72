// The bare spots a stitch path leaves in a part: where junctions, crossings and odd stroke ends
// are not reached by any satin rib. Units 0.1 mm.
#pragma once

#include <vector>

#include "digitizer/Part.h"
#include "digitizer/Router.h"

namespace digitizer {

// The regions of part farther than threadRadius from every covering stitch of path, without
// slivers narrower than minWidth and without regions smaller than minArea (0.01 mm²).
std::vector<Part> uncovered(const Part& part, const std::vector<Needle>& path, double threadRadius,
                            double minWidth, double minArea);

// A bare spot sewn as a small satin: parallel stitches across its narrow side, stepped a satin
// spacing along its long side, so that it reads as one more column rather than a tangle. Starts
// near from; moves between the spot's pieces with travel inside the whole part.
std::vector<Needle> sewSpot(const Part& spot, const Params& prm, Point from, const Part& part,
                            const Router& router);

}  // namespace digitizer
