#include "design/commands/VertitalFlipCommand.h"

VertitalFlipCommand::VertitalFlipCommand(Document& document, int index)
    : Command(document, "Vertical Flip"), index(index) {
    redo = [this] {
        if (!doc.validIndex(this->index))
            return;
        doc.layers[this->index].mirrorX();
        doc.select(this->index);
        doc.renderLayer(this->index);
        doc.statusDirty = true;
    };
    undo = redo;
}
