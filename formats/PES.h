// The short-lived reader of a PES byte buffer, and the stitch-record decoder every stitch consumer
// of the program shares.
//
// A PES file is "#PES", four version digits, the PEC offset P (uint32), the PES objects (kept, not
// interpreted), then the PEC block: a 532-byte header (colour list at 48, graphics length L at
// 514, size at 520) followed by the stitch data and the thumbnails at P + 513 + L. The reader's
// view of the stitch data reaches one byte further than a writer's (it ends with 0xFF 0x00 and
// the graphics start one byte late); see Stitch.h for the record encoding.
//
// The reader never touches the disk: callers read the file and hand over its bytes. It never reads
// outside the buffer, whatever the header fields say. Log lines go to an optional FormatLog that
// the caller forwards to the application log; a null log drops them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "formats/Stitch.h"

// Log lines of the pure format code, in the order they arose. Levels as in the application log:
// 0 verbose, 1 notice, 2 warning, 3 error. module is empty when the line has none.
struct FormatLog {
    struct Line {
        int level = 0;
        std::string module;
        std::string text;
    };
    std::vector<Line> lines;

    void add(int level, std::string module, std::string text) {
        lines.push_back({level, std::move(module), std::move(text)});
    }
    // Whether an error-level line was logged.
    bool hasError() const;
};

namespace pec {

// One record of a stitch stream, as found at a position.
enum class RecordKind : uint8_t { Stitch, ColorChange, End, Truncated };

struct Record {
    RecordKind kind = RecordKind::Truncated;
    int dx = 0;
    int dy = 0;
    uint8_t xHigh = 0;  // high byte of a long dx, 0 for a short one
    uint8_t yHigh = 0;
    bool xLong = false;
    bool yLong = false;
    std::size_t next =
        0;  // position after the record (may exceed the size for a cut colour change)
};

// Reads the record at pos of d[0..n). Truncated when the bytes end inside a record or pos >= n.
inline Record readRecord(const uint8_t* d, std::size_t n, std::size_t pos) {
    Record r;
    if (pos >= n)
        return r;
    uint8_t b0 = d[pos];
    if (pos + 1 < n) {
        uint8_t b1 = d[pos + 1];
        if (b0 == kEndByte0 && b1 == kEndByte1) {
            r.kind = RecordKind::End;
            r.next = pos + 2;
            return r;
        }
        if (b0 == kColorChangeByte0 && b1 == kColorChangeByte1) {
            r.kind = RecordKind::ColorChange;
            r.next = pos + kColorChangeSize;
            return r;
        }
    }
    std::size_t p = pos;
    if (isLong(b0)) {
        if (p + 1 >= n)
            return r;
        r.xLong = true;
        r.xHigh = b0;
        r.dx = longValue(b0, d[p + 1]);
        p += 2;
    } else {
        r.dx = shortValue(b0);
        p += 1;
    }
    if (p >= n)
        return r;
    uint8_t c0 = d[p];
    if (isLong(c0)) {
        if (p + 1 >= n)
            return r;
        r.yLong = true;
        r.yHigh = c0;
        r.dy = longValue(c0, d[p + 1]);
        p += 2;
    } else {
        r.dy = shortValue(c0);
        p += 1;
    }
    r.kind = RecordKind::Stitch;
    r.next = p;
    return r;
}

// Type of a decoded stitch record: from the long dx, replaced by the long dy when that carries the
// jump or trim flag.
inline uint8_t recordType(const Record& r) {
    uint8_t t = r.xLong ? typeFromHigh(r.xHigh) : uint8_t(kNormal);
    if (r.yLong && (r.yHigh & (kJumpFlag | kTrimFlag)))
        t = typeFromHigh(r.yHigh);
    return t;
}

}  // namespace pec

// Bounds of the decoded positions, in 0.1 mm.
struct PESBounds {
    float minX = 0.0f;
    float minY = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;
};

class PES {
public:
    PES() = default;

    // Whether the bytes start like a design this reader takes: a PES file ("#PES") or a
    // stand-alone PEC file ("#PEC0001", whose PEC block follows its 8-byte magic).
    static bool hasDesignMagic(const uint8_t* bytes, std::size_t size);

    // Builds the reader from bytes in memory (a glyph, a layer of a project file, a download):
    // checkHeader and splitSections run unless the buffer is empty (an empty reader is not an
    // error). The bounds are not computed: lineListPending stays true. Returns whether the
    // sections exist. fontId is the glyph code of a glyph reader, 0 otherwise.
    bool loadBuffer(int fontId, const uint8_t* bytes, std::size_t size, FormatLog* log = nullptr);
    bool loadBuffer(int fontId, std::vector<uint8_t> bytes, FormatLog* log = nullptr);

    // Builds the reader from the contents of a ".pes" file that the caller has read: loadBuffer,
    // then createLineList. A caller that could not open the file logs "File not found" itself
    // and keeps an empty reader.
    bool loadFileContents(std::vector<uint8_t> bytes, FormatLog* log = nullptr);

    // Decodes stitchData once (while lineListPending) and sets bounds over every position reached
    // (jumps included, the origin only when a stitch returns to it). Returns true.
    bool createLineList(FormatLog* log = nullptr);

    // Text composition edits on glyph readers. Positions are relative, so moving the first stitch
    // moves the whole design and moving the last one moves only the end of the path. A move that
    // does not fit one long-form record (-2048..2047) is written as a chain of long records.
    void promoteFirstStitch();
    void translateFirstStitch(int dx, int dy);
    // Logs "ERROR\n" and changes nothing when the data does not end in a long/long stitch.
    void translateLastStitch(int dx, int dy, FormatLog* log = nullptr);
    // Appends the other reader's stitches behind this one's, the gap dx (0.1 mm) folded into the
    // first appended record. Logs "val1 error"/"val2 error" and appends nothing when this data
    // does not end in a long/long stitch. Bounds are not touched.
    void appendPES(const PES& other, float dx, FormatLog* log = nullptr);

    // Whether the header matched and the sections were cut.
    bool hasSections() const { return sectionsOk_; }
    // Whether the whole buffer starts with "#PES".
    bool headerOk() const { return headerOk_; }

    int version() const { return version_; }
    int fileSize() const { return fileSize_; }
    int colorCount() const { return colorCount_; }
    const std::vector<uint32_t>& colorIndexes() const { return colorIndexes_; }
    const PESBounds& bounds() const { return bounds_; }
    void setBounds(const PESBounds& b) { bounds_ = b; }
    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<uint8_t>& data() const { return data_; }
    const std::vector<uint8_t>& pesSection() const { return pesSection_; }
    const std::vector<uint8_t>& pecHeader() const { return pecHeader_; }
    const std::vector<uint8_t>& stitchData() const { return stitchData_; }
    const std::vector<uint8_t>& graphics() const { return graphics_; }
    int pecOffset() const { return pecOffset_; }
    int stitchStart() const { return stitchStart_; }
    int graphicsOffset() const { return graphicsOffset_; }
    bool lineListPending() const { return lineListPending_; }
    void setLineListPending(bool pending) { lineListPending_ = pending; }
    int fontId() const { return fontId_; }
    void setFontId(int id) { fontId_ = id; }

private:
    bool checkHeader(FormatLog* log);
    bool splitSections(FormatLog* log);
    // Replaces stitchData[pos, pos + oldLen) by bytes and keeps L, graphicsOffset and fileSize in
    // step.
    void spliceStitchData(std::size_t pos, std::size_t oldLen, const std::vector<uint8_t>& bytes);
    void setGraphicsLength(uint32_t L);

    int version_ = 0;
    int fileSize_ = 0;
    int colorCount_ = 0;
    std::vector<uint32_t> colorIndexes_;
    PESBounds bounds_;
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> data_;
    std::vector<uint8_t> pesSection_;
    std::vector<uint8_t> pecHeader_;
    std::vector<uint8_t> stitchData_;
    std::vector<uint8_t> graphics_;
    int pecOffset_ = 0;
    int stitchStart_ = 0;
    int graphicsOffset_ = 0;
    bool lineListPending_ = true;
    int fontId_ = 0;
    bool headerOk_ = false;
    bool sectionsOk_ = false;
};
