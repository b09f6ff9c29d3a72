// Sections: screen mapping and pure rules; shared resources; layer textures; thumbnails; the
// canvas (layers, jump lines, background, rulers).

#include "design/StitchRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "gui/Draw.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Log.h"

// ---- Screen mapping and pure rules -------------------------------------------------------------

int CanvasView::offsetX() const {
    return static_cast<int>((float(scale) * float(panX) + float(viewportW)) / zoom * 0.5f);
}

int CanvasView::offsetY() const {
    return static_cast<int>((float(scale) * float(panY) + float(viewportH)) / zoom * 0.5f);
}

namespace stitchrender {

namespace {

constexpr int kSpriteCount = 5;
constexpr int kSpriteHeight = 50;
constexpr int kLabelMin = -60, kLabelMax = 60;
constexpr SDL_Color kJumpColor = {192, 192, 192, 255};
constexpr SDL_Color kSelectionColor = {0, 0, 0, 255};
constexpr SDL_Color kWorkAreaColor = {210, 210, 210, 255};
constexpr SDL_Color kHoopColor = {234, 234, 234, 255};
constexpr SDL_Color kGridColor = {180, 180, 180, 255};
constexpr SDL_Color kCentreLineColor = {142, 142, 142, 255};
constexpr SDL_Color kRulerBandColor = {228, 184, 0, 255};
constexpr SDL_Color kTickColor = {64, 64, 64, 255};

bool within(float z, float lo, float hi) {
    return z >= lo && z <= hi;
}

// The shared resources: one set for the whole program, created on first use and released at
// shutdown (see the header).
struct Label {
    SDL_Texture* texture = nullptr;
    SDL_Rect rect = {0, 0, 0, 0};
};
struct Resources {
    SDL_Texture* sprites[kSpriteCount] = {};
    SDL_Texture* lightMap = nullptr;
    std::map<int, Label> labels;
    bool ready = false;
};
Resources& res() {
    static Resources r;
    return r;
}

SDL_Color toSdl(Rgba c) {
    return SDL_Color{c.r, c.g, c.b, c.a};
}

void setDrawColor(SDL_Color c) {
    SDL_SetRenderDrawColor(GUI_renderer, c.r, c.g, c.b, c.a);
}

void destroyLabels() {
    for (auto& kv : res().labels)
        if (kv.second.texture)
            SDL_DestroyTexture(kv.second.texture);
    res().labels.clear();
}

}  // namespace

SpriteChoice spriteFor(float length) {
    SpriteChoice c;
    c.width = static_cast<int>(std::ceil(length));
    c.sprite = std::min(c.width / 10, kSpriteCount - 1);
    c.sprite = std::max(c.sprite, 0);
    return c;
}

bool rulerLabelShown(int q, float z) {
    q = std::abs(q);
    if (within(z, 0.75f, 3.0f))
        return true;
    if (within(z, 0.5f, 0.7499f))
        return q % 2 == 0;
    if (within(z, 0.4f, 0.4999f))
        return q % 3 == 0;
    if (within(z, 0.25f, 0.3999f))
        return q % 4 == 0;
    return false;
}

bool minorTickShown(int i, float z) {
    if (within(z, 0.75f, 3.0f))
        return true;
    if (within(z, 0.4f, 0.7499f) || within(z, 0.25f, 0.3999f))
        return i % 2 == 0;
    return false;
}

int majorTickLength(int q, float z, int s) {
    return (std::abs(q) % 2 == 1 && within(z, 0.3f, 0.3999f)) ? 8 * s : 12 * s;
}

SDL_Rect layerScreenRect(const PESData& l, const CanvasView& v) {
    const float z = v.zoom;
    SDL_Rect r;
    // A layer without stitches keeps its start bounds (largest int32): no overflow on the way.
    r.x = static_cast<int>(std::clamp(double(int64_t(l.minX) + v.offsetX()) * z, -1e9, 1e9));
    r.y = static_cast<int>(std::clamp(double(int64_t(l.minY) + v.offsetY()) * z, -1e9, 1e9));
    r.w = static_cast<int>(float(std::max(l.boundsWidth, 0)) * z);
    r.h = static_cast<int>(float(std::max(l.boundsHeight, 0)) * z);
    return r;
}

// ---- Shared resources -----------------------------------------------------------------------

bool stitchResourcesReady() {
    return res().ready;
}

int rulerLabelCount() {
    return static_cast<int>(res().labels.size());
}

bool createStitchResources() {
    Resources& r = res();
    if (r.ready)
        return true;
    if (!GUI_renderer)
        return false;
    if (r.lightMap)
        SDL_DestroyTexture(r.lightMap);
    r.lightMap = GUI_LoadImage("lightmap.png");
    if (r.lightMap) {
        SDL_SetTextureBlendMode(r.lightMap, SDL_BLENDMODE_BLEND);
        SDL_SetTextureAlphaMod(r.lightMap, 128);
    }

    SDL_Texture* previous = SDL_GetRenderTarget(GUI_renderer);
    for (int k = 0; k < kSpriteCount; ++k) {
        const int W = 100 * (k + 1);
        if (r.sprites[k])
            SDL_DestroyTexture(r.sprites[k]);
        r.sprites[k] = SDL_CreateTexture(GUI_renderer, SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_TARGET, W, kSpriteHeight);
        if (!r.sprites[k]) {
            GUI_LogError("stitch sprites") << SDL_GetError();
            SDL_SetRenderTarget(GUI_renderer, previous);
            return false;
        }
        SDL_SetTextureBlendMode(r.sprites[k], SDL_BLENDMODE_BLEND);
        SDL_SetRenderTarget(GUI_renderer, r.sprites[k]);
        SDL_SetRenderDrawColor(GUI_renderer, 0, 0, 0, 0);
        SDL_RenderClear(GUI_renderer);
        for (int i = 0; i <= 16; ++i) {
            SDL_Color c;
            if (i == 0)
                c = {0, 0, 0, 0};
            else if (i <= 3)
                c = {0, 0, 0, static_cast<Uint8>(31 * i)};
            else if (i <= 15)
                c = {static_cast<Uint8>(92 + 9 * i), static_cast<Uint8>(92 + 9 * i),
                     static_cast<Uint8>(92 + 9 * i), 255};
            else
                c = {255, 255, 255, 255};
            GUI_FillRoundRect(i, i, W - 2 * i, kSpriteHeight - 2 * i, 25 - i, c);
        }
    }
    r.ready = true;

    destroyLabels();
    // Without the text fonts (tools, tests) the labels stay empty and the rulers show ticks only.
    TTF_Font* font = GUI_fonts[2];
    if (!font)
        GUI_LogPrint("CreateTitle Texture failed.\n");
    for (int v = kLabelMin; v <= kLabelMax && font; ++v) {
        std::string text = std::to_string(v * 10);
        if (text.empty())
            text = " ";
        Label label;
        int w = 0, h = 0;
        label.texture = GUI_RenderText(font, text, {255, 255, 255, 255}, &w, &h);
        label.rect = {0, 0, w, h};
        if (!label.texture) {
            GUI_LogPrint("CreateTitle Texture failed.\n");
        } else {
            SDL_SetTextureColorMod(label.texture, 64, 64, 64);
            SDL_SetTextureBlendMode(label.texture, SDL_BLENDMODE_BLEND);
        }
        r.labels[v] = label;
    }
    SDL_SetRenderTarget(GUI_renderer, previous);
    return true;
}

void dropStitchSprites() {
    Resources& r = res();
    for (auto& s : r.sprites) {
        if (s)
            SDL_DestroyTexture(s);
        s = nullptr;
    }
    r.ready = false;
}

void releaseStitchResources() {
    Resources& r = res();
    if (r.lightMap)
        SDL_DestroyTexture(r.lightMap);
    r.lightMap = nullptr;
    destroyLabels();
    dropStitchSprites();
}

// ---- Layer textures -------------------------------------------------------------------------

namespace {

// A stitch is drawn from the previous record to this one unless this one is a movement.
bool isMovement(const Stitch& s) {
    return s.longForm && s.type != pec::kNormal;  // a jump or trim is a movement, not a stitch
}

// The layer's stitches in texture units (design point + (ox, oy)) at the renderer's current
// scale: thread sprites (with the light map in display mode 1) or, in display mode 2, lines.
void drawStitchSprites(const PESData& layer, float ox, float oy, int displayMode) {
    Resources& r = res();
    for (const StitchBlock& b : layer.blocks) {
        if (displayMode != 2) {
            for (SDL_Texture* s : r.sprites)
                if (s)
                    SDL_SetTextureColorMod(s, b.color.r, b.color.g, b.color.b);
        } else {
            SDL_SetRenderDrawColor(GUI_renderer, b.color.r, b.color.g, b.color.b, 255);
        }
        for (std::size_t i = 1; i < b.stitches.size(); ++i) {
            const Stitch& s = b.stitches[i];
            const Stitch& p = b.stitches[i - 1];
            if (isMovement(s))
                continue;
            const float X1 = float(p.x) + ox, Y1 = float(p.y) + oy;
            const float X2 = float(s.x) + ox, Y2 = float(s.y) + oy;
            if (displayMode == 2) {
                SDL_RenderDrawLine(GUI_renderer, int(X1), int(Y1), int(X2), int(Y2));
                continue;
            }
            const float L = std::sqrt((X1 - X2) * (X1 - X2) + (Y1 - Y2) * (Y1 - Y2));
            const double angle = std::atan2(Y2 - Y1, X2 - X1) * 57.29577951308232;
            const SpriteChoice c = spriteFor(L);
            const SDL_Rect dst = {int((X1 + X2) / 2 - L / 2), int((Y1 + Y2) / 2 - 2), c.width, 4};
            if (r.sprites[c.sprite])
                SDL_RenderCopyEx(GUI_renderer, r.sprites[c.sprite], nullptr, &dst, angle, nullptr,
                                 SDL_FLIP_NONE);
            if (displayMode == 1 && r.lightMap)
                SDL_RenderCopyEx(GUI_renderer, r.lightMap, nullptr, &dst, angle, nullptr,
                                 SDL_FLIP_NONE);
        }
    }
}

}  // namespace

void renderStitches(const PESData& layer, SDL_Texture* target, int displayMode) {
    if (!target || !GUI_renderer)
        return;
    createStitchResources();
    SDL_SetRenderTarget(GUI_renderer, target);
    const SDL_Rect clip = {0, 0, 2048, 2048};
    SDL_RenderSetClipRect(GUI_renderer, &clip);
    SDL_SetRenderDrawBlendMode(GUI_renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(GUI_renderer, 0, 0, 0, 0);
    SDL_RenderClear(GUI_renderer);
    if (layer.stitchCount > 0) {
        const float ox = std::round(2.5 - double(layer.minX));
        const float oy = std::round(2.5 - double(layer.minY));
        SDL_RenderSetScale(GUI_renderer, layer.offScreenScale, layer.offScreenScale);
        drawStitchSprites(layer, ox, oy, displayMode);
        SDL_RenderSetScale(GUI_renderer, 1.0f, 1.0f);
    }
    SDL_RenderSetClipRect(GUI_renderer, nullptr);
    SDL_SetRenderTarget(GUI_renderer, nullptr);
}

// ---- Thumbnails -----------------------------------------------------------------------------

namespace {

constexpr float kThreadWidth = 4.0f;  // a sprite's height in texture units (0.1 mm)
// Beyond this many stitches sprites (a rotated copy each, about 1.5 microseconds) would keep a
// file manager waiting, and the overdraw of so dense a design hides their shading anyway.
constexpr int64_t kMaxSpriteStitches = 25000;

// Every stitch of the layer as a line of its thread colour, in pixels. A stretch of stitches
// between two movements is one polyline; points that round to the pixel of the point before add
// nothing and are left out, which keeps a million stitches in a small picture quick.
void drawStitchLines(const PESData& layer, const ThumbnailFit& fit, std::vector<SDL_Point>& run) {
    std::size_t records = 0;  // records in the current stretch; one record is no stitch yet
    auto flush = [&run, &records] {
        if (run.size() > 1)
            SDL_RenderDrawLines(GUI_renderer, run.data(), int(run.size()));
        else if (records > 1)  // stitches smaller than a pixel still leave their dot
            SDL_RenderDrawPoint(GUI_renderer, run[0].x, run[0].y);
        run.clear();
        records = 0;
    };
    for (const StitchBlock& b : layer.blocks) {
        SDL_SetRenderDrawColor(GUI_renderer, b.color.r, b.color.g, b.color.b, 255);
        for (std::size_t i = 0; i < b.stitches.size(); ++i) {
            const Stitch& s = b.stitches[i];
            if (i > 0 && isMovement(s))
                flush();
            const SDL_Point p = {int((float(s.x) + fit.ox) * fit.scale),
                                 int((float(s.y) + fit.oy) * fit.scale)};
            if (run.empty() || run.back().x != p.x || run.back().y != p.y)
                run.push_back(p);
            ++records;
        }
        flush();
    }
}

}  // namespace

ThumbnailFit fitThumbnail(int64_t minX, int64_t minY, int64_t maxX, int64_t maxY, int size) {
    ThumbnailFit fit;
    size = std::max(size, 1);
    const double w = double(std::max<int64_t>(maxX - minX, 0)) + kThreadWidth;
    const double h = double(std::max<int64_t>(maxY - minY, 0)) + kThreadWidth;
    const double scale = double(size) / std::max(w, h);
    fit.scale = float(scale);
    fit.w = std::clamp(int(std::lround(w * scale)), 1, size);
    fit.h = std::clamp(int(std::lround(h * scale)), 1, size);
    fit.ox = float(double(kThreadWidth) / 2 - double(minX));
    fit.oy = float(double(kThreadWidth) / 2 - double(minY));
    return fit;
}

bool thumbnailUsesSprites(float scale, int64_t stitches) {
    return kThreadWidth * scale >= 2.0f && stitches <= kMaxSpriteStitches;
}

void drawThumbnail(const std::vector<const PESData*>& layers, const ThumbnailFit& fit) {
    if (!GUI_renderer)
        return;
    SDL_SetRenderDrawBlendMode(GUI_renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(GUI_renderer, 0, 0, 0, 0);
    SDL_RenderClear(GUI_renderer);
    int64_t stitches = 0;
    for (const PESData* l : layers)
        stitches += l->stitchCount;
    if (thumbnailUsesSprites(fit.scale, stitches) && createStitchResources()) {
        SDL_SetRenderDrawBlendMode(GUI_renderer, SDL_BLENDMODE_BLEND);
        SDL_RenderSetScale(GUI_renderer, fit.scale, fit.scale);
        for (const PESData* l : layers)
            drawStitchSprites(*l, fit.ox, fit.oy, 0);
        SDL_RenderSetScale(GUI_renderer, 1.0f, 1.0f);
        return;
    }
    std::vector<SDL_Point> run;
    for (const PESData* l : layers)
        drawStitchLines(*l, fit, run);
}

// ---- The canvas -----------------------------------------------------------------------------

void drawStitchLine(const Stitch& from, const Stitch& to, const CanvasView& v, SDL_Color color) {
    if (!GUI_renderer)
        return;
    const int ox = v.offsetX(), oy = v.offsetY();
    SDL_RenderSetScale(GUI_renderer, v.zoom, v.zoom);
    setDrawColor(color);
    SDL_RenderDrawLineF(GUI_renderer, float(from.x + ox), float(from.y + oy), float(to.x + ox),
                        float(to.y + oy));
    SDL_RenderSetScale(GUI_renderer, 1.0f, 1.0f);
}

void drawLayer(const PESData& l, SDL_Texture* texture, const RenderSettings& settings,
               const CanvasView& v) {
    // A layer without a texture of its own is not drawn at all, never from another's texture.
    if (!texture || !GUI_renderer || l.stitchCount == 0)
        return;
    const SDL_Rect src = {0, 0, int(float(std::max(l.boundsWidth, 0) + 5) * l.offScreenScale),
                          int(float(std::max(l.boundsHeight, 0) + 5) * l.offScreenScale)};
    const SDL_Rect dst = layerScreenRect(l, v);
    if (l.previewAngle != 0.0f) {
        SDL_SetTextureAlphaMod(texture, 255);
        SDL_RenderCopyEx(GUI_renderer, texture, &src, &dst, l.previewAngle, nullptr, SDL_FLIP_NONE);
        return;
    }
    const SDL_Rect window = {0, 0, v.windowW, v.windowH};
    if (SDL_HasIntersection(&dst, &window)) {
        SDL_RenderCopy(GUI_renderer, texture, &src, &dst);
        if (settings.showJumpStitches && !l.dragging && !l.longStitchList.empty()) {
            for (std::size_t n = 0; n + 1 < l.longStitchList.size(); n += 2) {
                const int b = l.longStitchList[n], k = l.longStitchList[n + 1];
                if (b < 0 || std::size_t(b) >= l.blocks.size())
                    continue;
                const auto& st = l.blocks[b].stitches;
                if (k < 0 || std::size_t(k) >= st.size())
                    continue;
                if (b > 0 && k == 0 && !l.blocks[b - 1].stitches.empty())
                    drawStitchLine(l.blocks[b - 1].stitches.back(), st[0], v, kJumpColor);
                else if (k > 0)
                    drawStitchLine(st[k - 1], st[k], v, toSdl(l.blocks[b].color));
            }
        }
    }
    if (l.highlighted)
        GUI_DrawRect(dst.x, dst.y, dst.w, dst.h, kSelectionColor);
}

void drawCanvasBackground(const RenderSettings& settings, const CanvasView& v) {
    if (!GUI_renderer)
        return;
    const float z = v.zoom;
    const int cx = v.centreX(), cy = v.centreY();
    const SDL_Rect area = {int(std::lround(cx - 3600 * 0.5 * z)),
                           int(std::lround(cy - 3600 * 0.5 * z)), int(std::lround(3600 * z)),
                           int(std::lround(3600 * z))};
    SDL_SetRenderDrawBlendMode(GUI_renderer, SDL_BLENDMODE_NONE);
    setDrawColor(kWorkAreaColor);
    if (SDL_RenderFillRect(GUI_renderer, &area) != 0)
        GUI_LogPrint("gfx_utils fn: \"%s\" error: %x (%d).\n", "GUI_FillRect", 0, -1);

    const double hw = settings.hoopWidth * 10.0, hh = settings.hoopHeight * 10.0;
    GUI_FillRoundRect(int(cx - hw * 0.5 * z), int(cy - hh * 0.5 * z), int(hw * z), int(hh * z), 32,
                      kHoopColor);

    if (!settings.showGrid)
        return;
    const int n = 360 / 10 + 1;
    setDrawColor(kGridColor);
    for (int i = 0; i < n; ++i) {
        const int y = int(cy - (n / 2) * 100 * z + i * 100 * z);
        if (y >= area.y && y <= area.y + area.h)
            SDL_RenderDrawLine(GUI_renderer, area.x, y, area.x + area.w, y);
        const int x = int(cx - (n / 2) * 100 * z + i * 100 * z);
        if (x >= area.x && x <= area.x + area.w)
            SDL_RenderDrawLine(GUI_renderer, x, area.y, x, area.y + area.h);
    }
    setDrawColor(kCentreLineColor);
    SDL_RenderDrawLine(GUI_renderer, area.x, cy, area.x + area.w, cy);
    SDL_RenderDrawLine(GUI_renderer, cx, area.y, cx, area.y + area.h);
}

void drawRulers(const RenderSettings& settings, const CanvasView& v) {
    if (!settings.showRulers || !GUI_renderer)
        return;
    const int s = v.scale;
    const float z = v.zoom;
    const int band = 25 * s;
    const double cx = v.centreX(), cy = v.centreY();
    SDL_RenderSetScale(GUI_renderer, 1.0f, 1.0f);
    SDL_SetRenderDrawBlendMode(GUI_renderer, SDL_BLENDMODE_NONE);
    setDrawColor(kRulerBandColor);
    const SDL_Rect top = {0, 0, v.windowW, band}, left = {0, 0, band, v.windowH};
    SDL_RenderFillRect(GUI_renderer, &top);
    SDL_RenderFillRect(GUI_renderer, &left);

    auto topTick = [&](double x, int len) {
        const int xi = int(x);
        if (xi >= 0 && xi <= v.windowW) {
            setDrawColor(kTickColor);
            SDL_RenderDrawLine(GUI_renderer, xi, 8 * s, xi, 8 * s + len - 1);
        }
        return xi >= 0 && xi <= v.windowW;
    };
    auto leftTick = [&](double y, int len) {
        const int yi = int(y);
        const bool in = yi >= band + 1 && yi <= v.windowH;
        if (in) {
            setDrawColor(kTickColor);
            SDL_RenderDrawLine(GUI_renderer, 8 * s, yi, 8 * s + len - 1, yi);
        }
        return in;
    };
    const auto& labels = res().labels;
    for (int q = 0; q <= 60; ++q) {
        for (int sign : {1, -1}) {
            if (q == 0 && sign < 0)
                continue;
            const int len = majorTickLength(q, z, s);
            const double x = cx + sign * q * 100.0 * z;
            const double y = cy + sign * q * 100.0 * z;
            const bool showLabel = rulerLabelShown(q, z);
            auto it = labels.find(sign * q);
            const SDL_Texture* none = nullptr;
            const bool haveLabel = it != labels.end() && it->second.texture != none;
            if (topTick(x, len) && showLabel && haveLabel) {
                const SDL_Rect& lr = it->second.rect;
                const SDL_Rect dst = {int(x + 3 * s), band - lr.h, lr.w, lr.h};
                SDL_RenderCopy(GUI_renderer, it->second.texture, nullptr, &dst);
            }
            if (leftTick(y, len) && showLabel && haveLabel) {
                const SDL_Rect& lr = it->second.rect;
                const SDL_Rect dst = {int(band - (lr.w + lr.h) / 2.0),
                                      int(y - 3 * s - (lr.w + lr.h) / 2.0), lr.w, lr.h};
                if (sign > 0 || dst.y >= band + 1)
                    SDL_RenderCopyEx(GUI_renderer, it->second.texture, nullptr, &dst, 90.0, nullptr,
                                     SDL_FLIP_NONE);
            }
            if (q == 60)
                continue;
            for (int i = 1; i <= 9; ++i) {
                if (!minorTickShown(i, z))
                    continue;
                const int mlen = (i == 5 ? 8 : 4) * s;
                topTick(double(std::lround(x + sign * i * 10.0 * z)), mlen);
                leftTick(double(std::lround(y + sign * i * 10.0 * z)), mlen);
            }
        }
    }
}

}  // namespace stitchrender
