// The generated shapes of the tool box: their names, their outlines around the origin and the
// satin stitch points laid along them. The shape layer (ShapeLayer.h) turns the points into a
// colour block.
//
// Sizes come from LayerProperties in the units the panel shows: width, height and lineWidth in
// cm, density in mm. Outlines and points are design units (0.1 mm) in float.
#pragma once

#include <string>
#include <vector>

#include "design/LayerProperties.h"
#include "design/geometry/Path.h"

namespace shapes {

enum ShapeIndex : int {
    kLine = 0,
    kTriangle = 1,
    kRectangle = 2,
    kLegacyEllipse = 3,  // stored by older projects; the same ellipse as kEllipse
    kSatinLine = 4,
    kSharpTriangle = 5,
    kSharpRectangle = 6,
    kNoShape = 7,
    kEllipse = 8,
    kShapeCount = 9,
};

// The drop-down entries, by shape index ("---" for the two unused places).
extern const char* const kShapeNames[kShapeCount];

// The shape index of a drop-down entry name or of a number "0".."8"; -1 when it is neither.
int shapeIndexFromName(const std::string& name);

// Full turn resolution of the ellipse outline.
constexpr int kEllipseResolution = 64;

// The outline of the shape, around the origin: W = width * 100, H = height * 100 units. A shape
// index without an outline gives a path whose only sub-path is empty.
geom::Path buildShapeOutline(const LayerProperties& properties);

// Whether the shape is stitched as rounded satin (the closed loops) rather than a column.
bool isRoundedShape(int shapeIndex);

// The satin stitch points of the shape: a column lineWidth * 100 units wide along the outline's
// first sub-path, or rounded satin with steps of density * 10 units. Non-finite sizes count as
// 0 and sizes are limited to +-1000 cm. No points for an outline of fewer than two points or a
// shape without one.
std::vector<geom::Point> shapeStitchPoints(const LayerProperties& properties,
                                           const geom::NoticeSink& notice = {});

}  // namespace shapes
