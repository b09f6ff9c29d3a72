// Where the shipped stitch fonts put Thai marks: every font at every size composes a table of
// clusters through our own composer, and each mark must land on its base letter where HarfBuzz
// puts it when it shapes the same cluster with the source TrueType font at the same size.
//
// Sections: font table; HarfBuzz reference; stitched clusters; the test.
//
// A mark is measured by the centre of its ink box (stitches on one side, the outline on the
// other), 0.1 mm, from the pen origin of its base letter: across from the origin, and up or
// down from the top (marks above) or the bottom (marks below) of the letter. Where the font
// draws the letter itself differently in the cluster (a shorter tail under a mark), the pack
// keeps its letter, and the mark is expected at the same height over that letter's top. To
// see one mark's stitches alone, the cluster is composed from a small pack that holds the real
// glyphs of the base and of that mark and blank glyphs (same advance, no stitches) for the
// other codes, so that the composer places and joins exactly as with the full pack.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "DiskEnv.h"
#include "OutlineFont.h"
#include "digitizer/GlyphRecord.h"
#include "formats/PES.h"
#include "stitchfont/FontSizes.h"
#include "stitchfont/StitchPack.h"
#include "stitchfont/TextComposer.h"

namespace {

// Largest distance, 0.1 mm, between where a mark's stitches sit and where the typeface puts it,
// across and up or down separately: 0.4 mm, the width of one embroidery thread. The digitizer
// lays satin inside the outline and ends columns at their tips, which moves the centre of a
// small mark's stitches by up to about 0.3 mm from the centre of its outline, and needle points
// and metrics are whole 0.1 mm. The faults this guards against move marks by a millimetre and
// more (a mark over the next letter, a tone mark a fifth of a letter to the left).
constexpr double kTolerance = 4.0;
// Where the font joins two marks into one glyph of its own drawing (Noto Looped Thai draws
// MAI HAN-AKAT with a tone mark as one), the pack's two marks can only come near it: their
// joint box may be off by 8 % of the letter's width.
constexpr double kJoinedShare = 0.08;

// The clusters: every placement rule of the composer, the glyph variants it uses, and letters
// on which fonts set marks their own way.
const char* const kClusters[] = {
    "ปิ่", "ญุ", "ที่", "กำ", "ก่ำ", "ก้", "ฎุ", "ฐุ", "สั", "ดี๊", "ปั๊", "ฟุ้", "ปู", "ฤ", "ทุ่",
    "ฬ่", "ฬิ", "ฮิ่", "ซึ่",  "ฝื",  "ปั้", "ฏู", "กิ์", "นั่", "ดํ", "ชู้", "ษี้", "ณุ", "ฉิ๋",
};

// ---- Font table -----------------------------------------------------------------------------

struct SourceFont {
    int number = 0;    // pack folder number, font index + 1
    std::string path;  // the Thai font
    std::vector<int> sizes;
};

std::vector<SourceFont> readFontTable() {
    std::vector<SourceFont> fonts;
    std::ifstream in(std::string(MES_SOURCE_DIR) + "/tools/font-packs/fonts.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::stringstream ss(line);
        std::string field;
        while (std::getline(ss, field, '|'))
            fields.push_back(field);
        if (fields.size() < 4)
            continue;
        SourceFont f;
        f.number = std::atoi(fields[0].c_str());
        f.path = "/usr/share/fonts/truetype/" + fields[1];
        std::stringstream sizes(fields[3]);
        while (std::getline(sizes, field, ','))
            f.sizes.push_back(std::atoi(field.c_str()));
        fonts.push_back(f);
    }
    return fonts;
}

struct Box {
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    bool empty() const { return minX > maxX; }
    void add(double x, double y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    void add(const Box& b) {
        add(b.minX, b.minY);
        add(b.maxX, b.maxY);
    }
    double cx() const { return (minX + maxX) / 2; }
    double cy() const { return (minY + maxY) / 2; }
};

// ---- HarfBuzz reference ---------------------------------------------------------------------

// A glyph's ink in 0.1 mm, y down; s converts font units.
Box inkBox(const OutlineFont& font, const ShapedGlyph& g, double s) {
    FontBox b = font.box(g.gid);
    Box box;
    if (!b.empty) {
        box.add((b.minX + g.x) * s, -(b.maxY + g.y) * s);
        box.add((b.maxX + g.x) * s, -(b.minY + g.y) * s);
    }
    return box;
}

// What is compared: some codes of the cluster against the glyphs HarfBuzz draws for them.
struct Part {
    std::vector<std::size_t> codes, glyphs;
    int gaps = 0;  // letter gaps between the base and this part (spacing letters up to it)
};

bool isBelow(int code) {
    return code >= 0xD8 && code <= 0xDA;
}

// Pairs the codes after the base with HarfBuzz's glyphs by kind (above the base, below it,
// spacing) and order within the kind. Fonts reorder marks (a tone mark before SARA U) and
// join them (MAI HAN-AKAT and a tone mark into one glyph); where a kind has not the same
// number of glyphs as codes, its codes and glyphs are compared as one group.
std::vector<Part> pairUp(const std::vector<int>& codes, const std::vector<ShapedGlyph>& shaped,
                         const std::vector<Box>& ref) {
    auto codeKind = [&](std::size_t i) {
        if (!isMarkCode(codes[i]))
            return 2 + int(i);  // every spacing letter on its own
        return isBelow(codes[i]) ? 1 : 0;
    };
    std::map<int, Part> parts;
    std::vector<std::size_t> spacingCodes;
    for (std::size_t i = 1; i < codes.size(); ++i) {
        parts[codeKind(i)].codes.push_back(i);
        if (codeKind(i) >= 2)
            spacingCodes.push_back(i);
    }
    std::size_t nextSpacing = 0;
    for (std::size_t g = 1; g < shaped.size(); ++g) {
        int k = ref[g].cy() > 0 ? 1 : 0;
        if (shaped[g].advance > 0)
            k = nextSpacing < spacingCodes.size() ? codeKind(spacingCodes[nextSpacing++]) : 1000;
        parts[k].glyphs.push_back(g);
    }
    std::vector<Part> out;
    for (auto& [kind, part] : parts) {
        if (part.codes.size() == part.glyphs.size()) {
            for (std::size_t k = 0; k < part.codes.size(); ++k)
                out.push_back({{part.codes[k]}, {part.glyphs[k]}});
        } else {
            out.push_back(part);
        }
    }
    for (Part& p : out)
        for (std::size_t i = 1; !p.codes.empty() && i <= p.codes.front(); ++i)
            p.gaps += !isMarkCode(codes[i]);
    return out;
}

// ---- Stitched clusters ----------------------------------------------------------------------

// The ink box (ends of visible, short-form stitches) of a stitch stream and of the first
// `split` visible stitches, from the stream's origin.
void stitchBoxes(const std::vector<uint8_t>& data, std::size_t size, int split, Box& first,
                 Box& rest) {
    std::size_t pos = 0;
    int x = 0, y = 0, visible = 0;
    for (;;) {
        pec::Record r = pec::readRecord(data.data(), size, pos);
        if (r.kind == pec::RecordKind::ColorChange) {
            pos = r.next;
            continue;
        }
        if (r.kind != pec::RecordKind::Stitch)
            break;
        if (!r.xLong && !r.yLong) {
            Box& into = visible++ < split ? first : rest;
            into.add(x, y);
            into.add(x + r.dx, y + r.dy);
        }
        x += r.dx;
        y += r.dy;
        pos = r.next;
    }
}

void appendRecord(std::vector<uint8_t>& pack, int code, const std::vector<uint8_t>& data) {
    const uint8_t head[6] = {
        uint8_t(code), 0, 0, 0, uint8_t(data.size() & 0xFF), uint8_t(data.size() >> 8)};
    pack.insert(pack.end(), head, head + 6);
    pack.insert(pack.end(), data.begin(), data.end());
}

// The data folder of the repository, where the shipped packs are.
FontEnv shippedEnv() {
    return diskEnv(std::string(MES_SOURCE_DIR) + "/data/");
}

// Composes `text` with a pack in which only the base (code index 0) and the codes at `keep`
// have their stitches; the other codes of the cluster are blank glyphs with their advance.
// Gives the ink boxes of the base and of the kept glyphs, from the base's pen origin.
bool composeKept(const StitchPack& full, const FontEnv& disk, const std::string& packPath,
                 const std::string& text, const std::vector<int>& codes,
                 const std::vector<std::size_t>& keep, Box& base, Box& kept) {
    std::vector<uint8_t> pack;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const std::vector<uint8_t>& data = full.glyphs().at(codes[i]);
        if (i == 0 || std::find(keep.begin(), keep.end(), i) != keep.end()) {
            appendRecord(pack, codes[i], data);
        } else {
            int advance = 0;
            digitizer::decodeGlyph(data, &advance);
            appendRecord(pack, codes[i], digitizer::encodeGlyph({}, advance));
        }
    }
    FontEnv env = disk;
    env.files.read = [&](const std::string& path, std::vector<uint8_t>& bytes) {
        if (path.size() >= 11 && path.compare(path.size() - 11, 11, "stitch.pack") == 0) {
            bytes = pack;
            return true;
        }
        return disk.files.read(path, bytes);
    };
    StitchPack small;
    small.loadPack(packPath, env);
    std::unique_ptr<PES> pes = small.createPES(text, 0, 0, env);
    if (!pes)
        return false;
    // The base glyph opens the composed stream: its stitches, moved by the centring, come
    // first, and everything after them belongs to the kept glyphs.
    const std::vector<uint8_t>& baseData = full.glyphs().at(codes[0]);
    int baseVisible = 0;
    for (const digitizer::Needle& n : digitizer::decodeGlyph(baseData))
        baseVisible += n.kind == digitizer::Kind::Run;
    Box alone, none;
    stitchBoxes(baseData, baseData.size() - 8, baseVisible, alone, none);
    base = Box();
    kept = Box();
    stitchBoxes(pes->stitchData(), pes->stitchData().size(), baseVisible, base, kept);
    if (base.empty() || alone.empty())
        return false;
    // Back to the base's own frame: the composed base is the lone base moved by the centring.
    const double ox = base.minX - alone.minX, oy = base.minY - alone.minY;
    EXPECT_NEAR(base.maxX - ox, alone.maxX, 0.01);
    EXPECT_NEAR(base.maxY - oy, alone.maxY, 0.01);
    base = alone;
    if (!kept.empty()) {
        kept.minX -= ox;
        kept.maxX -= ox;
        kept.minY -= oy;
        kept.maxY -= oy;
    }
    return true;
}

}  // namespace

// ---- The test -------------------------------------------------------------------------------

TEST(MarkPlacement, EveryShippedFontPutsMarksWhereTheTypefaceDoes) {
    const std::vector<SourceFont> fonts = readFontTable();
    ASSERT_EQ(fonts.size(), std::size_t(stitchfont::kFontCount));
    const FontEnv env = shippedEnv();
    // MES_MARK_REPORT=1 prints every measurement: font, size, cluster, code indexes, offset.
    const bool report = std::getenv("MES_MARK_REPORT") != nullptr;
    for (const SourceFont& sf : fonts) {
        SCOPED_TRACE(sf.path);
        std::unique_ptr<OutlineFont> font = OutlineFont::open(sf.path);
        ASSERT_TRUE(font) << "the source fonts are installed by tools/deps.sh";
        ShapedGlyph ko;
        ASSERT_TRUE(font->glyphForCode(0xA1, ko));
        const double koTop = font->box(ko.gid).maxY;
        double worst = 0;
        std::string worstAt, off;
        int offCount = 0;
        for (std::size_t step = 0; step < sf.sizes.size(); ++step) {
            const int size = sf.sizes[step];
            ASSERT_EQ(stitchfont::sizeNumber(sf.number - 1, int(step)), size);
            const std::string packPath = stitchfont::packPath(sf.number - 1, int(step));
            SCOPED_TRACE(packPath);
            StitchPack full;
            full.loadPack(packPath, env);
            ASSERT_GT(full.glyphCount(), 0u);
            const double s = 10.0 * size / koTop;
            const int letterGap = 2 * full.metrics().interCharacter;
            for (const char* text : kClusters) {
                SCOPED_TRACE(text);
                const std::vector<int> codes =
                    stitchfont::textToCodes(text, [&](int c) { return full.hasGlyph(c); });
                for (int c : codes)
                    ASSERT_TRUE(full.hasGlyph(c)) << c;
                const std::vector<ShapedGlyph> shaped = font->shape(text);
                ASSERT_FALSE(shaped.empty());
                std::vector<Box> ref;
                for (const ShapedGlyph& g : shaped)
                    ref.push_back(inkBox(*font, g, s));
                // The pack's base letter as the font draws it on its own.
                ShapedGlyph own;
                ASSERT_TRUE(font->glyphForCode(codes[0], own));
                own.x = own.y = 0;
                const Box letter = inkBox(*font, own, s);

                std::vector<Part> parts = pairUp(codes, shaped, ref);
                parts.insert(parts.begin(), Part{{0}, {0}});
                for (const Part& part : parts) {
                    ASSERT_FALSE(part.codes.empty());
                    ASSERT_FALSE(part.glyphs.empty());
                    const int code = codes[part.codes[0]];
                    Box want;
                    for (std::size_t g : part.glyphs)
                        want.add(ref[g]);
                    Box base, kept;
                    ASSERT_TRUE(
                        composeKept(full, env, packPath, text, codes, part.codes, base, kept));
                    double dx = 0, dy = 0;
                    if (part.codes[0] == 0) {
                        // The letter itself, stitched where the font draws it.
                        dx = base.cx() - letter.cx();
                        dy = base.cy() - letter.cy();
                    } else if (!isMarkCode(code)) {
                        ASSERT_FALSE(kept.empty());
                        dx = kept.cx() - want.cx() - part.gaps * letterGap;
                        dy = kept.cy() - want.cy();
                    } else {
                        ASSERT_FALSE(kept.empty());
                        // The reference itself: HarfBuzz sets the mark over its letter's cell.
                        EXPECT_GE(want.cx(), ref[0].minX);
                        EXPECT_LE(want.cx(), shaped[0].advance * s);
                        const double edge =
                            isBelow(code) ? letter.maxY - ref[0].maxY : letter.minY - ref[0].minY;
                        dx = kept.cx() - want.cx();
                        dy = kept.cy() - (want.cy() + edge);
                    }
                    std::string which;
                    for (std::size_t c : part.codes)
                        which += " " + std::to_string(c);
                    char row[160];
                    std::snprintf(row, sizeof row, "size %d %s glyph%s (%+.2f, %+.2f mm) w %.2f",
                                  size, text, which.c_str(), dx / 10, dy / 10,
                                  (letter.maxX - letter.minX) / 10);
                    if (report)
                        std::printf("font %2d %s\n", sf.number, row);
                    const double d = std::max(std::fabs(dx), std::fabs(dy));
                    const double allowed =
                        part.glyphs.size() < part.codes.size()
                            ? std::max(kTolerance, kJoinedShare * (letter.maxX - letter.minX))
                            : kTolerance;
                    if (d > allowed && offCount++ < 8)
                        off += std::string("\n  ") + row;
                    if (d > worst) {
                        worst = d;
                        worstAt = row;
                    }
                }
            }
        }
        std::printf("font %2d: worst %.2f mm at %s\n", sf.number, worst / 10, worstAt.c_str());
        EXPECT_EQ(offCount, 0) << "marks off their place in font " << sf.number << ":" << off;
    }
}
