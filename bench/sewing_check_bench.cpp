// The check before sending a large design: the 1,000,000 stitches in 10 colour runs that
// pes_write_bench writes (bench/SyntheticDesign.h), checked as our writer writes them against a
// 130 x 180 mm hoop.
//
// Run: build/bin/sewing_check_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only
// and read the median.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/SyntheticDesign.h"
#include "formats/PESWriter.h"
#include "formats/SewingCheck.h"

namespace {

void BM_CheckSewing_1M(benchmark::State& state) {
    const std::vector<StitchBlock> blocks = bench::satinColumns(1000000, 10);
    const PESWriteInput in = pesWriteInputFor(blocks, 130, 180);
    SewingCheckOptions options;
    options.hoopW = 130;
    options.hoopH = 180;
    std::size_t issues = 0;
    for (auto _ : state) {
        const SewingReport r = checkSewingAsWritten(blocks, in.centerX, in.centerY, options);
        issues = r.issues.size();
        benchmark::DoNotOptimize(r.seconds);
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
    state.counters["issues"] = static_cast<double>(issues);
}
BENCHMARK(BM_CheckSewing_1M)->Unit(benchmark::kMillisecond);

}  // namespace
