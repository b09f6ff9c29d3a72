#include "gui/Pressable.h"

#include "gui/Globals.h"

GUI_Pressable::GUI_Pressable(GUI_View* parent, const char* text, int x, int y, int w, int h,
                             SDL_Color textColor, int textAlign, int fontIndex)
    : GUI_Label(parent, text, x, y, w, h, textColor, textAlign, fontIndex) {}

void GUI_Pressable::let_go() {
    if (GUI_mouseCapture == this)
        GUI_mouseCapture = nullptr;
    pressed = mouseDown = false;
}

bool GUI_Pressable::handle_event(SDL_Event* e) {
    if (!is_visible())
        return false;
    if (e->type == GUI_EVENT_DRAW)
        return GUI_View::handle_event(e);
    // A disabled view behaves like an unclickable one.
    if (!clickable || !is_enabled()) {
        let_go();
        return false;
    }
    int mx = 0, my = 0;
    GUI_EventPosition(e, &mx, &my);
    switch (e->type) {
        case SDL_MOUSEBUTTONDOWN:
            if (!hit_test(mx, my, true)) {
                // Only the holder of the capture sees a press elsewhere: a second mouse button,
                // or a release that never arrived. That press ends ours and goes on to whatever
                // is under the pointer.
                if (mouseDown)
                    let_go();
                return false;
            }
            pressed = mouseDown = true;
            GUI_mouseCapture = this;
            pressTime = holdTime = static_cast<int>(SDL_GetTicks());
            return true;
        case SDL_MOUSEMOTION:
            if (!mouseDown)
                break;
            if (hit_test(mx, my, true)) {
                pressed = true;
                return true;
            }
            pressed = false;
            pressTime = holdTime = -1;
            return false;
        case SDL_MOUSEBUTTONUP:
            if (!mouseDown)
                break;
            let_go();
            if (!hit_test(mx, my, true))
                return false;
            if (pressTime != -1)
                holdTime = static_cast<int>(SDL_GetTicks()) - pressTime;
            return click();
        default:
            break;
    }
    GUI_View::handle_event(e);
    return false;
}
