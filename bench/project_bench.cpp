// Saving and loading a project of 16 PES layers of 5,000 stitches each (the bytes only, no disk),
// with a headless layer list.
#include <benchmark/benchmark.h>

#include "design/Document.h"
#include "design/HeadlessLayerList.h"
#include "design/ProjectFile.h"
#include "formats/ThreadPalette.h"

namespace {

PESData layer(int k) {
    PESData l;
    for (int b = 0; b < 5; ++b) {
        StitchBlock block;
        block.colorIndex = static_cast<uint8_t>((k + b) % 64 + 1);
        block.color = threadColor(block.colorIndex);
        for (int i = 0; i < 1000; ++i) {
            Stitch s;
            s.x = (i * 13 + k * 50) % 1200 - 600;
            s.y = (i / 20) * 8 + b * 100 - 400;
            block.stitches.push_back(s);
        }
        l.blocks.push_back(block);
    }
    l.computeBounds();
    l.prepareImportedPES();
    l.translate(k * 10, -k * 10);
    l.computeBounds();
    return l;
}

void BM_SaveLoad16(benchmark::State& state) {
    HeadlessLayerList list, list2;
    Document doc(list), loaded(list2);
    for (int k = 0; k < 16; ++k)
        doc.appendLayer(layer(k), "l");
    std::size_t size = 0;
    for (auto _ : state) {
        const std::vector<uint8_t> bytes = projectBytes(doc, 130, 180);
        size = bytes.size();
        list2.lines.clear();
        benchmark::DoNotOptimize(loadProject(loaded, bytes));
    }
    state.counters["bytes"] = double(size);
}
BENCHMARK(BM_SaveLoad16)->Unit(benchmark::kMillisecond);

}  // namespace
