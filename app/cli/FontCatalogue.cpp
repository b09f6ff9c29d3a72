#include "app/cli/FontCatalogue.h"

#include "app/cli/CommandTable.h"
#include "stitchfont/FontSizes.h"

namespace cli {

namespace {

// In font order; the faces are those of tools/font-packs/build-packs.sh (see
// data/MIVO_FONTS/README.md). The Latin names of the TLWG fonts are the faces' own names, of
// which the Thai display names are the spelling; the last three are translations.
const FontFacts kFacts[stitchfont::kFontCount] = {
    {"Garuda", "Garuda Bold", "Garuda Bold"},
    {"Kinnari", "Kinnari Bold", "Kinnari Bold"},
    {"Loma", "Loma Bold", "Loma Bold"},
    {"Purisa", "Purisa Bold", "Purisa Bold"},
    {"Sawasdee", "Sawasdee Bold", "Sawasdee Bold"},
    {"Norasi", "Norasi Bold", "Norasi Bold"},
    {"Waree", "Waree Bold", "Waree Bold"},
    {"Laksaman", "Laksaman Bold", "Laksaman Bold"},
    {"Typist", "Tlwg Typist Bold", "Tlwg Typist Bold"},
    {"Mono", "Tlwg Mono Bold", "Tlwg Mono Bold"},
    {"Umpush", "Umpush Bold", "Umpush Bold"},
    {"Typo", "Tlwg Typo Bold", "Tlwg Typo Bold"},
    {"Looped", "Noto Looped Thai Bold", "Noto Sans Bold"},
    {"Formal", "Noto Serif Thai Bold", "Noto Serif Bold"},
    {"Modern", "Noto Sans Thai Bold", "Noto Sans Bold"},
};

}  // namespace

const FontFacts& fontFacts(int font) {
    return kFacts[font >= 0 && font < stitchfont::kFontCount ? font : 0];
}

std::string sizeListText(int font) {
    const std::vector<int> sizes = stitchfont::fontSizes(font);
    std::string text;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (i > 0)
            text += i + 1 == sizes.size() ? " and " : ", ";
        text += std::to_string(sizes[i]);
    }
    return text + " mm";
}

int sizeStepFor(int font, const std::string& value, std::string& why) {
    const std::vector<int> sizes = stitchfont::fontSizes(font);
    const std::string fontName =
        "font " + std::to_string(font) + " (" + kFacts[font].latinName + ")";
    int n = 0;
    if (value.size() > 2 && value.compare(value.size() - 2, 2, "mm") == 0 &&
        parseWhole(value.substr(0, value.size() - 2), n)) {
        for (std::size_t step = 0; step < sizes.size(); ++step) {
            if (sizes[step] == n)
                return int(step);
        }
        why = fontName + " has no " + std::to_string(n) + " mm size; its sizes are " +
              sizeListText(font);
        return -1;
    }
    if (parseWhole(value, n)) {
        if (n >= 0 && std::size_t(n) < sizes.size())
            return n;
        why = fontName + " has size steps 0 to " + std::to_string(sizes.size() - 1) + " (" +
              sizeListText(font) + "), or give a height as " + std::to_string(sizes[0]) + "mm";
        return -1;
    }
    why = "must be a size step (0 to " + std::to_string(sizes.size() - 1) +
          ") or a height in millimetres, as " + std::to_string(sizes.back()) + "mm";
    return -1;
}

int fontOption(const Invocation& in, const std::string& option) {
    const std::string range =
        "fonts are 0 to " + std::to_string(stitchfont::kFontCount - 1) + ", see mes-cli fonts";
    return in.integer(option, 0, stitchfont::kFontCount - 1, 0, range.c_str());
}

int sizeStepOption(const Invocation& in, int font, const std::string& option) {
    std::string why;
    const int step = sizeStepFor(font, in.text(option), why);
    if (step < 0)
        throw in.badValue(option, why);
    return step;
}

}  // namespace cli
