// GUI_ToolBar: a full-width strip that lays out buttons and labels in a row, docked at the top
// (TOOLBAR_TOP) or the bottom (TOOLBAR_BOTTOM) of its parent. With a corner radius, the corners
// that touch the parent's edge stay square. Units: sizes in points.
#pragma once

#include <functional>
#include <string>

#include "gui/Button.h"
#include "gui/Label.h"
#include "gui/View.h"

enum { TOOLBAR_TOP = 1, TOOLBAR_BOTTOM = 2 };

class GUI_ToolBar : public GUI_View {
public:
    // Called by the bar's buttons with the button's tag (the third argument is always 0).
    using ButtonCallback = std::function<void(GUI_ToolBar*, int tag, int)>;

    GUI_ToolBar(GUI_View* parent, int kind, int h);

    // A 32 point high button (32 wide without text), centred vertically; imagePath (may be
    // empty) is loaded with GUI_LoadImageScaled. margin: 5 points towards its neighbour.
    GUI_Button* add_button(const std::string& text, const std::string& imagePath, int tag,
                           int flags, bool margin);
    GUI_Label* add_label(int flags, const std::string& text, const std::string& imagePath);

    void draw_background(const SDL_Rect* rect) override;

    ButtonCallback onButton;
    int barKind;
};
