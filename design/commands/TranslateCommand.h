// "Move": moves a layer by (dx, dy) in 0.1 mm; undo moves it back. The texture is reused (a move
// changes only where it is drawn).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class TranslateCommand : public Command {
public:
    TranslateCommand(Document& document, int index, int32_t dx, int32_t dy);

private:
    int index;
    int32_t dx, dy;
};
