#include "design/commands/CutCommand.h"

CutCommand::CutCommand(Document& document, int index) : Command(document, "Cut"), index(index) {
    if (doc.validIndex(index))
        copy = doc.layers[index];
    redo = [this] {
        removed = false;
        if (doc.validIndex(this->index)) {
            doc.copyToClipboard(this->index);
            doc.removeLayer(this->index);
            removed = true;
        }
        doc.statusDirty = true;
    };
    undo = [this] {
        // Only what the redo took out goes back.
        if (removed)
            doc.insertLayer(this->index, copy, copy.properties.text);
        doc.clipboardFull = false;
    };
}
