// A layer list without a window: cells, selection and textures kept in memory, nothing drawn.
// Tests use it to watch what the document does to the list; mes-cli uses it to load and save
// projects. Log lines are collected in `lines` (and echoed to standard error when `echo` is set).
#pragma once

#include <string>
#include <vector>

#include "design/LayerListHost.h"
#include "formats/PES.h"

// A texture that is only a number, so tests can follow it from slot to slot.
class HeadlessTexture : public LayerTexture {
public:
    explicit HeadlessTexture(int id) : id(id) {}
    bool isValid() const override { return true; }
    int id;
    int draws = 0;  // how often stitches were drawn into it
};

class HeadlessLayerList : public LayerListHost {
public:
    struct Cell {
        std::string label;
        std::string text;
        Rgba swatch = {192, 192, 192, 255};  // the default swatch colour of a list cell
        LayerTexture* icon = nullptr;
        int iconW = 0;
        int iconH = 0;
    };

    int cellCount() const override { return static_cast<int>(cells.size()); }
    void addCell(const std::string& label) override;
    void insertCell(int index, const std::string& label) override;
    void removeCell(int index) override;
    void removeAllCells() override;
    int selectedCell() const override { return selected; }
    void selectCell(int index) override;
    void setCellSwatch(int index, Rgba color) override;
    void setCellText(int index, const std::string& text) override;
    void setCellIcon(int index, LayerTexture* texture, int w, int h) override;
    std::shared_ptr<LayerTexture> createTexture() override;
    void drawStitches(const PESData& layer, LayerTexture& texture) override;
    int displayMode() const override { return mode; }
    void memoryWarning() override { ++memoryWarnings; }
    void stitchWarning() override { ++stitchWarnings; }
    void log(int level, const std::string& module, const std::string& text) override;

    // Whether a line with this module and text was logged.
    bool logged(const std::string& module, const std::string& text) const;

    std::vector<Cell> cells;
    int selected = -1;
    int mode = 0;
    bool failTextures = false;  // createTexture gives null (no graphics memory)
    int texturesMade = 0;
    int memoryWarnings = 0;
    int stitchWarnings = 0;
    bool echo = false;
    std::vector<FormatLog::Line> lines;
};
