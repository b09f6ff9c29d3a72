// "Duplicate": appends a copy of a layer moved by (25, 25), 2.5 mm right and down; undo removes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class DuplicateCommand : public Command {
public:
    DuplicateCommand(Document& document, int index);
    ~DuplicateCommand() override;

private:
    int index;
};
