// The mark shifts of a pack (FontMetrics::markShifts): for every letter and mark, and for
// every vowel and tone mark on it, how far the font sets the mark away from where the
// composer's placement rules put the pack's mark glyph (drawn as after KO KAI). Fonts that
// attach marks with GPOS anchors set them differently on almost every letter; the rules alone
// know only the tails of ป ส ฮ and ฬ and one lift for a tone on a vowel.
#pragma once

#include <map>
#include <string>

#include "OutlineFont.h"
#include "stitchfont/FontMetrics.h"

// Keys "MarkX_<a>_<b>" / "MarkY_<a>_<b>" with their non-zero values, 0.1 mm, y down. s converts
// font units to 0.1 mm; rules holds the pack's other metrics, which the rules use.
std::map<std::string, int> measureMarkShifts(const OutlineFont& font, double s,
                                             const FontMetrics& rules);
