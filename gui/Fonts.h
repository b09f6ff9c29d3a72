// The toolkit's text and icon fonts, and the helpers that turn UTF-8 text and icon code points
// into textures.
//
// One TrueType text font (Latin, Thai and Japanese) and one icon font whose glyphs sit at
// private-use code points (U+F000 upwards) are opened once per size; every size is given in
// points and multiplied by GUI_scale, so the fonts must be (re)opened after the scale is known.
// Text and icons are rendered in white and tinted when drawn, so one texture serves every colour.
//
// The fonts are owned here: text fonts live until the process ends, icon fonts until
// GUI_CloseIconFonts. Main thread only.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

// Font files, relative to the folder of the executable (see GUI_ResourcePath in Toolkit.h).
extern const char* const GUI_TextFontFile;  // "data/NotoSansLatinThaiJP.ttf"
extern const char* const GUI_IconFontFile;  // "data/fontawesome-webfont.ttf"

// Text fonts by index: 0 = 14 pt (text fields), 1 = 18 pt (FPS label), 2 = 11 pt.
constexpr int GUI_FontCount = 3;
extern TTF_Font* GUI_fonts[GUI_FontCount];
// Point sizes (before GUI_scale) of the text fonts by index.
extern const int GUI_FontPoints[GUI_FontCount];

// Icon fonts by index: 0 = 16 pt, 1 = 18 pt, 2 = 36 pt (index 2 opens on first use).
constexpr int GUI_IconFontCount = 3;
extern TTF_Font* GUI_iconFonts[GUI_IconFontCount];
extern const int GUI_IconFontPoints[GUI_IconFontCount];

// Opens the text fonts at 18, 14 and 11 points x GUI_scale and icon fonts 0 and 1 when they are
// not open yet. Returns false (after a log line) when a file cannot be opened.
bool GUI_LoadFonts();

// Renders one icon glyph blended in `color` into a new texture owned by the caller; null when
// the icon font cannot be opened or the glyph cannot be rendered. The size index is clamped to
// 0..2. When given, *w and *h receive the texture's size in pixels.
SDL_Texture* GUI_RenderIcon(Uint16 code, int* w = nullptr, int* h = nullptr,
                            SDL_Color color = {255, 255, 255, 255}, int sizeIndex = 0);

// Closes the three icon fonts (at shutdown).
void GUI_CloseIconFonts();

// Opens the icon font at points x GUI_scale (for example 512 for the shape textures); the caller
// owns and closes the font. Null when the file cannot be opened.
TTF_Font* GUI_OpenIconFont(int points);

// True when the UTF-8 text holds a character of the Thai block (U+0E00..U+0E7F).
bool GUI_HasThai(const std::string& utf8);

// Text rendering and measuring for every widget. Text with Thai is shaped with the Thai script so
// that vowels and tone marks sit on their consonants; other text is shaped with the script
// guessed from the text. Both take a text font (normally one of GUI_fonts).
//
// GUI_RenderTextSurface returns a blended surface (owned by the caller) or null;
// GUI_RenderText returns a texture (owned by the caller) or null and stores its pixel size in
// *w, *h when given; GUI_SizeText returns false when the text cannot be measured.
SDL_Surface* GUI_RenderTextSurface(TTF_Font* font, const std::string& utf8, SDL_Color color);
SDL_Texture* GUI_RenderText(TTF_Font* font, const std::string& utf8, SDL_Color color,
                            int* w = nullptr, int* h = nullptr);
bool GUI_SizeText(TTF_Font* font, const std::string& utf8, int* w, int* h);

// The text font of an index (clamped to 0..2); null before GUI_LoadFonts.
TTF_Font* GUI_Font(int index);
