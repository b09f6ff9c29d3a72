#include "Specimen.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

struct Canvas {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    void dot(int x, int y, uint32_t c) {
        if (x >= 0 && y >= 0 && x < w && y < h)
            px[std::size_t(y) * w + x] = c;
    }
    void line(double x0, double y0, double x1, double y1, uint32_t c) {
        int n = std::max(1, int(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)))));
        for (int i = 0; i <= n; ++i) {
            double t = double(i) / n;
            dot(int(std::lround(x0 + (x1 - x0) * t)), int(std::lround(y0 + (y1 - y0) * t)), c);
        }
    }
    void path(const std::vector<digitizer::Needle>& p, double ox, double oy, double s) {
        const uint32_t ink = 0xFF802010;  // ABGR in memory order of SDL_PIXELFORMAT_ABGR8888
        const uint32_t red = 0xFF0000E0;
        for (std::size_t i = 1; i < p.size(); ++i) {
            const digitizer::Needle& a = p[i - 1];
            const digitizer::Needle& b = p[i];
            if (b.kind == digitizer::Kind::Trim)
                line(ox + b.p.x * s - 2, oy + b.p.y * s, ox + b.p.x * s + 2, oy + b.p.y * s, red);
            if (b.kind == digitizer::Kind::Jump || b.kind == digitizer::Kind::Trim)
                continue;
            line(ox + a.p.x * s, oy + a.p.y * s, ox + b.p.x * s, oy + b.p.y * s, ink);
        }
    }
};

}  // namespace

namespace {

bool savePng(const std::string& pngPath, Canvas& cv) {
    SDL_Surface* surf = SDL_CreateRGBSurfaceWithFormatFrom(cv.px.data(), cv.w, cv.h, 32, cv.w * 4,
                                                           SDL_PIXELFORMAT_ABGR8888);
    if (!surf)
        return false;
    bool ok = IMG_SavePNG(surf, pngPath.c_str()) == 0;
    SDL_FreeSurface(surf);
    return ok;
}

}  // namespace

bool writeFilledOutlines(const std::string& pngPath, const std::vector<digitizer::Ring>& rings,
                         double scale) {
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (const digitizer::Ring& r : rings)
        for (digitizer::Point p : r) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    if (minX > maxX)
        minX = minY = maxX = maxY = 0;
    const double margin = 10;
    Canvas cv;
    cv.w = int((maxX - minX) * scale + 2 * margin) + 1;
    cv.h = int((maxY - minY) * scale + 2 * margin) + 1;
    cv.px.assign(std::size_t(cv.w) * cv.h, 0xFFFFFFFF);
    // One scan line through every pixel row's centre; spans where the winding number is not 0.
    for (int y = 0; y < cv.h; ++y) {
        const double fy = (y + 0.5 - margin) / scale + minY;
        std::vector<std::pair<double, int>> crossings;
        for (const digitizer::Ring& r : rings)
            for (std::size_t k = 0; k < r.size(); ++k) {
                digitizer::Point a = r[k], b = r[(k + 1) % r.size()];
                if ((a.y <= fy) == (b.y <= fy))
                    continue;
                const double x = a.x + (fy - a.y) * (b.x - a.x) / (b.y - a.y);
                crossings.push_back({(x - minX) * scale + margin, b.y > a.y ? 1 : -1});
            }
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        for (std::size_t k = 0; k + 1 < crossings.size(); ++k) {
            winding += crossings[k].second;
            if (winding == 0)
                continue;
            for (int x = int(std::lround(crossings[k].first));
                 x < int(std::lround(crossings[k + 1].first)); ++x)
                cv.dot(x, y, 0xFF000000);
        }
    }
    return savePng(pngPath, cv);
}

bool writeSpecimen(const std::string& pngPath, const std::vector<SpecimenItem>& glyphs,
                   const std::vector<std::vector<digitizer::Needle>>& lines, double scale) {
    double minX = 0, minY = 0, maxX = 1, maxY = 1;
    for (const SpecimenItem& g : glyphs)
        for (const digitizer::Needle& n : g.path) {
            minX = std::min(minX, n.p.x);
            maxX = std::max(maxX, n.p.x);
            minY = std::min(minY, n.p.y);
            maxY = std::max(maxY, n.p.y);
        }
    int cw = int((maxX - minX) * scale) + 12, ch = int((maxY - minY) * scale) + 12;
    int cols = 16;
    int rows = int((glyphs.size() + cols - 1) / cols);
    std::vector<double> lineW, lineMinY, lineH;
    double totalLines = 0;
    for (const auto& l : lines) {
        double a = 1e9, b = -1e9, c = 1e9, d = -1e9;
        for (const digitizer::Needle& n : l) {
            a = std::min(a, n.p.x);
            b = std::max(b, n.p.x);
            c = std::min(c, n.p.y);
            d = std::max(d, n.p.y);
        }
        if (l.empty())
            a = b = c = d = 0;
        lineW.push_back(b - a);
        lineMinY.push_back(c);
        lineH.push_back(d - c);
        totalLines += (d - c) * scale * 2 + 20;
    }
    Canvas cv;
    double widest = lineW.empty() ? 0.0 : *std::max_element(lineW.begin(), lineW.end());
    cv.w = std::max(int(std::min<std::size_t>(cols, glyphs.size())) * cw,
                    int(widest * scale * 2) + 40);
    cv.h = rows * ch + int(totalLines) + 20;
    cv.px.assign(std::size_t(cv.w) * cv.h, 0xFFFFFFFF);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        int cx = int(i % cols) * cw, cy = int(i / cols) * ch;
        for (int x = cx; x < cx + cw; ++x)
            cv.dot(x, cy, 0xFFE0E0E0);
        for (int y = cy; y < cy + ch; ++y)
            cv.dot(cx, y, 0xFFE0E0E0);
        double ox = cx + 6 - minX * scale, oy = cy + 6 - minY * scale;
        cv.line(ox - 3, oy, ox + 3, oy, 0xFFA0A0A0);  // pen origin on the baseline
        for (const digitizer::Ring& r : glyphs[i].outline)
            for (std::size_t k = 0; k < r.size(); ++k) {
                digitizer::Point a = r[k], b = r[(k + 1) % r.size()];
                cv.line(ox + a.x * scale, oy + a.y * scale, ox + b.x * scale, oy + b.y * scale,
                        0xFF2020F0);
            }
        cv.path(glyphs[i].path, ox, oy, scale);
    }
    double y = rows * ch + 20;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        double s = scale * 2;
        double ox = cv.w / 2.0, oy = y - lineMinY[i] * s;
        cv.path(lines[i], ox, oy, s);
        y += lineH[i] * s + 20;
    }
    return savePng(pngPath, cv);
}
