// "Bring Forward": swaps a layer with the one above it (index + 1), which ends selected.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class BringForwardCommand : public Command {
public:
    BringForwardCommand(Document& document, int index);

private:
    int index;
};
