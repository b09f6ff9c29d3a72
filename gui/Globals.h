// Process-wide state of the toolkit: the one window and renderer, the pixel scale, the root of the
// view tree, the modal view, the view that holds the mouse, posted events and heartbeats.
//
// This is the one home of the toolkit globals. They are created by GUI_Init/GUI_CreateWindow,
// live until GUI_Quit, and are only touched from the main thread.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <list>

class GUI_View;
class GUI_Label;

// Toolkit colours (r, g, b, a). Alpha 0 means "not drawn" for backgrounds and titles.
extern const SDL_Color GUI_White;
extern const SDL_Color GUI_Black;
extern const SDL_Color GUI_Grey;
extern const SDL_Color GUI_LightGrey;
extern const SDL_Color GUI_DarkGrey;
extern const SDL_Color GUI_Red;
extern const SDL_Color GUI_Blue;
extern const SDL_Color GUI_NoColor;

// Event types of the reserved SDL user-event range (registered by GUI_Init at 0x8000).
enum : Uint32 {
    GUI_EVENT_DRAW = 0x8001,
    GUI_EVENT_DIALOG_SHOWN = 0x8003,
    GUI_EVENT_CUSTOM_FIRST = 0x812C,
};

// An event the toolkit posts to itself; one is delivered per frame. Its five fields are the head
// of an SDL user event.
struct GUI_PostedEvent {
    Uint32 type = 0;
    Uint32 timestamp = 0;
    Uint32 windowID = 0;
    Sint32 code = 0;  // unused by dialogs: GUI_EVENT_DIALOG_SHOWN carries the dialog in data1
    void* data1 = nullptr;
};

// Something the main loop advances once per frame (a download in progress). pump() returns true
// while it is still running and false once it has finished and delivered its completion; the loop
// then deletes it. Owned by the loop from GUI_AddHeartbeat on.
class GUI_Heartbeat {
public:
    virtual ~GUI_Heartbeat() = default;
    virtual bool pump() = 0;
};

extern SDL_Window* GUI_window;
extern SDL_Renderer* GUI_renderer;
extern SDL_DisplayMode GUI_desktopMode;

// Logical window size in points, drawable size in pixels.
extern int GUI_windowWidth, GUI_windowHeight;
extern int GUI_drawableWidth, GUI_drawableHeight;

// Integer pixel scale (at least 1): every size given in points is multiplied by it.
extern int GUI_scale;
// Window points to drawable pixels, applied to every mouse coordinate.
extern float GUI_mouseScale;

extern GUI_View* GUI_TopView;    // root of the view tree, owns it
extern GUI_View* GUI_modalView;  // at most one modal view (not owning)
extern bool GUI_closeModalOnOutsideClick;
extern GUI_View* GUI_mouseCapture;  // view that receives mouse motion and button-up first

// Application hook that sees every event first; returning true consumes it.
extern std::function<bool(SDL_Event*)> GUI_eventHook;

// Where the window opens (x, y, w, h in screen coordinates). The toolkit knows nothing of the
// application's saved window state, so the application sets this hook before GUI_CreateWindow;
// it is called once with the desktop mode of display 0, just before the window is created.
// Empty: a 1024 x 673 window centred on the desktop.
extern std::function<SDL_Rect(const SDL_DisplayMode&)> GUI_windowPlacementHook;
extern std::deque<GUI_PostedEvent> GUI_postedEvents;
extern std::list<GUI_Heartbeat*> GUI_heartbeats;

extern bool GUI_quitRequested;
extern bool GUI_showFps;
extern GUI_Label* GUI_fpsLabel;
extern unsigned GUI_frameCount;
extern Uint32 GUI_startTicks;           // ms
extern int GUI_frameTime;               // ms, at least 1
extern int GUI_userEventRegistrations;  // how often GUI_Init ran
