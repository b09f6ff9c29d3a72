// Builders of small stitch font packs in memory, for the tests, the fuzz seeds and the
// benchmark. Nothing here is used by the editor itself.
//
// Every fixture glyph is four records: a zero anchor move (long form, so that joins and moves
// fold into it), a tick up by (0, -tick), a tick down by (0, +tick) and the advance (advance,
// 0), then the end marker and the trailer. The tick height identifies the glyph in a composed
// path; the position before its tick is the glyph's origin.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "stitchfont/FontEnv.h"
#include "stitchfont/GlyphTemplates.h"
#include "stitchfont/SmartFontPack.h"

namespace testpack {

inline void putLong(std::vector<uint8_t>& out, int v) {
    out.push_back(uint8_t(0x80 | ((v >> 8) & 0x0F)));
    out.push_back(uint8_t(v & 0xFF));
}

inline void putTrailerValue(std::vector<uint8_t>& out, int v) {
    out.push_back(uint8_t(v & 0xFF));
    out.push_back(uint8_t(0x80 | ((v >> 8) & 0x0F)));
}

// Glyph data (stitch stream, end marker, trailer) of a fixture glyph.
inline std::vector<uint8_t> glyph(int tick, int advance) {
    std::vector<uint8_t> g;
    putLong(g, 0);
    putLong(g, 0);
    putLong(g, 0);
    putLong(g, -tick);
    putLong(g, 0);
    putLong(g, tick);
    putLong(g, advance);
    putLong(g, 0);
    g.push_back(0xFF);
    g.push_back(0x00);
    putTrailerValue(g, advance < 0 ? advance : 0);
    putTrailerValue(g, -tick);
    putTrailerValue(g, advance > 0 ? advance : 0);
    putTrailerValue(g, 0);
    return g;
}

// One stitch.pack record: the 4-byte key (code in the first byte), the length, the data.
inline void appendRecord(std::vector<uint8_t>& pack, uint32_t key,
                         const std::vector<uint8_t>& data) {
    for (int i = 0; i < 4; ++i)
        pack.push_back(uint8_t(key >> (8 * i)));
    pack.push_back(uint8_t(data.size() & 0xFF));
    pack.push_back(uint8_t((data.size() >> 8) & 0xFF));
    pack.insert(pack.end(), data.begin(), data.end());
}

struct Glyph {
    int code;
    int tick;
    int advance;
};

inline std::vector<uint8_t> pack(const std::vector<Glyph>& glyphs) {
    std::vector<uint8_t> out;
    for (const auto& g : glyphs)
        appendRecord(out, uint32_t(g.code), glyph(g.tick, g.advance));
    return out;
}

inline std::string plist(const std::map<std::string, int>& values) {
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
    for (const auto& kv : values)
        s += "\t<key>" + kv.first + "</key>\n\t<integer>" + std::to_string(kv.second) +
             "</integer>\n";
    s += "</dict>\n</plist>\n";
    return s;
}

// An in-memory data folder with its own caches, and a counter of file reads.
struct MemoryData {
    std::map<std::string, std::vector<uint8_t>> files;  // by path relative to the data folder
    int reads = 0;
    GlyphTemplates templates;
    PackCache cache;
    std::vector<std::string> lines;  // "level|module|text"

    MemoryData() {
        const GlyphTemplates::Buffers t = GlyphTemplates::make();
        files[GlyphTemplates::kHeaderFile] = t.header;
        files[GlyphTemplates::kPecHeaderFile] = t.pecHeader;
        files[GlyphTemplates::kGraphicsFile] = t.graphics;
    }

    void put(const std::string& path, const std::string& text) {
        files[path] = std::vector<uint8_t>(text.begin(), text.end());
    }

    FontEnv env(bool keepLines = true) {
        FontEnv e;
        e.files.dataFolder = "/data/";
        e.files.read = [this](const std::string& path, std::vector<uint8_t>& bytes) {
            ++reads;
            const std::string rel = path.compare(0, 6, "/data/") == 0 ? path.substr(6) : path;
            auto it = files.find(rel);
            if (it == files.end())
                return false;
            bytes = it->second;
            return true;
        };
        e.templates = &templates;
        e.cache = &cache;
        if (keepLines)
            e.log = [this](int level, const std::string& module, const std::string& text) {
                lines.push_back(std::to_string(level) + "|" + module + "|" + text);
            };
        return e;
    }

    bool logged(const std::string& line) const {
        for (const auto& l : lines)
            if (l == line)
                return true;
        return false;
    }
};

}  // namespace testpack
