#include "digitizer/Part.h"

#include <functional>

namespace digitizer {

std::vector<Part> makeParts(const std::vector<Ring>& outline) {
    ClipperLib::Paths in = toIntPaths(outline);
    ClipperLib::Clipper c;
    c.StrictlySimple(true);
    c.AddPaths(in, ClipperLib::ptSubject, true);
    ClipperLib::PolyTree tree;
    c.Execute(ClipperLib::ctUnion, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

    std::vector<Part> parts;
    std::function<void(const ClipperLib::PolyNode&)> walk = [&](const ClipperLib::PolyNode& n) {
        for (const ClipperLib::PolyNode* child : n.Childs) {
            if (!child->IsHole()) {
                Part part;
                part.paths.push_back(child->Contour);
                for (const ClipperLib::PolyNode* hole : child->Childs)
                    part.paths.push_back(hole->Contour);
                ClipperLib::CleanPolygons(part.paths, 1.0);
                part.paths.erase(
                    std::remove_if(part.paths.begin(), part.paths.end(),
                                   [](const ClipperLib::Path& p) { return p.size() < 3; }),
                    part.paths.end());
                if (!part.paths.empty() && ClipperLib::Area(part.paths[0]) != 0.0) {
                    for (const ClipperLib::Path& p : part.paths) {
                        Ring r;
                        for (const ClipperLib::IntPoint& q : p)
                            r.push_back({double(q.X) / kScale, double(q.Y) / kScale});
                        for (std::size_t i = 0; i < r.size(); ++i)
                            part.segments.push_back({r[i], r[(i + 1) % r.size()], false});
                        part.rings.push_back(std::move(r));
                    }
                    parts.push_back(std::move(part));
                }
            }
            walk(*child);
        }
    };
    walk(tree);
    return parts;
}

}  // namespace digitizer
