#include "gui/ListCell.h"

#include "gui/Draw.h"
#include "gui/Globals.h"
#include "gui/List.h"

namespace {
const SDL_Color kSeparatorGrey = {127, 127, 127, 255};
const SDL_Color kSelectedFill = {45, 137, 249, 255};
const SDL_Color kUnselectableInk = {159, 159, 159, 255};

bool isPureWhite(SDL_Color c) {
    return c.r == 255 && c.g == 255 && c.b == 255 && c.a == 255;
}
}  // namespace

GUI_ListCell::GUI_ListCell(GUI_View* parent, const char* text, int x, int y, int w, int h,
                           SDL_Color textColor, int textAlign, int fontIndex)
    : GUI_Label(parent, text, x, y, w, h, textColor, textAlign, fontIndex) {
    draggable = false;
    alignFlags = ALIGN_ABSOLUTE;
}

void GUI_ListCell::draw() {
    if (!is_visible())
        return;
    if (customDrawn) {
        // Background, then the list's drawing of the row.
        GUI_View::draw();
        return;
    }
    begin_draw();
    if (drawCallback)
        drawCallback(this);
    if (separator) {
        GUI_DrawLine(0, h / 2, w, h / 2, kSeparatorGrey);  // opaque: drawn without blending
        return;
    }
    const int s = GUI_scale;
    SDL_Color ink;
    SDL_Color imageTint = tintColor;
    if (selected && selectable) {
        GUI_FillRect(0, 0, w, h, kSelectedFill);
        ink = GUI_White;
    } else if (!selectable) {
        ink = imageTint = kUnselectableInk;
    } else {
        const bool whiteList = list && isPureWhite(list->bgColor);
        ink = whiteList ? GUI_Black : GUI_White;
    }
    if (swatch) {
        GUI_FillRect(0, 0, 4 * s, h - s, swatchColor);
        titleRect.x = 20 * s;
    } else if (!image) {
        titleRect.x = 4 * s;
    }
    if (!GUI_renderer)
        return;
    if (image) {
        if (imageTint.a)
            SDL_SetTextureColorMod(image, imageTint.r, imageTint.g, imageTint.b);
        SDL_RenderCopy(GUI_renderer, image, nullptr, &imageRect);
    }
    if (titleTexture) {
        const SDL_Color c = is_enabled() ? ink : GUI_Grey;
        SDL_SetTextureColorMod(titleTexture, c.r, c.g, c.b);
        SDL_RenderCopy(GUI_renderer, titleTexture, nullptr, &titleRect);
    }
}
