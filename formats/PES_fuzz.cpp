// Fuzz target: the PES reader, the layer decoder and the check of what a machine meets on
// arbitrary bytes. Besides not crashing, the reader must keep its section bookkeeping consistent
// through every stitch edit.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "design/PESData.h"
#include "formats/PES.h"
#include "formats/SewingCheck.h"

namespace {

uint32_t fieldL(const PES& p) {
    const auto& h = p.pecHeader();
    return uint32_t(h[514]) | uint32_t(h[515]) << 8 | uint32_t(h[516]) << 16;
}

void check(const PES& p) {
    if (!p.hasSections())
        return;
    if (fieldL(p) != p.stitchData().size() + 19)
        std::abort();
    if (p.graphicsOffset() != p.pecOffset() + 513 + int(fieldL(p)))
        std::abort();
    // Everything in front of the PEC block: the PES section, or the magic of a PEC file.
    if (std::size_t(p.fileSize()) != std::size_t(p.pecOffset()) + p.pecHeader().size() +
                                         p.stitchData().size() + p.graphics().size()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FormatLog log;
    PES reader;
    reader.loadFileContents(std::vector<uint8_t>(data, data + size), &log);
    check(reader);

    // The file as a machine meets it, against a small hoop so that every issue can come up.
    SewingCheckOptions options;
    options.hoopW = options.hoopH = 10;
    const auto& stream = reader.stitchData();
    const SewingReport report = checkSewing(
        sewingBlocksOfStream(stream.data(), stream.size(), reader.colorIndexes()), options);
    for (const SewingIssue& issue : report.issues) {
        if (issue.count <= 0 || issue.places.size() > SewingIssue::kMaxPlaces ||
            sewingReasonText(issue, report).empty())
            std::abort();
    }

    PESData layer;
    if (layer.createFromPES(&reader, &log)) {
        layer.prepareImportedPES();
        layer.mirrorX();
        layer.mirrorY();
        layer.computeBounds();
        layer.buildFramePoints();
        PESData other = layer;
        layer.mergeLayer(other);
        layer.setColor(size > 0 ? int(data[0]) - 1 : 0);
    }

    // The edits of text composition, driven by the input's own bytes.
    const int dx = size > 1 ? int(int8_t(data[1])) * 40 : 7;
    const int dy = size > 2 ? int(int8_t(data[2])) * 40 : -3;
    PES glyph = reader;
    glyph.translateFirstStitch(dx, dy);
    check(glyph);
    glyph.translateLastStitch(dy, dx, &log);
    check(glyph);
    glyph.appendPES(reader, float(dx) + 0.5f, &log);
    check(glyph);
    glyph.promoteFirstStitch();
    check(glyph);
    glyph.setLineListPending(true);
    glyph.createLineList(&log);
    PESData joined;
    joined.createFromPES(&glyph, &log);
    return 0;
}
