// The layer model: decoding stitch streams into colour runs, bounds and counts, and the edits
// that work on one layer (move, mirror, recolour, merge, frame).
//
// Sections: helpers; decoding (createFromPES, loadMIVO, decodeStream); imported layers;
// blocks and bounds (appendBlock, mergeLayer, computeBounds); edits (translate, mirrors,
// setColor, clear, buildFramePoints).

#include "design/PESData.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "formats/Mivo.h"
#include "formats/ThreadPalette.h"

namespace {

constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();

// Coordinates are kept in int32; sums that could leave that range saturate instead of wrapping.
int32_t sat32(long long v) {
    return int32_t(std::max<long long>(kInt32Min, std::min<long long>(kInt32Max, v)));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Decoding

bool PESData::createFromPES(const PES* pes, FormatLog* log) {
    if (!pes) {
        if (log)
            log->add(2, "PESData::createFromPES()", "pes=NULL");
        return false;
    }
    const std::vector<uint8_t>& data = pes->data();
    if (data.size() <= 6) {
        if (log)
            log->add(3, "createFromPES", "data invalid");
        return false;
    }
    if (!PES::hasDesignMagic(data.data(), data.size())) {
        if (log)
            log->add(3, "createFromPES", "PES header invalid");
        return false;
    }
    if (!pes->hasSections()) {
        // The header matched but the sections did not fit the buffer: nothing to decode.
        if (log)
            log->add(3, "createFromPES", "data invalid");
        return false;
    }
    std::vector<uint8_t> colors;
    colors.reserve(pes->colorIndexes().size());
    for (uint32_t c : pes->colorIndexes())
        colors.push_back(uint8_t(c));
    const std::vector<uint8_t>& stitches = pes->stitchData();
    decodeStream(stitches.data(), stitches.size(), colors, false);
    computeBounds();
    return true;
}

bool PESData::loadMIVO(const uint8_t* bytes, std::size_t size, FormatLog* log) {
    MivoBuffer mivo;
    if (!parseMivo(bytes, size, mivo, log))
        return false;
    decodeStream(bytes + mivo.streamOffset, size - mivo.streamOffset, mivo.colors, true);
    computeBounds();
    return true;
}

void PESData::decodeStream(const uint8_t* d, std::size_t n, const std::vector<uint8_t>& colors,
                           bool normaliseColors) {
    for (StitchBlock& b : blocks)
        b.stitches.clear();
    blocks.clear();

    // A colour change beyond the end of the list keeps the last colour.
    auto colorAt = [&](std::size_t i) -> uint8_t {
        if (colors.empty())
            return 0;
        uint8_t c = colors[std::min(i, colors.size() - 1)];
        if (normaliseColors && (c < 1 || c > 64))
            c = 0;
        return c;
    };

    // Short/short records are by far the most common: both bytes below 0x80, which also rules
    // out the markers. Both passes take them without the general record reader.
    auto bothShort = [d, n](std::size_t p) {
        return p + 1 < n && ((d[p] | d[p + 1]) & pec::kLongFormBit) == 0;
    };

    // First pass: how many stitch records each colour run has, so that every run is allocated
    // once at its final size and a large design is decoded straight into its blocks.
    std::vector<std::size_t> counts{0};
    std::size_t pos = 0;
    while (pos < n) {
        if (bothShort(pos)) {
            ++counts.back();
            pos += 2;
            continue;
        }
        const pec::Record r = pec::readRecord(d, n, pos);
        if (r.kind == pec::RecordKind::Truncated || r.kind == pec::RecordKind::End)
            break;
        if (r.kind == pec::RecordKind::ColorChange) {
            counts.push_back(0);
        } else {
            ++counts.back();
        }
        pos = r.next;
    }

    // Second pass: decode into the runs.
    std::size_t run = 0;
    StitchBlock current;
    auto startRun = [&](std::size_t i) {
        current = StitchBlock();
        current.colorIndex = colorAt(i);
        current.color = threadColor(current.colorIndex);
        current.stitches.reserve(counts[i]);
    };
    startRun(0);
    long long x = 0, y = 0;
    pos = 0;
    while (pos < n) {
        if (bothShort(pos)) {
            x += pec::shortValue(d[pos]);
            y += pec::shortValue(d[pos + 1]);
            Stitch s;
            s.x = sat32(x);
            s.y = sat32(y);
            current.stitches.push_back(s);
            pos += 2;
            continue;
        }
        const pec::Record r = pec::readRecord(d, n, pos);
        if (r.kind == pec::RecordKind::Truncated)
            break;
        if (r.kind == pec::RecordKind::End) {
            // The record in front of the end marker is the closing move and is never kept.
            if (!current.stitches.empty())
                current.stitches.pop_back();
            break;
        }
        if (r.kind == pec::RecordKind::ColorChange) {
            appendBlock(std::move(current));
            startRun(++run);
        } else {
            x += r.dx;
            y += r.dy;
            Stitch s;
            s.x = sat32(x);
            s.y = sat32(y);
            s.longForm = (r.xLong || r.yLong) ? 1 : 0;
            s.type = pec::recordType(r);
            s.xFlags = uint8_t(r.xHigh & pec::kFlagMask);
            s.yFlags = uint8_t(r.yHigh & pec::kFlagMask);
            current.stitches.push_back(s);
        }
        pos = r.next;
    }
    appendBlock(std::move(current));
}

// ---------------------------------------------------------------------------------------------
// Imported layers

void PESData::prepareImportedPES() {
    properties.type = kLayerPES;
    properties.text = "Text";
    properties.typeName = "PES Stitch";
    properties.fontIndex = 0;
    properties.fontSizeIndex = 0;
    properties.baselineIndex = 0;
    properties.radiusValue = 0.5f;
    properties.angleValue = 0.1f;
    properties.rotateValue = 0.5f;
    if (!colorList.empty())
        properties.colorIndex = int32_t(colorList[0]) - 1;
    if (centerX != 0 || centerY != 0) {
        translate(-centerX, -centerY);
        computeBounds();
    }
    sourceBlocks = blocks;
}

// ---------------------------------------------------------------------------------------------
// Blocks and bounds

void PESData::appendBlock(StitchBlock block) {
    if (!blocks.empty() && blocks.back().colorIndex == block.colorIndex) {
        // The joined run continues with a movement: make it a jump so nothing is sewn across.
        if (!block.stitches.empty() && block.stitches.front().longForm) {
            block.stitches.front().type = pec::kJump;
            block.stitches.front().xFlags = pec::kJumpFlag;
        }
        std::vector<Stitch>& into = blocks.back().stitches;
        if (into.empty()) {
            into = std::move(block.stitches);
        } else {
            into.insert(into.end(), block.stitches.begin(), block.stitches.end());
        }
        return;
    }
    blocks.push_back(std::move(block));
}

void PESData::mergeLayer(const PESData& other) {
    // Copy first: merging a layer into itself must not read blocks while they grow.
    std::vector<StitchBlock> incoming = other.blocks;
    for (StitchBlock& b : incoming)
        appendBlock(std::move(b));
    computeBounds();
    properties.type = kLayerPES;
    properties.text = "Text";
    properties.fontIndex = 0;
    properties.fontSizeIndex = 0;
    properties.baselineIndex = 0;
    properties.radiusValue = 0.5f;
    properties.angleValue = 0.1f;
    properties.rotateValue = 0.5f;
    properties.typeName =
        numColorChange != 0 ? "PES Stitch[Multiple Blocks]" : "PES Stitch[Single Block]";
    if (!blocks.empty())
        properties.colorIndex = int32_t(blocks.front().colorIndex) - 1;
}

void PESData::computeBounds() {
    stitchCount = 0;
    longStitchCount = 0;
    colorList.clear();
    longStitchList.clear();
    firstStitch = Stitch();
    lastStitch = Stitch();
    int32_t lx = kInt32Max, ly = kInt32Max, hx = kInt32Min, hy = kInt32Min;
    long long count = 0, longCount = 0;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const StitchBlock& block = blocks[b];
        if (b == 0 || block.colorIndex != blocks[b - 1].colorIndex) {
            colorList.push_back(block.colorIndex);
        }
        const std::vector<Stitch>& st = block.stitches;
        for (std::size_t i = 0; i < st.size(); ++i) {
            const Stitch& s = st[i];
            lx = std::min(lx, s.x);
            hx = std::max(hx, s.x);
            ly = std::min(ly, s.y);
            hy = std::max(hy, s.y);
            if (s.longForm) {
                ++longCount;
                longStitchList.push_back(int32_t(b));
                longStitchList.push_back(int32_t(i));
            }
        }
        count += (long long)st.size();
        if (!st.empty()) {
            if (count == (long long)st.size())
                firstStitch = st.front();
            lastStitch = st.back();
        }
    }
    stitchCount = sat32(count);
    longStitchCount = sat32(longCount);
    numColorChange = int32_t(colorList.size()) - 1;
    minX = lx;
    minY = ly;
    maxX = hx;
    maxY = hy;
    if (count == 0) {
        // No stitch: the start values stay, and the layer has no size.
        boundsWidth = boundsHeight = 0;
        centerX = centerY = 0;
        return;
    }
    const long long w = (long long)hx - lx;
    const long long h = (long long)hy - ly;
    boundsWidth = sat32(w);
    boundsHeight = sat32(h);
    centerX = sat32(lx + w / 2);
    centerY = sat32(ly + h / 2);
}

// ---------------------------------------------------------------------------------------------
// Edits

void PESData::translate(int32_t dx, int32_t dy) {
    for (StitchBlock& b : blocks) {
        for (Stitch& s : b.stitches) {
            s.x = sat32((long long)s.x + dx);
            s.y = sat32((long long)s.y + dy);
        }
    }
    if (framePointsFollow) {
        for (FramePoint& p : framePoints) {
            p.x = sat32((long long)p.x + dx);
            p.y = sat32((long long)p.y + dy);
        }
    }
}

// x -> a + b - x maps [a, b] onto itself reversed; computed exactly in 64 bits.
void PESData::mirrorX() {
    if (minX > maxX)
        return;  // bounds of a layer without stitches
    const long long sum = (long long)minX + maxX;
    for (StitchBlock& b : blocks) {
        for (Stitch& s : b.stitches)
            s.x = sat32(sum - s.x);
    }
}

void PESData::mirrorY() {
    if (minY > maxY)
        return;
    const long long sum = (long long)minY + maxY;
    for (StitchBlock& b : blocks) {
        for (Stitch& s : b.stitches)
            s.y = sat32(sum - s.y);
    }
}

void PESData::setColor(int32_t c) {
    properties.colorIndex = c;
    if (blocks.empty())
        return;
    const long long index = (long long)c + 1;
    const uint8_t palette = (index >= 1 && index <= 64) ? uint8_t(index) : 0;
    blocks.front().colorIndex = palette;
    blocks.front().color = threadColor(palette);
}

void PESData::clear() {
    for (StitchBlock& b : blocks)
        b.stitches.clear();
    blocks.clear();
    colorList.clear();
    longStitchList.clear();
    sourceBlocks.clear();
    framePoints.clear();
}

void PESData::buildFramePoints() {
    // A layer without stitches has no bounds: frame the origin.
    const bool empty = minX > maxX || minY > maxY;
    const long long x0 = empty ? 0 : minX, x1 = empty ? 0 : maxX;
    const long long y0 = empty ? 0 : minY, y1 = empty ? 0 : maxY;
    const double W = double(x1 - x0) + 40.0;
    const long long L = x0 - 20, R = x1 + 20, T = y0 - 20, B = y1 + 20;
    auto at = [](double v) { return sat32((long long)std::trunc(v)); };
    framePoints = {
        {sat32(L), sat32(T)},         {at(L + 0.25 * W), sat32(T)}, {at(L + 0.5 * W), sat32(T)},
        {at(L + 0.75 * W), sat32(T)}, {sat32(R), sat32(T)},         {sat32(R), sat32(B)},
        {at(R - 0.25 * W), sat32(B)}, {at(R - 0.5 * W), sat32(B)},  {at(R - 0.75 * W), sat32(B)},
        {sat32(L), sat32(B)},
    };
}
