// Sections of this file:
//   1. byte helpers
//   2. palette look-ups (catalogue codes, label colours)
//   3. colour runs, bounds
//   4. PEC stitch stream
//   5. PES objects: CEmbOne and its CSewSeg polylines
//   6. thumbnails
//   7. label images and the version 5 trailer
//   8. PEC block, version 1 and version 5 files
#include "formats/PESWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "formats/PixelFont.h"
#include "formats/ThreadPalette.h"

// ---------------------------------------------------------------------------------------------
// 1. Byte helpers. Every multi-byte value is little-endian; 16-bit fields take the low 16 bits.

namespace {

void put8(std::vector<uint8_t>& out, int64_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
}

void put16(std::vector<uint8_t>& out, int64_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<uint8_t>& out, int64_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

void putFloat(std::vector<uint8_t>& out, float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    put32(out, bits);
}

void putText(std::vector<uint8_t>& out, const char* text) {
    out.insert(out.end(), text, text + std::strlen(text));
}

void putFill(std::vector<uint8_t>& out, std::size_t count, uint8_t byte) {
    out.insert(out.end(), count, byte);
}

// A string with its length in front, as the thread list stores its texts.
void putCounted(std::vector<uint8_t>& out, const std::string& text) {
    const std::size_t len = std::min<std::size_t>(text.size(), 255);
    put8(out, static_cast<int64_t>(len));
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(len));
}

void patch16(std::vector<uint8_t>& out, std::size_t at, int64_t v) {
    out[at] = static_cast<uint8_t>(v & 0xFF);
    out[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

void patch32(std::vector<uint8_t>& out, std::size_t at, int64_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}

// Appends to a byte vector through a small staging buffer. The stitch stream and the segments
// write a few bytes per stitch; going through the vector for each byte costs more than all the
// encoding around it. Flushes when destroyed.
class ByteSink {
public:
    explicit ByteSink(std::vector<uint8_t>& out) : out_(out) {}
    ~ByteSink() { flush(); }
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    void put8(uint8_t b) {
        if (n_ == kSize)
            flush();
        buf_[n_++] = b;
    }
    void put16(int64_t v) {
        put8(static_cast<uint8_t>(v & 0xFF));
        put8(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    // Position of the next byte in the finished vector.
    std::size_t size() const { return out_.size() + n_; }
    // Rewrites a 16-bit field written earlier, whether it is still staged or not.
    void patch16(std::size_t at, int64_t v) {
        byteAt(at) = static_cast<uint8_t>(v & 0xFF);
        byteAt(at + 1) = static_cast<uint8_t>((v >> 8) & 0xFF);
    }
    void flush() {
        out_.insert(out_.end(), buf_, buf_ + n_);
        n_ = 0;
    }

private:
    uint8_t& byteAt(std::size_t at) { return at < out_.size() ? out_[at] : buf_[at - out_.size()]; }

    static constexpr std::size_t kSize = 8192;
    std::vector<uint8_t>& out_;
    uint8_t buf_[kSize];
    std::size_t n_ = 0;
};

// ---------------------------------------------------------------------------------------------
// 2. Palette look-ups.

// Palette entry of a colour list value: 1..64 are threads, anything else the fall-back 0.
int paletteEntry(int c) {
    return c >= 1 && c <= 64 ? c : 0;
}

std::string paletteCode(int c) {
    return threadEntry(paletteEntry(c)).code;
}

Rgba paletteRgb(int c) {
    return threadColor(paletteEntry(c));
}

// ---------------------------------------------------------------------------------------------
// 3. Colour runs and the frame of the design.

// Bounds and centre as 64-bit numbers, so that no sum below can overflow. An input whose bounds
// are empty (a design without stitches keeps its minima above its maxima) counts as a design of
// size 0 at the origin.
struct Frame {
    int64_t minX = 0, minY = 0, maxX = 0, maxY = 0, cx = 0, cy = 0;
    int64_t hoopW = 0, hoopH = 0;
    int64_t width() const { return maxX - minX; }
    int64_t height() const { return maxY - minY; }
};

Frame frameOf(const PESWriteInput& in) {
    Frame f;
    f.hoopW = in.hoopW;
    f.hoopH = in.hoopH;
    if (in.minX > in.maxX || in.minY > in.maxY)
        return f;
    f.minX = in.minX;
    f.minY = in.minY;
    f.maxX = in.maxX;
    f.maxY = in.maxY;
    f.cx = in.centerX;
    f.cy = in.centerY;
    return f;
}

const std::vector<StitchBlock>& blocksOf(const PESWriteInput& in) {
    static const std::vector<StitchBlock> kNone;
    return in.blocks ? *in.blocks : kNone;
}

}  // namespace

namespace pes_writer {

std::vector<ColorRun> colorRuns(const std::vector<StitchBlock>& blocks) {
    std::vector<ColorRun> runs;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (!runs.empty() && runs.back().colorIndex == blocks[i].colorIndex) {
            runs.back().endBlock = i + 1;
            continue;
        }
        ColorRun run;
        run.colorIndex = blocks[i].colorIndex;
        run.firstBlock = i;
        run.endBlock = i + 1;
        runs.push_back(run);
    }
    return runs;
}

}  // namespace pes_writer

PESWriteInput pesWriteInputFor(const std::vector<StitchBlock>& blocks, int hoopW, int hoopH) {
    PESWriteInput in;
    in.blocks = &blocks;
    in.hoopW = hoopW;
    in.hoopH = hoopH;
    int32_t minX = std::numeric_limits<int32_t>::max(), minY = minX;
    int32_t maxX = std::numeric_limits<int32_t>::min(), maxY = maxX;
    bool any = false;
    for (const StitchBlock& b : blocks) {
        for (const Stitch& s : b.stitches) {
            minX = std::min(minX, s.x);
            minY = std::min(minY, s.y);
            maxX = std::max(maxX, s.x);
            maxY = std::max(maxY, s.y);
            any = true;
        }
    }
    if (!any)
        return in;
    in.minX = minX;
    in.minY = minY;
    in.maxX = maxX;
    in.maxY = maxY;
    in.centerX = static_cast<int32_t>(minX + (int64_t(maxX) - minX) / 2);
    in.centerY = static_cast<int32_t>(minY + (int64_t(maxY) - minY) / 2);
    return in;
}

// ---------------------------------------------------------------------------------------------
// 4. PEC stitch stream.

namespace {

// Round half away from zero of a / b, b > 0.
int64_t roundDiv(int64_t a, int64_t b) {
    return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b));
}

void putLong(ByteSink& out, int64_t v, uint8_t nibble) {
    const unsigned u = static_cast<unsigned>(v & 0x7FF) | (v < 0 ? 0x800u : 0u);
    out.put8(static_cast<uint8_t>(nibble | ((u >> 8) & 0x0F)));
    out.put8(static_cast<uint8_t>(u & 0xFF));
}

bool fitsLong(int64_t v) {
    return v >= pec::kLongMin && v <= pec::kLongMax;
}

// Writes one movement; returns false for the short form, true for long records.
bool encodeMove(int64_t dx, int64_t dy, uint8_t type, bool longForm, ByteSink& out) {
    const bool jump = (type & 0x01) != 0;
    const bool trim = (type & 0x02) != 0;
    // The short form is kept one short of its range at both ends (-63..62). A stitch that was
    // long stays long, so a movement the design shows without a stitch stays one.
    if (!jump && !trim && !longForm && dx >= -63 && dx <= 62 && dy >= -63 && dy <= 62) {
        out.put8(pec::shortByte(static_cast<int>(dx)));
        out.put8(pec::shortByte(static_cast<int>(dy)));
        return false;
    }
    const uint8_t nibble = static_cast<uint8_t>(0x80 | (jump ? 0x10 : 0) | (trim ? 0x20 : 0));
    const int64_t larger = std::max(std::llabs(dx), std::llabs(dy));
    if (larger <= pec::kLongMax) {
        putLong(out, dx, nibble);
        putLong(out, dy, nibble);
        return true;
    }
    // Too long for one record: t records, each close to 1/t of the move. Their sizes come from
    // rounding the running totals, so the records add up to the move exactly and every later
    // stitch lands where the design has it. A record that would not fit (a move of 4095 in two
    // halves needs 2048) takes one record more.
    int64_t t = (larger + 1 + 2047) / 2048;
    for (;; ++t) {
        bool fits = true;
        for (int64_t i = 0; i < t && fits; ++i) {
            fits = fitsLong(roundDiv(dx * (i + 1), t) - roundDiv(dx * i, t)) &&
                   fitsLong(roundDiv(dy * (i + 1), t) - roundDiv(dy * i, t));
        }
        if (fits)
            break;
    }
    for (int64_t i = 0; i < t; ++i) {
        putLong(out, roundDiv(dx * (i + 1), t) - roundDiv(dx * i, t), nibble);
        putLong(out, roundDiv(dy * (i + 1), t) - roundDiv(dy * i, t), nibble);
    }
    return true;
}

}  // namespace

namespace pes_writer {

WrittenForm writtenForm(const Stitch& s, bool designStart, bool blockStart, bool atOrigin) {
    WrittenForm w;
    w.type = static_cast<uint8_t>(s.type & (pec::kJump | pec::kTrim));
    w.longForm = s.longForm != 0;
    if (designStart) {
        if (w.longForm || w.type != pec::kNormal || !atOrigin) {
            w.type = static_cast<uint8_t>(w.type | pec::kJump);
            w.longForm = true;
        }
    } else if (blockStart && w.longForm && w.type == pec::kNormal) {
        w.type = pec::kJump;
    }
    return w;
}

std::vector<StitchBlock> writtenBlocks(const std::vector<StitchBlock>& blocks, int32_t cx,
                                       int32_t cy) {
    auto asWritten = [](Stitch s, uint8_t type, bool longForm) {
        s.longForm = longForm ? 1 : 0;
        // A reader takes the jump flag before the trim flag.
        s.type = (type & pec::kJump) ? pec::kJump : (type & pec::kTrim) ? pec::kTrim : pec::kNormal;
        const uint8_t flags = static_cast<uint8_t>(((type & pec::kJump) ? pec::kJumpFlag : 0) |
                                                   ((type & pec::kTrim) ? pec::kTrimFlag : 0));
        s.xFlags = s.yFlags = longForm ? flags : 0;
        return s;
    };
    std::vector<StitchBlock> out;
    out.reserve(blocks.size());
    bool designStart = true;
    for (const StitchBlock& b : blocks) {
        StitchBlock w;
        w.colorIndex = b.colorIndex;
        w.color = b.color;
        w.stitches.reserve(b.stitches.size());
        bool blockStart = true;
        for (const Stitch& s : b.stitches) {
            if (!isWritten(s))
                continue;
            const WrittenForm f = writtenForm(s, designStart, blockStart, s.x == cx && s.y == cy);
            designStart = blockStart = false;
            w.stitches.push_back(asWritten(s, f.type, f.longForm));
        }
        out.push_back(std::move(w));
    }
    return out;
}

void appendMove(int64_t dx, int64_t dy, uint8_t type, bool longForm, std::vector<uint8_t>& out) {
    ByteSink sink(out);
    encodeMove(dx, dy, type, longForm, sink);
}

void appendStitchStream(const std::vector<StitchBlock>& blocks, const std::vector<ColorRun>& runs,
                        int32_t cx, int32_t cy, std::vector<uint8_t>& bytes) {
    ByteSink out(bytes);
    enum class Last { kNothing, kShort, kLong, kColorChange };
    Last last = Last::kNothing;
    int64_t px = 0, py = 0;
    uint8_t toggle = 2;
    bool designStart = true;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (r > 0) {
            out.put8(pec::kColorChangeByte0);
            out.put8(pec::kColorChangeByte1);
            out.put8(toggle);
            toggle = toggle == 2 ? 1 : 2;
            last = Last::kColorChange;
        }
        for (std::size_t b = runs[r].firstBlock; b < runs[r].endBlock; ++b) {
            bool blockStart = true;
            for (const Stitch& s : blocks[b].stitches) {
                // A stitch left out does not move the running position, so the next one
                // carries its movement and lands where the design has it.
                if (!isWritten(s))
                    continue;
                const int64_t dx = int64_t(s.x) - cx - px;
                const int64_t dy = int64_t(s.y) - cy - py;
                px += dx;
                py += dy;
                const WrittenForm w = writtenForm(s, designStart, blockStart, dx == 0 && dy == 0);
                designStart = blockStart = false;
                last = encodeMove(dx, dy, w.type, w.longForm, out) ? Last::kLong : Last::kShort;
            }
        }
    }
    // Readers drop the record in front of the end marker when it is long in both values (they
    // take it for the closing move that they add to every other stream). A closing zero move
    // keeps the last stitch of such a design, and the last colour of one ending in a change.
    if (last == Last::kLong || last == Last::kColorChange) {
        putLong(out, 0, pec::kLongNibble);
        putLong(out, 0, pec::kLongNibble);
    }
    out.put8(pec::kEndByte0);
}

}  // namespace pes_writer

// ---------------------------------------------------------------------------------------------
// 5. PES objects: one CEmbOne with its CSewSeg polylines.

namespace {

// Colour reference of each run in the segment list: version 1 uses the palette index, version 5
// the position of that index in the colour list (first match).
std::vector<uint16_t> colorRefs(const std::vector<pes_writer::ColorRun>& runs, int version) {
    std::vector<uint16_t> refs;
    refs.reserve(runs.size());
    for (const auto& run : runs) {
        if (version == 1) {
            refs.push_back(run.colorIndex);
            continue;
        }
        uint16_t pos = 0;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            if (runs[i].colorIndex == run.colorIndex) {
                pos = static_cast<uint16_t>(i);
                break;
            }
        }
        refs.push_back(pos);
    }
    return refs;
}

// Writes the segments of the design as polylines, one or more per colour run, cut where the
// stitches change between long and short form and every 1000 points. Returns the number of
// segments; colorTable receives (first segment, colour reference) per run.
std::size_t appendSegments(const std::vector<StitchBlock>& blocks,
                           const std::vector<pes_writer::ColorRun>& runs,
                           const std::vector<uint16_t>& refs, const Frame& f,
                           std::vector<uint8_t>& bytes,
                           std::vector<std::pair<uint16_t, uint16_t>>& colorTable) {
    ByteSink out(bytes);
    const int64_t sx = f.hoopW * 10 - f.cx;
    const int64_t sy = f.hoopH * 10 - f.cy;
    std::size_t count = 0;
    std::size_t countAt = 0;  // where the open segment's point count goes
    int m = 0;
    bool open = false;
    uint16_t type = 0;
    uint16_t ref = 0;

    auto addPoint = [&](int64_t x, int64_t y) {
        out.put16(x + sx);
        out.put16(y + sy);
        ++m;
    };
    auto openSegment = [&]() {
        if (count > 0)
            out.put16(0x8003);
        out.put16(type);
        out.put16(ref);
        countAt = out.size();
        out.put16(0);
        m = 0;
        open = true;
        ++count;
    };
    auto closeSegment = [&]() {
        out.patch16(countAt, m);
        open = false;
    };

    for (std::size_t r = 0; r < runs.size(); ++r) {
        colorTable.emplace_back(static_cast<uint16_t>(count), refs[r]);
        ref = refs[r];
        type = 0;
        if (r > 0) {
            for (std::size_t b = runs[r].firstBlock; b < runs[r].endBlock; ++b) {
                const auto& st = blocks[b].stitches;
                const auto it = std::find_if(st.begin(), st.end(), pes_writer::isWritten);
                if (it != st.end()) {
                    type = it->longForm;
                    break;
                }
            }
        }
        int64_t prevX = 0, prevY = 0;
        for (std::size_t b = runs[r].firstBlock; b < runs[r].endBlock; ++b) {
            for (const Stitch& s : blocks[b].stitches) {
                if (!pes_writer::isWritten(s))
                    continue;
                if (!open && count == 0) {
                    // The design starts at the origin of the stream, the centre, with the
                    // movement to its first stitch: a jump segment, as the stream has it.
                    const pes_writer::WrittenForm w =
                        pes_writer::writtenForm(s, true, true, s.x == f.cx && s.y == f.cy);
                    type = w.longForm ? 1 : 0;
                    openSegment();
                    addPoint(f.cx, f.cy);
                } else if (!open) {
                    // The first segment of a later run starts with its first stitch.
                    openSegment();
                } else if (s.longForm != type || m >= 1000) {
                    closeSegment();
                    type = s.longForm;
                    openSegment();
                    addPoint(prevX, prevY);
                }
                addPoint(s.x, s.y);
                prevX = s.x;
                prevY = s.y;
            }
        }
        if (open)
            closeSegment();
    }
    return count;
}

void appendObjects(const Frame& f, const std::vector<StitchBlock>& blocks,
                   const std::vector<pes_writer::ColorRun>& runs, int version,
                   std::vector<uint8_t>& out) {
    const int64_t ox = f.hoopW * 10 - f.cx - 1000;
    const int64_t oy = f.hoopH * 10 - f.cy - 1000;
    putFill(out, 2, 0xFF);
    putFill(out, 2, 0x00);
    put16(out, 7);
    putText(out, "CEmbOne");
    for (int twice = 0; twice < 2; ++twice) {
        put16(out, f.minX + ox);
        put16(out, f.minY + oy);
        put16(out, f.maxX + ox);
        put16(out, f.maxY + oy);
    }
    for (float v : {1.0f, 0.0f, 0.0f, 1.0f, static_cast<float>(-ox), static_cast<float>(-oy)})
        putFloat(out, v);
    put16(out, 1);
    put16(out, f.minX - f.cx + f.hoopW * 10);
    put16(out, f.maxY - f.cy + f.hoopH * 10);
    put16(out, f.width());
    put16(out, f.height());
    putFill(out, 8, 0x00);
    const std::size_t countAt = out.size();
    put16(out, 0);
    putFill(out, 2, 0xFF);
    putFill(out, 2, 0x00);
    put16(out, 7);
    putText(out, "CSewSeg");
    std::vector<std::pair<uint16_t, uint16_t>> colorTable;
    const std::size_t segments =
        appendSegments(blocks, runs, colorRefs(runs, version), f, out, colorTable);
    patch16(out, countAt, static_cast<int64_t>(segments));
    put16(out, static_cast<int64_t>(runs.size()));
    for (const auto& entry : colorTable) {
        put16(out, entry.first);
        put16(out, entry.second);
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// 6. Thumbnails.

namespace pes_writer {

ThumbBox thumbBox(int32_t width, int32_t height) {
    const float sW = width <= 42 ? 1.0f : 42.0f / static_cast<float>(width);
    const float sH = height <= 32 ? 1.0f : 32.0f / static_cast<float>(height);
    const float s = std::min(sW, sH);
    const int w = static_cast<int>(static_cast<float>(width) * s - 1.0f);
    const int h = static_cast<int>(static_cast<float>(height) * s - 1.0f);
    ThumbBox box;
    box.x0 = static_cast<int>(static_cast<float>(kThumbW - w) * 0.5f);
    box.x1 = w + box.x0;
    box.y0 = static_cast<int>(static_cast<float>(kThumbH - h) * 0.5f);
    box.y1 = h + box.y0;
    return box;
}

void packBits(const uint8_t* grid, int w, int rows, std::vector<uint8_t>& out) {
    for (int y = 0; y < rows; ++y) {
        for (int bx = 0; bx < w / 8; ++bx) {
            uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (grid[y * w + bx * 8 + bit])
                    byte = static_cast<uint8_t>(byte | (1u << bit));
            }
            out.push_back(byte);
        }
    }
}

}  // namespace pes_writer

namespace {

using pes_writer::kThumbH;
using pes_writer::kThumbW;

struct Pixel {
    uint8_t x = 0, y = 0;
    uint8_t longForm = 0;
};

class Thumbnail {
public:
    // The rounded frame every thumbnail starts from.
    void reset() {
        std::fill(std::begin(grid_), std::end(grid_), 0);
        for (int x = 4; x <= 43; ++x) {
            set(x, 1);
            set(x, 36);
        }
        for (int y : {2, 35}) {
            set(3, y);
            set(44, y);
        }
        for (int y : {3, 34}) {
            set(2, y);
            set(45, y);
        }
        for (int y = 4; y <= 33; ++y) {
            set(1, y);
            set(46, y);
        }
    }

    void set(int x, int y) { grid_[y * kThumbW + x] = 1; }

    // Sets every pixel of the straight line from a to b, both ends included.
    void line(Pixel a, Pixel b) {
        // Most stitches of a large design end on or next to the pixel they start from.
        const int ddx = b.x - a.x, ddy = b.y - a.y;
        if (ddx >= -1 && ddx <= 1 && ddy >= -1 && ddy <= 1) {
            set(a.x, a.y);
            set(b.x, b.y);
            return;
        }
        int x = a.x, y = a.y;
        const int dx = std::abs(b.x - x), dy = -std::abs(b.y - y);
        const int stepX = x < b.x ? 1 : -1, stepY = y < b.y ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            set(x, y);
            if (x == b.x && y == b.y)
                return;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += stepX;
            }
            if (e2 <= dx) {
                err += dx;
                y += stepY;
            }
        }
    }

    void pack(std::vector<uint8_t>& out) const {
        pes_writer::packBits(grid_, kThumbW, kThumbH, out);
    }

private:
    uint8_t grid_[kThumbW * kThumbH] = {};
};

}  // namespace

namespace pes_writer {

void appendThumbnails(const PESWriteInput& in, const std::vector<ColorRun>& runs,
                      std::vector<uint8_t>& out) {
    const Frame f = frameOf(in);
    const std::vector<StitchBlock>& blocks = blocksOf(in);
    const ThumbBox box =
        thumbBox(static_cast<int32_t>(f.width()), static_cast<int32_t>(f.height()));
    const float spanX = static_cast<float>(f.width());
    const float spanY = static_cast<float>(f.height());
    auto map = [](int64_t v, int64_t lo, float span, int p0, int p1, int limit) {
        float p = static_cast<float>(p0);
        if (std::fabs(span) >= 1.0f / 8388608.0f)  // 2^-23: a design of no width
            p = static_cast<float>(v - lo) / span * static_cast<float>(p1 - p0) +
                static_cast<float>(p0);
        // Stale bounds must not draw outside the image. Clamped first, the value rounds half
        // away from zero without a library call: its fraction is exact.
        p = std::min(std::max(p, 0.0f), static_cast<float>(limit - 1));
        int i = static_cast<int>(p);
        if (p - static_cast<float>(i) >= 0.5f)
            ++i;
        return static_cast<uint8_t>(i);
    };

    // Every written stitch is mapped once; the images below only join pixels.
    std::size_t total = 0;
    for (const StitchBlock& b : blocks)
        total += b.stitches.size();
    std::vector<Pixel> pixels(total);
    std::size_t count = 0;
    std::vector<std::size_t> runStart;  // index into pixels of each run's first stitch
    for (const ColorRun& run : runs) {
        runStart.push_back(count);
        for (std::size_t b = run.firstBlock; b < run.endBlock; ++b) {
            for (const Stitch& s : blocks[b].stitches) {
                if (!isWritten(s))
                    continue;
                Pixel& px = pixels[count++];
                px.x = map(s.x, f.minX, spanX, box.x0, box.x1, kThumbW);
                px.y = map(s.y, f.minY, spanY, box.y0, box.y1, kThumbH);
                px.longForm = s.longForm;
            }
        }
    }
    runStart.push_back(count);

    Thumbnail image;
    // The whole design: every stitch joined to the one before it in its run, jumps included.
    image.reset();
    for (std::size_t r = 0; r < runs.size(); ++r) {
        for (std::size_t i = runStart[r]; i < runStart[r + 1]; ++i) {
            if (i == runStart[r])
                image.set(pixels[i].x, pixels[i].y);
            else
                image.line(pixels[i - 1], pixels[i]);
        }
    }
    image.pack(out);
    // One image per run, joined only toward stitches that are not long.
    for (std::size_t r = 0; r < runs.size(); ++r) {
        image.reset();
        for (std::size_t i = runStart[r]; i < runStart[r + 1]; ++i) {
            if (i > runStart[r] && !pixels[i].longForm)
                image.line(pixels[i - 1], pixels[i]);
            else
                image.set(pixels[i].x, pixels[i].y);
        }
        image.pack(out);
    }
}

// ---------------------------------------------------------------------------------------------
// 7. Label images and the version 5 trailer.

Rgba labelColor(int paletteIndex) {
    const int e = paletteEntry(paletteIndex);
    struct Override {
        int index;
        uint8_t r, g, b;
    };
    static const Override kLighter[] = {
        {3, 0, 135, 119},    {10, 158, 214, 125}, {17, 125, 111, 0},   {19, 79, 85, 86},
        {34, 255, 240, 141}, {39, 135, 135, 135}, {40, 216, 204, 198}, {42, 254, 227, 197},
        {51, 199, 1, 86},    {54, 0, 103, 62},    {57, 253, 217, 222}, {62, 255, 200, 100},
        {63, 255, 200, 150}, {64, 255, 200, 200},
    };
    for (const Override& o : kLighter) {
        if (o.index == e)
            return Rgba{o.r, o.g, o.b, 255};
    }
    return paletteRgb(e);
}

std::array<uint8_t, kLabelBytes> labelImage(int paletteIndex) {
    const int e = paletteEntry(paletteIndex);
    uint8_t grid[kLabelW * kLabelH] = {};
    auto set = [&](int x, int y) { grid[y * kLabelW + x] = 1; };
    if (e == 62 || e == 63) {
        // Appliqué material and position: a dashed line through the middle of the code rows.
        for (int x = 1; x <= 19; ++x) {
            if ((x - 1) % 5 < 3)
                set(x, 6);
        }
    } else if (e == 64) {
        // Appliqué: a zigzag across the code rows 2..10.
        for (int x = 1; x <= 19; ++x)
            set(x, 2 + std::abs((x - 1) % 16 - 8));
    } else {
        const std::string code = paletteCode(e);
        const int slots[3] = {1, 8, 15};
        for (std::size_t i = 0; i < code.size() && i < 3; ++i)
            drawPixelGlyph(PixelFace::kCode9, code[i], slots[i], 2, grid, kLabelW, kLabelH);
    }
    drawPixelText(PixelFace::kWord7, "EMBROIDERY", 1, 15, grid, kLabelW, kLabelH);
    std::vector<uint8_t> packed;
    packed.reserve(kLabelBytes);
    packBits(grid, kLabelW, kLabelH, packed);
    std::array<uint8_t, kLabelBytes> image{};
    std::copy(packed.begin(), packed.end(), image.begin());
    return image;
}

}  // namespace pes_writer

namespace {

void appendTrailer(const std::vector<pes_writer::ColorRun>& runs, std::vector<uint8_t>& out) {
    const std::size_t k = std::min(runs.size(), pes_writer::kMaxTrailerColors);
    const std::size_t start = out.size();
    put8(out, static_cast<int64_t>(k) - 1);
    for (std::size_t i = 0; i < k; ++i)
        put8(out, runs[i].colorIndex);
    putFill(out, 128 - (out.size() - start), 0x20);
    for (std::size_t i = 0; i < k; ++i) {
        const auto image = pes_writer::labelImage(runs[i].colorIndex);
        out.insert(out.end(), image.begin(), image.end());
    }
    for (std::size_t i = 0; i < k; ++i) {
        const Rgba c = pes_writer::labelColor(runs[i].colorIndex);
        put8(out, c.r);
        put8(out, c.g);
        put8(out, c.b);
    }
}

// ---------------------------------------------------------------------------------------------
// 8. PEC block and the two file versions.

void appendPecBlock(const PESWriteInput& in, const std::vector<pes_writer::ColorRun>& runs,
                    std::vector<uint8_t>& out) {
    const Frame f = frameOf(in);
    const std::size_t p = out.size();
    putText(out, "LA:");
    putFill(out, 16, 0x20);
    put8(out, 0x0D);
    putFill(out, 12, 0x20);
    put8(out, 0xFF);
    put8(out, 0x00);
    put8(out, pes_writer::kThumbW / 8);
    put8(out, pes_writer::kThumbH);
    putFill(out, 12, 0x20);
    // The header has room for 463 colours and a one-byte count; a longer list is cut at 255.
    const std::size_t n = std::min(runs.size(), pes_writer::kMaxPecColors);
    put8(out, static_cast<int64_t>(n) - 1);
    for (std::size_t i = 0; i < n; ++i)
        put8(out, runs[i].colorIndex);
    putFill(out, p + 512 - out.size(), 0x20);
    put16(out, 0);
    const std::size_t lengthAt = out.size();
    putFill(out, 3, 0x00);
    put8(out, 0x31);
    put8(out, 0xFF);
    put8(out, 0xF0);
    put16(out, f.width());
    put16(out, f.height());
    put16(out, 480);
    put16(out, 432);
    const int64_t left = f.cx - f.minX, top = f.cy - f.minY;
    put8(out, 0x90 + ((left >> 8) & 0x0F));
    put8(out, left & 0xFF);
    put8(out, 0x90 + ((top >> 8) & 0x0F));
    put8(out, top & 0xFF);

    const std::size_t streamAt = out.size();
    pes_writer::appendStitchStream(blocksOf(in), runs, static_cast<int32_t>(f.cx),
                                   static_cast<int32_t>(f.cy), out);
    const std::size_t length = out.size() - streamAt + 20;
    out[lengthAt] = static_cast<uint8_t>(length & 0xFF);
    out[lengthAt + 1] = static_cast<uint8_t>((length >> 8) & 0xFF);
    out[lengthAt + 2] = static_cast<uint8_t>((length >> 16) & 0xFF);
    pes_writer::appendThumbnails(in, runs, out);
}

// A rough size of the file, so that the byte vector grows once or twice at most.
std::size_t expectedSize(const std::vector<StitchBlock>& blocks, std::size_t runs) {
    std::size_t stitches = 0;
    for (const StitchBlock& b : blocks)
        stitches += b.stitches.size();
    return 1024 + stitches * 8 + runs * (64 + pes_writer::kThumbBytes + pes_writer::kLabelBytes);
}

}  // namespace

std::vector<uint8_t> writePES1(const PESWriteInput& in) {
    const Frame f = frameOf(in);
    const std::vector<StitchBlock>& blocks = blocksOf(in);
    const auto runs = pes_writer::colorRuns(blocks);
    std::vector<uint8_t> out;
    out.reserve(expectedSize(blocks, runs.size()));
    putText(out, "#PES0001");
    put32(out, 0);
    put16(out, f.hoopW > 100 || f.hoopH > 100 ? 1 : 0);
    put16(out, 1);
    put16(out, 1);
    appendObjects(f, blocks, runs, 1, out);
    putFill(out, 4, 0x00);
    patch32(out, 8, static_cast<int64_t>(out.size()));
    appendPecBlock(in, runs, out);
    return out;
}

std::vector<uint8_t> writePES5(const PESWriteInput& in) {
    const Frame f = frameOf(in);
    const std::vector<StitchBlock>& blocks = blocksOf(in);
    const auto runs = pes_writer::colorRuns(blocks);
    std::vector<uint8_t> out;
    out.reserve(expectedSize(blocks, runs.size()));
    putText(out, "#PES0050");
    put32(out, 0);
    put16(out, 1);
    putText(out, "01");
    putFill(out, 5, 0x00);
    for (int v : {0, int(f.hoopW), int(f.hoopH), 0, 7, 19, 1, 1, 0, 100})
        put16(out, v);
    put8(out, 1);
    putFill(out, 4, 0x00);
    for (float v : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f})
        putFloat(out, v);
    putFill(out, 6, 0x00);
    put16(out, static_cast<int64_t>(runs.size()));
    for (const auto& run : runs) {
        const Rgba c = paletteRgb(run.colorIndex);
        putCounted(out, paletteCode(run.colorIndex));
        put8(out, c.r);
        put8(out, c.g);
        put8(out, c.b);
        put8(out, 0);
        put32(out, 10);
        putCounted(out, std::to_string(run.colorIndex));
        putCounted(out, "EMBROIDERY");
        put8(out, 0);
    }
    put16(out, 1);
    appendObjects(f, blocks, runs, 5, out);
    putFill(out, 8, 0x00);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        put32(out, 0);
        put32(out, static_cast<int64_t>(i));
    }
    patch32(out, 8, static_cast<int64_t>(out.size()));
    appendPecBlock(in, runs, out);
    appendTrailer(runs, out);
    return out;
}

std::vector<uint8_t> writePES(const PESWriteInput& in, int version) {
    return version == 1 ? writePES1(in) : writePES5(in);
}
