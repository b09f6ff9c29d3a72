#include "app/DesktopHelper.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>

#include "gui/FileUtils.h"
#include "gui/Globals.h"

std::string desktopHelperPath() {
    return jsFilePath::getCurrentExeDir() + "mes-file-dialog";
}

bool onRealDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr)
        return false;
    const std::string name = driver;
    return name == "x11" || name == "wayland";
}

std::string editorWindowId() {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (GUI_window != nullptr && SDL_GetWindowWMInfo(GUI_window, &info) &&
        info.subsystem == SDL_SYSWM_X11) {
        char text[32];
        std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(info.info.x11.window));
        return text;
    }
#endif
    return "";
}
