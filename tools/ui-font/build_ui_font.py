#!/usr/bin/python3
"""Builds the editor's user-interface text font from Debian's Noto fonts.

The result is one TrueType file with three parts:

* Noto Sans (Latin, Greek, Cyrillic, punctuation and symbols), whole;
* Noto Looped Thai: the Thai block with its OpenType layout (mark positioning of the Thai vowels
  and tone marks, the ccmp decompositions), for every code point Noto Sans lacks;
* Noto Sans CJK JP, cut down to the Japanese the interface needs: CJK punctuation, kana, the
  full-width forms and the common kanji (the Joyo kanji and the first level of JIS X 0208 as
  tagged in the Unicode Han database), plus every character of the translation files.

fontTools.merge wants one units-per-em and TrueType outlines everywhere, so the CFF outlines of
the CJK face are converted to quadratic curves. Hinting programs cannot be merged (their
function numbers collide), so all three parts are dehinted and FreeType's auto-hinter takes over.

The output is reproducible: the time stamps come from the source fonts and nothing depends on
the order of a set or a dictionary.
"""

import argparse
import bz2
import os
import re
import sys
import tempfile

from fontTools import subset
from fontTools.merge import Merger
from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTCollection, TTFont, newTable

LATIN = "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf"
THAI = "/usr/share/fonts/truetype/noto/NotoLoopedThai-Regular.ttf"
CJK = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
CJK_FACE = "Noto Sans CJK JP"
UNIHAN = "/usr/share/unicode/Unihan_OtherMappings.txt.bz2"
CJK_LICENCE_SOURCE = "/usr/share/doc/fonts-noto-cjk/copyright"

FAMILY = "Noto Sans Latin Thai JP"
PS_NAME = "NotoSansLatinThaiJP-Regular"
VERSION = "1.000"

# Vertical metrics of the merged font (font units, 1000 per em). The Thai tone marks stacked on
# upper vowels over tall consonants (ปิ่น) reach about 1180; the lower vowels under consonants with
# a descender (ฎุ, ฏุ) reach about -520. The line box holds both so that nothing is clipped.
ASCENT = 1250
DESCENT = -550

# Japanese beyond the kanji: CJK symbols and punctuation, hiragana, katakana, katakana phonetic
# extensions, full-width and half-width forms.
JAPANESE_RANGES = [
    (0x3000, 0x303F),
    (0x3040, 0x309F),
    (0x30A0, 0x30FF),
    (0x31F0, 0x31FF),
    (0xFF00, 0xFFEF),
]


def log(*args):
    print("build_ui_font:", *args, file=sys.stderr)


def common_kanji():
    """The Joyo kanji (with the four official alternative forms the database names) and the
    kanji of JIS X 0208 level 1 (rows 16 to 47), from the Unicode Han database."""
    kanji = set()
    with bz2.open(UNIHAN, "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            parts = line.rstrip("\n").split("\t")
            if len(parts) < 3:
                continue
            code = int(parts[0][2:], 16)
            if parts[1] == "kJoyoKanji":
                kanji.add(code)
                for value in parts[2].split():
                    if value.startswith("U+"):
                        kanji.add(int(value[2:], 16))
            elif parts[1] == "kJis0":
                row = int(parts[2]) // 100
                if 16 <= row <= 47:
                    kanji.add(code)
    return kanji


def strings_characters(paths):
    """Every character of the given text files except the control characters."""
    chars = set()
    for path in paths:
        with open(path, encoding="utf-8", errors="replace") as f:
            chars.update(ord(c) for c in f.read() if ord(c) >= 0x20 and c != "\x7f")
    return chars


def subset_font(font, unicodes, keep_layout):
    options = subset.Options()
    options.layout_features = ["*"] if keep_layout else []
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.glyph_names = True
    options.hinting = False
    options.legacy_kern = False
    options.drop_tables += ["DSIG", "BASE", "VORG", "vhea", "vmtx", "gasp", "fpgm", "prep", "cvt "]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(unicodes))
    subsetter.subset(font)
    if not keep_layout:
        for tag in ("GSUB", "GPOS", "GDEF"):
            if tag in font:
                del font[tag]
    return font


def cff_to_glyf(font):
    """Replaces the CFF outlines by TrueType quadratic outlines (at most one font unit off)."""
    order = font.getGlyphOrder()
    glyph_set = font.getGlyphSet()
    glyf = newTable("glyf")
    glyf.glyphOrder = order
    glyf.glyphs = {}
    for name in order:
        pen = TTGlyphPen(glyph_set)
        # CFF contours run counter-clockwise, TrueType ones clockwise.
        glyph_set[name].draw(Cu2QuPen(pen, max_err=1.0, reverse_direction=True))
        glyf.glyphs[name] = pen.glyph()
    font["glyf"] = glyf
    font["loca"] = newTable("loca")
    del font["CFF "]
    font.sfntVersion = "\x00\x01\x00\x00"
    font["head"].glyphDataFormat = 0
    maxp = font["maxp"]
    maxp.tableVersion = 0x00010000
    for field in ("maxZones",):
        setattr(maxp, field, 1)
    for field in (
        "maxTwilightPoints", "maxStorage", "maxFunctionDefs", "maxInstructionDefs",
        "maxStackElements", "maxSizeOfInstructions", "maxComponentElements",
        "maxComponentDepth", "maxPoints", "maxContours", "maxCompositePoints",
        "maxCompositeContours",
    ):
        setattr(maxp, field, 0)
    post = font["post"]
    post.formatType = 2.0
    post.extraNames = []
    post.mapping = {}
    fix_side_bearings(font)


def fix_side_bearings(font):
    """TrueType wants each glyph's left side bearing in hmtx to equal its xMin."""
    glyf = font["glyf"]
    hmtx = font["hmtx"]
    for name in font.getGlyphOrder():
        glyph = glyf[name]
        glyph.recalcBounds(glyf)
        width, _ = hmtx[name]
        hmtx[name] = (width, glyph.xMin if glyph.numberOfContours != 0 else 0)


# Thai tone marks and the thanthakhat in the small form that stacks above an upper vowel.
STACKED_TONE_MARKS = ["uni0E%02X.small" % c for c in range(0x48, 0x4D)]


def fix_stacked_tone_marks(font):
    """Noto Looped Thai (1.00 as Debian ships it) draws the small tone marks at the height where
    they clear an upper vowel, but gives them the top anchor of the vowel itself (836) rather
    than the consonant's top anchor height (553), and has no mark-to-mark lookup to lift them.
    Shaped with GPOS, a tone mark after an upper vowel therefore drops onto the vowel (ปี่, ที่
    show the mai ek inside the sara ii). Giving the small forms the anchor height of their plain
    forms places them above the vowel, at the height they were drawn for, as the font's
    ligated forms (maiHanaKat_maiTrithai) already are."""
    changed = 0
    for lookup in font["GPOS"].table.LookupList.Lookup:
        if lookup.LookupType != 4:
            continue
        for sub in lookup.SubTable:
            marks = dict(zip(sub.MarkCoverage.glyphs, sub.MarkArray.MarkRecord))
            for name in STACKED_TONE_MARKS:
                plain = marks.get(name.split(".")[0])
                small = marks.get(name)
                if plain is None or small is None or plain.Class != small.Class:
                    continue
                if small.MarkAnchor.YCoordinate != plain.MarkAnchor.YCoordinate:
                    small.MarkAnchor.YCoordinate = plain.MarkAnchor.YCoordinate
                    changed += 1
    log("lifted %d stacked Thai tone marks" % changed)


def dehint(font):
    for name in font.getGlyphOrder():
        glyph = font["glyf"][name]
        glyph.expand(font["glyf"])
        glyph.removeHinting()
    for tag in ("fpgm", "prep", "cvt ", "gasp", "hdmx", "LTSH", "VDMX"):
        if tag in font:
            del font[tag]


def set_names(font, copyrights, versions):
    name = font["name"]
    name.names = []
    licence = (
        "This Font Software is licensed under the SIL Open Font License, Version 1.1. "
        "It is a Modified Version of Noto Sans, Noto Looped Thai and Noto Sans CJK JP."
    )
    entries = {
        0: " ".join(copyrights),
        1: FAMILY,
        2: "Regular",
        3: "%s;%s" % (PS_NAME, VERSION),
        4: FAMILY,
        5: "Version %s; merged from %s" % (VERSION, ", ".join(versions)),
        6: PS_NAME,
        13: licence,
        14: "https://openfontlicense.org",
    }
    for name_id in sorted(entries):
        name.setName(entries[name_id], name_id, 3, 1, 0x409)


def set_metrics(font, stamp):
    head = font["head"]
    head.created = stamp
    head.modified = stamp
    head.fontRevision = float(VERSION)
    hhea = font["hhea"]
    hhea.ascent = ASCENT
    hhea.descent = DESCENT
    hhea.lineGap = 0
    os2 = font["OS/2"]
    os2.sTypoAscender = ASCENT
    os2.sTypoDescender = DESCENT
    os2.sTypoLineGap = 0
    os2.usWinAscent = ASCENT
    os2.usWinDescent = -DESCENT
    # Regular weight, and the typo metrics above are the ones to use.
    os2.fsSelection = (os2.fsSelection & ~0b1100001) | 0x40 | 0x80
    os2.achVendID = "NONE"
    os2.recalcUnicodeRanges(font)
    os2.recalcCodePageRanges(font) if hasattr(os2, "recalcCodePageRanges") else None
    font["post"].formatType = 3.0
    font["post"].extraNames = []
    font["post"].mapping = {}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", required=True, help="the merged font to write")
    parser.add_argument("--licence", required=True, help="the licence text file to write")
    parser.add_argument("--strings", nargs="*", default=[],
                        help="translation files whose characters the font must cover")
    args = parser.parse_args()

    latin = TTFont(LATIN)
    thai = TTFont(THAI)
    cjk = next(f for f in TTCollection(CJK).fonts if f["name"].getDebugName(4) == CJK_FACE)
    sources = [latin, thai, cjk]
    copyrights = [f["name"].getDebugName(0) for f in sources]
    versions = [
        "%s %s" % (f["name"].getDebugName(1), f["name"].getDebugName(5).split(";")[0])
        for f in sources
    ]
    stamp = max(f["head"].modified for f in sources)

    wanted_text = strings_characters(args.strings)

    latin_cmap = set(latin.getBestCmap())
    subset_font(latin, latin_cmap, keep_layout=True)
    dehint(latin)

    thai_cmap = set(thai.getBestCmap())
    thai_codes = {c for c in thai_cmap if c not in latin_cmap}
    fix_stacked_tone_marks(thai)
    subset_font(thai, thai_codes, keep_layout=True)
    dehint(thai)

    cjk_cmap = set(cjk.getBestCmap())
    japanese = set(common_kanji())
    for first, last in JAPANESE_RANGES:
        japanese.update(range(first, last + 1))
    japanese |= wanted_text
    cjk_codes = {c for c in japanese if c in cjk_cmap and c not in latin_cmap and c not in thai_cmap}
    subset_font(cjk, cjk_codes, keep_layout=False)
    cff_to_glyf(cjk)

    missing = sorted(c for c in wanted_text if c not in latin_cmap | thai_cmap | cjk_cmap)
    if missing:
        log("no source font has:", " ".join("U+%04X" % c for c in missing))

    with tempfile.TemporaryDirectory() as tmp:
        parts = []
        for label, font in (("latin", latin), ("thai", thai), ("cjk", cjk)):
            path = os.path.join(tmp, label + ".ttf")
            font["head"].created = stamp
            font["head"].modified = stamp
            font.recalcTimestamp = False
            font.save(path)
            parts.append(path)
        merged = Merger().merge(parts)

    set_names(merged, copyrights, versions)
    set_metrics(merged, stamp)
    merged.recalcTimestamp = False
    merged.save(args.out)
    # Load it again: the saved file must read back and carry the stamp.
    check = TTFont(args.out)
    cmap = check.getBestCmap()
    log("%s: %d glyphs, %d code points (%d Thai, %d kana, %d kanji), %d bytes" % (
        args.out, len(check.getGlyphOrder()), len(cmap),
        sum(1 for c in cmap if 0x0E00 <= c <= 0x0E7F),
        sum(1 for c in cmap if 0x3040 <= c <= 0x30FF),
        sum(1 for c in cmap if 0x4E00 <= c <= 0x9FFF),
        os.path.getsize(args.out)))

    write_licence(args.licence, copyrights)


def write_licence(path, copyrights):
    """The copyright lines of the three sources followed by the full OFL 1.1 text, as Debian
    ships it with the CJK fonts."""
    lines = []
    inside = False
    with open(CJK_LICENCE_SOURCE, encoding="utf-8") as f:
        for line in f:
            if re.match(r"^License: SIL-1\.1\s*$", line):
                inside = True
                continue
            if inside:
                if not line.startswith(" "):
                    if lines:
                        break
                    # A files paragraph names the licence without its text: look further.
                    inside = False
                    continue
                text = line[1:].rstrip("\n")
                lines.append("" if text == "." else text)
    while lines and lines[-1] == "":
        lines.pop()
    if not lines:
        sys.exit("build_ui_font: no licence text found in " + CJK_LICENCE_SOURCE)
    header = [
        FAMILY + " (" + PS_NAME + ") is a Modified Version of the fonts",
        "Noto Sans, Noto Looped Thai and Noto Sans CJK JP, made by tools/ui-font/build-ui-font.sh.",
        "",
    ] + copyrights + [""]
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(header + lines) + "\n")


if __name__ == "__main__":
    main()
