// Drawing primitives, image loading and shared render targets.
//
// Coordinates and radii are pixels relative to the renderer's current viewport (a view's
// begin_draw sets the viewport to the view). Every primitive draws through GUI_renderer; colours
// with alpha below 255 are blended, opaque ones are not. SDL failures are logged and the frame
// goes on.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

void GUI_FillRect(int x, int y, int w, int h, SDL_Color color);
void GUI_DrawRect(int x, int y, int w, int h, SDL_Color color);
void GUI_DrawLine(int x1, int y1, int x2, int y2, SDL_Color color);
void GUI_DrawRoundRect(int x, int y, int w, int h, int radius, SDL_Color color);
void GUI_FillRoundRect(int x, int y, int w, int h, int radius, SDL_Color color);
void GUI_DrawCircle(int cx, int cy, int radius, SDL_Color color);
void GUI_FillCircle(int cx, int cy, int radius, SDL_Color color);
// A square of the given side turned by 45 degrees around (cx, cy).
void GUI_FillRotatedSquare(int cx, int cy, int side, SDL_Color color);
// Fills the whole window whatever the current viewport and clip; used to veil the window.
void GUI_FillScreen(SDL_Color color);

// The anti-aliased disc and ring textures that round shapes are drawn with. Created once after
// the window exists; until then round shapes are filled span by span.
bool GUI_InitShapeTextures();
void GUI_FreeShapeTextures();
bool GUI_ShapeTexturesReady();

// The data folder with a trailing separator, optionally followed by a sub-folder: the first of
// jsDataFolderCandidates (FileUtils.h: "data" beside the executable, the installed share/mes)
// that exists, or else the "data" folder beside the "bin" folder that holds the executable; when
// none exists the user is told once which folders were tried. Empty when the executable's folder
// is unknown.
std::string GUI_GetResourcePath(const std::string& subFolder = "");
// The data folder for an executable in `baseFolder` (with trailing separator).
std::string GUI_ResourcePathFor(const std::string& baseFolder);
// The name GUI_LoadImageScaled looks for: every ".png" becomes "@2x.png" when scale is not 1.
std::string GUI_ScaledImageName(const std::string& path, int scale);

// Texture of an image file (PNG, JPEG) or null. Relative paths are looked up in the data folder,
// then in "data" under the working directory. The caller owns the texture.
SDL_Texture* GUI_LoadImage(const std::string& path);
// The same, preferring the "@2x.png" variant on a high-density display.
SDL_Texture* GUI_LoadImageScaled(const std::string& path);

// A 2048 × 2048 ARGB8888 render target shared by index (the layer renderer keeps one per layer).
// The registry keeps every instance alive until the process ends or SDLSmartTexture::clear.
class SDLSmartTexture {
public:
    enum { Size = 2048 };

    SDLSmartTexture();
    ~SDLSmartTexture();
    SDLSmartTexture(const SDLSmartTexture&) = delete;
    SDLSmartTexture& operator=(const SDLSmartTexture&) = delete;

    // The texture at index, created when missing or no longer usable. w and h are not used: every
    // target has the same size. Empty when the texture cannot be made.
    static std::shared_ptr<SDLSmartTexture> add(uint8_t index, unsigned w = Size,
                                                unsigned h = Size);
    // The texture at index, or empty (logged) when there is none.
    static std::shared_ptr<SDLSmartTexture> get(uint8_t index);
    // Drops every entry (before the renderer is destroyed).
    static void clear();
    static size_t count();

    bool isValid() const;
    SDL_Texture* texture = nullptr;  // owned
};
