// make-glyph-templates [FOLDER]
//
// Writes the three glyph templates into FOLDER (default: the current folder):
//   Header.dat     the PES section of a one-stitch version 1 design by our own PES writer,
//   PECHeader.dat  its 532-byte PEC header (one colour),
//   Graphics.dat   its thumbnails as a PES reader finds them behind the stitch data.
// The glyph builder patches the size fields of the first two for every glyph. Regenerate with
//   build/bin/make-glyph-templates data/
// and commit the result; the stitchfont tests check that the committed files match.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "stitchfont/GlyphTemplates.h"

namespace {

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make-glyph-templates: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %zu bytes\n", path.c_str(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : ".";
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    const GlyphTemplates::Buffers t = GlyphTemplates::make();
    if (t.header.empty() || t.pecHeader.size() != 532 || t.graphics.empty()) {
        std::fprintf(stderr, "make-glyph-templates: the writer's design could not be cut\n");
        return 1;
    }
    bool ok = writeFile(folder + GlyphTemplates::kHeaderFile, t.header);
    ok = writeFile(folder + GlyphTemplates::kPecHeaderFile, t.pecHeader) && ok;
    ok = writeFile(folder + GlyphTemplates::kGraphicsFile, t.graphics) && ok;
    return ok ? 0 : 1;
}
