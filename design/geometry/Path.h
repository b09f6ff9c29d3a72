// An outline made of straight pieces and elliptic arcs, kept as a list of sub-paths. The shape and
// border generators describe their outlines with it and stitch its first sub-path.
//
// Coordinates are design units (0.1 mm, y downwards); angles are degrees measured from +x towards
// +y, that is clockwise on screen.
#pragma once

#include <vector>

#include "design/geometry/Geometry.h"

namespace geom {

class Path {
public:
    Path() { clear(); }

    // One empty sub-path, circle resolution 20.
    void clear();

    // Starts a new sub-path when the current one has points, then adds the point.
    void moveTo(float x, float y);
    // Adds the point to the current sub-path.
    void lineTo(float x, float y);
    // The four corners from (x, y) round to (x, y) again: five points, the first repeated.
    void rectangle(float x, float y, float w, float h);
    // Appends the points of an elliptic arc to the current sub-path: the start point, every
    // direction of a full turn sampled at `resolution` steps met on the way, and the end point. A
    // sweep of (nearly) nothing is a full turn. `clockwise` means increasing angles.
    void arc(float radiusX, float radiusY, Point centre, float startDegrees, float endDegrees,
             int resolution, bool clockwise);
    // Marks the current sub-path closed, first appending a copy of its first point when asked.
    void close(bool repeatFirst);

    // Simplifies every sub-path (see geom::simplify).
    void simplify(float tolerance, const NoticeSink& notice = {});

    void setCircleResolution(int resolution) { circleResolution_ = resolution; }
    int circleResolution() const { return circleResolution_; }
    bool dirty() const { return dirty_; }

    // The sub-paths as built; never empty.
    const std::vector<Polyline>& outline() const { return subPaths_; }
    // The first sub-path (the one the generators stitch).
    const Polyline& first() const { return subPaths_.front(); }

private:
    Polyline& current() { return subPaths_.back(); }

    std::vector<Polyline> subPaths_;
    int circleResolution_ = 20;
    bool dirty_ = true;
};

}  // namespace geom
