// "Edit Shape": a shape layer generated again from new parameters where it was; undo restores
// the copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class EditShapeCommand : public Command {
public:
    EditShapeCommand(Document& document, int index, const LayerProperties& newProperties);

    // The shape rebuild alone (no history), as loading a project runs it.
    static void rebuild(Document& document, int index, const LayerProperties& newProperties);

private:
    int index;
    PESData copy;
    LayerProperties oldProperties, newProperties;
};
