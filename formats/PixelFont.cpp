#include "formats/PixelFont.h"

#include <cstring>

namespace {

// A glyph is drawn as text: '#' is a set pixel, anything else is empty. Every row of a glyph has
// the glyph's width.
struct Glyph {
    char c;
    const char* rows[9];
};

// Catalogue code digits: 5 x 9, open shapes with round shoulders so that they stay legible at
// one pixel per dot on a machine's small screen.
const Glyph kCodeGlyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "#.#.#", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "#.#..", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"}},
    {'2', {".###.", "#...#", "....#", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'3', {".###.", "#...#", "....#", "....#", "..##.", "....#", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#..#.", "#####", "...#.", "...#.", "...#."}},
    {'5', {"#####", "#....", "#....", "####.", "....#", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "#....", "####.", "#...#", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "....#", "...#.", "...#.", "..#..", "..#..", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", "#...#", ".###.", "#...#", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", "#...#", ".####", "....#", "....#", "...#.", ".##.."}},
    {'x', {".....", ".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "....."}},
};

// The capitals of "EMBROIDERY", 7 rows, narrow enough that the word fits 46 pixels.
const Glyph kWordGlyphs[] = {
    {'B', {"###.", "#..#", "#..#", "###.", "#..#", "#..#", "###."}},
    {'D', {"###.", "#..#", "#..#", "#..#", "#..#", "#..#", "###."}},
    {'E', {"###", "#..", "#..", "##.", "#..", "#..", "###"}},
    {'I', {"#", "#", "#", "#", "#", "#", "#"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'O', {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."}},
    {'R', {"###.", "#..#", "#..#", "###.", "#.#.", "#..#", "#..#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
};

const Glyph* findGlyph(PixelFace face, char c) {
    const Glyph* begin = face == PixelFace::kCode9 ? kCodeGlyphs : kWordGlyphs;
    const std::size_t count = face == PixelFace::kCode9 ? sizeof(kCodeGlyphs) / sizeof(Glyph)
                                                        : sizeof(kWordGlyphs) / sizeof(Glyph);
    for (std::size_t i = 0; i < count; ++i) {
        if (begin[i].c == c)
            return &begin[i];
    }
    return nullptr;
}

}  // namespace

int pixelFaceHeight(PixelFace face) {
    return face == PixelFace::kCode9 ? 9 : 7;
}

int pixelGlyphWidth(PixelFace face, char c) {
    const Glyph* g = findGlyph(face, c);
    return g ? static_cast<int>(std::strlen(g->rows[0])) : 0;
}

int pixelTextWidth(PixelFace face, const std::string& text) {
    int width = 0;
    for (char c : text) {
        const int w = pixelGlyphWidth(face, c);
        if (w == 0)
            continue;
        width += (width > 0 ? 1 : 0) + w;
    }
    return width;
}

int drawPixelGlyph(PixelFace face, char c, int x, int y, uint8_t* grid, int w, int h) {
    const Glyph* g = findGlyph(face, c);
    if (!g)
        return 0;
    const int rows = pixelFaceHeight(face);
    const int width = static_cast<int>(std::strlen(g->rows[0]));
    for (int r = 0; r < rows; ++r) {
        const int py = y + r;
        if (py < 0 || py >= h)
            continue;
        for (int col = 0; col < width; ++col) {
            const int px = x + col;
            if (px < 0 || px >= w || g->rows[r][col] != '#')
                continue;
            grid[py * w + px] = 1;
        }
    }
    return width;
}

int drawPixelText(PixelFace face, const std::string& text, int x, int y, uint8_t* grid, int w,
                  int h) {
    bool first = true;
    for (char c : text) {
        if (pixelGlyphWidth(face, c) == 0)
            continue;
        if (!first)
            x += 1;
        x += drawPixelGlyph(face, c, x, y, grid, w, h);
        first = false;
    }
    return x;
}
