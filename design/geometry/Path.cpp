#include "design/geometry/Path.h"

#include <algorithm>
#include <cmath>

namespace geom {

namespace {

constexpr double kTwoPi = 6.283185307179586;
// Sweeps and sampled directions closer than this (radians) count as the same angle.
constexpr double kAngleEpsilon = 1e-4;

// The point of the ellipse at `radians`. The angle is first brought into 0..2pi so that 0 and a
// full turn give bit-identical points, which lets a full ellipse end exactly where it started.
Point ellipsePoint(float radiusX, float radiusY, Point centre, double radians) {
    double a = std::fmod(radians, kTwoPi);
    if (a < 0)
        a += kTwoPi;
    if (std::fabs(a - kTwoPi) < 1e-12)
        a = 0;
    return {centre.x + radiusX * static_cast<float>(std::cos(a)),
            centre.y + radiusY * static_cast<float>(std::sin(a))};
}

}  // namespace

void Path::clear() {
    subPaths_.assign(1, Polyline{});
    circleResolution_ = 20;
    dirty_ = true;
}

void Path::moveTo(float x, float y) {
    if (!current().points.empty())
        subPaths_.emplace_back();
    current().points.push_back({x, y});
    dirty_ = true;
}

void Path::lineTo(float x, float y) {
    current().points.push_back({x, y});
    dirty_ = true;
}

void Path::rectangle(float x, float y, float w, float h) {
    moveTo(x, y);
    lineTo(x + w, y);
    lineTo(x + w, y + h);
    lineTo(x, y + h);
    lineTo(x, y);
    close(false);
}

void Path::arc(float radiusX, float radiusY, Point centre, float startDegrees, float endDegrees,
               int resolution, bool clockwise) {
    const int r = std::max(2, resolution);
    const double step = kTwoPi / r;
    const double start = static_cast<double>(startDegrees) * kTwoPi / 360.0;
    const double end = static_cast<double>(endDegrees) * kTwoPi / 360.0;

    double sweep = std::fmod(clockwise ? end - start : start - end, kTwoPi);
    if (sweep < 0)
        sweep += kTwoPi;
    if (sweep < kAngleEpsilon)
        sweep = kTwoPi;

    auto& pts = current().points;
    pts.push_back(ellipsePoint(radiusX, radiusY, centre, start));

    // Walk the sampled directions from the start in the arc's direction. k indexes the direction
    // k * step; the first candidate is the nearest one at or beyond the start.
    const double dir = clockwise ? 1.0 : -1.0;
    double k = clockwise ? std::floor(start / step) : std::ceil(start / step);
    for (int guard = 0; guard <= r + 2; ++guard, k += dir) {
        const double travelled = (k * step - start) * dir;
        if (travelled < kAngleEpsilon)
            continue;
        if (sweep - travelled < kAngleEpsilon)
            break;
        pts.push_back(ellipsePoint(radiusX, radiusY, centre, k * step));
    }

    pts.push_back(ellipsePoint(radiusX, radiusY, centre, end));
    dirty_ = true;
}

void Path::close(bool repeatFirst) {
    auto& line = current();
    if (repeatFirst && !line.points.empty())
        line.points.push_back(line.points.front());
    line.closed = true;
    dirty_ = true;
}

void Path::simplify(float tolerance, const NoticeSink& notice) {
    for (auto& line : subPaths_)
        geom::simplify(line, tolerance, notice);
    dirty_ = true;
}

}  // namespace geom
