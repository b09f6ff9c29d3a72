// mes-cli fonts [--json]
//
// Lists the fifteen stitch fonts: index (the --font value), the display name the editor shows
// (data/MIVO_FONTS/names.txt beside the executable), a Latin name, the typefaces the packs were
// made from, and the sizes in millimetres in size-step order (the --size value is a step or one
// of these heights, as 10mm). --json prints the same as one JSON object.

#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "app/cli/CliProject.h"
#include "app/cli/FontCatalogue.h"
#include "stitchfont/FontSizes.h"

namespace {

// Columns a terminal gives the UTF-8 text: Thai vowel and tone marks above and below a letter
// take none.
std::size_t columns(const std::string& text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b & 0xC0) == 0x80)
            continue;  // continuation byte
        // Thai marks are U+0E31, U+0E34..U+0E3A and U+0E47..U+0E4E: E0 B8 B1, E0 B8 B4..BA,
        // E0 B9 87..8E.
        if (b == 0xE0 && i + 2 < text.size()) {
            const auto b1 = static_cast<unsigned char>(text[i + 1]);
            const auto b2 = static_cast<unsigned char>(text[i + 2]);
            if ((b1 == 0xB8 && (b2 == 0xB1 || (b2 >= 0xB4 && b2 <= 0xBA))) ||
                (b1 == 0xB9 && b2 >= 0x87 && b2 <= 0x8E))
                continue;
        }
        ++n;
    }
    return n;
}

std::string padded(const std::string& text, std::size_t width) {
    const std::size_t used = columns(text);
    return text + std::string(used < width ? width - used : 1, ' ');
}

}  // namespace

namespace cli {

int fonts(const Invocation& in) {
    const std::string namesPath = cliFontEnv().files.resolve("MIVO_FONTS/names.txt");
    std::vector<uint8_t> bytes;
    if (!readInput("fonts", namesPath, bytes))
        return kStatusFailed;
    const std::vector<std::string> names = stitchfont::displayNames(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
        stitchfont::kFontCount);

    std::string out;
    if (in.has("--json")) {
        out = "{\"fonts\":[";
        for (int f = 0; f < stitchfont::kFontCount; ++f) {
            const FontFacts& facts = fontFacts(f);
            std::string sizes;
            for (int mm : stitchfont::fontSizes(f))
                sizes += (sizes.empty() ? "" : ",") + std::to_string(mm);
            out += std::string(f ? "," : "") + "{\"index\":" + std::to_string(f) +
                   ",\"displayName\":" + jsonString(names[f]) +
                   ",\"latinName\":" + jsonString(facts.latinName) +
                   ",\"typeface\":" + jsonString(facts.typeface) +
                   ",\"latinTypeface\":" + jsonString(facts.latinTypeface) + ",\"sizesMm\":[" +
                   sizes + "]}";
        }
        out += "]}\n";
    } else {
        out = "font  " + padded("display name", 14) + padded("latin name", 12) +
              padded("sizes in mm", 28) + "typeface\n";
        for (int f = 0; f < stitchfont::kFontCount; ++f) {
            const FontFacts& facts = fontFacts(f);
            std::string sizes;
            for (int mm : stitchfont::fontSizes(f))
                sizes += (sizes.empty() ? "" : " ") + std::to_string(mm);
            std::string face = facts.typeface;
            if (std::string(facts.latinTypeface) != facts.typeface)
                face += std::string(" (Latin: ") + facts.latinTypeface + ")";
            char index[8];
            std::snprintf(index, sizeof index, "%4d  ", f);
            out += index + padded(names[f], 14) + padded(facts.latinName, 12) + padded(sizes, 28) +
                   face + "\n";
        }
        out +=
            "\n--font takes the font number; --size takes a size step (0 for the first size) "
            "or a height, as --size 10mm.\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kStatusDone;
}

}  // namespace cli
