// "Paste": appends a copy of the clipboard layer as it is when the command runs; undo removes it.
// Made only while the clipboard is full.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class PasteCommand : public Command {
public:
    PasteCommand(Document& document);
};
