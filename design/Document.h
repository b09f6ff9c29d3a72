// The open design: its layers, the layer list with one cell per layer, the selected layer, the
// pool of layer textures, the undo history and the clipboard.
//
// Layers, layer-list cells and the first layers.size() texture slots correspond one to one
// through every operation; after an operation that moves layers, every rendered layer's
// textureSlot equals its index. The list and the textures are reached only through the
// LayerListHost seam, so the document works without a window (HeadlessLayerList).
//
// Units: design coordinates in 0.1 mm. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "design/History.h"
#include "design/LayerListHost.h"
#include "design/PESData.h"
#include "stitchfont/FontEnv.h"

class Document {
public:
    // The host must outlive the document.
    explicit Document(LayerListHost& host);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // ---- Layer list operations. Each keeps layers, cells and texture slots in step.
    // Appends a copy with a cell labelled `label` (default swatch), selects it and renders it.
    void appendLayer(const PESData& layer, const std::string& label);
    // Inserts a copy at index (0..layers.size()) with its cell; a spare texture left by an earlier
    // removeLayer goes to its slot. Selects it and renders it. Other indexes change nothing.
    void insertLayer(int index, const PESData& layer, const std::string& label);
    // Removes layer index and its cell; its texture becomes a spare at the end of the pool.
    // Sets statusDirty in every case; an index outside the list changes nothing else.
    void removeLayer(int index);
    // Exchanges two neighbouring layers, renders both and leaves j selected.
    void swapLayers(int i, int j);
    // Logs "data and layer size not equal!!!" when layers and cells differ in number; returns
    // whether they agree. Changes nothing.
    bool checkLayerCount();
    // Removes every layer and cell (a new design, a project being loaded). Textures stay as spares.
    void removeAllLayers();

    // ---- Selection (the layer list's selected cell).
    int selectedIndex() const { return host.selectedCell(); }
    void select(int index) { host.selectCell(index); }
    int layerCount() const { return static_cast<int>(layers.size()); }
    bool validIndex(int index) const { return index >= 0 && index < layerCount(); }
    // The selected layer, null when no row is selected (or the selection is out of range).
    PESData* selectedLayer() {
        return validIndex(selectedIndex()) ? &layers[selectedIndex()] : nullptr;
    }
    const PESData* selectedLayer() const {
        return validIndex(selectedIndex()) ? &layers[selectedIndex()] : nullptr;
    }

    // ---- Rendering (the layer texture and its cell).
    // Draws layer index into texture slot index (made when missing) and sets the cell's text to
    // the stitch count and its icon to the texture. Without a texture: the memory warning and
    // nothing else. Returns whether the layer was drawn.
    bool renderLayer(int index);
    // The texture of a layer, null when it has none (never rendered, or no memory).
    LayerTexture* layerTexture(int index) const;

    // Scale at which a layer of the given size (0.1 mm) is rendered into a 2048 x 2048 texture:
    // at most 3, a whole number when 1 or more, 1 at most in display mode 2.
    static float offScreenScaleFor(int32_t boundsWidth, int32_t boundsHeight, int displayMode);

    // ---- Clipboard.
    // Copies layer index to the clipboard; an index outside the list does nothing.
    void copyToClipboard(int index);

    // Commands' "restore": layer index becomes the copy with the old properties, is selected and
    // rendered; then the stitch warning and checkLayerCount.
    void restoreLayer(int index, const PESData& copy, const LayerProperties& properties);

    // Swatch colour of a cell: threadColor(colorIndex + 1).
    void setSwatchFromColor(int index, int32_t colorIndex);

    void log(int level, const std::string& module, const std::string& text) {
        host.log(level, module, text);
    }

    LayerListHost& host;
    std::vector<PESData> layers;  // index 0 is drawn first
    // Slot i holds the texture of layer i; slots past the last layer are spares.
    std::vector<std::shared_ptr<LayerTexture>> texturePool;
    // Set by every change of the design; the canvas clears it after refreshing the status line.
    bool statusDirty = false;
    History history;
    PESData clipboardLayer;
    bool clipboardFull = false;
    // Where text layers find their stitch fonts.
    FontEnv fontEnv;

private:
    void reassignSlotsFrom(int index);
};

// The editor's one open design. Created by main after the main window (whose layer list it
// uses) and destroyed before it; null in tests and tools, which make their own Document.
extern Document* theDocument;
