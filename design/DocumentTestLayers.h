// Small real layers for the document, command and project tests.
#pragma once

#include <vector>

#include "design/PESData.h"
#include "formats/TestStitches.h"
#include "formats/ThreadPalette.h"

namespace testlayers {

// A stitch at (x, y): the formats' fixture with the argument order these tests use.
inline Stitch stitch(int x, int y, uint8_t longForm = 0, uint8_t type = 0) {
    return fixtures::st(x, y, type, longForm);
}

using fixtures::block;

// A PES layer of three stitches from (x0, y0) to (x1, y1) in one colour.
inline PESData line(int x0, int y0, int x1, int y1, uint8_t palette) {
    PESData l;
    l.blocks.push_back(
        block(palette, {stitch(x0, y0), stitch((x0 + x1) / 2, (y0 + y1) / 2), stitch(x1, y1)}));
    l.computeBounds();
    l.properties.type = kLayerPES;
    l.properties.typeName = "PES Stitch";
    l.properties.colorIndex = palette - 1;
    l.sourceBlocks = l.blocks;
    return l;
}

// A PES layer of two colour runs.
inline PESData twoColors(uint8_t a, uint8_t b) {
    PESData l;
    l.blocks.push_back(block(a, {stitch(-50, -20), stitch(0, -20), stitch(50, 0)}));
    l.blocks.push_back(block(b, {stitch(50, 0, 1, 1), stitch(50, 20), stitch(-50, 20)}));
    l.computeBounds();
    l.properties.type = kLayerPES;
    l.properties.typeName = "PES Stitch";
    l.properties.colorIndex = a - 1;
    l.sourceBlocks = l.blocks;
    return l;
}

}  // namespace testlayers
