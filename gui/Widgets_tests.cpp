// Buttons, icon buttons, switches and sliders driven by made-up SDL events.
#include "gui/Button.h"
#include "gui/IconButton.h"
#include "gui/Slider.h"
#include "gui/Switch.h"
#include "gui/ToolkitTestFixture.h"

namespace {

using WidgetTest = ToolkitFixture;
using WidgetTestScale2 = ToolkitFixtureScale2;

GUI_Button* makeButton(int* clicks) {
    return new GUI_Button(GUI_TopView, "OK", 50, 50, 80, 30, GUI_Black, 0x12, 0,
                          [clicks](GUI_Button*) { ++*clicks; });
}

TEST_F(WidgetTest, ButtonClickTakesAndReleasesCapture) {
    int clicks = 0;
    GUI_Button* b = makeButton(&clicks);
    drawFrame();
    press(60, 60);
    EXPECT_EQ(GUI_mouseCapture, b);
    EXPECT_TRUE(b->pressed);
    release(60, 60);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
    EXPECT_FALSE(b->pressed);
    EXPECT_EQ(clicks, 1);
}

TEST_F(WidgetTest, ButtonReleasedOutsideDoesNotClickUnlessDraggedBackIn) {
    int clicks = 0;
    GUI_Button* b = makeButton(&clicks);
    drawFrame();
    press(60, 60);
    move(300, 200);
    EXPECT_FALSE(b->pressed);
    release(300, 200);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(GUI_mouseCapture, nullptr);

    press(60, 60);
    move(300, 200);
    move(70, 70);
    EXPECT_TRUE(b->pressed);
    release(70, 70);
    EXPECT_EQ(clicks, 1);
}

TEST_F(WidgetTest, ButtonHoldTimeMeasuresThePress) {
    int hold = -5;
    auto* b = new GUI_Button(GUI_TopView, "Hold", 50, 50, 80, 30, GUI_Black, 0x12, 0,
                             [&hold](GUI_Button* btn) { hold = btn->holdTime; });
    (void)b;
    drawFrame();
    press(60, 60);
    SDL_Delay(120);
    release(60, 60);
    EXPECT_GE(hold, 110);
    EXPECT_LT(hold, 2000);
}

TEST_F(WidgetTest, DisabledAndUnclickableButtonsIgnoreClicks) {
    int clicks = 0;
    GUI_Button* b = makeButton(&clicks);
    drawFrame();
    b->disable();
    click(60, 60);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
    b->enable();
    b->clickable = false;
    click(60, 60);
    EXPECT_EQ(clicks, 0);
    b->clickable = true;
    click(60, 60);
    EXPECT_EQ(clicks, 1);
}

TEST_F(WidgetTest, CallbackMayCloseItsButton) {
    auto* b = new GUI_Button(GUI_TopView, "Close", 50, 50, 80, 30, GUI_Black, 0x12, 0,
                             [](GUI_Button* self) { self->close(); });
    bool destroyed = false;
    b->destroyCallback = [&](GUI_View*) { destroyed = true; };
    drawFrame();
    click(60, 60);
    drawFrame();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(GUI_TopView->child_count(), 0);
}

TEST_F(WidgetTest, UnclickableIconButtonDrawsAtQuarterAlphaAndIgnoresClicks) {
    if (!haveIconFont())
        GTEST_SKIP() << "no icon font in data/";
    int clicks = 0;
    auto* b = new GUI_ButtonFontAwesome(GUI_TopView, 0xF111, 50, 50, 40, 40, GUI_Black, 0,
                                        [&](GUI_ButtonFontAwesome*) { ++clicks; });
    ASSERT_NE(b->image, nullptr);
    drawFrame();
    const SDL_Rect icon = {b->x + b->imageRect.x, b->y + b->imageRect.y, b->imageRect.w,
                           b->imageRect.h};
    EXPECT_LT(darkest(icon), 10) << "a black disc on the normal face";
    click(70, 70);
    EXPECT_EQ(clicks, 1);

    b->clickable = false;
    drawFrame();
    // Black at alpha 64 over the face (250): 250 − 250 × 64 / 255 ≈ 187.
    const int ink = darkest(icon);
    EXPECT_GT(ink, 180);
    EXPECT_LT(ink, 195);
    click(70, 70);
    EXPECT_EQ(clicks, 1);
}

TEST_F(WidgetTest, SwitchTogglesOncePerClickAndReportsTheNewState) {
    std::vector<bool> states;
    auto* sw = new GUI_Switch(GUI_TopView, 100, 100, 39, 24, GUI_White,
                              [&](GUI_Switch*, bool on) { states.push_back(on); });
    drawFrame();
    click(110, 110);
    EXPECT_TRUE(sw->state);
    click(110, 110);
    EXPECT_FALSE(sw->state);
    EXPECT_EQ(states, (std::vector<bool>{true, false}));
    EXPECT_EQ(GUI_mouseCapture, nullptr);

    press(110, 110);
    move(300, 300);
    EXPECT_EQ(GUI_mouseCapture, nullptr) << "leaving the switch lets go";
    release(300, 300);
    sw->disable();
    click(110, 110);
    EXPECT_EQ(states.size(), 2u);
}

TEST_F(WidgetTest, SwitchKnobSitsRightWhenOn) {
    auto* sw = new GUI_Switch(GUI_TopView, 100, 100, 39, 24, GUI_White, nullptr);
    drawFrame();
    EXPECT_EQ(pixel(100 + 12, 100 + 12), GUI_White) << "knob on the left";
    EXPECT_NE(pixel(100 + 27, 100 + 12), GUI_White);
    sw->state = true;
    drawFrame();
    EXPECT_EQ(pixel(100 + 27, 100 + 12), GUI_White) << "knob on the right";
}

TEST_F(WidgetTest, SliderSetValueClampsAndNotifiesOnlyOnChange) {
    auto* s = new GUI_Slider(GUI_TopView, 0, 0, 200, 20, 0.5f, 8);
    int changes = 0;
    s->onChange = [&](GUI_Slider*, float) { ++changes; };
    EXPECT_TRUE(s->set_value(1.7f, true));
    EXPECT_FLOAT_EQ(s->value, 1.0f);
    EXPECT_EQ(changes, 1);
    s->set_value(1.0f, true);
    EXPECT_EQ(changes, 1);
    s->set_value(-3.0f, false);
    EXPECT_FLOAT_EQ(s->value, 0.0f);
    EXPECT_EQ(changes, 1);
}

TEST_F(WidgetTest, QuickClickOnTrackJumpsTheKnobAndReleasesOnce) {
    auto* s = new GUI_Slider(GUI_TopView, 100, 100, 200, 20, 0.0f, 8);
    int releases = 0;
    float released = -1;
    s->onRelease = [&](GUI_Slider*, float v) {
        ++releases;
        released = v;
    };
    drawFrame();
    click(250, 110);  // 150 of 200 along the track, far from the knob at the left
    EXPECT_NEAR(s->value, 0.75f, 0.001f);
    EXPECT_EQ(releases, 1);
    EXPECT_NEAR(released, 0.75f, 0.001f);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
}

TEST_F(WidgetTest, DraggingTheKnobChangesValueAndReleasesWhenMovedEnough) {
    auto* s = new GUI_Slider(GUI_TopView, 100, 100, 200, 20, 0.5f, 8);
    int presses = 0, changes = 0, releases = 0;
    s->onPress = [&](GUI_Slider*, float) { ++presses; };
    s->onChange = [&](GUI_Slider*, float) { ++changes; };
    s->onRelease = [&](GUI_Slider*, float) { ++releases; };
    drawFrame();
    press(200, 110);  // the knob's centre
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(GUI_mouseCapture, s);
    SDL_Delay(220);  // no longer a quick click
    move(201, 110);  // 0.005 of the range
    release(201, 110);
    EXPECT_EQ(releases, 0) << "a drag below 0.01 of the range is no change";
    EXPECT_EQ(GUI_mouseCapture, nullptr);

    press(201, 110);
    SDL_Delay(220);
    move(260, 110);
    EXPECT_NEAR(s->value, 0.8f, 0.001f);
    EXPECT_GE(changes, 2);
    release(260, 110);
    EXPECT_EQ(releases, 1);
}

TEST_F(WidgetTest, DisabledSliderIgnoresTheMouse) {
    auto* s = new GUI_Slider(GUI_TopView, 100, 100, 200, 20, 0.0f, 8);
    s->disable();
    drawFrame();
    click(250, 110);
    EXPECT_FLOAT_EQ(s->value, 0.0f);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
}

TEST_F(WidgetTestScale2, VerticalSliderFollowsThePointerDownTheTrack) {
    auto* s = new GUI_SliderHorizontal(GUI_TopView, 50, 20, 20, 200, 0.0f, 6);
    EXPECT_EQ(s->trackLength, 400);
    drawFrame();
    click(60, 170);  // pixel y 340: 300 below the top of the track
    EXPECT_NEAR(s->value, 0.75f, 0.001f);
}

}  // namespace
