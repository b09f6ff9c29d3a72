#include "app/cli/CliLettering.h"

#include <cstdio>

#include <utf8.h>

#include "app/cli/CliProject.h"
#include "design/TextLayer.h"
#include "stitchfont/FontSizes.h"
#include "stitchfont/SmartFontPack.h"
#include "stitchfont/TextComposer.h"

namespace cli {

Lettering::Lettering(int font, int sizeStep, bool verbose)
    : env_(cliFontEnv()), font_(font), sizeStep_(sizeStep) {
    env_.log = [this, verbose](int level, const std::string& module, const std::string& line) {
        const std::string full = module.empty() ? line : module + ": " + line;
        if (verbose)
            std::fprintf(level >= kFontError ? stderr : stdout, "%s\n", full.c_str());
        if (level >= kFontError)
            errors_.push_back(full);
    };
}

std::string Lettering::missingPack() const {
    // Loaded here, once: the composer and missingCharacters take it from the cache. A file that
    // holds no glyphs is as good as missing, and stops the command before any text is composed.
    const std::shared_ptr<SmartFontPack> pack =
        env_.packCache().add(stitchfont::packPath(font_, sizeStep_), env_);
    if (pack && pack->glyphCount() > 0)
        return "";
    return "the stitch font pack of font " + std::to_string(font_) + " size step " +
           std::to_string(sizeStep_) + " is missing or unreadable (" +
           env_.files.resolve(stitchfont::packPath(font_, sizeStep_)) + ")";
}

std::string Lettering::missingCharacters(const std::string& text) const {
    const std::string path = stitchfont::packPath(font_, sizeStep_);
    std::shared_ptr<SmartFontPack> pack = env_.packCache().add(path, env_);
    errors_.clear();
    if (!pack || pack->glyphCount() == 0)
        return "";  // missingPack and compose report the pack
    const StitchPack& glyphs = pack->pack();
    const auto has = [&](int code) { return glyphs.hasGlyph(code); };
    std::string missing;
    for (auto it = text.begin(); it != text.end();) {
        const auto start = it;
        uint32_t cp = 0;
        if (utf8::internal::validate_next(it, text.end(), cp) != utf8::internal::UTF8_OK) {
            it = start + 1;
            cp = 0xFFFD;
        }
        if (cp == ' ')
            continue;
        const std::string ch(start, it);
        bool ok = cp != 0xFFFD;
        for (int code : stitchfont::textToCodes(ch, has))
            ok = ok && has(code);
        if (ok || missing.find("\"" + ch + "\"") != std::string::npos)
            continue;
        char unicode[16];
        std::snprintf(unicode, sizeof unicode, "U+%04X", unsigned(cp));
        missing += (missing.empty() ? "\"" : ", \"") + ch + "\" (" + unicode + ")";
    }
    return missing;
}

bool Lettering::tooLong(const std::string& text) {
    bool truncated = false;
    stitchfont::textToCodes(
        text, [](int) { return false; }, &truncated);
    return truncated;
}

bool Lettering::compose(const std::string& text, int letterSpace, int wordSpace, int color,
                        PESData& layer, std::string& error) const {
    errors_.clear();
    layer = PESData();
    layer.properties.colorIndex = color;
    layer.properties.extraLetterSpace = letterSpace;
    layer.properties.extraSpace = wordSpace;
    if (createTextLayer(layer, text, font_, sizeStep_, letterSpace, wordSpace, env_) &&
        !layer.blocks.empty()) {
        return true;
    }
    error.clear();
    for (const std::string& e : errors_)
        error += (error.empty() ? "" : "; ") + e;
    return false;
}

}  // namespace cli
