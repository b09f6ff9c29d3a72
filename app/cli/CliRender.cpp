// mes-cli render IN.pes|IN.mpes -o OUT.png [--mode normal|3d|underlay] [--scale S]
//
// Draws a PES design (imported as the editor imports it) or a whole project with the editor's own
// stitch renderer, offscreen (SDL's dummy video driver and the software renderer), and saves the
// result as a PNG on white. S is pixels per 0.1 mm (default 1); images are kept within
// 8000 pixels a side by lowering the scale. The PNG is written next to OUT first and renamed into
// place.

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "app/cli/CliProject.h"
#include "design/Document.h"
#include "design/RenderingLayerList.h"
#include "design/StitchRenderer.h"
#include "design/commands/ImportCommand.h"
#include "gui/Globals.h"
#include "gui/Log.h"

namespace {

constexpr int kMaxSide = 8000;
constexpr int kMargin = 10;  // pixels around the design

// SDL, a hidden window and a software renderer for the length of the command.
struct Offscreen {
    SDL_Window* window = nullptr;
    bool ok = false;
    Offscreen() {
        if (!std::getenv("SDL_VIDEODRIVER"))
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        if (SDL_Init(SDL_INIT_VIDEO) != 0)
            return;
        window = SDL_CreateWindow("mes-cli", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
        if (!window)
            return;
        GUI_renderer =
            SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
        ok = GUI_renderer != nullptr;
    }
    ~Offscreen() {
        stitchrender::releaseStitchResources();
        if (GUI_renderer)
            SDL_DestroyRenderer(GUI_renderer);
        GUI_renderer = nullptr;
        if (window)
            SDL_DestroyWindow(window);
        SDL_Quit();
    }
};

}  // namespace

namespace cli {

int render(const Invocation& args) {
    const std::string in = args.operand(0);
    const std::string out = args.text("-o");
    const std::string modeName = args.choice("--mode", {"normal", "3d", "underlay"}, "normal");
    const int mode = modeName == "3d" ? 1 : modeName == "underlay" ? 2 : 0;
    float scale = float(args.number("--scale", 0.001, 100.0, 1.0));
    if (!hasExtension(out, ".png"))
        throw args.badValue("-o", "OUT must end in .png");

    logThreshold = 5;  // the renderer's notices are not for the command line
    Offscreen screen;
    if (!screen.ok) {
        std::fprintf(stderr, "mes-cli render: no offscreen renderer: %s\n", SDL_GetError());
        return 1;
    }
    RenderingLayerList list;
    list.mode = mode;
    Document doc(list);
    doc.fontEnv = cliFontEnv();
    if (isProjectPath(in)) {
        std::string error;
        if (!loadProjectFile(in, doc, error)) {
            std::fprintf(stderr, "mes-cli render: %s\n", error.c_str());
            return 1;
        }
    } else {
        std::vector<uint8_t> bytes;
        PESData layer;
        if (!readInput("render", in, bytes))
            return kStatusFailed;
        if (!ImportCommand::layerFromPES(bytes, layer, nullptr)) {
            std::fprintf(stderr, "mes-cli render: %s is not a PES file this editor can read\n",
                         in.c_str());
            return 1;
        }
        doc.appendLayer(layer, layer.properties.text);
    }

    std::vector<const PESData*> layers;
    for (const PESData& l : doc.layers)
        layers.push_back(&l);
    const StitchedExtent box = stitchedExtent(layers);
    const int64_t minX = box.minX, minY = box.minY, maxX = box.maxX, maxY = box.maxY;
    if (box.empty()) {
        std::fprintf(stderr, "mes-cli render: %s has no stitches to draw\n", in.c_str());
        return 1;
    }
    const double extent = double(std::max(maxX - minX, maxY - minY));
    if (extent * scale + 2 * kMargin > kMaxSide)
        scale = float((kMaxSide - 2 * kMargin) / std::max(extent, 1.0));
    const int W = int(std::ceil(double(maxX - minX) * scale)) + 2 * kMargin;
    const int H = int(std::ceil(double(maxY - minY) * scale)) + 2 * kMargin;

    SDL_Texture* target =
        SDL_CreateTexture(GUI_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, W, H);
    if (!target) {
        std::fprintf(stderr, "mes-cli render: cannot make a %dx%d image: %s\n", W, H,
                     SDL_GetError());
        return 1;
    }
    SDL_SetRenderTarget(GUI_renderer, target);
    SDL_SetRenderDrawColor(GUI_renderer, 255, 255, 255, 255);
    SDL_RenderClear(GUI_renderer);
    for (int i = 0; i < doc.layerCount(); ++i) {
        const PESData& l = doc.layers[i];
        SDL_Texture* t = sdlTextureOf(doc.layerTexture(i));
        if (!t || l.stitchCount == 0)
            continue;
        const SDL_Rect src = {0, 0, int(float(l.boundsWidth + 5) * l.offScreenScale),
                              int(float(l.boundsHeight + 5) * l.offScreenScale)};
        const SDL_Rect dst = {
            int((l.minX - minX) * scale) + kMargin, int((l.minY - minY) * scale) + kMargin,
            std::max(1, int(l.boundsWidth * scale)), std::max(1, int(l.boundsHeight * scale))};
        SDL_RenderCopy(GUI_renderer, t, &src, &dst);
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, W, H, 32, SDL_PIXELFORMAT_ARGB8888);
    std::string error;
    if (!surface || SDL_RenderReadPixels(GUI_renderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                                         surface->pixels, surface->pitch) != 0) {
        error = SDL_GetError();
    } else if (!writeThroughPart(out, [&](const std::string& part) {
                   if (IMG_SavePNG(surface, part.c_str()) == 0)
                       return true;
                   error = SDL_GetError();
                   return false;
               })) {
        if (error.empty())
            error = lastSystemError();  // the rename failed
    }
    const int status = error.empty() ? kStatusDone : kStatusFailed;
    if (error.empty()) {
        int stitches = 0;
        for (const PESData& l : doc.layers)
            stitches += l.stitchCount;
        std::printf("Wrote %s: %dx%d pixels, %d layers, %d stitches.\n", out.c_str(), W, H,
                    doc.layerCount(), stitches);
    } else {
        std::fprintf(stderr, "mes-cli render: cannot write %s: %s\n", out.c_str(), error.c_str());
    }
    if (surface)
        SDL_FreeSurface(surface);
    SDL_SetRenderTarget(GUI_renderer, nullptr);
    SDL_DestroyTexture(target);
    return status;
}

}  // namespace cli
