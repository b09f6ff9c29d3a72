// The digitizer. Sections:
//   1. Small geometry helpers
//   2. Parts of an outline (Clipper union)
//   3. Medial axis graph (Boost.Polygon Voronoi diagram) and its pruning
//   4. The tour: running stitch out, satin back, caps at stroke ends
//   5. Tatami fill with an edge run, for wide parts
//   6. Parts in order, trims and lock stitches
#include "digitizer/Digitizer.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <boost/polygon/voronoi.hpp>
#include <cmath>
#include <functional>
#include <limits>
#include <unordered_map>

namespace {

// ---- 1. Small geometry helpers ------------------------------------------------------------

using digitizer::Kind;
using digitizer::Needle;
using digitizer::Params;
using digitizer::Point;
using digitizer::Ring;

// Clipper and the Voronoi builder work on integers: 0.01 mm keeps curves smooth enough.
constexpr double kScale = 10.0;

Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
Point operator*(Point a, double s) {
    return {a.x * s, a.y * s};
}
double dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}
double cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}
double length(Point a) {
    return std::hypot(a.x, a.y);
}
double dist(Point a, Point b) {
    return length(a - b);
}
Point unit(Point a) {
    double l = length(a);
    return l > 1e-12 ? a * (1.0 / l) : Point{1.0, 0.0};
}

// A site of the Voronoi diagram: an outline segment, or one of its end points.
struct Site {
    Point a;
    Point b;
    bool point = false;
};

Point foot(const Site& s, Point p) {
    if (s.point)
        return s.a;
    Point d = s.b - s.a;
    double l2 = dot(d, d);
    if (l2 < 1e-12)
        return s.a;
    double t = std::clamp(dot(p - s.a, d) / l2, 0.0, 1.0);
    return s.a + d * t;
}

ClipperLib::IntPoint toInt(Point p) {
    return {ClipperLib::cInt(std::llround(p.x * kScale)),
            ClipperLib::cInt(std::llround(p.y * kScale))};
}

// A connected part: outer ring first, then its holes.
struct Part {
    std::vector<Ring> rings;
    std::vector<ClipperLib::Path> paths;  // the same rings in Clipper units
    std::vector<Site> segments;           // every ring edge

    bool inside(Point p) const {
        ClipperLib::IntPoint ip = toInt(p);
        if (paths.empty() || ClipperLib::PointInPolygon(ip, paths[0]) == 0)
            return false;
        for (std::size_t i = 1; i < paths.size(); ++i)
            if (ClipperLib::PointInPolygon(ip, paths[i]) == 1)
                return false;
        return true;
    }
    // Whether the straight line from a to b stays inside (checked every 0.5 mm).
    bool lineInside(Point a, Point b) const {
        int n = std::max(2, int(dist(a, b) / 5.0) + 1);
        for (int i = 0; i <= n; ++i)
            if (!inside(a + (b - a) * (double(i) / n)))
                return false;
        return true;
    }
    // Nearest outline hit of the ray p + t·d (d a unit vector), t in (0, maxT]; false if none.
    bool ray(Point p, Point d, double maxT, Point& hit) const {
        double best = maxT;
        bool found = false;
        for (const Site& s : segments) {
            Point e = s.b - s.a;
            double den = cross(d, e);
            if (std::fabs(den) < 1e-12)
                continue;
            Point w = s.a - p;
            double t = cross(w, e) / den;
            double u = cross(w, d) / den;
            if (t > 1e-6 && t <= best && u >= 0.0 && u <= 1.0) {
                best = t;
                found = true;
            }
        }
        if (found)
            hit = p + d * best;
        return found;
    }
    // Distance to the nearest outline segment.
    double clearance(Point p) const {
        double best = std::numeric_limits<double>::max();
        for (const Site& s : segments)
            best = std::min(best, dist(p, foot(s, p)));
        return best;
    }
    Point nearestVertex(Point p) const {
        Point best = rings[0][0];
        for (const Ring& r : rings)
            for (Point q : r)
                if (dist(q, p) < dist(best, p))
                    best = q;
        return best;
    }
};

// ---- 2. Parts of an outline ---------------------------------------------------------------

std::vector<Part> makeParts(const std::vector<Ring>& outline) {
    ClipperLib::Paths in;
    for (const Ring& r : outline) {
        ClipperLib::Path p;
        for (Point q : r)
            p.push_back(toInt(q));
        if (p.size() >= 3)
            in.push_back(p);
    }
    ClipperLib::Clipper c;
    c.StrictlySimple(true);
    c.AddPaths(in, ClipperLib::ptSubject, true);
    ClipperLib::PolyTree tree;
    c.Execute(ClipperLib::ctUnion, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

    std::vector<Part> parts;
    std::function<void(const ClipperLib::PolyNode&)> walk = [&](const ClipperLib::PolyNode& n) {
        for (const ClipperLib::PolyNode* child : n.Childs) {
            if (!child->IsHole()) {
                Part part;
                part.paths.push_back(child->Contour);
                for (const ClipperLib::PolyNode* hole : child->Childs)
                    part.paths.push_back(hole->Contour);
                ClipperLib::CleanPolygons(part.paths, 1.0);
                part.paths.erase(
                    std::remove_if(part.paths.begin(), part.paths.end(),
                                   [](const ClipperLib::Path& p) { return p.size() < 3; }),
                    part.paths.end());
                if (!part.paths.empty() && ClipperLib::Area(part.paths[0]) != 0.0) {
                    for (const ClipperLib::Path& p : part.paths) {
                        Ring r;
                        for (const ClipperLib::IntPoint& q : p)
                            r.push_back({double(q.X) / kScale, double(q.Y) / kScale});
                        for (std::size_t i = 0; i < r.size(); ++i)
                            part.segments.push_back({r[i], r[(i + 1) % r.size()], false});
                        part.rings.push_back(std::move(r));
                    }
                    parts.push_back(std::move(part));
                }
            }
            walk(*child);
        }
    };
    walk(tree);
    return parts;
}

}  // namespace

// Boost.Polygon needs to know how to read our integer points and segments.
namespace {
struct IPoint {
    int x;
    int y;
};
struct ISeg {
    IPoint p0;
    IPoint p1;
};
}  // namespace

namespace boost {
namespace polygon {
template <>
struct geometry_concept<IPoint> {
    typedef point_concept type;
};
template <>
struct point_traits<IPoint> {
    typedef int coordinate_type;
    static inline coordinate_type get(const IPoint& p, orientation_2d o) {
        return o == HORIZONTAL ? p.x : p.y;
    }
};
template <>
struct geometry_concept<ISeg> {
    typedef segment_concept type;
};
template <>
struct segment_traits<ISeg> {
    typedef int coordinate_type;
    typedef IPoint point_type;
    static inline point_type get(const ISeg& s, direction_1d d) { return d.to_int() ? s.p1 : s.p0; }
};
}  // namespace polygon
}  // namespace boost

namespace {

// ---- 3. Medial axis graph -----------------------------------------------------------------

struct MEdge {
    int v0 = 0;
    int v1 = 0;
    Site sa;
    Site sb;
    bool alive = true;
};

struct MGraph {
    std::vector<Point> pos;
    std::vector<double> radius;
    std::vector<MEdge> edges;
    std::vector<std::vector<int>> adj;
    std::vector<int> degree;

    int other(int e, int v) const { return edges[e].v0 == v ? edges[e].v1 : edges[e].v0; }
    double span(int e, Point p) const { return dist(foot(edges[e].sa, p), foot(edges[e].sb, p)); }
};

MGraph medialGraph(const Part& part) {
    using namespace boost::polygon;
    std::vector<ISeg> segs;
    std::vector<Site> sites;
    for (const Site& s : part.segments) {
        IPoint a{int(std::lround(s.a.x * kScale)), int(std::lround(s.a.y * kScale))};
        IPoint b{int(std::lround(s.b.x * kScale)), int(std::lround(s.b.y * kScale))};
        if (a.x == b.x && a.y == b.y)
            continue;
        segs.push_back({a, b});
        sites.push_back({{a.x / kScale, a.y / kScale}, {b.x / kScale, b.y / kScale}, false});
    }
    voronoi_diagram<double> vd;
    construct_voronoi(segs.begin(), segs.end(), &vd);

    auto siteOf = [&](const voronoi_diagram<double>::cell_type& c) {
        const Site& s = sites[c.source_index()];
        switch (c.source_category()) {
            case SOURCE_CATEGORY_SEGMENT_START_POINT:
                return Site{s.a, s.a, true};
            case SOURCE_CATEGORY_SEGMENT_END_POINT:
                return Site{s.b, s.b, true};
            default:
                return s;
        }
    };

    MGraph g;
    std::unordered_map<const voronoi_diagram<double>::vertex_type*, int> ids;
    auto vertexId = [&](const voronoi_diagram<double>::vertex_type* v, const Site& s) {
        auto it = ids.find(v);
        if (it != ids.end())
            return it->second;
        int id = int(g.pos.size());
        ids[v] = id;
        Point p{v->x() / kScale, v->y() / kScale};
        g.pos.push_back(p);
        g.radius.push_back(dist(p, foot(s, p)));
        return id;
    };
    for (const auto& e : vd.edges()) {
        if (!e.is_primary() || !e.is_finite() || &e > e.twin())
            continue;
        Point a{e.vertex0()->x() / kScale, e.vertex0()->y() / kScale};
        Point b{e.vertex1()->x() / kScale, e.vertex1()->y() / kScale};
        if (!part.inside((a + b) * 0.5))
            continue;
        MEdge m;
        m.sa = siteOf(*e.cell());
        m.sb = siteOf(*e.twin()->cell());
        m.v0 = vertexId(e.vertex0(), m.sa);
        m.v1 = vertexId(e.vertex1(), m.sa);
        if (m.v0 == m.v1)
            continue;
        g.edges.push_back(m);
    }
    g.adj.assign(g.pos.size(), {});
    g.degree.assign(g.pos.size(), 0);
    for (int i = 0; i < int(g.edges.size()); ++i) {
        g.adj[g.edges[i].v0].push_back(i);
        g.adj[g.edges[i].v1].push_back(i);
        ++g.degree[g.edges[i].v0];
        ++g.degree[g.edges[i].v1];
    }
    return g;
}

// Walks from a leaf through vertices of degree 2 up to the first vertex of another degree.
// Returns that vertex, with the chain's edges.
int walkChain(const MGraph& g, int leaf, std::vector<int>& chain) {
    chain.clear();
    int cur = leaf;
    int prev = -1;
    for (std::size_t guard = 0; guard <= g.edges.size(); ++guard) {
        int next = -1;
        for (int e : g.adj[cur])
            if (g.edges[e].alive && e != prev) {
                next = e;
                break;
            }
        if (next < 0)
            return cur;
        chain.push_back(next);
        prev = next;
        cur = g.other(next, cur);
        if (g.degree[cur] != 2)
            return cur;
    }
    return cur;
}

// Removes the short branches that run from a stroke's axis into the corners of its outline:
// those between nearly collinear segments (what flattening a curve leaves) and the two corners
// of a blunt stroke end. The stroke end is then sewn by carrying the column on (see Tour::cap).
// Branches into sharp corners are longer than the stroke is wide and stay.
void prune(MGraph& g) {
    std::vector<int> chain;
    struct Corner {
        std::vector<int> edges;
        int junction;
    };
    std::vector<Corner> corners;  // removed branches into real corners
    for (bool changed = true; changed;) {
        changed = false;
        std::vector<int> doomed;
        for (int v = 0; v < int(g.pos.size()); ++v) {
            if (g.degree[v] != 1)
                continue;
            int end = walkChain(g, v, chain);
            if (g.degree[end] < 3)
                continue;  // the whole component is one chain
            double rj = g.radius[end];
            if (g.radius[v] >= 0.5 * rj)
                continue;
            double chainLength = 0.0;
            for (int e : chain)
                chainLength += dist(g.pos[g.edges[e].v0], g.pos[g.edges[e].v1]);
            if (chainLength > 1.6 * rj)
                continue;
            doomed.insert(doomed.end(), chain.begin(), chain.end());
            double maxSpan = 0.0;
            for (int e : chain) {
                Point a = g.pos[g.edges[e].v0], b = g.pos[g.edges[e].v1];
                maxSpan = std::max({maxSpan, g.span(e, a), g.span(e, b), g.span(e, (a + b) * 0.5)});
            }
            if (maxSpan >= 0.6 * 2.0 * rj)
                corners.push_back({chain, end});
        }
        // Both corners of a blunt end are judged against the same junction, so the removals
        // are made after the round.
        for (int e : doomed) {
            if (!g.edges[e].alive)
                continue;
            g.edges[e].alive = false;
            --g.degree[g.edges[e].v0];
            --g.degree[g.edges[e].v1];
            changed = true;
        }
    }
    // A corner whose axis goes on past its junction is the outer corner of a bend (an L, a
    // T): it comes back as a mitred satin. Only blunt stroke ends stay cut, for the caps.
    for (const Corner& c : corners) {
        if (g.degree[c.junction] < 2)
            continue;
        for (int e : c.edges) {
            if (g.edges[e].alive)
                continue;
            g.edges[e].alive = true;
            ++g.degree[g.edges[e].v0];
            ++g.degree[g.edges[e].v1];
        }
    }
}

// ---- 4. The tour --------------------------------------------------------------------------

// One straight piece of the tour. edge < 0 means the ribs come from casting rays (stroke caps).
struct Piece {
    Point a;
    Point b;
    int edge = -1;
    bool satin = false;
};

class Tour {
public:
    Tour(const Part& part, const MGraph& g, const Params& prm) : part_(part), g_(g), prm_(prm) {}

    // The pieces of a walk over the component that holds start, ending at start again.
    void walk(int start) {
        visited_.assign(g_.pos.size(), false);
        used_.assign(g_.edges.size(), false);
        dfs(start, -1);
    }
    std::vector<Piece> pieces;
    std::vector<bool> visited_;

    // Turns the pieces into needle points.
    void stitch(std::vector<Needle>& out) const {
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
                if (haveRib && std::max({dist(p, lastP), dist(fa, lastFa), dist(fb, lastFb)}) <
                                   prm_.satinSpacing)
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

private:
    // Underlay keeps off the outline, unless skipping would make its stitch too long.
    bool keepRun(Point p, const std::vector<Needle>& out) const {
        return part_.clearance(p) >= prm_.underlayInset || out.empty() ||
               dist(out.back().p, p) >= prm_.runLength * 0.9;
    }

    bool ribs(const Piece& pc, Point p, Point u, Point& fa, Point& fb) const {
        if (pc.edge >= 0) {
            fa = foot(g_.edges[pc.edge].sa, p);
            fb = foot(g_.edges[pc.edge].sb, p);
            return true;
        }
        Point n{-u.y, u.x};
        double maxT = 2.0 * prm_.maxSatinSpan;
        return part_.ray(p, n, maxT, fa) && part_.ray(p, n * -1.0, maxT, fb);
    }

    void dfs(int v, int fromEdge) {
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
    void cap(int v) {
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

    const Part& part_;
    const MGraph& g_;
    const Params& prm_;
    std::vector<bool> used_;
};

// ---- 5. Tatami fill -----------------------------------------------------------------------

void runAlong(const std::vector<Point>& pts, double step, Kind kind, std::vector<Needle>& out) {
    for (std::size_t i = 1; i < pts.size(); ++i) {
        Point a = pts[i - 1], b = pts[i];
        double len = dist(a, b);
        int n = std::max(1, int(std::ceil(len / step)));
        for (int k = 1; k <= n; ++k)
            out.push_back({a + (b - a) * (double(k) / n), kind});
    }
}

// Moves from the last needle to p: a running stitch when the way is inside, else a jump.
// Moves from the last needle to p: a straight running stitch when the way is inside, else along
// the nearest of the rings (inset outlines) when one joins both ends, else a jump.
void travel(const Part& part, Point p, const Params& prm, std::vector<Needle>& out,
            const std::vector<std::vector<Point>>& rings = {}) {
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

// ---- 6. Parts in order --------------------------------------------------------------------

// Stitches of one part, starting as close to from as the part allows.
std::vector<Needle> sewPart(const Part& part, const Params& prm, Point from) {
    std::vector<Needle> out;
    MGraph g = medialGraph(part);
    double maxR = 0.0;  // half the widest place, junctions included
    for (std::size_t v = 0; v < g.pos.size(); ++v)
        if (g.degree[v] > 0)
            maxR = std::max(maxR, g.radius[v]);
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
    if (!(axis > 3.0 * maxR) || stroke > prm.maxSatinSpan) {
        fillPart(part, prm, part.nearestVertex(from), out);
        return out;
    }
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
        Tour tour(part, g, prm);
        tour.walk(best);
        for (std::size_t v = 0; v < g.pos.size(); ++v)
            if (tour.visited_[v])
                done[v] = true;
        std::vector<Needle> piece;
        piece.push_back({g.pos[best], Kind::Run});
        tour.stitch(piece);
        if (!out.empty())
            travel(part, piece.front().p, prm, out);
        out.insert(out.end(), piece.begin() + (out.empty() ? 0 : 1), piece.end());
        here = out.back().p;
    }
    return out;
}

// Drops stitches shorter than the minimum (movements and lock stitches excepted).
void dropShort(std::vector<Needle>& path, double minStitch) {
    std::vector<Needle> kept;
    for (const Needle& n : path) {
        // Judged as stored, in whole 0.1 mm.
        auto rounded = [](Point p) { return Point{std::round(p.x), std::round(p.y)}; };
        if (!kept.empty() && n.kind != Kind::Lock && n.kind != Kind::Jump && n.kind != Kind::Trim &&
            dist(rounded(kept.back().p), rounded(n.p)) < minStitch)
            continue;
        kept.push_back(n);
    }
    path.swap(kept);
}

void lock(std::vector<Needle>& out, Point at, Point toward, double len) {
    Point u = unit(toward - at) * len;
    out.push_back({at + u, Kind::Lock});
    out.push_back({at, Kind::Lock});
}

}  // namespace

namespace digitizer {

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
        dropShort(part, params.minStitch);
        if (part.size() < 2) {
            // Too small for any column or fill (a tiny ring or dot): a running stitch around it.
            part.clear();
            const Ring& ring = parts[best].rings[0];
            std::vector<Point> loop(ring.begin(), ring.end());
            loop.push_back(ring.front());
            part.push_back({loop.front(), Kind::Run});
            runAlong(loop, params.runLength / 2, Kind::Run, part);
            dropShort(part, params.minStitch);
        }
        if (part.size() < 2)
            continue;
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
