#include "digitizer/Patch.h"

#include "digitizer/Fill.h"

namespace digitizer {

std::vector<Part> uncovered(const Part& part, const std::vector<Needle>& path, double threadRadius,
                            double minWidth, double minArea) {
    // Each covering stitch as a rectangle as wide as the thread; their union is what is covered.
    // Underlay and travel runs do not count: they lie under the columns, and across a bare spot
    // they would only cut it into crumbs too small to sew. A running stitch along a stroke too
    // narrow for satin does count.
    ClipperLib::Paths thread;
    for (std::size_t i = 1; i < path.size(); ++i) {
        Kind k = path[i].kind;
        Point a = path[i - 1].p, b = path[i].p;
        if (k == Kind::Jump || k == Kind::Trim || k == Kind::Lock ||
            (k == Kind::Run && part.clearance((a + b) * 0.5) > 3.0))
            continue;
        Point u = dist(a, b) > 1e-9 ? unit(b - a) * threadRadius : Point{threadRadius, 0.0};
        Point n{-u.y, u.x};
        thread.push_back({toInt(a - u + n), toInt(b + u + n), toInt(b + u - n), toInt(a - u - n)});
    }
    ClipperLib::Clipper uni;
    uni.AddPaths(thread, ClipperLib::ptSubject, true);
    ClipperLib::Paths covered;
    uni.Execute(ClipperLib::ctUnion, covered, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

    ClipperLib::Clipper diff;
    diff.AddPaths(part.paths, ClipperLib::ptSubject, true);
    diff.AddPaths(covered, ClipperLib::ptClip, true);
    ClipperLib::Paths bare;
    diff.Execute(ClipperLib::ctDifference, bare, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

    // Opening (shrink, then grow back) drops the slivers along the outline between ribs.
    ClipperLib::ClipperOffset shrink;
    shrink.AddPaths(bare, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    ClipperLib::Paths core;
    shrink.Execute(core, -minWidth * 0.5 * kScale);
    ClipperLib::ClipperOffset grow;
    grow.AddPaths(core, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    ClipperLib::Paths opened;
    grow.Execute(opened, minWidth * 0.5 * kScale);
    // Grown back, a region may reach past the bare spot: keep it inside the bare spot.
    ClipperLib::Clipper clip;
    clip.AddPaths(opened, ClipperLib::ptSubject, true);
    clip.AddPaths(bare, ClipperLib::ptClip, true);
    ClipperLib::Paths spots;
    clip.Execute(ClipperLib::ctIntersection, spots, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

    std::vector<Ring> rings;
    for (const ClipperLib::Path& p : spots) {
        Ring r;
        for (const ClipperLib::IntPoint& q : p)
            r.push_back({double(q.X) / kScale, double(q.Y) / kScale});
        rings.push_back(std::move(r));
    }
    std::vector<Part> result;
    for (Part& p : makeParts(rings)) {
        double area = 0.0;
        for (const ClipperLib::Path& path2 : p.paths)
            area += ClipperLib::Area(path2);
        if (std::fabs(area) / (kScale * kScale) >= minArea)
            result.push_back(std::move(p));
    }
    return result;
}

std::vector<Needle> sewSpot(const Part& spot, const Params& prm, Point from, const Part& part,
                            const Router& router) {
    // The spot's long direction from the spread of its outline.
    const Ring& outer = spot.rings[0];
    Point c;
    for (Point q : outer)
        c = c + q * (1.0 / double(outer.size()));
    double sxx = 0.0, syy = 0.0, sxy = 0.0;
    for (Point q : outer) {
        Point d = q - c;
        sxx += d.x * d.x;
        syy += d.y * d.y;
        sxy += d.x * d.y;
    }
    double angle = 0.5 * std::atan2(2.0 * sxy, sxx - syy);
    Point along{std::cos(angle), std::sin(angle)}, across{-along.y, along.x};
    double lo = 1e18, hi = -1e18;
    for (Point q : outer) {
        lo = std::min(lo, dot(q - c, along));
        hi = std::max(hi, dot(q - c, along));
    }
    // Rows across the spot, each a list of stretches inside it.
    struct Stretch {
        Point a, b;
        double l0, l1;
        bool used = false;
    };
    std::vector<std::vector<Stretch>> rows;
    for (double k = lo + prm.satinSpacing * 0.5; k < hi; k += prm.satinSpacing) {
        Point o = c + along * k;
        std::vector<Stretch> row;
        for (const auto& ch : spot.chords(o, across))
            if (ch.second - ch.first >= 1.0)
                row.push_back({o + across * ch.first, o + across * ch.second, ch.first, ch.second});
        rows.push_back(row);
    }
    std::vector<Needle> out;
    auto sewStretch = [&](const Stretch& st) {
        // Judged as stored, in whole 0.1 mm.
        Point a{std::round(st.a.x), std::round(st.a.y)}, b{std::round(st.b.x), std::round(st.b.y)};
        if (dist(a, b) < prm.minSatinSpan) {
            Point m = (a + b) * 0.5;
            if (out.empty())
                out.push_back({m, Kind::Run});
            else if (dist(out.back().p, m) >= prm.minStitch)
                travel(part, m, prm, out, &router);
            return;
        }
        if (!out.empty() && dist(out.back().p, b) > dist(out.back().p, a))
            std::swap(a, b);
        if (out.empty())
            out.push_back({a, Kind::Run});
        else if (out.back().kind != Kind::Satin || dist(out.back().p, a) < prm.minSatinSpan)
            travel(part, a, prm, out, &router);
        else
            out.push_back({a, Kind::Satin});
        out.push_back({b, Kind::Satin});
    };
    // Blocks of overlapping stretches, each sewn row after row; the block nearest the needle
    // first.
    for (;;) {
        Point here = out.empty() ? from : out.back().p;
        int bestRow = -1, bestIdx = -1;
        double bestD = 1e18;
        for (int r = 0; r < int(rows.size()); ++r)
            for (int i = 0; i < int(rows[r].size()); ++i) {
                const Stretch& st = rows[r][i];
                bool first =
                    r == 0 ||
                    std::none_of(rows[r - 1].begin(), rows[r - 1].end(), [&](const Stretch& p) {
                        return !p.used && p.l0 < st.l1 && p.l1 > st.l0;
                    });
                double d = std::min(dist(here, st.a), dist(here, st.b));
                if (!st.used && first && d < bestD) {
                    bestD = d;
                    bestRow = r;
                    bestIdx = i;
                }
            }
        if (bestRow < 0)
            break;
        for (int r = bestRow, i = bestIdx; i >= 0 && r < int(rows.size());) {
            Stretch& st = rows[r][i];
            st.used = true;
            sewStretch(st);
            i = -1;
            if (++r < int(rows.size()))
                for (int j = 0; j < int(rows[r].size()); ++j)
                    if (!rows[r][j].used && rows[r][j].l0 < st.l1 && rows[r][j].l1 > st.l0) {
                        i = j;
                        break;
                    }
        }
    }
    return out;
}

}  // namespace digitizer
