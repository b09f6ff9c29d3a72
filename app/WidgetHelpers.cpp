#include "app/WidgetHelpers.h"

#include "gui/Button.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/IconButton.h"
#include "gui/Label.h"
#include "gui/View.h"

SDL_Texture* iconTexture(Uint16 code, int sizeIndex) {
    SDL_Texture* t = GUI_RenderIcon(code, nullptr, nullptr, GUI_White, sizeIndex);
    if (t)
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    return t;
}

int fontIndexForPoints(int points) {
    if (points <= 12)
        return 2;
    return points <= 16 ? 0 : 1;
}

GUI_Label* makeLabel(GUI_View* parent, const std::string& text, int x, int y, SDL_Color color,
                     int fontIndex) {
    auto* label = new GUI_Label(parent, text.c_str(), x, y, 0, 0, color, TITLE_CENTER_V, fontIndex);
    label->set_align_flags(ALIGN_ABSOLUTE);
    return label;
}

GUI_Button* makeFilledButton(GUI_View* parent, const std::string& caption, int x, int y, int w,
                             int h, SDL_Color background, SDL_Color textColor, int fontPoints,
                             int cornerRadius, std::function<void()> action) {
    auto* b = new GUI_Button(parent, caption.c_str(), x, y, w, h, textColor,
                             TITLE_CENTER_H | TITLE_CENTER_V, fontIndexForPoints(fontPoints),
                             [action](GUI_Button*) {
                                 if (action)
                                     action();
                             });
    b->bgColor = background;
    b->cornerRadius = cornerRadius;
    b->set_align_flags(ALIGN_ABSOLUTE);
    // A caption wider than its button is drawn smaller, keeping its proportions, rather than cut.
    b->drawCallback = [](GUI_View* v) {
        const int room = v->w - 4 * GUI_scale;
        if (room <= 0 || v->titleRect.w <= room)
            return;
        int tw = 0, th = 0;
        SDL_QueryTexture(v->titleTexture, nullptr, nullptr, &tw, &th);
        if (tw <= room)
            return;
        const int h = th * room / tw;
        v->titleRect = {(v->w - room) / 2, (v->h - h) / 2, room, h};
    };
    return b;
}

GUI_ButtonFontAwesome* makeIconButton(GUI_View* parent, Uint16 icon, int x, int y, int w, int h,
                                      SDL_Color color, std::function<void()> action) {
    auto* b = new GUI_ButtonFontAwesome(parent, icon, x, y, w, h, color, 0,
                                        [action](GUI_ButtonFontAwesome*) {
                                            if (action)
                                                action();
                                        });
    b->set_align_flags(ALIGN_ABSOLUTE);
    return b;
}

GUI_View* makeContainer(GUI_View* parent, const char* name, int x, int y, int w, int h) {
    auto* v = new GUI_View(parent, name, x, y, w, h, GUI_NoColor);
    v->borderWidth = 0;
    v->draggable = false;
    v->set_align_flags(ALIGN_ABSOLUTE);
    return v;
}

void setTakesInput(GUI_View* view, bool takes) {
    if (view)
        view->interactive = takes;
}
