// The canvas in the real main window: zoom, selecting by click, dragging, nudging, panning.

#include <gtest/gtest.h>

#include <cmath>

#include "app/EditorTestFixture.h"
#include "gui/List.h"
#include "gui/Slider.h"

namespace {

using CanvasTest = EditorFixture;

TEST(CanvasZoom, SliderValuesMapOntoZoomsAndBack) {
    const float cases[][2] = {{0.0f, 0.3f}, {0.25f, 0.65f}, {0.5f, 1.0f}, {0.75f, 2.0f},
                              {1.0f, 3.0f}, {-1.0f, 0.3f},  {2.0f, 3.0f}};
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(zoomForSliderValue(c[0]), c[1]) << c[0];
        EXPECT_NEAR(sliderValueForZoom(c[1]), std::clamp(c[0], 0.0f, 1.0f), 1e-6) << c[1];
    }
}

TEST_F(CanvasTest, StartsAtTheZoomOfTheWindowHeight) {
    // ((1 * 673 / 1536) - 0.25) / 0.75 * 0.5, about 0.125: a zoom of about 0.48.
    EXPECT_NEAR(ui.zoomSlider->get_value(), 0.1254f, 1e-3);
    EXPECT_NEAR(canvas.zoom, 0.4755f, 1e-3);
}

// The centre of a layer's rectangle in window points.
SDL_Point centreOfLayer(int index) {
    const SDL_Rect r = layerWindowRect(theDocument->layers[index]);
    return {(r.x + r.w / 2) / GUI_scale, (r.y + r.h / 2) / GUI_scale};
}

TEST_F(CanvasTest, AQuickClickSelectsTheTopmostLayerAndEmptyCanvasDeselects) {
    addShape(2, 6, 6);
    addShape(2, 2, 2);  // on top, in the middle of the first
    doc().select(0);
    const SDL_Point c = centreOfLayer(0);
    click(c.x, c.y);
    EXPECT_EQ(doc().selectedIndex(), 1);
    EXPECT_TRUE(doc().layers[1].highlighted);
    EXPECT_FALSE(doc().layers[0].highlighted);
    // The first layer's corner lies outside the second.
    const SDL_Rect r0 = layerWindowRect(doc().layers[0]);
    click(r0.x + 3, r0.y + 3);
    EXPECT_EQ(doc().selectedIndex(), 0);
    click(40, 600);  // nothing there
    EXPECT_EQ(doc().selectedIndex(), -1);
    EXPECT_FALSE(doc().layers[0].highlighted);
    EXPECT_FALSE(ui.replaceButton->is_enabled());
    EXPECT_FALSE(doc().history.canRedo());
    EXPECT_EQ(doc().history.undoStack.size(), 2u);  // selecting is not an edit
}

TEST_F(CanvasTest, ALongPressNeitherSelectsNorDeselects) {
    addShape(2, 6, 6);
    addShape(2, 2, 2);  // selected, in the middle of the first
    const SDL_Rect r0 = layerWindowRect(doc().layers[0]);
    press(r0.x + 3, r0.y + 3);  // on the first layer only
    SDL_Delay(260);
    release(r0.x + 3, r0.y + 3);
    frame();
    EXPECT_EQ(doc().selectedIndex(), 1);
    EXPECT_EQ(doc().history.undoStack.size(), 2u);
}

TEST_F(CanvasTest, APressInsideTheSelectedLayerDragsItEvenUnderAnotherLayer) {
    addShape(2, 6, 6);
    addShape(2, 2, 2);
    doc().select(0);
    const int32_t startX = doc().layers[0].centerX, startY = doc().layers[0].centerY;
    const int32_t stitchX = doc().layers[0].blocks[0].stitches[5].x;
    const SDL_Point c = centreOfLayer(0);  // the smaller layer lies on top here
    press(c.x, c.y);
    move(c.x + 20, c.y + 10);
    move(c.x + 48, c.y + 24);
    // While dragging only the bounds move.
    EXPECT_EQ(doc().layers[0].blocks[0].stitches[5].x, stitchX);
    EXPECT_NE(doc().layers[0].centerX, startX);
    release(c.x + 48, c.y + 24);
    frame();
    const int32_t dx = doc().layers[0].centerX - startX, dy = doc().layers[0].centerY - startY;
    EXPECT_NEAR(dx, 48 / canvas.zoom, 3);
    EXPECT_NEAR(dy, 24 / canvas.zoom, 3);
    EXPECT_EQ(doc().layers[0].blocks[0].stitches[5].x, stitchX + dx);  // moved once, at the drop
    EXPECT_EQ(doc().layers[1].centerX, 0);                             // the top layer stayed
    ASSERT_EQ(doc().history.undoStack.size(), 3u);
    EXPECT_EQ(doc().history.undoName(), "Move");
    doc().history.undo();
    EXPECT_EQ(doc().layers[0].centerX, startX);
}

TEST_F(CanvasTest, ADragThatEndsWhereItStartedLeavesNoUndoEntry) {
    addShape(2, 6, 6);
    const SDL_Point c = centreOfLayer(0);
    const int32_t minX = doc().layers[0].minX;
    press(c.x, c.y);
    move(c.x + 30, c.y);
    move(c.x, c.y);
    release(c.x, c.y);
    frame();
    EXPECT_EQ(doc().history.undoStack.size(), 1u);
    EXPECT_EQ(doc().layers[0].minX, minX);
}

TEST_F(CanvasTest, ADragCannotPushALayerOutOfWhatPESCanStore) {
    addShape(2, 6, 6);
    const SDL_Point c = centreOfLayer(0);
    press(c.x, c.y);
    // Far to the left, many times over: each step is clamped.
    for (int i = 0; i < 200; ++i)
        move(c.x - 5 - i % 2, c.y);
    for (int i = 0; i < 400; ++i) {
        canvas.anchorX += 400;  // as if the pointer kept moving left without end
        move(c.x - 1, c.y);
    }
    release(c.x - 1, c.y);
    frame();
    EXPECT_GE(doc().layers[0].minX, -kMaxDesignCoordinate);
    EXPECT_LE(doc().layers[0].maxX, kMaxDesignCoordinate);
    int32_t least = 0;
    for (const Stitch& s : doc().layers[0].blocks[0].stitches)
        least = std::min(least, s.x);
    EXPECT_GE(least, -kMaxDesignCoordinate);
}

TEST_F(CanvasTest, ArrowKeysNudgeTheSelectedLayerWithoutAnUndoEntry) {
    key(SDLK_LEFT);  // nothing selected: nothing happens
    addShape(2, 3, 3);
    const int32_t x = doc().layers[0].centerX, y = doc().layers[0].centerY;
    key(SDLK_LEFT);
    key(SDLK_LEFT);
    key(SDLK_DOWN);
    EXPECT_EQ(doc().layers[0].centerX, x - 2);
    EXPECT_EQ(doc().layers[0].centerY, y + 1);
    EXPECT_EQ(doc().history.undoStack.size(), 1u);
    doc().history.undo();  // undoes the shape, not the nudges
    EXPECT_EQ(doc().layerCount(), 0);
}

TEST_F(CanvasTest, APanBeyondTheContentSpringsBack) {
    SDL_Event e{};
    e.type = SDL_MULTIGESTURE;
    e.mgesture.numFingers = 2;
    e.mgesture.x = 0.3f;
    e.mgesture.y = 0.5f;
    send(e);
    SDL_Event f{};
    f.type = SDL_FINGERMOTION;
    f.tfinger.dx = 3.0f;  // three window widths
    send(f);
    const float far = canvas.panX;
    EXPECT_FALSE(canvas.panArrived);
    for (int i = 0; i < 40; ++i)
        frame();
    EXPECT_TRUE(canvas.panArrived);
    EXPECT_LT(canvas.panX, far);
    EXPECT_FLOAT_EQ(canvas.panX, canvas.panTargetX);
    const float limit = std::fabs((3600 * canvas.zoom - float(toolboxLeft())) / 2);
    EXPECT_NEAR(canvas.panX, limit, 0.01f);
}

TEST_F(CanvasTest, TheWheelZoomsAboutThePointer) {
    addShape(2, 4, 4);
    const SDL_Rect before = layerWindowRect(doc().layers[0]);
    const int px = before.x, py = before.y;  // the layer's top-left corner under the pointer
    SDL_WarpMouseInWindow(GUI_window, px, py);
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = 3;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
#if SDL_VERSION_ATLEAST(2, 26, 0)
    e.wheel.mouseX = px;
    e.wheel.mouseY = py;
#endif
    const float zoom = canvas.zoom;
    send(e);
    frame();
    EXPECT_GT(canvas.zoom, zoom);
    const SDL_Rect after = layerWindowRect(doc().layers[0]);
    EXPECT_NEAR(after.x, px, 3);
    EXPECT_NEAR(after.y, py, 3);
    EXPECT_GT(after.w, before.w);
}

TEST_F(CanvasTest, TheMiddleButtonPansTheView) {
    const float x = canvas.panX;
    mouse(SDL_MOUSEBUTTONDOWN, 300, 300, SDL_BUTTON_MIDDLE);
    move(340, 310);
    mouse(SDL_MOUSEBUTTONUP, 340, 310, SDL_BUTTON_MIDDLE);
    EXPECT_NEAR(canvas.panX, x + 40, 0.01f);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
}

}  // namespace
