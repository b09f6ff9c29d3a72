// Projects (".mpes") for the mes-cli sub-commands: loading one into a document without a window,
// merging its layers into one design as the export to the stick does, and saving one.
#pragma once

#include <string>

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

}  // namespace cli
