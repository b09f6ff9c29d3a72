// The narrow seam between the document and the window: the side panel's layer list, the layer
// textures and the few messages the document gives the user. The editor implements it with the
// real GUI_List and render targets (GuiLayerList); tests and mes-cli use HeadlessLayerList, so the
// document, its commands and project files work without a window.
//
// Units: icon sizes are pixels of the layer texture. Indexes are cell positions, 0-based.
#pragma once

#include <memory>
#include <string>

#include "formats/Stitch.h"

class PESData;

// One off-screen texture of the layer pool. The host makes them; the document only moves them
// between pool slots, so that a layer's texture follows it when layers are reordered.
class LayerTexture {
public:
    virtual ~LayerTexture() = default;
    virtual bool isValid() const = 0;
};

class LayerListHost {
public:
    virtual ~LayerListHost() = default;

    // ---- The layer list: one cell per layer, in layer order.
    virtual int cellCount() const = 0;
    // A layer cell (grey border of 1 pixel, swatch shown in the default swatch colour) with the
    // label, at the end or at index.
    virtual void addCell(const std::string& label) = 0;
    virtual void insertCell(int index, const std::string& label) = 0;
    virtual void removeCell(int index) = 0;
    virtual void removeAllCells() = 0;
    // The selected cell, -1 for none.
    virtual int selectedCell() const = 0;
    // Selects a cell as a click would (the property panels follow); other indexes are ignored.
    virtual void selectCell(int index) = 0;
    virtual void setCellSwatch(int index, Rgba color) = 0;
    virtual void setCellText(int index, const std::string& text) = 0;
    // The cell's icon shows the region (0, 0, w, h) of the texture (not owned by the cell).
    virtual void setCellIcon(int index, LayerTexture* texture, int w, int h) = 0;

    // ---- Textures and drawing.
    // A new 2048 x 2048 layer texture; null when none can be made.
    virtual std::shared_ptr<LayerTexture> createTexture() = 0;
    // Draws the layer's stitches into the texture at layer.offScreenScale.
    virtual void drawStitches(const PESData& layer, LayerTexture& texture) = 0;
    // The display mode setting: 0 normal, 1 3D effect, 2 underlay.
    virtual int displayMode() const { return 0; }

    // ---- Messages and logging.
    // No texture could be had for a layer ("Memory Warning" box).
    virtual void memoryWarning() {}
    // The stitch count may have passed the machine's limit: refresh the stitch warning.
    virtual void stitchWarning() {}
    // The caption of a localisation key.
    virtual std::string localized(const std::string& key) { return key; }
    // One log line: level 0 verbose .. 3 error, the module ("" for none) and the text.
    virtual void log(int level, const std::string& module, const std::string& text) {}
};
