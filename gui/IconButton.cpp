#include "gui/IconButton.h"

#include <algorithm>

#include "gui/Draw.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"

namespace {
const SDL_Color kDisabledInk = {0, 0, 0, 64};

void modulate(SDL_Texture* t, SDL_Color c) {
    SDL_SetTextureColorMod(t, c.r, c.g, c.b);
    SDL_SetTextureAlphaMod(t, c.a);
}
}  // namespace

GUI_ButtonFontAwesome::GUI_ButtonFontAwesome(GUI_View* parent, Uint16 icon, int x, int y, int w,
                                             int h, SDL_Color color, int fontIndex,
                                             ClickCallback cb)
    : GUI_Pressable(parent, "", x, y, w, h, GUI_Black, TITLE_CENTER_H | TITLE_CENTER_V, fontIndex),
      onClick(std::move(cb)),
      normalTint(color),
      pressedTint(color) {
    borderColor = {160, 160, 160, 255};
    borderWidth = 2;
    cornerRadius = 5;
    tintColor = color;
    if (GUI_iconFonts[0]) {
        if (SDL_Texture* t = GUI_RenderIcon(icon, nullptr, nullptr, GUI_White, 0)) {
            SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
            set_image(t, false);
        }
    }
}

void GUI_ButtonFontAwesome::draw() {
    if (!is_visible())
        return;
    SDL_Color bg = normalBgColor, ink = normalTitleColor, tint = normalTint;
    if (!clickable || !is_enabled()) {
        ink = tint = kDisabledInk;
    } else if (pressed) {
        bg = pressedBgColor;
        ink = pressedTitleColor;
        tint = pressedTint;
    }
    bgColor = bg;
    titleColor = ink;
    tintColor = tint;
    begin_draw();
    if (borderWidth > 0) {
        if (cornerRadius)
            GUI_DrawRoundRect(0, 0, w, h, cornerRadius * GUI_scale, borderColor);
        else
            GUI_DrawRect(0, 0, w, h, borderColor);
    }
    if (!GUI_renderer)
        return;
    if (image) {
        modulate(image, tint);
        SDL_RenderCopy(GUI_renderer, image, nullptr, &imageRect);
    }
    if (titleTexture) {
        modulate(titleTexture, ink);
        SDL_RenderCopy(GUI_renderer, titleTexture, nullptr, &titleRect);
    }
}

GUI_ButtonFontAwesome* GUI_CreateToolIcon(GUI_View* parent, Uint16 icon,
                                          GUI_ButtonFontAwesome::ClickCallback onClick) {
    // Opens the icon fonts when they are not open yet.
    if (SDL_Texture* probe = GUI_RenderIcon(icon, nullptr, nullptr, GUI_White, 0))
        SDL_DestroyTexture(probe);
    int spaceW = 0, spaceH = 0;
    GUI_SizeText(GUI_Font(2), " ", &spaceW, &spaceH);
    // The font measures in pixels; the column is sized in points.
    const int s = std::max(1, GUI_scale);
    auto* column = new GUI_View(parent, "ToolIcon", 0, 0, std::max(spaceW / s, 38), spaceH / s + 23,
                                GUI_NoColor, nullptr);
    column->draggable = false;
    column->borderWidth = 0;
    column->layoutMode = LAYOUT_COLUMN;
    column->set_padding(8, 0, 0, 0);
    auto* button =
        new GUI_ButtonFontAwesome(column, icon, 0, 0, 38, 23, GUI_Black, 2, std::move(onClick));
    button->set_align_flags(ALIGN_CENTER_H);
    column->set_align_flags(ALIGN_CENTER_V);
    return button;
}
