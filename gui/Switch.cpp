#include "gui/Switch.h"

#include "gui/Draw.h"
#include "gui/Globals.h"

GUI_Switch::GUI_Switch(GUI_View* parent, int x, int y, int w, int h, SDL_Color bg,
                       ToggleCallback cb)
    : GUI_View(parent, "Switch", x, y, w, h, bg, nullptr), onToggle(std::move(cb)) {
    cornerRadius = 12;
    borderWidth = 0;
    draggable = false;
}

void GUI_Switch::draw() {
    if (!is_visible())
        return;
    bgColor = state ? onColor : offColor;
    begin_draw();
    if (drawCallback)
        drawCallback(this);
    const int r = knobRadius * GUI_scale;
    const int cx = state ? w - r : r;
    GUI_FillCircle(cx, r, r, knobRimColor);
    GUI_FillCircle(cx, r, (knobRadius - 2) * GUI_scale, GUI_White);
}

bool GUI_Switch::handle_event(SDL_Event* e) {
    if (!is_visible())
        return false;
    if (e->type == GUI_EVENT_DRAW)
        return GUI_View::handle_event(e);
    int mx = 0, my = 0;
    const bool mouse = GUI_EventPosition(e, &mx, &my);
    if (mouse && !is_enabled()) {
        if (GUI_mouseCapture == this)
            GUI_mouseCapture = nullptr;
        pressed = mouseDown = false;
        return false;
    }
    switch (e->type) {
        case SDL_MOUSEBUTTONDOWN:
            pressed = mouseDown = true;
            GUI_mouseCapture = this;
            return true;
        case SDL_MOUSEMOTION:
            if (!mouseDown)
                break;
            if (hit_test(mx, my, true)) {
                pressed = true;
                return true;
            }
            pressed = mouseDown = false;
            if (GUI_mouseCapture == this)
                GUI_mouseCapture = nullptr;
            return false;
        case SDL_MOUSEBUTTONUP:
            if (!mouseDown)
                break;
            if (GUI_mouseCapture == this)
                GUI_mouseCapture = nullptr;
            pressed = mouseDown = false;
            if (hit_test(mx, my, true)) {
                state = !state;
                if (onToggle) {
                    ToggleCallback cb = onToggle;
                    cb(this, state);
                }
                return true;
            }
            return false;
        default:
            break;
    }
    GUI_View::handle_event(e);
    return false;
}
