// Small builders for the main window's widgets, so that each panel reads as its layout table.
// Positions and sizes in points; the returned widgets are owned by their parent view.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>

class GUI_Button;
class GUI_ButtonFontAwesome;
class GUI_Label;
class GUI_View;

// A white glyph of the icon font (size index 0 = 16 pt, 1 = 18 pt, 2 = 36 pt), blended, owned by
// the caller; null when the icon font is missing.
SDL_Texture* iconTexture(Uint16 code, int sizeIndex = 0);

// The toolkit's text font index for a font size in points: 11, 14 (up to 16) or 18 (above).
int fontIndexForPoints(int points);

// A label at (x, y), sized to its text.
GUI_Label* makeLabel(GUI_View* parent, const std::string& text, int x, int y, SDL_Color color,
                     int fontIndex = 0);

// A button with a filled rounded background and a centred caption (text already translated).
GUI_Button* makeFilledButton(GUI_View* parent, const std::string& caption, int x, int y, int w,
                             int h, SDL_Color background, SDL_Color textColor, int fontPoints,
                             int cornerRadius, std::function<void()> action);

// An icon button of the icon font with a grey rounded border.
GUI_ButtonFontAwesome* makeIconButton(GUI_View* parent, Uint16 icon, int x, int y, int w, int h,
                                      SDL_Color color, std::function<void()> action);

// A plain view that only holds children: transparent, borderless, not draggable.
GUI_View* makeContainer(GUI_View* parent, const char* name, int x, int y, int w, int h);

// Whether the view and its descendants take mouse input.
void setTakesInput(GUI_View* view, bool takes);
