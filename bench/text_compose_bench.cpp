// Composing a 40-character line of mixed Thai and Latin text from a warm pack cache, with
// glyphs of a realistic size (about 300 stitches each), and the same line built into a layer.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "design/PESData.h"
#include "design/TextLayer.h"
#include "stitchfont/FontSizes.h"
#include "stitchfont/TestPack.h"

namespace {

// A satin-like glyph: the long anchor, `stitches` short zigzag stitches, the advance and the
// trailer.
std::vector<uint8_t> heavyGlyph(int stitches, int advance) {
    std::vector<uint8_t> g;
    testpack::putLong(g, 0);
    testpack::putLong(g, 0);
    for (int i = 0; i < stitches; ++i) {
        g.push_back(i % 2 ? 0x02 : 0x00);
        g.push_back(i % 2 ? 0x50 : 0x30);  // down 48, then up 48 and 2 to the right
    }
    testpack::putLong(g, advance - (stitches / 2) * 2);
    testpack::putLong(g, 0);
    g.push_back(0xFF);
    g.push_back(0x00);
    testpack::putTrailerValue(g, 0);
    testpack::putTrailerValue(g, -48);
    testpack::putTrailerValue(g, advance);
    testpack::putTrailerValue(g, 0);
    return g;
}

// 40 characters (code points) of Latin, Thai with vowels and tone marks, spaces and digits.
const char* const kLine = "Hello สวัสดีครับ Mivo ยินดีต้อนรับ ok 24";

struct WarmPack {
    testpack::MemoryData data;
    FontEnv env;
    std::string path = stitchfont::packPath(0, 3);

    WarmPack() {
        std::vector<uint8_t> pack;
        for (int c = 0x21; c < 0x7F; ++c)
            testpack::appendRecord(pack, uint32_t(c), heavyGlyph(300, 80));
        for (int c = 0xA1; c <= 0xFB; ++c) {
            const bool mark = (c >= 0xD4 && c <= 0xDA) || (c >= 0xE7 && c <= 0xEE) || c == 0xD1;
            testpack::appendRecord(pack, uint32_t(c), heavyGlyph(mark ? 60 : 300, mark ? 0 : 90));
        }
        data.files[path] = pack;
        data.put("MIVO_FONTS/MIVOFONT_001/10/config.plist",
                 testpack::plist({{"InterCharacter", 5}, {"SpaceGap", 40}, {"LineHeight", 200}}));
        env = data.env(false);
        SmartFontPack::add(path, env);
        data.templates.get(env);
    }
};

void BM_ComposeLine(benchmark::State& state) {
    WarmPack warm;
    std::shared_ptr<SmartFontPack> pack = SmartFontPack::find(warm.path, warm.env);
    for (auto _ : state) {
        std::shared_ptr<SmartFontPack> p = SmartFontPack::find(warm.path, warm.env);
        std::unique_ptr<PES> r = p->pack().createPES(kLine, 0, 0, warm.env);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_ComposeLine)->Unit(benchmark::kMicrosecond);

void BM_TextLayerFromLine(benchmark::State& state) {
    WarmPack warm;
    for (auto _ : state) {
        PESData layer;
        createTextLayer(layer, kLine, 0, 3, 0, 0, warm.env);
        benchmark::DoNotOptimize(layer.blocks);
    }
}
BENCHMARK(BM_TextLayerFromLine)->Unit(benchmark::kMicrosecond);

}  // namespace
