// stitch-png: draws the stitches of layers as lines into a PNG image, so that generated shapes,
// borders and bent text can be looked at without the editor.
//
//   stitch-png render IN.pes OUT.png [SIZE]   a PES file, SIZE pixels square (default 900)
//   stitch-png demo OUTDIR                    the shapes, a border and bent text, one PNG each
//
// Stitches are drawn in their thread colour, movements (long-form stitches) as thin grey lines and
// a text layer's frame points as small red crosses. The image is scaled to fit the layers.

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "design/Border.h"
#include "design/PESData.h"
#include "design/ShapeLayer.h"
#include "design/ShapeOutline.h"
#include "design/TextEffect.h"
#include "design/geometry/Satin.h"
#include "formats/PES.h"
#include "formats/ThreadPalette.h"

namespace {

bool savePNG(const std::vector<const PESData*>& layers, const std::string& path, int size) {
    int64_t x0 = INT64_MAX, y0 = INT64_MAX, x1 = INT64_MIN, y1 = INT64_MIN;
    for (const auto* layer : layers) {
        for (const auto& b : layer->blocks) {
            for (const auto& s : b.stitches) {
                x0 = std::min<int64_t>(x0, s.x);
                y0 = std::min<int64_t>(y0, s.y);
                x1 = std::max<int64_t>(x1, s.x);
                y1 = std::max<int64_t>(y1, s.y);
            }
        }
    }
    if (x0 > x1) {
        x0 = y0 = -10;
        x1 = y1 = 10;
    }
    const double margin = 20;
    const double scale = (size - 2 * margin) / std::max<double>(1.0, std::max(x1 - x0, y1 - y0));
    const double ox = size / 2.0 - (x0 + x1) / 2.0 * scale;
    const double oy = size / 2.0 - (y0 + y1) / 2.0 * scale;
    auto px = [&](int32_t x) { return static_cast<int>(x * scale + ox); };
    auto py = [&](int32_t y) { return static_cast<int>(y * scale + oy); };

    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_RGBA32);
    if (!surface)
        return false;
    SDL_Renderer* r = SDL_CreateSoftwareRenderer(surface);
    if (!r) {
        SDL_FreeSurface(surface);
        return false;
    }
    SDL_SetRenderDrawColor(r, 255, 255, 255, 255);
    SDL_RenderClear(r);
    for (const auto* layer : layers) {
        for (const auto& b : layer->blocks) {
            // Light threads are darkened so that they show on white.
            Rgba c = b.color;
            if (c.r + c.g + c.b > 600)
                c = {90, 90, 90, 255};
            for (std::size_t i = 1; i < b.stitches.size(); ++i) {
                const Stitch& p = b.stitches[i - 1];
                const Stitch& s = b.stitches[i];
                if (s.longForm || p.longForm) {
                    SDL_SetRenderDrawColor(r, 200, 200, 200, 255);
                } else {
                    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, 255);
                }
                SDL_RenderDrawLine(r, px(p.x), py(p.y), px(s.x), py(s.y));
            }
        }
        SDL_SetRenderDrawColor(r, 230, 0, 0, 255);
        for (const auto& f : layer->framePoints) {
            SDL_RenderDrawLine(r, px(f.x) - 4, py(f.y), px(f.x) + 4, py(f.y));
            SDL_RenderDrawLine(r, px(f.x), py(f.y) - 4, px(f.x), py(f.y) + 4);
        }
    }
    SDL_RenderPresent(r);
    const bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_DestroyRenderer(r);
    SDL_FreeSurface(surface);
    if (ok)
        std::printf("wrote %s\n", path.c_str());
    return ok;
}

// "MES" in satin strokes, 100 units tall per letter, standing in for a composed text.
void composeDemoText(PESData& layer, int repeats) {
    const std::vector<std::vector<geom::Point>> letters[] = {
        {{{0, 100}, {0, 0}, {40, 60}, {80, 0}, {80, 100}}},
        {{{70, 0}, {0, 0}, {0, 100}, {70, 100}}, {{0, 50}, {55, 50}}},
        {{{75, 12}, {40, 0}, {5, 15}, {10, 40}, {65, 60}, {72, 85}, {35, 100}, {0, 88}}},
    };
    layer.blocks.clear();
    float x = 0;
    for (int k = 0; k < repeats; ++k) {
        for (const auto& strokes : letters) {
            for (const auto& stroke : strokes) {
                geom::Polyline line;
                for (const auto& p : stroke)
                    line.points.push_back({p.x + x, p.y});
                shapes::addSatinBlock(layer, geom::columnStitch(line, 14), 20);
            }
            x += 110;
        }
    }
}

PESData demoText(const LayerProperties& props, int repeats) {
    PESData layer;
    effects::rebuildTextLayer(layer, props, 0, [repeats](PESData& l) {
        composeDemoText(l, repeats);
        return true;
    });
    return layer;
}

int demo(const std::string& dir) {
    struct ShapeDemo {
        int index;
        float w, h;
        const char* file;
    };
    const ShapeDemo demos[] = {
        {0, 5, 5, "shape-line.png"},
        {1, 5, 5, "shape-triangle.png"},
        {2, 5, 3, "shape-rectangle.png"},
        {5, 5, 4, "shape-sharp-triangle.png"},
        {6, 5, 3, "shape-sharp-rectangle.png"},
        {8, 6, 4, "shape-ellipse.png"},
    };
    bool ok = true;
    for (const auto& d : demos) {
        const PESData layer =
            shapes::buildShapeLayer(shapes::shapeProperties(d.index, d.w, d.h, 0.4f, 0.4f, 5));
        ok = savePNG({&layer}, dir + "/" + d.file, 900) && ok;
    }
    // A close-up of the rectangle's corner, to see the satin turning.
    {
        PESData layer =
            shapes::buildShapeLayer(shapes::shapeProperties(2, 1.5f, 1.5f, 0.3f, 0.4f, 5));
        ok = savePNG({&layer}, dir + "/shape-rectangle-small.png", 900) && ok;
    }

    LayerProperties props;
    PESData straight = demoText(props, 2);
    PESData frame;
    border::buildBorderLayer(straight, 33, frame);
    ok = savePNG({&straight, &frame}, dir + "/border-straight.png", 900) && ok;

    props.baselineIndex = 1;
    PESData bent = demoText(props, 2);
    PESData bentFrame;
    border::buildBorderLayer(bent, 33, bentFrame);
    ok = savePNG({&bent, &bentFrame}, dir + "/text-bent.png", 900) && ok;

    LayerProperties under = bent.properties;
    under.baselineIndex = 2;
    effects::rebuildTextLayer(bent, under, 1, [](PESData& l) {
        composeDemoText(l, 2);
        return true;
    });
    PESData underFrame;
    border::buildBorderLayer(bent, 33, underFrame);
    ok = savePNG({&bent, &underFrame}, dir + "/text-bent-bottom.png", 900) && ok;

    props.baselineIndex = 0;
    props.rotateValue = 0.625f;
    PESData turned = demoText(props, 1);
    PESData turnedFrame;
    border::buildBorderLayer(turned, 33, turnedFrame);
    ok = savePNG({&turned, &turnedFrame}, dir + "/text-rotated.png", 900) && ok;
    return ok ? 0 : 1;
}

int render(const std::string& in, const std::string& out, int size) {
    std::ifstream file(in, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "stitch-png: cannot open %s\n", in.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    PES pes;
    pes.loadFileContents(std::move(bytes));
    PESData layer;
    if (!layer.createFromPES(&pes)) {
        std::fprintf(stderr, "stitch-png: %s is not a PES file\n", in.c_str());
        return 1;
    }
    return savePNG({&layer}, out, size) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 3 && args[0] == "render") {
        const int size = args.size() >= 4 ? std::clamp(std::atoi(args[3].c_str()), 64, 8192) : 900;
        return render(args[1], args[2], size);
    }
    if (args.size() == 2 && args[0] == "demo")
        return demo(args[1]);
    std::fprintf(stderr,
                 "usage: stitch-png render IN.pes OUT.png [SIZE]\n"
                 "       stitch-png demo OUTDIR\n");
    return 2;
}
