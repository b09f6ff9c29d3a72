#include "design/commands/SendBackwardCommand.h"

SendBackwardCommand::SendBackwardCommand(Document& document, int index)
    : Command(document, "Send Backward"), index(index) {
    redo = [this] { doc.swapLayers(this->index, this->index - 1); };
    undo = [this] { doc.swapLayers(this->index - 1, this->index); };
}
