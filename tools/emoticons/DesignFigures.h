// The figures of a design that the quality report and the test of the shipped set read from the
// file as our reader decodes it. Units: millimetres.
#pragma once

#include <algorithm>
#include <cmath>

#include "design/PESData.h"

namespace emoticons {

struct Figures {
    double width = 0, height = 0;      // the area the visible stitches reach
    double shortest = 0, longest = 0;  // visible stitches
};

inline Figures figuresOf(const PESData& layer) {
    int minX = 1 << 30, minY = 1 << 30, maxX = -(1 << 30), maxY = -(1 << 30);
    Figures f;
    f.shortest = 1e9;
    for (const StitchBlock& b : layer.blocks)
        for (std::size_t i = 0; i < b.stitches.size(); ++i) {
            const Stitch& s = b.stitches[i];
            if (s.longForm)
                continue;  // a movement
            minX = std::min(minX, s.x);
            maxX = std::max(maxX, s.x);
            minY = std::min(minY, s.y);
            maxY = std::max(maxY, s.y);
            if (i == 0)
                continue;
            const Stitch& p = b.stitches[i - 1];
            const double len = std::hypot(s.x - p.x, s.y - p.y) / 10.0;
            f.shortest = std::min(f.shortest, len);
            f.longest = std::max(f.longest, len);
        }
    if (minX <= maxX) {
        f.width = (maxX - minX) / 10.0;
        f.height = (maxY - minY) / 10.0;
    }
    return f;
}

}  // namespace emoticons
