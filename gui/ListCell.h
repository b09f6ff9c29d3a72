// GUI_ListCell: one row of a GUI_List: a text item (optionally with a colour bar), a separator,
// or a row the application draws itself. Its tag is its row index.
#pragma once

#include <string>

#include "gui/Label.h"

class GUI_List;

class GUI_ListCell : public GUI_Label {
public:
    // Positions and sizes in points.
    GUI_ListCell(GUI_View* parent, const char* text, int x, int y, int w, int h,
                 SDL_Color textColor, int textAlign, int fontIndex);

    void draw() override;

    bool separator = false;
    bool selectable = true;
    bool selected = false;
    bool swatch = false;
    SDL_Color swatchColor = {192, 192, 192, 255};
    std::string extra;         // free for the owner
    GUI_List* list = nullptr;  // the list the row belongs to (not owning)
    bool customDrawn = false;  // the list's cellDraw draws this row
};
