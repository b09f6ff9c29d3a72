// emoticon-balloon: the emoticon balloon over a bare stand-in of the main window (a dark top bar,
// the canvas drawing the design's layers, the toolbox column with the emoticon button), with a
// document of its own. Clicking the button opens the balloon; its choices appear on the canvas.
//
//   emoticon-balloon            interactive window (the emoticon button opens the balloon)
//   emoticon-balloon --open     the balloon open from the start
//
// Made for screenshots under Xvfb, driven by xdotool like the editor's end-to-end tests.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstring>

#include "app/EmoticonBalloon.h"
#include "design/Document.h"
#include "design/RenderingLayerList.h"
#include "design/StitchRenderer.h"
#include "gui/IconButton.h"
#include "gui/Draw.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Toolkit.h"
#include "gui/View.h"

namespace {

// The canvas: every layer's texture at a zoom that fits the largest emoticon.
void drawCanvas(GUI_View* v) {
    if (!theDocument)
        return;
    CanvasView view;
    view.zoom = float(GUI_scale);
    view.scale = GUI_scale;
    view.viewportW = v->w;
    view.viewportH = v->h;
    view.windowW = GUI_drawableWidth;
    view.windowH = GUI_drawableHeight;
    RenderSettings settings;
    for (int i = 0; i < theDocument->layerCount(); ++i)
        stitchrender::drawLayer(theDocument->layers[i], sdlTextureOf(theDocument->layerTexture(i)),
                                settings, view);
}

}  // namespace

int main(int argc, char** argv) {
    const bool openAtStart = argc > 1 && std::strcmp(argv[1], "--open") == 0;
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0 || TTF_Init() != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    IMG_Init(IMG_INIT_PNG);
    GUI_Init();
    if (!GUI_CreateWindow()) {
        std::fprintf(stderr, "no window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_SetWindowTitle(GUI_window, "MES emoticon balloon");
    GUI_InitShapeTextures();

    GUI_TopView = new GUI_View(nullptr, "GUI", 0, 0, -1, -1, {0x64, 0x95, 0xED, 255});
    GUI_TopView->set_margin(0, 0, 0, 0);
    auto* bar = new GUI_View(GUI_TopView, "top", 0, 0, -1, 36, {0x18, 0x25, 0x39, 255});
    bar->draggable = false;
    auto* canvas = new GUI_View(GUI_TopView, "Main", 0, 36, -1, -1, {0x70, 0x70, 0x70, 255},
                                drawCanvas);
    canvas->draggable = false;
    auto* toolbox = new GUI_View(GUI_TopView, "Toolbox", GUI_windowWidth - 240, 36, 240, -1,
                                 {0xEE, 0xF0, 0xF4, 255});
    toolbox->draggable = false;
    auto* button = new GUI_ButtonFontAwesome(toolbox, 0xF118, 16, 200, 24, 23, GUI_Black, 0,
                                             [](GUI_ButtonFontAwesome* b) { openEmoticonBalloon(b); });
    button->normalBgColor = {0xE4, 0xB8, 0x00, 255};
    button->cornerRadius = 3;
    GUI_TopView->update_layout();

    RenderingLayerList list;
    Document doc(list);
    theDocument = &doc;
    if (openAtStart) {
        GUI_RunFrame();  // drawn once, so that the button has its place
        openEmoticonBalloon(button);
    }
    GUI_Run(false, nullptr);
    theDocument = nullptr;
    freeEmoticonThumbnails();
    stitchrender::releaseStitchResources();
    GUI_FreeShapeTextures();
    GUI_Quit();
    TTF_Quit();
    SDL_Quit();
    return 0;
}
