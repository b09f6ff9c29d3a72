// mes-cli shape KIND --width CM --height CM [--line-width CM] [--density MM] [--color C]
//                  -o OUT.pes
//
// Generates one shape layer the way the tool box does (KIND is the shape index 0..8 or its name,
// e.g. "Circle/Eclipse") and writes it as a version 5 PES file for a 100 x 100 mm hoop. Sizes are
// in cm (line width 0.2 unless given), the satin spacing of the rounded shapes in mm (0.4 unless
// given) and C is the layer's colour, a palette index minus 1 (10 unless given). OUT is written
// next to itself first and renamed into place, so a failed write never leaves half a file.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
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
constexpr float kMaxSizeCm = 100.0f;

int shapeUsage() {
    std::fprintf(stderr,
                 "usage: mes-cli shape KIND --width CM --height CM [--line-width CM] "
                 "[--density MM] [--color C] -o OUT.pes\n"
                 "KIND: 0..8 or one of");
    for (int i = 0; i < shapes::kShapeCount; ++i) {
        if (std::string(shapes::kShapeNames[i]) != "---") {
            std::fprintf(stderr, " \"%s\"", shapes::kShapeNames[i]);
        }
    }
    std::fprintf(stderr, "\n");
    return 2;
}

// The whole text as a finite number within 0..max.
bool parseNumber(const std::string& text, float max, float& out) {
    float v = 0;
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, v);
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(v) || v < 0 || v > max)
        return false;
    out = v;
    return true;
}

}  // namespace

namespace cli {

int shape(const Args& args) {
    int kind = -1;
    float width = -1, height = -1, lineWidth = 0.2f, density = 0.4f, color = 10;
    std::string outPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--width" && hasValue) {
            if (!parseNumber(args[++i], kMaxSizeCm, width))
                return shapeUsage();
        } else if (a == "--height" && hasValue) {
            if (!parseNumber(args[++i], kMaxSizeCm, height))
                return shapeUsage();
        } else if (a == "--line-width" && hasValue) {
            if (!parseNumber(args[++i], kMaxSizeCm, lineWidth))
                return shapeUsage();
        } else if (a == "--density" && hasValue) {
            if (!parseNumber(args[++i], 100.0f, density))
                return shapeUsage();
        } else if (a == "--color" && hasValue) {
            if (!parseNumber(args[++i], 64, color) || color != std::floor(color)) {
                return shapeUsage();
            }
        } else if (a == "-o" && hasValue) {
            outPath = args[++i];
        } else if (kind < 0 && a.rfind("-", 0) != 0) {
            kind = shapes::shapeIndexFromName(a);
            if (kind < 0) {
                std::fprintf(stderr, "mes-cli shape: unknown shape \"%s\"\n", a.c_str());
                return shapeUsage();
            }
        } else {
            return shapeUsage();
        }
    }
    if (kind < 0 || width < 0 || height < 0 || outPath.empty())
        return shapeUsage();

    const int32_t colorIndex = static_cast<int32_t>(color);
    PESData layer = shapes::buildShapeLayer(
        shapes::shapeProperties(kind, width, height, lineWidth, density, colorIndex));
    // As when the editor adds the layer: the first block takes the layer's thread colour.
    layer.setColor(colorIndex);
    layer.computeBounds();
    if (layer.stitchCount == 0) {
        std::fprintf(stderr, "mes-cli shape: the shape has no stitches at this size\n");
        return 1;
    }
    if (!cli::writeWhole(outPath, writePES5(layer, 100, 100))) {
        std::fprintf(stderr, "mes-cli shape: cannot write %s\n", outPath.c_str());
        return 1;
    }
    std::printf("%s: %s, %d stitches, %d x %d (0.1 mm)\n", outPath.c_str(),
                shapes::kShapeNames[kind == shapes::kLegacyEllipse ? shapes::kEllipse : kind],
                layer.stitchCount, layer.boundsWidth, layer.boundsHeight);
    return 0;
}

}  // namespace cli
