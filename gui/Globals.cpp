#include "gui/Globals.h"

const SDL_Color GUI_White = {255, 255, 255, 255};
const SDL_Color GUI_Black = {0, 0, 0, 255};
const SDL_Color GUI_Grey = {192, 192, 192, 255};
const SDL_Color GUI_LightGrey = {224, 224, 224, 255};
const SDL_Color GUI_DarkGrey = {112, 112, 112, 255};
const SDL_Color GUI_Red = {255, 0, 0, 255};
const SDL_Color GUI_Blue = {51, 141, 251, 255};
const SDL_Color GUI_NoColor = {0, 0, 0, 0};

SDL_Window* GUI_window = nullptr;
SDL_Renderer* GUI_renderer = nullptr;
SDL_DisplayMode GUI_desktopMode = {};

int GUI_windowWidth = 0, GUI_windowHeight = 0;
int GUI_drawableWidth = 0, GUI_drawableHeight = 0;

int GUI_scale = 1;
float GUI_mouseScale = 1.0f;

GUI_View* GUI_TopView = nullptr;
GUI_View* GUI_modalView = nullptr;
bool GUI_closeModalOnOutsideClick = true;
GUI_View* GUI_mouseCapture = nullptr;

std::function<bool(SDL_Event*)> GUI_eventHook;
std::function<SDL_Rect(const SDL_DisplayMode&)> GUI_windowPlacementHook;
std::deque<GUI_PostedEvent> GUI_postedEvents;
std::list<GUI_Heartbeat*> GUI_heartbeats;

bool GUI_quitRequested = false;
bool GUI_showFps = false;
GUI_Label* GUI_fpsLabel = nullptr;
unsigned GUI_frameCount = 0;
Uint32 GUI_startTicks = 0;
int GUI_frameTime = 1;
int GUI_userEventRegistrations = 0;
