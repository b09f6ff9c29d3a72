// Borders: a satin frame 2 mm wide around a text layer, following the text's base line (a
// rectangle around straight text, an annular sector around text on a circle). The border is a
// separate PES layer built once from the text layer's frame points; it does not follow later
// changes of the text.
//
// Units: design units (0.1 mm). Log lines go to an optional FormatLog as notices.
#pragma once

#include <cstdint>
#include <vector>

#include "design/PESData.h"
#include "design/geometry/Path.h"

namespace border {

// Width of the border's satin column: 2 mm.
constexpr float kBorderWidth = 20.0f;
// How far the frame's sides are extended when looking for the circle centre.
constexpr float kSideReach = 10000.0f;
// Number of frame points a text layer has.
constexpr std::size_t kFramePointCount = 10;

// Half the angular span of the arcs in degrees, K = angleValue * 178 + 1, and the full-turn
// resolution of the arcs, max(60, trunc(K)).
float arcHalfSpanDegrees(float angleValue);
int arcResolution(float halfSpanDegrees);

// The border's outline from the ten frame points p0..p9: an annular sector when the base line is a
// circle and the frame's sides meet, else the frame rectangle starting in the middle of its top
// edge. Fewer than ten frame points give an empty outline.
geom::Path borderOutline(const std::vector<FramePoint>& frame, int32_t baselineIndex,
                         float angleValue, FormatLog* log = nullptr);

// The properties of the border layer: a PES layer with the text's base line and rotation, shape
// index 6 and the frame's mean width and height in whole cm.
LayerProperties borderProperties(const PESData& text, int32_t colorIndex);

// Builds the border layer of the text layer in `out`, centred on the text. Returns false (and
// leaves `out` alone) when the layer has no frame points, e.g. a PES or shape layer.
bool buildBorderLayer(const PESData& text, int32_t colorIndex, PESData& out,
                      FormatLog* log = nullptr);

}  // namespace border
