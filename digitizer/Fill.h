// Tatami fill with an edge run, for parts too wide for satin, and the running stitches that
// move the needle inside a part. Units 0.1 mm.
#pragma once

#include <vector>

#include "digitizer/Part.h"

namespace digitizer {

// Running stitches along the polyline pts (its first point excluded), none longer than step.
void runAlong(const std::vector<Point>& pts, double step, Kind kind, std::vector<Needle>& out);

// Moves from the last needle to p inside the part: a straight running stitch when the way is
// inside, else along the nearest of rings (inset outlines) that joins both ends, else a jump.
void travel(const Part& part, Point p, const Params& prm, std::vector<Needle>& out,
            const std::vector<std::vector<Point>>& rings = {});

// An edge run just inside the outline, then rows of tatami, starting at start.
void fillPart(const Part& part, const Params& prm, Point start, std::vector<Needle>& out);

}  // namespace digitizer
