// The digitizer's driver: parts of the outline in order, each sewn as satin columns along its
// medial axis (SatinTour) or as fill (Fill), joined by trims with lock stitches.
#include "digitizer/Digitizer.h"

#include <cmath>
#include <limits>

#include "digitizer/Fill.h"
#include "digitizer/MedialAxis.h"
#include "digitizer/Patch.h"
#include "digitizer/Quality.h"
#include "digitizer/Router.h"
#include "digitizer/SatinTour.h"

namespace digitizer {

namespace {

// Drops stitches shorter than the minimum (movements and lock stitches excepted), and satin
// stitches too short to span a column: those are left where pieces of the walk meet, and would
// only bunch up.
void dropShort(std::vector<Needle>& path, const Params& prm) {
    std::vector<Needle> kept;
    for (const Needle& n : path) {
        // Judged as stored, in whole 0.1 mm.
        auto rounded = [](Point p) { return Point{std::round(p.x), std::round(p.y)}; };
        if (!kept.empty() && n.kind != Kind::Lock && n.kind != Kind::Jump && n.kind != Kind::Trim) {
            double d = dist(rounded(kept.back().p), rounded(n.p));
            if (d < prm.minStitch ||
                (n.kind == Kind::Satin && kept.back().kind == Kind::Satin && d < prm.minSatinSpan))
                continue;
        }
        kept.push_back(n);
    }
    path.swap(kept);
}

// Splits stitches a machine would sew too long: running stitches into equal pieces, satin
// stitches once near the middle, staggered from rib to rib so that the split penetrations do not
// line up into a visible furrow. Movements are left alone.
void splitLong(std::vector<Needle>& path, const Params& prm) {
    std::vector<Needle> out;
    out.reserve(path.size());
    bool stagger = false;
    for (const Needle& n : path) {
        if (out.empty() || n.kind == Kind::Jump || n.kind == Kind::Trim || n.kind == Kind::Lock) {
            out.push_back(n);
            continue;
        }
        Point a = out.back().p;
        double len = dist(a, n.p);
        if (n.kind == Kind::Satin && out.back().kind == Kind::Satin) {
            if (len > prm.maxSatinStitch) {
                stagger = !stagger;
                out.push_back({a + (n.p - a) * (stagger ? 0.42 : 0.58), Kind::Satin});
            }
        } else if (len > prm.maxRunStitch) {
            int pieces = int(std::ceil(len / prm.maxRunStitch));
            for (int k = 1; k < pieces; ++k)
                out.push_back({a + (n.p - a) * (double(k) / pieces), n.kind});
        }
        out.push_back(n);
    }
    path.swap(out);
}

// Junctions, crossings and odd stroke ends that no rib reaches are sewn on their own, before the
// columns, so that the travel to them and back is hidden under the columns.
void sewBareSpotsFirst(const Part& part, const Params& prm, const Router& router,
                       std::vector<Needle>& path) {
    if (path.size() < 2)
        return;
    std::vector<Part> spots = uncovered(part, path, 2.0, 4.0, 40.0);
    if (spots.empty())
        return;
    std::vector<bool> sewn(spots.size(), false);
    std::vector<Needle> pre;
    Point at = path.front().p;
    for (std::size_t count = 0; count < spots.size(); ++count) {
        std::size_t best = spots.size();
        for (std::size_t i = 0; i < spots.size(); ++i)
            if (!sewn[i] && (best == spots.size() || dist(spots[i].nearestVertex(at), at) <
                                                         dist(spots[best].nearestVertex(at), at)))
                best = i;
        sewn[best] = true;
        std::vector<Needle> spot = sewSpot(spots[best], prm, at, part, router);
        dropShort(spot, prm);
        if (spot.size() < 2)
            continue;
        if (pre.empty())
            pre.push_back(spot.front());
        else
            travel(part, spot.front().p, prm, pre, &router);
        pre.insert(pre.end(), spot.begin() + 1, spot.end());
        at = pre.back().p;
    }
    if (pre.empty())
        return;
    travel(part, path.front().p, prm, pre, &router);
    pre.insert(pre.end(), path.begin() + 1, path.end());
    path.swap(pre);
}

// Stitches of one part, starting as close to from as the part allows, bare spots included.
std::vector<Needle> sewPart(const Part& part, const Params& prm, Point from) {
    std::vector<Needle> out;
    MGraph g = medialGraph(part);
    double maxR = 0.0;  // half the widest place, junctions included
    for (std::size_t v = 0; v < g.pos.size(); ++v)
        if (g.degree[v] > 0)
            maxR = std::max(maxR, g.radius[v]);
    // The unpruned axis reaches every corner and stays connected: the router's ways follow it.
    MGraph whole = g;
    Router router(part, whole);
    prune(g);
    // Width of the strokes: the axis length-weighted 80th percentile of the width, so that a
    // few wide junctions do not turn a letter into fill.
    double axis = 0.0;
    std::vector<std::pair<double, double>> widths;  // width, axis length
    for (const MEdge& e : g.edges)
        if (e.alive) {
            double l = dist(g.pos[e.v0], g.pos[e.v1]);
            axis += l;
            widths.push_back({g.radius[e.v0] + g.radius[e.v1], l});
        }
    std::sort(widths.begin(), widths.end());
    double stroke = 0.0, acc = 0.0;
    for (const auto& w : widths) {
        acc += w.second;
        stroke = w.first;
        if (acc >= 0.8 * axis)
            break;
    }
    // Dots and other blobs have an axis hardly longer than they are wide: fill them, as
    // strokes too wide for satin.
    auto fill = [&] {
        std::vector<Needle> rows;
        fillPart(part, prm, part.nearestVertex(from), rows, &router);
        dropShort(rows, prm);
        sewBareSpotsFirst(part, prm, router, rows);
        return rows;
    };
    if (!(axis > 3.0 * maxR) || stroke > prm.maxSatinSpan ||
        (prm.maxSatinWidth > 0.0 && 2.0 * maxR > prm.maxSatinWidth))
        return fill();
    std::vector<std::vector<int>> trims = junctionTrims(g);
    std::vector<bool> done(g.pos.size(), false);
    Point here = from;
    for (;;) {
        // The next component of the axis: its stroke end nearest to here, else any vertex.
        // Stroke ends in corners (radius near 0) make poor starts: the lock stitches would sit
        // on the outline.
        int best = -1;
        bool bestLeaf = false;
        for (int v = 0; v < int(g.pos.size()); ++v) {
            if (done[v] || g.degree[v] == 0)
                continue;
            bool leaf = g.degree[v] == 1 && g.radius[v] >= prm.underlayInset;
            if (g.radius[v] < prm.underlayInset && best >= 0)
                continue;
            if (best < 0 || (leaf && !bestLeaf) ||
                (leaf == bestLeaf && dist(g.pos[v], here) < dist(g.pos[best], here))) {
                best = v;
                bestLeaf = leaf;
            }
        }
        if (best < 0)
            break;
        Tour tour(part, g, trims, prm);
        tour.walk(best);
        for (std::size_t v = 0; v < g.pos.size(); ++v)
            if (tour.visited_[v])
                done[v] = true;
        std::vector<Needle> piece;
        piece.push_back({g.pos[best], Kind::Run});
        tour.stitch(piece);
        if (!out.empty())
            travel(part, piece.front().p, prm, out, &router);
        out.insert(out.end(), piece.begin() + (out.empty() ? 0 : 1), piece.end());
        here = out.back().p;
    }
    dropShort(out, prm);
    sewBareSpotsFirst(part, prm, router, out);
    if (prm.minSatinCoverage > 0.0) {
        // Satin fanning round a tight bend of a wide stroke leaves gaps on the outer side: such
        // a part is filled instead when fill covers it better.
        double satin = measure(part.rings, out, prm).coverage;
        if (satin < prm.minSatinCoverage) {
            std::vector<Needle> rows = fill();
            if (measure(part.rings, rows, prm).coverage > satin)
                return rows;
        }
    }
    return out;
}

void lock(std::vector<Needle>& out, Point at, Point toward, double len) {
    Point u = unit(toward - at) * len;
    out.push_back({at + u, Kind::Lock});
    out.push_back({at, Kind::Lock});
}

}  // namespace

std::vector<std::vector<Ring>> outlineParts(const std::vector<Ring>& outline) {
    std::vector<std::vector<Ring>> result;
    for (Part& p : makeParts(outline))
        result.push_back(std::move(p.rings));
    return result;
}

std::vector<Needle> digitize(const std::vector<Ring>& outline, const Params& params, Point entry) {
    std::vector<Part> parts = makeParts(outline);
    std::vector<bool> sewn(parts.size(), false);
    std::vector<Needle> path;
    Point here = entry;
    for (std::size_t count = 0; count < parts.size(); ++count) {
        std::size_t best = parts.size();
        double bestD = std::numeric_limits<double>::max();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (sewn[i])
                continue;
            double d = dist(parts[i].nearestVertex(here), here);
            if (d < bestD) {
                bestD = d;
                best = i;
            }
        }
        sewn[best] = true;
        std::vector<Needle> part = sewPart(parts[best], params, here);
        dropShort(part, params);
        if (part.size() < 2) {
            // Too small for any column or fill (a tiny ring or dot): a running stitch around it.
            part.clear();
            const Ring& ring = parts[best].rings[0];
            std::vector<Point> loop(ring.begin(), ring.end());
            loop.push_back(ring.front());
            part.push_back({loop.front(), Kind::Run});
            runAlong(loop, params.runLength / 2, Kind::Run, part);
            dropShort(part, params);
        }
        if (part.size() < 2)
            continue;
        splitLong(part, params);
        // Movement to the part (a trim first when thread is already sewn), lock, stitches, lock.
        path.push_back({part.front().p, path.empty() ? Kind::Jump : Kind::Trim});
        lock(path, part.front().p, part[1].p, params.lockLength);
        path.insert(path.end(), part.begin() + 1, part.end());
        lock(path, part.back().p, part[part.size() - 2].p, params.lockLength);
        here = path.back().p;
    }
    return path;
}

}  // namespace digitizer
