// mes-cli text "TEXT" --font I --size S [--letter-space N] [--word-space N] [--color C]
//              [--verbose] -o OUT.pes
//
// Composes one line of text with the stitch font packs of the data folder (beside the executable,
// or share/mes when installed: MIVO_FONTS/MIVOFONT_%03i/%02i/stitch.pack), exactly as the editor
// builds a text layer, and writes it as a version 5 PES file. I is the font index (0-14), S the
// size step of that font or its height ("10mm"), C the layer's colorIndex (palette index - 1); the
// spaces are in 0.1 mm. OUT is written next to itself first and renamed into place.

#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "app/cli/CliLettering.h"
#include "app/cli/FontCatalogue.h"
#include "design/PESData.h"
#include "design/PESExport.h"

namespace cli {

int text(const Invocation& in) {
    const std::string text = in.operand(0);
    if (text.empty())
        throw UsageError("TEXT is empty");
    const int font = fontOption(in);
    const int size = sizeStepOption(in, font);
    const int letterSpace = in.integer("--letter-space", -2000, 2000, 0);
    const int wordSpace = in.integer("--word-space", -2000, 2000, 0);
    const int color = colorOption(in, LayerProperties().colorIndex);
    const std::string outPath = in.text("-o");
    if (!hasExtension(outPath, ".pes"))
        throw in.badValue("-o", "OUT must end in .pes");

    const Lettering lettering(font, size, in.has("--verbose"));
    if (const std::string missing = lettering.missingPack(); !missing.empty()) {
        std::fprintf(stderr, "mes-cli text: %s\n", missing.c_str());
        return kStatusFailed;
    }
    if (const std::string missing = lettering.missingCharacters(text); !missing.empty()) {
        std::fprintf(stderr, "mes-cli text: warning: font %d has no stitches for %s; left out\n",
                     font, missing.c_str());
    }
    PESData layer;
    std::string error;
    if (!lettering.compose(text, letterSpace, wordSpace, color, layer, error)) {
        std::fprintf(stderr,
                     "mes-cli text: nothing could be composed from \"%s\" with font %d%s%s\n",
                     text.c_str(), font, error.empty() ? "" : ": ", error.c_str());
        return kStatusFailed;
    }

    const std::vector<uint8_t> out = writePES(layer, 5, 100, 100);
    if (!writeOutput("text", outPath, out))
        return kStatusFailed;
    std::printf("Wrote %s: PES version 5, %d stitches, %d x %d (0.1 mm), %zu bytes.\n",
                outPath.c_str(), layer.stitchCount, layer.boundsWidth, layer.boundsHeight,
                out.size());
    return kStatusDone;
}

}  // namespace cli
