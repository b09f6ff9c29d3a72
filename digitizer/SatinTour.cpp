#include "digitizer/SatinTour.h"

namespace digitizer {

// The pieces of a walk over the component that holds start, ending at start again.
void Tour::walk(int start) {
    visited_.assign(g_.pos.size(), false);
    used_.assign(g_.edges.size(), false);
    dfs(start, -1);
}

// Turns the pieces into needle points.
void Tour::stitch(std::vector<Needle>& out) const {
    double runCarry = 0.0;
    bool lastSatin = false;
    bool haveRib = false;  // the last rib of the current satin stretch
    Point lastP, lastFa, lastFb;
    for (const Piece& pc : pieces) {
        Point d = pc.b - pc.a;
        double len = length(d);
        if (pc.satin != lastSatin) {
            haveRib = false;
            runCarry = 0.0;
            lastSatin = pc.satin;
        }
        if (len < 1e-9)
            continue;
        Point u = d * (1.0 / len);
        if (!pc.satin) {
            // Running stitch: points every runLength, and the piece's end.
            // Running stitch: points every runLength and at bends of the axis, kept away
            // from the outline so that the satin over it hides it (corners are skipped).
            double s = prm_.runLength - runCarry;
            while (s < len) {
                Point p = pc.a + u * s;
                if (keepRun(p, out))
                    out.push_back({p, Kind::Run});
                s += prm_.runLength;
            }
            runCarry = len - (s - prm_.runLength);
            if (runCarry >= prm_.minStitch && keepRun(pc.b, out)) {
                out.push_back({pc.b, Kind::Run});
                runCarry = 0.0;
            }
            continue;
        }
        // Ribs wherever the axis or either foot has moved a satin spacing since the last
        // rib, so that fans around corners and the outer side of bends stay dense.
        const double h = prm_.satinSpacing / 4.0;
        int steps = std::max(1, int(std::ceil(len / h)));
        for (int i = 0; i <= steps; ++i) {
            Point p = pc.a + u * (len * i / steps);
            Point fa, fb;
            if (!ribs(pc, p, u, fa, fb))
                continue;
            if (cross(u, fa - p) < 0.0)
                std::swap(fa, fb);
            // Judged as stored: needle points are kept in whole 0.1 mm.
            fa = {std::round(fa.x), std::round(fa.y)};
            fb = {std::round(fb.x), std::round(fb.y)};
            // Where the axis piece is a chord of a curved Voronoi edge its feet can lie far
            // beyond the nearest outline: no rib there.
            double c = part_.clearance(p);
            if ((pc.edge >= 0 && std::max(dist(p, fa), dist(p, fb)) > 1.5 * c + 1.0) ||
                dist(fa, fb) > prm_.maxSatinSpan * 1.1)
                continue;
            if (dist(fa, fb) < prm_.minSatinSpan) {
                // Too narrow for satin: a running stitch along the axis, but not into
                // the very tip of a corner.
                if (c >= 0.5 && (!haveRib || dist(p, lastP) >= prm_.runLength * 0.75)) {
                    out.push_back({p, Kind::Run});
                    lastP = p;
                    lastFa = lastFb = p;
                    haveRib = true;
                }
                continue;
            }
            if (haveRib &&
                std::max({dist(p, lastP), dist(fa, lastFa), dist(fb, lastFb)}) < prm_.satinSpacing)
                continue;
            out.push_back({fa, Kind::Satin});
            out.push_back({fb, Kind::Satin});
            lastP = p;
            lastFa = fa;
            lastFb = fb;
            haveRib = true;
        }
    }
}

// Underlay keeps off the outline, unless skipping would make its stitch too long.
bool Tour::keepRun(Point p, const std::vector<Needle>& out) const {
    return part_.clearance(p) >= prm_.underlayInset || out.empty() ||
           dist(out.back().p, p) >= prm_.runLength * 0.9;
}

bool Tour::ribs(const Piece& pc, Point p, Point u, Point& fa, Point& fb) const {
    if (pc.edge >= 0) {
        fa = foot(g_.edges[pc.edge].sa, p);
        fb = foot(g_.edges[pc.edge].sb, p);
        return true;
    }
    Point n{-u.y, u.x};
    double maxT = 2.0 * prm_.maxSatinSpan;
    return part_.ray(p, n, maxT, fa) && part_.ray(p, n * -1.0, maxT, fb);
}

void Tour::dfs(int v, int fromEdge) {
    visited_[v] = true;
    for (int e : g_.adj[v]) {
        if (!g_.edges[e].alive || used_[e])
            continue;
        used_[e] = true;
        int w = g_.other(e, v);
        pieces.push_back({g_.pos[v], g_.pos[w], e, false});
        if (!visited_[w])
            dfs(w, e);
        pieces.push_back({g_.pos[w], g_.pos[v], e, true});
    }
    if (g_.degree[v] == 1)
        cap(v);
}

// The round or blunt end of a stroke beyond the last vertex of its axis: the axis is
// carried on straight and the ribs found by casting rays across it.
void Tour::cap(int v) {
    double r = g_.radius[v];
    if (r < prm_.minSatinSpan * 0.5)
        return;
    // Direction of the axis, taken over a stretch about as long as the radius.
    std::vector<int> chain;
    int cur = v, prev = -1;
    double walked = 0.0;
    Point back = g_.pos[v];
    while (walked < r) {
        int next = -1;
        for (int e : g_.adj[cur])
            if (g_.edges[e].alive && e != prev) {
                next = e;
                break;
            }
        if (next < 0)
            break;
        int w = g_.other(next, cur);
        walked += dist(g_.pos[cur], g_.pos[w]);
        back = g_.pos[w];
        prev = next;
        cur = w;
        if (g_.degree[cur] != 2)
            break;
    }
    Point t = unit(g_.pos[v] - back);
    Point n{-t.y, t.x};
    double reach = 0.0;
    for (double s = prm_.satinSpacing; s <= 1.2 * r; s += prm_.satinSpacing) {
        Point p = g_.pos[v] + t * s, fa, fb;
        if (!part_.inside(p) || !part_.ray(p, n, 1.6 * r, fa) ||
            !part_.ray(p, n * -1.0, 1.6 * r, fb) || dist(fa, fb) < prm_.minSatinSpan)
            break;
        reach = s;
    }
    if (reach <= 0.0)
        return;
    Point end = g_.pos[v] + t * reach;
    pieces.push_back({g_.pos[v], end, -1, false});
    pieces.push_back({end, g_.pos[v], -1, true});
}

}  // namespace digitizer
