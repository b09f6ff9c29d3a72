#include "gui/Dialog.h"

#include <algorithm>
#include <cmath>

#include "gui/Draw.h"
#include "gui/Globals.h"
#include "gui/Toolkit.h"

namespace {
const SDL_Color kVeil = {0, 0, 0, 107};
}

// ---- GUI_Dialog ----

GUI_Dialog::GUI_Dialog(GUI_View* parent, const char* title, int y, int w, int h)
    : GUI_View(parent, title, 0, y, w, h, GUI_White, nullptr) {
    set_align_flags(ALIGN_ABSOLUTE);
    // A column or row parent placed it in its flow before it became absolute.
    move_by(-relX, y * GUI_scale - relY);
    bgColor = {227, 227, 227, 255};
    borderColor = GUI_Black;
    borderWidth = 0;
    // The dialog travels in data1: a pointer does not fit the 32-bit code on 64-bit systems.
    GUI_PostedEvent shown;
    shown.type = GUI_EVENT_DIALOG_SHOWN;
    shown.data1 = this;
    GUI_PostEvent(shown);
}

bool GUI_Dialog::handle_event(SDL_Event* e) {
    if (e->type == GUI_EVENT_DIALOG_SHOWN) {
        on_shown();
        return false;
    }
    return GUI_View::handle_event(e);
}

// ---- SimpleDialog ----

SimpleDialog::SimpleDialog(GUI_View* parent, int y, int w, int h)
    : GUI_Dialog(parent, "", y, w, h) {
    layoutMode = LAYOUT_COLUMN;
    update_layout();
}

void SimpleDialog::draw() {
    if (is_visible() && dimBackground)
        GUI_FillScreen(kVeil);
    GUI_View::draw();
}

GUI_Label* SimpleDialog::add_label(SDL_Color color, int flags, const std::string& text) {
    auto* label = new GUI_Label(this, text.c_str(), 0, 0, -1, 32, color, flags | TITLE_CENTER_V, 0);
    label->bgColor = GUI_NoColor;
    label->layoutMode = LAYOUT_COLUMN;
    label->update_layout();
    if (!text.empty())
        label->set_padding(0, 5, 0, 5);
    if (flags & ALIGN_RIGHT)
        label->set_margin(0, 5, 0, 0);
    else
        label->set_margin(0, 0, 0, 5);
    label->alignFlags = flags;
    update_layout();
    return label;
}

GUI_Button* SimpleDialog::add_button(const std::string& text, int flags) {
    auto* button = new GUI_Button(this, text.c_str(), 0, 0, text.empty() ? 32 : 0, 32, GUI_Black,
                                  TITLE_CENTER_V, 0, nullptr);
    button->bgColor = {0, 0, 0, 0};
    if (!text.empty())
        button->set_padding(0, 5, 0, 5);
    if (flags & ALIGN_RIGHT)
        button->set_margin(0, 5, 0, 0);
    else
        button->set_margin(0, 0, 0, 5);
    button->alignFlags = flags;
    return button;
}

// ---- BalloonDialog ----

BalloonDialog::BalloonDialog(GUI_View* parent, int y, int w, int h)
    : SimpleDialog(parent, y, w, h) {
    layoutMode = LAYOUT_FREE;
    update_layout();
}

SDL_Point BalloonDialog::arrow_center(const SDL_Rect& r) const {
    const int s = GUI_scale;
    const int t = arrowSize * s;
    const int rad = cornerRadius * s;
    const int bx = r.x + t, by = r.y + t, bw = r.w - 2 * t, bh = r.h - 2 * t;
    const float D = static_cast<float>(std::sqrt(8.0 * t * t) * 0.5);
    int cx = 0, cy = 0;
    switch (arrowSide) {
        case ARROW_LEFT:
            cx = static_cast<int>(r.x + D);
            cy = by + bh / 2;
            break;
        case ARROW_RIGHT:
            cx = static_cast<int>((r.x + r.w) - D);
            cy = by + bh / 2;
            break;
        case ARROW_TOP:
            cx = bx + bw / 2;
            cy = static_cast<int>(r.y + D);
            break;
        case ARROW_BOTTOM:
            cx = bx + bw / 2;
            cy = static_cast<int>((r.y + r.h) - D);
            break;
        default:
            break;
    }
    // Slide towards the anchor, but never into the rounded corners.
    auto slide = [&](int anchor, int origin, int start, int length) {
        const float a = static_cast<float>(anchor - origin);
        const int lo = static_cast<int>(start + rad + D);
        const int hi = static_cast<int>(start + length - rad - D);
        return lo > a ? lo : static_cast<int>(std::min(static_cast<float>(hi), a));
    };
    if ((arrowSide == ARROW_LEFT || arrowSide == ARROW_RIGHT) && anchorY != -1)
        cy = slide(anchorY, y, by, bh);
    if ((arrowSide == ARROW_TOP || arrowSide == ARROW_BOTTOM) && anchorX != -1)
        cx = slide(anchorX, x, bx, bw);
    return {cx, cy};
}

void BalloonDialog::draw_background(const SDL_Rect* rect) {
    if (dimBackground)
        GUI_FillScreen(kVeil);
    if (bgColor.a == 0)
        return;
    const SDL_Rect r = rect ? *rect : SDL_Rect{0, 0, w, h};
    const int s = GUI_scale;
    const int t = arrowSize * s;
    const SDL_Point c = arrow_center(r);
    GUI_FillRotatedSquare(c.x, c.y, 2 * t, bgColor);
    if (cornerRadius)
        GUI_FillRoundRect(r.x + t, r.y + t, r.w - 2 * t, r.h - 2 * t, cornerRadius * s, bgColor);
    else
        GUI_FillRect(r.x + t, r.y + t, r.w - 2 * t, r.h - 2 * t, bgColor);
}
