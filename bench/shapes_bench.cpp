// Shape and border generation: what one create or edit costs for large outlines.
//
//   shapes_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include "design/Border.h"
#include "design/ShapeLayer.h"
#include "design/TextEffect.h"

namespace {

// A text layer 30 letters wide (110 units per letter, 100 tall), framed, optionally bent onto the
// top of a circle with the automatic radius.
PESData thirtyLetterText(int baselineIndex) {
    PESData layer;
    StitchBlock block;
    block.colorIndex = 11;
    for (int i = 0; i <= 30 * 10; ++i) {
        block.stitches.push_back({-1650 + i * 11, (i % 2) ? -50 : 50});
    }
    layer.appendBlock(block);
    layer.computeBounds();
    layer.buildFramePoints();
    if (baselineIndex != 0) {
        layer.properties.baselineIndex = baselineIndex;
        effects::bendLayer(layer, 0, effects::BendKind::Text);
        layer.computeBounds();
    }
    return layer;
}

void BM_Ellipse20cm(benchmark::State& state) {
    const LayerProperties props = shapes::shapeProperties(8, 20, 20, 0.2f, 0.4f, 10);
    for (auto _ : state) {
        PESData layer = shapes::buildShapeLayer(props);
        benchmark::DoNotOptimize(layer.stitchCount);
    }
}
BENCHMARK(BM_Ellipse20cm)->Unit(benchmark::kMicrosecond);

void BM_Rectangle20cm(benchmark::State& state) {
    const LayerProperties props = shapes::shapeProperties(2, 20, 20, 0.2f, 0.4f, 10);
    for (auto _ : state) {
        PESData layer = shapes::buildShapeLayer(props);
        benchmark::DoNotOptimize(layer.stitchCount);
    }
}
BENCHMARK(BM_Rectangle20cm)->Unit(benchmark::kMicrosecond);

void BM_Border30Letters(benchmark::State& state) {
    const PESData text = thirtyLetterText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PESData border;
        border::buildBorderLayer(text, 4, border);
        benchmark::DoNotOptimize(border.stitchCount);
    }
}
BENCHMARK(BM_Border30Letters)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
