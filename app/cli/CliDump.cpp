// mes-cli dump FILE: the layer the editor would import from a PES file or a "#MIVO" buffer, as
// JSON: {"blocks":[{"colorIndex":N,"color":"#RRGGBB","stitches":[[x,y,type,longForm],...]}],
// "bounds":[minX,minY,maxX,maxY],"stitchCount":N}. Positions are absolute, 0.1 mm, y down, the
// design centred on the origin as on import; type 0 normal, 1 jump, 2 trim. A layer without
// stitches has bounds [0,0,0,0].

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "design/PESData.h"
#include "formats/Mivo.h"
#include "formats/PES.h"

int cli::dump(const cli::Invocation& in) {
    const std::string path = in.operand(0);
    std::vector<uint8_t> bytes;
    if (!cli::readInput("dump", path, bytes))
        return cli::kStatusFailed;
    FormatLog log;
    PESData layer;
    bool ok = false;
    if (PES::hasDesignMagic(bytes.data(), bytes.size())) {
        PES reader;
        reader.loadBuffer(0, bytes, &log);
        ok = layer.createFromPES(&reader, &log);
    } else if (isMivo(bytes.data(), bytes.size())) {
        ok = layer.loadMIVO(bytes, &log);
    } else {
        std::fprintf(stderr, "mes-cli dump: \"%s\" is neither a PES file nor a MIVO buffer\n",
                     path.c_str());
        return cli::kStatusFailed;
    }
    if (!ok) {
        std::fprintf(stderr, "mes-cli dump: \"%s\" is not a valid design\n", path.c_str());
        for (const auto& l : log.lines) {
            if (l.level >= 2)
                std::fprintf(stderr, "  %s: %s\n", l.module.c_str(), l.text.c_str());
        }
        return cli::kStatusFailed;
    }
    layer.prepareImportedPES();

    std::string out = "{\"blocks\":[";
    char buf[96];
    for (std::size_t b = 0; b < layer.blocks.size(); ++b) {
        const StitchBlock& block = layer.blocks[b];
        std::snprintf(
            buf, sizeof buf, "%s{\"colorIndex\":%d,\"color\":\"#%02X%02X%02X\",\"stitches\":[",
            b ? "," : "", int(block.colorIndex), block.color.r, block.color.g, block.color.b);
        out += buf;
        for (std::size_t i = 0; i < block.stitches.size(); ++i) {
            const Stitch& s = block.stitches[i];
            std::snprintf(buf, sizeof buf, "%s[%d,%d,%d,%d]", i ? "," : "", s.x, s.y, int(s.type),
                          int(s.longForm));
            out += buf;
        }
        out += "]}";
    }
    const bool empty = layer.stitchCount == 0;
    std::snprintf(buf, sizeof buf, "],\"bounds\":[%d,%d,%d,%d],\"stitchCount\":%d}\n",
                  empty ? 0 : layer.minX, empty ? 0 : layer.minY, empty ? 0 : layer.maxX,
                  empty ? 0 : layer.maxY, layer.stitchCount);
    out += buf;
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
