// Stitch and colour-block fixtures for the tests of the formats and of the layers built on them.
// Nothing here is used by the program itself.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "formats/Stitch.h"
#include "formats/ThreadPalette.h"

namespace fixtures {

// A stitch at (x, y), 0.1 mm, of the given type and form.
inline Stitch st(int x, int y, uint8_t type = pec::kNormal, uint8_t longForm = 0) {
    Stitch s;
    s.x = x;
    s.y = y;
    s.type = type;
    s.longForm = longForm;
    return s;
}

// A colour block of palette index `color` with its thread colour.
inline StitchBlock block(uint8_t color, std::vector<Stitch> stitches) {
    StitchBlock b;
    b.colorIndex = color;
    b.color = threadColor(color);
    b.stitches = std::move(stitches);
    return b;
}

}  // namespace fixtures
