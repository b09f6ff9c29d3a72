#include "tools/gallery-catalogue/MivoBuffer.h"

#include "formats/PESWriter.h"

namespace catalogue {

std::vector<uint8_t> mivoBuffer(const PESData& layer) {
    const std::vector<pes_writer::ColorRun> runs = pes_writer::colorRuns(layer.blocks);
    if (layer.stitchCount == 0 || runs.empty() || runs.size() > kMaxMivoColors)
        return {};
    std::vector<uint8_t> out = {'#', 'M', 'I', 'V', 'O', uint8_t(runs.size() - 1)};
    for (const pes_writer::ColorRun& run : runs)
        out.push_back(run.colorIndex);
    int64_t px = 0, py = 0;
    for (size_t r = 0; r < runs.size(); ++r) {
        if (r > 0) {
            out.push_back(pec::kColorChangeByte0);
            out.push_back(pec::kColorChangeByte1);
            out.push_back(r % 2 ? 2 : 1);
        }
        for (size_t b = runs[r].firstBlock; b < runs[r].endBlock; ++b) {
            for (const Stitch& s : layer.blocks[b].stitches) {
                if (!pes_writer::isWritten(s))
                    continue;
                pes_writer::appendMove(s.x - px, s.y - py, s.type, s.longForm != 0, out);
                px = s.x;
                py = s.y;
            }
        }
    }
    // The reader never keeps the record in front of the end marker.
    out.push_back(0x00);
    out.push_back(0x00);
    out.push_back(pec::kEndByte0);
    out.push_back(pec::kEndByte1);
    return out;
}

}  // namespace catalogue
