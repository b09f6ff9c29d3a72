// Files the writer produces, read back by our reader: the same stitches come out, and the parts
// another program counts (PEC colours, colour changes in the stream, thumbnails) agree. Every
// design of the real-world corpus makes the trip in both versions.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "formats/PES.h"
#include "formats/PESWriter.h"
#include "formats/ThreadPalette.h"

namespace {

using Bytes = std::vector<uint8_t>;

// One stitch with its colour, for comparing whole designs.
struct Flat {
    uint8_t color = 0;
    int32_t x = 0, y = 0;
    uint8_t longForm = 0, type = 0;
};

// Decodes a reader's stitch data the way the design layer does: a new run at every colour
// change, and the record in front of the end marker (the reader's closing move) left out.
struct Decoded {
    std::vector<StitchBlock> blocks;
    int colorChanges = 0;
    bool ended = false;
};

Decoded decode(const PES& reader) {
    Decoded out;
    const Bytes& d = reader.stitchData();
    const auto& colors = reader.colorIndexes();
    std::size_t color = 0;
    StitchBlock current;
    current.colorIndex = colors.empty() ? 0 : static_cast<uint8_t>(colors[0]);
    int32_t x = 0, y = 0;
    std::size_t pos = 0;
    for (;;) {
        const pec::Record r = pec::readRecord(d.data(), d.size(), pos);
        if (r.kind == pec::RecordKind::Truncated)
            break;
        pos = r.next;
        if (r.kind == pec::RecordKind::End) {
            if (!current.stitches.empty())
                current.stitches.pop_back();
            out.ended = true;
            break;
        }
        if (r.kind == pec::RecordKind::ColorChange) {
            ++out.colorChanges;
            out.blocks.push_back(current);
            current = StitchBlock();
            ++color;
            current.colorIndex = color < colors.size() ? static_cast<uint8_t>(colors[color]) : 0;
            continue;
        }
        x += r.dx;
        y += r.dy;
        Stitch s;
        s.x = x;
        s.y = y;
        s.longForm = (r.xLong || r.yLong) ? 1 : 0;
        s.type = pec::recordType(r);
        current.stitches.push_back(s);
    }
    out.blocks.push_back(current);
    return out;
}

std::vector<Flat> flatten(const std::vector<StitchBlock>& blocks, int32_t dx = 0, int32_t dy = 0) {
    std::vector<Flat> out;
    for (const StitchBlock& b : blocks) {
        for (const Stitch& s : b.stitches)
            out.push_back({b.colorIndex, s.x + dx, s.y + dy, s.longForm, s.type});
    }
    return out;
}

// The form a stitch has once written: long when it was long, is a jump or trim, or moves out of
// the short range -63..62.
uint8_t writtenLongForm(const Flat& s, int64_t dx, int64_t dy) {
    const bool shortMove = dx >= -63 && dx <= 62 && dy >= -63 && dy <= 62;
    return (s.longForm || (s.type & 3) || !shortMove) ? 1 : 0;
}

// Checks that the written design comes back: the same colours, positions and types, each
// stitch long where the writer had to write it long. Parts of a split long move show up as
// extra long records in between.
void expectSameStitches(const std::vector<Flat>& want, const std::vector<Flat>& got, int32_t cx,
                        int32_t cy, const std::string& what) {
    std::size_t g = 0;
    int64_t px = cx, py = cy;
    for (std::size_t i = 0; i < want.size(); ++i) {
        const Flat& w = want[i];
        int extras = 0;
        while (g < got.size() && (got[g].x != w.x || got[g].y != w.y) && extras < 100000) {
            ASSERT_EQ(got[g].longForm, 1) << what << ": stitch " << i << " off its place";
            ++g;
            ++extras;
        }
        ASSERT_LT(g, got.size()) << what << ": stitch " << i << " of " << want.size() << " lost";
        const Flat& r = got[g++];
        ASSERT_EQ(r.x, w.x) << what << ": stitch " << i;
        ASSERT_EQ(r.y, w.y) << what << ": stitch " << i;
        EXPECT_EQ(r.color, w.color) << what << ": stitch " << i;
        EXPECT_EQ(r.type, w.type) << what << ": stitch " << i;
        if (extras == 0) {
            EXPECT_EQ(r.longForm, writtenLongForm(w, w.x - px, w.y - py))
                << what << ": stitch " << i;
        }
        px = w.x;
        py = w.y;
    }
    EXPECT_EQ(g, got.size()) << what << ": extra stitches at the end";
}

uint32_t u32(const Bytes& b, std::size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

// What another program relies on: the colour count of the PEC header, the colour changes in
// the stream and the number of thumbnails describe the same colours, and the file ends where
// its parts say.
void expectConsistent(const Bytes& f, int version, const std::string& what) {
    PES reader;
    ASSERT_TRUE(reader.loadBuffer(0, f)) << what;
    const uint32_t P = u32(f, 8);
    const int countByte = f[P + 48];
    const int colors = countByte == 0xFF ? 0 : countByte + 1;
    const Decoded d = decode(reader);
    EXPECT_TRUE(d.ended) << what;
    EXPECT_EQ(d.colorChanges, colors > 0 ? colors - 1 : 0) << what;
    const uint32_t L = f[P + 514] | f[P + 515] << 8 | f[P + 516] << 16;
    const std::size_t graphics = P + 512 + L;
    EXPECT_EQ(f[graphics - 1], 0xFF) << what;
    std::size_t rest = f.size() - graphics;
    if (version == 5) {
        ASSERT_GE(rest, 128u) << what;
        const std::size_t trailerColors = static_cast<std::size_t>(colors);
        ASSERT_EQ(rest, (1 + trailerColors) * 228 + 128 + trailerColors * 147) << what;
        EXPECT_EQ(f[graphics + (1 + colors) * 228], countByte) << what;
        rest -= 128 + trailerColors * 147;
    }
    EXPECT_EQ(rest, static_cast<std::size_t>(1 + colors) * 228) << what;
}

// Writes the blocks in one version, reads them back and compares.
void roundTrip(const std::vector<StitchBlock>& blocks, int version, const std::string& what) {
    const PESWriteInput in = pesWriteInputFor(blocks, 130, 180);
    const Bytes f = writePES(in, version);
    expectConsistent(f, version, what);
    PES reader;
    ASSERT_TRUE(reader.loadBuffer(0, f)) << what;
    const Decoded d = decode(reader);
    expectSameStitches(flatten(blocks), flatten(d.blocks, in.centerX, in.centerY), in.centerX,
                       in.centerY, what);
}

Stitch st(int x, int y, uint8_t type = pec::kNormal, uint8_t longForm = 0) {
    Stitch s;
    s.x = x;
    s.y = y;
    s.type = type;
    s.longForm = longForm;
    return s;
}

StitchBlock block(uint8_t color, std::vector<Stitch> stitches) {
    StitchBlock b;
    b.colorIndex = color;
    b.color = threadColor(color);
    b.stitches = std::move(stitches);
    return b;
}

TEST(PESRoundTrip, SmallDesignsComeBack) {
    const std::vector<std::pair<const char*, std::vector<StitchBlock>>> designs = {
        {"one stitch", {block(5, {st(3, 4)})}},
        {"ends in a jump", {block(5, {st(0, 0), st(10, 10), st(900, -40, pec::kJump, 1)})}},
        {"ends in a trim", {block(5, {st(0, 0), st(10, 10, pec::kTrim, 1)})}},
        {"short range limits",
         {block(9, {st(0, 0), st(62, -63), st(125, -126), st(61, -62), st(125, -126)})}},
        {"long moves split",
         {block(20, {st(0, 0), st(3000, 100, pec::kJump, 1), st(3100, 2700, pec::kJump, 1),
                     st(-1000, -1000, pec::kJump, 1), st(-995, -1000)})}},
        {"colour changes",
         {block(1, {st(0, 0), st(5, 5)}), block(2, {st(100, 0, pec::kJump, 1), st(105, 5)}),
          block(3, {st(0, 100, pec::kJump, 1), st(5, 105)}), block(4, {st(50, 50)})}},
        {"long plain stitch", {block(7, {st(0, 0), st(4, 4, 0, 1), st(8, 8)})}},
    };
    for (const auto& design : designs) {
        roundTrip(design.second, 1, std::string(design.first) + " v1");
        roundTrip(design.second, 5, std::string(design.first) + " v5");
    }
}

TEST(PESRoundTrip, BlocksOfOneColourComeBackAsOneRun) {
    const std::vector<StitchBlock> blocks = {block(5, {st(0, 0), st(5, 5)}),
                                             block(5, {st(10, 0, pec::kJump, 1), st(15, 5)}),
                                             block(8, {st(20, 0)})};
    const PESWriteInput in = pesWriteInputFor(blocks, 100, 100);
    const Bytes f = writePES5(in);
    expectConsistent(f, 5, "same colour");
    PES reader;
    ASSERT_TRUE(reader.loadBuffer(0, f));
    const Decoded d = decode(reader);
    ASSERT_EQ(d.blocks.size(), 2u);
    EXPECT_EQ(d.blocks[0].stitches.size(), 4u);
    EXPECT_EQ(d.colorChanges, 1);
}

TEST(PESRoundTrip, RandomDesignsComeBack) {
    std::mt19937 rng(20261210);
    for (int design = 0; design < 40; ++design) {
        std::vector<StitchBlock> blocks;
        const int runs = 1 + static_cast<int>(rng() % 6);
        int x = 0, y = 0;
        for (int r = 0; r < runs; ++r) {
            StitchBlock b = block(static_cast<uint8_t>(1 + (r * 7 + design) % 64), {});
            const int count = static_cast<int>(rng() % 300);
            for (int i = 0; i < count; ++i) {
                const unsigned kind = rng() % 20;
                uint8_t type = pec::kNormal, longForm = 0;
                int range = 70;  // reaches just past the short range
                if (kind == 0) {
                    type = pec::kJump;
                    longForm = 1;
                    range = 5000;
                } else if (kind == 1) {
                    type = pec::kTrim;
                    longForm = 1;
                } else if (kind == 2) {
                    longForm = 1;
                    range = 1500;
                }
                x += static_cast<int>(rng() % (2 * range + 1)) - range;
                y += static_cast<int>(rng() % (2 * range + 1)) - range;
                b.stitches.push_back(st(x, y, type, longForm));
            }
            blocks.push_back(b);
        }
        for (int version : {1, 5})
            roundTrip(blocks, version, "random " + std::to_string(design));
    }
}

// Far-apart stitches need long chains of records; they still land exactly, and a huge move
// next to the origin of the stream does not overflow anything.
TEST(PESRoundTrip, FarApartStitchesComeBack) {
    const std::vector<StitchBlock> blocks = {
        block(5, {st(-30000000, 0, pec::kJump, 1), st(-29999990, 5)}),
        block(6, {st(30000000, 1000, pec::kJump, 1), st(30000004, 1003), st(30000007, 990)})};
    for (int version : {1, 5})
        roundTrip(blocks, version, "far apart v" + std::to_string(version));
}

TEST(PESRoundTrip, EmptyDesignsAreValid) {
    expectConsistent(writePES1(pesWriteInputFor({}, 100, 100)), 1, "no blocks v1");
    expectConsistent(writePES5(pesWriteInputFor({}, 100, 100)), 5, "no blocks v5");
    const std::vector<StitchBlock> emptyBlocks = {block(3, {}), block(4, {})};
    expectConsistent(writePES1(pesWriteInputFor(emptyBlocks, 100, 100)), 1, "empty runs v1");
    expectConsistent(writePES5(pesWriteInputFor(emptyBlocks, 100, 100)), 5, "empty runs v5");
}

// The corpus manifest: file name -> (format, stitch count found by an independent reader).
std::map<std::string, std::pair<std::string, long>> readManifest(const std::string& path) {
    std::map<std::string, std::pair<std::string, long>> out;
    std::ifstream in(path);
    std::string line;
    std::vector<std::string> header;
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            cells.push_back(line.substr(start, tab - start));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        if (header.empty()) {
            header = cells;
            continue;
        }
        std::string file, format;
        long stitches = 0;
        for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i) {
            if (header[i] == "file")
                file = cells[i];
            else if (header[i] == "format")
                format = cells[i];
            else if (header[i] == "indep_stitches")
                stitches = std::atol(cells[i].c_str());
        }
        out[file] = {format, stitches};
    }
    return out;
}

// Every design of the corpus: read, written as version 1 and 5, read back, same stitches. A
// file our reader turns down (a bare PEC file, an empty design with a cut stitch block) becomes
// an empty layer in the editor, and that is what makes the trip; every PES design with stitches
// must load.
TEST(PESRoundTrip, CorpusDesigns) {
    namespace fs = std::filesystem;
    const fs::path dir(MES_CORPUS_DIR);
    if (!fs::is_directory(dir))
        GTEST_SKIP() << "no corpus at " << dir;
    const auto manifest = readManifest((dir / "MANIFEST.tsv").string());
    int files = 0, loaded = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        const auto listed = manifest.find(name);
        if (listed == manifest.end())
            continue;
        ++files;
        std::ifstream in(entry.path().string(), std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        PES source;
        source.loadFileContents(bytes);
        Decoded original;
        if (source.hasSections()) {
            ++loaded;
            original = decode(source);
        } else {
            EXPECT_FALSE(listed->second.first == "pes" && listed->second.second > 0)
                << name << " has stitches but does not load";
        }
        for (int version : {1, 5})
            roundTrip(original.blocks, version, name + " v" + std::to_string(version));
    }
    EXPECT_EQ(files, static_cast<int>(manifest.size()));
    EXPECT_GT(loaded, 10);
}

}  // namespace
