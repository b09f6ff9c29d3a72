// "Import": appends an imported layer (cell label: its text); undo removes the last layer.
//
// ImportCommandW (a PES file), ImportBufferCommand (PES bytes) and ImportMIVOBufferCommand
// (a "#MIVO" buffer) only differ in where the layer comes from. When the source gives no layer
// the command has no callables (valid() is false) and execute() refuses it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class ImportCommand : public Command {
public:
    ImportCommand(Document& document, const PESData& layer, bool hasLayer);

    // The layer a PES file or buffer gives as an imported layer (decoded, PES-layer properties,
    // centred); false when the bytes are not a PES design this editor can read.
    static bool layerFromPES(const std::vector<uint8_t>& bytes, PESData& out, FormatLog* log);
    // The same for a "#MIVO" buffer; false for an empty or malformed buffer.
    static bool layerFromMIVO(const std::vector<uint8_t>& bytes, PESData& out, FormatLog* log);

private:
    PESData layer;
};

// A PES file read from disk. The path is UTF-8.
class ImportCommandW : public ImportCommand {
public:
    ImportCommandW(Document& document, const std::string& path);

private:
    ImportCommandW(Document& document, std::pair<bool, PESData> built);
    static std::pair<bool, PESData> build(Document& document, const std::string& path);
};

// A PES file in memory (a download).
class ImportBufferCommand : public ImportCommand {
public:
    ImportBufferCommand(Document& document, const std::vector<uint8_t>& bytes);

private:
    ImportBufferCommand(Document& document, std::pair<bool, PESData> built);
    static std::pair<bool, PESData> build(Document& document, const std::vector<uint8_t>& bytes);
};

// A "#MIVO" stitch buffer.
class ImportMIVOBufferCommand : public ImportCommand {
public:
    ImportMIVOBufferCommand(Document& document, const std::vector<uint8_t>& bytes);

private:
    ImportMIVOBufferCommand(Document& document, std::pair<bool, PESData> built);
    static std::pair<bool, PESData> build(Document& document, const std::vector<uint8_t>& bytes);
};
