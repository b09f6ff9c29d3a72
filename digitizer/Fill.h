// Tatami fill with an edge run, for parts too wide for satin, and the running stitches that
// move the needle inside a part. Units 0.1 mm.
#pragma once

#include <vector>

#include "digitizer/Part.h"
#include "digitizer/Router.h"

namespace digitizer {

// Running stitches along the polyline pts (its first point excluded), none longer than step.
void runAlong(const std::vector<Point>& pts, double step, Kind kind, std::vector<Needle>& out);

// Moves from the last needle to p inside the part: a straight running stitch when the way is
// inside, else running stitches along the router's way. Only when no way is found (a broken
// medial axis, or no router given) does the needle jump.
void travel(const Part& part, Point p, const Params& prm, std::vector<Needle>& out,
            const Router* router = nullptr);

// An edge run just inside the outline, then blocks of tatami rows, starting at start. Movements
// between them go along router's ways; without a router, fillPart makes its own from the part's
// medial axis.
void fillPart(const Part& part, const Params& prm, Point start, std::vector<Needle>& out,
              const Router* router = nullptr);

}  // namespace digitizer
