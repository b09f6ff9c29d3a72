#include "digitizer/Patch.h"

namespace digitizer {

std::vector<Part> uncovered(const Part& part, const std::vector<Needle>& path, double threadRadius,
                            double minWidth, double minArea) {
    // Each covering stitch as a rectangle as wide as the thread; their union is what is covered.
    // Underlay and travel runs do not count: they lie under the columns, and across a bare spot
    // they would only cut it into crumbs too small to sew. A running stitch along a stroke too
    // narrow for satin does count.
    ClipperLib::Paths thread;
    for (std::size_t i = 1; i < path.size(); ++i) {
        Kind k = path[i].kind;
        Point a = path[i - 1].p, b = path[i].p;
        if (k == Kind::Jump || k == Kind::Trim || k == Kind::Lock ||
            (k == Kind::Run && part.clearance((a + b) * 0.5) > 3.0))
            continue;
        Point u = dist(a, b) > 1e-9 ? unit(b - a) * threadRadius : Point{threadRadius, 0.0};
        Point n{-u.y, u.x};
        thread.push_back({toInt(a - u + n), toInt(b + u + n), toInt(b + u - n), toInt(a - u - n)});
    }
    ClipperLib::Clipper uni;
    uni.AddPaths(thread, ClipperLib::ptSubject, true);
    ClipperLib::Paths covered;
    uni.Execute(ClipperLib::ctUnion, covered, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

    ClipperLib::Clipper diff;
    diff.AddPaths(part.paths, ClipperLib::ptSubject, true);
    diff.AddPaths(covered, ClipperLib::ptClip, true);
    ClipperLib::Paths bare;
    diff.Execute(ClipperLib::ctDifference, bare, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

    // Opening (shrink, then grow back) drops the slivers along the outline between ribs.
    ClipperLib::ClipperOffset shrink;
    shrink.AddPaths(bare, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    ClipperLib::Paths core;
    shrink.Execute(core, -minWidth * 0.5 * kScale);
    ClipperLib::ClipperOffset grow;
    grow.AddPaths(core, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    ClipperLib::Paths opened;
    grow.Execute(opened, minWidth * 0.5 * kScale);
    // Grown back, a region may reach past the bare spot: keep it inside the bare spot.
    ClipperLib::Clipper clip;
    clip.AddPaths(opened, ClipperLib::ptSubject, true);
    clip.AddPaths(bare, ClipperLib::ptClip, true);
    ClipperLib::Paths spots;
    clip.Execute(ClipperLib::ctIntersection, spots, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

    std::vector<Ring> rings;
    for (const ClipperLib::Path& p : spots) {
        Ring r;
        for (const ClipperLib::IntPoint& q : p)
            r.push_back({double(q.X) / kScale, double(q.Y) / kScale});
        rings.push_back(std::move(r));
    }
    std::vector<Part> result;
    for (Part& p : makeParts(rings)) {
        double area = 0.0;
        for (const ClipperLib::Path& path2 : p.paths)
            area += ClipperLib::Area(path2);
        if (std::fabs(area) / (kScale * kScale) >= minArea)
            result.push_back(std::move(p));
    }
    return result;
}

}  // namespace digitizer
