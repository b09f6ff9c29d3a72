// Dialog containers.
//
// GUI_Dialog: a light grey panel that its parent's layout leaves where it is (it starts at x 0;
// callers move it). On creation it posts GUI_EVENT_DIALOG_SHOWN (the dialog's address in data1);
// when that event reaches a dialog, on_shown runs. A dialog is made modal by setting
// GUI_modalView; it ends by close() and is deleted by its parent in the next draw pass.
//
// SimpleDialog: a dialog that stacks its children in a column and may veil the window behind it.
// BalloonDialog: a SimpleDialog drawn as a speech balloon whose arrow points at an anchor.
//
// Units: constructor positions and sizes in points.
#pragma once

#include <string>

#include "gui/Button.h"
#include "gui/Label.h"
#include "gui/View.h"

class GUI_Dialog : public GUI_View {
public:
    GUI_Dialog(GUI_View* parent, const char* title, int y, int w, int h);

    bool handle_event(SDL_Event* e) override;
    // Called when a GUI_EVENT_DIALOG_SHOWN event reaches the dialog; for subclasses.
    virtual void on_shown() {}
};

class SimpleDialog : public GUI_Dialog {
public:
    SimpleDialog(GUI_View* parent, int y, int w, int h);

    void draw() override;
    // A full-width row of text, 32 points high. flags: alignment flags of the row.
    GUI_Label* add_label(SDL_Color textColor, int flags, const std::string& text);
    // A 32 point high button (32 wide without text, fitting its text otherwise), without click
    // callback; the caller sets onClick and lays the dialog out.
    GUI_Button* add_button(const std::string& text, int flags);

    bool dimBackground = false;  // veil the window with RGBA 0, 0, 0, 107
};

class BalloonDialog : public SimpleDialog {
public:
    enum { ARROW_LEFT = 0, ARROW_RIGHT = 1, ARROW_TOP = 2, ARROW_BOTTOM = 3 };

    BalloonDialog(GUI_View* parent, int y, int w, int h);

    void draw_background(const SDL_Rect* rect) override;
    // Centre of the arrow square in view pixels for the background rectangle r.
    SDL_Point arrow_center(const SDL_Rect& r) const;

    int arrowSide = ARROW_LEFT;
    int anchorX = -1;    // window pixels; −1 = middle of the side
    int anchorY = -1;    // window pixels; −1 = middle of the side
    int arrowSize = 12;  // points: half the arrow square's side, and the body's inset
};
