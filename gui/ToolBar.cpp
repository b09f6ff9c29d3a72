#include "gui/ToolBar.h"

#include "gui/Draw.h"
#include "gui/Globals.h"
#include "gui/Log.h"

GUI_ToolBar::GUI_ToolBar(GUI_View* parent, int kind, int h)
    : GUI_View(parent, "ToolBar", 0, 0, -1, h, GUI_White, nullptr), barKind(kind) {
    set_align_flags(kind == TOOLBAR_BOTTOM ? ALIGN_BOTTOM : 0);
    borderWidth = 0;
    layoutMode = LAYOUT_ROW;
    update_layout();
    padding[0] = 0;
    padding[1] = 5;
    padding[2] = 0;
    padding[3] = 5;
    update_layout();
    bgColor = {63, 81, 181, 255};
    titleColor = GUI_White;
    draggable = false;
}

GUI_Button* GUI_ToolBar::add_button(const std::string& text, const std::string& imagePath, int tag,
                                    int flags, bool margin) {
    auto* button = new GUI_Button(this, text.c_str(), 0, 0, text.empty() ? 32 : 0, 32, GUI_Black,
                                  TITLE_CENTER_V, 0, [](GUI_Button* b) {
                                      GUI_LogPrint("Button: %i\n", b->tag);
                                      auto* bar = dynamic_cast<GUI_ToolBar*>(b->parent);
                                      if (bar && bar->onButton) {
                                          ButtonCallback cb = bar->onButton;
                                          cb(bar, b->tag, 0);
                                      }
                                  });
    button->tag = tag;
    button->set_align_flags(flags | ALIGN_CENTER_V);
    button->bgColor = {0, 0, 0, 0};
    button->layoutMode = LAYOUT_COLUMN;
    button->update_layout();
    if (!text.empty())
        button->set_padding(0, 5, 0, 0);
    if (margin) {
        if (flags & ALIGN_RIGHT)
            button->set_margin(0, 5, 0, 0);
        else
            button->set_margin(0, 0, 0, 5);
    }
    if (!imagePath.empty())
        button->set_image(GUI_LoadImageScaled(imagePath), false);
    button->layout_content();
    return button;
}

GUI_Label* GUI_ToolBar::add_label(int flags, const std::string& text,
                                  const std::string& imagePath) {
    auto* label = new GUI_Label(this, text.c_str(), 0, 0, text.empty() ? 32 : 0, 32, GUI_Black,
                                TITLE_CENTER_V, 1);
    label->tag = tag;
    label->set_align_flags(flags | ALIGN_CENTER_V);
    label->bgColor = GUI_NoColor;
    if (!text.empty())
        label->set_padding(0, 5, 0, 0);
    if (!imagePath.empty())
        label->set_image(GUI_LoadImageScaled(imagePath), false);
    return label;
}

void GUI_ToolBar::draw_background(const SDL_Rect* rect) {
    if (bgColor.a == 0)
        return;
    const SDL_Rect r = rect ? *rect : SDL_Rect{0, 0, w, h};
    const int c = cornerRadius * GUI_scale;
    if (cornerRadius)
        GUI_FillRoundRect(r.x, r.y, r.w, r.h, c, bgColor);
    else
        GUI_FillRect(r.x, r.y, r.w, r.h, bgColor);
    if (!cornerRadius)
        return;
    // Square off the corners that touch the parent's edge.
    if (barKind == TOOLBAR_TOP)
        GUI_FillRect(0, h - c, w, c, bgColor);
    else if (barKind == TOOLBAR_BOTTOM)
        GUI_FillRect(0, 0, w, c, bgColor);
}
