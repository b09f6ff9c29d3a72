#include "digitizer/Fill.h"

#include <limits>

namespace digitizer {

void runAlong(const std::vector<Point>& pts, double step, Kind kind, std::vector<Needle>& out) {
    for (std::size_t i = 1; i < pts.size(); ++i) {
        Point a = pts[i - 1], b = pts[i];
        double len = dist(a, b);
        int n = std::max(1, int(std::ceil(len / step)));
        for (int k = 1; k <= n; ++k)
            out.push_back({a + (b - a) * (double(k) / n), kind});
    }
}

void travel(const Part& part, Point p, const Params& prm, std::vector<Needle>& out,
            const std::vector<std::vector<Point>>& rings) {
    Point from = out.empty() ? p : out.back().p;
    if (part.lineInside(from, p)) {
        runAlong({from, p}, prm.runLength, Kind::Run, out);
        return;
    }
    std::vector<Point> best;
    double bestCost = std::numeric_limits<double>::max();
    for (const std::vector<Point>& ring : rings) {
        std::size_t n = ring.size(), i = 0, j = 0;
        for (std::size_t k = 0; k < n; ++k) {
            if (dist(ring[k], from) < dist(ring[i], from))
                i = k;
            if (dist(ring[k], p) < dist(ring[j], p))
                j = k;
        }
        if (!part.lineInside(from, ring[i]) || !part.lineInside(ring[j], p))
            continue;
        for (int dir : {1, -1}) {
            std::vector<Point> way{from};
            double cost = dist(from, ring[i]) + dist(ring[j], p);
            for (std::size_t k = i;; k = (k + n + std::size_t(dir)) % n) {
                cost += dist(way.back(), ring[k]);
                way.push_back(ring[k]);
                if (k == j)
                    break;
            }
            way.push_back(p);
            if (cost < bestCost) {
                bestCost = cost;
                best = way;
            }
        }
    }
    if (!best.empty())
        runAlong(best, prm.runLength, Kind::Run, out);
    else
        out.push_back({p, Kind::Jump});
}

void fillPart(const Part& part, const Params& prm, Point start, std::vector<Needle>& out) {
    // Edge run just inside the outline: holds the fabric and sharpens the edge.
    ClipperLib::ClipperOffset off;
    off.AddPaths(part.paths, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    ClipperLib::Paths inset;
    off.Execute(inset, -prm.underlayInset * kScale);
    out.push_back({start, Kind::Run});
    std::vector<std::vector<Point>> rings;
    for (const ClipperLib::Path& path : inset) {
        std::vector<Point> ring;
        for (const ClipperLib::IntPoint& q : path)
            ring.push_back({q.X / kScale, q.Y / kScale});
        if (ring.size() >= 3)
            rings.push_back(ring);
    }
    for (std::vector<Point> ring : rings) {
        std::size_t k = 0;
        for (std::size_t i = 0; i < ring.size(); ++i)
            if (dist(ring[i], out.back().p) < dist(ring[k], out.back().p))
                k = i;
        std::rotate(ring.begin(), ring.begin() + long(k), ring.end());
        ring.push_back(ring.front());
        travel(part, ring.front(), prm, out);
        runAlong(ring, prm.runLength, Kind::EdgeRun, out);
    }

    // Rows of intervals inside the outline.
    double minY = 1e18, maxY = -1e18;
    for (const Site& s : part.segments) {
        minY = std::min({minY, s.a.y, s.b.y});
        maxY = std::max({maxY, s.a.y, s.b.y});
    }
    struct Span {
        double x0, x1;
        bool used;
    };
    std::vector<std::vector<Span>> rows;
    std::vector<double> ys;
    for (double y = minY + prm.fillSpacing * 0.5; y < maxY; y += prm.fillSpacing) {
        std::vector<double> xs;
        for (const Site& s : part.segments) {
            if ((s.a.y <= y) == (s.b.y <= y))
                continue;
            xs.push_back(s.a.x + (y - s.a.y) * (s.b.x - s.a.x) / (s.b.y - s.a.y));
        }
        std::sort(xs.begin(), xs.end());
        std::vector<Span> row;
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
            if (xs[i + 1] - xs[i] > prm.minStitch)
                row.push_back({xs[i] + 1.0, xs[i + 1] - 1.0, false});
        rows.push_back(row);
        ys.push_back(y);
    }
    // Blocks of overlapping intervals, sewn back and forth from top to bottom.
    for (int row = 0; row < int(rows.size());) {
        int k = -1;
        for (int i = 0; i < int(rows[row].size()); ++i)
            if (!rows[row][i].used) {
                k = i;
                break;
            }
        if (k < 0) {
            ++row;
            continue;
        }
        bool leftToRight = true;
        Point here = out.back().p;
        if (std::fabs(here.x - rows[row][k].x1) < std::fabs(here.x - rows[row][k].x0))
            leftToRight = false;
        int r = row;
        while (k >= 0) {
            Span& sp = rows[r][k];
            sp.used = true;
            double y = ys[r];
            double a = leftToRight ? sp.x0 : sp.x1, b = leftToRight ? sp.x1 : sp.x0;
            travel(part, {a, y}, prm, out, rings);
            // Brick pattern: penetrations on a grid shifted by a third each row.
            double shift = prm.fillLength * double(r % 3) / 3.0;
            std::vector<double> cuts;
            double first =
                std::floor((std::min(a, b) - shift) / prm.fillLength) * prm.fillLength + shift;
            for (double x = first; x < std::max(a, b); x += prm.fillLength)
                if (x > std::min(a, b) + prm.minStitch && x < std::max(a, b) - prm.minStitch)
                    cuts.push_back(x);
            if (!leftToRight)
                std::reverse(cuts.begin(), cuts.end());
            for (double x : cuts)
                out.push_back({{x, y}, Kind::Fill});
            out.push_back({{b, y}, Kind::Fill});
            // Next row: an unused interval overlapping this one.
            k = -1;
            if (r + 1 < int(rows.size())) {
                for (int i = 0; i < int(rows[r + 1].size()); ++i) {
                    const Span& n = rows[r + 1][i];
                    if (!n.used && n.x0 < sp.x1 && n.x1 > sp.x0) {
                        k = i;
                        break;
                    }
                }
            }
            ++r;
            leftToRight = !leftToRight;
        }
    }
}

}  // namespace digitizer
