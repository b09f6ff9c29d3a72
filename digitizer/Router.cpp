#include "digitizer/Router.h"

#include <algorithm>
#include <limits>
#include <queue>

namespace digitizer {

namespace {

// Ways keep this far from the outline where the part is wide enough (0.5 mm), so that travel
// stitches rounded to whole 0.1 mm stay inside and do not show along the edge.
constexpr double kMargin = 5.0;
// Axis vertices closer to the outline than this (0.1 mm) sit in corners: no way starts there.
constexpr double kMinRadius = 1.0;
// The nearest vertices tried for a straight way onto the axis, and how many found are kept.
constexpr std::size_t kNear = 24;
constexpr std::size_t kKeep = 4;
constexpr std::size_t kMaxTried = 96;

}  // namespace

Router::Router(const Part& part, const MGraph& axis) : part_(part), axis_(axis) {
    next_.assign(axis.pos.size(), {});
    for (const MEdge& e : axis.edges) {
        if (!e.alive)
            continue;
        double l = dist(axis.pos[e.v0], axis.pos[e.v1]);
        next_[e.v0].push_back({e.v1, l});
        next_[e.v1].push_back({e.v0, l});
    }
    for (int v = 0; v < int(axis.pos.size()); ++v)
        if (!next_[v].empty() && axis.radius[v] >= kMinRadius)
            usable_.push_back(v);
}

bool Router::clear(Point a, double ca, Point b, double cb, double margin) const {
    double len = dist(a, b);
    int n = std::max(2, int(len / 5.0) + 1);  // a sample every 0.5 mm at most
    for (int i = 0; i <= n; ++i) {
        double t = double(i) / n;
        Point p = a + (b - a) * t;
        if (!part_.inside(p))
            return false;
        if (i == 0 || i == n)
            continue;
        // Clearance changes by at most the distance moved, so near a close end less is asked.
        double need = std::min({margin, ca + t * len, cb + (1.0 - t) * len}) - 0.5;
        if (need > 0.0 && part_.clearance(p) < need)
            return false;
    }
    return true;
}

std::vector<int> Router::seen(Point p) const {
    std::vector<std::pair<double, int>> near;
    near.reserve(usable_.size());
    for (int v : usable_)
        near.push_back({dist(axis_.pos[v], p), v});
    std::size_t head = std::min(kNear, near.size());
    std::partial_sort(near.begin(), near.begin() + long(head), near.end());
    std::vector<int> found;
    for (std::size_t i = 0; i < near.size() && i < kMaxTried && found.size() < kKeep; ++i) {
        if (i == head) {
            // None of the nearest sees p (a deep notch): look further out, nearest first.
            if (!found.empty())
                break;
            std::sort(near.begin() + long(head), near.end());
        }
        if (part_.lineInside(p, axis_.pos[near[i].second]))
            found.push_back(near[i].second);
    }
    if (!found.empty())
        return found;
    // p itself may lie on the outline, or a hair outside it (a satin stitch ends there): then
    // the line only needs to be inside from 0.3 mm on.
    for (std::size_t i = 0; i < near.size() && i < kNear && found.size() < kKeep; ++i) {
        Point q = axis_.pos[near[i].second];
        double l = dist(p, q);
        if (l > 3.0 && part_.lineInside(p + (q - p) * (3.0 / l), q))
            found.push_back(near[i].second);
    }
    return found;
}

std::vector<Point> Router::way(Point from, Point to) const {
    double cFrom = part_.clearance(from), cTo = part_.clearance(to);
    if (clear(from, cFrom, to, cTo, kMargin))
        return {from, to};
    std::vector<int> starts = seen(from), ends = seen(to);
    if (starts.empty() || ends.empty()) {
        if (part_.lineInside(from, to))
            return {from, to};
        return {};
    }
    // Dijkstra along the axis from every start at once; each end adds its line to to.
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> cost(axis_.pos.size(), inf), toEnd(axis_.pos.size(), inf);
    std::vector<int> prev(axis_.pos.size(), -1);
    for (int v : ends)
        toEnd[v] = dist(axis_.pos[v], to);
    using Item = std::pair<double, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    for (int v : starts) {
        double c = dist(from, axis_.pos[v]);
        if (c < cost[v]) {
            cost[v] = c;
            queue.push({c, v});
        }
    }
    double best = inf;
    int bestEnd = -1;
    while (!queue.empty()) {
        auto [c, u] = queue.top();
        queue.pop();
        if (c > cost[u])
            continue;
        if (c >= best)
            break;
        if (c + toEnd[u] < best) {
            best = c + toEnd[u];
            bestEnd = u;
        }
        for (auto [w, l] : next_[u])
            if (c + l < cost[w]) {
                cost[w] = c + l;
                prev[w] = u;
                queue.push({c + l, w});
            }
    }
    if (bestEnd < 0)
        return {};
    std::vector<Point> pts{to};
    std::vector<double> cl{cTo};
    for (int v = bestEnd; v >= 0; v = prev[v]) {
        pts.push_back(axis_.pos[v]);
        cl.push_back(axis_.radius[v]);
    }
    pts.push_back(from);
    cl.push_back(cFrom);
    std::reverse(pts.begin(), pts.end());
    std::reverse(cl.begin(), cl.end());

    return pull(pts, cl);
}

std::vector<Point> Router::pull(const std::vector<Point>& pts,
                                const std::vector<double>& cl) const {
    // String pulling: from each kept point, on to the farthest point of the axis way that a
    // clear straight line reaches. The margin asked is what the axis way itself keeps between
    // the two, so a shortcut never comes closer to the outline than the narrowest place passed.
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<Point> way{pts[0]};
    std::vector<double> wayCl{cl[0]};
    std::vector<double> margins{0.0};  // what each corner keeps off the outline, fixed
    std::size_t i = 0;
    while (i + 1 < pts.size()) {
        std::size_t reach = i + 1;
        double narrow = inf;
        for (std::size_t k = i + 2; k < pts.size(); ++k) {
            narrow = std::min(narrow, cl[k - 1]);
            if (clear(pts[i], cl[i], pts[k], cl[k], std::min(kMargin, 0.9 * narrow)))
                reach = k;
        }
        // Long straight pieces get corners of their own every 3 mm or so: round a curved
        // outline the thread bends many times.
        int pieces = int(std::ceil(dist(pts[i], pts[reach]) / 30.0));
        for (int k = 1; k < pieces; ++k) {
            Point p = pts[i] + (pts[reach] - pts[i]) * (double(k) / pieces);
            way.push_back(p);
            wayCl.push_back(part_.clearance(p));
            margins.push_back(std::min(kMargin, 0.9 * std::min(cl[i], cl[reach])));
        }
        way.push_back(pts[reach]);
        wayCl.push_back(cl[reach]);
        margins.push_back(std::min(kMargin, 0.9 * cl[reach]));
        i = reach;
    }
    // The corners left sit on the axis, in the middle of the part; the shortest way turns close
    // round the outline's inner corners instead. Each corner slides, towards either neighbour or
    // straight into the turn, while that shortens the way and the lines to both neighbours stay
    // clear: the way tightens like a pulled thread round the outline (steps in 0.1 mm).
    for (int pass = 0; pass < 24; ++pass) {
        bool moved = false;
        for (std::size_t j = 1; j + 1 < way.size(); ++j) {
            Point a = way[j - 1], b = way[j + 1];
            double margin = margins[j];
            for (int d = 0; d < 3; ++d) {
                Point q = way[j];
                Point dir = d == 0   ? unit(a - q)
                            : d == 1 ? unit(b - q)
                                     : unit((unit(a - q) + unit(b - q)));
                double before = dist(a, q) + dist(q, b);
                for (double step : {16.0, 8.0, 4.0, 2.0, 1.0}) {
                    Point r = q + dir * step;
                    if (dist(a, r) + dist(r, b) > before - 0.05)
                        continue;
                    double cr = part_.clearance(r);
                    if (cr < margin - 0.5 || !part_.inside(r))
                        continue;
                    if (clear(r, cr, a, wayCl[j - 1], margin) &&
                        clear(r, cr, b, wayCl[j + 1], margin)) {
                        way[j] = r;
                        wayCl[j] = cr;
                        moved = true;
                        break;
                    }
                }
            }
        }
        // Corners that now see past their neighbour go.
        for (std::size_t j = 1; j + 1 < way.size();) {
            double margin = std::min(margins[j - 1] > 0.0 ? margins[j - 1] : kMargin,
                                     margins[j + 1] > 0.0 ? margins[j + 1] : kMargin);
            margin = std::min(margin, margins[j]);
            if (clear(way[j - 1], wayCl[j - 1], way[j + 1], wayCl[j + 1], margin)) {
                way.erase(way.begin() + long(j));
                wayCl.erase(wayCl.begin() + long(j));
                margins.erase(margins.begin() + long(j));
                moved = true;
            } else {
                ++j;
            }
        }
        if (!moved)
            break;
    }
    return way;
}

}  // namespace digitizer
