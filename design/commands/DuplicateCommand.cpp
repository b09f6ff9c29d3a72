#include "design/commands/DuplicateCommand.h"

#include <cstdio>

DuplicateCommand::DuplicateCommand(Document& document, int index)
    : Command(document, "Duplicate"), index(index) {
    redo = [this] {
        if (!doc.validIndex(this->index))
            return;
        PESData copy = doc.layers[this->index];
        copy.translate(25, 25);
        copy.computeBounds();
        doc.appendLayer(copy, copy.properties.text);
    };
    undo = [this] { doc.removeLayer(doc.layerCount() - 1); };
}

DuplicateCommand::~DuplicateCommand() {
    char text[32];
    std::snprintf(text, sizeof text, "%p", static_cast<void*>(this));
    doc.log(1, "~DuplicateCommand", text);
}
