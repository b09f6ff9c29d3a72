#include "stitchfont/GlyphTemplates.h"

#include <utility>

#include "formats/PESWriter.h"

GlyphTemplates& GlyphTemplates::shared() {
    static GlyphTemplates instance;
    return instance;
}

const GlyphTemplates::Buffers& GlyphTemplates::get(const FontEnv& env) {
    if (!loaded_) {
        env.files.readFile(kHeaderFile, buffers_.header);
        env.files.readFile(kPecHeaderFile, buffers_.pecHeader);
        env.files.readFile(kGraphicsFile, buffers_.graphics);
        loaded_ = true;
    }
    return buffers_;
}

void GlyphTemplates::set(Buffers buffers) {
    buffers_ = std::move(buffers);
    loaded_ = true;
}

GlyphTemplates::Buffers GlyphTemplates::make() {
    // Two stitches: the writer always drops nothing, and a single movement gives every size
    // field a plain value; the glyph builder overwrites them anyway.
    std::vector<StitchBlock> blocks(1);
    blocks[0].colorIndex = 20;
    Stitch a;
    Stitch b;
    b.x = 10;
    b.y = 10;
    blocks[0].stitches = {a, b};
    const PESWriteInput in = pesWriteInputFor(blocks, 100, 100);
    const std::vector<uint8_t> file = writePES1(in);

    Buffers out;
    if (file.size() < 12)
        return out;
    const uint32_t p = uint32_t(file[8]) | uint32_t(file[9]) << 8 | uint32_t(file[10]) << 16 |
                       uint32_t(file[11]) << 24;
    if (p + 532 > file.size())
        return out;
    const uint32_t len =
        uint32_t(file[p + 514]) | uint32_t(file[p + 515]) << 8 | uint32_t(file[p + 516]) << 16;
    const std::size_t graphicsAt = std::size_t(p) + 513 + len;
    out.header.assign(file.begin(), file.begin() + p);
    out.pecHeader.assign(file.begin() + p, file.begin() + p + 532);
    if (graphicsAt <= file.size())
        out.graphics.assign(file.begin() + graphicsAt, file.end());
    return out;
}
