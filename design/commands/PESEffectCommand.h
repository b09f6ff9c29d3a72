// "Base Line": a PES layer bent onto a circle and rotated from its untransformed stitches; undo
// restores the copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class PESEffectCommand : public Command {
public:
    PESEffectCommand(Document& document, int index, int32_t baselineIndex, float radiusValue,
                     float angleValue, float rotateValue);

private:
    int index;
    PESData copy;
    LayerProperties oldProperties, newProperties;
};
