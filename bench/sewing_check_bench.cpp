// The check before sending a large design: one design of 1,000,000 stitches in 10 colour runs,
// satin columns 4 mm wide with a jump every 200 stitches (as in pes_write_bench), checked as
// our writer writes it against a 130 x 180 mm hoop.
//
// Run: build/bin/sewing_check_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only
// and read the median.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "formats/PESWriter.h"
#include "formats/SewingCheck.h"
#include "formats/ThreadPalette.h"

namespace {

std::vector<StitchBlock> syntheticDesign(int stitches, int runs) {
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

void BM_CheckSewing_1M(benchmark::State& state) {
    const std::vector<StitchBlock> blocks = syntheticDesign(1000000, 10);
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
