#include "digitizer/Artwork.h"

#include <cmath>
#include <limits>

#include "digitizer/Geometry.h"
#include "formats/ThreadPalette.h"

namespace digitizer {

namespace {

using ClipperLib::Paths;

Paths toPaths(const std::vector<Ring>& rings) {
    Paths in = toIntPaths(rings);
    // The union settles the winding: outer rings and holes come out in Clipper's orientation.
    ClipperLib::Clipper c;
    c.AddPaths(in, ClipperLib::ptSubject, true);
    Paths out;
    c.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return out;
}

std::vector<Ring> toRings(const Paths& paths) {
    std::vector<Ring> rings;
    for (const ClipperLib::Path& p : paths) {
        Ring r;
        for (const ClipperLib::IntPoint& q : p)
            r.push_back({double(q.X) / kScale, double(q.Y) / kScale});
        rings.push_back(std::move(r));
    }
    return rings;
}

Paths combine(const Paths& a, const Paths& b, ClipperLib::ClipType type) {
    ClipperLib::Clipper c;
    c.AddPaths(a, ClipperLib::ptSubject, true);
    c.AddPaths(b, ClipperLib::ptClip, true);
    Paths out;
    c.Execute(type, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return out;
}

// Grown (delta > 0) or shrunk by delta (0.1 mm), with round corners.
Paths offset(const Paths& paths, double delta) {
    ClipperLib::ClipperOffset off;
    off.ArcTolerance = 0.05 * kScale;
    off.AddPaths(paths, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    Paths out;
    off.Execute(out, delta * kScale);
    return out;
}

// Area in 0.01 mm² of Clipper paths (holes negative).
double area(const Paths& paths) {
    double a = 0;
    for (const ClipperLib::Path& p : paths)
        a += ClipperLib::Area(p);
    return a / (kScale * kScale);
}

// The pieces of a region with at least minArea each (a piece's holes count against it).
Paths dropSpecks(const Paths& region, double minArea) {
    ClipperLib::Clipper c;
    c.AddPaths(region, ClipperLib::ptSubject, true);
    ClipperLib::PolyTree tree;
    c.Execute(ClipperLib::ctUnion, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    Paths kept;
    std::vector<const ClipperLib::PolyNode*> outers;
    for (const ClipperLib::PolyNode* n = tree.GetFirst(); n; n = n->GetNext())
        if (!n->IsHole())
            outers.push_back(n);
    for (const ClipperLib::PolyNode* n : outers) {
        Paths piece{n->Contour};
        for (const ClipperLib::PolyNode* hole : n->Childs)
            piece.push_back(hole->Contour);
        if (area(piece) >= minArea)
            kept.insert(kept.end(), piece.begin(), piece.end());
    }
    return kept;
}

// sRGB to CIELAB (D65).
struct Lab {
    double l, a, b;
};

Lab toLab(Rgba c) {
    auto linear = [](uint8_t v) {
        double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    double r = linear(c.r), g = linear(c.g), b = linear(c.b);
    double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    auto f = [](double t) {
        return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0;
    };
    double fx = f(x), fy = f(y), fz = f(z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

}  // namespace

Params ArtParams::artworkStitchParams() {
    Params p;
    p.fillAlongShape = true;
    p.fillUnderlay = true;
    // Rows at any angle: 0.36 mm apart leaves no gap between threads 0.4 mm wide.
    p.fillSpacing = 3.6;
    p.lockLength = 4.0;
    // Satin only for strokes: a face with its eyes and mouth cut out is narrow in places but a
    // wide region all the same, and fanning satin is swapped for fill where it leaves gaps.
    p.maxSatinWidth = p.maxSatinSpan;
    p.minSatinCoverage = 0.97;
    return p;
}

double ringsArea(const std::vector<Ring>& rings) {
    double a = 0;
    for (const Ring& r : rings)
        for (std::size_t i = 0; i < r.size(); ++i)
            a += cross(r[i], r[(i + 1) % r.size()]) / 2;
    return a;
}

int nearestThread(Rgba color) {
    Lab want = toLab(color);
    int best = 1;
    double bestD = std::numeric_limits<double>::max();
    for (int i = 1; i < pec::kPaletteSize; ++i) {
        const ThreadColor& t = threadEntry(i);
        if (t.code[0] == 'x')  // appliqué markers, not threads
            continue;
        Lab have = toLab(Rgba{t.r, t.g, t.b, 255});
        double d = std::hypot(want.l - have.l, want.a - have.a, want.b - have.b);
        if (d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return best;
}

std::vector<ColorRun> digitizeArtwork(const std::vector<ArtLayer>& layers,
                                      const ArtParams& params, Point entry) {
    // What each layer keeps, found from the top down: its outline less what the kept layers
    // above cover (shrunk by the overlap), without slivers and specks.
    std::vector<Paths> kept(layers.size());
    Paths covered;
    for (std::size_t k = layers.size(); k-- > 0;) {
        Paths visible = toPaths(layers[k].outline);
        if (!covered.empty())
            visible = combine(visible, offset(covered, -params.overlap), ClipperLib::ctDifference);
        visible = offset(offset(visible, -params.minWidth / 2), params.minWidth / 2);
        kept[k] = dropSpecks(visible, params.minArea);
        if (!kept[k].empty())
            covered = combine(covered, kept[k], ClipperLib::ctUnion);
    }

    // Runs from the bottom up. A layer joins the latest run of its thread unless a run after
    // that one touches it (then the order of the two matters and it starts a run of its own).
    struct Pending {
        int thread;
        Paths region;
    };
    std::vector<Pending> pending;
    for (std::size_t k = 0; k < layers.size(); ++k) {
        if (kept[k].empty())
            continue;
        int thread = nearestThread(layers[k].color);
        std::size_t join = pending.size();
        for (std::size_t r = pending.size(); r-- > 0;) {
            if (pending[r].thread == thread) {
                join = r;
                break;
            }
            if (area(combine(pending[r].region, kept[k], ClipperLib::ctIntersection)) > 0.5)
                break;
        }
        if (join < pending.size())
            pending[join].region = combine(pending[join].region, kept[k], ClipperLib::ctUnion);
        else
            pending.push_back({thread, kept[k]});
    }

    std::vector<ColorRun> runs;
    Point here = entry;
    for (const Pending& p : pending) {
        ColorRun run;
        run.thread = p.thread;
        run.region = toRings(p.region);
        run.path = digitize(run.region, params.stitch, here);
        if (run.path.size() < 2)
            continue;
        here = run.path.back().p;
        runs.push_back(std::move(run));
    }
    return runs;
}

}  // namespace digitizer
