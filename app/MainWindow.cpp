#include "app/MainWindow.h"

#include "app/AppState.h"
#include "app/WindowState.h"
#include "gui/Globals.h"
#include "gui/View.h"

namespace {

// The root view's window events: a size change or a move saves the window state. The event is
// never consumed, so the views below see it too.
bool rootWindowEvent(GUI_View*, SDL_Event* e) {
    if (e->type == SDL_WINDOWEVENT && (e->window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                                       e->window.event == SDL_WINDOWEVENT_MOVED)) {
        captureWindowState(GUI_window, prefPath);
    }
    return false;
}

}  // namespace

void buildMainWindow() {
    auto* root = new GUI_View(nullptr, "GUI", 0, 0, -1, -1, SDL_Color{0x64, 0x95, 0xED, 255});
    GUI_TopView = root;
    root->set_margin(0, 0, 0, 0);
    root->eventHandler = rootWindowEvent;
    new GUI_View(root, "Main", 0, 0, -1, -1, SDL_Color{0x70, 0x70, 0x70, 255});
}

void refreshControls() {}
void beginMainWindowOverlay() {}
void endMainWindowOverlay() {}
void closeMainMenu() {}
void retranslateMainWindow() {}
