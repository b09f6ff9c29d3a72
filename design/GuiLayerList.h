// The editor's side of the document seam: the layer list is a real GUI_List of the main window,
// the textures are render targets of GUI_renderer drawn by the stitch renderer, messages go to
// SDL message boxes and log lines to the application log.
//
// The list is not owned (it belongs to the view tree); the layer icons are owned by the
// document's texture pool. A cell's icon is the region (0, 0, w, h) of its layer texture: the
// application's cellDraw draws it with drawIcon.
#pragma once

#include <functional>
#include <vector>

#include "design/LayerListHost.h"
#include "gui/List.h"

class GuiLayerList : public LayerListHost {
public:
    explicit GuiLayerList(GUI_List* list) : list(list) {}

    int cellCount() const override;
    void addCell(const std::string& label) override;
    void insertCell(int index, const std::string& label) override;
    void removeCell(int index) override;
    void removeAllCells() override;
    int selectedCell() const override;
    void selectCell(int index) override;
    void setCellSwatch(int index, Rgba color) override;
    void setCellText(int index, const std::string& text) override;
    void setCellIcon(int index, LayerTexture* texture, int w, int h) override;
    std::shared_ptr<LayerTexture> createTexture() override;
    void drawStitches(const PESData& layer, LayerTexture& texture) override;
    int displayMode() const override { return displayModeOf ? displayModeOf() : 0; }
    void memoryWarning() override;
    void stitchWarning() override {
        if (onStitchWarning)
            onStitchWarning();
    }
    std::string localized(const std::string& key) override;
    void log(int level, const std::string& module, const std::string& text) override;

    // Draws the icon of cell index into dst (drawable pixels of the current viewport).
    void drawIcon(int index, const SDL_Rect& dst) const;
    // The size of a cell's icon region in texture pixels; false when the cell has no icon.
    bool iconSize(int index, int* w, int* h) const;

    // The settings' display mode, and the stitch warning of the shell.
    std::function<int()> displayModeOf;
    std::function<void()> onStitchWarning;

private:
    struct Icon {
        LayerTexture* texture = nullptr;
        int w = 0, h = 0;
    };
    void styleCell(GUI_ListCell* cell);
    GUI_List* list;
    std::vector<Icon> icons;  // one per cell
};
