// The digitizer: what turning one outline into stitches costs, for plain shapes that exercise one
// stitch type each and for real Thai and Latin glyphs read from a Debian TrueType font, plus the
// cost of the quality report on the same glyphs; and one Medium emoticon from layered colour
// artwork, made up and from the emoji font of tools/emoticons.
//
//   digitizer_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// The glyph benchmarks read /usr/share/fonts/truetype/tlwg/Garuda-Bold.ttf (Debian package
// fonts-tlwg-garuda-ttf); MES_BENCH_FONT names another font. All coordinates are in 0.1 mm.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_COLOR_H

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "digitizer/Artwork.h"
#include "digitizer/Digitizer.h"
#include "digitizer/Quality.h"

namespace {

using digitizer::Needle;
using digitizer::Point;
using digitizer::Ring;

constexpr double kPi = 3.14159265358979323846;

// Curves are cut into straight pieces about this long (0.15 mm).
constexpr double kFlatten = 1.5;

Ring rectangle(double x, double y, double w, double h) {
    return {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
}

Ring circle(double cx, double cy, double r) {
    const int n = std::max(16, static_cast<int>(std::ceil(2.0 * kPi * r / kFlatten)));
    Ring ring;
    ring.reserve(n);
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * kPi * i / n;
        ring.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return ring;
}

enum class Shape { Bar, Ring, Square, Plus };

std::vector<Ring> shapeOutline(Shape shape) {
    switch (shape) {
        case Shape::Bar:  // 40 x 4 mm: one straight satin column
            return {rectangle(0, 0, 400, 40)};
        case Shape::Ring:  // an O, outer radius 5 mm, inner 3.5 mm: a closed satin loop
            return {circle(0, 0, 50), circle(0, 0, 35)};
        case Shape::Square:  // 30 x 30 mm: too wide for satin, sewn as tatami fill
            return {rectangle(0, 0, 300, 300)};
        case Shape::Plus:  // 30 mm across, arms 4 mm wide: satin columns meeting at a crossing
            return {{{130, 0},
                     {170, 0},
                     {170, 130},
                     {300, 130},
                     {300, 170},
                     {170, 170},
                     {170, 300},
                     {130, 300},
                     {130, 170},
                     {0, 170},
                     {0, 130},
                     {130, 130}}};
    }
    return {};
}

int visibleStitches(const std::vector<Needle>& path) {
    return static_cast<int>(std::count_if(path.begin(), path.end(), [](const Needle& n) {
        return n.kind != digitizer::Kind::Jump && n.kind != digitizer::Kind::Trim;
    }));
}

void BM_Shape(benchmark::State& state, Shape shape) {
    const std::vector<Ring> outline = shapeOutline(shape);
    const digitizer::Params params;
    size_t needles = 0;
    for (auto _ : state) {
        std::vector<Needle> path = digitizer::digitize(outline, params);
        needles = path.size();
        benchmark::DoNotOptimize(path.data());
        benchmark::ClobberMemory();
    }
    state.counters["needles"] = static_cast<double>(needles);
}
BENCHMARK_CAPTURE(BM_Shape, bar_40x4mm, Shape::Bar)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Shape, ring_r50_r35, Shape::Ring)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Shape, square_30mm, Shape::Square)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Shape, plus_30mm, Shape::Plus)->Unit(benchmark::kMicrosecond);

// ---- Glyph outlines read with FreeType ---------------------------------------------------------

// Collects a FreeType outline as rings in design units, flattening the curves as it goes.
struct OutlineSink {
    double scale = 1.0;     // design units per font unit
    double originX = 0.0;   // pen position, design units
    double baseline = 0.0;  // baseline height, design units
    std::vector<Ring> rings;
    Point last;  // current point, design units

    Point map(const FT_Vector* v) const {
        return {originX + v->x * scale, baseline - v->y * scale};
    }
    void lineTo(Point p) {
        rings.back().push_back(p);
        last = p;
    }
    static int steps(double length) {
        return std::max(1, static_cast<int>(std::ceil(length / kFlatten)));
    }
};

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

int moveTo(const FT_Vector* to, void* user) {
    auto* sink = static_cast<OutlineSink*>(user);
    sink->rings.emplace_back();
    sink->lineTo(sink->map(to));
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    auto* sink = static_cast<OutlineSink*>(user);
    sink->lineTo(sink->map(to));
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* sink = static_cast<OutlineSink*>(user);
    const Point p0 = sink->last, p1 = sink->map(control), p2 = sink->map(to);
    // The control polygon is never shorter than the curve, so the pieces come out no longer than
    // kFlatten.
    const int n = OutlineSink::steps(distance(p0, p1) + distance(p1, p2));
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1.0 - t;
        sink->lineTo({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                      u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* sink = static_cast<OutlineSink*>(user);
    const Point p0 = sink->last, p1 = sink->map(c1), p2 = sink->map(c2), p3 = sink->map(to);
    const int n = OutlineSink::steps(distance(p0, p1) + distance(p1, p2) + distance(p2, p3));
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1.0 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        sink->lineTo(
            {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
    return 0;
}

// One glyph of the test string, placed at its pen position. Spaces have no rings.
struct Glyph {
    char32_t code = 0;
    std::vector<Ring> outline;
};

struct GlyphSet {
    std::string error;  // empty when the glyphs were read
    std::vector<Glyph> glyphs;
};

// The string each glyph benchmark sews, glyph by glyph (no shaping: marks keep the offsets the
// font gives them).
const std::u32string kText = U"สวัสดีครับ Hello 123";

GlyphSet readGlyphs() {
    GlyphSet set;
    const char* env = std::getenv("MES_BENCH_FONT");
    const std::string path = env && *env ? env : "/usr/share/fonts/truetype/tlwg/Garuda-Bold.ttf";

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        set.error = "FreeType could not be initialised";
        return set;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        set.error = "cannot open font " + path +
                    " (install fonts-tlwg-garuda-ttf or set MES_BENCH_FONT to a TrueType font "
                    "with Thai glyphs)";
        FT_Done_FreeType(library);
        return set;
    }

    // Unscaled, unhinted outlines: coordinates in font units, scaled here so that KO KAI stands
    // 10 mm tall.
    const FT_Int32 flags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
    const FT_UInt koKai = FT_Get_Char_Index(face, 0x0E01);
    FT_BBox box{};
    if (koKai == 0 || FT_Load_Glyph(face, koKai, flags) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
        set.error = "font " + path + " has no outline for U+0E01";
    } else {
        FT_Outline_Get_CBox(&face->glyph->outline, &box);
        if (box.yMax <= box.yMin) {
            set.error = "font " + path + " has an empty U+0E01";
        }
    }

    if (set.error.empty()) {
        const FT_Outline_Funcs funcs{moveTo, lineTo, conicTo, cubicTo, 0, 0};
        OutlineSink sink;
        sink.scale = 100.0 / static_cast<double>(box.yMax - box.yMin);
        sink.baseline = static_cast<double>(box.yMax) * sink.scale;  // KO KAI's top at y = 0
        for (char32_t code : kText) {
            const FT_UInt index = FT_Get_Char_Index(face, code);
            if (index == 0 || FT_Load_Glyph(face, index, flags) != 0) {
                set.error = "font " + path + " lacks a glyph of the test string";
                break;
            }
            Glyph glyph;
            glyph.code = code;
            if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
                sink.rings.clear();
                FT_Outline_Decompose(&face->glyph->outline, &funcs, &sink);
                for (Ring& ring : sink.rings) {
                    // A closing point equal to the first adds nothing to a closed ring.
                    if (ring.size() > 1 && distance(ring.front(), ring.back()) < 1e-9) {
                        ring.pop_back();
                    }
                    if (ring.size() >= 3) {
                        glyph.outline.push_back(std::move(ring));
                    }
                }
            }
            sink.originX += face->glyph->advance.x * sink.scale;
            set.glyphs.push_back(std::move(glyph));
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return set;
}

const GlyphSet& glyphs() {
    static const GlyphSet set = readGlyphs();
    return set;
}

// Sews the glyphs in order, each starting where the previous one ended.
std::vector<std::vector<Needle>> digitizeAll(const std::vector<Glyph>& list,
                                             const digitizer::Params& params) {
    std::vector<std::vector<Needle>> paths;
    paths.reserve(list.size());
    Point entry;
    for (const Glyph& glyph : list) {
        if (glyph.outline.empty()) {
            paths.emplace_back();
            continue;
        }
        paths.push_back(digitizer::digitize(glyph.outline, params, entry));
        if (!paths.back().empty()) {
            entry = paths.back().back().p;
        }
    }
    return paths;
}

int inkedGlyphs(const std::vector<Glyph>& list) {
    return static_cast<int>(
        std::count_if(list.begin(), list.end(), [](const Glyph& g) { return !g.outline.empty(); }));
}

void BM_GlyphString(benchmark::State& state) {
    const GlyphSet& set = glyphs();
    if (!set.error.empty()) {
        state.SkipWithError(set.error.c_str());
        return;
    }
    const digitizer::Params params;
    int stitches = 0;
    for (auto _ : state) {
        std::vector<std::vector<Needle>> paths = digitizeAll(set.glyphs, params);
        stitches = 0;
        for (const auto& path : paths) {
            stitches += visibleStitches(path);
        }
        benchmark::DoNotOptimize(stitches);
        benchmark::ClobberMemory();
    }
    const int count = inkedGlyphs(set.glyphs);
    state.SetItemsProcessed(state.iterations() * count);  // glyphs per second
    state.counters["glyphs"] = count;
    state.counters["stitches"] = stitches;
}
BENCHMARK(BM_GlyphString)->Unit(benchmark::kMillisecond);

void BM_MeasureGlyphString(benchmark::State& state) {
    const GlyphSet& set = glyphs();
    if (!set.error.empty()) {
        state.SkipWithError(set.error.c_str());
        return;
    }
    const digitizer::Params params;
    const std::vector<std::vector<Needle>> paths = digitizeAll(set.glyphs, params);
    double worstCoverage = 1.0;
    for (auto _ : state) {
        worstCoverage = 1.0;
        for (size_t i = 0; i < set.glyphs.size(); ++i) {
            if (set.glyphs[i].outline.empty()) {
                continue;
            }
            const digitizer::Quality q =
                digitizer::measure(set.glyphs[i].outline, paths[i], params);
            worstCoverage = std::min(worstCoverage, q.coverage);
        }
        benchmark::DoNotOptimize(worstCoverage);
    }
    const int count = inkedGlyphs(set.glyphs);
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["glyphs"] = count;
    state.counters["min_coverage"] = worstCoverage;
}
BENCHMARK(BM_MeasureGlyphString)->Unit(benchmark::kMillisecond);

// ---- Layered colour artwork: one Medium emoticon (40 mm) ----------------------------------------

Ring ellipse(double cx, double cy, double rx, double ry) {
    Ring ring;
    const int n =
        std::max(16, static_cast<int>(std::ceil(2.0 * kPi * std::max(rx, ry) / kFlatten)));
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * kPi * i / n;
        ring.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return ring;
}

// A made-up smiley 40 mm across: a yellow face, brown eyes and open mouth, white teeth.
std::vector<digitizer::ArtLayer> smiley() {
    Ring mouth;
    for (int i = 0; i <= 60; ++i) {  // the lower half of an ellipse, closed by its chord
        const double a = kPi * i / 60;
        mouth.push_back({120 * std::cos(a), 40 + 90 * std::sin(a)});
    }
    return {{{circle(0, 0, 200)}, {255, 204, 77, 255}},
            {{ellipse(-70, -60, 25, 40), ellipse(70, -60, 25, 40), mouth}, {102, 69, 0, 255}},
            {{{{-100, 45}, {100, 45}, {90, 75}, {-90, 75}}}, {255, 255, 255, 255}}};
}

// The grinning face (U+1F600) of the colour emoji font tools/emoticons/build-emoticons.sh fetches
// into build/emoticon-source (MES_BENCH_EMOJI names another font with COLR layers), 40 mm across.
struct Artwork {
    std::string error;
    std::vector<digitizer::ArtLayer> layers;
};

Artwork readEmoji() {
    Artwork art;
    const char* env = std::getenv("MES_BENCH_EMOJI");
    const std::string path = env && *env ? env
                                         : std::string(MES_SOURCE_DIR) +
                                               "/build/emoticon-source/package/twemoji.woff2";
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_Palette_Data palettes{};
    FT_Color* palette = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, path.c_str(), 0, &face) != 0 ||
        FT_Palette_Data_Get(face, &palettes) != 0 || FT_Palette_Select(face, 0, &palette) != 0) {
        art.error = "cannot read colour font " + path +
                    " (run tools/emoticons/build-emoticons.sh or set MES_BENCH_EMOJI)";
    } else {
        const FT_Int32 flags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
        const FT_Outline_Funcs funcs{moveTo, lineTo, conicTo, cubicTo, 0, 0};
        FT_LayerIterator it{};
        FT_UInt gid = 0, color = 0;
        OutlineSink sink;
        // The emoji's em square, 512 units in this font, to 40 mm.
        sink.scale = 400.0 / face->units_per_EM;
        sink.baseline = face->ascender * sink.scale;
        while (FT_Get_Color_Glyph_Layer(face, FT_Get_Char_Index(face, 0x1F600), &gid, &color,
                                        &it)) {
            if (FT_Load_Glyph(face, gid, flags) != 0 || color >= palettes.num_palette_entries)
                continue;
            sink.rings.clear();
            FT_Outline_Decompose(&face->glyph->outline, &funcs, &sink);
            const FT_Color& c = palette[color];
            art.layers.push_back({sink.rings, {c.red, c.green, c.blue, 255}});
        }
        if (art.layers.empty())
            art.error = "font " + path + " has no colour layers for U+1F600";
    }
    if (face)
        FT_Done_Face(face);
    if (library)
        FT_Done_FreeType(library);
    return art;
}

void BM_ArtworkMedium(benchmark::State& state, bool emoji) {
    static const Artwork real = readEmoji();
    const Artwork made{"", smiley()};
    const Artwork& art = emoji ? real : made;
    if (!art.error.empty()) {
        state.SkipWithError(art.error.c_str());
        return;
    }
    size_t runs = 0, stitches = 0;
    for (auto _ : state) {
        std::vector<digitizer::ColorRun> result = digitizer::digitizeArtwork(art.layers);
        runs = result.size();
        stitches = 0;
        for (const digitizer::ColorRun& r : result)
            stitches += static_cast<size_t>(visibleStitches(r.path));
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["runs"] = static_cast<double>(runs);
    state.counters["stitches"] = static_cast<double>(stitches);
}
BENCHMARK_CAPTURE(BM_ArtworkMedium, smiley_40mm, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ArtworkMedium, twemoji_1F600_40mm, true)->Unit(benchmark::kMillisecond);

}  // namespace
