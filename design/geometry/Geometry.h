// Plane geometry for the shape and border generators: points, polylines, the parallel rails of a
// satin column, segment crossing and the linear range map of the effect sliders.
//
// Everything works in single-precision float on design units (0.1 mm, x to the right, y
// downwards). Nothing here keeps state between calls; notices go to an optional sink so that
// callers decide whether and where they are logged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace geom {

// Receives the informational lines of the generators ("Intersect", "Before simplify 12", ...).
// An empty sink drops them.
using NoticeSink = std::function<void(const std::string&)>;

struct Point {
    float x = 0.0f;
    float y = 0.0f;
};

inline Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
inline Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
inline Point operator*(Point a, float k) {
    return {a.x * k, a.y * k};
}
inline Point operator*(float k, Point a) {
    return {a.x * k, a.y * k};
}
inline Point operator/(Point a, float k) {
    return {a.x / k, a.y / k};
}
inline bool operator==(Point a, Point b) {
    return a.x == b.x && a.y == b.y;
}
inline bool operator!=(Point a, Point b) {
    return !(a == b);
}

// Length of v, in float.
float length(Point v);

// An ordered list of points; closed only says the outline is meant as a loop (the first point is
// repeated explicitly when a caller wants the loop stitched round).
struct Polyline {
    std::vector<Point> points;
    bool closed = false;
};

// The left and the right offset of a centre polyline, n points each. "Left" is the left of the
// direction of travel as seen on screen (y down).
struct Rails {
    Polyline left;
    Polyline right;
    std::size_t n = 0;
};

// Douglas-Peucker simplification with a vertex-reduction pass in front. Points closer than the
// tolerance to the kept line are dropped; the first and the last point always stay.
void simplify(Polyline& line, float tolerance, const NoticeSink& notice = {});

// The two rails at +-width/2 of the centre polyline, joined with mitres. A polyline of fewer than
// two points gives empty rails (n = 0). Parallel or degenerate neighbouring segments are joined at
// their shared offset end point, so no coordinate becomes infinite.
Rails offsetRails(const Polyline& centre, float width);

// True when each segment's end points lie on opposite sides of the other segment's line; a point
// exactly on a line counts as lying on its non-negative side, so collinear segments never cross.
bool segmentsCross(Point a0, Point a1, Point b0, Point b1);

// Intersection of the lines through the two segments. Callers check segmentsCross first; for
// parallel lines the result is not finite.
Point crossingPoint(Point a0, Point a1, Point b0, Point b1);

// Unclamped linear map of value from in0..in1 onto out0..out1, in float. A degenerate input range
// (narrower than the float epsilon) maps everything onto out0.
float mapRange(float value, float in0, float in1, float out0, float out1);

// Float coordinates into integer design units: to the nearest integer with halves away from zero,
// or truncated toward zero. Values beyond the int32 range are clamped to it and NaN gives 0, so a
// degenerate size never turns into an undefined conversion.
int32_t roundToUnit(float v);
int32_t truncToUnit(float v);

// Pi as the effect code uses it, in float.
constexpr float kPi = 3.1415927f;

}  // namespace geom
