// Layered colour artwork to embroidery: an ordered stack of filled outlines, each with its
// colour (the first one painted first, as in a colour font or a drawing), becomes one stitch path
// per thread colour.
//
// What the stack shows is what gets sewn: every layer loses what the layers above it hide, except
// a narrow band (overlap) that keeps reaching under them so that neighbouring colours meet
// without a gap when the fabric pulls. Slivers narrower than thread can show and specks smaller
// than minArea are dropped, and whatever they hid stays with the layer below. Each colour is
// then sewn by digitize(): satin for narrow regions, running stitches for the narrowest, tatami
// fill for wide ones. Colours are matched to the nearest thread of the palette in CIELAB, and a
// layer whose thread equals that of an earlier run joins that run whenever no colour in between
// touches it, so equal neighbouring threads are one run.
//
// Units: coordinates 0.1 mm (x right, y down); areas in 0.01 mm². Pure geometry, no disk.
#pragma once

#include <vector>

#include "digitizer/Digitizer.h"
#include "formats/Stitch.h"

namespace digitizer {

struct ArtLayer {
    std::vector<Ring> outline;  // closed rings, filled by the non-zero rule
    Rgba color;
};

struct ArtParams {
    Params stitch = artworkStitchParams();
    double overlap = 3.0;   // how far a colour reaches under the colours above it
    double minWidth = 4.0;  // regions narrower than this everywhere are not sewn
    double minArea = 80.0;  // nor pieces smaller than this (0.01 mm²)

    // Stitch settings for artwork: fill rows square to the long side of elongated regions with
    // an underlay under them, lock stitches long enough to stay 0.3 mm when rounded to 0.1 mm.
    static Params artworkStitchParams();
};

// One thread's share of the design, in sewing order.
struct ColorRun {
    int thread = 0;            // palette index 1..64
    std::vector<Ring> region;  // the area the run covers (visible parts of its layers, overlap
                               // band included): outer rings and holes in Clipper orientation
    std::vector<Needle> path;  // starts with a movement (Jump) to its first needle point
};

// Runs for the stack, bottom layer first; the first run starts near entry, every later one near
// where the previous one ended. Layers that leave nothing visible give no run.
std::vector<ColorRun> digitizeArtwork(const std::vector<ArtLayer>& layers,
                                      const ArtParams& params = ArtParams(), Point entry = Point());

// The palette thread (1..64, appliqué entries excepted) nearest to a colour by CIELAB distance.
int nearestThread(Rgba color);

// Area of rings in Clipper orientation (holes count negative), in 0.01 mm².
double ringsArea(const std::vector<Ring>& rings);

}  // namespace digitizer
