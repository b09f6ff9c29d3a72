// "Add Text": a new text layer with the default text, or, when a text layer is selected, a copy of
// it 2.5 mm right and down; undo removes the last layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class AddTextCommand : public Command {
public:
    AddTextCommand(Document& document, int index);

private:
    int index;
    bool added = false;
};
