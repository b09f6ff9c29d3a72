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

// A project merged into one design, written as PES.
int convertProject(const std::string& inPath, const std::string& outPath, int version, int hoopW,
                   int hoopH) {
    HeadlessLayerList list;
    Document doc(list);
    doc.fontEnv = cli::cliFontEnv();
    std::string error;
    if (!cli::loadProjectFile(inPath, doc, error)) {
        std::fprintf(stderr, "mes-cli convert: %s\n", error.c_str());
        return cli::kStatusFailed;
    }
    const PESData merged = cli::mergedDesign(doc);
    if (merged.stitchCount == 0) {
        std::fprintf(stderr, "mes-cli convert: %s has no stitches\n", inPath.c_str());
        return cli::kStatusFailed;
    }
    const std::vector<uint8_t> out = writePES(merged, version, hoopW, hoopH);
    if (!cli::writeOutput("convert", outPath, out))
        return cli::kStatusFailed;
    std::printf(
        "Wrote %s: PES version %d of %d layers merged, %d stitches in %zu colours, %zu "
        "bytes.\n",
        outPath.c_str(), version, doc.layerCount(), merged.stitchCount, merged.colorList.size(),
        out.size());
    return 0;
}

}  // namespace

namespace cli {

int convert(const Invocation& in) {
    const std::string inPath = in.operand(0);
    const std::string outPath = in.operand(1);
    // 0 when not given: a project OUT takes none, a PES OUT needs one.
    const int version =
        in.has("--pes-version") ? std::stoi(in.choice("--pes-version", {"1", "5"}, "")) : 0;
    int hoopW = 100;
    int hoopH = 100;
    hoopSize(in, "--hoop", hoopW, hoopH);
    const bool toProject = isProjectPath(outPath);
    if (!toProject && !hasExtension(outPath, ".pes"))
        throw UsageError(outPath +
                         ": OUT must end in .pes or .mpes; only PES designs and projects are "
                         "written");
    if (toProject && version != 0)
        throw in.badValue("--pes-version", "a .mpes OUT takes no version; leave it out");
    if (!toProject && version == 0)
        throw UsageError("missing --pes-version 1|5 for the .pes OUT");
    if (isProjectPath(inPath) && toProject)
        throw UsageError("IN and OUT are both projects; copy the file instead");
    if (isProjectPath(inPath))
        return convertProject(inPath, outPath, version, hoopW, hoopH);

    std::vector<uint8_t> bytes;
    if (!readInput("convert", inPath, bytes))
        return kStatusFailed;
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
        return kStatusFailed;
    }
    layer.prepareImportedPES();

    if (toProject) {
        HeadlessLayerList list;
        Document doc(list);
        doc.appendLayer(layer, layer.properties.text);
        std::string written;
        if (!saveProject(doc, outPath, hoopW, hoopH, &written)) {
            std::fprintf(stderr, "mes-cli convert: cannot write %s (%s)\n", outPath.c_str(),
                         lastSystemError().c_str());
            return kStatusFailed;
        }
        std::printf("Wrote %s: project of 1 layer, %d stitches in %zu colours.\n", written.c_str(),
                    layer.stitchCount, layer.colorList.size());
        return 0;
    }

    const std::vector<uint8_t> out = writePES(layer, version, hoopW, hoopH);
    if (!cli::writeOutput("convert", outPath, out))
        return cli::kStatusFailed;
    std::printf("Wrote %s: PES version %d, %d stitches in %zu colours, %zu bytes.\n",
                outPath.c_str(), version, layer.stitchCount, layer.colorList.size(), out.size());
    return 0;
}

}  // namespace cli
