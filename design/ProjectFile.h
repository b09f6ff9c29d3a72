// Project files (".mpes"): the whole design, so that it can be edited again.
//
// A text part (UTF-8, lines ending in a line feed) holds a header and one block of key=value
// lines per layer; the line "[PESDATA]" ends it. Then, for every PES layer in layer order, its
// stitches as one version 1 PES file, the files following each other without separators
// ("byteLength" of the layer's block is the length of its file). Text and shape layers are
// stored only as properties and rebuilt from the stitch fonts and shape generator when loaded.
//
// Writing and parsing are pure (bytes out, bytes in); saveProject writes the file at the edge,
// through a temporary file beside it, so a failed write never destroys the previous file.
// Units: centres in 0.1 mm; shape sizes in cm, density in mm; hoop sizes in mm.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "design/PESData.h"

class Document;

// The greeting text that PES layers get as their text when a project is loaded (64 bytes).
extern const char* const kDefaultGreetingText;

// The path with ".mpes" appended unless it already ends in it, compared without regard to case.
std::string projectPath(const std::string& path);

// The bytes of the project file of the document's layers (the PES layers embedded with the hoop
// size in mm); empty when the design has no layers.
std::vector<uint8_t> projectBytes(Document& document, int hoopW, int hoopH);

// The layers a project file describes, before anything is rebuilt: properties and centres from
// the text part, the stitches of PES layers decoded from the binary part (moved to their saved
// centre). Malformed lines and values are ignored or read as 0; an embedded file that is cut
// short or does not parse leaves its layer without stitches, and later layers still load.
// Returns false for empty bytes.
bool parseProject(const uint8_t* bytes, std::size_t size, std::vector<PESData>& layers,
                  FormatLog* log = nullptr);

// Replaces the design by the project: every layer appended with its cell, PES layers rendered,
// shape and text layers rebuilt (without entering the history), cell 0 selected, the history
// emptied. Returns false, leaving the design as it was, for empty bytes.
bool loadProject(Document& document, const std::vector<uint8_t>& bytes);

// Writes the project to projectPath(path) (reported in *written). False when the design has no
// layers (nothing written) or the file could not be written completely (the previous file, if
// any, is left as it was).
bool saveProject(Document& document, const std::string& path, int hoopW, int hoopH,
                 std::string* written = nullptr);
