// mes-cli thumbnail IN.pes|IN.mpes OUT.png SIZE
//
// A small picture of a design or a whole project for file managers (the freedesktop thumbnailer
// entry runs this command): the stitches drawn by the editor's stitch renderer on a transparent
// background, the design fitted so that the longer side of the PNG is SIZE pixels (1 to 2048).
//
// It has to be quick, as a file manager waits for it while the user scrolls through a folder: the
// picture is drawn straight into a surface by SDL's software renderer, without a window or video
// driver, and PES designs are decoded without the editor's import steps (centring, a copy of the
// blocks for the effects), which only matter for editing. The PNG is written next to OUT first
// and renamed into place.

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "app/cli/CliProject.h"
#include "design/Document.h"
#include "design/HeadlessLayerList.h"
#include "design/StitchRenderer.h"
#include "formats/PES.h"
#include "gui/Globals.h"
#include "gui/Log.h"

namespace {

constexpr int kMaxSize = 2048;

// A software renderer drawing into a w x h surface, installed as the toolkit's renderer for the
// length of the command.
struct SurfaceRenderer {
    SDL_Surface* surface = nullptr;
    SurfaceRenderer(int w, int h) {
        surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
        if (!surface)
            return;
        // Lines drawn by the surface's own line routine rather than point by point.
        SDL_SetHint(SDL_HINT_RENDER_LINE_METHOD, "2");
        GUI_renderer = SDL_CreateSoftwareRenderer(surface);
    }
    ~SurfaceRenderer() {
        stitchrender::releaseStitchResources();
        if (GUI_renderer)
            SDL_DestroyRenderer(GUI_renderer);
        GUI_renderer = nullptr;
        if (surface)
            SDL_FreeSurface(surface);
    }
    SurfaceRenderer(const SurfaceRenderer&) = delete;
    SurfaceRenderer& operator=(const SurfaceRenderer&) = delete;
};

// SIZE, the operand: a whole number of pixels. Throws UsageError.
int sizeOperand(const std::string& text) {
    int v = 0;
    if (!cli::parseWhole(text, v) || v < 1 || v > kMaxSize)
        throw cli::UsageError((text.empty() ? "\"\"" : text) +
                              ": SIZE must be a whole number of pixels from 1 to " +
                              std::to_string(kMaxSize));
    return v;
}

}  // namespace

namespace cli {

int thumbnail(const Invocation& args) {
    const std::string in = args.operand(0);
    const std::string out = args.operand(1);
    const int size = sizeOperand(args.operand(2));
    if (!hasExtension(out, ".png"))
        throw UsageError(out + ": OUT.png must end in .png");

    logThreshold = 5;  // the document's notices are not for the command line
    HeadlessLayerList list;
    Document doc(list);
    std::vector<const PESData*> layers;
    PESData design;
    if (isProjectPath(in)) {
        doc.fontEnv = cliFontEnv();
        std::string error;
        if (!loadProjectFile(in, doc, error)) {
            std::fprintf(stderr, "mes-cli thumbnail: %s\n", error.c_str());
            return kStatusFailed;
        }
        for (const PESData& l : doc.layers)
            layers.push_back(&l);
    } else {
        std::vector<uint8_t> bytes;
        if (!readInput("thumbnail", in, bytes))
            return kStatusFailed;
        PES reader;
        if (!reader.loadBuffer(0, bytes.data(), bytes.size()) || !reader.hasSections() ||
            !design.createFromPES(&reader)) {
            std::fprintf(stderr, "mes-cli thumbnail: %s is not a PES file this editor can read\n",
                         in.c_str());
            return kStatusFailed;
        }
        layers.push_back(&design);
    }

    const StitchedExtent extent = stitchedExtent(layers);
    if (extent.empty()) {
        std::fprintf(stderr, "mes-cli thumbnail: %s has no stitches to draw\n", in.c_str());
        return kStatusFailed;
    }
    const stitchrender::ThumbnailFit fit =
        stitchrender::fitThumbnail(extent.minX, extent.minY, extent.maxX, extent.maxY, size);
    SurfaceRenderer screen(fit.w, fit.h);
    if (!GUI_renderer) {
        std::fprintf(stderr, "mes-cli thumbnail: cannot make a %dx%d image: %s\n", fit.w, fit.h,
                     SDL_GetError());
        return kStatusFailed;
    }
    stitchrender::drawThumbnail(layers, fit);
    SDL_RenderFlush(GUI_renderer);

    std::string error;
    const bool written = writeThroughPart(out, [&](const std::string& part) {
        if (IMG_SavePNG(screen.surface, part.c_str()) == 0)
            return true;
        error = SDL_GetError();
        return false;
    });
    if (!written) {
        std::fprintf(stderr, "mes-cli thumbnail: cannot write %s (%s)\n", out.c_str(),
                     error.empty() ? lastSystemError().c_str() : error.c_str());
        return kStatusFailed;
    }
    return kStatusDone;
}

}  // namespace cli
