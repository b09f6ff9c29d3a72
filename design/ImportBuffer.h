// Importing a downloaded buffer: a PES file (possibly behind a few stray bytes) or a "#MIVO"
// stitch buffer becomes a new layer through the undo history.
#pragma once

#include <cstdint>
#include <vector>

class Document;

// Returns whether a layer was imported. A buffer of neither kind only logs the error under
// "doImportBuffer() Error"; a buffer that gives no layer adds nothing to the history.
bool doImportBuffer(Document& document, const std::vector<uint8_t>& bytes);
