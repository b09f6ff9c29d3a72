// The fixed thread palette of 65 entries. Index 0 is the fall-back that every index outside
// 1..64 maps to; a layer's colorIndex property is the palette index minus 1.
#pragma once

#include <cstdint>

#include "formats/Stitch.h"

struct ThreadColor {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    const char* name = "";  // display name, e.g. "Red"
    const char* code = "";  // three-character catalogue code, e.g. "800"; "x7".."x9" for applique
};

// The 65 entries, index 0..64. Static data, never changes.
const ThreadColor& threadEntry(int index);

// The opaque colour (alpha 255) of a palette index; an index below 1 or above 64 gives entry 0.
Rgba threadColor(int index);

// The display text of a palette index: "Red (800)", or the bare name for the applique entries
// whose code begins with x. Same index rule as threadColor. The text is static: repeated calls
// return the same pointer.
const char* threadName(int index);
