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
#include "formats/TestStitches.h"
#include "formats/ThreadPalette.h"

namespace {

using Bytes = std::vector<uint8_t>;

// One stitch with its colour, for comparing whole designs.
struct Flat {
    uint8_t color = 0;
    int32_t x = 0, y = 0;
    uint8_t longForm = 0, type = 0;
    bool operator==(const Flat& o) const {
        return color == o.color && x == o.x && y == o.y && longForm == o.longForm && type == o.type;
    }
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

// The design as the file holds it, worked out here independently of the writer: the movement
// from the origin (cx, cy) to the first stitch is a jump unless the stitch lies on the origin,
// and the long first stitch of a later block is a jump too. Left-out types are not written.
std::vector<Flat> asWritten(const std::vector<StitchBlock>& blocks, int32_t cx, int32_t cy) {
    std::vector<Flat> out;
    bool first = true;
    for (const StitchBlock& b : blocks) {
        bool blockFirst = true;
        for (const Stitch& s : b.stitches) {
            if (s.type & 0x14)
                continue;
            Flat f{b.colorIndex, s.x, s.y, s.longForm, s.type};
            if (first && (s.longForm || s.type != pec::kNormal || s.x != cx || s.y != cy)) {
                f.longForm = 1;
                f.type = pec::kJump;  // a trim with the jump flag reads back as a jump
            } else if (!first && blockFirst && s.longForm && s.type == pec::kNormal) {
                f.type = pec::kJump;
            }
            first = blockFirst = false;
            out.push_back(f);
        }
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

// The CSewSeg polylines of a file, each with its type and colour reference.
struct Segment {
    uint16_t type = 0, ref = 0;
    std::vector<std::pair<int, int>> points;
};

std::vector<Segment> segmentsOf(const Bytes& f, int version) {
    auto u16 = [&](std::size_t at) { return uint16_t(f.at(at) | f.at(at + 1) << 8); };
    std::size_t at = 18;
    if (version == 5) {
        at = 78;
        for (int i = 0, n = u16(76); i < n; ++i) {
            at += 1 + f.at(at) + 3 + 1 + 4;  // code, colour, 0, 10
            at += 1 + f.at(at);              // colour number
            at += 1 + f.at(at) + 1;          // "EMBROIDERY", 0
        }
        at += 2;
    }
    at += 4 + 2 + 7 + 16 + 24 + 2 + 8 + 8;
    const std::size_t count = u16(at);
    at += 2 + 4 + 2 + 7;
    std::vector<Segment> out;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            at += 2;  // 0x8003 between two segments
        Segment s;
        s.type = u16(at);
        s.ref = u16(at + 2);
        const int m = u16(at + 4);
        at += 6;
        for (int k = 0; k < m; ++k, at += 4)
            s.points.emplace_back(int16_t(u16(at)), int16_t(u16(at + 2)));
        out.push_back(s);
    }
    return out;
}

// The segments trace the path the stream sews: they begin where the stream begins (the centre,
// at hoop * 10 in their frame), pass every place the stream reaches in the same order (the parts
// of a split move aside), a jump segment reaches only long records, and a stitch segment never
// reaches a record flagged as a jump or trim.
void expectSegmentsFollowTheStream(const Bytes& f, int version, const PESWriteInput& in,
                                   const std::string& what) {
    const std::vector<Segment> segments = segmentsOf(f, version);
    PES reader;
    ASSERT_TRUE(reader.loadBuffer(0, f)) << what;
    const Bytes& d = reader.stitchData();
    struct Reached {
        int x, y;
        bool longForm, flagged;
    };
    std::vector<Reached> stream;
    int x = 0, y = 0;
    for (std::size_t pos = 0;;) {
        const pec::Record r = pec::readRecord(d.data(), d.size(), pos);
        if (r.kind == pec::RecordKind::Truncated || r.kind == pec::RecordKind::End)
            break;
        pos = r.next;
        if (r.kind != pec::RecordKind::Stitch)
            continue;
        x += r.dx;
        y += r.dy;
        stream.push_back({x, y, r.xLong || r.yLong, pec::recordType(r) != pec::kNormal});
    }
    // The record in front of the end marker is the closing move (the writer's, or the one the
    // reader puts there), not a place.
    if (!stream.empty())
        stream.pop_back();
    if (segments.empty()) {
        EXPECT_TRUE(stream.empty()) << what;
        return;
    }
    // Stream positions are relative to the centre; segment points are shifted by hoop * 10 minus
    // the centre, so a stream position p is the segment point p + hoop * 10, in 16 bits.
    const int ox = in.hoopW * 10, oy = in.hoopH * 10;
    auto place = [&](const Reached& r) {
        return std::make_pair(int(int16_t(uint16_t(r.x + ox))), int(int16_t(uint16_t(r.y + oy))));
    };
    ASSERT_FALSE(segments[0].points.empty()) << what;
    EXPECT_EQ(segments[0].points[0], std::make_pair(ox, oy)) << what << ": start";
    std::size_t k = 0;
    std::pair<int, int> last = segments[0].points[0];
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Segment& s = segments[i];
        for (std::size_t j = 0; j < s.points.size(); ++j) {
            if (i == 0 && j == 0)
                continue;
            // A segment that continues its run repeats the point it starts from.
            if (j == 0 && i > 0 && s.ref == segments[i - 1].ref && s.points[0] == last)
                continue;
            while (k < stream.size() && stream[k].longForm && place(stream[k]) != s.points[j])
                ++k;  // a part of a split move
            ASSERT_LT(k, stream.size()) << what << ": segment " << i << " goes on past the stream";
            ASSERT_EQ(place(stream[k]), s.points[j]) << what << ": segment " << i << " point " << j;
            if (s.type == 1) {
                EXPECT_TRUE(stream[k].longForm) << what << ": segment " << i << " point " << j;
            } else {
                EXPECT_FALSE(stream[k].flagged) << what << ": segment " << i << " point " << j;
            }
            last = s.points[j];
            ++k;
        }
    }
    EXPECT_EQ(k, stream.size()) << what << ": the stream goes on past the segments";
}

// Writes the blocks in one version, reads them back and compares.
void roundTrip(const std::vector<StitchBlock>& blocks, int version, const std::string& what) {
    const PESWriteInput in = pesWriteInputFor(blocks, 130, 180);
    const Bytes f = writePES(in, version);
    expectConsistent(f, version, what);
    expectSegmentsFollowTheStream(f, version, in, what);
    PES reader;
    ASSERT_TRUE(reader.loadBuffer(0, f)) << what;
    const Decoded d = decode(reader);
    const std::vector<Flat> got = flatten(d.blocks, in.centerX, in.centerY);
    expectSameStitches(asWritten(blocks, in.centerX, in.centerY), got, in.centerX, in.centerY,
                       what);
    // The public description of the written stitches says the same.
    EXPECT_TRUE(flatten(pes_writer::writtenBlocks(blocks, in.centerX, in.centerY)) ==
                asWritten(blocks, in.centerX, in.centerY))
        << what;
    // No stitch moved: the positions read back are the design's, with only the parts of split
    // moves in between.
    const std::vector<Flat> want = flatten(blocks);
    std::size_t g = 0;
    for (const Flat& w : want) {
        while (g < got.size() && (got[g].x != w.x || got[g].y != w.y))
            ++g;
        ASSERT_LT(g, got.size()) << what << ": a stitch at " << w.x << "," << w.y << " is lost";
        ++g;
    }
    // Written again, the design read back gives the same file: stream, segments and thumbnails
    // describe one path. Left out here: designs with split moves (they come back as several
    // records) and with plain stitches too long for the short form (they come back long).
    const std::vector<Flat> written = asWritten(blocks, in.centerX, in.centerY);
    bool sameForms = !got.empty() && got.size() == written.size();
    for (std::size_t i = 0; sameForms && i < got.size(); ++i)
        sameForms = got[i].longForm == written[i].longForm;
    if (sameForms) {
        std::vector<StitchBlock> again = d.blocks;
        for (StitchBlock& b : again) {
            for (Stitch& s : b.stitches) {
                s.x += in.centerX;
                s.y += in.centerY;
            }
        }
        const Bytes second = writePES(pesWriteInputFor(again, in.hoopW, in.hoopH), version);
        EXPECT_TRUE(second == f) << what << ": written again, the file changes";
    }
    if (!got.empty() && (got.front().x != in.centerX || got.front().y != in.centerY)) {
        EXPECT_EQ(got.front().longForm, 1) << what << ": the first record is not a jump";
        EXPECT_EQ(got.front().type, pec::kJump) << what << ": the first record is not a jump";
    }
}

using fixtures::block;
using fixtures::st;

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
