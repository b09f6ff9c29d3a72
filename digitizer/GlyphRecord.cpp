#include "digitizer/GlyphRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "formats/PES.h"
#include "formats/Stitch.h"

namespace digitizer {

namespace {

void putLong(std::vector<uint8_t>& out, int v, uint8_t flags) {
    uint8_t h, l;
    pec::longBytes(v, uint8_t(pec::kLongNibble | flags), h, l);
    out.push_back(h);
    out.push_back(l);
}

void putTrailer(std::vector<uint8_t>& out, int v) {
    out.push_back(uint8_t(v & 0xFF));
    out.push_back(uint8_t(0x80 | ((v >> 8) & 0x0F)));
}

}  // namespace

std::vector<uint8_t> encodeGlyph(const std::vector<Needle>& path, int advance) {
    std::vector<uint8_t> out;
    int x = 0, y = 0;
    int minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool anyStitch = false;
    bool first = true;
    for (const Needle& n : path) {
        int tx = int(std::lround(n.p.x)), ty = int(std::lround(n.p.y));
        int dx = tx - x, dy = ty - y;
        bool movement = first || n.kind == Kind::Jump || n.kind == Kind::Trim;
        first = false;
        if (movement) {
            uint8_t flags = n.kind == Kind::Trim ? pec::kTrimFlag : pec::kJumpFlag;
            putLong(out, dx, flags);
            putLong(out, dy, flags);
        } else {
            if (dx == 0 && dy == 0)
                continue;
            int pieces = std::max(1, (std::max(std::abs(dx), std::abs(dy)) + 62) / 63);
            int px = 0, py = 0;
            for (int k = 1; k <= pieces; ++k) {
                int qx = int(std::lround(double(dx) * k / pieces));
                int qy = int(std::lround(double(dy) * k / pieces));
                out.push_back(pec::shortByte(qx - px));
                out.push_back(pec::shortByte(qy - py));
                px = qx;
                py = qy;
            }
        }
        x = tx;
        y = ty;
        // Bounds of the needle points; the pen origin and the advance are not part of them.
        if (!anyStitch) {
            minX = maxX = x;
            minY = maxY = y;
            anyStitch = true;
        }
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    putLong(out, advance - x, pec::kJumpFlag);
    putLong(out, -y, pec::kJumpFlag);
    out.push_back(pec::kEndByte0);
    out.push_back(pec::kEndByte1);
    putTrailer(out, minX);
    putTrailer(out, minY);
    putTrailer(out, maxX);
    putTrailer(out, maxY);
    return out;
}

std::vector<Needle> decodeGlyph(const std::vector<uint8_t>& data, int* advance) {
    std::vector<Needle> out;
    if (data.size() < 8)
        return out;
    std::size_t n = data.size() - 8;
    int x = 0, y = 0;
    std::size_t pos = 0;
    while (pos < n) {
        pec::Record r = pec::readRecord(data.data(), n, pos);
        if (r.kind != pec::RecordKind::Stitch)
            break;
        x += r.dx;
        y += r.dy;
        Kind k = Kind::Run;
        if (r.xLong || r.yLong)
            k = pec::recordType(r) == pec::kTrim ? Kind::Trim : Kind::Jump;
        out.push_back({{double(x), double(y)}, k});
        pos = r.next;
    }
    if (advance)
        *advance = x;
    // The last record is the movement to the advance.
    if (!out.empty() && out.back().kind != Kind::Run)
        out.pop_back();
    return out;
}

}  // namespace digitizer
