// Loading a pack and building single-glyph readers. The text composer is in TextComposer.cpp.

#include "stitchfont/StitchPack.h"

#include <utility>

#include "stitchfont/GlyphTemplates.h"

namespace {

const char* const kLoadModule = "StitchPack::loadPack";
const char* const kCreateModule = "StitchPack::createPES";

void put16(std::vector<uint8_t>& b, std::size_t at, int v) {
    if (at + 2 > b.size())
        return;
    b[at] = uint8_t(v & 0xFF);
    b[at + 1] = uint8_t((v >> 8) & 0xFF);
}

void put24(std::vector<uint8_t>& b, std::size_t at, uint32_t v) {
    if (at + 3 > b.size())
        return;
    b[at] = uint8_t(v & 0xFF);
    b[at + 1] = uint8_t((v >> 8) & 0xFF);
    b[at + 2] = uint8_t((v >> 16) & 0xFF);
}

// The origin offset form of the PEC header: high byte with 0x90, then the low byte.
void putOrigin(std::vector<uint8_t>& b, std::size_t at, int v) {
    if (at + 2 > b.size())
        return;
    b[at] = uint8_t(((v >> 8) | 0x90) & 0xFF);
    b[at + 1] = uint8_t(v & 0xFF);
}

}  // namespace

int StitchPack::trailerValue(uint8_t lo, uint8_t hi) {
    if (hi & 0x80) {
        const int v = ((hi & 0x0F) << 8) | lo;
        return (v & 0x800) ? v - 4096 : v;
    }
    return lo & 0x7F;
}

void StitchPack::loadPack(const std::string& path, const FontEnv& env) {
    if (!packFilePath_.empty() && path == packFilePath_) {
        env.emit(kFontVerbose, kLoadModule, "this pack is already loaded!");
        return;
    }
    glyphs_.clear();
    std::string folder = env.files.resolve(enclosingFolder(path));
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    env.emit(kFontPrint, "", "PackFolderPath: " + folder);
    env.emit(kFontPrint, "", "packFilePath: " + path);

    std::vector<uint8_t> bytes;
    env.files.readFile(path, bytes);
    if (!loadRecords(bytes.data(), bytes.size(), env))
        return;
    env.emit(kFontNotice, kLoadModule, "found " + std::to_string(glyphs_.size()) + " stitches");
    packFilePath_ = path;
    packFolderPath_ = folder;
    metrics_ = FontMetrics::load(folder, env);
}

bool StitchPack::loadRecords(const uint8_t* bytes, std::size_t size, const FontEnv& env) {
    if (size <= 6 || bytes == nullptr)
        return true;
    std::size_t pos = 0;
    do {
        const uint32_t key = uint32_t(bytes[pos]) | uint32_t(bytes[pos + 1]) << 8 |
                             uint32_t(bytes[pos + 2]) << 16 | uint32_t(bytes[pos + 3]) << 24;
        const std::size_t n = std::size_t(bytes[pos + 4]) | std::size_t(bytes[pos + 5]) << 8;
        if (pos + 6 + n > size) {
            env.emit(kFontError, kLoadModule, "Error out of length!");
            return false;
        }
        glyphs_[bytes[pos]].assign(bytes + pos + 6, bytes + pos + 6 + n);
        env.emit(kFontVerbose, "", "stitch " + std::to_string(int32_t(key)));
        pos += 6 + n;
    } while (pos + 6 < size);
    return true;
}

std::unique_ptr<PES> StitchPack::createPES(int code, const FontEnv& env) const {
    if (glyphs_.empty()) {
        env.emit(kFontError, kCreateModule, "Pack have not load yet!");
        return nullptr;
    }
    auto it = glyphs_.find(code);
    if (it == glyphs_.end()) {
        std::string text = "Pack not contain a character ";
        if (code != 0)
            text += char(code & 0xFF);
        env.emit(kFontError, kCreateModule, text);
        return nullptr;
    }
    const std::vector<uint8_t>& glyph = it->second;
    if (glyph.size() < 8) {
        env.emit(kFontError, kCreateModule,
                 "glyph " + std::to_string(code) + " is shorter than its 8-byte trailer");
        return nullptr;
    }

    const GlyphTemplates::Buffers& t = env.glyphTemplates().get(env);
    std::vector<uint8_t> header = t.header;
    std::vector<uint8_t> pecHeader = t.pecHeader;

    const std::size_t n = glyph.size();
    const uint8_t* tr = glyph.data() + n - 8;
    const int minX = trailerValue(tr[0], tr[1]);
    const int minY = trailerValue(tr[2], tr[3]);
    const int maxX = trailerValue(tr[4], tr[5]);
    const int maxY = trailerValue(tr[6], tr[7]);
    const int width = maxX - minX;
    const int height = maxY - minY;
    const std::size_t stitchLength = n - 8;

    put24(pecHeader, 514, uint32_t(stitchLength + 19));
    put16(pecHeader, 520, width);
    put16(pecHeader, 522, height);
    putOrigin(pecHeader, 528, -minX);
    putOrigin(pecHeader, 530, -minY);

    const int box[4] = {minX, minY, maxX, maxY};
    for (int i = 0; i < 4; ++i) {
        put16(header, 31 + 2 * i, box[i]);
        put16(header, 39 + 2 * i, box[i]);
    }
    put16(header, 73, minX);
    put16(header, 75, maxY);
    put16(header, 77, width);
    put16(header, 79, height);

    std::vector<uint8_t> bytes;
    bytes.reserve(header.size() + pecHeader.size() + stitchLength + t.graphics.size());
    bytes.insert(bytes.end(), header.begin(), header.end());
    bytes.insert(bytes.end(), pecHeader.begin(), pecHeader.end());
    bytes.insert(bytes.end(), glyph.begin(), glyph.begin() + stitchLength);
    bytes.insert(bytes.end(), t.graphics.begin(), t.graphics.end());

    auto reader = std::make_unique<PES>();
    FormatLog log;
    reader->loadBuffer(code, std::move(bytes), &log);
    env.forward(log);
    reader->setBounds(PESBounds{float(minX), float(minY), float(maxX), float(maxY)});
    reader->setLineListPending(true);
    return reader;
}
