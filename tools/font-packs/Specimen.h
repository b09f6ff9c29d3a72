// Specimen sheets: stitch paths drawn as thread lines into a PNG, to look at the packs.
#pragma once

#include <string>
#include <vector>

#include "digitizer/Digitizer.h"

struct SpecimenItem {
    std::vector<digitizer::Needle> path;   // 0.1 mm, pen origin at (0, 0)
    std::vector<digitizer::Ring> outline;  // drawn in red when given
};

// Draws the glyphs in a grid (cell size from the largest glyph) and the composed lines below,
// at `scale` pixels per 0.1 mm. Visible stitches dark blue, the glyph origin as a grey tick,
// trims as short red marks. False when the PNG cannot be written.
bool writeSpecimen(const std::string& pngPath, const std::vector<SpecimenItem>& glyphs,
                   const std::vector<std::vector<digitizer::Needle>>& lines, double scale);

// Fills outlines (0.1 mm, y down, nonzero winding) in black on white at `scale` pixels per
// 0.1 mm, with a margin of 10 pixels around their bounds: text set from the outline font, to
// lay beside the same text in stitches. False when the PNG cannot be written.
bool writeFilledOutlines(const std::string& pngPath, const std::vector<digitizer::Ring>& rings,
                         double scale);
