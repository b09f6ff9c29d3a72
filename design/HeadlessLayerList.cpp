#include "design/HeadlessLayerList.h"

#include <cstdio>

void HeadlessLayerList::addCell(const std::string& label) {
    Cell c;
    c.label = label;
    c.text = label;
    cells.push_back(c);
}

void HeadlessLayerList::insertCell(int index, const std::string& label) {
    if (index < 0 || index > cellCount())
        return;
    Cell c;
    c.label = label;
    c.text = label;
    cells.insert(cells.begin() + index, c);
}

void HeadlessLayerList::removeCell(int index) {
    if (index < 0 || index >= cellCount())
        return;
    cells.erase(cells.begin() + index);
    // A list keeps its selection on the same position while it still exists.
    if (selected >= cellCount())
        selected = cellCount() - 1;
}

void HeadlessLayerList::removeAllCells() {
    cells.clear();
    selected = -1;
}

void HeadlessLayerList::selectCell(int index) {
    if (index >= 0 && index < cellCount())
        selected = index;
}

void HeadlessLayerList::setCellSwatch(int index, Rgba color) {
    if (index >= 0 && index < cellCount())
        cells[index].swatch = color;
}

void HeadlessLayerList::setCellText(int index, const std::string& text) {
    if (index >= 0 && index < cellCount())
        cells[index].text = text;
}

void HeadlessLayerList::setCellIcon(int index, LayerTexture* texture, int w, int h) {
    if (index < 0 || index >= cellCount())
        return;
    cells[index].icon = texture;
    cells[index].iconW = w;
    cells[index].iconH = h;
}

std::shared_ptr<LayerTexture> HeadlessLayerList::createTexture() {
    if (failTextures)
        return nullptr;
    return std::make_shared<HeadlessTexture>(++texturesMade);
}

void HeadlessLayerList::drawStitches(const PESData&, LayerTexture& texture) {
    if (auto* t = dynamic_cast<HeadlessTexture*>(&texture))
        ++t->draws;
}

void HeadlessLayerList::log(int level, const std::string& module, const std::string& text) {
    lines.push_back({level, module, text});
    if (echo)
        std::fprintf(stderr, "%s%s%s\n", module.c_str(), module.empty() ? "" : ": ", text.c_str());
}

bool HeadlessLayerList::logged(const std::string& module, const std::string& text) const {
    for (const auto& l : lines) {
        if (l.module == module && l.text == text)
            return true;
    }
    return false;
}
