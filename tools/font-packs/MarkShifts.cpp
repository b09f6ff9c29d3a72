#include "MarkShifts.h"

#include <cmath>
#include <vector>

#include "stitchfont/TextComposer.h"

// Marks are compared by the centres of their ink boxes, so that a font's own variant of a mark
// (a narrower vowel over ป, a smaller tone mark on a vowel) lands where the font draws it.
// Where the font also changes the letter itself (ฬ with a shorter tail under a mark, ฎ without
// its foot above a lower vowel), the pack keeps the letter it has, so the mark keeps its
// distance from that letter's top (marks above) or bottom (marks below) instead.

namespace {

constexpr int kKoKai = 0xA1;
constexpr int kMaiEk = 0xE8;

struct Centre {
    double x = 0, y = 0;  // font units, y up
    bool ok = false;
};

Centre centreOf(const FontBox& b, double dx, double dy) {
    Centre c;
    if (b.empty)
        return c;
    c.x = (b.minX + b.maxX) / 2 + dx;
    c.y = (b.minY + b.maxY) / 2 + dy;
    c.ok = true;
    return c;
}

// Text of a letter code; the tailless variants are shaped as their letters, which the font
// turns into the tailless forms before a lower vowel by itself.
std::string letterText(int code) {
    return codeText(code == stitchfont::kYoYingTailless    ? 0xAD
                    : code == stitchfont::kThoThanTailless ? 0xB0
                                                           : code);
}

struct Measurer {
    const OutlineFont& font;
    double s;
    std::map<int, ShapedGlyph> letter;  // the pack's letters
    std::map<int, FontBox> markBox;     // the pack's marks, drawn as after KO KAI

    Measurer(const OutlineFont& f, double scale) : font(f), s(scale) {}

    FontBox boxOf(const ShapedGlyph& g) const {
        FontBox b = font.box(g.gid);
        if (!b.empty) {
            b.minX += g.x;
            b.maxX += g.x;
            b.minY += g.y;
            b.maxY += g.y;
        }
        return b;
    }

    // Where the font puts the glyph `at` of a shaped cluster on the letter code l (glyph 0),
    // relative to the pen after the pack's letter, moved with the edge of the pack's letter
    // when the font drew another one.
    Centre where(int l, const std::vector<ShapedGlyph>& g, std::size_t at, bool above) const {
        const FontBox mine = font.box(letter.at(l).gid);
        const FontBox theirs = boxOf(g[0]);
        double dy = 0;
        if (!mine.empty && !theirs.empty)
            dy = above ? mine.maxY - theirs.maxY : mine.minY - theirs.minY;
        return centreOf(boxOf(g[at]), -letter.at(l).advance, dy);
    }

    // Where the tone mark of a vowel and tone cluster on letter l stands: the glyph after the
    // vowel (fonts may also set it lower than a tall vowel), or with a vowel below the glyph set
    // higher (fonts may put it first). A font that joins vowel and tone into one glyph has the
    // tone at that glyph's upper right.
    Centre tone(int l, int vowel, int t) const {
        std::vector<ShapedGlyph> g = font.shape(letterText(l) + codeText(vowel) + codeText(t));
        if (g.size() == 3) {
            Centre a = where(l, g, 1, true), b = where(l, g, 2, true);
            return stitchfont::isLowerVowel(vowel) && a.y > b.y ? a : b;
        }
        if (g.size() != 2 || stitchfont::isLowerVowel(vowel))
            return Centre();
        Centre joined = where(l, g, 1, true);
        const FontBox lig = boxOf(g[1]);
        const FontBox& mark = markBox.at(t);
        if (!joined.ok || lig.empty || mark.empty)
            return Centre();
        joined.x += (lig.maxX - (lig.minX + lig.maxX) / 2) - (mark.maxX - mark.minX) / 2;
        joined.y += (lig.maxY - (lig.minY + lig.maxY) / 2) - (mark.maxY - mark.minY) / 2;
        return joined;
    }

    // The shift, 0.1 mm, y down, that moves the pack's mark m from where the rules put it
    // (rx, ry) to `want`.
    bool shift(int m, const Centre& want, int rx, int ry, int& dx, int& dy) const {
        const Centre have = centreOf(markBox.at(m), 0, 0);
        if (!want.ok || !have.ok)
            return false;
        dx = int(std::lround((want.x - have.x) * s)) - rx;
        dy = int(std::lround(-(want.y - have.y) * s)) - ry;
        return true;
    }
};

}  // namespace

std::map<std::string, int> measureMarkShifts(const OutlineFont& font, double s,
                                             const FontMetrics& rules) {
    Measurer me(font, s);
    std::vector<int> letters, marks;
    for (int c = 0xA1; c <= 0xCE; ++c)
        letters.push_back(c);
    letters.push_back(stitchfont::kYoYingTailless);
    letters.push_back(stitchfont::kThoThanTailless);
    for (int c = 0xD1; c <= 0xEE; ++c)
        if (isMarkCode(c))
            marks.push_back(c);
    for (int c : letters) {
        ShapedGlyph g;
        if (font.glyphForCode(c, g))
            me.letter[c] = g;
    }
    for (int c : marks) {
        ShapedGlyph g;
        if (font.glyphForCode(c, g))
            me.markBox[c] = me.boxOf(g);
    }
    if (!me.letter.count(kKoKai))
        return {};

    std::map<std::string, int> keys;
    auto put = [&keys](const char* family, int first, int second, int dx, int dy) {
        if (dx != 0)
            keys[FontMetrics::shiftKey(family, 'X', first, second)] = dx;
        if (dy != 0)
            keys[FontMetrics::shiftKey(family, 'Y', first, second)] = dy;
    };
    std::map<std::pair<int, int>, std::pair<int, int>> onLetter;

    // A mark on a letter.
    for (const auto& [l, lg] : me.letter) {
        for (const auto& [m, mb] : me.markBox) {
            std::vector<ShapedGlyph> g = font.shape(letterText(l) + codeText(m));
            if (g.size() != 2)
                continue;  // joined into one glyph: nothing to place
            int rx = 0, ry = 0, dx = 0, dy = 0;
            stitchfont::placement(0, l, m, rules, rx, ry);
            if (!me.shift(m, me.where(l, g, 1, !stitchfont::isLowerVowel(m)), rx, ry, dx, dy))
                continue;
            onLetter[{l, m}] = {dx, dy};
            put("Mark", l, m, dx, dy);
        }
    }

    // A tone mark on a vowel, measured on KO KAI.
    std::map<std::pair<int, int>, std::pair<int, int>> onVowel;
    for (const auto& [v, vb] : me.markBox) {
        if (!stitchfont::isUpperVowel(v) && !stitchfont::isLowerVowel(v))
            continue;
        for (int t = 0xD1; t <= 0xEE; ++t) {
            int rx = 0, ry = 0, dx = 0, dy = 0;
            if (!stitchfont::isStackable(t) || !me.markBox.count(t))
                continue;
            stitchfont::placement(kKoKai, v, t, rules, rx, ry);
            if (!me.shift(t, me.tone(kKoKai, v, t), rx, ry, dx, dy))
                continue;
            onVowel[{v, t}] = {dx, dy};
            put("Mark", v, t, dx, dy);
        }
    }

    // A tone mark (MAI EK standing for all) on a vowel of another letter: where the font does
    // not simply carry the tone along with the vowel (a narrower vowel over ป, tone marks that
    // hang on the letter rather than on the vowel).
    if (me.markBox.count(kMaiEk))
        for (const auto& [l, lg] : me.letter) {
            for (const auto& [v, vb] : me.markBox) {
                if (!stitchfont::isUpperVowel(v) || !onVowel.count({v, kMaiEk}))
                    continue;
                int rx = 0, ry = 0, dx = 0, dy = 0;
                stitchfont::placement(l, v, kMaiEk, rules, rx, ry);
                if (!me.shift(kMaiEk, me.tone(l, v, kMaiEk), rx, ry, dx, dy))
                    continue;
                const auto vowel = onLetter.count({l, v}) ? onLetter[{l, v}] : std::pair{0, 0};
                const auto stacked = onVowel[{v, kMaiEk}];
                put("Stack", l, v, dx - vowel.first - stacked.first,
                    dy - vowel.second - stacked.second);
            }
        }
    return keys;
}
