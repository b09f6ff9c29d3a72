#include "design/Document.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "formats/ThreadPalette.h"

Document* theDocument = nullptr;

namespace {

constexpr float kTextureSize = 2048.0f;

Rgba toSwatch(int32_t colorIndex) {
    return threadColor(colorIndex + 1);
}

}  // namespace

Document::Document(LayerListHost& h) : host(h), history(*this) {}

Document::~Document() {
    // Commands log through the host while they are destroyed, so they go first.
    history.clear();
}

void Document::appendLayer(const PESData& layer, const std::string& label) {
    layers.push_back(layer);
    host.addCell(label);
    const int index = layerCount() - 1;
    select(host.cellCount() - 1);
    renderLayer(index);
    statusDirty = true;
}

void Document::insertLayer(int index, const PESData& layer, const std::string& label) {
    const std::size_t before = layers.size();
    if (index < 0 || static_cast<std::size_t>(index) > before) {
        log(2, "insertLayer", "index out of range");
        return;
    }
    layers.insert(layers.begin() + index, layer);
    host.insertCell(index, label);
    // A spare left behind by removeLayer goes to the new slot. Without one the slot starts empty
    // and the render below makes a texture: the last layer must keep its own.
    std::shared_ptr<LayerTexture> spare;
    if (texturePool.size() > before) {
        spare = texturePool.back();
        texturePool.pop_back();
    }
    if (static_cast<std::size_t>(index) <= texturePool.size())
        texturePool.insert(texturePool.begin() + index, spare);
    reassignSlotsFrom(index + 1);
    select(index);
    renderLayer(index);
    statusDirty = true;
}

void Document::removeLayer(int index) {
    statusDirty = true;
    if (!validIndex(index))
        return;
    layers[index].clear();
    layers.erase(layers.begin() + index);
    host.removeCell(index);
    if (static_cast<std::size_t>(index) < texturePool.size()) {
        std::shared_ptr<LayerTexture> t = texturePool[index];
        texturePool.erase(texturePool.begin() + index);
        texturePool.push_back(t);
    }
    reassignSlotsFrom(index);
}

void Document::reassignSlotsFrom(int index) {
    for (int j = std::max(index, 0); j < layerCount(); ++j) {
        PESData& l = layers[j];
        l.textureSlot = j;
        LayerTexture* t = layerTexture(j);
        host.setCellIcon(j, t, static_cast<int>(l.boundsWidth * l.offScreenScale),
                         static_cast<int>(l.boundsHeight * l.offScreenScale));
    }
}

void Document::swapLayers(int i, int j) {
    if (!validIndex(i) || !validIndex(j) || std::abs(i - j) != 1)
        return;
    std::swap(layers[i], layers[j]);
    renderLayer(i);
    renderLayer(j);
    select(i);
    select(j);
    statusDirty = true;
}

bool Document::checkLayerCount() {
    if (layerCount() != host.cellCount()) {
        log(2, "", "data and layer size not equal!!!");
        return false;
    }
    return true;
}

void Document::removeAllLayers() {
    while (!layers.empty())
        removeLayer(layerCount() - 1);
    host.removeAllCells();
    statusDirty = true;
}

float Document::offScreenScaleFor(int32_t boundsWidth, int32_t boundsHeight, int displayMode) {
    const float sx = kTextureSize / static_cast<float>(boundsWidth);
    const float sy = kTextureSize / static_cast<float>(boundsHeight);
    float s = std::min(sx, sy);
    if (s >= 1.0f)
        s = std::trunc(std::min(3.0f, s));
    if (displayMode == 2 && s > 1.0f)
        s = 1.0f;
    return s;
}

LayerTexture* Document::layerTexture(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= texturePool.size())
        return nullptr;
    LayerTexture* t = texturePool[index].get();
    return t && t->isValid() ? t : nullptr;
}

bool Document::renderLayer(int index) {
    if (!validIndex(index))
        return false;
    // Slots are indexed at full width, so every layer has a texture of its own however many
    // layers there are.
    if (texturePool.size() <= static_cast<std::size_t>(index))
        texturePool.resize(index + 1);
    if (!texturePool[index] || !texturePool[index]->isValid())
        texturePool[index] = host.createTexture();
    PESData& layer = layers[index];
    if (!texturePool[index]) {
        log(3, "renderTexture", "no texture for layer " + std::to_string(index));
        host.memoryWarning();
        return false;
    }
    layer.textureSlot = index;

    const int32_t bw = std::max(layer.boundsWidth, 0);
    const int32_t bh = std::max(layer.boundsHeight, 0);
    {
        std::ostringstream s;
        s << kTextureSize / float(bw) << "," << kTextureSize / float(bh);
        log(1, "tex scale", s.str());
    }
    layer.offScreenScale = offScreenScaleFor(bw, bh, host.displayMode());
    {
        std::ostringstream s;
        s << layer.offScreenScale;
        log(1, "offScreenScale", s.str());
    }
    host.drawStitches(layer, *texturePool[index]);

    char text[32];
    std::snprintf(text, sizeof text, "Stitches: %6d", layer.stitchCount);
    host.setCellText(index, text);
    const int iw = static_cast<int>(bw * layer.offScreenScale);
    const int ih = static_cast<int>(bh * layer.offScreenScale);
    host.setCellIcon(index, texturePool[index].get(), iw, ih);
    log(1, "icon_area: ", std::to_string(iw) + "," + std::to_string(ih));
    return true;
}

void Document::copyToClipboard(int index) {
    if (!validIndex(index))
        return;
    clipboardLayer = layers[index];
    clipboardFull = true;
}

void Document::restoreLayer(int index, const PESData& copy, const LayerProperties& properties) {
    if (!validIndex(index))
        return;
    layers[index] = copy;
    layers[index].properties = properties;
    select(index);
    renderLayer(index);
    host.stitchWarning();
    checkLayerCount();
    statusDirty = true;
}

void Document::setSwatchFromColor(int index, int32_t colorIndex) {
    host.setCellSwatch(index, toSwatch(colorIndex));
}
