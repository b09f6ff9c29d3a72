// A TrueType/OpenType font read through FreeType (outlines) and HarfBuzz (Thai shaping), seen
// as stitch font glyphs: for every character code of a pack, the outline the font draws for it
// in the context where it is used, placed relative to the pen. Font units, y up.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "digitizer/Digitizer.h"

struct FontBox {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool empty = true;
};

// One layer of a colour glyph (the COLR and CPAL tables): a glyph outline painted in one colour.
struct ColorLayer {
    unsigned gid = 0;
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool foreground = false;  // painted in the text colour instead of a palette colour
};

// One glyph of the font as drawn in a shaped text.
struct ShapedGlyph {
    unsigned gid = 0;
    double x = 0;        // offset of the glyph's origin from the pen before its cluster's
    double y = 0;        // spacing glyph ends, font units
    double advance = 0;  // font units
};

class OutlineFont {
public:
    // Null with a message on stderr when the file cannot be read.
    static std::unique_ptr<OutlineFont> open(const std::string& path);
    ~OutlineFont();

    double unitsPerEm() const;
    double ascender() const;   // hhea, font units, y up
    double descender() const;  // negative below the baseline
    std::string familyName() const;

    // Shapes UTF-8 text as Thai; positions are pen positions (font units). A font whose GPOS
    // table does not place Thai marks is shaped without that table (see OutlineFont.cpp).
    std::vector<ShapedGlyph> shape(const std::string& utf8) const;

    // Glyph for one pack character code, as explained in OutlineFont.cpp. False when the font
    // lacks it.
    bool glyphForCode(int code, ShapedGlyph& g) const;

    // Outline of a glyph in font units (y up), curves flattened to steps of about `tolerance`
    // font units.
    std::vector<digitizer::Ring> outline(unsigned gid, double tolerance) const;
    FontBox box(unsigned gid) const;

    // The layers the font paints for a character, bottom first, in the first palette; empty when
    // the font has no colour glyph for it.
    std::vector<ColorLayer> colorLayers(unsigned codePoint) const;

private:
    OutlineFont() = default;
    struct Impl;
    Impl* impl_ = nullptr;
};

// UTF-8 of a pack code's character (ASCII, or Thai U+0E01.. for TIS-620 0xA1..).
std::string codeText(int code);
bool isMarkCode(int code);
