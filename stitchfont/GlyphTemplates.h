// The three templates every glyph reader is built from: the PES section ("Header.dat"), the
// 532-byte PEC header ("PECHeader.dat") and the PEC graphics ("Graphics.dat"). A glyph file is
// Header + PECHeader + glyph stitches + Graphics, with the size fields patched per glyph.
//
// The shipped files are made by tools/glyph-templates from our own PES writer (see make());
// the editor reads them once from the data folder and keeps them for the rest of the run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stitchfont/FontEnv.h"

class GlyphTemplates {
public:
    static constexpr const char* kHeaderFile = "Header.dat";
    static constexpr const char* kPecHeaderFile = "PECHeader.dat";
    static constexpr const char* kGraphicsFile = "Graphics.dat";

    struct Buffers {
        std::vector<uint8_t> header;     // PES section; its PEC offset field equals its length
        std::vector<uint8_t> pecHeader;  // 532 bytes: colour list, size and length fields
        std::vector<uint8_t> graphics;   // what a reader finds behind the stitch data
    };

    // The process-wide template cache of the editor: filled on the first glyph build and kept
    // until the program ends. It lives in this function's static (created on first use,
    // destroyed after main returns; it owns nothing but bytes).
    static GlyphTemplates& shared();

    // The buffers, reading the three files through env.files on the first call. A missing file
    // stays empty for the rest of the run; glyph readers built from it fail their header check.
    const Buffers& get(const FontEnv& env);

    // Installs buffers directly (tests, and the generator's own check).
    void set(Buffers buffers);
    bool loaded() const { return loaded_; }

    // Builds the three templates from a one-stitch version 1 design written by our PES writer
    // and cut into its sections, in the reader's view (its graphics start one byte later than
    // the writer's). The colour list holds one thread (palette index 20, black).
    static Buffers make();

private:
    Buffers buffers_;
    bool loaded_ = false;
};
