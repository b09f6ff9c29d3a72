#include "StitchImage.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "design/Document.h"
#include "design/RenderingLayerList.h"
#include "design/StitchRenderer.h"
#include "gui/Globals.h"
#include "gui/Log.h"

Offscreen::Offscreen() {
    if (!std::getenv("SDL_VIDEODRIVER"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "make-emoticons: SDL_Init: %s\n", SDL_GetError());
        return;
    }
    SDL_Window* w = SDL_CreateWindow("make-emoticons", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
    window_ = w;
    if (w)
        GUI_renderer = SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    ok = GUI_renderer != nullptr;
    if (!ok)
        std::fprintf(stderr, "make-emoticons: no offscreen renderer: %s\n", SDL_GetError());
    logThreshold = 5;  // the renderer's notices are not for this tool
}

Offscreen::~Offscreen() {
    stitchrender::releaseStitchResources();
    if (GUI_renderer)
        SDL_DestroyRenderer(GUI_renderer);
    GUI_renderer = nullptr;
    if (window_)
        SDL_DestroyWindow(static_cast<SDL_Window*>(window_));
    SDL_Quit();
}

namespace {

// Area-weighted resampling of premultiplied pixels: every target pixel is the average of the
// source area it covers, so fine stitches thin out smoothly instead of flickering in and out.
// The source square of side srcSide starts at (sx, sy) and may reach past the picture (there it
// is transparent).
Picture resample(const std::vector<uint32_t>& src, int sw, int sh, double sx, double sy,
                 double srcSide, int side, int margin) {
    Picture out;
    out.w = out.h = side;
    out.px.assign(std::size_t(side) * side, 0);
    const int inner = side - 2 * margin;
    const double f = srcSide / inner;  // source pixels per target pixel
    std::vector<double> acc(4);
    for (int ty = 0; ty < inner; ++ty)
        for (int tx = 0; tx < inner; ++tx) {
            double x0 = sx + tx * f, x1 = x0 + f, y0 = sy + ty * f, y1 = y0 + f;
            std::fill(acc.begin(), acc.end(), 0.0);
            for (int y = std::max(0, int(std::floor(y0))); y < std::min(sh, int(std::ceil(y1)));
                 ++y) {
                double wy = std::min(y1, y + 1.0) - std::max(y0, double(y));
                for (int x = std::max(0, int(std::floor(x0)));
                     x < std::min(sw, int(std::ceil(x1))); ++x) {
                    double wgt = wy * (std::min(x1, x + 1.0) - std::max(x0, double(x)));
                    uint32_t p = src[std::size_t(y) * sw + x];
                    acc[0] += wgt * (p >> 24);
                    acc[1] += wgt * ((p >> 16) & 0xFF);
                    acc[2] += wgt * ((p >> 8) & 0xFF);
                    acc[3] += wgt * (p & 0xFF);
                }
            }
            double a = acc[0] / (f * f);
            if (a < 0.5)
                continue;
            // Back to straight alpha: the renderer blends onto a transparent target, so its
            // colours are already multiplied by their coverage.
            auto chan = [&](double v) {
                return uint32_t(std::clamp(std::lround(v / (f * f) * 255.0 / a), 0L, 255L));
            };
            out.px[std::size_t(ty + margin) * side + tx + margin] =
                uint32_t(std::lround(a)) << 24 | chan(acc[1]) << 16 | chan(acc[2]) << 8 |
                chan(acc[3]);
        }
    return out;
}

}  // namespace

Picture drawDesign(const PESData& layer, int side, int margin) {
    RenderingLayerList list;
    Document doc(list);
    doc.appendLayer(layer, "");
    SDL_Texture* t = sdlTextureOf(doc.layerTexture(0));
    if (!t || layer.stitchCount == 0)
        return resample({}, 0, 0, 0, 0, 1, side, margin);
    const PESData& l = doc.layers[0];
    // The layer sits 2.5 units (0.25 mm) from the texture's corner, which leaves room for the
    // thread's width on every side.
    const int sw = int(float(l.boundsWidth + 5) * l.offScreenScale);
    const int sh = int(float(l.boundsHeight + 5) * l.offScreenScale);
    std::vector<uint32_t> px(std::size_t(sw) * sh);
    SDL_SetRenderTarget(GUI_renderer, t);
    const SDL_Rect r = {0, 0, sw, sh};
    SDL_RenderReadPixels(GUI_renderer, &r, SDL_PIXELFORMAT_ARGB8888, px.data(), sw * 4);
    SDL_SetRenderTarget(GUI_renderer, nullptr);
    const double srcSide = std::max(sw, sh);
    return resample(px, sw, sh, (sw - srcSide) / 2, (sh - srcSide) / 2, srcSide, side, margin);
}

Picture sheet(const std::vector<Picture>& pictures, int cols, int cell) {
    Picture s;
    const int rows = int((pictures.size() + cols - 1) / cols);
    s.w = cols * cell;
    s.h = rows * cell;
    s.px.assign(std::size_t(s.w) * s.h, 0xFFFFFFFF);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const Picture& p = pictures[i];
        const int ox = int(i % cols) * cell + (cell - p.w) / 2;
        const int oy = int(i / cols) * cell + (cell - p.h) / 2;
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                const int X = ox + x, Y = oy + y;
                if (X < 0 || Y < 0 || X >= s.w || Y >= s.h)
                    continue;
                const uint32_t q = p.px[std::size_t(y) * p.w + x];
                const uint32_t a = q >> 24;
                uint32_t& d = s.px[std::size_t(Y) * s.w + X];
                auto mix = [&](int shift) {
                    return ((q >> shift & 0xFF) * a + (d >> shift & 0xFF) * (255 - a) + 127) / 255;
                };
                d = 0xFF000000 | mix(16) << 16 | mix(8) << 8 | mix(0);
            }
        // A light grey frame around each cell.
        const int cx = int(i % cols) * cell, cy = int(i / cols) * cell;
        for (int k = 0; k < cell; ++k) {
            s.px[std::size_t(cy) * s.w + cx + k] = 0xFFE0E0E0;
            s.px[std::size_t(cy + k) * s.w + cx] = 0xFFE0E0E0;
        }
    }
    return s;
}

bool savePNG(const Picture& p, const std::string& path) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(p.px.data()), p.w, p.h, 32,
                                           p.w * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface)
        return false;
    const bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}
