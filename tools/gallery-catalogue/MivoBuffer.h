// Writing a design as a "#MIVO" stitch buffer, the gallery server's compact alternative to a PES
// file: "#MIVO", the number of colours - 1, the palette index of each colour run, and the PEC
// stitch stream from (0, 0), ended by a zero move that the reader drops and the marker 0xFF 0x00.
//
// Pure code: a layer in, bytes out.
#pragma once

#include <cstdint>
#include <vector>

#include "design/PESData.h"

namespace catalogue {

// At most 128 colour runs fit the count byte.
constexpr size_t kMaxMivoColors = 128;

// The buffer, or an empty vector for a layer without stitches or with too many colour runs.
std::vector<uint8_t> mivoBuffer(const PESData& layer);

}  // namespace catalogue
