#include "design/commands/ColorCommand.h"

ColorCommand::ColorCommand(Document& document, int index, int32_t color)
    : Command(document, "Color"), index(index), newColor(color), oldColor(0) {
    if (doc.validIndex(index))
        oldColor = doc.layers[index].properties.colorIndex;
    redo = [this] { apply(newColor); };
    undo = [this] { apply(oldColor); };
}

void ColorCommand::apply(int32_t c) {
    if (index < 0 || index >= doc.host.cellCount() || !doc.validIndex(index))
        return;
    doc.layers[index].setColor(c);
    doc.setSwatchFromColor(index, c);
    doc.renderLayer(index);
    doc.select(index);
    doc.statusDirty = true;
}
