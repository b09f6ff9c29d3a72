// Section index: building blocks (text, shape, merge, stack); the catalogue table by category.
#include "tools/gallery-catalogue/Designs.h"

#include <algorithm>
#include <stdexcept>

#include "design/Border.h"
#include "design/ShapeLayer.h"
#include "design/ShapeOutline.h"
#include "design/TextEffect.h"
#include "design/TextLayer.h"
#include "formats/ThreadPalette.h"
#include "stitchfont/FontSizes.h"

namespace catalogue {

// ---- building blocks ----

namespace {

int sizeIndexOf(int font, int sizeMm) {
    for (int i = 0; i < stitchfont::kSizeSteps; ++i) {
        if (stitchfont::sizeNumber(font, i) == sizeMm)
            return i;
    }
    throw std::runtime_error("font " + std::to_string(font) + " has no size " +
                             std::to_string(sizeMm) + " mm");
}

// Every block in one thread. The layer kinds store their colour in different ways (a text
// layer's colorIndex is the palette index - 1, a shape's block takes its colorIndex as it is),
// so the colour of a catalogue piece is set on its blocks directly.
void paint(PESData& layer, int thread) {
    for (StitchBlock& block : layer.blocks) {
        block.colorIndex = uint8_t(thread);
        block.color = threadColor(thread);
    }
    layer.computeBounds();
}

}  // namespace

PESData text(const std::string& utf8, const TextStyle& style, const FontEnv& env) {
    const int sizeIndex = sizeIndexOf(style.font, style.sizeMm);
    LayerProperties p;
    p.text = utf8;
    p.fontIndex = style.font;
    p.fontSizeIndex = sizeIndex;
    p.colorIndex = style.color - 1;
    p.baselineIndex = style.baseline;
    PESData layer;
    const bool built = effects::rebuildTextLayer(layer, p, 0, [&](PESData& l) {
        return createTextLayer(l, utf8, style.font, sizeIndex, 0, 0, env);
    });
    if (!built || layer.stitchCount == 0)
        throw std::runtime_error("cannot compose \"" + utf8 + "\" with font " +
                                 std::to_string(style.font));
    paint(layer, style.color);
    if (style.border == 0)
        return layer;
    PESData frame;
    if (!border::buildBorderLayer(layer, style.border, frame))
        throw std::runtime_error("no border around \"" + utf8 + "\"");
    paint(frame, style.border);
    // The frame is sewn first, the letters over it.
    return merge({frame, layer});
}

PESData shape(int kind, float widthCm, float heightCm, float lineWidthCm, int color,
              float degrees) {
    PESData layer = shapes::buildShapeLayer(
        shapes::shapeProperties(kind, widthCm, heightCm, lineWidthCm, 0.4f, color));
    if (degrees != 0) {
        LayerProperties turned = layer.properties;
        turned.rotateValue = 0.5f + degrees / 360.0f;
        shapes::rebuildShapeLayer(layer, turned);
    }
    paint(layer, color);
    return layer;
}

PESData merge(const std::vector<PESData>& layers) {
    PESData merged;
    if (layers.empty())
        return merged;
    merged = layers.front();
    for (size_t i = 1; i < layers.size(); ++i)
        merged.mergeLayer(layers[i]);
    merged.computeBounds();
    return merged;
}

PESData stack(const std::vector<PESData>& layers, int gap) {
    int total = gap * std::max(0, int(layers.size()) - 1);
    for (const PESData& l : layers)
        total += l.boundsHeight;
    std::vector<PESData> placed;
    int top = -total / 2;
    for (PESData l : layers) {
        l.translate(-l.centerX, top + l.boundsHeight / 2 - l.centerY);
        l.computeBounds();
        top += l.boundsHeight + gap;
        placed.push_back(std::move(l));
    }
    return merge(placed);
}

// ---- the catalogue ----

namespace {

// Thread palette indexes used below.
enum Thread : int {
    kBlue = 2,
    kTeal = 3,
    kRed = 5,
    kMagenta = 7,
    kDeepGold = 11,
    kOrange = 12,
    kLime = 14,
    kBlack = 20,
    kUltramarine = 21,
    kRoyalPurple = 22,
    kDeepRose = 25,
    kVermillion = 28,
    kSkyBlue = 32,
    kClayBrown = 36,
    kLeafGreen = 37,
    kPeacock = 38,
    kPink = 43,
    kCarmine = 48,
    kDarkFuschia = 51,
    kTangerine = 52,
    kEmerald = 54,
    kPurple = 55,
    kElectricBlue = 59,
};

// Fonts by index (see data/MIVO_FONTS/README.md).
enum Font : int {
    kGaruda = 0,
    kKinnari = 1,
    kLoma = 2,
    kPurisa = 3,
    kSawasdee = 4,
    kNorasi = 5,
    kWaree = 6,
    kLaksaman = 7,
    kTypist = 8,
    kMono = 9,
    kUmpush = 10,
    kTypo = 11,
    kLooped = 12,
    kSerif = 13,
    kModern = 14,
};

// Thai words in UTF-8, spelt once.
const std::string kWishes = "คำอวยพร";
const std::string kNewYear = "ปีใหม่";

struct Builder {
    const FontEnv& env;
    std::vector<Design>& out;

    void add(const std::string& folder, const std::string& name, PESData layer, bool mivo = false) {
        out.push_back({folder, name, std::move(layer), mivo});
    }
    PESData t(const std::string& s, TextStyle style) const { return text(s, style, env); }
};

void thaiWishes(Builder& b) {
    const std::string f = kWishes;
    b.add(f, "สวัสดี", b.t("สวัสดี", {kLooped, 14, kRed}));
    b.add(f, "สวัสดี 2", b.t("สวัสดี", {kSawasdee, 13, kUltramarine, 1, kDeepGold}));
    b.add(f, "สุขสันต์วันเกิด", b.t("สุขสันต์วันเกิด", {kGaruda, 10, kMagenta}));
    b.add(f, "สุขสันต์วันเกิด 2", b.t("สุขสันต์วันเกิด", {kLooped, 10, kDeepRose, 1}));
    b.add(f, "โชคดี", b.t("โชคดี", {kPurisa, 13, kEmerald, 0, kDeepGold}), true);
    b.add(f, "ขอบคุณ", b.t("ขอบคุณ", {kModern, 13, kBlue}));
    b.add(f, "ขอบคุณมาก", b.t("ขอบคุณมาก", {kKinnari, 10, kPeacock, 2}));
    b.add(f, "รักนะ", b.t("รักนะ", {kSawasdee, 13, kRed, 0, kPink}));
    b.add(f, "มีความสุข", b.t("มีความสุข", {kWaree, 10, kOrange, 1}));
    b.add(f, "สุขภาพแข็งแรง", b.t("สุขภาพแข็งแรง", {kSerif, 10, kLeafGreen}));
    b.add(f, "ร่ำรวย", b.t("ร่ำรวย", {kLaksaman, 13, kDeepGold, 0, kRed}));
    b.add(f, "คิดถึง", b.t("คิดถึง", {kUmpush, 12, kPurple}));
    b.add(f, "ยินดีด้วย", b.t("ยินดีด้วย", {kLoma, 10, kElectricBlue, 1, kSkyBlue}));
    b.add(f, "สมหวัง", b.t("สมหวัง", {kTypo, 12, kCarmine}));
    b.add(f, "ยิ้มไว้", b.t("ยิ้มไว้", {kNorasi, 13, kTangerine}));
    b.add(f, "ขอให้มีความสุขมากๆ",
          stack({b.t("ขอให้มีความสุข", {kLooped, 8, kRoyalPurple}),
                 b.t("มากๆ", {kLooped, 12, kDeepRose})},
                40));

    const std::string y = kWishes + "/" + kNewYear;
    b.add(y, "สวัสดีปีใหม่", b.t("สวัสดีปีใหม่", {kLooped, 10, kRed, 1, kDeepGold}));
    b.add(y, "สุขสันต์วันปีใหม่", b.t("สุขสันต์วันปีใหม่", {kGaruda, 10, kVermillion}));
    b.add(y, "ปีใหม่ 2568", b.t("ปีใหม่ 2568", {kModern, 13, kDarkFuschia}));
    b.add(y, "สวัสดีปีใหม่ Happy New Year",
          stack({b.t("สวัสดีปีใหม่", {kLooped, 12, kRed}),
                 b.t("Happy New Year", {kLooped, 8, kDeepGold})},
                50));
}

void monograms(Builder& b) {
    const std::string f = "Monograms";
    b.add(f, "Letter A", b.t("A", {kSerif, 15, kUltramarine, 0, kDeepGold}), true);
    b.add(f, "Letter B", b.t("B", {kGaruda, 20, kRed, 0, kBlack}));
    b.add(f, "Letter K", b.t("K", {kLaksaman, 20, kEmerald, 0, kLeafGreen}));
    b.add(f, "Letter M", b.t("M", {kNorasi, 20, kRoyalPurple, 0, kPink}));
    b.add(f, "Letter P", b.t("P", {kModern, 20, kPeacock, 0, kTeal}));
    b.add(f, "Letter S", b.t("S", {kKinnari, 20, kCarmine, 0, kDeepRose}));
    b.add(f, "A in a circle",
          merge({shape(8, 4.0f, 4.0f, 0.3f, kDeepGold), b.t("A", {kSerif, 15, kUltramarine})}));
    b.add(f, "M in a square",
          merge({shape(2, 4.0f, 4.0f, 0.3f, kBlack), b.t("M", {kModern, 20, kRed})}));
    b.add(f, "N in a diamond",
          merge({shape(2, 3.6f, 3.6f, 0.3f, kTeal, 45.0f), b.t("N", {kNorasi, 15, kBlue})}));
    b.add(f, "J & M", b.t("J & M", {kSerif, 15, kDarkFuschia, 0, kDeepGold}));
    b.add(f, "T.K.", b.t("T.K.", {kNorasi, 15, kBlack}));
    b.add(f, "AB", b.t("AB", {kGaruda, 20, kElectricBlue, 2}));
    b.add(f, "EL", b.t("EL", {kModern, 20, kOrange, 1, kBlack}));
    b.add(f, "K+P", b.t("K+P", {kPurisa, 13, kMagenta, 0, kLime}));
}

void names(Builder& b) {
    const std::string f = "Names";
    b.add(f, "Anna", b.t("Anna", {kPurisa, 13, kDeepRose}), true);
    b.add(f, "Emma", b.t("Emma", {kSawasdee, 13, kPurple, 0, kPink}));
    b.add(f, "Noah", b.t("Noah", {kModern, 15, kBlue}));
    b.add(f, "Lucas", b.t("Lucas", {kSerif, 15, kEmerald, 1}));
    b.add(f, "Mia", b.t("Mia", {kLooped, 14, kCarmine, 0, kDeepGold}));
    b.add(f, "Leo", b.t("Leo", {kGaruda, 20, kOrange}));
    b.add(f, "Nina", b.t("Nina", {kKinnari, 15, kMagenta, 2}));
    b.add(f, "Ben", b.t("Ben", {kTypo, 14, kUltramarine}));
    b.add(f, "Sophie", b.t("Sophie", {kLaksaman, 13, kRoyalPurple}));
    b.add(f, "Oliver", b.t("Oliver", {kUmpush, 12, kLeafGreen, 1, kBlack}));
    b.add(f, "Baby Mali", b.t("Baby Mali", {kLooped, 12, kSkyBlue}));
    b.add(f, "Ploy", b.t("Ploy", {kNorasi, 15, kDarkFuschia, 0, kPink}));
    b.add(f, "Somchai", b.t("Somchai", {kWaree, 13, kPeacock}));
    b.add(f, "Malee", b.t("Malee", {kTypist, 13, kVermillion}));
}

void occasions(Builder& b) {
    const std::string f = "Occasions";
    b.add(f, "Happy Birthday", b.t("Happy Birthday", {kModern, 10, kMagenta}));
    b.add(f, "Happy Birthday 2", b.t("Happy Birthday", {kLooped, 8, kOrange, 1, kDeepRose}));
    b.add(f, "Thank You", b.t("Thank You", {kSerif, 10, kBlue}));
    b.add(f, "Love", b.t("Love", {kSawasdee, 13, kRed, 0, kPink}));
    b.add(f, "Welcome", b.t("Welcome", {kGaruda, 13, kTeal, 1}));
    b.add(f, "Merry Christmas",
          stack({b.t("Merry", {kKinnari, 15, kRed}), b.t("Christmas", {kKinnari, 15, kEmerald})},
                30));
    b.add(f, "Home Sweet Home", b.t("Home Sweet Home", {kPurisa, 8, kClayBrown, 2}));
    b.add(f, "Best Friends", b.t("Best Friends", {kUmpush, 12, kElectricBlue, 0, kDeepGold}));
}

void framesAndShapes(Builder& b) {
    const std::string f = "Frames and Shapes";
    b.add(f, "Circle", shape(8, 5.0f, 5.0f, 0.4f, kRed), true);
    b.add(f, "Oval", shape(8, 7.0f, 4.0f, 0.4f, kBlue));
    b.add(f, "Square", shape(2, 5.0f, 5.0f, 0.4f, kEmerald), true);
    b.add(f, "Rectangle", shape(2, 8.0f, 4.0f, 0.4f, kPurple));
    b.add(f, "Triangle", shape(1, 5.0f, 5.0f, 0.4f, kOrange));
    b.add(f, "Sharp Triangle", shape(5, 5.0f, 4.0f, 0.4f, kCarmine));
    b.add(f, "Sharp Rectangle", shape(6, 6.0f, 4.0f, 0.4f, kPeacock));
    b.add(f, "Satin Line", shape(4, 8.0f, 1.0f, 0.5f, kDeepGold));
    b.add(f, "Line", shape(0, 8.0f, 2.0f, 0.3f, kBlack));
    b.add(f, "Diamond", shape(2, 4.0f, 4.0f, 0.4f, kMagenta, 45.0f));

    const std::string frames = f + "/Frames";
    b.add(frames, "Double Circle",
          merge({shape(8, 6.0f, 6.0f, 0.3f, kDeepGold), shape(8, 5.0f, 5.0f, 0.3f, kRed)}));
    b.add(frames, "Framed Square",
          merge({shape(2, 6.0f, 6.0f, 0.3f, kBlack), shape(2, 5.0f, 5.0f, 0.3f, kSkyBlue)}));
    b.add(frames, "Circle and Triangle",
          merge({shape(8, 6.0f, 6.0f, 0.3f, kLeafGreen), shape(1, 4.0f, 3.5f, 0.3f, kOrange)}));
    b.add(frames, "Tilted Oval", shape(8, 7.0f, 4.0f, 0.4f, kTeal, -30.0f));
}

}  // namespace

std::vector<Design> buildCatalogue(const FontEnv& env) {
    std::vector<Design> designs;
    Builder b{env, designs};
    thaiWishes(b);
    monograms(b);
    names(b);
    occasions(b);
    framesAndShapes(b);
    return designs;
}

}  // namespace catalogue
