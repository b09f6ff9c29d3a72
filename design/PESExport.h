// Writing a design layer as a PES file: version 1 for the layers kept inside a project file,
// version 5 for the merged design sent to the machine. A thin bridge from the layer to the
// format-level writer (formats/PESWriter.h), which owns the byte layout.
//
// Units: the layer's coordinates are 0.1 mm; the hoop size is in millimetres (the settings'
// hoop). The layer is only read; the bytes belong to the caller.
#pragma once

#include <cstdint>
#include <vector>

#include "design/PESData.h"
#include "formats/PESWriter.h"

// What the writer takes from a layer: its bounds, centre and blocks (borrowed from the layer,
// which must outlive the returned value's use).
PESWriteInput pesWriteInput(const PESData& layer, int hoopW, int hoopH);

std::vector<uint8_t> writePES1(const PESData& layer, int hoopW, int hoopH);
std::vector<uint8_t> writePES5(const PESData& layer, int hoopW, int hoopH);

// version 1 or 5; any other number writes version 5.
std::vector<uint8_t> writePES(const PESData& layer, int version, int hoopW, int hoopH);
