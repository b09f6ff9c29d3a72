// "Color": gives a layer's first colour run a new thread (c is a palette index minus 1) and its
// cell that thread as swatch; undo puts the old one back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class ColorCommand : public Command {
public:
    ColorCommand(Document& document, int index, int32_t color);

private:
    void apply(int32_t c);
    int index;
    int32_t newColor, oldColor;
};
