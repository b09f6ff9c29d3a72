// The digitizer: filled outlines in, a stitch path out. Pure geometry, no disk.
//
// Units: every coordinate is in 0.1 mm, x to the right, y downwards (design units). Outlines are
// closed rings in any orientation, filled by the non-zero rule (as TrueType outlines are), so a
// glyph's contours can be handed over as they come.
//
// Each connected part of the outline is sewn in one go: a running stitch along the part's medial
// axis goes out (underlay and travel at once), and satin stitches come back over it, their ribs
// joining the two nearest points of the outline on either side of the axis. A part whose stroke
// is wider than a satin may span is sewn as tatami fill after an edge run instead. Parts are
// joined by one jump with a trim, with lock stitches where a part starts and ends.
#pragma once

#include <cstdint>
#include <vector>

namespace digitizer {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

using Ring = std::vector<Point>;

// Kind of the stitch that ends at a needle point. Jump and Trim are movements without a visible
// stitch (Trim cuts the thread first).
enum class Kind : uint8_t { Run, Satin, Fill, EdgeRun, Lock, Jump, Trim };

struct Needle {
    Point p;
    Kind kind = Kind::Run;
};

struct Params {
    double satinSpacing = 3.6;     // distance between parallel satin threads along the column
    double minSatinSpan = 5.0;     // narrower strokes are sewn with a double running stitch
    double maxSatinSpan = 60.0;    // parts with wider strokes become fill
    double runLength = 20.0;       // underlay and travel stitch length
    double fillSpacing = 4.0;      // distance between tatami rows
    double fillLength = 30.0;      // tatami stitch length
    double minStitch = 3.0;        // shorter stitches are dropped (lock stitches excepted)
    double lockLength = 3.0;       // length of each of the two lock stitches
    double underlayInset = 2.5;    // underlay keeps this far inside the outline
    double maxRunStitch = 38.0;    // longer running, fill and edge-run stitches are split
    double maxSatinStitch = 68.0;  // longer satin stitches get a split penetration midway
    // Fill: the rows' direction in degrees (0 horizontal, 90 vertical, y downwards); with
    // fillAlongShape, rows of elongated parts run square to their long side instead. With
    // fillUnderlay, sparse rows across the top rows are sewn first, underlaySpacing apart.
    double fillAngle = 0.0;
    bool fillAlongShape = false;
    bool fillUnderlay = false;
    double underlaySpacing = 20.0;
    // When above 0: a part sewn as satin that covers less of itself than this (Quality.h) is
    // sewn as fill instead, if fill covers it better.
    double minSatinCoverage = 0.0;
    // When above 0: a part wider than this anywhere is filled, however narrow most of it is.
    double maxSatinWidth = 0.0;
};

// Stitches for the outline, starting near entry. The path starts with a movement to its first
// needle point (kind Jump) and has one Trim movement between parts that do not touch.
std::vector<Needle> digitize(const std::vector<Ring>& outline, const Params& params = Params(),
                             Point entry = Point());

// The outline as non-overlapping parts: each part is an outer ring followed by its holes, in
// Clipper's orientation (outer counter-clockwise in y-up terms). Used by the quality report too.
std::vector<std::vector<Ring>> outlineParts(const std::vector<Ring>& outline);

}  // namespace digitizer
