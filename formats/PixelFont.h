// Two small bitmap fonts of our own, used for the label images that a version 5 PES file carries
// for each thread: a 9-row font of 5-pixel-wide digits for the thread's catalogue code, and a
// 7-row proportional font holding the capitals of the word "EMBROIDERY".
//
// Units: pixels. Drawing goes into a caller-owned grid of one byte per pixel, row-major; a pixel
// is set by writing 1. Nothing outside the grid is ever written.
#pragma once

#include <cstdint>
#include <string>

enum class PixelFace : uint8_t {
    kCode9,  // digits 0-9 and a lower-case x, 5 pixels wide, 9 rows
    kWord7,  // the capitals B, D, E, I, M, O, R and Y, 1 to 5 pixels wide, 7 rows
};

// Rows of a face: 9 or 7.
int pixelFaceHeight(PixelFace face);

// Width in pixels of the glyph for c, or 0 when the face has no such glyph.
int pixelGlyphWidth(PixelFace face, char c);

// Width of text drawn with one empty column between glyphs; glyphs the face lacks count as 0.
int pixelTextWidth(PixelFace face, const std::string& text);

// Draws one glyph with its top left corner at (x, y) into a w x h grid. Returns its width.
int drawPixelGlyph(PixelFace face, char c, int x, int y, uint8_t* grid, int w, int h);

// Draws text from (x, y) with one empty column between glyphs; skips glyphs the face lacks.
// Returns the x just behind the last glyph drawn.
int drawPixelText(PixelFace face, const std::string& text, int x, int y, uint8_t* grid, int w,
                  int h);
