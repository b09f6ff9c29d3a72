// The medial axis of a part: the inner edges of the Voronoi diagram of its outline segments
// (Boost.Polygon), as a graph whose vertices carry their distance to the outline. Units 0.1 mm.
#pragma once

#include <vector>

#include "digitizer/Part.h"

namespace digitizer {

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

MGraph medialGraph(const Part& part);

// Removes the short branches that run into corners of the outline (see MedialAxis.cpp).
void prune(MGraph& g);

// For each edge of the graph, the junctions (vertices where three or more branches meet) at
// which its branch stops: every branch but the two that line up best.
std::vector<std::vector<int>> junctionTrims(const MGraph& g);

}  // namespace digitizer
