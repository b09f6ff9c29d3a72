// GUI_Label: a line of text, optionally with an image before it, that sizes itself to its content
// when created with width or height 0. Transparent, borderless and not draggable.
//
// Units: constructor positions and sizes in points; padding 2 points on each side.
#pragma once

#include "gui/View.h"

class GUI_Label : public GUI_View {
public:
    // textAlign: TITLE_CENTER_H, TITLE_RIGHT, TITLE_CENTER_V, TITLE_BOTTOM bits.
    GUI_Label(GUI_View* parent, const char* text, int x, int y, int w, int h, SDL_Color textColor,
              int textAlign, int fontIndex);

    // fontIndex −1 keeps the label's font.
    void set_title(const std::string& text, int fontIndex = -1) override;
    void layout_content() override;
    void set_padding(int top, int right, int bottom, int left) override;
    // The text in the label's own font.
    void set_text(const std::string& text) { set_title(text, -1); }
    // Text colour and title tint together.
    void set_text_color(SDL_Color color) { textColor = titleColor = color; }

    int textAlign;
    int fontIndex;
    SDL_Color textColor;

protected:
    int default_font_index() const override { return fontIndex; }
};
