#include "app/LayerSection.h"

#include <algorithm>
#include <memory>

#include "app/EditActions.h"
#include "app/MainWindow.h"
#include "app/PanelActions.h"
#include "app/Settings.h"
#include "app/StatusLine.h"
#include "app/WidgetHelpers.h"
#include "design/Document.h"
#include "design/GuiLayerList.h"
#include "gui/Dialog.h"
#include "gui/Draw.h"
#include "gui/FileUtils.h"
#include "gui/Globals.h"
#include "gui/IconButton.h"
#include "gui/Label.h"
#include "gui/List.h"
#include "gui/Localization.h"
#include "gui/Log.h"
#include "gui/ToolBar.h"
#include "stitchfont/FontEnv.h"

namespace {

constexpr int kLabelHeight = 24;
constexpr int kRowHeight = 64;
const SDL_Color kSelectedRow = {95, 112, 135, 255};
const SDL_Color kBoxOutline = rgb(0xC0C0C0);
const SDL_Color kRowInk = rgb(0x707070);

std::unique_ptr<GuiLayerList> layerHost;

// The layer-kind icons of the selected row: text, PES design, shape.
SDL_Texture* kindIcons[3] = {nullptr, nullptr, nullptr};
const Uint16 kKindIconCodes[3] = {0xF031, 0xF1C5, 0xF1DB};

SDL_Texture* kindIcon(int type) {
    const int k = std::clamp(type, 0, 2);
    if (!kindIcons[k])
        kindIcons[k] = iconTexture(kKindIconCodes[k], 0);
    return kindIcons[k];
}

// One row: selection fill, swatch strip, thumbnail in its box, stitch count (the row's title,
// which the cell draws itself after this).
void drawLayerRow(GUI_ListCell* cell) {
    const int s = GUI_scale;
    const int index = cell->tag;
    GUI_FillRect(0, 0, cell->w, cell->h, cell->selected ? kSelectedRow : GUI_White);
    GUI_FillRect(0, 0, 4 * s, cell->h, cell->swatchColor);

    const SDL_Rect box = {8 * s, 8 * s, 96 * s, cell->h - 16 * s};
    if (cell->selected)
        GUI_FillRoundRect(box.x, box.y, box.w, box.h, 4 * s, GUI_White);
    int tw = 0, th = 0;
    if (layerHost && layerHost->iconSize(index, &tw, &th)) {
        const float k =
            0.9f * std::min(float(96 * s) / float(tw), float(cell->h - 16 * s) / float(th));
        const int dw = int(float(tw) * k), dh = int(float(th) * k);
        const SDL_Rect dst = {box.x + (box.w - dw) / 2, (cell->h - dh) / 2, dw, dh};
        layerHost->drawIcon(index, dst);
    }
    GUI_DrawRoundRect(box.x, box.y, box.w, box.h, 4 * s, kBoxOutline);

    const SDL_Color ink = cell->selected ? GUI_White : kRowInk;
    int textX = box.x + box.w + 8 * s;
    if (cell->selected && theDocument && theDocument->validIndex(index)) {
        if (SDL_Texture* icon = kindIcon(theDocument->layers[index].properties.type)) {
            int iw = 0, ih = 0;
            SDL_QueryTexture(icon, nullptr, nullptr, &iw, &ih);
            SDL_SetTextureColorMod(icon, 255, 255, 255);
            const SDL_Rect r = {textX, cell->h - 8 * s - ih, iw, ih};
            SDL_RenderCopy(GUI_renderer, icon, nullptr, &r);
            textX += iw + 4 * s;
        }
    }
    cell->titleColor = ink;
    cell->titleRect.x = textX;
    cell->titleRect.y = cell->h - 8 * s - cell->titleRect.h;
}

}  // namespace

int layersLabelTop(int windowHeight) {
    return windowHeight < 768 ? 294 : 470;
}

void buildLayerSection() {
    ui.layersLabel = new GUI_Label(ui.toolbox, localizedString("Layers").c_str(), 0,
                                   layersLabelTop(GUI_windowHeight), kToolboxWidth, kLabelHeight,
                                   GUI_White, TITLE_CENTER_V, 0);
    ui.layersLabel->bgColor = rgb(0x182539);
    ui.layersLabel->set_padding(0, 5, 0, 5);
    ui.layersLabel->set_align_flags(ALIGN_ABSOLUTE);

    ui.layerToolBar = new GUI_ToolBar(ui.toolbox, TOOLBAR_BOTTOM, 30);
    ui.layerToolBar->bgColor = rgb(0xC0C0C0);
    const Uint16 icons[6] = {0xF149, 0xF148, 0xF247, 0xF031, 0xF24D, 0xF1F8};
    const std::function<void()> actions[6] = {sendBackward, bringForward,   mergeDown,
                                              addText,      duplicateLayer, deleteLayer};
    for (int i = 0; i < 6; ++i) {
        std::function<void()> action = actions[i];
        ui.layerButtons[i] = GUI_CreateToolIcon(ui.layerToolBar, icons[i],
                                                [action](GUI_ButtonFontAwesome*) { action(); });
        ui.layerButtons[i]->normalTint = ui.layerButtons[i]->pressedTint = GUI_Black;
        ui.layerButtons[i]->tintColor = GUI_Black;
    }

    const int top = layersLabelTop(GUI_windowHeight) + kLabelHeight;
    ui.layerList = new GUI_List(
        ui.toolbox, 0, top, kToolboxWidth, 100, kRowHeight,
        [](GUI_List*, const char*, int index) { layerChosen(index); }, drawLayerRow);
    ui.layerList->bgColor = GUI_White;
    ui.layerList->noHover = true;
    ui.layerList->set_align_flags(ALIGN_ABSOLUTE);
    ui.toolbox->update_layout();
    fitLayerList();
}

void fitLayerList() {
    if (!ui.layerList || !ui.layerToolBar || !ui.layersLabel)
        return;
    const int top = ui.layersLabel->relY + ui.layersLabel->h;
    const int bottom = ui.toolbox->h - ui.layerToolBar->h;
    const int s = GUI_scale;
    ui.layerList->move_by(0, top - ui.layerList->relY);
    const int h = std::max(0, bottom - top);
    ui.layerList->fixedHeight = h / s;
    ui.layerList->hSpec = h / s;
    ui.layerList->h = h;
    ui.layerList->layout_content();
    ui.layerList->clamp_pad();
}

void layerChosen(int index) {
    if (!theDocument || !theDocument->validIndex(index))
        return;
    const LayerProperties p = theDocument->layers[index].properties;
    refreshControls();
    fillPanelsFromLayer(p);
    theDocument->statusDirty = true;
    if (p.type == kLayerShape)
        showShapePanel();
    else
        showFontPanel();
    for (PESData& layer : theDocument->layers)
        layer.highlighted = false;
    theDocument->layers[index].highlighted = true;
}

void createEditorDocument() {
    layerHost = std::make_unique<GuiLayerList>(ui.layerList);
    layerHost->displayModeOf = [] { return settings.displayMode; };
    layerHost->onStitchWarning = checkStitchWarning;
    theDocument = new Document(*layerHost);
    // Stitch fonts come from the data folder; their log lines go to the application log.
    FontEnv& env = theDocument->fontEnv;
    env.files.dataFolder = jsDataFolder();
    env.files.read = [](const std::string& path, std::vector<uint8_t>& bytes) {
        const jsBuffer file = jsBufferFromFile(path);
        if (file.empty() && !jsFile::doesFileExist(path, false))
            return false;
        bytes.assign(file.getBuffer().begin(), file.getBuffer().end());
        return true;
    };
    env.log = [](int level, const std::string& module, const std::string& text) {
        if (level == kFontPrint)
            GUI_Print("%s", text.c_str());
        else if (layerHost)
            layerHost->log(level, module, text);
    };
}

void destroyEditorDocument() {
    delete theDocument;
    theDocument = nullptr;
    layerHost.reset();
}

void releaseLayerSectionTextures() {
    for (SDL_Texture*& t : kindIcons) {
        if (t)
            SDL_DestroyTexture(t);
        t = nullptr;
    }
}
