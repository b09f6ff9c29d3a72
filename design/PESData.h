// One layer of the design: its stitches in colour runs, the bounds and counts derived from them,
// the properties the user edits and a little display state.
//
// Coordinates are absolute design coordinates in 0.1 mm, x to the right, y downwards, the hoop
// centre at (0, 0). A layer is a plain value: copying it copies every vector, which is what the
// undo commands rely on. Nothing here draws; rendering and the document live elsewhere.
//
// Log lines go to an optional FormatLog that the caller forwards to the application log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "design/LayerProperties.h"
#include "formats/PES.h"
#include "formats/Stitch.h"

// One point of a text layer's frame, 0.1 mm.
struct FramePoint {
    int32_t x = 0;
    int32_t y = 0;
};

inline bool operator==(FramePoint a, FramePoint b) {
    return a.x == b.x && a.y == b.y;
}

class PESData {
public:
    // An empty layer: default properties, no blocks, bounds and counts 0, framePointsFollow set.
    PESData() = default;

    // Replaces the blocks by the decoded stitch data of the reader and runs computeBounds. The
    // properties are left alone (see prepareImportedPES). A missing reader, a buffer of 6 bytes or
    // less, a wrong magic or a reader without sections log and leave the layer unchanged; returns
    // whether the layer was replaced.
    bool createFromPES(const PES* pes, FormatLog* log = nullptr);

    // Replaces the blocks by the content of a "#MIVO" buffer and runs computeBounds. An empty or
    // malformed buffer (bad magic, count byte of 128 or more, colour list cut short) logs and
    // leaves the layer unchanged; returns whether the layer was replaced. A stream without end
    // marker keeps what was decoded up to the end of the buffer.
    bool loadMIVO(const uint8_t* bytes, std::size_t size, FormatLog* log = nullptr);
    bool loadMIVO(const std::vector<uint8_t>& bytes, FormatLog* log = nullptr) {
        return loadMIVO(bytes.data(), bytes.size(), log);
    }

    // What the import commands do after decoding: PES-layer properties, colorIndex from the first
    // colour, the design centred on the origin, sourceBlocks a copy of the blocks.
    void prepareImportedPES();

    // Adds a block, joining it to the last block when the palette index is equal (a long first
    // stitch of the joined run becomes a jump).
    void appendBlock(StitchBlock block);

    // Appends the other layer's blocks (through appendBlock), recomputes the bounds and makes this
    // a PES layer.
    void mergeLayer(const PESData& other);

    // Recomputes bounds, counts, colorList, longStitchList, firstStitch and lastStitch. A layer
    // without stitches keeps minX/minY at the largest and maxX/maxY at the smallest int32 and has
    // zero width, height and centre.
    void computeBounds();

    // Moves every stitch (and the frame points when framePointsFollow). Bounds are not updated.
    void translate(int32_t dx, int32_t dy);

    // Mirror every stitch inside the current bounds: x becomes minX + maxX - x (mirrorX) or y
    // becomes minY + maxY - y (mirrorY). Bounds are not updated.
    void mirrorX();
    void mirrorY();

    // c is a palette index minus 1: the first block takes threadColor(c + 1) (palette 0 outside
    // 1..64) and properties.colorIndex becomes c. Other blocks keep their colours.
    void setColor(int32_t c);

    // Empties blocks, colorList, longStitchList, sourceBlocks and framePoints.
    void clear();

    // The ten frame points on a rectangle 20 units outside the current bounds.
    void buildFramePoints();

    int32_t minX = 0;
    int32_t minY = 0;
    int32_t maxX = 0;
    int32_t maxY = 0;
    int32_t centerX = 0;
    int32_t centerY = 0;
    int32_t boundsWidth = 0;
    int32_t boundsHeight = 0;
    bool highlighted = false;        // the canvas draws a frame around the layer
    int32_t stitchCount = 0;         // stitch records in all blocks
    int32_t longStitchCount = 0;     // records with longForm set
    int32_t byteLength = 0;          // length of the embedded PES file while a project is read
    int32_t numColorChange = 0;      // colour runs - 1 (-1 without blocks once computed)
    std::vector<uint8_t> colorList;  // palette index of each colour run
    std::vector<StitchBlock> blocks;
    std::vector<int32_t> longStitchList;  // block index, stitch index of every long stitch
    std::vector<FramePoint> framePoints;  // frame of a text layer, empty for other kinds
    LayerProperties properties;
    Stitch firstStitch;             // stitch 0 of block 0
    Stitch lastStitch;              // last stitch of the last block
    bool dragging = false;          // being dragged on the canvas: no jump lines
    float offScreenScale = 0.0f;    // scale of the last render into the layer's texture
    int32_t textureSlot = 0;        // texture pool slot; equals the layer index after a render
    bool framePointsFollow = true;  // translate also moves framePoints
    std::vector<StitchBlock> sourceBlocks;  // untransformed blocks the effects start from
    float previewAngle = 0.0f;  // degrees; the canvas draws the texture rotated while not 0

private:
    // Decodes a PEC stitch stream with the given colour list into blocks (replacing them).
    // normaliseColors maps indexes outside 1..64 to 0 (MIVO); PES keeps the byte as it is.
    void decodeStream(const uint8_t* d, std::size_t n, const std::vector<uint8_t>& colors,
                      bool normaliseColors);
};
