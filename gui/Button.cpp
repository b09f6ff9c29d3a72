#include "gui/Button.h"

#include "gui/Draw.h"
#include "gui/Globals.h"

GUI_Button::GUI_Button(GUI_View* parent, const char* text, int x, int y, int w, int h,
                       SDL_Color textColor, int textAlign, int fontIndex, ClickCallback cb)
    : GUI_Pressable(parent, text, x, y, w, h, textColor, textAlign, fontIndex),
      onClick(std::move(cb)) {}

void GUI_Button::draw() {
    if (!is_visible())
        return;
    begin_draw();
    if (drawCallback)
        drawCallback(this);
    if (pressed && highlightColor.a) {
        if (cornerRadius)
            GUI_FillRoundRect(0, 0, w, h, cornerRadius * GUI_scale, highlightColor);
        else
            GUI_FillRect(0, 0, w, h, highlightColor);
    }
    if (image && GUI_renderer) {
        if (tintColor.a)
            SDL_SetTextureColorMod(image, tintColor.r, tintColor.g, tintColor.b);
        SDL_RenderCopy(GUI_renderer, image, nullptr, &imageRect);
    }
    if (borderWidth >= 1) {
        if (cornerRadius)
            GUI_DrawRoundRect(0, 0, w, h, cornerRadius * GUI_scale, GUI_Black);
        else
            GUI_DrawRect(0, 0, w, h, GUI_Black);
        const int b = borderWidth;
        SDL_Rect inner = {b, b, w - 2 * b, h - 2 * b};
        SDL_Rect clipped;
        if (!SDL_IntersectRect(&clipRect, &inner, &clipped))
            clipped = {0, 0, 0, 0};
        clipRect = clipped;
        if (GUI_renderer)
            SDL_RenderSetClipRect(GUI_renderer, &clipRect);
    }
    if (titleTexture && titleColor.a && GUI_renderer) {
        const SDL_Color c = is_enabled() ? titleColor : GUI_Grey;
        SDL_SetTextureColorMod(titleTexture, c.r, c.g, c.b);
        SDL_RenderCopy(GUI_renderer, titleTexture, nullptr, &titleRect);
    }
}
