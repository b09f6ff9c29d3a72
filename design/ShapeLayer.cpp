#include "design/ShapeLayer.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "design/ShapeOutline.h"
#include "design/TextEffect.h"
#include "formats/ThreadPalette.h"

namespace shapes {

namespace {

constexpr int kNotice = 1;

geom::NoticeSink noticeSink(FormatLog* log) {
    if (!log)
        return {};
    return [log](const std::string& text) { log->add(kNotice, "", text); };
}

void notice(FormatLog* log, const char* text) {
    if (log)
        log->add(kNotice, "", text);
}

}  // namespace

float parseShapeNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    float value = 0.0f;
    const char* begin = text.data() + i;
    const auto result = std::from_chars(begin, text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0f;
    return value;
}

LayerProperties shapeProperties(int32_t shapeIndex, float width, float height, float lineWidth,
                                float density, int32_t colorIndex) {
    LayerProperties p;
    p.type = kLayerShape;
    p.text = "Text";
    p.typeName = "Shape Stitch";
    p.fontIndex = 0;
    p.fontSizeIndex = 0;
    p.baselineIndex = 0;
    p.radiusValue = 0.5f;
    p.angleValue = 0.1f;
    p.rotateValue = 0.5f;
    p.colorIndex = colorIndex;
    p.shapeIndex = shapeIndex;
    p.width = width;
    p.height = height;
    p.lineWidth = lineWidth;
    p.density = density;
    return p;
}

void addSatinBlock(PESData& layer, const std::vector<geom::Point>& points, int32_t colorIndex) {
    StitchBlock block;
    const int32_t palette = colorIndex >= 1 && colorIndex <= 64 ? colorIndex : 0;
    block.colorIndex = static_cast<uint8_t>(palette);
    block.color = threadColor(palette);
    block.stitches.reserve(points.size() + 1);
    for (const auto& p : points) {
        Stitch s;
        s.x = geom::roundToUnit(p.x);
        s.y = geom::roundToUnit(p.y);
        block.stitches.push_back(s);
    }
    const std::size_t before = layer.blocks.size();
    const std::size_t joinAt = before > 0 && layer.blocks.back().colorIndex == block.colorIndex
                                   ? layer.blocks.back().stitches.size()
                                   : 0;
    layer.appendBlock(std::move(block));

    // The run begins with a movement to its first stitch. When appendBlock joined the run to an
    // earlier block of the same colour, the movement goes where the run's stitches begin.
    if (!points.empty()) {
        auto& stitches = layer.blocks.back().stitches;
        const std::size_t first = layer.blocks.size() > before ? 0 : joinAt;
        Stitch move = stitches[first];
        move.longForm = 1;
        stitches.insert(stitches.begin() + static_cast<std::ptrdiff_t>(first), move);
    }
    layer.computeBounds();
}

void generateShapeStitches(PESData& layer, FormatLog* log) {
    notice(log, "/////// Begin shape ////////");
    const auto points = shapeStitchPoints(layer.properties, noticeSink(log));
    notice(log, "/////// End shape ////////");
    addSatinBlock(layer, points, layer.properties.colorIndex);
}

PESData buildShapeLayer(const LayerProperties& properties, FormatLog* log) {
    PESData layer;
    layer.properties = properties;
    generateShapeStitches(layer, log);
    return layer;
}

void rebuildShapeLayer(PESData& layer, const LayerProperties& newProperties, FormatLog* log) {
    const int32_t oldBaseline = layer.properties.baselineIndex;
    const int32_t cx0 = layer.centerX;
    const int32_t cy0 = layer.centerY;

    layer = PESData();
    layer.properties = newProperties;
    generateShapeStitches(layer, log);
    if (layer.properties.baselineIndex != 0) {
        effects::bendLayer(layer, oldBaseline, effects::BendKind::Plain);
        layer.computeBounds();
    }
    if (layer.properties.rotateValue != 0.5f) {
        effects::rotateLayer(layer);
        layer.computeBounds();
    }
    layer.translate(cx0 - layer.centerX, cy0 - layer.centerY);
    layer.computeBounds();
}

}  // namespace shapes
