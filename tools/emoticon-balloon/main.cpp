// emoticon-balloon: the editor's own main window with its emoticon button opening the emoticon
// balloon, to look at the balloon and click it under a real window system before the button is
// wired in the editor itself.
//
//   emoticon-balloon            the editor window; the emoticon button opens the balloon
//   emoticon-balloon --open     the balloon open from the start
//
// Made for screenshots under Xvfb, driven by xdotool like the editor's end-to-end tests.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstring>

#include "app/EmoticonBalloon.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "gui/Button.h"
#include "gui/FileUtils.h"
#include "gui/Localization.h"
#include "gui/Log.h"
#include "gui/Toolkit.h"

int main(int argc, char** argv) {
    const bool openAtStart = argc > 1 && std::strcmp(argv[1], "--open") == 0;
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0 || TTF_Init() != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    IMG_Init(IMG_INIT_PNG);
    logThreshold = 5;
    if (GUI_Init() != 0 || !GUI_CreateWindow()) {
        std::fprintf(stderr, "no window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_SetWindowTitle(GUI_window, "MES emoticon balloon");
    defaultWorkingDirectory = jsFilePath::getCurrentWorkingDirectory();
    currentLanguage = "en";
    loadLocalizableStrings("en");
    buildEditorWindow();
    createSharedTextures();
    ui.emoticonButton->onClick = [](GUI_Button* b) { openEmoticonBalloon(b); };
    if (openAtStart) {
        GUI_RunFrame();  // drawn once, so that the button has its place
        openEmoticonBalloon(ui.emoticonButton);
    }
    GUI_Run(false, mainWindowEventHook);
    releaseEditor();
    GUI_Quit();
    TTF_Quit();
    IMG_Quit();
    SDL_Quit();
    return 0;
}
