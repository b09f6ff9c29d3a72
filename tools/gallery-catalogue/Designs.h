// The designs of the cloud gallery's catalogue, built from our own stitch fonts, shapes, borders
// and text effects: Thai wishes, Latin monograms, names and greetings, frames and shapes.
//
// Pure code: the stitch fonts are read through the FontEnv, nothing is written. make-gallery
// (main.cpp) turns each design into its server file and its thumbnail.
//
// Units: text sizes are the font's size numbers (mm from the base line to the top of ก), shape
// sizes cm, everything else design units (0.1 mm). Colours are thread palette indexes (1..64).
#pragma once

#include <string>
#include <vector>

#include "design/PESData.h"
#include "stitchfont/FontEnv.h"

namespace catalogue {

struct Design {
    // Folder below the catalogue, "/" between sub-folders (UTF-8), e.g. "คำอวยพร/ปีใหม่".
    std::string folder;
    // File name without extension (UTF-8; may hold spaces).
    std::string name;
    // The stitches, one layer.
    PESData layer;
    // Served as a "#MIVO" buffer instead of a PES file (under the same ".pes" name).
    bool mivo = false;
};

// Every design of the catalogue, in a fixed order. Throws std::runtime_error naming the design
// when a text cannot be composed (a missing pack or glyph), so that a catalogue is never made
// with holes in it.
std::vector<Design> buildCatalogue(const FontEnv& env);

// ---- The building blocks, exposed for tests.

struct TextStyle {
    int font = 0;      // font index 0..14
    int sizeMm = 10;   // one of the font's size numbers
    int color = 5;     // palette index
    int baseline = 0;  // 0 straight, 1 on a circle, 2 under a circle (an arc of 120 degrees)
    int border = 0;    // palette index of a border around the text, 0 for none
};

// One line of text in a style, centred on the origin (with its border merged in, under the
// letters, when the style asks for one).
PESData text(const std::string& utf8, const TextStyle& style, const FontEnv& env);

// A generated shape centred on the origin: kind as the tool box's shape index, sizes in cm,
// turned by degrees (clockwise).
PESData shape(int kind, float widthCm, float heightCm, float lineWidthCm, int color,
              float degrees = 0);

// The layers merged into one, in order, each keeping its position.
PESData merge(const std::vector<PESData>& layers);

// The layers stacked from top to bottom, centred horizontally, gap units apart, and merged.
PESData stack(const std::vector<PESData>& layers, int gap);

}  // namespace catalogue
