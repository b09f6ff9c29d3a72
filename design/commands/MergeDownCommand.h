// "Merge Down": merges layer index + 1 into layer index, which becomes a PES layer; undo restores
// both layers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class MergeDownCommand : public Command {
public:
    MergeDownCommand(Document& document, int index);

private:
    int index;
    PESData lower, upper;  // layers index and index + 1 before the merge
    bool merged = false;
};
