// mes-cli shape KIND --width CM --height CM [--line-width CM] [--density MM] [--color C]
//                  -o OUT.pes
//
// Generates one shape layer the way the tool box does (KIND is the shape index 0..8 or its name,
// e.g. "Circle/Eclipse") and writes it as a version 5 PES file for a 100 x 100 mm hoop. Sizes are
// in cm (line width 0.2 unless given), the satin spacing of the rounded shapes in mm (0.4 unless
// given) and C is the layer's colour, a palette index minus 1 (10 unless given). OUT is written
// next to itself first and renamed into place, so a failed write never leaves half a file.

#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "design/PESData.h"
#include "design/PESExport.h"
#include "design/ShapeLayer.h"
#include "design/ShapeOutline.h"

namespace {

// Sizes beyond this many cm are refused rather than stitched.
constexpr double kMaxSizeCm = 100.0;

}  // namespace

namespace cli {

int shape(const Invocation& in) {
    const int kind = shapes::shapeIndexFromName(in.operand(0));
    if (kind < 0) {
        std::string names;
        for (int i = 0; i < shapes::kShapeCount; ++i) {
            if (std::string(shapes::kShapeNames[i]) != "---")
                names +=
                    std::string(names.empty() ? "" : ", ") + "\"" + shapes::kShapeNames[i] + "\"";
        }
        throw UsageError("unknown shape \"" + in.operand(0) + "\": KIND is 0 to " +
                         std::to_string(shapes::kShapeCount - 1) + " or one of " + names);
    }
    const float width = float(in.number("--width", 0, kMaxSizeCm, 0));
    const float height = float(in.number("--height", 0, kMaxSizeCm, 0));
    const float lineWidth = float(in.number("--line-width", 0, kMaxSizeCm, 0.2));
    const float density = float(in.number("--density", 0, 100, 0.4));
    const int color = colorOption(in, 10);
    const std::string outPath = in.text("-o");
    if (!hasExtension(outPath, ".pes"))
        throw in.badValue("-o", "OUT must end in .pes");

    const int32_t colorIndex = color;
    PESData layer = shapes::buildShapeLayer(
        shapes::shapeProperties(kind, width, height, lineWidth, density, colorIndex));
    // As when the editor adds the layer: the first block takes the layer's thread colour.
    layer.setColor(colorIndex);
    layer.computeBounds();
    if (layer.stitchCount == 0) {
        std::fprintf(stderr, "mes-cli shape: the shape has no stitches at this size\n");
        return 1;
    }
    if (!writeOutput("shape", outPath, writePES5(layer, 100, 100)))
        return kStatusFailed;
    std::printf("%s: %s, %d stitches, %d x %d (0.1 mm)\n", outPath.c_str(),
                shapes::kShapeNames[kind == shapes::kLegacyEllipse ? shapes::kEllipse : kind],
                layer.stitchCount, layer.boundsWidth, layer.boundsHeight);
    return 0;
}

}  // namespace cli
