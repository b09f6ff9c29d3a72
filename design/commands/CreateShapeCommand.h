// "Create Shape": appends a generated shape layer, centred on the selected text layer when there
// is one; undo removes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class CreateShapeCommand : public Command {
public:
    CreateShapeCommand(Document& document, const PESData& shape);

private:
    PESData shape;
};
