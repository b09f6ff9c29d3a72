// "Cut": copies a layer to the clipboard and removes it; undo puts it back at its index (with its
// texture) and empties the clipboard.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class CutCommand : public Command {
public:
    CutCommand(Document& document, int index);

private:
    int index;
    PESData copy;
    bool removed = false;
};
