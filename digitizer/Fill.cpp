#include "digitizer/Fill.h"

#include <cmath>
#include <limits>
#include <optional>

#include "digitizer/MedialAxis.h"

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

namespace {

// Whether the straight line a-b stays inside, checked every 0.2 mm: fill rows end close to the
// outline, and a move between two such ends may cut across a curve of it by a hair.
bool straightInside(const Part& part, Point a, Point b) {
    int n = std::max(2, int(dist(a, b) / 2.0) + 1);
    for (int i = 0; i <= n; ++i)
        if (!part.inside(a + (b - a) * (double(i) / n)))
            return false;
    return true;
}

}  // namespace

void travel(const Part& part, Point p, const Params& prm, std::vector<Needle>& out,
            const Router* router) {
    Point from = out.empty() ? p : out.back().p;
    if (straightInside(part, from, p)) {
        runAlong({from, p}, prm.runLength, Kind::Run, out);
        return;
    }
    if (router) {
        std::vector<Point> way = router->way(from, p);
        if (!way.empty()) {
            runAlong(way, prm.runLength, Kind::Run, out);
            return;
        }
    }
    out.push_back({p, Kind::Jump});
}

namespace {

// Machines sew longer stitches loosely: no fill stitch longer than this (0.1 mm).
constexpr double kMaxStitch = 40.0;

// Rows are sewn horizontally in a frame turned by the fill angle: to() turns a design point into
// that frame, from() back. Angle 0 leaves points exactly as they are.
struct RowFrame {
    explicit RowFrame(double angle) : c(std::cos(angle)), s(std::sin(angle)), turned(angle != 0.0) {}
    Point to(Point p) const { return turned ? Point{p.x * c + p.y * s, -p.x * s + p.y * c} : p; }
    Point from(Point q) const { return turned ? Point{q.x * c - q.y * s, q.x * s + q.y * c} : q; }
    double c, s;
    bool turned;
};

// The direction of the fill rows (radians): square to the long side of an elongated part when
// asked for, else the chosen angle. The long side comes from the part's second moments of area.
double fillAngle(const Part& part, const Params& prm) {
    double chosen = prm.fillAngle * kPi / 180.0;
    if (!prm.fillAlongShape)
        return chosen;
    double a = 0, cx = 0, cy = 0, ixx = 0, iyy = 0, ixy = 0;
    for (const Ring& r : part.rings)
        for (std::size_t i = 0; i < r.size(); ++i) {
            Point p = r[i], q = r[(i + 1) % r.size()];
            double k = cross(p, q);
            a += k / 2;
            cx += (p.x + q.x) * k / 6;
            cy += (p.y + q.y) * k / 6;
            iyy += (p.x * p.x + p.x * q.x + q.x * q.x) * k / 12;
            ixx += (p.y * p.y + p.y * q.y + q.y * q.y) * k / 12;
            ixy += (p.x * q.y + 2 * p.x * p.y + 2 * q.x * q.y + q.x * p.y) * k / 24;
        }
    if (std::fabs(a) < 1e-9)
        return chosen;
    cx /= a;
    cy /= a;
    double sxx = iyy / a - cx * cx, syy = ixx / a - cy * cy, sxy = ixy / a - cx * cy;
    double mean = (sxx + syy) / 2, half = std::hypot((sxx - syy) / 2, sxy);
    // Roundish parts (long side less than about 1.3 times the short one) keep the chosen angle.
    if (mean - half <= 0 || (mean + half) < 1.7 * (mean - half))
        return chosen;
    return 0.5 * std::atan2(2 * sxy, sxx - syy) + kPi / 2;
}

// Tatami rows over area (Clipper paths inside part), spacing apart, in the direction angle:
// blocks of overlapping intervals sewn back and forth, each from the end nearest the needle.
// Stitches get the given kind; move takes the needle to the start of each row.
template <class Move>
void sewRows(const Part& part, const ClipperLib::Paths& area, double spacing, double angle,
             Kind kind, const Params& prm, Move&& move, std::vector<Needle>& out) {
    RowFrame frame(angle);
    std::vector<Site> edges;
    for (const ClipperLib::Path& path : area)
        for (std::size_t i = 0; i < path.size(); ++i) {
            const ClipperLib::IntPoint &a = path[i], &b = path[(i + 1) % path.size()];
            edges.push_back({frame.to({a.X / kScale, a.Y / kScale}),
                             frame.to({b.X / kScale, b.Y / kScale}), false});
        }
    double minY = 1e18, maxY = -1e18;
    for (const Site& seg : part.segments) {
        Site s{frame.to(seg.a), frame.to(seg.b), false};
        minY = std::min({minY, s.a.y, s.b.y});
        maxY = std::max({maxY, s.a.y, s.b.y});
    }
    struct Span {
        double x0, x1;
        bool used;
    };
    std::vector<std::vector<Span>> rows;
    std::vector<double> ys;
    for (double y = minY + spacing * 0.5; y < maxY; y += spacing) {
        std::vector<double> xs;
        for (const Site& s : edges) {
            if ((s.a.y <= y) == (s.b.y <= y))
                continue;
            xs.push_back(s.a.x + (y - s.a.y) * (s.b.x - s.a.x) / (s.b.y - s.a.y));
        }
        std::sort(xs.begin(), xs.end());
        std::vector<Span> row;
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
            if (xs[i + 1] - xs[i] >= prm.minStitch)
                row.push_back({xs[i], xs[i + 1], false});
        rows.push_back(row);
        ys.push_back(y);
    }
    int nRows = int(rows.size());
    // The first unused interval of row r overlapping sp, or -1.
    auto overlapping = [&](int r, const Span& sp) {
        if (r < 0 || r >= nRows)
            return -1;
        for (int i = 0; i < int(rows[r].size()); ++i) {
            const Span& n = rows[r][i];
            if (!n.used && n.x0 < sp.x1 && n.x1 > sp.x0)
                return i;
        }
        return -1;
    };
    // Tatami stitches stay short enough to lie flat; the last one of a row may be longer by
    // the minimum stitch, as cuts that close to the row's end are left out.
    double step =
        std::max(prm.minStitch * 2.0, std::min(prm.fillLength, kMaxStitch - prm.minStitch));
    // Blocks of overlapping intervals, sewn back and forth from the block's top row down or from
    // its bottom row up: each time the block end nearest the needle, so movements stay short.
    for (;;) {
        Point here = frame.to(out.back().p);
        int row = -1, k = -1, dir = 1;
        double bestD = std::numeric_limits<double>::max();
        for (int r = 0; r < nRows; ++r)
            for (int i = 0; i < int(rows[r].size()); ++i) {
                const Span& sp = rows[r][i];
                if (sp.used)
                    continue;
                double d = std::min(dist(here, {sp.x0, ys[r]}), dist(here, {sp.x1, ys[r]}));
                if (d >= bestD)
                    continue;
                bool top = overlapping(r - 1, sp) < 0, bottom = overlapping(r + 1, sp) < 0;
                if (!top && !bottom)
                    continue;
                bestD = d;
                row = r;
                k = i;
                dir = top ? 1 : -1;
            }
        if (row < 0)
            break;
        bool leftToRight =
            std::fabs(here.x - rows[row][k].x0) <= std::fabs(here.x - rows[row][k].x1);
        for (int r = row; k >= 0; r += dir) {
            Span& sp = rows[r][k];
            sp.used = true;
            double y = ys[r];
            double a = leftToRight ? sp.x0 : sp.x1, b = leftToRight ? sp.x1 : sp.x0;
            move(frame.from({a, y}));
            // Brick pattern: penetrations on a grid shifted by a third each row.
            double shift = step * double(r % 3) / 3.0;
            std::vector<double> cuts;
            double first = std::floor((std::min(a, b) - shift) / step) * step + shift;
            for (double x = first; x < std::max(a, b); x += step)
                if (x > std::min(a, b) + prm.minStitch && x < std::max(a, b) - prm.minStitch)
                    cuts.push_back(x);
            if (!leftToRight)
                std::reverse(cuts.begin(), cuts.end());
            for (double x : cuts)
                out.push_back({frame.from({x, y}), kind});
            out.push_back({frame.from({b, y}), kind});
            k = overlapping(r + dir, sp);
            leftToRight = !leftToRight;
        }
    }
}


}  // namespace

void fillPart(const Part& part, const Params& prm, Point start, std::vector<Needle>& out,
              const Router* router) {
    // Without a router from the caller, one is made from the medial axis the first time the
    // straight line between two places leaves the part (most fills never need one).
    std::optional<MGraph> ownAxis;
    std::optional<Router> ownRouter;
    auto move = [&](Point p) {
        if (!router && !out.empty() && !straightInside(part, out.back().p, p)) {
            ownAxis.emplace(medialGraph(part));
            ownRouter.emplace(part, *ownAxis);
            router = &*ownRouter;
        }
        travel(part, p, prm, out, router);
    };

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
    // Each ring from its point nearest the needle, the nearest ring next.
    std::vector<bool> runDone(rings.size(), false);
    for (std::size_t count = 0; count < rings.size(); ++count) {
        Point here = out.back().p;
        std::size_t best = 0, bestK = 0;
        double bestD = std::numeric_limits<double>::max();
        for (std::size_t r = 0; r < rings.size(); ++r)
            for (std::size_t i = 0; !runDone[r] && i < rings[r].size(); ++i)
                if (dist(rings[r][i], here) < bestD) {
                    bestD = dist(rings[r][i], here);
                    best = r;
                    bestK = i;
                }
        runDone[best] = true;
        std::vector<Point> ring = rings[best];
        std::rotate(ring.begin(), ring.begin() + long(bestK), ring.end());
        ring.push_back(ring.front());
        move(ring.front());
        runAlong(ring, prm.runLength, Kind::EdgeRun, out);
    }

    // Rows of intervals inside the outline shrunk by 0.1 mm all round: a row ending where the
    // outline runs nearly along it would otherwise end on the edge, and the move to the next row
    // would cut across it.
    ClipperLib::ClipperOffset shrink;
    shrink.AddPaths(part.paths, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    ClipperLib::Paths shrunk;
    shrink.Execute(shrunk, -1.0 * kScale);
    double angle = fillAngle(part, prm);
    if (prm.fillUnderlay) {
        // A sparse layer of rows across the top rows holds the fabric flat under them; it keeps
        // inside the edge run so that its turns do not show at the outline.
        ClipperLib::ClipperOffset inset2;
        inset2.AddPaths(part.paths, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
        ClipperLib::Paths under;
        inset2.Execute(under, -2.0 * prm.underlayInset * kScale);
        sewRows(part, under, prm.underlaySpacing, angle + kPi / 2, Kind::Run, prm, move, out);
    }
    sewRows(part, shrunk, prm.fillSpacing, angle, Kind::Fill, prm, move, out);
}

}  // namespace digitizer
