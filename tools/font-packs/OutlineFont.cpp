#include "OutlineFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_COLOR_H
#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

struct OutlineFont::Impl {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    hb_blob_t* blob = nullptr;
    hb_face_t* hbFace = nullptr;
    hb_font_t* hbFont = nullptr;
};

namespace {

// True when the font's GPOS table has a 'mark' feature for the script HarfBuzz picks for Thai
// text (Thai, else the fall-backs it tries in this order): then the font places its marks.
bool positionsThaiMarks(hb_face_t* face) {
    const hb_tag_t scripts[] = {HB_TAG('t', 'h', 'a', 'i'), HB_OT_TAG_DEFAULT_SCRIPT,
                                HB_TAG('d', 'f', 'l', 't'), HB_TAG('l', 'a', 't', 'n')};
    unsigned script = 0;
    hb_tag_t chosen = HB_TAG_NONE;
    hb_ot_layout_table_select_script(face, HB_OT_TAG_GPOS, 4, scripts, &script, &chosen);
    if (chosen == HB_TAG_NONE)
        return false;
    unsigned feature = 0;
    return hb_ot_layout_language_find_feature(face, HB_OT_TAG_GPOS, script,
                                              HB_OT_LAYOUT_DEFAULT_LANGUAGE_INDEX,
                                              HB_TAG('m', 'a', 'r', 'k'), &feature);
}

hb_blob_t* tableWithoutGpos(hb_face_t*, hb_tag_t tag, void* source) {
    if (tag == HB_OT_TAG_GPOS)
        return hb_blob_get_empty();
    return hb_face_reference_table(static_cast<hb_face_t*>(source), tag);
}

void destroyFace(void* face) {
    hb_face_destroy(static_cast<hb_face_t*>(face));
}

}  // namespace

std::unique_ptr<OutlineFont> OutlineFont::open(const std::string& path) {
    std::unique_ptr<OutlineFont> f(new OutlineFont);
    f->impl_ = new Impl;
    if (FT_Init_FreeType(&f->impl_->lib) ||
        FT_New_Face(f->impl_->lib, path.c_str(), 0, &f->impl_->face)) {
        std::fprintf(stderr, "make-font-pack: cannot read font %s\n", path.c_str());
        return nullptr;
    }
    f->impl_->blob = hb_blob_create_from_file(path.c_str());
    f->impl_->hbFace = hb_face_create(f->impl_->blob, 0);
    if (hb_ot_layout_has_positioning(f->impl_->hbFace) && !positionsThaiMarks(f->impl_->hbFace)) {
        // A GPOS table that does not place Thai marks (Tlwg Mono carries an empty one) still
        // makes HarfBuzz zero the marks' advances as if the table had positioned them, which
        // leaves marks drawn in a full-width cell (as Tlwg Mono draws them, for terminals) over
        // the letter after their base. Without the table HarfBuzz shifts each mark back by the
        // advance it took away, onto its base, which is how the typeface is meant to be set.
        hb_face_t* whole = f->impl_->hbFace;
        f->impl_->hbFace = hb_face_create_for_tables(tableWithoutGpos, whole, destroyFace);
        hb_face_set_upem(f->impl_->hbFace, hb_face_get_upem(whole));
        hb_face_set_glyph_count(f->impl_->hbFace, hb_face_get_glyph_count(whole));
    }
    f->impl_->hbFont = hb_font_create(f->impl_->hbFace);
    int upem = int(f->impl_->face->units_per_EM);
    hb_font_set_scale(f->impl_->hbFont, upem, upem);
    return f;
}

OutlineFont::~OutlineFont() {
    if (!impl_)
        return;
    if (impl_->hbFont)
        hb_font_destroy(impl_->hbFont);
    if (impl_->hbFace)
        hb_face_destroy(impl_->hbFace);
    if (impl_->blob)
        hb_blob_destroy(impl_->blob);
    if (impl_->face)
        FT_Done_Face(impl_->face);
    if (impl_->lib)
        FT_Done_FreeType(impl_->lib);
    delete impl_;
}

double OutlineFont::unitsPerEm() const {
    return impl_->face->units_per_EM;
}
double OutlineFont::ascender() const {
    return impl_->face->ascender;
}
double OutlineFont::descender() const {
    return impl_->face->descender;
}
std::string OutlineFont::familyName() const {
    std::string s = impl_->face->family_name ? impl_->face->family_name : "";
    if (impl_->face->style_name)
        s += std::string(" ") + impl_->face->style_name;
    return s;
}

std::vector<ShapedGlyph> OutlineFont::shape(const std::string& utf8) const {
    hb_buffer_t* buf = hb_buffer_create();
    hb_buffer_add_utf8(buf, utf8.c_str(), int(utf8.size()), 0, int(utf8.size()));
    hb_buffer_set_direction(buf, HB_DIRECTION_LTR);
    hb_buffer_set_script(buf, HB_SCRIPT_THAI);
    hb_buffer_set_language(buf, hb_language_from_string("th", -1));
    hb_shape(impl_->hbFont, buf, nullptr, 0);
    unsigned n = 0;
    hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &n);
    hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &n);
    std::vector<ShapedGlyph> out;
    double pen = 0;
    for (unsigned i = 0; i < n; ++i) {
        out.push_back({info[i].codepoint, pen + pos[i].x_offset, double(pos[i].y_offset),
                       double(pos[i].x_advance)});
        pen += pos[i].x_advance;
    }
    hb_buffer_destroy(buf);
    return out;
}

std::string codeText(int code) {
    unsigned cp = code;
    if (code >= 0xA1)
        cp = unsigned(code) + 0x0D60;
    std::string s;
    if (cp < 0x80) {
        s += char(cp);
    } else {
        s += char(0xE0 | (cp >> 12));
        s += char(0x80 | ((cp >> 6) & 0x3F));
        s += char(0x80 | (cp & 0x3F));
    }
    return s;
}

bool isMarkCode(int code) {
    return code == 0xD1 || (code >= 0xD4 && code <= 0xDA) || (code >= 0xE7 && code <= 0xEE);
}

// Marks (vowels above and below, tone marks) are taken from the font as it draws them after
// KO KAI, relative to the pen after the consonant, with no advance: the composer places them
// at the pen after the consonant they follow and moves them by the pack metrics for the
// consonants with tails. The tailless YO YING and THO THAN are the glyphs the font draws for
// them before SARA U. Everything else is the character shaped on its own.
bool OutlineFont::glyphForCode(int code, ShapedGlyph& g) const {
    std::vector<ShapedGlyph> s;
    if (isMarkCode(code)) {
        s = shape(codeText(0xA1) + codeText(code));
        if (s.size() < 2 || s.back().gid == 0 || s[0].gid == 0)
            return false;
        g = s.back();
        g.x -= s[0].advance;
        g.advance = 0;
        return true;
    }
    if (code == 0x9E || code == 0x9F) {
        s = shape(codeText(code == 0x9E ? 0xAD : 0xB0) + codeText(0xD8));
        if (s.empty() || s[0].gid == 0)
            return false;
        g = s[0];
        return true;
    }
    s = shape(codeText(code));
    if (s.size() != 1 || s[0].gid == 0)
        return false;
    g = s[0];
    return true;
}

namespace {

struct Flatten {
    std::vector<digitizer::Ring> rings;
    double tol = 1;
    digitizer::Point last;
    void to(double x, double y) {
        last = {x, y};
        rings.back().push_back(last);
    }
};

int moveTo(const FT_Vector* p, void* u) {
    Flatten* f = static_cast<Flatten*>(u);
    f->rings.emplace_back();
    f->to(p->x, p->y);
    return 0;
}
int lineTo(const FT_Vector* p, void* u) {
    static_cast<Flatten*>(u)->to(p->x, p->y);
    return 0;
}
int conicTo(const FT_Vector* c, const FT_Vector* p, void* u) {
    Flatten* f = static_cast<Flatten*>(u);
    digitizer::Point a = f->last;
    double len = std::hypot(c->x - a.x, c->y - a.y) + std::hypot(p->x - c->x, p->y - c->y);
    int n = std::clamp(int(std::ceil(len / f->tol)), 1, 32);
    for (int i = 1; i <= n; ++i) {
        double t = double(i) / n, m = 1 - t;
        f->to(m * m * a.x + 2 * m * t * c->x + t * t * p->x,
              m * m * a.y + 2 * m * t * c->y + t * t * p->y);
    }
    return 0;
}
int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* p, void* u) {
    Flatten* f = static_cast<Flatten*>(u);
    digitizer::Point a = f->last;
    double len = std::hypot(c1->x - a.x, c1->y - a.y) + std::hypot(c2->x - c1->x, c2->y - c1->y) +
                 std::hypot(p->x - c2->x, p->y - c2->y);
    int n = std::clamp(int(std::ceil(len / f->tol)), 1, 32);
    for (int i = 1; i <= n; ++i) {
        double t = double(i) / n, m = 1 - t;
        f->to(m * m * m * a.x + 3 * m * m * t * c1->x + 3 * m * t * t * c2->x + t * t * t * p->x,
              m * m * m * a.y + 3 * m * m * t * c1->y + 3 * m * t * t * c2->y + t * t * t * p->y);
    }
    return 0;
}

}  // namespace

std::vector<digitizer::Ring> OutlineFont::outline(unsigned gid, double tolerance) const {
    Flatten f;
    f.tol = std::max(1.0, tolerance);
    if (FT_Load_Glyph(impl_->face, gid, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP))
        return {};
    if (impl_->face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return {};
    FT_Outline_Funcs funcs{moveTo, lineTo, conicTo, cubicTo, 0, 0};
    FT_Outline_Decompose(&impl_->face->glyph->outline, &funcs, &f);
    for (digitizer::Ring& r : f.rings)
        if (r.size() > 1 && r.front().x == r.back().x && r.front().y == r.back().y)
            r.pop_back();
    // Contours of one or two points enclose no ink (Umpush keeps a lone point far below ณ);
    // they would only stretch the glyph's box.
    f.rings.erase(std::remove_if(f.rings.begin(), f.rings.end(),
                                 [](const digitizer::Ring& r) { return r.size() < 3; }),
                  f.rings.end());
    return f.rings;
}

FontBox OutlineFont::box(unsigned gid) const {
    FontBox b;
    for (const digitizer::Ring& r : outline(gid, 8))
        for (digitizer::Point p : r) {
            if (b.empty) {
                b = {p.x, p.y, p.x, p.y, false};
            }
            b.minX = std::min(b.minX, p.x);
            b.minY = std::min(b.minY, p.y);
            b.maxX = std::max(b.maxX, p.x);
            b.maxY = std::max(b.maxY, p.y);
        }
    return b;
}

std::vector<ColorLayer> OutlineFont::colorLayers(unsigned codePoint) const {
    std::vector<ColorLayer> layers;
    FT_UInt gid = FT_Get_Char_Index(impl_->face, codePoint);
    FT_Color* palette = nullptr;
    FT_Palette_Data info;
    if (!gid || FT_Palette_Data_Get(impl_->face, &info) || info.num_palettes == 0 ||
        FT_Palette_Select(impl_->face, 0, &palette))
        return layers;
    FT_LayerIterator it;
    it.p = nullptr;
    FT_UInt layerGid = 0, colorIndex = 0;
    while (FT_Get_Color_Glyph_Layer(impl_->face, gid, &layerGid, &colorIndex, &it)) {
        ColorLayer l;
        l.gid = layerGid;
        if (colorIndex == 0xFFFF || colorIndex >= info.num_palette_entries) {
            l.foreground = true;
        } else {
            const FT_Color& c = palette[colorIndex];
            l.r = c.red;
            l.g = c.green;
            l.b = c.blue;
            l.a = c.alpha;
        }
        layers.push_back(l);
    }
    return layers;
}
