// Writing a large design as the stick export does: one layer of 1,000,000 stitches in 10 colour
// runs, satin zigzags with a jump every 200 stitches, written as PES version 5.
//
// Run: build-*/bin/pes_write_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only
// and read the median.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/SyntheticDesign.h"
#include "design/PESData.h"
#include "design/PESExport.h"

namespace {

PESData syntheticLayer(int stitches, int runs) {
    PESData layer;
    for (StitchBlock& block : bench::satinColumns(stitches, runs))
        layer.appendBlock(std::move(block));
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
