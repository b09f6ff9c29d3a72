// Satin columns along a part's medial axis. A tour walks the axis depth first: a running stitch
// goes out along each branch (underlay, and travel at once) and satin comes back over it, its
// ribs joining the outline on either side of the axis. Stroke ends beyond the axis are sewn by
// carrying the column on (caps). Units 0.1 mm.
#pragma once

#include <vector>

#include "digitizer/MedialAxis.h"

namespace digitizer {

// One straight piece of the tour. Satin pieces take their ribs from the feet of the axis edge,
// or, for stroke caps (edge < 0), from the explicit list.
struct Piece {
    Point a;
    Point b;
    int edge = -1;
    bool satin = false;
    std::vector<std::pair<Point, Point>> ribs;  // in sewing order
    bool exact = false;  // a running piece whose end is sewn wherever it lies (narrow tips)
};

class Tour {
public:
    // trims is junctionTrims(g). Everything is borrowed and must outlive the tour.
    Tour(const Part& part, const MGraph& g, const std::vector<std::vector<int>>& trims,
         const Params& prm)
        : part_(part), g_(g), prm_(prm), trims_(trims) {}

    // The pieces of a walk over the component that holds start, ending at start again.
    void walk(int start);
    // Turns the pieces into needle points, appended to out.
    void stitch(std::vector<Needle>& out) const;

    std::vector<Piece> pieces;
    std::vector<bool> visited_;  // the graph vertices the walk reached

private:
    bool keepRun(Point p, const std::vector<Needle>& out) const;
    struct RibState {
        bool have = false;  // a rib (or running point) has been sewn: p, fa, fb
        Point p, fa, fb;
        bool haveAxis = false;  // the axis point of the last rib considered
        Point axis;
        double walked = 0.0;  // along the axis since the last rib sewn
    };
    // spaced: the rib comes from a list already a satin spacing apart.
    void rib_(Point p, Point fa, Point fb, RibState& st, std::vector<Needle>& out,
              bool spaced = false) const;
    void dfs(int v);
    void cap(int v);

    const Part& part_;
    const MGraph& g_;
    const Params& prm_;
    std::vector<bool> used_;
    const std::vector<std::vector<int>>& trims_;  // per edge: junctions where its branch stops
};

}  // namespace digitizer
