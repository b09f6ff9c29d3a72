// "Horizontal Flip": mirrors a layer's y inside its bounds (mirrorY); mirroring again undoes it.
// The flip button names it "Horizintal Flip" (a localisation key of its own).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class HorizontalFlipCommand : public Command {
public:
    HorizontalFlipCommand(Document& document, int index);

private:
    int index;
};
