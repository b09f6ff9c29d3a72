// GUI_Button: a label that reacts to clicks. While pressed it holds GUI_mouseCapture, so that it
// sees the button-up even outside itself; the click callback runs only when the button is
// released over it. A disabled or unclickable button ignores the mouse.
#pragma once

#include <functional>

#include "gui/Label.h"

class GUI_Button : public GUI_Label {
public:
    using ClickCallback = std::function<void(GUI_Button*)>;

    // Positions and sizes in points; textAlign and fontIndex as for GUI_Label.
    GUI_Button(GUI_View* parent, const char* text, int x, int y, int w, int h, SDL_Color textColor,
               int textAlign, int fontIndex, ClickCallback onClick = nullptr);

    void draw() override;
    bool handle_event(SDL_Event* e) override;

    bool pressed = false;
    bool mouseDown = false;
    bool clickable = true;
    SDL_Color highlightColor = {255, 255, 255, 64};  // fill while pressed; alpha 0 = none
    ClickCallback onClick;
    int pressTime = -1;  // ms (SDL ticks) of the press, −1 when the pointer left the button
    int holdTime = -1;   // ms: how long the last completed press lasted
};
