#include "design/commands/BringForwardCommand.h"

BringForwardCommand::BringForwardCommand(Document& document, int index)
    : Command(document, "Bring Forward"), index(index) {
    redo = [this] { doc.swapLayers(this->index, this->index + 1); };
    undo = [this] { doc.swapLayers(this->index + 1, this->index); };
}
