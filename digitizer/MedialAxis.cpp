#include "digitizer/MedialAxis.h"

#include <boost/polygon/voronoi.hpp>
#include <unordered_map>

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

namespace digitizer {

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
        if (!e.is_curved() || m.sa.point == m.sb.point) {
            g.edges.push_back(m);
            continue;
        }
        // Between a corner and a segment the axis is a parabola: sewn along its chord, the
        // feet of a rib would be lopsided and the rib cross the column at a slant. The arc is
        // followed in steps of about 0.3 mm instead, each point equidistant from both sites.
        const Site& corner = m.sa.point ? m.sa : m.sb;
        const Site& side = m.sa.point ? m.sb : m.sa;
        Point dir = unit(side.b - side.a);
        Point n{-dir.y, dir.x};
        if (dot(corner.a - side.a, n) < 0.0)
            n = n * -1.0;
        double t0 = dot(a - side.a, dir), t1 = dot(b - side.a, dir);
        int steps = std::max(1, int(std::ceil(dist(a, b) / 3.0)));
        int prev = m.v0;
        for (int k = 1; k < steps; ++k) {
            Point q = side.a + dir * (t0 + (t1 - t0) * k / steps);
            double h = dot(corner.a - q, n);
            if (h <= 1e-9)
                continue;
            double r = dot(corner.a - q, corner.a - q) / (2.0 * h);
            int id = int(g.pos.size());
            g.pos.push_back(q + n * r);
            g.radius.push_back(r);
            MEdge piece = m;
            piece.v0 = prev;
            piece.v1 = id;
            g.edges.push_back(piece);
            prev = id;
        }
        m.v0 = prev;
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
static int walkChain(const MGraph& g, int leaf, std::vector<int>& chain) {
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

// Whether a leaf chain is the bisector of one corner of the outline: nearly straight, with the
// distance to the outline growing in proportion to the distance from the corner. A serif or
// other short stroke keeps its width instead.
static bool wedge(const MGraph& g, const std::vector<int>& chain, int leaf) {
    Point tip = g.pos[leaf];
    double length = 0.0;
    int cur = leaf;
    for (int e : chain) {
        int next = g.other(e, cur);
        length += dist(g.pos[cur], g.pos[next]);
        cur = next;
    }
    double reach = dist(g.pos[cur], tip);
    if (reach < 0.9 * length || reach <= 0.0)
        return false;
    double k = g.radius[cur] / reach;
    cur = leaf;
    for (int e : chain) {
        cur = g.other(e, cur);
        double d = dist(g.pos[cur], tip);
        if (std::fabs(g.radius[cur] - k * d) > 0.15 * k * d + 0.5)
            return false;
    }
    return true;
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
        // Leaf chains that end at a junction, by junction.
        struct Branch {
            std::vector<int> chain;
            int leaf, junction;
            double length;
        };
        std::vector<Branch> branches;
        std::unordered_map<int, int> perJunction;
        for (int v = 0; v < int(g.pos.size()); ++v) {
            if (g.degree[v] != 1)
                continue;
            int end = walkChain(g, v, chain);
            if (g.degree[end] < 3)
                continue;  // the whole component is one chain
            if (g.radius[v] >= 0.5 * g.radius[end])
                continue;
            double chainLength = 0.0;
            for (int e : chain)
                chainLength += dist(g.pos[g.edges[e].v0], g.pos[g.edges[e].v1]);
            branches.push_back({chain, v, end, chainLength});
            ++perJunction[end];
        }
        for (const Branch& b : branches) {
            double rj = g.radius[b.junction];
            // The two corners of a stroke end meet at a junction with the stroke's axis; they
            // go even when sharp (a stroke cut at a slant), as the cap sews the whole end.
            bool strokeEnd = g.degree[b.junction] == 3 && perJunction[b.junction] == 2;
            if (b.length > 1.6 * rj &&
                !(strokeEnd && b.length <= 3.2 * rj && wedge(g, b.chain, b.leaf)))
                continue;
            doomed.insert(doomed.end(), b.chain.begin(), b.chain.end());
            double maxSpan = 0.0;
            for (int e : b.chain) {
                Point a = g.pos[g.edges[e].v0], c = g.pos[g.edges[e].v1];
                maxSpan = std::max({maxSpan, g.span(e, a), g.span(e, c), g.span(e, (a + c) * 0.5)});
            }
            if (maxSpan >= 0.6 * 2.0 * rj)
                corners.push_back({b.chain, b.junction});
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

// Where three or more strokes meet, every branch's ribs would fan into the junction and cross
// one another. The two branches that line up best carry their column through the junction; the
// others stop at its edge.
std::vector<std::vector<int>> junctionTrims(const MGraph& g) {
    std::vector<std::vector<int>> trims(g.edges.size());
    for (int j = 0; j < int(g.pos.size()); ++j) {
        if (g.degree[j] < 3)
            continue;
        double reach = 1.5 * g.radius[j];
        struct Branch {
            std::vector<int> edges;
            Point dir;
        };
        std::vector<Branch> branches;
        for (int e0 : g.adj[j]) {
            if (!g.edges[e0].alive)
                continue;
            Branch b;
            int cur = j, e = e0;
            Point far = g.pos[j];
            while (e >= 0) {
                b.edges.push_back(e);
                cur = g.other(e, cur);
                if (dist(g.pos[cur], g.pos[j]) <= g.radius[j])
                    far = g.pos[cur];
                else if (dist(far, g.pos[j]) < 1e-9)
                    far = g.pos[cur];
                if (dist(g.pos[cur], g.pos[j]) > reach || g.degree[cur] != 2)
                    break;
                int next = -1;
                for (int f : g.adj[cur])
                    if (g.edges[f].alive && f != e)
                        next = f;
                e = next;
            }
            b.dir = unit(far - g.pos[j]);
            branches.push_back(b);
        }
        // The pair of branches that lines up best, if any lines up at all.
        int bi = -1, bk = -1;
        double best = -0.5;
        for (int i = 0; i < int(branches.size()); ++i)
            for (int k = i + 1; k < int(branches.size()); ++k) {
                double opposite = -dot(branches[i].dir, branches[k].dir);
                if (opposite > best) {
                    best = opposite;
                    bi = i;
                    bk = k;
                }
            }
        if (bi < 0)
            continue;
        for (int i = 0; i < int(branches.size()); ++i)
            if (i != bi && i != bk)
                for (int e : branches[i].edges)
                    trims[e].push_back(j);
    }
    return trims;
}

}  // namespace digitizer
