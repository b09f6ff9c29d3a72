// Building a text layer: the layer's text is composed with the stitch font pack of its font and
// size (loaded into the pack cache on first use) and decoded into the layer's blocks.
//
// Units: extraLetterSpace and extraSpace are in 0.1 mm. Files are read through env.files (the
// data folder); log lines go to env.log.
#pragma once

#include <string>

#include "design/LayerProperties.h"
#include "design/PESData.h"
#include "stitchfont/FontEnv.h"

// Rebuilds layer as a text layer (PESData's createFromText):
//  1. a layer of another kind first gets text-layer properties (resetTextLayerProperties);
//  2. fontIndex, fontSizeIndex and text are stored in the properties;
//  3. the pack "MIVO_FONTS/MIVOFONT_%03i/%02i/stitch.pack" of that font and size is taken from
//     the pack cache, or loaded into it, and composes the text; the composed reader replaces
//     the blocks (PESData::createFromPES);
//  4. the first block takes the layer's colour (colorIndex + 1).
// When the pack is missing or nothing can be composed, the blocks stay as they were. Returns
// whether new stitches were built.
bool createTextLayer(PESData& layer, const std::string& text, int fontIndex, int fontSizeIndex,
                     int extraLetterSpace, int extraSpace, const FontEnv& env);

// The text-layer reset of the properties ("setType 0"): type 0, text "Text", typeName
// "Font Stitch", the spacing values 0, and every value outside its range back to its default.
// rotateValue is kept.
void resetTextLayerProperties(LayerProperties& p);
