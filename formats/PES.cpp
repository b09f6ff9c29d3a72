// The PES reader: header check, cutting the buffer into sections, the bounds pass and the stitch
// edits of text composition.
//
// Sections:
//   FormatLog, helpers      - log formatting, little-endian fields, long-move chains
//   loading                 - loadBuffer, loadFileContents, checkHeader, splitSections
//   createLineList          - the bounds pass
//   stitch edits            - promoteFirstStitch, translateFirstStitch, translateLastStitch,
//                             appendPES

#include "formats/PES.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

bool FormatLog::hasError() const {
    return std::any_of(lines.begin(), lines.end(), [](const Line& l) { return l.level >= 3; });
}

namespace {

constexpr int kVerbose = 0;
constexpr int kError = 3;
constexpr const char* kModule = "PES";

// Largest move one edit may apply, 0.1 mm (100 m): far beyond any hoop, small enough that the
// chain of long records it may need stays short.
constexpr long long kMaxMove = 1000000;

// Largest value of the 24-bit graphics length field L.
constexpr std::size_t kMaxGraphicsLength = 0xFFFFFF;

void logf(FormatLog* log, int level, const char* module, const char* fmt, ...)
    __attribute__((format(printf, 4, 5)));

void logf(FormatLog* log, int level, const char* module, const char* fmt, ...) {
    if (!log)
        return;
    char buf[256];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    log->add(level, module, buf);
}

uint32_t readU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint32_t readU24(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}

uint16_t readU16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

// The leading decimal number of a short text, as the C library's atoi would read it.
int parseDigits(const uint8_t* p, std::size_t n) {
    std::size_t i = 0;
    while (i < n && (p[i] == ' ' || p[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < n && (p[i] == '-' || p[i] == '+'))
        negative = p[i++] == '-';
    int v = 0;
    for (; i < n && p[i] >= '0' && p[i] <= '9'; ++i)
        v = v * 10 + (p[i] - '0');
    return negative ? -v : v;
}

long long clampMove(long long v) {
    return std::max(-kMaxMove, std::min(kMaxMove, v));
}

// Long/long records with the given high nibble that together move by (x, y). A move within
// -2048..2047 on both axes is one record; a larger one is split so that no value wraps.
std::vector<uint8_t> longMoveChain(long long x, long long y, uint8_t nibble) {
    x = clampMove(x);
    y = clampMove(y);
    std::vector<uint8_t> out;
    do {
        long long sx = std::max<long long>(pec::kLongMin, std::min<long long>(pec::kLongMax, x));
        long long sy = std::max<long long>(pec::kLongMin, std::min<long long>(pec::kLongMax, y));
        uint8_t h, l;
        pec::longBytes(int(sx), nibble, h, l);
        out.push_back(h);
        out.push_back(l);
        pec::longBytes(int(sy), nibble, h, l);
        out.push_back(h);
        out.push_back(l);
        x -= sx;
        y -= sy;
    } while (x != 0 || y != 0);
    return out;
}

bool endsWithEndMarker(const std::vector<uint8_t>& d) {
    return d.size() >= 2 && d[d.size() - 2] == pec::kEndByte0 && d[d.size() - 1] == pec::kEndByte1;
}

// Whether the record in front of the end marker (bytes n-6..n-3) is long form in both values.
bool endsWithLongLong(const std::vector<uint8_t>& d) {
    std::size_t n = d.size();
    return n >= 6 && pec::isLong(d[n - 6]) && pec::isLong(d[n - 4]);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Loading

bool PES::loadBuffer(int fontId, const uint8_t* bytes, std::size_t size, FormatLog* log) {
    return loadBuffer(fontId, std::vector<uint8_t>(bytes, bytes + (bytes ? size : 0)), log);
}

bool PES::loadBuffer(int fontId, std::vector<uint8_t> bytes, FormatLog* log) {
    *this = PES();
    fontId_ = fontId;
    data_ = std::move(bytes);
    fileSize_ = int(std::min<std::size_t>(data_.size(), INT32_MAX));
    if (data_.empty())
        return false;
    if (!checkHeader(log))
        return false;
    sectionsOk_ = splitSections(log);
    return sectionsOk_;
}

bool PES::loadFileContents(std::vector<uint8_t> bytes, FormatLog* log) {
    bool ok = loadBuffer(0, std::move(bytes), log);
    if (ok)
        createLineList(log);
    return ok;
}

bool PES::hasDesignMagic(const uint8_t* bytes, std::size_t size) {
    return (size >= 4 && std::memcmp(bytes, "#PES", 4) == 0) ||
           (size >= 8 && std::memcmp(bytes, "#PEC0001", 8) == 0);
}

bool PES::checkHeader(FormatLog* log) {
    if (data_.size() >= 8 && std::memcmp(data_.data(), "#PEC0001", 8) == 0) {
        // A PEC file is the PEC block of a PES file with its own magic in front: version 0,
        // no PES section.
        headerOk_ = true;
        version_ = 0;
        pecOffset_ = 8;
        pesSection_.clear();
        logf(log, kVerbose, kModule, "Header OK: #PEC");
        return true;
    }
    if (data_.size() < pec::kPesMagicSize || std::memcmp(data_.data(), "#PES", 4) != 0) {
        logf(log, kError, kModule, "PES Header ERROR");
        return false;
    }
    headerOk_ = true;
    logf(log, kVerbose, kModule, "Header OK: %.4s", reinterpret_cast<const char*>(data_.data()));
    if (data_.size() < pec::kPesHeaderSize) {
        logf(log, kError, kModule, "Load PES ERROR");
        return false;
    }
    char digits[5] = {0};
    std::memcpy(digits, data_.data() + pec::kPesVersionOffset, 4);
    for (char& c : digits) {
        if (c != 0 && (c < 0x20 || c > 0x7E))
            c = '?';  // keep the log line printable
    }
    version_ = parseDigits(data_.data() + pec::kPesVersionOffset, 4);
    logf(log, kVerbose, kModule, "Version: %i (%s)", version_, digits);
    uint32_t p = readU32(data_.data() + pec::kPesPecOffsetField);
    logf(log, kVerbose, kModule, "PEC offset: %08X (%u)", p, p);
    if (p > data_.size() || p > uint32_t(INT32_MAX)) {
        logf(log, kError, kModule, "Load PES ERROR");
        return false;
    }
    pecOffset_ = int(p);
    pesSection_.assign(data_.begin(), data_.begin() + p);
    return true;
}

bool PES::splitSections(FormatLog* log) {
    const std::size_t size = data_.size();
    const std::size_t p = std::size_t(pecOffset_);
    if (p + pec::kPecHeaderSize > size) {
        logf(log, kError, kModule, "Load PES ERROR");
        return false;
    }
    const uint8_t* pec = data_.data() + p;
    const std::size_t L = readU24(pec + pec::kPecGraphicsLengthOffset);
    const std::size_t g = p + pec::kPecGraphicsBase + L;
    const std::size_t start = p + pec::kPecHeaderSize;
    if (g < start || g > size) {
        logf(log, kError, kModule, "Load PES ERROR");
        return false;
    }
    pecHeader_.assign(pec, pec + pec::kPecHeaderSize);
    stitchStart_ = int(start);
    graphicsOffset_ = int(g);
    stitchData_.assign(data_.begin() + start, data_.begin() + g);
    graphics_.assign(data_.begin() + g, data_.end());

    if (!endsWithEndMarker(stitchData_)) {
        logf(log, kError, kModule, "EROR ERROR ERROR");
    } else if (!endsWithLongLong(stitchData_) &&
               stitchData_.size() + 4 + pec::kPecLengthExtra <= kMaxGraphicsLength) {
        // End every design with a zero long/long move so that appending and moving the end of
        // the path always find a long record in front of the end marker.
        static const uint8_t kTail[] = {0x80, 0x00, 0x80, 0x00, pec::kEndByte0, pec::kEndByte1};
        stitchData_.resize(stitchData_.size() - 2);
        stitchData_.insert(stitchData_.end(), std::begin(kTail), std::end(kTail));
        graphicsOffset_ += 4;
        fileSize_ += 4;
        setGraphicsLength(uint32_t(stitchData_.size() + pec::kPecLengthExtra));
    }

    width_ = readU16(pec + pec::kPecWidthOffset);
    height_ = readU16(pec + pec::kPecHeightOffset);
    colorCount_ = pec[pec::kPecColorCountOffset] + 1;
    // At most 256 entries from byte 49: always inside the 532-byte header.
    colorIndexes_.assign(pec + pec::kPecColorListOffset,
                         pec + pec::kPecColorListOffset + colorCount_);
    return true;
}

void PES::setGraphicsLength(uint32_t L) {
    if (pecHeader_.size() < pec::kPecHeaderSize)
        return;
    pecHeader_[pec::kPecGraphicsLengthOffset] = uint8_t(L);
    pecHeader_[pec::kPecGraphicsLengthOffset + 1] = uint8_t(L >> 8);
    pecHeader_[pec::kPecGraphicsLengthOffset + 2] = uint8_t(L >> 16);
    graphicsOffset_ = pecOffset_ + int(pec::kPecGraphicsBase) + int(L);
}

// ---------------------------------------------------------------------------------------------
// createLineList

bool PES::createLineList(FormatLog* log) {
    if (!lineListPending_)
        return true;
    constexpr float kBig = 2147483648.0f;  // 2^31
    float minX = kBig, minY = kBig, maxX = -kBig, maxY = -kBig;
    long long x = 0, y = 0;
    const uint8_t* d = stitchData_.data();
    const std::size_t n = stitchData_.size();
    std::size_t pos = 0;
    while (pos < n) {
        pec::Record r = pec::readRecord(d, n, pos);
        if (r.kind == pec::RecordKind::Truncated)
            break;
        if (r.kind == pec::RecordKind::End) {
            if (r.next != n) {
                logf(log, kError, "PES::createLineList()", "ERROR ERROR %04X %04X %04X (%04X)",
                     unsigned(r.next), unsigned(graphicsOffset_), unsigned(stitchStart_),
                     unsigned(graphicsOffset_ - stitchStart_));
            }
            break;
        }
        if (r.kind == pec::RecordKind::Stitch) {
            x += r.dx;
            y += r.dy;
            minX = std::min(minX, float(x));
            minY = std::min(minY, float(y));
            maxX = std::max(maxX, float(x));
            maxY = std::max(maxY, float(y));
        }
        pos = r.next;
    }
    bounds_ = PESBounds{minX, minY, maxX, maxY};
    lineListPending_ = false;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Stitch edits

void PES::spliceStitchData(std::size_t pos, std::size_t oldLen, const std::vector<uint8_t>& bytes) {
    pos = std::min(pos, stitchData_.size());
    oldLen = std::min(oldLen, stitchData_.size() - pos);
    // L is a 24-bit field: an edit that would overflow it is not made.
    if (stitchData_.size() - oldLen + bytes.size() + pec::kPecLengthExtra > kMaxGraphicsLength) {
        return;
    }
    const long long delta = (long long)bytes.size() - (long long)oldLen;
    stitchData_.erase(stitchData_.begin() + pos, stitchData_.begin() + pos + oldLen);
    stitchData_.insert(stitchData_.begin() + pos, bytes.begin(), bytes.end());
    fileSize_ = int(fileSize_ + delta);
    setGraphicsLength(uint32_t(stitchData_.size() + pec::kPecLengthExtra));
}

void PES::promoteFirstStitch() {
    if (!sectionsOk_)
        return;
    pec::Record r = pec::readRecord(stitchData_.data(), stitchData_.size(), 0);
    if (r.kind != pec::RecordKind::Stitch) {
        // Nothing to promote: put a zero long/long move in front.
        spliceStitchData(0, 0, longMoveChain(0, 0, pec::kLongNibble));
        return;
    }
    std::vector<uint8_t> bytes = longMoveChain(r.dx, r.dy, pec::kLongNibble);
    // The former record stays in its forms but moves by nothing.
    if (r.xLong) {
        bytes.push_back(0x80);
        bytes.push_back(0x00);
    } else {
        bytes.push_back(0x00);
    }
    if (r.yLong) {
        bytes.push_back(0x80);
        bytes.push_back(0x00);
    } else {
        bytes.push_back(0x00);
    }
    spliceStitchData(0, r.next, bytes);
}

void PES::translateFirstStitch(int dx, int dy) {
    if (!sectionsOk_)
        return;
    pec::Record r = pec::readRecord(stitchData_.data(), stitchData_.size(), 0);
    if (r.kind != pec::RecordKind::Stitch || !r.xLong || !r.yLong) {
        promoteFirstStitch();
        r = pec::readRecord(stitchData_.data(), stitchData_.size(), 0);
    }
    spliceStitchData(0, r.next,
                     longMoveChain((long long)r.dx + dx, (long long)r.dy + dy, pec::kLongNibble));
}

void PES::translateLastStitch(int dx, int dy, FormatLog* log) {
    if (!sectionsOk_ || !endsWithEndMarker(stitchData_) || !endsWithLongLong(stitchData_)) {
        logf(log, kError, kModule, "ERROR");
        return;
    }
    const std::size_t n = stitchData_.size();
    const int lx = pec::longValue(stitchData_[n - 6], stitchData_[n - 5]);
    const int ly = pec::longValue(stitchData_[n - 4], stitchData_[n - 3]);
    spliceStitchData(n - 6, 4,
                     longMoveChain((long long)lx + dx, (long long)ly + dy, pec::kLongNibble));
}

void PES::appendPES(const PES& other, float dx, FormatLog* log) {
    if (!sectionsOk_ || !endsWithEndMarker(stitchData_) || other.stitchData_.empty())
        return;
    const std::size_t n = stitchData_.size();
    if (n < 6 || !pec::isLong(stitchData_[n - 6])) {
        logf(log, kError, "PES::appendPES()", "val1 error");
        return;
    }
    if (!pec::isLong(stitchData_[n - 4])) {
        logf(log, kError, "PES::appendPES()", "val2 error");
        return;
    }
    const int lx = pec::longValue(stitchData_[n - 6], stitchData_[n - 5]);
    const int ly = pec::longValue(stitchData_[n - 4], stitchData_[n - 3]);
    // The gap is computed in float and truncated toward zero; absurd gaps are clamped first so
    // that the conversion stays defined.
    float gapF = float(lx) + dx;
    if (!std::isfinite(gapF))
        gapF = 0.0f;
    gapF = std::max(-float(kMaxMove), std::min(float(kMaxMove), gapF));
    const long long gap = (long long)gapF;

    std::vector<uint8_t> out(stitchData_.begin(), stitchData_.begin() + (n - 6));
    out.insert(out.end(), other.stitchData_.begin(), other.stitchData_.end());
    const std::size_t at = n - 6;
    pec::Record r = pec::readRecord(out.data(), out.size(), at);
    if (r.kind != pec::RecordKind::Stitch) {
        // The other data starts with no stitch to fold the movement into: keep it as a record.
        std::vector<uint8_t> move = longMoveChain(gap, ly, pec::kLongJumpNibble);
        out.insert(out.begin() + at, move.begin(), move.end());
    } else {
        const long long fx = r.dx + gap;
        const long long fy = (long long)r.dy + ly;
        auto fits = [](bool isLongForm, long long v) {
            return isLongForm ? (v >= pec::kLongMin && v <= pec::kLongMax)
                              : (v >= pec::kShortMin && v <= pec::kShortMax);
        };
        if (fits(r.xLong, fx) && fits(r.yLong, fy)) {
            std::size_t p = at;
            if (r.xLong) {
                pec::longBytes(int(fx), pec::kLongJumpNibble, out[p], out[p + 1]);
                p += 2;
            } else {
                out[p++] = pec::shortByte(int(fx));
            }
            if (r.yLong) {
                pec::longBytes(int(fy), pec::kLongJumpNibble, out[p], out[p + 1]);
            } else {
                out[p] = pec::shortByte(int(fy));
            }
        } else {
            // A short value that no longer fits 7 bits would wrap to a wrong position: write the
            // movement as long jump records instead.
            std::vector<uint8_t> move = longMoveChain(fx, fy, pec::kLongJumpNibble);
            out.erase(out.begin() + at, out.begin() + r.next);
            out.insert(out.begin() + at, move.begin(), move.end());
        }
    }
    if (out.size() + pec::kPecLengthExtra > kMaxGraphicsLength) {
        logf(log, kError, "PES::appendPES()", "stitch data too long");
        return;
    }
    const long long delta = (long long)out.size() - (long long)n;
    stitchData_ = std::move(out);
    fileSize_ = int(fileSize_ + delta);
    setGraphicsLength(uint32_t(stitchData_.size() + pec::kPecLengthExtra));
}
