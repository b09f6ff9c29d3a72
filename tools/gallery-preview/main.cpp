// gallery-preview: opens the cloud gallery's dialog the way the main window will, over a bare
// window with the main window's bars drawn as plain strips, and runs the main loop until the
// window is closed (or SIGTERM). A downloaded design has no document to go into here: the import
// only logs.
//
//   gallery-preview [--gallery URL]      the gallery server to fetch from (see README)
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <string>

#include "app/AppState.h"
#include "app/Gallery.h"
#include "app/ImageViewDialog.h"
#include "gui/FileUtils.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Localization.h"
#include "gui/Toolkit.h"
#include "gui/View.h"

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--gallery")
            startOptions["gallery"] = argv[i + 1];
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || IMG_Init(0) != 0 || TTF_Init() != 0)
        return 1;
    GUI_Init();
    // At the screen's top left corner, so that screen and window coordinates agree.
    GUI_windowPlacementHook = [](const SDL_DisplayMode&) { return SDL_Rect{0, 0, 1024, 673}; };
    if (GUI_CreateWindow() == nullptr)
        return 1;
    SDL_SetWindowTitle(GUI_window, "Gallery preview");
    defaultWorkingDirectory = jsFilePath::getCurrentWorkingDirectory();
    loadLocalizableStrings("en");

    // The main window's regions as plain strips: top bar, canvas, bottom bar, toolbox.
    auto* root = new GUI_View(nullptr, "GUI", 0, 0, -1, -1, SDL_Color{0x70, 0x70, 0x70, 255});
    GUI_TopView = root;
    root->set_margin(0, 0, 0, 0);
    root->borderWidth = 0;
    const int W = GUI_windowWidth, H = GUI_windowHeight;
    auto strip = [root](int x, int y, int w, int h, SDL_Color c) {
        auto* v = new GUI_View(root, "", x, y, w, h, c);
        v->borderWidth = 0;
        v->alignFlags = ALIGN_ABSOLUTE;
        v->draggable = false;
    };
    strip(0, 0, W, kGalleryTopBarHeight, {0x18, 0x25, 0x39, 255});
    strip(0, H - kGalleryBottomBarHeight, W, kGalleryBottomBarHeight, {0xE3, 0xE3, 0xE3, 255});
    strip(W - kGalleryToolboxWidth, kGalleryTopBarHeight, kGalleryToolboxWidth,
          H - kGalleryTopBarHeight - kGalleryBottomBarHeight, {0xEE, 0xF0, 0xF4, 255});

    // The arrow points where the top bar's gallery button will be.
    openGallery(160 * GUI_scale);
    GUI_Run(false, nullptr);

    clearLocalizableStrings();
    GUI_CloseIconFonts();
    GUI_Quit();
    TTF_Quit();
    IMG_Quit();
    SDL_Quit();
    return 0;
}
