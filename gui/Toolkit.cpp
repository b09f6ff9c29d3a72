// Section index:
//   resources and arithmetic helpers
//   GUI_Init, GUI_CreateWindow, GUI_UpdateScale
//   GUI_Run, GUI_RunFrame, heartbeats
//   GUI_DispatchEvent, GUI_PostEvent
//   GUI_Quit
#include "gui/Toolkit.h"

#include <SDL_image.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "gui/Draw.h"
#include "gui/Fonts.h"
#include "gui/Label.h"
#include "gui/Log.h"
#include "gui/View.h"

Uint32 GUI_firstPresentTicks = 0;

namespace {

constexpr const char* kWindowTitle = "MES - Mivo Embroidery System";
constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 673;
constexpr Uint32 kUserEventRange = 1024;
constexpr Uint32 kUserEventBase = 0x8000;
constexpr int kFramePeriodMs = 16;

bool fileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The drawable size in pixels: the renderer's output once there is one, otherwise the GL
// drawable (both are pixels; the renderer also covers windows made without OpenGL).
void readDrawableSize(int* w, int* h) {
    *w = *h = 0;
    if (GUI_renderer && SDL_GetRendererOutputSize(GUI_renderer, w, h) == 0)
        return;
    if (GUI_window)
        SDL_GL_GetDrawableSize(GUI_window, w, h);
}

SDL_Event toSdlEvent(const GUI_PostedEvent& p) {
    SDL_Event e;
    SDL_zero(e);
    e.user.type = p.type;
    e.user.timestamp = p.timestamp;
    e.user.windowID = p.windowID;
    e.user.code = p.code;
    e.user.data1 = p.data1;
    return e;
}

void drawSplash() {
    SDL_SetRenderDrawColor(GUI_renderer, 255, 255, 255, 255);
    SDL_RenderClear(GUI_renderer);
    const char* logo = "data/logo.png";
    SDL_Texture* t = IMG_LoadTexture(GUI_renderer, GUI_ResourcePath(logo).c_str());
    if (t == nullptr) {
        GUI_Print("Load image %s failed.\n", logo);
    } else {
        int w = 0, h = 0;
        SDL_QueryTexture(t, nullptr, nullptr, &w, &h);
        SDL_Rect dst = {0, 0, w * GUI_scale, h * GUI_scale};
        dst.x = (GUI_drawableWidth - dst.w) / 2;
        dst.y = (GUI_drawableHeight - dst.h) / 2;
        SDL_RenderCopy(GUI_renderer, t, nullptr, &dst);
        SDL_DestroyTexture(t);
    }
    SDL_RenderPresent(GUI_renderer);
}

void setWindowIcon() {
    SDL_Surface* icon = IMG_Load(GUI_ResourcePath("data/icon.png").c_str());
    if (icon == nullptr)
        return;
    SDL_SetWindowIcon(GUI_window, icon);
    SDL_FreeSurface(icon);
}

}  // namespace

// ---- resources and arithmetic helpers ----

std::string GUI_ResourcePath(const char* relative) {
    if (relative == nullptr)
        return "";
    const std::string name = relative;
    const std::string prefix = "data/";
    if (name.compare(0, prefix.size(), prefix) == 0) {
        const std::string root = GUI_GetResourcePath();
        if (!root.empty()) {
            const std::string found = root + name.substr(prefix.size());
            if (fileExists(found))
                return found;
        }
    }
    return name;
}

bool GUI_ComputeScale(int windowW, int windowH, int drawableW, int drawableH, int* scale,
                      float* mouseScale) {
    if (windowW <= 0 || windowH <= 0 || drawableW <= 0 || drawableH <= 0)
        return false;
    *scale = std::max({drawableW / windowW, drawableH / windowH, 1});
    *mouseScale = float(drawableW) / float(windowW);
    return true;
}

int GUI_FrameDuration(Uint32 startTicks, Uint32 endTicks) {
    const Uint32 d = endTicks - startTicks;  // wraps correctly across the 49-day tick overflow
    if (d == 0)
        return 1;
    return d > Uint32(INT32_MAX) ? INT32_MAX : int(d);
}

int GUI_FrameDelay(int frameTime) {
    return std::max(kFramePeriodMs - frameTime, 0);
}

std::string GUI_FpsText(unsigned frames, Uint32 elapsedMs) {
    // The first frames of a run can take no measurable time; count that as 1 ms.
    const float fps = float(frames) / float(std::max<Uint32>(elapsedMs, 1)) * 1000.0f;
    char text[64];
    std::snprintf(text, sizeof text, "FPS: %0.2f", double(fps));
    return text;
}

// ---- GUI_Init, GUI_CreateWindow, GUI_UpdateScale ----

int GUI_Init() {
    if (GUI_userEventRegistrations == 0) {
        if (SDL_RegisterEvents(int(kUserEventRange)) != kUserEventBase) {
            GUI_LogPrint("User event ERROR.\n");
            std::exit(1);
        }
    }
    ++GUI_userEventRegistrations;

    if (GUI_fpsLabel == nullptr) {
        GUI_fpsLabel = new GUI_Label(nullptr, "", 0, 0, 0, 0, GUI_Black, 0, 1);
        GUI_fpsLabel->set_text_color(GUI_White);
        GUI_fpsLabel->bgColor = SDL_Color{0, 0, 0, 79};
    }
    return 0;
}

SDL_Window* GUI_CreateWindow() {
    if (GUI_window) {
        GUI_LogPrint("GUI_window existed.");
        return GUI_window;
    }
    GUI_LogPrint("requested: %d %d\n", kDefaultWidth, kDefaultHeight);
    GUI_LogPrint("picked: %d %d\n", kDefaultWidth, kDefaultHeight);

    if (SDL_GetDesktopDisplayMode(0, &GUI_desktopMode) != 0) {
        SDL_Log("SDL_GetDesktopDisplayMode failed: %s", SDL_GetError());
        return nullptr;
    }
    GUI_Print("Display: %d %d\n", GUI_desktopMode.w, GUI_desktopMode.h);

    SDL_Rect place = {(GUI_desktopMode.w - kDefaultWidth) / 2,
                      (GUI_desktopMode.h - kDefaultHeight) / 2, kDefaultWidth, kDefaultHeight};
    if (GUI_windowPlacementHook)
        place = GUI_windowPlacementHook(GUI_desktopMode);

    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    GUI_window = SDL_CreateWindow(kWindowTitle, place.x, place.y, place.w, place.h, flags);
    if (GUI_window == nullptr) {
        // Without OpenGL (a bare X server, SDL's dummy driver) the software renderer still works.
        GUI_window = SDL_CreateWindow(kWindowTitle, place.x, place.y, place.w, place.h,
                                      flags & ~Uint32(SDL_WINDOW_OPENGL));
    }
    if (GUI_window == nullptr) {
        GUI_LogPrint("GUI_CreateRenderer Error");
        return nullptr;
    }
    setWindowIcon();

    int w = 0, h = 0;
    SDL_GetWindowSize(GUI_window, &w, &h);
    GUI_LogPrint("given: %d %d\n", w, h);

    GUI_renderer = SDL_CreateRenderer(
        GUI_window, -1,
        SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
    if (GUI_renderer == nullptr) {
        // No accelerated driver: take whatever renderer offers render targets.
        GUI_renderer = SDL_CreateRenderer(GUI_window, -1, SDL_RENDERER_TARGETTEXTURE);
    }
    if (GUI_renderer == nullptr) {
        GUI_LogPrint("GUI_CreateRenderer Error");
        GUI_Quit();
        return nullptr;
    }

    GUI_UpdateScale();
    GUI_windowWidth = GUI_drawableWidth / GUI_scale;
    GUI_windowHeight = GUI_drawableHeight / GUI_scale;
    GUI_LogPrint("Scale: %i\n", GUI_scale);
    GUI_LogPrint("virtual: %d %d\n", GUI_windowWidth, GUI_windowHeight);

    drawSplash();

    if (!GUI_LoadFonts()) {
        GUI_LogPrint("ERROR: Could not load fonts\n");
        return nullptr;
    }
    return GUI_window;
}

void GUI_UpdateScale() {
    if (GUI_window == nullptr)
        return;
    int ww = 0, wh = 0, dw = 0, dh = 0;
    SDL_GetWindowSize(GUI_window, &ww, &wh);
    readDrawableSize(&dw, &dh);
    int scale = GUI_scale;
    float mouseScale = GUI_mouseScale;
    // A minimised window may report a zero size: keep the last good values then.
    if (!GUI_ComputeScale(ww, wh, dw, dh, &scale, &mouseScale))
        return;
    GUI_windowWidth = ww;
    GUI_windowHeight = wh;
    GUI_drawableWidth = dw;
    GUI_drawableHeight = dh;
    GUI_scale = scale;
    GUI_mouseScale = mouseScale;
    GUI_LogPrint("Mouse Scale: %0.2f\n", double(GUI_mouseScale));
    GUI_LogPrint("Scale: %i\n", GUI_scale);
    GUI_LogPrint("virtual: %d %d\n\n", GUI_windowWidth, GUI_windowHeight);
}

// ---- GUI_Run, GUI_RunFrame, heartbeats ----

void GUI_Run(bool showFps, std::function<bool(SDL_Event*)> hook) {
    GUI_eventHook = std::move(hook);
    GUI_startTicks = SDL_GetTicks();
    GUI_showFps = showFps;
    GUI_frameCount = 0;
    GUI_quitRequested = false;
    while (!GUI_quitRequested) {
        const Uint32 t0 = SDL_GetTicks();
        GUI_RunFrame();
        GUI_PumpHeartbeats();
        GUI_frameTime = GUI_FrameDuration(t0, SDL_GetTicks());
        const int delay = GUI_FrameDelay(GUI_frameTime);
        if (delay > 0)
            SDL_Delay(Uint32(delay));
    }
}

namespace {

void clearFrame() {
    if (GUI_renderer) {
        SDL_RenderSetViewport(GUI_renderer, nullptr);
        SDL_RenderSetClipRect(GUI_renderer, nullptr);
        SDL_SetRenderDrawColor(GUI_renderer, 100, 149, 237, 255);
        SDL_RenderClear(GUI_renderer);
    }
}

void drawTree() {
    SDL_Event draw;
    SDL_zero(draw);
    draw.type = GUI_EVENT_DRAW;
    GUI_DispatchEvent(&draw);
}

}  // namespace

void GUI_RunFrame() {
    clearFrame();

    // One posted event per frame, oldest first. It leaves the queue before it is handled, so
    // whatever its handler posts waits behind the others.
    if (!GUI_postedEvents.empty()) {
        SDL_Event e = toSdlEvent(GUI_postedEvents.front());
        GUI_postedEvents.pop_front();
        GUI_DispatchEvent(&e);
    }

    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_QUIT) {
            GUI_LogPrint("Get QUIT event.\n");
            GUI_quitRequested = true;
        } else if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_RESIZED) {
            GUI_Print("Event: Window Resized: %i, %i\n", e.window.data1, e.window.data2);
            if (e.window.data1 > 0 && e.window.data2 > 0) {
                GUI_windowWidth = e.window.data1;
                GUI_windowHeight = e.window.data2;
                readDrawableSize(&GUI_drawableWidth, &GUI_drawableHeight);
                GUI_LogPrint("drawable: %d %d\n", GUI_drawableWidth, GUI_drawableHeight);
                GUI_UpdateScale();
            }
        } else if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_AC_BACK) {
            GUI_quitRequested = true;
        }
        GUI_DispatchEvent(&e);
    }

    drawTree();

    ++GUI_frameCount;
    if (GUI_showFps && GUI_fpsLabel) {
        if (GUI_frameCount % 10 == 0) {
            GUI_fpsLabel->set_text(GUI_FpsText(GUI_frameCount, SDL_GetTicks() - GUI_startTicks));
        }
        GUI_fpsLabel->draw();
    }

    if (GUI_renderer) {
        SDL_RenderPresent(GUI_renderer);
        if (GUI_firstPresentTicks == 0)
            GUI_firstPresentTicks = std::max<Uint32>(SDL_GetTicks(), 1);
    }
}

void GUI_PumpHeartbeats() {
    for (auto it = GUI_heartbeats.begin(); it != GUI_heartbeats.end(); ++it) {
        GUI_Heartbeat* hb = *it;
        if (!hb->pump()) {
            GUI_heartbeats.remove(hb);
            delete hb;
            return;
        }
    }
}

void GUI_AddHeartbeat(GUI_Heartbeat* heartbeat) {
    if (heartbeat)
        GUI_heartbeats.push_back(heartbeat);
}

// ---- GUI_DispatchEvent, GUI_PostEvent ----

void GUI_DispatchEvent(SDL_Event* e) {
    if (GUI_eventHook && GUI_eventHook(e))
        return;

    const Uint32 type = e->type;
    const bool buttonDown = type == SDL_MOUSEBUTTONDOWN;
    const bool buttonUp = type == SDL_MOUSEBUTTONUP;

    if (GUI_mouseCapture) {
        if (type == SDL_MOUSEMOTION || buttonUp) {
            GUI_mouseCapture->handle_event(e);
            return;
        }
        if (buttonDown && GUI_mouseCapture->handle_event(e))
            return;
    }

    if (GUI_modalView && (buttonDown || buttonUp)) {
        const int px = int(float(e->button.x) * GUI_mouseScale);
        const int py = int(float(e->button.y) * GUI_mouseScale);
        if (GUI_modalView->hit_test(px, py, true)) {
            if (buttonUp)
                GUI_LogPrint("Hit Modal\n");
            GUI_modalView->handle_event(e);
            return;
        }
        if (!GUI_closeModalOnOutsideClick)
            return;
        if (buttonDown) {
            // The click only closes the modal view; the view is deleted in the next draw pass.
            GUI_modalView->close();
            return;
        }
        GUI_modalView->hide();
        GUI_modalView->close();
    }

    if (GUI_TopView)
        GUI_TopView->handle_event(e);
}

void GUI_PostEvent(const GUI_PostedEvent& e) {
    GUI_postedEvents.push_back(e);
}

// ---- GUI_Quit ----

void GUI_Quit() {
    GUI_LogPrint("Quit now\n");
    if (GUI_TopView) {
        delete GUI_TopView;
        GUI_TopView = nullptr;
    }
    GUI_modalView = nullptr;
    GUI_mouseCapture = nullptr;
    delete GUI_fpsLabel;
    GUI_fpsLabel = nullptr;
    // Downloads still running at the end are abandoned.
    for (GUI_Heartbeat* hb : GUI_heartbeats)
        delete hb;
    GUI_heartbeats.clear();
    // The renderer goes first: SDL_DestroyWindow also frees the window's renderer, so destroying
    // the renderer afterwards would touch freed memory.
    if (GUI_renderer) {
        SDL_DestroyRenderer(GUI_renderer);
        GUI_renderer = nullptr;
    }
    if (GUI_window) {
        SDL_DestroyWindow(GUI_window);
        GUI_window = nullptr;
    }
}
