// The "#MIVO" stitch buffer: a compact container of our own for designs that arrive as bytes
// (the cloud gallery). Layout:
//   0      5      "#MIVO"
//   5      1      k = number of colours - 1, a signed byte; 0..127 are valid
//   6      k + 1  palette indexes, one per colour, in stitching order
//   7 + k  ...    PEC stitch stream (see Stitch.h), ending with 0xFF 0x00
// This file only cuts the container; the layer model decodes the stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/PES.h"

struct MivoBuffer {
    std::vector<uint8_t> colors;   // palette indexes as stored, k + 1 of them
    std::size_t streamOffset = 0;  // first byte of the stitch stream within the buffer
};

constexpr std::size_t kMivoMagicSize = 5;

// Whether the bytes start with "#MIVO".
bool isMivo(const uint8_t* bytes, std::size_t size);

// Cuts a buffer into colour list and stream. Returns false, with an error line under
// "PESData::loadMIVO()", for a buffer that is not "#MIVO", has a count byte of 128 or more or
// whose colour list does not fit. The stream may be empty or lack its end marker; decoders stop
// at the end of the buffer.
bool parseMivo(const uint8_t* bytes, std::size_t size, MivoBuffer& out, FormatLog* log = nullptr);
