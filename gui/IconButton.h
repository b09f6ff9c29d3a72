// GUI_ButtonFontAwesome: a button showing one glyph of the icon font, with a grey rounded border
// and pressed colours (press handling in GUI_Pressable). An unclickable (or disabled) icon button
// is drawn at quarter alpha and ignores the mouse.
#pragma once

#include <functional>

#include "gui/Pressable.h"

class GUI_ButtonFontAwesome : public GUI_Pressable {
public:
    using ClickCallback = std::function<void(GUI_ButtonFontAwesome*)>;

    // icon: code point of the icon font; color: icon tint; positions and sizes in points.
    GUI_ButtonFontAwesome(GUI_View* parent, Uint16 icon, int x, int y, int w, int h,
                          SDL_Color color, int fontIndex, ClickCallback onClick = nullptr);

    void draw() override;

    ClickCallback onClick;
    SDL_Color normalBgColor = {250, 250, 250, 255};
    SDL_Color pressedBgColor = {216, 216, 216, 255};
    SDL_Color normalTitleColor = {36, 36, 36, 255};
    SDL_Color pressedTitleColor = {36, 36, 36, 255};
    SDL_Color normalTint;
    SDL_Color pressedTint;

protected:
    bool click() override { return call(onClick, this); }
};

// A 38 × 23 point icon button for a tool bar, centred in a small transparent column that is
// itself centred vertically in `parent`. Returns the button (owned by the column).
GUI_ButtonFontAwesome* GUI_CreateToolIcon(GUI_View* parent, Uint16 icon,
                                          GUI_ButtonFontAwesome::ClickCallback onClick);
