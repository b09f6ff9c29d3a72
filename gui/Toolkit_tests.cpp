// The window, the main loop and event dispatch, driven headless (SDL's dummy video driver).

#include "gui/Toolkit.h"

#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "gui/Label.h"
#include "gui/Log.h"
#include "gui/View.h"

namespace {

// A software window and renderer for the loop to draw into, and clean toolkit globals around
// every test.
class ToolkitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        if (!TTF_WasInit())
            TTF_Init();
    }

    void SetUp() override {
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        GUI_Init();
        window = SDL_CreateWindow("test", 0, 0, 320, 200, 0);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        ASSERT_NE(renderer, nullptr) << SDL_GetError();
        GUI_window = window;
        GUI_renderer = renderer;
        GUI_scale = 1;
        GUI_mouseScale = 1.0f;
        GUI_windowWidth = GUI_drawableWidth = 320;
        GUI_windowHeight = GUI_drawableHeight = 200;
        GUI_eventHook = nullptr;
        GUI_postedEvents.clear();
        GUI_quitRequested = false;
        GUI_showFps = false;
        GUI_frameCount = 0;
        GUI_closeModalOnOutsideClick = true;
        // The window's own creation events are not part of any test.
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    void TearDown() override {
        GUI_eventHook = nullptr;
        GUI_postedEvents.clear();
        GUI_Quit();  // deletes the tree, the renderer and the window
        EXPECT_EQ(GUI_window, nullptr);
        EXPECT_EQ(GUI_renderer, nullptr);
        GUI_modalView = nullptr;
        GUI_mouseCapture = nullptr;
        GUI_showFps = false;
        logThreshold = 1;
    }

    // Records every event the dispatch sees first, without consuming it.
    void recordEvents() {
        GUI_eventHook = [this](SDL_Event* e) {
            seen.push_back(*e);
            return false;
        };
    }
    std::vector<Uint32> seenTypes() const {
        std::vector<Uint32> t;
        for (const auto& e : seen)
            t.push_back(e.type);
        return t;
    }

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::vector<SDL_Event> seen;
};

// A view that remembers which events reached its own handler.
struct Probe {
    std::vector<Uint32> types;
    void attach(GUI_View* v) {
        v->eventHandler = [this](GUI_View*, SDL_Event* e) {
            types.push_back(e->type);
            return false;
        };
    }
};

SDL_Event mouseButton(Uint32 type, int x, int y) {
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    return e;
}

// ---- scale ----

TEST(ToolkitScale, TakesTheLargerIntegerRatioAndTheHorizontalMouseScale) {
    struct Case {
        int ww, wh, dw, dh, scale;
        float mouse;
    } cases[] = {
        {1024, 673, 1024, 673, 1, 1.0f},    // ordinary display
        {1024, 673, 2048, 1346, 2, 2.0f},   // twice the pixels
        {1280, 800, 2560, 1440, 2, 2.0f},   // vertical ratio 1.8, horizontal 2
        {1280, 800, 1920, 1600, 2, 1.5f},   // the vertical ratio wins
        {1000, 1000, 999, 999, 1, 0.999f},  // below 1 is raised to 1
    };
    for (const Case& c : cases) {
        int scale = -7;
        float mouse = -7;
        ASSERT_TRUE(GUI_ComputeScale(c.ww, c.wh, c.dw, c.dh, &scale, &mouse));
        EXPECT_EQ(scale, c.scale) << c.ww << "x" << c.wh << " -> " << c.dw << "x" << c.dh;
        EXPECT_FLOAT_EQ(mouse, c.mouse);
    }
}

TEST(ToolkitScale, IgnoresZeroSizes) {
    const int sizes[][4] = {
        {0, 673, 1024, 673}, {1024, 0, 1024, 673}, {1024, 673, 0, 0}, {-5, 673, 1024, 673}};
    for (const auto& s : sizes) {
        int scale = 3;
        float mouse = 3.0f;
        EXPECT_FALSE(GUI_ComputeScale(s[0], s[1], s[2], s[3], &scale, &mouse));
        EXPECT_EQ(scale, 3);
        EXPECT_FLOAT_EQ(mouse, 3.0f);
    }
}

TEST_F(ToolkitTest, ZeroSizeResizeKeepsScaleAndSizes) {
    GUI_scale = 2;
    GUI_windowWidth = 640;
    GUI_windowHeight = 400;
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_RESIZED;
    e.window.data1 = 0;
    e.window.data2 = 0;
    SDL_PushEvent(&e);
    GUI_RunFrame();
    EXPECT_EQ(GUI_scale, 2);
    EXPECT_EQ(GUI_windowWidth, 640);
    EXPECT_EQ(GUI_windowHeight, 400);
}

TEST_F(ToolkitTest, UpdateScaleReadsTheWindow) {
    GUI_scale = 5;
    GUI_UpdateScale();
    EXPECT_EQ(GUI_scale, 1);
    EXPECT_FLOAT_EQ(GUI_mouseScale, 1.0f);
    EXPECT_EQ(GUI_windowWidth, 320);
    EXPECT_EQ(GUI_drawableHeight, 200);
}

// ---- frame pacing ----

TEST(ToolkitPacing, FrameTimeAndDelay) {
    EXPECT_EQ(GUI_FrameDuration(1000, 1020), 20);
    EXPECT_EQ(GUI_FrameDelay(20), 0);             // a slow frame is followed by no delay
    EXPECT_EQ(GUI_FrameDuration(1000, 1000), 1);  // 0 ms counts as 1 ms
    EXPECT_EQ(GUI_FrameDelay(1), 15);
    EXPECT_EQ(GUI_FrameDelay(16), 0);
    EXPECT_EQ(GUI_FrameDelay(10), 6);
    EXPECT_EQ(GUI_FrameDuration(0xFFFFFFF0u, 4), 20);  // across the tick counter's wrap
}

TEST(ToolkitPacing, FpsTextIsTheAverageSinceTheStart) {
    EXPECT_EQ(GUI_FpsText(10, 1000), "FPS: 10.00");
    EXPECT_EQ(GUI_FpsText(30, 500), "FPS: 60.00");
    EXPECT_EQ(GUI_FpsText(10, 0), "FPS: 10000.00");  // no division by zero
}

// ---- posted events ----

TEST_F(ToolkitTest, OnePostedEventPerFrameOldestFirst) {
    recordEvents();
    int marker = 0;
    GUI_PostEvent({GUI_EVENT_CUSTOM_FIRST, 0, 0, 11, &marker});
    GUI_PostEvent({GUI_EVENT_CUSTOM_FIRST, 0, 0, 22, nullptr});

    GUI_RunFrame();
    ASSERT_EQ(seenTypes(), (std::vector<Uint32>{GUI_EVENT_CUSTOM_FIRST, GUI_EVENT_DRAW}));
    EXPECT_EQ(seen[0].user.code, 11);
    EXPECT_EQ(seen[0].user.data1, &marker);
    EXPECT_EQ(seen[0].user.data2, nullptr);
    EXPECT_EQ(GUI_postedEvents.size(), 1u);

    seen.clear();
    GUI_RunFrame();
    ASSERT_EQ(seenTypes(), (std::vector<Uint32>{GUI_EVENT_CUSTOM_FIRST, GUI_EVENT_DRAW}));
    EXPECT_EQ(seen[0].user.code, 22);

    seen.clear();
    GUI_RunFrame();
    EXPECT_EQ(seenTypes(), (std::vector<Uint32>{GUI_EVENT_DRAW}));
}

TEST_F(ToolkitTest, AnEventPostedWhileHandlingWaitsForTheNextFrame) {
    GUI_eventHook = [this](SDL_Event* e) {
        seen.push_back(*e);
        if (e->type == GUI_EVENT_CUSTOM_FIRST && e->user.code == 1) {
            GUI_PostEvent({GUI_EVENT_CUSTOM_FIRST, 0, 0, 2, nullptr});
        }
        return false;
    };
    GUI_PostEvent({GUI_EVENT_CUSTOM_FIRST, 0, 0, 1, nullptr});
    GUI_RunFrame();
    EXPECT_EQ(seen.size(), 2u);  // the posted event and the draw event
    EXPECT_EQ(GUI_postedEvents.size(), 1u);
    seen.clear();
    GUI_RunFrame();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].user.code, 2);
}

TEST_F(ToolkitTest, SdlEventsAreDispatchedBeforeTheDrawEvent) {
    recordEvents();
    SDL_Event key;
    SDL_zero(key);
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_a;
    SDL_PushEvent(&key);
    SDL_PushEvent(&key);
    GUI_RunFrame();
    EXPECT_EQ(seenTypes(), (std::vector<Uint32>{SDL_KEYDOWN, SDL_KEYDOWN, GUI_EVENT_DRAW}));
    EXPECT_FALSE(GUI_quitRequested);
}

TEST_F(ToolkitTest, QuitAndBackKeyEndTheLoop) {
    SDL_Event back;
    SDL_zero(back);
    back.type = SDL_KEYDOWN;
    back.key.keysym.sym = SDLK_AC_BACK;
    SDL_PushEvent(&back);
    GUI_RunFrame();
    EXPECT_TRUE(GUI_quitRequested);

    // GUI_Run returns after the frame that saw SDL_QUIT; the hook saw the event too and stays
    // installed.
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    bool hookSawQuit = false;
    GUI_Run(false, [&](SDL_Event* e) {
        if (e->type == SDL_QUIT)
            hookSawQuit = true;
        return false;
    });
    EXPECT_TRUE(hookSawQuit);
    EXPECT_TRUE(GUI_quitRequested);
    EXPECT_TRUE(static_cast<bool>(GUI_eventHook));
    EXPECT_EQ(GUI_frameCount, 1u);
    EXPECT_GE(GUI_frameTime, 1);
}

TEST_F(ToolkitTest, TheFirstPresentIsRecorded) {
    GUI_RunFrame();
    EXPECT_GT(GUI_firstPresentTicks, 0u);
}

// ---- heartbeats ----

struct CountingHeartbeat : GUI_Heartbeat {
    CountingHeartbeat(int* pumps, bool* deleted, int runFor)
        : pumps(pumps), deleted(deleted), runFor(runFor) {}
    ~CountingHeartbeat() override { *deleted = true; }
    bool pump() override { return ++*pumps < runFor; }
    int* pumps;
    bool* deleted;
    int runFor;  // pump returns false on this call
};

TEST(ToolkitHeartbeats, TheFirstToFinishIsRemovedAndEndsTheWalk) {
    int pumps[3] = {0, 0, 0};
    bool deleted[3] = {false, false, false};
    auto* first = new CountingHeartbeat(&pumps[0], &deleted[0], 100);
    auto* second = new CountingHeartbeat(&pumps[1], &deleted[1], 1);
    auto* third = new CountingHeartbeat(&pumps[2], &deleted[2], 100);
    GUI_heartbeats.clear();
    GUI_AddHeartbeat(first);
    GUI_AddHeartbeat(second);
    GUI_AddHeartbeat(third);
    GUI_AddHeartbeat(second);  // a download added twice leaves the list once

    GUI_PumpHeartbeats();
    EXPECT_EQ(pumps[0], 1);
    EXPECT_EQ(pumps[1], 1);
    EXPECT_EQ(pumps[2], 0);  // not advanced in the frame in which the second finished
    EXPECT_TRUE(deleted[1]);
    EXPECT_FALSE(deleted[0]);
    EXPECT_FALSE(deleted[2]);
    ASSERT_EQ(GUI_heartbeats.size(), 2u);
    EXPECT_EQ(GUI_heartbeats.front(), first);
    EXPECT_EQ(GUI_heartbeats.back(), third);

    GUI_PumpHeartbeats();
    EXPECT_EQ(pumps[0], 2);
    EXPECT_EQ(pumps[2], 1);

    for (GUI_Heartbeat* hb : GUI_heartbeats)
        delete hb;
    GUI_heartbeats.clear();
}

TEST(ToolkitHeartbeats, NullIsNotAdded) {
    GUI_heartbeats.clear();
    GUI_AddHeartbeat(nullptr);
    EXPECT_TRUE(GUI_heartbeats.empty());
    GUI_PumpHeartbeats();  // an empty list is fine
}

// ---- dispatch ----

// A root view with a modal panel at 100,50 (100 x 80 pixels), both marked as drawn so that they
// can be hit before any draw pass.
class DispatchTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        root = new GUI_View(nullptr, "GUI", 0, 0, 320, 200, GUI_White);
        GUI_TopView = root;
        modal = new GUI_View(root, "Modal", 100, 50, 100, 80, GUI_Grey);
        modal->draggable = false;
        root->drawn = modal->drawn = true;
        GUI_modalView = modal;
        rootProbe.attach(root);
        modalProbe.attach(modal);
    }

    void dispatch(SDL_Event e) { GUI_DispatchEvent(&e); }

    GUI_View* root = nullptr;
    GUI_View* modal = nullptr;
    Probe rootProbe, modalProbe;
};

TEST_F(DispatchTest, ClickInsideTheModalViewReachesItAndNotTheRoot) {
    dispatch(mouseButton(SDL_MOUSEBUTTONDOWN, 150, 90));
    EXPECT_EQ(modalProbe.types, (std::vector<Uint32>{SDL_MOUSEBUTTONDOWN}));
    EXPECT_TRUE(rootProbe.types.empty());
    EXPECT_FALSE(modal->closeRequested);
}

TEST_F(DispatchTest, ButtonUpInsideTheModalViewLogsHitModal) {
    logThreshold = 1;
    ::testing::internal::CaptureStdout();
    dispatch(mouseButton(SDL_MOUSEBUTTONUP, 150, 90));
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Hit Modal\n"), std::string::npos) << out;
    EXPECT_EQ(modalProbe.types, (std::vector<Uint32>{SDL_MOUSEBUTTONUP}));
    EXPECT_TRUE(rootProbe.types.empty());
}

TEST_F(DispatchTest, ButtonDownOutsideClosesTheModalViewAndReachesNothing) {
    dispatch(mouseButton(SDL_MOUSEBUTTONDOWN, 10, 10));
    EXPECT_TRUE(modal->closeRequested);
    EXPECT_FALSE(modal->hidden);
    EXPECT_TRUE(rootProbe.types.empty());
    EXPECT_TRUE(modalProbe.types.empty());

    // The next draw pass deletes it and clears the modal pointer.
    GUI_RunFrame();
    EXPECT_EQ(GUI_modalView, nullptr);
    EXPECT_EQ(root->child_count(), 0);
    EXPECT_TRUE(GUI_closeModalOnOutsideClick);
}

TEST_F(DispatchTest, ButtonUpOutsideHidesClosesAndGoesOnToTheRoot) {
    dispatch(mouseButton(SDL_MOUSEBUTTONUP, 10, 10));
    EXPECT_TRUE(modal->closeRequested);
    EXPECT_TRUE(modal->hidden);
    EXPECT_EQ(rootProbe.types, (std::vector<Uint32>{SDL_MOUSEBUTTONUP}));
}

TEST_F(DispatchTest, WithoutOutsideClickClosingTheClickIsDropped) {
    GUI_closeModalOnOutsideClick = false;
    dispatch(mouseButton(SDL_MOUSEBUTTONDOWN, 10, 10));
    dispatch(mouseButton(SDL_MOUSEBUTTONUP, 10, 10));
    EXPECT_FALSE(modal->closeRequested);
    EXPECT_FALSE(modal->hidden);
    EXPECT_TRUE(rootProbe.types.empty());
    EXPECT_TRUE(modalProbe.types.empty());
}

TEST_F(DispatchTest, OtherEventsPassTheModalViewToTheRoot) {
    SDL_Event key;
    SDL_zero(key);
    key.type = SDL_KEYDOWN;
    dispatch(key);
    SDL_Event motion;
    SDL_zero(motion);
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 10;
    motion.motion.y = 10;
    dispatch(motion);
    EXPECT_EQ(rootProbe.types, (std::vector<Uint32>{SDL_KEYDOWN, SDL_MOUSEMOTION}));
    EXPECT_FALSE(modal->closeRequested);
}

TEST_F(DispatchTest, TheModalHitTestUsesTheMouseScale) {
    // Window point 60,30 is pixel 120,60 at mouse scale 2: inside the modal view.
    GUI_mouseScale = 2.0f;
    dispatch(mouseButton(SDL_MOUSEBUTTONDOWN, 60, 30));
    EXPECT_FALSE(modal->closeRequested);
    EXPECT_EQ(modalProbe.types.size(), 1u);
}

TEST_F(DispatchTest, TheHookComesFirstAndCanConsume) {
    GUI_eventHook = [](SDL_Event*) { return true; };
    dispatch(mouseButton(SDL_MOUSEBUTTONDOWN, 10, 10));
    EXPECT_FALSE(modal->closeRequested);
    EXPECT_TRUE(rootProbe.types.empty());
}

TEST_F(DispatchTest, MouseCaptureTakesMotionAndButtonUpWhatever) {
    GUI_modalView = nullptr;
    auto* dragged = new GUI_View(root, "Dragged", 0, 0, 20, 20, GUI_Black);
    dragged->drawn = true;
    Probe dragProbe;
    dragProbe.attach(dragged);
    GUI_mouseCapture = dragged;

    SDL_Event motion;
    SDL_zero(motion);
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 300;
    motion.motion.y = 190;  // far outside the captured view
    dispatch(motion);
    dispatch(mouseButton(SDL_MOUSEBUTTONUP, 300, 190));
    EXPECT_EQ(dragProbe.types, (std::vector<Uint32>{SDL_MOUSEMOTION, SDL_MOUSEBUTTONUP}));
    EXPECT_TRUE(rootProbe.types.empty());

    // A button-down the capture does not consume goes on to the tree.
    dispatch(mouseButton(SDL_MOUSEBUTTONDOWN, 300, 190));
    EXPECT_EQ(rootProbe.types, (std::vector<Uint32>{SDL_MOUSEBUTTONDOWN}));
    GUI_mouseCapture = nullptr;
}

// ---- FPS label ----

TEST_F(ToolkitTest, FpsLabelTextChangesEveryTenthFrame) {
    ASSERT_NE(GUI_fpsLabel, nullptr);
    GUI_showFps = true;
    GUI_frameCount = 0;
    GUI_startTicks = SDL_GetTicks() - 1000;
    GUI_fpsLabel->set_text("");
    for (int i = 0; i < 9; ++i)
        GUI_RunFrame();
    EXPECT_EQ(GUI_fpsLabel->title, "");
    GUI_RunFrame();
    EXPECT_EQ(GUI_fpsLabel->title.rfind("FPS: ", 0), 0u) << GUI_fpsLabel->title;
    GUI_fpsLabel->set_text("x");
    for (int i = 0; i < 9; ++i)
        GUI_RunFrame();
    EXPECT_EQ(GUI_fpsLabel->title, "x");
    GUI_RunFrame();
    EXPECT_EQ(GUI_fpsLabel->title.rfind("FPS: ", 0), 0u);
}

// ---- init, window, quit ----

TEST(ToolkitInit, RegistersTheUserEventsOnce) {
    GUI_Init();
    const int before = GUI_userEventRegistrations;
    EXPECT_EQ(GUI_Init(), 0);
    EXPECT_EQ(GUI_userEventRegistrations, before + 1);
    ASSERT_NE(GUI_fpsLabel, nullptr);
    EXPECT_EQ(GUI_fpsLabel->bgColor.a, 79);
    EXPECT_EQ(GUI_fpsLabel->titleColor.r, 255);
    EXPECT_EQ(GUI_fpsLabel->fontIndex, 1);
}

TEST(ToolkitWindow, CreatesTheWindowWhereTheHookSaysAndOnlyOnce) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    if (!TTF_WasInit())
        TTF_Init();
    GUI_Init();
    int hookCalls = 0;
    SDL_DisplayMode seenMode = {};
    GUI_windowPlacementHook = [&](const SDL_DisplayMode& mode) {
        ++hookCalls;
        seenMode = mode;
        return SDL_Rect{12, 34, 1024, 673};
    };
    GUI_CreateWindow();
    GUI_windowPlacementHook = nullptr;
    ASSERT_NE(GUI_window, nullptr);
    ASSERT_NE(GUI_renderer, nullptr);
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(seenMode.w, GUI_desktopMode.w);
    EXPECT_GT(seenMode.w, 0);
    int w = 0, h = 0;
    SDL_GetWindowSize(GUI_window, &w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 673);
    EXPECT_EQ(GUI_windowWidth, 1024);
    EXPECT_EQ(GUI_windowHeight, 673);
    EXPECT_EQ(GUI_scale, 1);
    EXPECT_STREQ(SDL_GetWindowTitle(GUI_window), "MES - Mivo Embroidery System");
    EXPECT_TRUE(SDL_GetWindowFlags(GUI_window) & SDL_WINDOW_RESIZABLE);

    // A second call hands back the same window.
    SDL_Window* first = GUI_window;
    EXPECT_EQ(GUI_CreateWindow(), first);
    EXPECT_EQ(hookCalls, 1);

    bool treeDeleted = false;
    GUI_TopView = new GUI_View(nullptr, "GUI", 0, 0, 10, 10, GUI_White);
    GUI_TopView->destroyCallback = [&](GUI_View*) { treeDeleted = true; };
    GUI_Quit();
    EXPECT_TRUE(treeDeleted);
    EXPECT_EQ(GUI_TopView, nullptr);
    EXPECT_EQ(GUI_window, nullptr);
    EXPECT_EQ(GUI_renderer, nullptr);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
