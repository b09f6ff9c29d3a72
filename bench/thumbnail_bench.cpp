// File manager thumbnails (mes-cli thumbnail): a design drawn into a 256-pixel picture by the
// stitch renderer with SDL's software renderer on a surface, as the command does. Two designs:
// 1,000,000 stitches over 30 x 30 cm (threads thinner than a pixel: lines) and 20,000 stitches
// over 5 x 5 cm (threads two pixels thick: sprites). The whole command, with reading and decoding
// the file, is timed from outside, on a whole process (hyperfine).

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "design/PESData.h"
#include "design/StitchRenderer.h"
#include "formats/ThreadPalette.h"
#include "gui/Globals.h"
#include "gui/Log.h"

namespace {

// Satin columns 4 mm wide, 0.4 mm a step, each starting with a jump somewhere in a square of
// `side` (0.1 mm), in ten colour runs.
PESData columns(int stitches, int side) {
    PESData layer;
    const int perRun = stitches / 10;
    int x = 0, y = 0;
    for (int r = 0; r < 10; ++r) {
        StitchBlock block;
        block.colorIndex = static_cast<uint8_t>(1 + r * 5 % 64);
        block.color = threadColor(block.colorIndex);
        for (int i = 0; i < perRun; ++i) {
            Stitch s;
            if (i % 200 == 0) {
                x = (i * 37 + r * 911) % (side - 100);
                y = (i * 53 + r * 577) % (side - 100);
                s.type = pec::kJump;
                s.longForm = 1;
            } else {
                x += (i % 2) ? 40 : -40;
                y = std::min(y + 4, side);
            }
            s.x = x;
            s.y = y;
            block.stitches.push_back(s);
        }
        layer.blocks.push_back(block);
    }
    layer.computeBounds();
    return layer;
}

void BM_Thumbnail256(benchmark::State& state) {
    logThreshold = 5;
    const PESData layer = columns(int(state.range(0)), int(state.range(1)));
    const stitchrender::ThumbnailFit fit =
        stitchrender::fitThumbnail(layer.minX, layer.minY, layer.maxX, layer.maxY, 256);
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, fit.w, fit.h, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_SetHint(SDL_HINT_RENDER_LINE_METHOD, "2");
    GUI_renderer = SDL_CreateSoftwareRenderer(surface);
    state.counters["sprites"] = stitchrender::thumbnailUsesSprites(fit.scale, layer.stitchCount);
    for (auto _ : state) {
        stitchrender::drawThumbnail({&layer}, fit);
        SDL_RenderFlush(GUI_renderer);
    }
    state.SetItemsProcessed(state.iterations() * layer.stitchCount);
    stitchrender::releaseStitchResources();
    SDL_DestroyRenderer(GUI_renderer);
    GUI_renderer = nullptr;
    SDL_FreeSurface(surface);
}
BENCHMARK(BM_Thumbnail256)
    ->Args({1000000, 3000})
    ->Args({20000, 500})
    ->Unit(benchmark::kMillisecond);

}  // namespace
