// The PES writer: turns one design (its colour runs, bounds and centre) into the bytes of a PES
// file, version 1 (kept inside project files) or version 5 (sent to the machine).
//
// A file is a PES section (one CEmbOne object with its CSewSeg polylines; version 5 adds a hoop
// record and a thread list) followed by the PEC block: the label block with the colour list,
// the PEC stitch stream, then 48 x 38 one-bit thumbnails of the whole design and of each colour
// run. Version 5 ends with a trailer holding the colour list again, one 48 x 24 label image per
// thread and the label colours.
//
// Units: design coordinates in PEC units (0.1 mm), x right, y down; hoop size in millimetres.
// Pure code: bytes out, no disk, no globals. The result is a byte vector owned by the caller.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/Stitch.h"

// What the writer needs of a design. Bounds and centre are normally those of the design layer
// (pesWriteInputFor computes them the same way). The blocks are borrowed for the call only.
struct PESWriteInput {
    int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;    // over every stitch, jumps included
    int32_t centerX = 0, centerY = 0;                  // written as the PEC origin
    const std::vector<StitchBlock>* blocks = nullptr;  // stitching order; null means none
    int hoopW = 100, hoopH = 100;                      // millimetres
};

// An input whose bounds and centre are computed from the blocks: the extremes over every stitch
// and centre = min + (max - min) / 2, truncating. Without stitches everything is 0.
PESWriteInput pesWriteInputFor(const std::vector<StitchBlock>& blocks, int hoopW, int hoopH);

std::vector<uint8_t> writePES1(const PESWriteInput& in);
std::vector<uint8_t> writePES5(const PESWriteInput& in);

// version 1 or 5; any other number writes version 5.
std::vector<uint8_t> writePES(const PESWriteInput& in, int version);

// The pieces of the file, exposed for tests.
namespace pes_writer {

constexpr int kThumbW = 48, kThumbH = 38;
constexpr int kThumbBytes = kThumbW / 8 * kThumbH;  // 228
constexpr int kLabelW = 48, kLabelH = 24;
constexpr int kLabelBytes = kLabelW / 8 * kLabelH;  // 144
// The PEC header holds at most this many colours (the count byte 0xFF means "no colour").
constexpr std::size_t kMaxPecColors = 255;
// The version 5 trailer's 128-byte colour record holds the count and at most 127 colours.
constexpr std::size_t kMaxTrailerColors = 127;

// One colour run: consecutive blocks of one palette index are stitched as one thread, so the
// colour list, the colour changes of the stream and the thumbnails all count runs.
struct ColorRun {
    uint8_t colorIndex = 0;
    std::size_t firstBlock = 0, endBlock = 0;  // blocks [firstBlock, endBlock)
};
std::vector<ColorRun> colorRuns(const std::vector<StitchBlock>& blocks);

// Whether a stitch goes into the file at all: types with bit 0x04 or 0x10 are left out.
inline bool isWritten(const Stitch& s) {
    return (s.type & 0x14) == 0;
}

// How the writer reaches the start of the design and of its blocks. The movement from the origin
// of the stream to the design's first stitch is never sewn: it is written as a jump (long form
// with the jump flag), whatever form the stitch had; only a plain stitch on the origin itself,
// which moves nowhere, stays as it is. The first stitch of every later block, when long, is the
// movement to the block's start and is written as a jump as well. No stitch moves, none is added.
struct WrittenForm {
    uint8_t type = pec::kNormal;  // as encoded: bit 0x01 jump, bit 0x02 trim
    bool longForm = false;
};
// designStart: the first written stitch of the design; blockStart: the first written stitch of
// its block; atOrigin: the stitch lies on the origin of the stream.
WrittenForm writtenForm(const Stitch& s, bool designStart, bool blockStart, bool atOrigin);

// The stitches as a machine meets them in the stream written around (cx, cy): left-out types
// dropped and the first stitches typed as writtenForm writes them (as a reader types them back).
// Positions and blocks stay as they are.
std::vector<StitchBlock> writtenBlocks(const std::vector<StitchBlock>& blocks, int32_t cx,
                                       int32_t cy);

// Appends the PEC stitch stream of the runs, relative to (cx, cy), ending with the byte 0xFF.
void appendStitchStream(const std::vector<StitchBlock>& blocks, const std::vector<ColorRun>& runs,
                        int32_t cx, int32_t cy, std::vector<uint8_t>& out);

// Appends one movement (dx, dy) of a stitch of the given type and long-form flag: short form
// when it fits -63..62 and is a plain stitch, otherwise long form, split into equal parts when
// it is longer than 2047.
void appendMove(int64_t dx, int64_t dy, uint8_t type, bool longForm, std::vector<uint8_t>& out);

// Placement of the design inside a thumbnail.
struct ThumbBox {
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};
ThumbBox thumbBox(int32_t width, int32_t height);

// Appends 228 bytes per image: the whole design, then one image per run.
void appendThumbnails(const PESWriteInput& in, const std::vector<ColorRun>& runs,
                      std::vector<uint8_t>& out);

// The 48 x 24 label image of a thread (palette index 0..64), packed 6 bytes a row.
std::array<uint8_t, kLabelBytes> labelImage(int paletteIndex);

// Colour of a label in the version 5 trailer (the palette with a few lighter entries).
Rgba labelColor(int paletteIndex);

// Packs a grid of w x rows bytes (non-zero = set) into rows of w / 8 bytes, pixel x in bit
// x % 8 of byte x / 8.
void packBits(const uint8_t* grid, int w, int rows, std::vector<uint8_t>& out);

}  // namespace pes_writer
