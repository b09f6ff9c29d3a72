// How well a stitch path renders an outline: coverage of the outline by thread, thread outside
// it, and the stitch figures a machine cares about. Units 0.1 mm.
#pragma once

#include <string>
#include <vector>

#include "digitizer/Digitizer.h"

namespace digitizer {

struct Quality {
    // The outline rasterised at 0.1 mm, the stitches as thread 0.4 mm wide.
    int inkPixels = 0;
    double coverage = 1.0;  // share of the outline's pixels under thread
    double outside = 0.0;   // share of the thread's pixels more than 0.2 mm outside the outline
    int stitches = 0;       // visible stitches (lock stitches included)
    int shortStitches = 0;  // visible stitches under Params::minStitch, lock stitches excepted
    int satinStitches = 0;
    double minSpan = 0.0, maxSpan = 0.0;        // satin spans
    double minSpacing = 0.0, maxSpacing = 0.0;  // between parallel satin threads (medians kept
    double medianSpacing = 0.0;                 // apart from outliers at bends)
    double maxRun = 0.0;                        // longest running, fill or edge-run stitch
    int parts = 0;                              // connected parts of the outline
    int jumps = 0;  // movements inside the path (the entry movement not counted)
    int trims = 0;  // movements with a trim
};

// Rounds the path to whole 0.1 mm first, as it is stored.
Quality measure(const std::vector<Ring>& outline, const std::vector<Needle>& path,
                const Params& params = Params());

}  // namespace digitizer
