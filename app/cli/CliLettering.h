// Text set in one stitch font and size the way the editor builds a text layer (createTextLayer,
// with the packs of the data folder beside mes-cli), for mes-cli text and mes-cli batch.
#pragma once

#include <string>
#include <vector>

#include "design/PESData.h"
#include "stitchfont/FontEnv.h"

namespace cli {

class Lettering {
public:
    // font 0..14 and a size step that font has. With verbose, the composer's log lines are
    // printed (errors on standard error, the others on standard output).
    Lettering(int font, int sizeStep, bool verbose);
    // The log sink points at this object.
    Lettering(const Lettering&) = delete;
    Lettering& operator=(const Lettering&) = delete;

    // "" when the font's pack can be read and holds glyphs, else a message naming the file. Call
    // it first: it loads the pack into the cache the other calls use.
    std::string missingPack() const;

    // The characters of the text that the font has no stitches for, as "\"X\" (U+0058)" joined
    // by ", "; "" when it has them all. Blanks need none. The composer leaves such characters
    // out, which would misspell a name.
    std::string missingCharacters(const std::string& text) const;

    // Whether the composer would cut the text (it takes at most stitchfont::kMaxCodes
    // characters).
    static bool tooLong(const std::string& text);

    // Builds the text layer with the spacing (0.1 mm) and colour (palette index - 1). Returns
    // false when nothing could be composed, with the composer's error lines in `error`.
    bool compose(const std::string& text, int letterSpace, int wordSpace, int color, PESData& layer,
                 std::string& error) const;

private:
    FontEnv env_;
    int font_;
    int sizeStep_;
    mutable std::vector<std::string> errors_;  // error lines of the current call
};

}  // namespace cli
