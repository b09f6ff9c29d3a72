#include "gui/Label.h"

#include <algorithm>

#include "gui/Globals.h"

GUI_Label::GUI_Label(GUI_View* parent, const char* text, int x, int y, int w, int h,
                     SDL_Color color, int align, int font)
    : GUI_View(parent, nullptr, x, y, w, h, GUI_NoColor, nullptr),
      textAlign(align),
      fontIndex(font),
      textColor(color) {
    borderWidth = 0;
    draggable = false;
    titleColor = color;
    titleAlign = align;
    set_title(text ? text : "", font);
    padding[0] = padding[1] = padding[2] = padding[3] = 2;
    layout_content();
}

void GUI_Label::set_title(const std::string& text, int font) {
    if (font >= 0)
        fontIndex = font;
    GUI_View::set_title(text, fontIndex);
}

void GUI_Label::set_padding(int top, int right, int bottom, int left) {
    padding[0] = top;
    padding[1] = right;
    padding[2] = bottom;
    padding[3] = left;
    layout_content();
}

void GUI_Label::layout_content() {
    const int s = GUI_scale;
    const int tw = titleTexture ? titleRect.w : 0;
    const int th = titleTexture ? titleRect.h : 0;
    int contentW = std::max(tw, minWidth);
    int contentH = std::max(th, minHeight);
    int iconW = 0;
    const int iw = image ? imageRect.w : 0;
    const int ih = image ? imageRect.h : 0;
    if (image) {
        iconW = iw + (title.empty() ? 0 : s * iconGap);
        if (ih > th)
            contentH += ih - th;
        contentW += iconW;
    }
    const int oldW = w, oldH = h;
    if (wSpec == 0)
        w = contentW + s * (padding[3] + padding[1]);
    if (hSpec == 0)
        h = contentH + s * (padding[0] + padding[2]);
    const bool changed = w != oldW || h != oldH;

    int imageX, textX;
    if (titleAlign & TITLE_CENTER_H) {
        imageX = (w - contentW) / 2;
        textX = imageX + iconW;
    } else if (titleAlign & TITLE_RIGHT) {
        textX = w - s * padding[1] - tw;
        imageX = textX - s * iconGap - iw;
    } else {
        imageX = s * padding[3];
        textX = iconW + s * padding[3];
    }
    int imageY, textY;
    if (titleAlign & TITLE_CENTER_V) {
        textY = (h - th) / 2;
        imageY = (h - ih) / 2;
    } else if (titleAlign & TITLE_BOTTOM) {
        textY = h - s * padding[2] - th;
        imageY = h - s * padding[2] - ih;
    } else {
        textY = imageY = s * padding[0];
    }
    titleRect = {textX, textY, tw, th};
    imageRect.x = imageX;
    imageRect.y = imageY;

    if (changed && parent)
        parent->update_layout();
}
