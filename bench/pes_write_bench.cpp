// Writing a large design as the stick export does: one layer of 1,000,000 stitches in 10 colour
// runs, satin zigzags with a jump every 200 stitches, written as PES version 5.
//
// Run: build-*/bin/pes_write_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only
// and read the median.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "design/PESData.h"
#include "design/PESExport.h"
#include "formats/ThreadPalette.h"

namespace {

PESData syntheticLayer(int stitches, int runs) {
    PESData layer;
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
                // Jump to the start of the next column, somewhere else in the hoop.
                x = -1500 + (i * 37 + r * 911) % 3000;
                y = -1500 + (i * 53 + r * 577) % 3000;
                s.type = pec::kJump;
                s.longForm = 1;
            } else {
                // A satin column 4 mm wide, 0.4 mm a step.
                x += (i % 2) ? 40 : -36;
                y += 4;
            }
            s.x = x;
            s.y = y;
            block.stitches.push_back(s);
        }
        layer.appendBlock(std::move(block));
    }
    layer.computeBounds();
    return layer;
}

void BM_WritePES5_1M(benchmark::State& state) {
    const PESData layer = syntheticLayer(1000000, 10);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::vector<uint8_t> file = writePES5(layer, 130, 180);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.SetItemsProcessed(state.iterations() * layer.stitchCount);
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WritePES5_1M)->Unit(benchmark::kMillisecond);

void BM_WritePES1_1M(benchmark::State& state) {
    const PESData layer = syntheticLayer(1000000, 10);
    for (auto _ : state) {
        std::vector<uint8_t> file = writePES1(layer, 130, 180);
        benchmark::DoNotOptimize(file.data());
    }
    state.SetItemsProcessed(state.iterations() * layer.stitchCount);
}
BENCHMARK(BM_WritePES1_1M)->Unit(benchmark::kMillisecond);

}  // namespace
