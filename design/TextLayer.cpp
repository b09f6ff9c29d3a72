#include "design/TextLayer.h"

#include <memory>

#include "formats/ThreadPalette.h"
#include "stitchfont/FontSizes.h"
#include "stitchfont/SmartFontPack.h"

namespace {

const char* const kModule = "PESData::createFromText";

bool composeInto(PESData& layer, const SmartFontPack& pack, const std::string& text,
                 int extraLetterSpace, int extraSpace, const FontEnv& env) {
    std::unique_ptr<PES> reader = pack.pack().createPES(text, extraLetterSpace, extraSpace, env);
    if (!reader)
        return false;
    FormatLog log;
    const bool built = layer.createFromPES(reader.get(), &log);
    env.forward(log);
    return built;
}

}  // namespace

void resetTextLayerProperties(LayerProperties& p) {
    p.type = kLayerText;
    p.text = "Text";
    p.typeName = "Font Stitch";
    if (p.fontIndex < 0 || p.fontIndex >= stitchfont::kFontCount)
        p.fontIndex = 0;
    if (p.fontSizeIndex < 0 || p.fontSizeIndex >= stitchfont::kSizeSteps ||
        stitchfont::sizeNumber(p.fontIndex, p.fontSizeIndex) == 0)
        p.fontSizeIndex = 0;
    if (p.colorIndex < 0 || p.colorIndex > 64)
        p.colorIndex = 0;
    if (p.baselineIndex < 0 || p.baselineIndex > 2)
        p.baselineIndex = 0;
    if (!(p.radiusValue >= 0.0f && p.radiusValue <= 1.0f))
        p.radiusValue = 0.5f;
    if (!(p.angleValue >= 0.0f && p.angleValue <= 1.0f))
        p.angleValue = 0.1f;
    p.extraLetterSpace = 0;
    p.extraSpace = 0;
}

bool createTextLayer(PESData& layer, const std::string& text, int fontIndex, int fontSizeIndex,
                     int extraLetterSpace, int extraSpace, const FontEnv& env) {
    if (layer.properties.type != kLayerText)
        resetTextLayerProperties(layer.properties);
    layer.properties.fontIndex = fontIndex;
    layer.properties.fontSizeIndex = fontSizeIndex;
    layer.properties.text = text;

    const std::string path = stitchfont::packPath(fontIndex, fontSizeIndex);
    bool built = false;
    if (std::shared_ptr<SmartFontPack> cached = SmartFontPack::find(path, env)) {
        built = composeInto(layer, *cached, text, extraLetterSpace, extraSpace, env);
        if (built)
            env.emit(kFontNotice, kModule, "load pack from cache");
    } else if (std::shared_ptr<SmartFontPack> added = SmartFontPack::add(path, env)) {
        built = composeInto(layer, *added, text, extraLetterSpace, extraSpace, env);
        if (built)
            env.emit(kFontNotice, kModule, "create new pack");
    }

    if (!layer.blocks.empty()) {
        const long long index = (long long)layer.properties.colorIndex + 1;
        const uint8_t palette = (index >= 1 && index <= 64) ? uint8_t(index) : 0;
        layer.blocks[0].colorIndex = palette;
        layer.blocks[0].color = threadColor(palette);
        layer.computeBounds();
    }
    return built;
}
