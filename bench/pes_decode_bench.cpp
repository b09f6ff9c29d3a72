// Decoding a large PES design into a layer: the reader cuts the buffer, the layer decodes the
// stitch records into colour runs and computes bounds and counts. The design is synthetic:
// 1,000,000 stitch records (plus the closing move), mostly short zig-zag stitches, a long jump
// every 500 stitches and a colour change every 100,000.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "design/PESData.h"
#include "formats/PES.h"

namespace {

constexpr int kStitches = 1000000;

std::vector<uint8_t> syntheticPES() {
    std::vector<uint8_t> stitches;
    stitches.reserve(kStitches * 2 + 64);
    int colours = 1;
    for (int i = 0; i < kStitches; ++i) {
        if (i > 0 && i % 100000 == 0) {
            stitches.insert(stitches.end(), {0xFE, 0xB0, uint8_t(colours % 2)});
            ++colours;
        }
        if (i % 500 == 499) {
            stitches.insert(stitches.end(), {0x90, 0x64, 0x8F, 0x9C});  // jump (100, -100)
        } else {
            const int8_t dx = (i % 2) ? 30 : -27;
            const int8_t dy = (i % 40 < 20) ? 2 : -2;
            stitches.push_back(uint8_t(dx) & 0x7F);
            stitches.push_back(uint8_t(dy) & 0x7F);
        }
    }
    stitches.insert(stitches.end(), {0x80, 0x00, 0x80, 0x00, 0xFF, 0x00});

    const uint32_t P = 32;
    std::vector<uint8_t> f = {'#', 'P', 'E', 'S', '0', '0', '0', '1', uint8_t(P), 0, 0, 0};
    f.resize(P, 0);
    std::vector<uint8_t> pec(532, 0x20);
    pec[48] = uint8_t(colours - 1);
    for (int c = 0; c < colours; ++c)
        pec[49 + c] = uint8_t(1 + c % 64);
    const uint32_t L = uint32_t(stitches.size() + 19);
    pec[514] = uint8_t(L);
    pec[515] = uint8_t(L >> 8);
    pec[516] = uint8_t(L >> 16);
    f.insert(f.end(), pec.begin(), pec.end());
    f.insert(f.end(), stitches.begin(), stitches.end());
    f.resize(f.size() + 64, 0);  // thumbnails
    return f;
}

void BM_DecodePESIntoLayer(benchmark::State& state) {
    const std::vector<uint8_t> file = syntheticPES();
    for (auto _ : state) {
        PES reader;
        reader.loadBuffer(0, file.data(), file.size());
        PESData layer;
        layer.createFromPES(&reader);  // decodes and runs computeBounds
        benchmark::DoNotOptimize(layer.stitchCount);
        if (layer.stitchCount != kStitches)
            state.SkipWithError("wrong stitch count");
    }
    state.SetItemsProcessed(state.iterations() * kStitches);
}

BENCHMARK(BM_DecodePESIntoLayer)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
