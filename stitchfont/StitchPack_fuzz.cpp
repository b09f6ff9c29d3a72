// Feeds arbitrary bytes to the pack loader as a stitch.pack, then builds every glyph reader and
// composes a few lines of Latin and Thai text from the pack. Nothing may read outside its
// buffers, whatever the records say.
//
// Input layout: byte 0 picks the text (bits 0-2) and cuts the templates short (bit 3) or drops
// the config (bit 4); bytes 1 and 2 are the extra letter and word spaces (signed); the rest is
// the pack.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "stitchfont/FontEnv.h"
#include "stitchfont/GlyphTemplates.h"
#include "stitchfont/StitchPack.h"

namespace {

const char* const kTexts[8] = {
    "A", "กำ ก่ำ", "ปิ่ ปุ่ ฎุ ญุ ฐุ", "Hello World", "ฬิ่ ฮุ่ ชั้ ฤุ", "  a  b  ", "é\xF0\x9F\x98\x80ก", "",
};

const GlyphTemplates::Buffers& fullTemplates() {
    static const GlyphTemplates::Buffers t = GlyphTemplates::make();
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const uint8_t flags = data[0];
    const int letter = int8_t(data[1]);
    const int space = int8_t(data[2]);
    std::vector<uint8_t> packBytes(data + 3, data + size);

    GlyphTemplates templates;
    GlyphTemplates::Buffers t = fullTemplates();
    if (flags & 0x08) {
        // Templates cut short: the reader must cope with sections that do not fit.
        t.header.resize(t.header.size() / 2);
        t.pecHeader.resize(100);
    }
    templates.set(t);

    FontEnv env;
    env.templates = &templates;
    env.files.read = [&](const std::string& path, std::vector<uint8_t>& out) {
        if (path == "p/stitch.pack") {
            out = packBytes;
            return true;
        }
        if (path == "p/config.plist" && !(flags & 0x10)) {
            const std::string plist =
                "<key>InterCharacter</key>\n<integer>-3000</integer>\n"
                "<key>SpaceGap</key>\n<integer>2500</integer>\n"
                "<key>FishTail</key>\n<integer>99999999999</integer>\n"
                "<key>MarkX_BB_D4</key>\n<integer>2147483647</integer>\n"
                "<key>StackX_BB_D4</key>\n<integer>2147483647</integer>\n"
                "<key>MarkY_D4_E8</key>\n<integer>-2147483648</integer>\n"
                "<key>MarkY_BB_E8</key>\n<integer>-2147483648</integer>\n"
                "<key>MarkY_D8_E8</key>\n<integer>-2147483648</integer>\n";
            out.assign(plist.begin(), plist.end());
            return true;
        }
        return false;
    };

    StitchPack pack;
    pack.loadPack("p/stitch.pack", env);
    for (const auto& glyph : pack.glyphs()) {
        std::unique_ptr<PES> r = pack.createPES(glyph.first, env);
        if (r && r->hasSections())
            r->createLineList();
    }
    std::unique_ptr<PES> line = pack.createPES(kTexts[flags & 7], letter, space, env);
    if (line)
        line->createLineList();
    return 0;
}
