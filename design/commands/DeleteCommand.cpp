#include "design/commands/DeleteCommand.h"

DeleteCommand::DeleteCommand(Document& document, int index)
    : Command(document, "Delete"), index(index) {
    if (doc.validIndex(index)) {
        copy = doc.layers[index];
        properties = copy.properties;
    }
    redo = [this] {
        removed = doc.validIndex(this->index);
        doc.removeLayer(this->index);
    };
    undo = [this] {
        if (!removed)
            return;
        PESData layer = copy;
        layer.properties = properties;
        doc.insertLayer(this->index, layer, layer.properties.text);
    };
}
