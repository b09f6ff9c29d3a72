#include "digitizer/Quality.h"

#include <algorithm>
#include <cmath>

namespace digitizer {

namespace {

bool visible(Kind k) {
    return k != Kind::Jump && k != Kind::Trim;
}

double segDist(double px, double py, Point a, Point b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

}  // namespace

Quality measure(const std::vector<Ring>& outline, const std::vector<Needle>& rawPath,
                const Params& params) {
    Quality q;
    std::vector<Needle> path = rawPath;
    for (Needle& n : path)
        n.p = {std::round(n.p.x), std::round(n.p.y)};
    q.parts = int(outlineParts(outline).size());

    // Stitch figures.
    std::vector<double> spacings;
    // path[0] is the entry movement and is not counted.
    for (std::size_t i = 1; i < path.size(); ++i) {
        const Needle& a = path[i - 1];
        const Needle& b = path[i];
        double len = std::hypot(b.p.x - a.p.x, b.p.y - a.p.y);
        if (!visible(b.kind)) {
            ++q.jumps;
            if (b.kind == Kind::Trim)
                ++q.trims;
            continue;
        }
        if (len == 0.0)
            continue;
        ++q.stitches;
        if (b.kind != Kind::Lock && a.kind != Kind::Lock && len < params.minStitch - 1e-9)
            ++q.shortStitches;
        if (b.kind == Kind::Satin && a.kind == Kind::Satin) {
            q.minSpan = q.satinStitches ? std::min(q.minSpan, len) : len;
            q.maxSpan = std::max(q.maxSpan, len);
            ++q.satinStitches;
            if (i + 2 < path.size() && path[i + 1].kind == Kind::Satin &&
                path[i + 2].kind == Kind::Satin) {
                Point m0{(a.p.x + b.p.x) / 2, (a.p.y + b.p.y) / 2};
                Point m1{(path[i + 1].p.x + path[i + 2].p.x) / 2,
                         (path[i + 1].p.y + path[i + 2].p.y) / 2};
                spacings.push_back(std::hypot(m1.x - m0.x, m1.y - m0.y));
            }
        } else if (b.kind != Kind::Lock && b.kind != Kind::Satin) {
            q.maxRun = std::max(q.maxRun, len);
        }
    }
    if (!spacings.empty()) {
        std::sort(spacings.begin(), spacings.end());
        // The outer tenth at either end are bends and column ends.
        std::size_t lo = spacings.size() / 10, hi = spacings.size() - 1 - spacings.size() / 10;
        q.minSpacing = spacings[lo];
        q.maxSpacing = spacings[hi];
        q.medianSpacing = spacings[spacings.size() / 2];
    }

    // Rasters at 0.1 mm over the outline and the stitches, with a margin for the thread.
    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
    for (const Ring& r : outline)
        for (Point p : r) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    for (const Needle& n : path) {
        minX = std::min(minX, n.p.x);
        maxX = std::max(maxX, n.p.x);
        minY = std::min(minY, n.p.y);
        maxY = std::max(maxY, n.p.y);
    }
    if (minX > maxX)
        return q;
    int x0 = int(std::floor(minX)) - 4, y0 = int(std::floor(minY)) - 4;
    int w = int(std::ceil(maxX)) + 5 - x0, h = int(std::ceil(maxY)) + 5 - y0;
    if (w <= 0 || h <= 0 || double(w) * h > 4e7)
        return q;
    std::vector<uint8_t> ink(std::size_t(w) * h, 0), thread(std::size_t(w) * h, 0);
    // Outline by the non-zero rule at pixel centres.
    for (int j = 0; j < h; ++j) {
        double y = y0 + j + 0.5;
        std::vector<std::pair<double, int>> xs;
        for (const Ring& r : outline)
            for (std::size_t i = 0; i < r.size(); ++i) {
                Point a = r[i], b = r[(i + 1) % r.size()];
                if ((a.y <= y) == (b.y <= y))
                    continue;
                xs.push_back({a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y), b.y > a.y ? 1 : -1});
            }
        std::sort(xs.begin(), xs.end());
        int wind = 0;
        for (std::size_t k = 0; k + 1 < xs.size(); ++k) {
            wind += xs[k].second;
            if (wind == 0)
                continue;
            for (int i = std::max(0, int(std::ceil(xs[k].first - x0 - 0.5)));
                 i < w && x0 + i + 0.5 < xs[k + 1].first; ++i)
                ink[std::size_t(j) * w + i] = 1;
        }
    }
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (!visible(path[i].kind))
            continue;
        Point a = path[i - 1].p, b = path[i].p;
        int ia = std::max(0, int(std::min(a.x, b.x)) - 3 - x0);
        int ib = std::min(w - 1, int(std::max(a.x, b.x)) + 3 - x0);
        int ja = std::max(0, int(std::min(a.y, b.y)) - 3 - y0);
        int jb = std::min(h - 1, int(std::max(a.y, b.y)) + 3 - y0);
        for (int j = ja; j <= jb; ++j)
            for (int k = ia; k <= ib; ++k)
                if (segDist(x0 + k + 0.5, y0 + j + 0.5, a, b) <= 2.0)
                    thread[std::size_t(j) * w + k] = 1;
    }
    int inkCount = 0, covered = 0, threadCount = 0, out = 0;
    for (int j = 0; j < h; ++j)
        for (int k = 0; k < w; ++k) {
            std::size_t at = std::size_t(j) * w + k;
            if (ink[at]) {
                ++inkCount;
                covered += thread[at];
            }
            if (!thread[at])
                continue;
            ++threadCount;
            bool near = false;
            for (int dj = -2; dj <= 2 && !near; ++dj)
                for (int dk = -2; dk <= 2 && !near; ++dk) {
                    int jj = j + dj, kk = k + dk;
                    if (dj * dj + dk * dk <= 4 && jj >= 0 && jj < h && kk >= 0 && kk < w &&
                        ink[std::size_t(jj) * w + kk])
                        near = true;
                }
            if (!near)
                ++out;
        }
    q.inkPixels = inkCount;
    q.coverage = inkCount ? double(covered) / inkCount : 1.0;
    q.outside = threadCount ? double(out) / threadCount : 0.0;
    return q;
}

}  // namespace digitizer
