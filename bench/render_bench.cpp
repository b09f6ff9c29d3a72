// Rendering one layer of 100,000 stitches into its 2048 x 2048 texture with SDL's software
// renderer under the dummy video driver, in the three display modes. Reports stitches per second.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

#include "design/Document.h"
#include "design/RenderingLayerList.h"
#include "design/StitchRenderer.h"
#include "formats/ThreadPalette.h"
#include "gui/Globals.h"
#include "gui/Log.h"

namespace {

// A satin-like zigzag over about 20 x 15 cm in 10 colour runs of 10,000 stitches.
PESData bigLayer() {
    PESData l;
    for (int b = 0; b < 10; ++b) {
        StitchBlock block;
        block.colorIndex = static_cast<uint8_t>(b + 1);
        block.color = threadColor(b + 1);
        for (int i = 0; i < 10000; ++i) {
            Stitch s;
            const int n = b * 10000 + i;
            s.x = (n * 7) % 2000 - 1000 + ((i % 2) ? 30 : 0);
            s.y = (n / 140) % 1500 - 750;
            block.stitches.push_back(s);
        }
        l.blocks.push_back(block);
    }
    l.computeBounds();
    return l;
}

void BM_RenderTexture(benchmark::State& state) {
    logThreshold = 5;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Window* w = SDL_CreateWindow("bench", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
    GUI_renderer = SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    {
        RenderingLayerList list;
        list.mode = static_cast<int>(state.range(0));
        Document doc(list);
        doc.appendLayer(bigLayer(), "big");
        for (auto _ : state)
            doc.renderLayer(0);
        state.counters["stitches/s"] =
            benchmark::Counter(double(doc.layers[0].stitchCount) * double(state.iterations()),
                               benchmark::Counter::kIsRate);
    }
    stitchrender::releaseStitchResources();
    SDL_DestroyRenderer(GUI_renderer);
    GUI_renderer = nullptr;
    SDL_DestroyWindow(w);
    SDL_Quit();
}
BENCHMARK(BM_RenderTexture)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
