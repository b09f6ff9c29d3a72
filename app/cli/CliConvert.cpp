// mes-cli convert IN OUT --pes-version 1|5 [--hoop WxH]
// mes-cli convert IN.pes OUT.mpes [--hoop WxH]
//
// Reads the PES design IN into a layer the way the editor imports it (centred on the hoop), or
// the project IN.mpes merged into one design as the export to the stick merges it, and writes it
// to OUT as a version 1 PES file (the form kept inside project files) or a version 5 one (the
// form sent to the machine). An OUT ending in ".mpes" gets a project holding the imported layer.
// The hoop size, in millimetres, goes into the written file; 100x100 unless given. OUT is written
// next to itself first and renamed into place, so a failed write never leaves half a file under its
// name.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "app/cli/CliProject.h"
#include "design/HeadlessLayerList.h"
#include "design/PESData.h"
#include "design/PESExport.h"
#include "design/ProjectFile.h"
#include "formats/PES.h"

namespace {

int convertUsage() {
    std::fprintf(stderr,
                 "usage: mes-cli convert IN OUT --pes-version 1|5 [--hoop WxH]\n"
                 "       mes-cli convert IN.pes OUT.mpes [--hoop WxH]\n");
    return 2;
}

bool parseHoopSize(const std::string& text, int& w, int& h) {
    char tail = 0;
    return std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) == 2 && w > 0 && h > 0 &&
           w <= 1000 && h <= 1000;
}

// A project merged into one design, written as PES.
int convertProject(const std::string& inPath, const std::string& outPath, int version, int hoopW,
                   int hoopH) {
    HeadlessLayerList list;
    Document doc(list);
    doc.fontEnv = cli::cliFontEnv();
    std::string error;
    if (!cli::loadProjectFile(inPath, doc, error)) {
        std::fprintf(stderr, "mes-cli convert: %s\n", error.c_str());
        return 1;
    }
    const PESData merged = cli::mergedDesign(doc);
    if (merged.stitchCount == 0) {
        std::fprintf(stderr, "mes-cli convert: %s has no stitches\n", inPath.c_str());
        return 1;
    }
    const std::vector<uint8_t> out = writePES(merged, version, hoopW, hoopH);
    if (!cli::writeWhole(outPath, out)) {
        std::fprintf(stderr, "mes-cli convert: cannot write %s\n", outPath.c_str());
        return 1;
    }
    std::printf(
        "Wrote %s: PES version %d of %d layers merged, %d stitches in %zu colours, %zu "
        "bytes.\n",
        outPath.c_str(), version, doc.layerCount(), merged.stitchCount, merged.colorList.size(),
        out.size());
    return 0;
}

}  // namespace

namespace cli {

int convert(const Args& args) {
    std::vector<std::string> paths;
    int version = 0;
    int hoopW = 100;
    int hoopH = 100;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--pes-version" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v != "1" && v != "5")
                return convertUsage();
            version = v == "1" ? 1 : 5;
        } else if (args[i] == "--hoop" && i + 1 < args.size()) {
            if (!parseHoopSize(args[++i], hoopW, hoopH))
                return convertUsage();
        } else if (args[i].rfind("--", 0) != 0 && paths.size() < 2) {
            paths.push_back(args[i]);
        } else {
            return convertUsage();
        }
    }
    if (paths.size() != 2)
        return convertUsage();
    const std::string& inPath = paths[0];
    const std::string& outPath = paths[1];
    const bool toProject = isProjectPath(outPath);
    if (toProject == (version != 0))
        return convertUsage();
    if (isProjectPath(inPath)) {
        if (toProject)
            return convertUsage();
        return convertProject(inPath, outPath, version, hoopW, hoopH);
    }

    std::ifstream in(inPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "mes-cli convert: cannot open %s\n", inPath.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    PES reader;
    FormatLog log;
    PESData layer;
    if (!reader.loadFileContents(std::move(bytes), &log) || !reader.hasSections() ||
        !layer.createFromPES(&reader, &log)) {
        std::fprintf(stderr, "mes-cli convert: %s is not a PES file this editor can read\n",
                     inPath.c_str());
        for (const auto& line : log.lines) {
            if (line.level >= 3)
                std::fprintf(stderr, "  %s\n", line.text.c_str());
        }
        return 1;
    }
    layer.prepareImportedPES();

    if (toProject) {
        HeadlessLayerList list;
        Document doc(list);
        doc.appendLayer(layer, layer.properties.text);
        std::string written;
        if (!saveProject(doc, outPath, hoopW, hoopH, &written)) {
            std::fprintf(stderr, "mes-cli convert: cannot write %s\n", outPath.c_str());
            return 1;
        }
        std::printf("Wrote %s: project of 1 layer, %d stitches in %zu colours.\n", written.c_str(),
                    layer.stitchCount, layer.colorList.size());
        return 0;
    }

    const std::vector<uint8_t> out = writePES(layer, version, hoopW, hoopH);
    if (!cli::writeWhole(outPath, out)) {
        std::fprintf(stderr, "mes-cli convert: cannot write %s\n", outPath.c_str());
        return 1;
    }
    std::printf("Wrote %s: PES version %d, %d stitches in %zu colours, %zu bytes.\n",
                outPath.c_str(), version, layer.stitchCount, layer.colorList.size(), out.size());
    return 0;
}

}  // namespace cli
