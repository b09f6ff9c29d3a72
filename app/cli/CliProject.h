// Projects (".mpes") for the mes-cli sub-commands: loading one into a document without a window,
// merging its layers into one design as the export to the stick does, and saving one.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/PESData.h"

namespace cli {

// Whether the path ends in ".mpes", compared without regard to case.
bool isProjectPath(const std::string& path);

// Text layers are composed with the stitch fonts of the data folder of mes-cli (jsDataFolder).
FontEnv cliFontEnv();

// Reads the project file into the document (whose fontEnv should be cliFontEnv()). On failure
// returns false with a message in `error`.
bool loadProjectFile(const std::string& path, Document& document, std::string& error);

// All layers of the document merged into one, in layer order (an empty layer without layers).
PESData mergedDesign(const Document& document);

// The box around every layer that has stitches, in 0.1 mm (the layers' minX..maxX, minY..maxY).
struct StitchedExtent {
    int64_t minX = std::numeric_limits<int64_t>::max();
    int64_t minY = std::numeric_limits<int64_t>::max();
    int64_t maxX = std::numeric_limits<int64_t>::min();
    int64_t maxY = std::numeric_limits<int64_t>::min();
    // No layer has stitches: nothing to draw.
    bool empty() const { return minX > maxX; }
};
StitchedExtent stitchedExtent(const std::vector<const PESData*>& layers);

}  // namespace cli
