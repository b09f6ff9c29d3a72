// Buttons, icon buttons, switches and sliders driven by made-up SDL events.
#include "gui/Button.h"
#include "gui/IconButton.h"
#include "gui/Pressable.h"
#include "gui/Slider.h"
#include "gui/Switch.h"
#include "gui/ToolkitTestFixture.h"

namespace {

using WidgetTest = ToolkitFixture;
using WidgetTestScale2 = ToolkitFixtureScale2;

// ---- push buttons: both kinds share their press handling, so each case runs for both ----

// Makes a pressable at 50, 50, 80 × 30 points whose click callback calls `onClick` with it.
using PressableFactory = GUI_Pressable* (*)(std::function<void(GUI_Pressable*)> onClick);

struct PressableKind {
    const char* name;
    PressableFactory make;
};

void PrintTo(const PressableKind& k, std::ostream* os) {
    *os << k.name;
}

const PressableKind kButton = {
    "Button", [](std::function<void(GUI_Pressable*)> cb) {
        return static_cast<GUI_Pressable*>(new GUI_Button(
            GUI_TopView, "OK", 50, 50, 80, 30, GUI_Black, 0x12, 0, [cb](GUI_Button* b) { cb(b); }));
    }};
const PressableKind kIconButton = {"IconButton", [](std::function<void(GUI_Pressable*)> cb) {
                                       return static_cast<GUI_Pressable*>(new GUI_ButtonFontAwesome(
                                           GUI_TopView, 0xF111, 50, 50, 80, 30, GUI_Black, 0,
                                           [cb](GUI_ButtonFontAwesome* b) { cb(b); }));
                                   }};

class PressableTest : public ToolkitFixture, public ::testing::WithParamInterface<PressableKind> {
protected:
    // A pressable that counts its clicks.
    GUI_Pressable* make() {
        return GetParam().make([this](GUI_Pressable*) { ++clicks; });
    }
    int clicks = 0;
};

TEST_P(PressableTest, ClickTakesAndReleasesCapture) {
    GUI_Pressable* b = make();
    drawFrame();
    press(60, 60);
    EXPECT_EQ(GUI_mouseCapture, b);
    EXPECT_TRUE(b->pressed);
    EXPECT_TRUE(b->mouseDown);
    release(60, 60);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
    EXPECT_FALSE(b->pressed);
    EXPECT_FALSE(b->mouseDown);
    EXPECT_EQ(clicks, 1);
}

TEST_P(PressableTest, ReleasedOutsideDoesNotClickUnlessDraggedBackIn) {
    GUI_Pressable* b = make();
    drawFrame();
    press(60, 60);
    move(300, 200);
    EXPECT_FALSE(b->pressed);
    EXPECT_TRUE(b->mouseDown);
    EXPECT_EQ(GUI_mouseCapture, b) << "still sees the release outside";
    release(300, 200);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->mouseDown);
    EXPECT_EQ(GUI_mouseCapture, nullptr);

    press(60, 60);
    move(300, 200);
    move(70, 70);
    EXPECT_TRUE(b->pressed);
    release(70, 70);
    EXPECT_EQ(clicks, 1);
}

TEST_P(PressableTest, HoldTimeMeasuresThePressUnlessThePointerLeft) {
    int hold = -5;
    GetParam().make([&hold](GUI_Pressable* b) { hold = b->holdTime; });
    drawFrame();
    press(60, 60);
    SDL_Delay(120);
    release(60, 60);
    EXPECT_GE(hold, 110);
    EXPECT_LT(hold, 2000);

    press(60, 60);
    move(300, 200);
    move(60, 60);
    release(60, 60);
    EXPECT_EQ(hold, -1);
}

TEST_P(PressableTest, DisabledOrUnclickableIgnoresClicks) {
    struct Case {
        const char* what;
        bool enabled, clickable;
        int clicks;
    };
    const Case cases[] = {
        {"normal", true, true, 1},
        {"disabled", false, true, 0},
        {"unclickable", true, false, 0},
    };
    GUI_Pressable* b = make();
    drawFrame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clicks = 0;
        c.enabled ? b->enable() : b->disable();
        b->clickable = c.clickable;
        click(60, 60);
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(GUI_mouseCapture, nullptr);
        EXPECT_FALSE(b->pressed);
    }
}

TEST_P(PressableTest, DisabledWhilePressedLetsGo) {
    GUI_Pressable* b = make();
    drawFrame();
    press(60, 60);
    ASSERT_EQ(GUI_mouseCapture, b);
    b->disable();
    release(60, 60);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
    EXPECT_FALSE(b->pressed);
    EXPECT_FALSE(b->mouseDown);
}

// A press elsewhere while the button still holds one (another mouse button) ends the press
// without a click and reaches the view under the pointer.
TEST_P(PressableTest, PressElsewhereEndsThePressAndGoesOn) {
    GUI_Pressable* b = make();
    GUI_View* other = new GUI_View(GUI_TopView, "other", 200, 200, 50, 50, GUI_NoColor);
    other->draggable = false;
    int otherDowns = 0;
    other->eventHandler = [&](GUI_View*, SDL_Event* e) {
        otherDowns += e->type == SDL_MOUSEBUTTONDOWN;
        return false;
    };
    drawFrame();
    press(60, 60);
    press(210, 210);
    EXPECT_EQ(otherDowns, 1);
    EXPECT_FALSE(b->pressed);
    EXPECT_FALSE(b->mouseDown);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
    release(60, 60);
    EXPECT_EQ(clicks, 0);
}

TEST_P(PressableTest, CallbackMayCloseItsButton) {
    GUI_Pressable* b = GetParam().make([](GUI_Pressable* self) { self->close(); });
    bool destroyed = false;
    b->destroyCallback = [&](GUI_View*) { destroyed = true; };
    drawFrame();
    click(60, 60);
    drawFrame();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(GUI_TopView->child_count(), 0);
}

// The button runs a copy of its callback, so the callback may replace itself and go on (the
// sanitizer build sees a use after free otherwise).
TEST_P(PressableTest, CallbackMayReplaceItself) {
    int first = 0, second = 0;
    GetParam().make([&](GUI_Pressable* self) {
        auto next = [&second](auto*) { ++second; };
        if (auto* button = dynamic_cast<GUI_Button*>(self))
            button->onClick = next;
        else
            static_cast<GUI_ButtonFontAwesome*>(self)->onClick = next;
        ++first;
    });
    drawFrame();
    click(60, 60);
    click(60, 60);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, PressableTest, ::testing::Values(kButton, kIconButton),
                         [](const ::testing::TestParamInfo<PressableKind>& info) {
                             return std::string(info.param.name);
                         });

// ---- kind-specific drawing ----

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
