#include "design/commands/HorizontalFlipCommand.h"

HorizontalFlipCommand::HorizontalFlipCommand(Document& document, int index)
    : Command(document, "Horizontal Flip"), index(index) {
    redo = [this] {
        if (!doc.validIndex(this->index))
            return;
        doc.layers[this->index].mirrorY();
        doc.select(this->index);
        doc.renderLayer(this->index);
        doc.statusDirty = true;
    };
    undo = redo;
}
