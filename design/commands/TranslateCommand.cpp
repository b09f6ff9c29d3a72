#include "design/commands/TranslateCommand.h"

TranslateCommand::TranslateCommand(Document& document, int index, int32_t dx, int32_t dy)
    : Command(document, "Move"), index(index), dx(dx), dy(dy) {
    auto move = [this](int32_t x, int32_t y) {
        if (!doc.validIndex(this->index))
            return;
        PESData& l = doc.layers[this->index];
        l.translate(x, y);
        l.computeBounds();
        doc.statusDirty = true;
    };
    redo = [this, move] { move(this->dx, this->dy); };
    undo = [this, move] { move(-this->dx, -this->dy); };
}
