// GUI_Pressable: the press, release and click handling shared by the push buttons. A press over
// the view takes GUI_mouseCapture, so that the view sees the button-up even outside itself; the
// view counts as pressed while the pointer stays over it, and it is clicked only when the button
// is released over it. A disabled or unclickable view ignores the mouse and lets go of a press it
// holds. Subclasses draw themselves and run their own click callback.
#pragma once

#include <SDL.h>

#include "gui/Label.h"

class GUI_Pressable : public GUI_Label {
public:
    // As GUI_Label: positions and sizes in points.
    GUI_Pressable(GUI_View* parent, const char* text, int x, int y, int w, int h,
                  SDL_Color textColor, int textAlign, int fontIndex);

    bool handle_event(SDL_Event* e) override;

    bool pressed = false;    // the mouse is down on the view and the pointer over it
    bool mouseDown = false;  // a press of this view is in progress
    bool clickable = true;
    int pressTime = -1;  // ms (SDL ticks) of the press, −1 when the pointer left the view
    int holdTime = -1;   // ms: how long the last completed press lasted

protected:
    // Runs the click callback after a release over the view; returns false when there is none.
    // The callback may close or delete the view: nothing of it is touched afterwards.
    virtual bool click() = 0;

    // Calls a copy of `callback` with `self`, so that a callback that replaces itself (or closes
    // its button) keeps running; false when it is empty.
    template <class Callback, class Self>
    static bool call(const Callback& callback, Self* self) {
        if (!callback)
            return false;
        Callback copy = callback;
        copy(self);
        return true;
    }

private:
    // Ends a press without a click: flags cleared, capture given back.
    void let_go();
};
