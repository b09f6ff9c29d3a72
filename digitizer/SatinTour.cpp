#include "digitizer/SatinTour.h"

namespace digitizer {

// The pieces of a walk over the component that holds start, ending at start again.
void Tour::walk(int start) {
    visited_.assign(g_.pos.size(), false);
    used_.assign(g_.edges.size(), false);
    dfs(start);
}

// Turns the pieces into needle points.
void Tour::stitch(std::vector<Needle>& out) const {
    double runCarry = 0.0;
    bool lastSatin = false;
    RibState state;  // the last rib of the current satin stretch
    for (const Piece& pc : pieces) {
        Point d = pc.b - pc.a;
        double len = length(d);
        if (pc.satin != lastSatin) {
            state = RibState();
            runCarry = 0.0;
            lastSatin = pc.satin;
        }
        if (len < 1e-9)
            continue;
        Point u = d * (1.0 / len);
        if (!pc.satin && pc.exact) {
            // Out to the tip of a narrow stroke and back: the tip itself is sewn.
            int n = std::max(1, int(std::ceil(len / prm_.runLength)));
            for (int k = 1; k <= n; ++k) {
                Point p = pc.a + d * (double(k) / n);
                if (out.empty() || dist(out.back().p, p) >= prm_.minStitch)
                    out.push_back({p, Kind::Run});
            }
            runCarry = 0.0;
            continue;
        }
        if (!pc.satin) {
            // Running stitch: points every runLength and at the piece's end, kept off the
            // outline so that the satin over it hides it (corners are skipped).
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
        if (!pc.ribs.empty()) {
            for (const auto& rib : pc.ribs)
                rib_((rib.first + rib.second) * 0.5, rib.first, rib.second, state, out, true);
            continue;
        }
        // Ribs from the feet of the axis edge, sampled finely along the axis; rib_ keeps those
        // a satin spacing apart.
        const double h = prm_.satinSpacing / 8.0;
        int steps = std::max(1, int(std::ceil(len / h)));
        for (int i = 0; i <= steps; ++i) {
            Point p = pc.a + u * (len * i / steps);
            Point fa = foot(g_.edges[pc.edge].sa, p), fb = foot(g_.edges[pc.edge].sb, p);
            // Where the axis piece is a chord of a curved Voronoi edge its feet can lie far
            // beyond the nearest outline: no rib there.
            double c = part_.clearance(p);
            if (std::max(dist(p, fa), dist(p, fb)) > 1.5 * c + 1.0)
                continue;
            // A branch that ends at a junction stops where its sides end: the ribs that would
            // fan round the corners into the junction are left out.
            const MEdge& me = g_.edges[pc.edge];
            if (me.sa.point || me.sb.point) {
                bool inJunction = false;
                for (int j : trims_[pc.edge])
                    inJunction = inJunction || dist(p, g_.pos[j]) < 1.5 * g_.radius[j];
                if (inJunction)
                    continue;
            }
            rib_(p, fa, fb, state, out);
        }
    }
}

// Adds the rib fa-fb at axis point p when it lies a satin spacing from the last one: measured
// at the middle of the column, or at either foot where the outer side of a bend fans out. The
// rib is sewn from the foot across the column from the last needle, so that the thread zigzags
// even where the walk turns back. Ribs too narrow for satin become a running stitch on the axis.
void Tour::rib_(Point p, Point fa, Point fb, RibState& st, std::vector<Needle>& out,
                bool spaced) const {
    // Judged as stored: needle points are kept in whole 0.1 mm.
    fa = {std::round(fa.x), std::round(fa.y)};
    fb = {std::round(fb.x), std::round(fb.y)};
    double span = dist(fa, fb);
    if (span > prm_.maxSatinSpan * 1.1)
        return;
    // The way along the axis since the last rib, for running stitches around narrow curves.
    if (st.haveAxis)
        st.walked += dist(p, st.axis);
    st.axis = p;
    st.haveAxis = true;
    if (span < prm_.minSatinSpan) {
        // Too narrow for satin: a running stitch along the axis, with points close enough on
        // curves that the thread follows a small ring rather than cutting across it, but not
        // into the very tip of a corner.
        double chord = st.have ? dist(p, st.p) : 0.0;
        bool due = !st.have || st.walked >= prm_.runLength * 0.5 ||
                   (st.walked - chord > 0.3 && chord >= prm_.minStitch + 1.0);
        // A point too close to the last needle would be dropped later, leaving the satin on
        // either side joined by a stitch too short to span the column.
        bool room = out.empty() || dist(out.back().p, p) >= prm_.minStitch;
        if (part_.clearance(p) >= 0.5 && due && room) {
            out.push_back({p, Kind::Run});
            st.p = st.fa = st.fb = p;
            st.have = true;
            st.walked = 0.0;
        }
        return;
    }
    Point mid = (fa + fb) * 0.5;
    if (st.have && !spaced) {
        double feet = std::min(std::max(dist(fa, st.fa), dist(fb, st.fb)),
                               std::max(dist(fa, st.fb), dist(fb, st.fa)));
        if (dist(mid, (st.fa + st.fb) * 0.5) < prm_.satinSpacing && feet < 1.2 * prm_.satinSpacing)
            return;
    }
    if (!out.empty() && out.back().kind == Kind::Satin) {
        if (dist(out.back().p, fb) > dist(out.back().p, fa))
            std::swap(fa, fb);
        // Where the ribs turn quickly (a fan into a corner) both feet can lie near the last
        // needle: the stitch over there would be too short to lie flat, so the next rib is
        // awaited.
        if (dist(out.back().p, fa) < prm_.minSatinSpan)
            return;
    }
    out.push_back({fa, Kind::Satin});
    out.push_back({fb, Kind::Satin});
    st.p = p;
    st.walked = 0.0;
    st.fa = fa;
    st.fb = fb;
    st.have = true;
}

// Underlay keeps off the outline (a long stitch left by skipping is split later); and a point
// too close to the last needle is skipped here rather than dropped later, which could join the
// satin on either side with a stitch too short to span the column.
bool Tour::keepRun(Point p, const std::vector<Needle>& out) const {
    if (out.empty())
        return true;
    double d = dist(out.back().p, p);
    return d >= prm_.minStitch && part_.clearance(p) >= std::min(prm_.underlayInset, 1.0);
}

void Tour::dfs(int v) {
    visited_[v] = true;
    for (int e : g_.adj[v]) {
        if (!g_.edges[e].alive || used_[e])
            continue;
        used_[e] = true;
        int w = g_.other(e, v);
        pieces.push_back({g_.pos[v], g_.pos[w], e, false, {}, false});
        if (!visited_[w])
            dfs(w);
        pieces.push_back({g_.pos[w], g_.pos[v], e, true, {}, false});
    }
    if (g_.degree[v] == 1)
        cap(v);
}

// The end of a stroke beyond the last vertex of its axis (round, blunt or cut at a slant): the
// column is carried on along the axis direction with ribs across it, each the stretch of the
// outline's inside on that line which overlaps the last one, until they run out. On a slanted cut
// the ribs shorten into the sharp corner, as satin lettering ends.
void Tour::cap(int v) {
    double r = g_.radius[v];
    // Direction of the axis, taken over a stretch about as long as the radius.
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
    if (r < 1.0)
        return;  // the tip of a corner, not the end of a stroke
    if (r < prm_.minSatinSpan * 0.5) {
        // Too narrow for satin: the running stitch is carried on to the end of the stroke,
        // stopping short of it by about the thread's half width.
        double reach = 0.0;
        for (double s = 1.0; s <= 4.0 * r + 10.0 && part_.inside(g_.pos[v] + t * s); s += 1.0)
            reach = s;
        reach -= 1.5;
        if (reach < prm_.minStitch)
            return;
        Point tip = g_.pos[v] + t * reach;
        pieces.push_back({g_.pos[v], tip, -1, false, {}, true});
        pieces.push_back({tip, g_.pos[v], -1, false, {}, true});
        return;
    }
    // The chord through the vertex itself, then on along t in small steps; a rib every satin
    // spacing and one at the last chord, so that short ends are sewn too.
    double lo = -r, hi = r, lastRib = 0.0;
    std::vector<std::pair<Point, Point>> ribs;
    std::pair<Point, Point> last;
    double lastS = 0.0;
    for (double s = 0.0; s <= 4.0 * r + prm_.maxSatinSpan; s += 1.0) {
        Point p = g_.pos[v] + t * s;
        double bestOverlap = 0.0, nlo = 0.0, nhi = 0.0;
        for (const auto& c : part_.chords(p, n)) {
            double overlap = std::min(c.second, hi) - std::max(c.first, lo);
            if (overlap > bestOverlap) {
                bestOverlap = overlap;
                nlo = c.first;
                nhi = c.second;
            }
        }
        // A chord much longer than the stroke is wide has run into another stroke.
        if (bestOverlap <= 0.0 || nhi - nlo < prm_.minSatinSpan * 0.6 || nhi - nlo > 2.6 * r + 2.0)
            break;
        lo = nlo;
        hi = nhi;
        last = {p + n * lo, p + n * hi};
        lastS = s;
        if (s - lastRib >= prm_.satinSpacing) {
            ribs.push_back(last);
            lastRib = s;
        }
    }
    if (lastS - lastRib >= 1.0)
        ribs.push_back(last);
    if (ribs.empty())
        return;
    // Out along the middle of the ribs (underlay), back with satin.
    Point end = (ribs.back().first + ribs.back().second) * 0.5;
    pieces.push_back({g_.pos[v], end, -1, false, {}, false});
    std::reverse(ribs.begin(), ribs.end());
    pieces.push_back({end, g_.pos[v], -1, true, ribs, false});
}

}  // namespace digitizer
