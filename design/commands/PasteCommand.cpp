#include "design/commands/PasteCommand.h"

PasteCommand::PasteCommand(Document& document) : Command(document, "Paste") {
    redo = [this] {
        const PESData copy = doc.clipboardLayer;
        doc.appendLayer(copy, copy.properties.text);
    };
    undo = [this] { doc.removeLayer(doc.layerCount() - 1); };
}
