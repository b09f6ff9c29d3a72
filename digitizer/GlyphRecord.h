// A digitized glyph as the data of one stitch font pack record: a PEC stitch stream that starts
// at the pen origin, ends with one long movement to the glyph's advance and the end marker
// 0xFF 0x00, followed by the 8-byte bounds trailer (minX, minY, maxX, maxY; lo, hi with bit 7
// of hi set, 12-bit two's complement). Units 0.1 mm.
#pragma once

#include <cstdint>
#include <vector>

#include "digitizer/Digitizer.h"

namespace digitizer {

// Needle points are rounded to whole 0.1 mm. Visible stitches use the short form (the long form
// means a movement to every reader), so longer ones are cut into equal pieces. Jumps carry the
// jump flag, trims the trim flag; the first movement and the advance are long jumps.
std::vector<uint8_t> encodeGlyph(const std::vector<Needle>& path, int advance);

// The needle points of encoded glyph data, decoded back (absolute positions from the origin,
// movements included, without the final movement to the advance). Kinds are Run for visible
// stitches, Jump or Trim for long records. advance receives the stream's total movement.
std::vector<Needle> decodeGlyph(const std::vector<uint8_t>& data, int* advance = nullptr);

}  // namespace digitizer
