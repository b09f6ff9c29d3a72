// "Vertical Flip": mirrors a layer's x inside its bounds (mirrorX); mirroring again undoes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class VertitalFlipCommand : public Command {
public:
    VertitalFlipCommand(Document& document, int index);

private:
    int index;
};

// The class keeps its historical name; this is the spelling to use in new code.
using VerticalFlipCommand = VertitalFlipCommand;
