// The editor's main window in-process (SDL's dummy video driver, so the software renderer):
// one whole frame with 16 layers of 100,000 stitches each, and one pointer motion of a layer
// drag. Every layer is drawn from its own texture each frame; a drag moves only bounds.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "app/Canvas.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "design/Document.h"
#include "formats/ThreadPalette.h"
#include "gui/FileUtils.h"
#include "gui/Globals.h"
#include "gui/List.h"
#include "gui/Localization.h"
#include "gui/Log.h"
#include "gui/Toolkit.h"

namespace {

// A layer of `count` satin-like stitches zigzagging over a 40 x 40 mm square.
PESData bigLayer(int count, int colour, int offset) {
    StitchBlock b;
    b.colorIndex = uint8_t(colour);
    b.color = threadColor(colour);
    b.stitches.reserve(count);
    for (int i = 0; i < count; ++i) {
        Stitch s;
        s.x = offset + (i % 2 ? 200 : -200) + (i / 800) % 5;
        s.y = offset - 200 + (i % 800) / 2;
        b.stitches.push_back(s);
    }
    PESData l;
    l.appendBlock(b);
    l.properties.type = kLayerPES;
    l.computeBounds();
    return l;
}

bool startEditor() {
    static bool started = false;
    if (started)
        return true;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    logThreshold = 5;
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0 || TTF_Init() != 0)
        return false;
    IMG_Init(0);
    if (GUI_Init() != 0)
        return false;
    GUI_windowPlacementHook = [](const SDL_DisplayMode&) { return SDL_Rect{0, 0, 1024, 673}; };
    if (!GUI_CreateWindow())
        return false;
    defaultWorkingDirectory = jsFilePath::getCurrentWorkingDirectory();
    for (const char* code : {"en", "th", "jp"})
        loadLocalizableStrings(code);
    loadSettings();
    buildEditorWindow();
    createSharedTextures();
    for (int i = 0; i < 16; ++i)
        theDocument->appendLayer(bigLayer(100000, 1 + i * 3, (i - 8) * 60), "layer");
    for (int i = 0; i < 3; ++i)
        GUI_RunFrame();
    started = true;
    return true;
}

void BM_FullFrameWith16LayersOf100kStitches(benchmark::State& state) {
    if (!startEditor()) {
        state.SkipWithError("no editor window");
        return;
    }
    for (auto _ : state)
        GUI_RunFrame();
    state.counters["stitches"] = 1600000;
}
BENCHMARK(BM_FullFrameWith16LayersOf100kStitches)->Unit(benchmark::kMillisecond);

void BM_DragMotionEvent(benchmark::State& state) {
    if (!startEditor()) {
        state.SkipWithError("no editor window");
        return;
    }
    theDocument->select(15);
    GUI_RunFrame();
    const SDL_Rect r = layerWindowRect(theDocument->layers[15]);
    const int x = r.x + r.w / 2, y = r.y + r.h / 2;
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    GUI_DispatchEvent(&e);
    if (!canvas.dragActive) {
        state.SkipWithError("the press did not start a drag");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        SDL_Event m{};
        m.type = SDL_MOUSEMOTION;
        m.motion.x = x + (step++ % 2 ? 9 : 0);
        m.motion.y = y;
        GUI_DispatchEvent(&m);
    }
    SDL_Event up{};
    up.type = SDL_MOUSEBUTTONUP;
    up.button.button = SDL_BUTTON_LEFT;
    up.button.x = x;
    up.button.y = y;
    GUI_DispatchEvent(&up);
}
BENCHMARK(BM_DragMotionEvent)->Unit(benchmark::kMicrosecond);

}  // namespace
