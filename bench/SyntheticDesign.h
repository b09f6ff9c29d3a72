// The large design the writing and checking benchmarks share: `stitches` stitches in `runs`
// colour runs, satin columns 4 mm wide, 0.4 mm a step, with a jump every 200 stitches to the start
// of the next column somewhere else in a 300 x 300 mm area.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/Stitch.h"
#include "formats/ThreadPalette.h"

namespace bench {

inline std::vector<StitchBlock> satinColumns(int stitches, int runs) {
    std::vector<StitchBlock> blocks;
    const int perRun = stitches / runs;
    int x = -1500, y = -1500;
    for (int r = 0; r < runs; ++r) {
        StitchBlock block;
        block.colorIndex = static_cast<uint8_t>(1 + r * 5 % 64);
        block.color = threadColor(block.colorIndex);
        block.stitches.reserve(static_cast<std::size_t>(perRun));
        for (int i = 0; i < perRun; ++i) {
            Stitch s;
            if (i % 200 == 0) {
                x = -1500 + (i * 37 + r * 911) % 3000;
                y = -1500 + (i * 53 + r * 577) % 3000;
                s.type = pec::kJump;
                s.longForm = 1;
            } else {
                x += (i % 2) ? 40 : -36;
                y += 4;
            }
            s.x = x;
            s.y = y;
            block.stitches.push_back(s);
        }
        blocks.push_back(std::move(block));
    }
    return blocks;
}

}  // namespace bench
