// The window, the renderer and the main loop of the toolkit.
//
// The application calls, in this order: GUI_Init, GUI_CreateWindow (after setting
// GUI_windowPlacementHook, see Globals.h), builds its views under GUI_TopView, GUI_Run, and at the
// end GUI_Quit. Everything here runs on the main thread; SDL's timer thread may only push SDL
// events, which the loop picks up in its next poll.
//
// Each frame: reset and clear the renderer, deliver at most one posted event, poll and dispatch
// every pending SDL event, send GUI_EVENT_DRAW down the view tree, present, pump the heartbeats
// and sleep for whatever remains of 16 ms.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>

#include "gui/Globals.h"

// Registers the toolkit's user events (exits the process when SDL does not hand out the range
// at 0x8000) and creates the FPS label. Returns 0.
int GUI_Init();

// Creates the window and renderer, shows the logo while the fonts load and returns the window.
// Null when the desktop mode cannot be read, the window or renderer cannot be made, or the fonts
// are missing (in that last case GUI_window stays set).
SDL_Window* GUI_CreateWindow();

// Recomputes window size (points), drawable size (pixels), GUI_scale and GUI_mouseScale. Does
// nothing while the window reports a zero size (minimised), so the scale is never computed from it.
void GUI_UpdateScale();

// Runs frames until a quit is requested (SDL_QUIT or the back key). The hook, when not empty,
// sees every event first and consumes it by returning true.
void GUI_Run(bool showFps, std::function<bool(SDL_Event*)> hook);

// One frame without the heartbeats and the pacing delay.
void GUI_RunFrame();

// Routes one event: hook, mouse capture, modal view, then the root view.
void GUI_DispatchEvent(SDL_Event* e);

// Queues an event for a later frame (one is delivered per frame, oldest first).
void GUI_PostEvent(const GUI_PostedEvent& e);

// Hands a heartbeat (a download in progress) to the loop, which deletes it once it has finished.
void GUI_AddHeartbeat(GUI_Heartbeat* heartbeat);

// Destroys the root view (and so the whole tree), the window and the renderer.
void GUI_Quit();

// ---- Pieces of the loop's arithmetic, kept pure for testing ----

// The integer pixel scale and mouse scale for a window of the given size in points whose drawable
// has the given size in pixels: the larger of the two integer ratios, at least 1, and the
// horizontal ratio as a float. Returns false (leaving the outputs alone) for a zero or negative
// window or drawable size.
bool GUI_ComputeScale(int windowW, int windowH, int drawableW, int drawableH, int* scale,
                      float* mouseScale);

// Duration of a frame from its start and end ticks (ms), at least 1.
int GUI_FrameDuration(Uint32 startTicks, Uint32 endTicks);

// How long to sleep after a frame of the given duration (ms) to pace frames at 16 ms.
int GUI_FrameDelay(int frameTime);

// Pumps the heartbeats from the oldest; the first that reports it has finished is removed from
// the list (every entry of it), deleted, and ends the walk for this frame.
void GUI_PumpHeartbeats();

// The FPS text shown every tenth frame: frames / elapsed ms x 1000, "FPS: %0.2f".
std::string GUI_FpsText(unsigned frames, Uint32 elapsedMs);

// Where a data file named like "data/logo.png" lies: in the data folder of the executable
// (GUI_GetResourcePath: beside it, or the installed share/mes) when it is there, otherwise the name
// as given, relative to the working directory.
std::string GUI_ResourcePath(const char* relative);

// SDL ticks (ms since SDL_Init) when the first frame was presented; 0 before that. Read by the
// start-up timing diagnostics.
extern Uint32 GUI_firstPresentTicks;
