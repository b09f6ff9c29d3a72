#include "design/geometry/MedialPoints.h"

#include <cmath>

namespace geom {

namespace {

std::string formatPoint(Point p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

}  // namespace

MedialPoints medialPoints(Point a, Point b, float spacing, const NoticeSink& notice) {
    MedialPoints result;
    const Point d = b - a;
    const float len = length(d);

    // The count compares the whole units of the way with the spacing, in float.
    Point step{0.0f, 0.0f};
    int n = 0;
    if (std::isfinite(len) && spacing > 0.0f && std::isfinite(spacing)) {
        const float whole = std::trunc(len);
        const float ratio = std::sqrt(whole * whole / (spacing * spacing));
        if (ratio < static_cast<float>(kMedialMinSteps - 1)) {
            n = kMedialMinSteps;
            step = d / static_cast<float>(n);
        } else if (!(ratio < static_cast<float>(kMedialMaxSteps))) {
            n = kMedialMaxSteps;
            step = d / static_cast<float>(n);
        } else {
            n = static_cast<int>(ratio);
            step = d * (spacing / len);
        }
    }

    if (step.x == 0.0f && step.y == 0.0f) {
        result.onePart = true;
        result.middle = {a, b};
        if (notice) {
            notice("mediPoints.size()=0" + formatPoint(a) + " -- " + formatPoint(b));
        }
        return result;
    }

    // n is at least 6 here, so both end parts get their two points and the middle at least two.
    result.middle.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const Point p = a + step * static_cast<float>(i);
        if (i <= 2) {
            result.start.push_back(p);
        } else if (i > n - 2) {
            result.end.push_back(p);
        } else {
            result.middle.push_back(p);
        }
    }
    return result;
}

}  // namespace geom
