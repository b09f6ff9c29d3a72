// One stitch font pack in memory: the glyph records of one font at one letter height, read from
// its "stitch.pack", with the metrics of the "config.plist" beside it.
//
// stitch.pack is a plain sequence of records, little-endian: a 4-byte key whose first byte is
// the character code, a uint16 length n and n bytes of glyph data. The glyph data is a PEC
// stitch stream from the glyph's origin (the pen position) ending with 0xFF 0x00, followed by
// an 8-byte trailer minX, minY, maxX, maxY (0.1 mm; lo, hi each, see trailerValue). The
// stream's total movement is the glyph's advance.
//
// Glyph readers are plain PES readers (formats/PES.h) owned by the caller. The pack's metrics
// are kept here rather than in each reader: every glyph of a pack carries the same ones.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "formats/PES.h"
#include "stitchfont/FontEnv.h"
#include "stitchfont/FontMetrics.h"

class StitchPack {
public:
    // Reads the pack file (a path relative to the data folder, or absolute) through env.files
    // and loads its records with loadRecords; on success records the paths and loads the
    // metrics from the pack folder. A path equal to packFilePath() is not loaded again.
    void loadPack(const std::string& path, const FontEnv& env);

    // The record walk over the bytes of a stitch.pack. Returns false when a record runs past
    // the end ("Error out of length!"): the records before it stay, nothing else happens.
    bool loadRecords(const uint8_t* bytes, std::size_t size, const FontEnv& env);

    // One glyph as a PES reader: the templates with the glyph's size fields, its stitches and
    // its bounds; fontId is the code. Null (with an error line) when the pack is empty, lacks
    // the code, or the glyph data is shorter than its 8-byte trailer.
    std::unique_ptr<PES> createPES(int code, const FontEnv& env) const;

    // Composes a UTF-8 line into one stitch path (see TextComposer.cpp). extraLetterSpace and
    // extraSpace (0.1 mm) are added to the letter spacing and to the space advance. Null when
    // nothing could be composed.
    std::unique_ptr<PES> createPES(const std::string& text, int extraLetterSpace, int extraSpace,
                                   const FontEnv& env) const;

    // 0 means "not loaded".
    std::size_t glyphCount() const { return glyphs_.size(); }
    bool hasGlyph(int code) const { return glyphs_.count(code) != 0; }
    const std::map<int, std::vector<uint8_t>>& glyphs() const { return glyphs_; }
    const std::string& packFilePath() const { return packFilePath_; }
    const std::string& packFolderPath() const { return packFolderPath_; }
    const FontMetrics& metrics() const { return metrics_; }

    // A trailer value from its two bytes: with bit 7 of hi set, ((hi & 0x0F) << 8) | lo as a
    // 12-bit two's complement number; otherwise lo & 0x7F.
    static int trailerValue(uint8_t lo, uint8_t hi);

private:
    std::map<int, std::vector<uint8_t>> glyphs_;
    std::string packFilePath_;    // "" until a load completed
    std::string packFolderPath_;  // absolute, with a trailing separator; "" until loaded
    FontMetrics metrics_;
};
