// GUI_Switch: an on/off pill with a round knob. A click (press and release over the switch)
// toggles it and reports the new state once. A disabled switch ignores the mouse.
#pragma once

#include <functional>

#include "gui/View.h"

class GUI_Switch : public GUI_View {
public:
    using ToggleCallback = std::function<void(GUI_Switch*, bool)>;

    // Positions and sizes in points (the usual size is 39 × 24).
    GUI_Switch(GUI_View* parent, int x, int y, int w, int h, SDL_Color bg,
               ToggleCallback onToggle = nullptr);

    void draw() override;
    bool handle_event(SDL_Event* e) override;

    bool pressed = false;
    bool mouseDown = false;
    bool state = false;
    SDL_Color offColor = {0, 0, 0, 64};
    SDL_Color onColor = {50, 206, 66, 255};
    SDL_Color knobRimColor = {0, 0, 0, 64};
    int knobRadius = 12;  // points
    ToggleCallback onToggle;
};
