// mes-cli text "TEXT" --font I --size J [--letter-space N] [--word-space N] [--color C]
//              [--verbose] -o OUT.pes
//
// Composes one line of text with the stitch font packs of the data folder (beside the executable
// or installed in share/mes: MIVO_FONTS/MIVOFONT_%03i/%02i/stitch.pack), exactly as the editor builds a
// text layer, and writes it as a version 5 PES file. I is the font index (0-14), J the size
// step of that font, C the layer's colorIndex (palette index - 1); the spaces are in 0.1 mm.
// OUT is written next to itself first and renamed into place.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "design/PESData.h"
#include "design/PESExport.h"
#include "design/TextLayer.h"
#include "gui/FileUtils.h"
#include "stitchfont/FontEnv.h"
#include "stitchfont/FontSizes.h"

namespace {

int textUsage() {
    std::fprintf(stderr,
                 "usage: mes-cli text \"TEXT\" --font I --size J [--letter-space N] "
                 "[--word-space N] [--color C] [--verbose] -o OUT.pes\n");
    return 2;
}

bool parseInt(const std::string& s, int lo, int hi, int& out) {
    if (s.empty())
        return false;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || v < lo || v > hi)
        return false;
    out = int(v);
    return true;
}

}  // namespace

namespace cli {

int text(const Args& args) {
    std::string text;
    bool haveText = false;
    int font = -1;
    int size = -1;
    int letterSpace = 0;
    int wordSpace = 0;
    int color = LayerProperties().colorIndex;
    bool verbose = false;
    std::string outPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--font" && hasValue) {
            if (!parseInt(args[++i], 0, stitchfont::kFontCount - 1, font))
                return textUsage();
        } else if (a == "--size" && hasValue) {
            if (!parseInt(args[++i], 0, stitchfont::kSizeSteps - 1, size))
                return textUsage();
        } else if (a == "--letter-space" && hasValue) {
            if (!parseInt(args[++i], -2000, 2000, letterSpace))
                return textUsage();
        } else if (a == "--word-space" && hasValue) {
            if (!parseInt(args[++i], -2000, 2000, wordSpace))
                return textUsage();
        } else if (a == "--color" && hasValue) {
            if (!parseInt(args[++i], 0, 63, color))
                return textUsage();
        } else if (a == "-o" && hasValue) {
            outPath = args[++i];
        } else if (a == "--verbose") {
            verbose = true;
        } else if (!haveText && (a.rfind("--", 0) != 0 || a == "--")) {
            text = a;
            haveText = true;
        } else {
            return textUsage();
        }
    }
    if (!haveText || font < 0 || size < 0 || outPath.empty())
        return textUsage();
    if (stitchfont::sizeNumber(font, size) == 0) {
        std::fprintf(stderr, "mes-cli text: font %d has no size step %d\n", font, size);
        return 2;
    }

    FontEnv env;
    env.files.dataFolder = jsDataFolder();
    env.files.read = readWhole;
    std::vector<std::string> errors;
    env.log = [&](int level, const std::string& module, const std::string& line) {
        const std::string full = module.empty() ? line : module + ": " + line;
        if (verbose)
            std::fprintf(level >= kFontError ? stderr : stdout, "%s\n", full.c_str());
        if (level >= kFontError)
            errors.push_back(full);
    };

    const std::string packPath = env.files.resolve(stitchfont::packPath(font, size));
    std::vector<uint8_t> probe;
    if (!readWhole(packPath, probe)) {
        std::fprintf(stderr,
                     "mes-cli text: the stitch font pack for font %d size step %d is "
                     "missing (%s)\n",
                     font, size, packPath.c_str());
        return 1;
    }

    PESData layer;
    layer.properties.colorIndex = color;
    layer.properties.extraLetterSpace = letterSpace;
    layer.properties.extraSpace = wordSpace;
    if (!createTextLayer(layer, text, font, size, letterSpace, wordSpace, env) ||
        layer.blocks.empty()) {
        std::fprintf(stderr, "mes-cli text: nothing could be composed from \"%s\" with %s\n",
                     text.c_str(), packPath.c_str());
        if (!verbose)
            for (const auto& e : errors)
                std::fprintf(stderr, "  %s\n", e.c_str());
        return 1;
    }

    const std::vector<uint8_t> out = writePES(layer, 5, 100, 100);
    if (!cli::writeWhole(outPath, out)) {
        std::fprintf(stderr, "mes-cli text: cannot write %s\n", outPath.c_str());
        return 1;
    }
    std::printf("Wrote %s: PES version 5, %d stitches, %d x %d (0.1 mm), %zu bytes.\n",
                outPath.c_str(), layer.stitchCount, layer.boundsWidth, layer.boundsHeight,
                out.size());
    return 0;
}

}  // namespace cli
