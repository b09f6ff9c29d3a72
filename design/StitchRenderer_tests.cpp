// Rendering tests on SDL's dummy video driver with the software renderer: layer textures, the
// canvas copy with preview rotation, the background, and the rules for sprites and rulers.

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "design/Document.h"
#include "design/DocumentDraw.h"
#include "design/DocumentTestLayers.h"
#include "design/RenderingLayerList.h"
#include "design/StitchRenderer.h"
#include "gui/Globals.h"

namespace {

using testlayers::block;
using testlayers::stitch;

class Render : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("t", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        GUI_renderer =
            SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
        ASSERT_NE(GUI_renderer, nullptr) << SDL_GetError();
    }
    void TearDown() override {
        stitchrender::releaseStitchResources();
        doc.reset();
        if (GUI_renderer)
            SDL_DestroyRenderer(GUI_renderer);
        GUI_renderer = nullptr;
        if (window)
            SDL_DestroyWindow(window);
        SDL_Quit();
    }

    // The pixel (x, y) of a texture (null: the window) as R, G, B, A.
    SDL_Color pixel(SDL_Texture* t, int x, int y) {
        SDL_SetRenderTarget(GUI_renderer, t);
        Uint32 p = 0;
        SDL_Rect r = {x, y, 1, 1};
        SDL_RenderReadPixels(GUI_renderer, &r, SDL_PIXELFORMAT_ARGB8888, &p, 4);
        SDL_SetRenderTarget(GUI_renderer, nullptr);
        return SDL_Color{Uint8(p >> 16), Uint8(p >> 8), Uint8(p), Uint8(p >> 24)};
    }

    SDL_Texture* renderOne(const PESData& l) {
        doc = std::make_unique<Document>(list);
        doc->appendLayer(l, "l");
        return sdlTextureOf(doc->layerTexture(0));
    }

    // A 100 x 50 layer: a long stitch along the top edge, then down the right edge.
    static PESData lShape(uint8_t secondLong = 0, uint8_t secondType = 0) {
        PESData l;
        l.blocks.push_back(
            block(5, {stitch(0, 0), stitch(100, 0, secondLong, secondType), stitch(100, 50)}));
        l.computeBounds();
        return l;
    }

    SDL_Window* window = nullptr;
    RenderingLayerList list;
    std::unique_ptr<Document> doc;
};

bool near(SDL_Color c, Rgba want, int tol = 40) {
    return std::abs(c.r - want.r) <= tol && std::abs(c.g - want.g) <= tol &&
           std::abs(c.b - want.b) <= tol && c.a > 200;
}

TEST(RenderRules, SpriteClasses) {
    EXPECT_EQ(stitchrender::spriteFor(9.5f).width, 10);
    EXPECT_EQ(stitchrender::spriteFor(9.5f).sprite, 1);
    EXPECT_EQ(stitchrender::spriteFor(3.0f).sprite, 0);
    EXPECT_EQ(stitchrender::spriteFor(3.0f).width, 3);
    EXPECT_EQ(stitchrender::spriteFor(120.0f).sprite, 4);
    EXPECT_EQ(stitchrender::spriteFor(120.0f).width, 120);
}

TEST(RenderRules, RulerLabelsAndTicksByZoom) {
    for (int q = 0; q <= 60; ++q) {
        EXPECT_EQ(stitchrender::rulerLabelShown(q, 0.45f), q % 3 == 0) << q;
        EXPECT_FALSE(stitchrender::rulerLabelShown(q, 0.2f)) << q;
        EXPECT_TRUE(stitchrender::rulerLabelShown(q, 3.0f));
        EXPECT_EQ(stitchrender::rulerLabelShown(q, 0.25f), q % 4 == 0);
    }
    for (int i = 1; i <= 9; ++i) {
        EXPECT_FALSE(stitchrender::minorTickShown(i, 0.2f));
        EXPECT_EQ(stitchrender::minorTickShown(i, 0.45f), i % 2 == 0);
        EXPECT_TRUE(stitchrender::minorTickShown(i, 0.75f));
    }
    EXPECT_EQ(stitchrender::majorTickLength(1, 0.35f, 2), 16);
    EXPECT_EQ(stitchrender::majorTickLength(2, 0.35f, 2), 24);
    EXPECT_EQ(stitchrender::majorTickLength(1, 0.5f, 1), 12);
}

TEST(RenderRules, ScreenMapping) {
    CanvasView v;
    v.zoom = 0.5f;
    v.panX = 10;
    v.panY = -20;
    v.scale = 2;
    v.viewportW = 800;
    v.viewportH = 600;
    EXPECT_EQ(v.offsetX(), 820);  // (2 * 10 + 800) / 0.5 * 0.5
    EXPECT_EQ(v.offsetY(), 560);
    PESData l = testlayers::line(-100, -50, 100, 50, 5);
    const SDL_Rect r = stitchrender::layerScreenRect(l, v);
    EXPECT_EQ(r.x, 360);
    EXPECT_EQ(r.y, 255);
    EXPECT_EQ(r.w, 100);
    EXPECT_EQ(r.h, 50);

    // A layer without stitches keeps the start bounds; its rectangle is computed without overflow.
    PESData empty;
    empty.computeBounds();
    const SDL_Rect e = stitchrender::layerScreenRect(empty, v);
    EXPECT_EQ(e.w, 0);
    EXPECT_EQ(e.h, 0);
}

TEST_F(Render, SpritesAtScaleThreeInTheLayerColour) {
    SDL_Texture* t = renderOne(lShape());
    ASSERT_NE(t, nullptr);
    EXPECT_FLOAT_EQ(doc->layers[0].offScreenScale, 3.0f);
    EXPECT_TRUE(stitchrender::stitchResourcesReady());
    // Top stitch: texture units x 3..103 at y 3, times 3.
    EXPECT_TRUE(near(pixel(t, 150, 9), threadColor(5)));
    // Right stitch: x 103, y 3..53.
    EXPECT_TRUE(near(pixel(t, 309, 90), threadColor(5)));
    // Inside the L nothing is drawn.
    EXPECT_EQ(pixel(t, 150, 90).a, 0);
    EXPECT_EQ(list.cells[0].text, "Stitches:      3");
}

TEST_F(Render, UnderlayDrawsThinLinesAtScaleOne) {
    list.mode = 2;
    SDL_Texture* t = renderOne(lShape());
    ASSERT_NE(t, nullptr);
    EXPECT_FLOAT_EQ(doc->layers[0].offScreenScale, 1.0f);
    SDL_Color c = pixel(t, 50, 3);
    EXPECT_TRUE(near(c, threadColor(5), 0));
    EXPECT_EQ(pixel(t, 50, 5).a, 0);
    EXPECT_EQ(pixel(t, 150, 9).a, 0);  // nothing at the scale-3 place
}

TEST_F(Render, JumpsAndTrimsAreNotDrawnButLongNormalStitchesAre) {
    struct Case {
        uint8_t type;
        bool drawn;
    } cases[] = {{pec::kJump, false}, {pec::kTrim, false}, {pec::kNormal, true}};
    for (const Case& c : cases) {
        SDL_Texture* t = renderOne(lShape(1, c.type));
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(pixel(t, 150, 9).a > 200, c.drawn) << int(c.type);
        EXPECT_TRUE(near(pixel(t, 309, 90), threadColor(5)));  // the stitch after it is drawn
    }
}

TEST_F(Render, PreviewAngleTurnsTheCopyAndDropsTheFrame) {
    SDL_Texture* t = renderOne(lShape());
    ASSERT_NE(t, nullptr);
    RenderSettings settings;
    CanvasView v;
    v.viewportW = v.windowW = 800;
    v.viewportH = v.windowH = 600;
    PESData& l = doc->layers[0];
    l.highlighted = true;
    auto clear = [] {
        SDL_SetRenderTarget(GUI_renderer, nullptr);
        SDL_SetRenderDrawColor(GUI_renderer, 255, 255, 255, 255);
        SDL_RenderClear(GUI_renderer);
    };
    auto anyColoured = [&](int x, int y0, int y1) {
        for (int y = y0; y <= y1; ++y)
            if (near(pixel(nullptr, x, y), threadColor(5), 60))
                return true;
        return false;
    };
    clear();
    stitchrender::drawLayer(l, t, settings, v);  // at (400, 300), 100 x 50
    EXPECT_TRUE(anyColoured(440, 300, 306));
    const SDL_Color frame = pixel(nullptr, 400, 325);
    EXPECT_EQ(frame.r, 0);

    clear();
    l.previewAngle = 90.0f;
    stitchrender::drawLayer(l, t, settings, v);
    EXPECT_FALSE(anyColoured(440, 300, 306));
    EXPECT_TRUE(anyColoured(472, 300, 330) || anyColoured(473, 300, 330));
    EXPECT_EQ(pixel(nullptr, 400, 325).r, 255);  // no selection frame

    // No texture: nothing at all.
    clear();
    l.previewAngle = 0.0f;
    stitchrender::drawLayer(l, nullptr, settings, v);
    EXPECT_EQ(pixel(nullptr, 400, 325).r, 255);
}

TEST(RenderRules, ThumbnailFitsTheLongerSideAndKeepsTheAspect) {
    struct Case {
        int64_t minX, minY, maxX, maxY;
        int size, w, h;
    } cases[] = {
        {-500, -250, 500, 250, 256, 256, 129},  // (500 + 4) / (1000 + 4) of 256
        {0, 0, 96, 396, 100, 25, 100},          // portrait
        {7, 7, 7, 7, 64, 64, 64},               // one point: a thread's width square
        {0, 0, 2000000000, 10, 32, 32, 1},      // at least one pixel
        {-2000000000, 0, 2000000000, 0, 2048, 2048, 1},
    };
    for (const Case& c : cases) {
        const stitchrender::ThumbnailFit f =
            stitchrender::fitThumbnail(c.minX, c.minY, c.maxX, c.maxY, c.size);
        EXPECT_EQ(f.w, c.w) << c.maxX;
        EXPECT_EQ(f.h, c.h) << c.maxX;
        // The design's corners lie half a thread inside the picture.
        EXPECT_NEAR((double(c.minX) + f.ox) * f.scale, 2.0 * f.scale, 1e-3 * c.size) << c.maxX;
        EXPECT_NEAR((double(c.maxY) + f.oy) * f.scale, f.h - 2.0 * f.scale, 1.0) << c.maxX;
    }
}

TEST(RenderRules, ThumbnailSpritesOnlyForThickThreadsAndFewStitches) {
    EXPECT_TRUE(stitchrender::thumbnailUsesSprites(0.5f, 10));  // 2 pixels thick
    EXPECT_FALSE(stitchrender::thumbnailUsesSprites(0.49f, 10));
    EXPECT_TRUE(stitchrender::thumbnailUsesSprites(3.0f, 25000));
    EXPECT_FALSE(stitchrender::thumbnailUsesSprites(3.0f, 25001));
}

// A thumbnail drawn into a texture of its own size; pixels read back as for the layers.
class Thumbnail : public Render {
protected:
    SDL_Texture* draw(const std::vector<const PESData*>& layers, int size) {
        int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
        for (const PESData* l : layers) {
            minX = std::min<int64_t>(minX, l->minX);
            minY = std::min<int64_t>(minY, l->minY);
            maxX = std::max<int64_t>(maxX, l->maxX);
            maxY = std::max<int64_t>(maxY, l->maxY);
        }
        fit = stitchrender::fitThumbnail(minX, minY, maxX, maxY, size);
        if (target)
            SDL_DestroyTexture(target);
        target = SDL_CreateTexture(GUI_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                   fit.w, fit.h);
        SDL_SetRenderTarget(GUI_renderer, target);
        stitchrender::drawThumbnail(layers, fit);
        SDL_SetRenderTarget(GUI_renderer, nullptr);
        return target;
    }
    void TearDown() override {
        if (target)
            SDL_DestroyTexture(target);
        Render::TearDown();
    }
    SDL_Texture* target = nullptr;
    stitchrender::ThumbnailFit fit;
};

TEST_F(Thumbnail, ThinThreadsAreLinesInTheThreadColourAndMovementsAreNotDrawn) {
    // 1000 x 500 in 64 pixels: a thread is a quarter pixel thick. Along the top, a stitch, a jump
    // and a stitch; then down the right edge in a second colour.
    PESData l;
    l.blocks.push_back(
        block(5, {stitch(0, 0), stitch(300, 0), stitch(700, 0, 1, pec::kJump), stitch(1000, 0)}));
    l.blocks.push_back(block(9, {stitch(1000, 0), stitch(1000, 500)}));
    l.computeBounds();
    SDL_Texture* t = draw({&l}, 64);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(fit.w, 64);
    EXPECT_TRUE(near(pixel(t, 10, 0), threadColor(5), 0));   // first stitch
    EXPECT_EQ(pixel(t, 32, 0).a, 0);                         // under the jump
    EXPECT_TRUE(near(pixel(t, 55, 0), threadColor(5), 0));   // the stitch after it
    EXPECT_TRUE(near(pixel(t, 63, 16), threadColor(9), 0));  // the second colour run
    EXPECT_EQ(pixel(t, 30, 16).a, 0);                        // inside: nothing
}

// Whether an opaque pixel is the thread colour shaded lighter or darker, as sprites draw it.
bool shadeOf(SDL_Color c, Rgba thread) {
    const double k = double(c.r + c.g + c.b) / double(thread.r + thread.g + thread.b);
    return c.a > 200 && std::abs(c.r - k * thread.r) < 8 && std::abs(c.g - k * thread.g) < 8 &&
           std::abs(c.b - k * thread.b) < 8;
}

TEST_F(Thumbnail, ThickThreadsAreSpritesAndLaterLayersLieOnTop) {
    // 100 x 50 in 128 pixels: threads about five pixels thick.
    PESData under = testlayers::line(0, 20, 100, 20, 5);
    PESData over = testlayers::line(50, 0, 50, 50, 9);
    SDL_Texture* t = draw({&under, &over}, 128);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(stitchrender::stitchResourcesReady());
    const int cx = int((50 + fit.ox) * fit.scale), cy = int((20 + fit.oy) * fit.scale);
    // Across each thread some pixels show its colour, shaded; where they cross, the later one.
    auto across = [&](int x, Rgba thread) {
        int n = 0;
        for (int y = cy - 5; y <= cy + 5; ++y)
            n += shadeOf(pixel(t, x, y), thread);
        return n;
    };
    EXPECT_GE(across(cx - 30, threadColor(5)), 2);
    EXPECT_EQ(across(cx, threadColor(5)), 0) << "the later layer on top";
    EXPECT_GE(across(cx, threadColor(9)), 8);
    EXPECT_EQ(pixel(t, cx - 30, cy + 20).a, 0);
}

TEST_F(Render, CanvasBackgroundHoopAndGrid) {
    RenderSettings settings;
    settings.hoopWidth = settings.hoopHeight = 100;
    CanvasView v;
    v.zoom = 0.5f;
    v.viewportW = v.windowW = 800;
    v.viewportH = v.windowH = 600;
    SDL_SetRenderDrawColor(GUI_renderer, 0, 0, 0, 255);
    SDL_RenderClear(GUI_renderer);
    stitchrender::drawCanvasBackground(settings, v);
    EXPECT_EQ(pixel(nullptr, 413, 313).r, 234);  // hoop
    EXPECT_EQ(pixel(nullptr, 113, 313).r, 210);  // work area
    EXPECT_EQ(pixel(nullptr, 400, 313).r, 142);  // centre line
    EXPECT_EQ(pixel(nullptr, 450, 313).r, 180);  // grid, 10 mm right of the centre
}

TEST_F(Render, RulersBandsAndTicks) {
    RenderSettings settings;
    CanvasView v;
    v.zoom = 1.0f;
    v.viewportW = v.windowW = 800;
    v.viewportH = v.windowH = 600;
    SDL_SetRenderDrawColor(GUI_renderer, 255, 255, 255, 255);
    SDL_RenderClear(GUI_renderer);
    stitchrender::createStitchResources();
    stitchrender::drawRulers(settings, v);
    EXPECT_EQ(pixel(nullptr, 405, 3).r, 228);   // band
    EXPECT_EQ(pixel(nullptr, 400, 10).r, 64);   // major tick at the centre
    EXPECT_EQ(pixel(nullptr, 500, 10).r, 64);   // 10 mm on
    EXPECT_EQ(pixel(nullptr, 410, 10).r, 64);   // a minor tick
    EXPECT_EQ(pixel(nullptr, 10, 300).r, 64);   // left ruler
    EXPECT_EQ(pixel(nullptr, 400, 30).r, 255);  // below the band
}

TEST_F(Render, JumpLinesBetweenLayersStayWhileDragging) {
    doc = std::make_unique<Document>(list);
    PESData a, b;
    a.blocks.push_back(block(5, {stitch(-100, 0), stitch(-50, 0), stitch(-40, 10)}));
    a.computeBounds();
    b.blocks.push_back(block(5, {stitch(40, 10), stitch(50, 0, 1, 1), stitch(100, 0)}));
    b.computeBounds();
    doc->appendLayer(a, "a");
    doc->appendLayer(b, "b");
    RenderSettings settings;
    settings.showJumpStitches = true;
    CanvasView v;
    v.viewportW = v.windowW = 800;
    v.viewportH = v.windowH = 600;
    auto grey = [&](int x, int y) {
        const SDL_Color c = pixel(nullptr, x, y);
        return c.r == 192 && c.g == 192 && c.b == 192;
    };
    for (bool dragging : {false, true}) {
        doc->layers[1].dragging = dragging;
        SDL_SetRenderDrawColor(GUI_renderer, 255, 255, 255, 255);
        SDL_RenderClear(GUI_renderer);
        drawDocumentLayers(*doc, settings, v);
        // Between the layers: from (-40, 10) to (40, 10), at y = 310 on screen.
        EXPECT_TRUE(grey(400, 310)) << dragging;
    }
    // The layer's own jump (50, 0) is drawn only while it is not dragged: on a white canvas its
    // line from (40, 10) to (50, 0) shows in the block colour at x = 445.
    doc->layers[1].dragging = false;
    SDL_RenderClear(GUI_renderer);
    drawDocumentLayers(*doc, settings, v);
    bool own = false;
    for (int y = 300; y <= 310; ++y)
        own |= near(pixel(nullptr, 445, y), threadColor(5), 60);
    EXPECT_TRUE(own);
    doc->layers[1].dragging = true;
    SDL_RenderClear(GUI_renderer);
    drawDocumentLayers(*doc, settings, v);
    own = false;
    for (int y = 300; y <= 310; ++y)
        own |= near(pixel(nullptr, 445, y), threadColor(5), 60);
    EXPECT_FALSE(own);
}

}  // namespace
