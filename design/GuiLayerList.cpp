#include "design/GuiLayerList.h"

#include "design/RenderingLayerList.h"
#include "design/StitchRenderer.h"
#include "gui/Globals.h"
#include "gui/Localization.h"
#include "gui/Log.h"

int GuiLayerList::cellCount() const {
    return list ? list->getCount() : 0;
}

void GuiLayerList::styleCell(GUI_ListCell* cell) {
    if (!cell)
        return;
    cell->borderWidth = 1;
    cell->borderColor = {160, 160, 160, 255};
    cell->swatch = true;
}

void GuiLayerList::addCell(const std::string& label) {
    if (!list)
        return;
    styleCell(list->addCell(label));
    icons.resize(list->getCount());
}

void GuiLayerList::insertCell(int index, const std::string& label) {
    if (!list || index < 0 || index > list->getCount())
        return;
    styleCell(list->insertCell(label, index));
    icons.insert(icons.begin() + std::min<std::size_t>(index, icons.size()), Icon());
    icons.resize(list->getCount());
}

void GuiLayerList::removeCell(int index) {
    if (!list || index < 0 || index >= list->getCount())
        return;
    list->removeCell(index);
    if (static_cast<std::size_t>(index) < icons.size())
        icons.erase(icons.begin() + index);
    icons.resize(list->getCount());
}

void GuiLayerList::removeAllCells() {
    if (list)
        list->removeAllCells();
    icons.clear();
}

int GuiLayerList::selectedCell() const {
    return list ? list->selectedIndex : -1;
}

void GuiLayerList::selectCell(int index) {
    if (list && index >= 0 && index < list->getCount())
        list->selectIndex(index);
}

void GuiLayerList::setCellSwatch(int index, Rgba c) {
    if (GUI_ListCell* cell = list ? list->getCell(index) : nullptr)
        cell->swatchColor = {c.r, c.g, c.b, c.a};
}

void GuiLayerList::setCellText(int index, const std::string& text) {
    if (GUI_ListCell* cell = list ? list->getCell(index) : nullptr)
        cell->set_text(text);
}

void GuiLayerList::setCellIcon(int index, LayerTexture* texture, int w, int h) {
    if (index < 0 || index >= cellCount())
        return;
    icons.resize(cellCount());
    icons[index] = {texture, w, h};
}

void GuiLayerList::drawIcon(int index, const SDL_Rect& dst) const {
    if (index < 0 || static_cast<std::size_t>(index) >= icons.size() || !GUI_renderer)
        return;
    const Icon& icon = icons[index];
    SDL_Texture* t = sdlTextureOf(icon.texture);
    if (!t || icon.w <= 0 || icon.h <= 0)
        return;
    const SDL_Rect src = {0, 0, icon.w, icon.h};
    SDL_RenderCopy(GUI_renderer, t, &src, &dst);
}

bool GuiLayerList::iconSize(int index, int* w, int* h) const {
    if (index < 0 || static_cast<std::size_t>(index) >= icons.size())
        return false;
    const Icon& icon = icons[index];
    if (!sdlTextureOf(icon.texture) || icon.w <= 0 || icon.h <= 0)
        return false;
    *w = icon.w;
    *h = icon.h;
    return true;
}

std::shared_ptr<LayerTexture> GuiLayerList::createTexture() {
    auto t = std::make_shared<RenderTexture>();
    if (!t->isValid()) {
        GUI_LogError("SDLSmartTexture") << "SDL_CreateTexture fail";
        return nullptr;
    }
    return t;
}

void GuiLayerList::drawStitches(const PESData& layer, LayerTexture& texture) {
    stitchrender::renderStitches(layer, sdlTextureOf(&texture), displayMode());
}

void GuiLayerList::memoryWarning() {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, localizedString("Memory Warning").c_str(),
                             localizedString("MEMORY_WARNING_MSG").c_str(), GUI_window);
}

std::string GuiLayerList::localized(const std::string& key) {
    return localizedString(key);
}

void GuiLayerList::log(int level, const std::string& module, const std::string& text) {
    switch (level) {
        case 0:
            GUI_LogVerbose(module) << text;
            break;
        case 1:
            GUI_LogNotice(module) << text;
            break;
        case 2:
            GUI_LogWarning(module) << text;
            break;
        default:
            GUI_LogError(module) << text;
            break;
    }
}
