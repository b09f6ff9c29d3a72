// "Delete": removes a layer; undo puts a copy back at its index.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class DeleteCommand : public Command {
public:
    DeleteCommand(Document& document, int index);

private:
    int index;
    PESData copy;
    LayerProperties properties;
    bool removed = false;
};
