// Shape layers: building a layer from shape parameters and rebuilding it when they change. The
// layer keeps only its parameters (LayerProperties); its stitches are generated from them as one
// satin colour block that begins with a movement to its first stitch.
//
// These are the operations of the create and edit shape commands; the commands add selecting,
// colouring the cell and rendering. Log lines go to an optional FormatLog as notices.
#pragma once

#include <string>
#include <vector>

#include "design/PESData.h"
#include "design/geometry/Geometry.h"

namespace shapes {

// A number typed into a shape field: the decimal number at the start of the text (after spaces),
// 0 when there is none or it is not finite.
float parseShapeNumber(const std::string& text);

// The properties of a new shape layer: type 2, "Shape Stitch", base line, radius, angle and
// rotation at their neutral values, and the given shape parameters (sizes in cm, density in mm,
// colorIndex a palette index minus 1).
LayerProperties shapeProperties(int32_t shapeIndex, float width, float height, float lineWidth,
                                float density, int32_t colorIndex);

// Adds the points as one block to the layer: rounded into stitches, palette index colorIndex when
// it lies in 1..64 (else 0), joined with appendBlock, a long-form copy of the first stitch put in
// front, then computeBounds. Shared with the border generator.
void addSatinBlock(PESData& layer, const std::vector<geom::Point>& points, int32_t colorIndex);

// Generates the layer's stitches from its properties, around the origin, between the notices
// "/////// Begin shape ////////" and "/////// End shape ////////". A shape without an outline
// still gets its (empty) block.
void generateShapeStitches(PESData& layer, FormatLog* log = nullptr);

// A new shape layer with these properties and its stitches around the origin.
PESData buildShapeLayer(const LayerProperties& properties, FormatLog* log = nullptr);

// Rebuilds the shape layer with new properties: fresh stitches, bent onto the base line (radius
// and angle chosen when the layer was straight before), rotated, and centred where the layer was.
void rebuildShapeLayer(PESData& layer, const LayerProperties& newProperties,
                       FormatLog* log = nullptr);

}  // namespace shapes
