// make-gallery: writes the cloud gallery's catalogue. Each design of Designs.cpp becomes
//   <designs>/<folder>/<name>.pes     the file the gallery server sends (a PES file, or a "#MIVO"
//                                     buffer for the designs marked so)
//   <thumbnails>/<folder>/<name>.jpg  its 256 x 256 thumbnail, drawn by the editor's stitch
//                                     renderer from what the editor will import
//
//   make-gallery --data DIR --thumbnails DIR --designs DIR [--emoticons DIR]
//
// --data is the data folder with the stitch fonts. --emoticons adds every ".pes" file of a folder
// as the category "Emoticons". The output folders should be empty (make-gallery.sh clears them);
// running it again gives the same bytes.

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/PESExport.h"
#include "design/RenderingLayerList.h"
#include "design/StitchRenderer.h"
#include "design/commands/ImportCommand.h"
#include "gui/Globals.h"
#include "gui/Log.h"
#include "tools/gallery-catalogue/Designs.h"
#include "tools/gallery-catalogue/MivoBuffer.h"

namespace fs = std::filesystem;

namespace {

constexpr int kThumbSize = 256;   // pixels
constexpr int kThumbMargin = 14;  // pixels around the design
constexpr int kJpegQuality = 90;

int usage() {
    std::fprintf(stderr,
                 "usage: make-gallery --data DIR --thumbnails DIR --designs DIR "
                 "[--emoticons DIR]\n");
    return 2;
}

bool readWhole(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

void writeWhole(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.u8string());
}

// The smallest of the usual hoops (mm) that holds the design, written into the PES file.
std::pair<int, int> hoopFor(const PESData& layer) {
    const std::pair<int, int> hoops[] = {{100, 100}, {130, 180}, {200, 200}, {240, 240}};
    for (const auto& h : hoops) {
        if (layer.boundsWidth <= h.first * 10 && layer.boundsHeight <= h.second * 10)
            return h;
    }
    return hoops[3];
}

// SDL with a hidden window and a software renderer that can draw into textures.
struct Offscreen {
    SDL_Window* window = nullptr;
    Offscreen() {
        if (!std::getenv("SDL_VIDEODRIVER"))
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        if (SDL_Init(SDL_INIT_VIDEO) != 0)
            throw std::runtime_error(std::string("SDL_Init: ") + SDL_GetError());
        window = SDL_CreateWindow("make-gallery", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
        if (window)
            GUI_renderer =
                SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
        if (!GUI_renderer)
            throw std::runtime_error(std::string("no offscreen renderer: ") + SDL_GetError());
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

// The layer drawn by the stitch renderer, on white, scaled to fit a square thumbnail. The
// renderer's texture is read back at full size and shrunk by averaging, so that fine satin
// stitches come out smooth rather than sampled.
SDL_Surface* thumbnail(const PESData& layer) {
    RenderingLayerList list;
    Document doc(list);
    doc.appendLayer(layer, "thumbnail");
    const PESData& drawn = doc.layers[0];
    SDL_Texture* texture = sdlTextureOf(doc.layerTexture(0));
    if (!texture)
        throw std::runtime_error("no layer texture");
    const int srcW = std::min(2048, int(std::ceil((drawn.boundsWidth + 5) * drawn.offScreenScale)));
    const int srcH =
        std::min(2048, int(std::ceil((drawn.boundsHeight + 5) * drawn.offScreenScale)));
    std::vector<uint32_t> src(size_t(srcW) * size_t(srcH));
    SDL_SetRenderTarget(GUI_renderer, texture);
    const SDL_Rect region = {0, 0, srcW, srcH};
    SDL_RenderReadPixels(GUI_renderer, &region, SDL_PIXELFORMAT_ARGB8888, src.data(), srcW * 4);
    SDL_SetRenderTarget(GUI_renderer, nullptr);

    const double scale =
        double(kThumbSize - 2 * kThumbMargin) / double(std::max(srcW, srcH));  // dst per src
    const double offX = (kThumbSize - srcW * scale) / 2;
    const double offY = (kThumbSize - srcH * scale) / 2;
    SDL_Surface* out =
        SDL_CreateRGBSurfaceWithFormat(0, kThumbSize, kThumbSize, 32, SDL_PIXELFORMAT_RGB888);
    for (int y = 0; y < kThumbSize; ++y) {
        auto* row =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(out->pixels) + y * out->pitch);
        for (int x = 0; x < kThumbSize; ++x) {
            // The source pixels under this thumbnail pixel, composed over white and averaged.
            const int x0 = std::max(0, int(std::floor((x - offX) / scale)));
            const int x1 = std::min(srcW, int(std::ceil((x + 1 - offX) / scale)));
            const int y0 = std::max(0, int(std::floor((y - offY) / scale)));
            const int y1 = std::min(srcH, int(std::ceil((y + 1 - offY) / scale)));
            double r = 0, g = 0, b = 0;
            int n = 0;
            for (int sy = y0; sy < y1; ++sy) {
                for (int sx = x0; sx < x1; ++sx) {
                    const uint32_t p = src[size_t(sy) * size_t(srcW) + size_t(sx)];
                    const double a = double(p >> 24) / 255.0;
                    r += ((p >> 16) & 0xFF) * a + 255 * (1 - a);
                    g += ((p >> 8) & 0xFF) * a + 255 * (1 - a);
                    b += (p & 0xFF) * a + 255 * (1 - a);
                    ++n;
                }
            }
            if (n == 0) {
                row[x] = 0xFFFFFF;
                continue;
            }
            row[x] = uint32_t(std::lround(r / n)) << 16 | uint32_t(std::lround(g / n)) << 8 |
                     uint32_t(std::lround(b / n));
        }
    }
    return out;
}

// What the editor will import from the bytes.
PESData imported(const std::vector<uint8_t>& bytes, bool mivo) {
    PESData layer;
    FormatLog log;
    const bool ok = mivo ? ImportCommand::layerFromMIVO(bytes, layer, &log)
                         : ImportCommand::layerFromPES(bytes, layer, &log);
    if (!ok || log.hasError())
        throw std::runtime_error("the editor cannot import the written design");
    return layer;
}

bool sameStitches(const PESData& a, const PESData& b) {
    if (a.stitchCount != b.stitchCount || a.blocks.size() != b.blocks.size())
        return false;
    for (size_t i = 0; i < a.blocks.size(); ++i) {
        if (a.blocks[i].colorIndex != b.blocks[i].colorIndex ||
            a.blocks[i].stitches.size() != b.blocks[i].stitches.size())
            return false;
        for (size_t j = 0; j < a.blocks[i].stitches.size(); ++j) {
            const Stitch& s = a.blocks[i].stitches[j];
            const Stitch& t = b.blocks[i].stitches[j];
            if (s.x != t.x || s.y != t.y)
                return false;
        }
    }
    return true;
}

// The emoticon designs of a folder, sorted by name: the hook for the emoticon set.
void addEmoticons(const fs::path& folder, std::vector<catalogue::Design>& designs) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".pes")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::vector<uint8_t> bytes;
        if (!readWhole(file.u8string(), bytes))
            throw std::runtime_error("cannot read " + file.u8string());
        designs.push_back({"Emoticons", file.stem().u8string(), imported(bytes, false), false});
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> options;
    for (int i = 1; i + 1 < argc; i += 2)
        options[argv[i]] = argv[i + 1];
    if (argc % 2 == 0 || !options.count("--data") || !options.count("--thumbnails") ||
        !options.count("--designs"))
        return usage();
    for (const auto& o : options) {
        if (o.first != "--data" && o.first != "--thumbnails" && o.first != "--designs" &&
            o.first != "--emoticons")
            return usage();
    }
    logThreshold = 5;  // the libraries' notices are not for this tool
    const fs::path thumbnails = fs::u8path(options["--thumbnails"]);
    const fs::path designsOut = fs::u8path(options["--designs"]);

    try {
        FontEnv env;
        env.files.dataFolder = options["--data"];
        if (env.files.dataFolder.back() != '/')
            env.files.dataFolder += '/';
        env.files.read = readWhole;
        std::vector<catalogue::Design> designs = catalogue::buildCatalogue(env);
        if (options.count("--emoticons"))
            addEmoticons(fs::u8path(options["--emoticons"]), designs);

        Offscreen screen;
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "1");
        int mivoCount = 0;
        size_t designBytes = 0;
        for (const catalogue::Design& d : designs) {
            const auto hoop = hoopFor(d.layer);
            const std::vector<uint8_t> pes = writePES(d.layer, 5, hoop.first, hoop.second);
            const PESData arriving = imported(pes, false);
            std::vector<uint8_t> file = pes;
            if (d.mivo) {
                file = catalogue::mivoBuffer(d.layer);
                // Both ways in must give the editor the same stitches.
                if (!sameStitches(imported(file, true), arriving))
                    throw std::runtime_error("the MIVO buffer and the PES file differ");
                ++mivoCount;
            }
            const fs::path relative = fs::u8path(d.folder) / fs::u8path(d.name);
            writeWhole(designsOut / (relative.u8string() + ".pes"), file);
            designBytes += file.size();

            SDL_Surface* thumb = thumbnail(arriving);
            const fs::path jpg = thumbnails / (relative.u8string() + ".jpg");
            fs::create_directories(jpg.parent_path());
            const bool saved = IMG_SaveJPG(thumb, jpg.c_str(), kJpegQuality) == 0;
            SDL_FreeSurface(thumb);
            if (!saved)
                throw std::runtime_error("cannot write " + jpg.u8string() + ": " + SDL_GetError());
            std::printf("%-40s %6d stitches %3zu colours %5.1f x %5.1f mm%s\n",
                        relative.u8string().c_str(), arriving.stitchCount,
                        arriving.colorList.size(), arriving.boundsWidth / 10.0,
                        arriving.boundsHeight / 10.0, d.mivo ? "  #MIVO" : "");
        }
        std::printf("%zu designs (%d as #MIVO buffers), %zu bytes of designs\n", designs.size(),
                    mivoCount, designBytes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-gallery: %s\n", e.what());
        return 1;
    }
    return 0;
}
