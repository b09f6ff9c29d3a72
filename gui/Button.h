// GUI_Button: a label that reacts to clicks (press handling in GUI_Pressable), filled with a
// highlight colour while pressed.
#pragma once

#include <functional>

#include "gui/Pressable.h"

class GUI_Button : public GUI_Pressable {
public:
    using ClickCallback = std::function<void(GUI_Button*)>;

    // Positions and sizes in points; textAlign and fontIndex as for GUI_Label.
    GUI_Button(GUI_View* parent, const char* text, int x, int y, int w, int h, SDL_Color textColor,
               int textAlign, int fontIndex, ClickCallback onClick = nullptr);

    void draw() override;

    SDL_Color highlightColor = {255, 255, 255, 64};  // fill while pressed; alpha 0 = none
    ClickCallback onClick;

protected:
    bool click() override { return call(onClick, this); }
};
