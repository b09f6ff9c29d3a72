// mes-cli info FILE: what the editor sees in a PES or PEC file, a ".mpes" project or a "#MIVO"
// buffer: format, version, colours, stitches, bounds (0.1 mm) and size (mm). The kind is told by
// the magic bytes, not by the file name.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "app/cli/CliProject.h"
#include "design/HeadlessLayerList.h"
#include "design/PESData.h"
#include "formats/Mivo.h"
#include "formats/PES.h"

namespace {

void printErrors(const FormatLog& log) {
    for (const auto& l : log.lines) {
        if (l.level < 2)
            continue;
        if (l.module.empty()) {
            std::fprintf(stderr, "  %s\n", l.text.c_str());
        } else {
            std::fprintf(stderr, "  %s: %s\n", l.module.c_str(), l.text.c_str());
        }
    }
}

}  // namespace

int cli::info(const cli::Invocation& in) {
    const std::string path = in.operand(0);
    std::vector<uint8_t> bytes;
    if (!cli::readInput("info", path, bytes))
        return cli::kStatusFailed;
    FormatLog log;
    PESData layer;
    const char* format = nullptr;
    std::string version = "-";
    int colours = 0;
    bool ok = false;
    if (PES::hasDesignMagic(bytes.data(), bytes.size())) {
        format = bytes[3] == 'C' ? "PEC" : "PES";
        PES reader;
        reader.loadFileContents(bytes, &log);
        version = std::to_string(reader.version()) + " (" +
                  std::string(reinterpret_cast<const char*>(bytes.data()) + 4,
                              std::min<std::size_t>(4, bytes.size() - 4)) +
                  ")";
        colours = reader.hasSections() ? reader.colorCount() : 0;
        ok = layer.createFromPES(&reader, &log);
    } else if (bytes.size() >= 5 && std::memcmp(bytes.data(), "#MPES", 5) == 0) {
        // A project: its layers merged into one design, as the export to the stick sends it.
        format = "MPES project";
        HeadlessLayerList list;
        Document doc(list);
        doc.fontEnv = cli::cliFontEnv();
        std::string error;
        if (!cli::loadProjectFile(path, doc, error)) {
            std::fprintf(stderr, "mes-cli info: %s\n", error.c_str());
            return cli::kStatusFailed;
        }
        version = std::to_string(doc.layerCount()) + (doc.layerCount() == 1 ? " layer" : " layers");
        layer = cli::mergedDesign(doc);
        colours = int(layer.colorList.size());
        ok = true;
    } else if (isMivo(bytes.data(), bytes.size())) {
        format = "MIVO";
        MivoBuffer mivo;
        if (parseMivo(bytes.data(), bytes.size(), mivo))
            colours = int(mivo.colors.size());
        ok = layer.loadMIVO(bytes, &log);
    } else {
        std::fprintf(stderr,
                     "mes-cli info: \"%s\" is neither a PES file, a project nor a MIVO buffer\n",
                     path.c_str());
        return cli::kStatusFailed;
    }
    if (!ok) {
        std::fprintf(stderr, "mes-cli info: \"%s\" is not a valid %s design:\n", path.c_str(),
                     format);
        printErrors(log);
        return cli::kStatusFailed;
    }
    std::printf("file: %s\n", path.c_str());
    std::printf("format: %s\n", format);
    std::printf("version: %s\n", version.c_str());
    std::printf("colours: %d (runs after joining equal neighbours: %d)\n", colours,
                int(layer.colorList.size()));
    std::printf("stitches: %d (%d long)\n", layer.stitchCount, layer.longStitchCount);
    if (layer.stitchCount == 0) {
        std::printf("bounds: none\n");
        std::printf("size: 0.0 x 0.0 mm\n");
    } else {
        std::printf("bounds: %d %d %d %d (0.1 mm)\n", layer.minX, layer.minY, layer.maxX,
                    layer.maxY);
        std::printf("size: %.1f x %.1f mm\n", layer.boundsWidth / 10.0, layer.boundsHeight / 10.0);
    }
    return 0;
}
