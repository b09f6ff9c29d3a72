#include "design/commands/ImportCommand.h"

#include <fstream>
#include <iterator>

#include "formats/Mivo.h"

namespace {

void forward(Document& doc, const FormatLog& log) {
    for (const auto& l : log.lines)
        doc.log(l.level, l.module, l.text);
}

}  // namespace

ImportCommand::ImportCommand(Document& document, const PESData& built, bool hasLayer)
    : Command(document, "Import"), layer(built) {
    if (!hasLayer)
        return;
    redo = [this] { doc.appendLayer(layer, layer.properties.text); };
    undo = [this] { doc.removeLayer(doc.layerCount() - 1); };
}

bool ImportCommand::layerFromPES(const std::vector<uint8_t>& bytes, PESData& out, FormatLog* log) {
    PES reader;
    if (!reader.loadBuffer(0, bytes.data(), bytes.size(), log) || !reader.hasSections())
        return false;
    PESData layer;
    if (!layer.createFromPES(&reader, log))
        return false;
    layer.prepareImportedPES();
    out = std::move(layer);
    return true;
}

bool ImportCommand::layerFromMIVO(const std::vector<uint8_t>& bytes, PESData& out, FormatLog* log) {
    if (bytes.empty())
        return false;
    PESData layer;
    if (!layer.loadMIVO(bytes, log))
        return false;
    layer.prepareImportedPES();
    out = std::move(layer);
    return true;
}

// ---- ImportCommandW

ImportCommandW::ImportCommandW(Document& document, const std::string& path)
    : ImportCommandW(document, build(document, path)) {}

ImportCommandW::ImportCommandW(Document& document, std::pair<bool, PESData> built)
    : ImportCommand(document, built.second, built.first) {}

std::pair<bool, PESData> ImportCommandW::build(Document& document, const std::string& path) {
    std::pair<bool, PESData> r{false, PESData()};
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        document.log(3, "PES", "File not found");
        return r;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    FormatLog log;
    r.first = layerFromPES(bytes, r.second, &log);
    forward(document, log);
    return r;
}

// ---- ImportBufferCommand

ImportBufferCommand::ImportBufferCommand(Document& document, const std::vector<uint8_t>& bytes)
    : ImportBufferCommand(document, build(document, bytes)) {}

ImportBufferCommand::ImportBufferCommand(Document& document, std::pair<bool, PESData> built)
    : ImportCommand(document, built.second, built.first) {}

std::pair<bool, PESData> ImportBufferCommand::build(Document& document,
                                                    const std::vector<uint8_t>& bytes) {
    std::pair<bool, PESData> r{false, PESData()};
    document.log(0, "", "ImportBufferCommand OK");
    FormatLog log;
    r.first = layerFromPES(bytes, r.second, &log);
    forward(document, log);
    document.log(0, "", "Create PES");
    return r;
}

// ---- ImportMIVOBufferCommand

ImportMIVOBufferCommand::ImportMIVOBufferCommand(Document& document,
                                                 const std::vector<uint8_t>& bytes)
    : ImportMIVOBufferCommand(document, build(document, bytes)) {}

ImportMIVOBufferCommand::ImportMIVOBufferCommand(Document& document, std::pair<bool, PESData> built)
    : ImportCommand(document, built.second, built.first) {}

std::pair<bool, PESData> ImportMIVOBufferCommand::build(Document& document,
                                                        const std::vector<uint8_t>& bytes) {
    std::pair<bool, PESData> r{false, PESData()};
    FormatLog log;
    r.first = layerFromMIVO(bytes, r.second, &log);
    forward(document, log);
    return r;
}
