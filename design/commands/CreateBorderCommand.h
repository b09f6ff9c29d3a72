// "Border": appends a border layer built around a text layer; undo removes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class CreateBorderCommand : public Command {
public:
    CreateBorderCommand(Document& document, const PESData& border);

private:
    PESData border;
};
