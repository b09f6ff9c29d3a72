// Drawing primitives. Sections: helpers; rectangles and lines; round shapes; rotated square and
// screen veil; shape textures; resource paths and images; shared render targets.
#include "gui/Draw.h"

#include <SDL_image.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>

#include <boost/filesystem.hpp>

#include "gui/FileUtils.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Log.h"

namespace {

// ---- helpers ----

void reportError(const char* name, int result) {
    GUI_LogNotice("", "gfx_utils fn: \"%s\" error: %x (%d).", name, result, result);
}

// Blend mode by alpha, then the draw colour. Returns the OR of the SDL results.
int prepareColor(SDL_Color c) {
    int r = SDL_SetRenderDrawBlendMode(GUI_renderer,
                                       c.a < 255 ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    r |= SDL_SetRenderDrawColor(GUI_renderer, c.r, c.g, c.b, c.a);
    return r;
}

struct ShapeTexture {
    SDL_Texture* texture = nullptr;
    int w = 0, h = 0;
    // The central square of the glyph (the disc's bounding box).
    SDL_Rect square() const {
        const int m = std::min(w, h);
        return {(w - m) / 2, (h - m) / 2, m, m};
    }
};

bool shapesReady = false;
ShapeTexture disc, ring, thinRing;

void tint(SDL_Texture* t, SDL_Color c) {
    SDL_SetTextureColorMod(t, c.r, c.g, c.b);
    SDL_SetTextureAlphaMod(t, c.a);
}

// Horizontal spans of a filled disc by the midpoint circle algorithm.
int fillDiscSpans(int cx, int cy, int r) {
    if (r <= 1)
        return SDL_RenderDrawPoint(GUI_renderer, cx, cy);
    int result = 0;
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        result |= SDL_RenderDrawLine(GUI_renderer, cx - x, cy + y, cx + x, cy + y);
        result |= SDL_RenderDrawLine(GUI_renderer, cx - x, cy - y, cx + x, cy - y);
        result |= SDL_RenderDrawLine(GUI_renderer, cx - y, cy + x, cx + y, cy + x);
        result |= SDL_RenderDrawLine(GUI_renderer, cx - y, cy - x, cx + y, cy - x);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
    return result;
}

void plotCircle(int cx, int cy, int r) {
    if (r < 0)
        return;
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        const SDL_Point p[8] = {{cx + x, cy + y}, {cx - x, cy + y}, {cx + x, cy - y},
                                {cx - x, cy - y}, {cx + y, cy + x}, {cx - y, cy + x},
                                {cx + y, cy - x}, {cx - y, cy - x}};
        SDL_RenderDrawPoints(GUI_renderer, p, 8);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

// One quarter arc (quadrant given by the signs) of radius r around (cx, cy).
void plotArc(int cx, int cy, int r, int sx, int sy) {
    if (r < 0)
        return;
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        const SDL_Point p[2] = {{cx + sx * x, cy + sy * y}, {cx + sx * y, cy + sy * x}};
        SDL_RenderDrawPoints(GUI_renderer, p, 2);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

}  // namespace

// ---- rectangles and lines ----

void GUI_FillRect(int x, int y, int w, int h, SDL_Color color) {
    if (!GUI_renderer)
        return;
    const SDL_Rect r = {x, y, w, h};
    const int result = prepareColor(color) | SDL_RenderFillRect(GUI_renderer, &r);
    if (result)
        reportError("GUI_FillRect", result);
}

void GUI_DrawRect(int x, int y, int w, int h, SDL_Color color) {
    if (!GUI_renderer)
        return;
    const SDL_Rect r = {x, y, w, h};
    const int result = prepareColor(color) | SDL_RenderDrawRect(GUI_renderer, &r);
    if (result)
        reportError("GUI_DrawRect", result);
}

void GUI_DrawLine(int x1, int y1, int x2, int y2, SDL_Color color) {
    if (!GUI_renderer)
        return;
    const int result = prepareColor(color) | SDL_RenderDrawLine(GUI_renderer, x1, y1, x2, y2);
    if (result)
        reportError("GUI_DrawLine", result);
}

// ---- round shapes ----

void GUI_DrawRoundRect(int x, int y, int w, int h, int r, SDL_Color color) {
    if (!GUI_renderer)
        return;
    SDL_SetRenderDrawColor(GUI_renderer, color.r, color.g, color.b, color.a);
    plotArc(x + r - 1, y + r - 1, r - 1, -1, -1);
    plotArc(x + w - r, y + r - 1, r - 1, 1, -1);
    plotArc(x + r - 1, y + h - r, r - 1, -1, 1);
    plotArc(x + w - r, y + h - r, r - 1, 1, 1);
    SDL_RenderDrawLine(GUI_renderer, x + r, y, x + w - r, y);
    SDL_RenderDrawLine(GUI_renderer, x + r, y + h - 1, x + w - r, y + h - 1);
    SDL_RenderDrawLine(GUI_renderer, x, y + r, x, y + h - r);
    SDL_RenderDrawLine(GUI_renderer, x + w - 1, y + r, x + w - 1, y + h - r);
}

void GUI_FillRoundRect(int x, int y, int w, int h, int r, SDL_Color color) {
    if (!GUI_renderer)
        return;
    if (shapesReady && disc.texture) {
        GUI_FillRect(x + r, y, w - 2 * r, r, color);
        GUI_FillRect(x, y + r, w, h - 2 * r, color);
        GUI_FillRect(x + r, y + h - r, w - 2 * r, r, color);
        SDL_Rect src = disc.square();
        src.w /= 2;
        src.h /= 2;
        tint(disc.texture, color);
        const SDL_Rect tl = {x, y, r, r}, tr = {x + w - r, y, r, r}, bl = {x, y + h - r, r, r},
                       br = {x + w - r, y + h - r, r, r};
        SDL_RenderCopy(GUI_renderer, disc.texture, &src, &tl);
        SDL_RenderCopyEx(GUI_renderer, disc.texture, &src, &tr, 0, nullptr, SDL_FLIP_HORIZONTAL);
        SDL_RenderCopyEx(GUI_renderer, disc.texture, &src, &bl, 0, nullptr, SDL_FLIP_VERTICAL);
        SDL_RenderCopyEx(GUI_renderer, disc.texture, &src, &br, 180.0, nullptr, SDL_FLIP_NONE);
        return;
    }
    if (w < 2 * r)
        r = w / 2;
    if (h < 2 * r)
        r = h / 2;
    if (r < 0)
        r = 0;
    int result = prepareColor(color);
    // Corner centres of the box (x, y)..(x + w − 1, y + h − 1).
    const int left = x + r, right = x + w - 1 - r, top = y + r, bottom = y + h - 1 - r;
    int cx = r, cy = 0, err = 1 - r;
    // Spans of the rounded top and bottom parts; rows may be drawn twice, which is harmless for
    // opaque colours and faint for translucent ones.
    int lastTop = -1;
    while (cx >= cy) {
        const int rows[2][2] = {{cy, cx}, {cx, cy}};  // (vertical offset, half width)
        for (const auto& rw : rows) {
            const int dy = rw[0], dx = rw[1];
            if (dy == lastTop)
                continue;
            result |= SDL_RenderDrawLine(GUI_renderer, left - dx, top - dy, right + dx, top - dy);
            result |=
                SDL_RenderDrawLine(GUI_renderer, left - dx, bottom + dy, right + dx, bottom + dy);
        }
        lastTop = cy;
        ++cy;
        if (err < 0) {
            err += 2 * cy + 1;
        } else {
            --cx;
            err += 2 * (cy - cx) + 1;
        }
    }
    if (bottom - top - 1 > 0) {
        const SDL_Rect mid = {x, top + 1, w, bottom - top - 1};
        result |= SDL_RenderFillRect(GUI_renderer, &mid);
    }
    if (result)
        reportError("GUI_FillRoundRect", result);
}

void GUI_FillCircle(int cx, int cy, int r, SDL_Color color) {
    if (!GUI_renderer)
        return;
    if (shapesReady && disc.texture) {
        const SDL_Rect src = disc.square();
        const SDL_Rect dst = {cx - r, cy - r, 2 * r, 2 * r};
        tint(disc.texture, color);
        SDL_RenderCopy(GUI_renderer, disc.texture, &src, &dst);
        return;
    }
    const int result = prepareColor(color) | fillDiscSpans(cx, cy, r);
    if (result)
        reportError("GUI_FillCircle", result);
}

void GUI_DrawCircle(int cx, int cy, int r, SDL_Color color) {
    if (!GUI_renderer)
        return;
    if (shapesReady && thinRing.texture) {
        const SDL_Rect src = thinRing.square();
        const SDL_Rect dst = {cx - r, cy - r, 2 * r, 2 * r};
        tint(thinRing.texture, color);
        SDL_RenderCopy(GUI_renderer, thinRing.texture, &src, &dst);
        return;
    }
    SDL_SetRenderDrawColor(GUI_renderer, color.r, color.g, color.b, color.a);
    plotCircle(cx, cy, r - 1);
}

// ---- rotated square and screen veil ----

void GUI_FillRotatedSquare(int cx, int cy, int s, SDL_Color color) {
    if (!GUI_renderer || s <= 0)
        return;
    SDL_Texture* t =
        SDL_CreateTexture(GUI_renderer, SDL_PIXELFORMAT_RGBA8888, SDL_TEXTUREACCESS_TARGET, s, s);
    if (!t) {
        SDL_LogCritical(SDL_LOG_CATEGORY_APPLICATION, "Failed to create texture. Aborting!");
        SDL_LogCritical(SDL_LOG_CATEGORY_APPLICATION, "Reason: %s", SDL_GetError());
        reportError("GUI_FillRect(rotate) Failed to create texture.", 1);
        return;
    }
    // Drawing into the texture resets viewport and clip; keep the view's for the copy.
    SDL_Rect viewport, clip;
    SDL_RenderGetViewport(GUI_renderer, &viewport);
    SDL_RenderGetClipRect(GUI_renderer, &clip);
    const bool clipped = SDL_RenderIsClipEnabled(GUI_renderer);
    SDL_Texture* oldTarget = SDL_GetRenderTarget(GUI_renderer);

    int result = SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    SDL_SetRenderTarget(GUI_renderer, t);
    SDL_SetRenderDrawBlendMode(GUI_renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(GUI_renderer, 0, 0, 0, 0);
    SDL_RenderClear(GUI_renderer);
    result |= prepareColor(color);
    SDL_RenderFillRect(GUI_renderer, nullptr);
    SDL_SetRenderTarget(GUI_renderer, oldTarget);
    SDL_RenderSetClipRect(GUI_renderer, nullptr);
    SDL_RenderSetViewport(GUI_renderer, &viewport);
    SDL_RenderSetClipRect(GUI_renderer, clipped ? &clip : nullptr);
    if (result)
        reportError("GUI_FillRect(rotate)", result);

    const SDL_Rect dst = {cx - s / 2, cy - s / 2, s, s};
    SDL_RenderCopyEx(GUI_renderer, t, nullptr, &dst, 45.0, nullptr, SDL_FLIP_NONE);
    SDL_DestroyTexture(t);
}

void GUI_FillScreen(SDL_Color color) {
    if (!GUI_renderer)
        return;
    SDL_Rect viewport, clip;
    SDL_RenderGetClipRect(GUI_renderer, &clip);
    const bool clipped = SDL_RenderIsClipEnabled(GUI_renderer);
    SDL_RenderGetViewport(GUI_renderer, &viewport);
    const SDL_Rect all = {0, 0, GUI_windowWidth * GUI_scale, GUI_windowHeight * GUI_scale};
    SDL_RenderSetViewport(GUI_renderer, &all);
    SDL_RenderSetClipRect(GUI_renderer, &all);
    GUI_FillRect(all.x, all.y, all.w, all.h, color);
    // Viewport first, then the clip again (see GUI_View::begin_draw).
    SDL_RenderSetClipRect(GUI_renderer, nullptr);
    SDL_RenderSetViewport(GUI_renderer, &viewport);
    SDL_RenderSetClipRect(GUI_renderer, clipped ? &clip : nullptr);
}

// ---- shape textures ----

bool GUI_InitShapeTextures() {
    if (shapesReady)
        return true;
    if (!GUI_renderer)
        return false;
    if (!TTF_WasInit() && TTF_Init() != 0)
        return false;
    TTF_Font* font = GUI_OpenIconFont(512);
    if (!font)
        return false;
    const Uint16 codes[3] = {0xF111, 0xF10C, 0xF1DB};
    ShapeTexture* targets[3] = {&disc, &ring, &thinRing};
    for (int i = 0; i < 3; ++i) {
        SDL_Surface* s = TTF_RenderGlyph_Blended(font, codes[i], GUI_White);
        if (!s)
            continue;
        targets[i]->texture = SDL_CreateTextureFromSurface(GUI_renderer, s);
        targets[i]->w = s->w;
        targets[i]->h = s->h;
        SDL_FreeSurface(s);
        if (targets[i]->texture)
            SDL_SetTextureBlendMode(targets[i]->texture, SDL_BLENDMODE_BLEND);
    }
    TTF_CloseFont(font);
    shapesReady = true;
    return true;
}

void GUI_FreeShapeTextures() {
    if (!shapesReady)
        return;
    for (ShapeTexture* t : {&disc, &ring, &thinRing}) {
        if (t->texture)
            SDL_DestroyTexture(t->texture);
        *t = ShapeTexture();
    }
    shapesReady = false;
}

bool GUI_ShapeTexturesReady() {
    return shapesReady;
}

// ---- resource paths and images ----

std::string GUI_ResourcePathFor(const std::string& base) {
    std::string folder = base;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    // Our builds keep the data folder beside the executable, installs in share/mes beside bin.
    const std::string found = folder.empty() ? "" : jsFindDataFolder(folder);
    if (!found.empty())
        return found;
    // Otherwise the layout of a "bin" folder beside "data": cut at the last "bin" component.
    size_t cut = std::string::npos;
    for (size_t pos = folder.rfind("bin"); pos != std::string::npos;
         pos = pos == 0 ? std::string::npos : folder.rfind("bin", pos - 1)) {
        const bool startOk = pos == 0 || folder[pos - 1] == '/' || folder[pos - 1] == '\\';
        const size_t end = pos + 3;
        const bool endOk = end == folder.size() || folder[end] == '/' || folder[end] == '\\';
        if (startOk && endOk) {
            cut = pos;
            break;
        }
    }
    return (cut == std::string::npos ? folder : folder.substr(0, cut)) + "data/";
}

std::string GUI_GetResourcePath(const std::string& subFolder) {
    char* base = SDL_GetBasePath();
    if (!base) {
        SDL_Log("Error getting resource path: %s", SDL_GetError());
        return "";
    }
    if (jsFindDataFolder(base).empty())
        jsReportMissingDataFolder();
    std::string path = GUI_ResourcePathFor(base);
    SDL_free(base);
    if (!subFolder.empty())
        path += subFolder + "/";
    return path;
}

std::string GUI_ScaledImageName(const std::string& path, int scale) {
    if (scale == 1)
        return path;
    std::string out;
    size_t from = 0;
    for (size_t pos = path.find(".png"); pos != std::string::npos; pos = path.find(".png", from)) {
        out.append(path, from, pos - from);
        out += "@2x.png";
        from = pos + 4;
    }
    out.append(path, from, std::string::npos);
    return out;
}

namespace {

std::string workingDataPath(const std::string& path) {
    boost::system::error_code ec;
    const auto cwd = boost::filesystem::current_path(ec);
    return (ec ? std::string(".") : cwd.string()) + "/data/" + path;
}

bool isAbsolute(const std::string& path) {
    return !path.empty() && path[0] == '/';
}

}  // namespace

SDL_Texture* GUI_LoadImage(const std::string& path) {
    if (!GUI_renderer)
        return nullptr;
    const std::string full = isAbsolute(path) ? path : GUI_GetResourcePath() + path;
    if (SDL_Texture* t = IMG_LoadTexture(GUI_renderer, full.c_str()))
        return t;
    GUI_LogPrint("Load image %s failed.\n", path.c_str());
    if (isAbsolute(path))
        return nullptr;
    return IMG_LoadTexture(GUI_renderer, workingDataPath(path).c_str());
}

SDL_Texture* GUI_LoadImageScaled(const std::string& path) {
    if (!GUI_renderer)
        return nullptr;
    const std::string scaled = GUI_ScaledImageName(path, GUI_scale);
    const std::string full = isAbsolute(path) ? path : GUI_GetResourcePath() + scaled;
    SDL_Texture* t = IMG_LoadTexture(GUI_renderer, full.c_str());
    if (!t && !isAbsolute(path))
        t = IMG_LoadTexture(GUI_renderer, workingDataPath(path).c_str());
    if (!t)
        GUI_LogPrint("Load image %s failed.\n", scaled.c_str());
    return t;
}

// ---- shared render targets ----

namespace {
std::vector<std::shared_ptr<SDLSmartTexture>>& registry() {
    static std::vector<std::shared_ptr<SDLSmartTexture>> r;
    return r;
}
}  // namespace

SDLSmartTexture::SDLSmartTexture() {
    if (GUI_renderer)
        texture = SDL_CreateTexture(GUI_renderer, SDL_PIXELFORMAT_ARGB8888,
                                    SDL_TEXTUREACCESS_TARGET, Size, Size);
    if (!texture)
        GUI_LogError("SDLSmartTexture") << "SDL_CreateTexture"
                                        << " fail";
}

SDLSmartTexture::~SDLSmartTexture() {
    if (texture) {
        SDL_DestroyTexture(texture);
        texture = nullptr;
        GUI_LogNotice("~SDLSmartTexture()") << "";
    }
}

bool SDLSmartTexture::isValid() const {
    if (!texture)
        return false;
    Uint32 format = 0;
    int access = 0, tw = 0, th = 0;
    if (SDL_QueryTexture(texture, &format, &access, &tw, &th) != 0)
        return false;
    return tw > 0 && th > 0 && format == SDL_PIXELFORMAT_ARGB8888 &&
           access == SDL_TEXTUREACCESS_TARGET;
}

std::shared_ptr<SDLSmartTexture> SDLSmartTexture::add(uint8_t index, unsigned, unsigned) {
    auto& r = registry();
    if (index < r.size() && r[index] && r[index]->isValid())
        return r[index];
    // Kept at its own index, so that get(index) finds it whatever order indices come in.
    if (index >= r.size())
        r.resize(index + 1u);
    r[index] = std::make_shared<SDLSmartTexture>();
    return r[index]->isValid() ? r[index] : nullptr;
}

std::shared_ptr<SDLSmartTexture> SDLSmartTexture::get(uint8_t index) {
    auto& r = registry();
    if (index < r.size() && r[index] && r[index]->isValid())
        return r[index];
    GUI_LogError("requested texture") << static_cast<int>(index) << " not found";
    return nullptr;
}

void SDLSmartTexture::clear() {
    registry().clear();
}

size_t SDLSmartTexture::count() {
    return registry().size();
}
