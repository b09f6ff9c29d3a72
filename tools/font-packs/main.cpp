// make-font-pack: a TrueType/OpenType font in, stitch font packs out.
//
//   make-font-pack --font FILE --number N --sizes 5,7,8 --out DATA [--latin FILE]
//                  [--specimen PNG] [--specimen-size S]
//   make-font-pack --font FILE --harfbuzz TEXT --size S --png OUT
//
// The second form builds nothing: it sets TEXT with HarfBuzz from the font at size number S and
// fills the outlines into OUT at one pixel per 0.1 mm, the scale of "mes-cli render", so that a
// stitched line can be laid beside the typeface's own.
//
// For each size number S it writes DATA/MIVO_FONTS/MIVOFONT_<N>/<S>/stitch.pack and config.plist
// and prints the quality report of that size; then a summary. DATA also holds the glyph
// templates (Header.dat ...) that the specimen's composed lines are built with.
//
// Size number: S means S mm from the baseline to the top of KO KAI (the Thai consonant body).
// Glyphs: printable ASCII, the tailless YO YING and THO THAN (0x9E, 0x9F) and every TIS-620 code
// 0xA1..0xFB the font has. Each glyph is digitized from the font's outline (see digitizer/) and
// stored as a PEC stitch stream from the pen origin to its advance with its bounds trailer.
// Marks have no advance and are drawn where the font draws them after KO KAI. With --latin, the
// ASCII glyphs come from that companion font (for Thai fonts without Latin letters), at the same
// em size.
//
// config.plist, all values in 0.1 mm, measured from the font's own Thai positioning (HarfBuzz):
//   InterCharacter  max(1, round(S / 4)): half the extra room between letters, against the pull
//                   of satin and the spread of thread; the font's own side bearings stay.
//   SpaceGap        advance of the space.
//   LineHeight      hhea ascender - descender.
//   UpperVovelGap   how much higher the font sets MAI EK in กิ่ than in ก่.
//   FishTail        how far left the font moves MAI EK in ป่ against ก่ (ElephantTail: ส่,
//                   OwlTail: ฮ่); KiteY how far up in ฬ่.
//   BaseGap         how far down the font moves SARA U in ฎุ against กุ.
//   MarkX_a_b ...   the mark shifts (MarkShifts.h): where the font sets mark b on letter a, or
//   StackX_a_b      tone mark b on vowel a, away from where those rules put it; only non-zero
//                   ones are written.
// MAI HAN-AKAT is stored 2 * InterCharacter further left and with an advance of
// -2 * InterCharacter, as the composer joins it with the letter gap: the vowel lands on its
// letter, and a tone mark on it and the next letter stand where they would without the gap.
#include <sys/stat.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "DiskEnv.h"
#include "MarkShifts.h"
#include "OutlineFont.h"
#include "Specimen.h"
#include "digitizer/Digitizer.h"
#include "digitizer/GlyphRecord.h"
#include "digitizer/Quality.h"
#include "formats/PES.h"
#include "stitchfont/StitchPack.h"

namespace {

const char* const kVersion = "make-font-pack 1.2";

struct Options {
    std::string font, out, specimen, latin;
    int number = 1;
    std::vector<int> sizes;
    int specimenSize = 0;
    std::vector<int> debugCodes;    // glyphs drawn large with their outline into debug.png
    std::string harfbuzzText, png;  // the second form
    int size = 0;
};

bool mkdirs(const std::string& path) {
    std::string cur;
    std::stringstream ss(path);
    std::string part;
    if (!path.empty() && path[0] == '/')
        cur = "/";
    while (std::getline(ss, part, '/')) {
        if (part.empty())
            continue;
        cur += part + "/";
        mkdir(cur.c_str(), 0755);
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    return bool(out);
}

std::vector<int> packCodes() {
    std::vector<int> codes;
    for (int c = 0x21; c <= 0x7E; ++c)
        codes.push_back(c);
    codes.push_back(0x9E);
    codes.push_back(0x9F);
    for (int c = 0xA1; c <= 0xFB; ++c)
        if (c < 0xDB || c > 0xDE)  // not assigned in TIS-620
            codes.push_back(c);
    return codes;
}

// Box of the last glyph of a shaped cluster, relative to the pen after its first glyph.
FontBox markBox(const OutlineFont& f, const std::string& text) {
    std::vector<ShapedGlyph> s = f.shape(text);
    FontBox b;
    if (s.size() < 2)
        return b;
    b = f.box(s.back().gid);
    double dx = s.back().x - s[0].advance, dy = s.back().y;
    b.minX += dx;
    b.maxX += dx;
    b.minY += dy;
    b.maxY += dy;
    return b;
}

std::map<std::string, int> measureMetrics(const OutlineFont& f, double s, int size) {
    auto t = [](int code) { return codeText(code); };
    const std::string ek = t(0xE8);
    FontBox ko = markBox(f, t(0xA1) + ek);
    auto shiftLeft = [&](int cons) {
        FontBox b = markBox(f, t(cons) + ek);
        return b.empty || ko.empty ? 0 : int(std::lround((ko.minX - b.minX) * s));
    };
    auto lift = [&](const FontBox& b) {
        return b.empty || ko.empty ? 0 : int(std::lround((b.minY - ko.minY) * s));
    };
    std::map<std::string, int> m;
    m["InterCharacter"] = std::max(1, int(std::lround(size / 4.0)));
    std::vector<ShapedGlyph> space = f.shape(" ");
    m["SpaceGap"] = space.empty() ? int(std::lround(f.unitsPerEm() * 0.25 * s))
                                  : int(std::lround(space[0].advance * s));
    m["LineHeight"] = int(std::lround((f.ascender() - f.descender()) * s));
    m["UpperVovelGap"] = lift(markBox(f, t(0xA1) + t(0xD4) + ek));
    m["FishTail"] = shiftLeft(0xBB);
    m["ElephantTail"] = shiftLeft(0xCA);
    m["OwlTail"] = shiftLeft(0xCE);
    m["KiteY"] = lift(markBox(f, t(0xCC) + ek));
    FontBox u = markBox(f, t(0xA1) + t(0xD8));
    FontBox du = markBox(f, t(0xAE) + t(0xD8));
    m["BaseGap"] = u.empty || du.empty ? 0 : int(std::lround((u.maxY - du.maxY) * s));
    // Carried for completeness; the composer does not use them.
    FontBox ru = markBox(f, t(0xC4) + t(0xD8));
    m["LowerGap"] = u.empty || ru.empty ? 0 : int(std::lround((u.minX - ru.minX) * s));
    m["UpperGap"] = 0;
    m["KiteX"] = 0;
    ShapedGlyph g;
    auto height = [&](int code) {
        if (!f.glyphForCode(code, g))
            return 0;
        FontBox b = f.box(g.gid);
        return b.empty ? 0 : int(std::lround(b.maxY * s));
    };
    m["__KorKai"] = height(0xA1);
    m["__ZeroHeight"] = height('0');
    m["__AHeight"] = height('A');
    m["__IHeight"] = ko.empty ? 0 : int(std::lround(ko.maxY * s));
    m["__THeight"] = height('T');
    return m;
}

std::string plist(const std::map<std::string, int>& m) {
    std::string s =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n<dict>\n";
    const char* order[] = {"InterCharacter", "SpaceGap", "LineHeight", "UpperVovelGap", "FishTail",
                           "ElephantTail",   "OwlTail",  "KiteY",      "BaseGap",       "LowerGap",
                           "UpperGap",       "KiteX",    "__KorKai",   "__ZeroHeight",  "__AHeight",
                           "__IHeight",      "__THeight"};
    auto entry = [&s](const std::string& key, int value) {
        s += "\t<key>" + key + "</key>\n\t<integer>" + std::to_string(value) + "</integer>\n";
    };
    for (const char* k : order) {
        auto it = m.find(k);
        entry(k, it == m.end() ? 0 : it->second);
    }
    // Then the mark shifts, in key order.
    for (const auto& [key, value] : m)
        if (std::find(std::begin(order), std::end(order), key) == std::end(order))
            entry(key, value);
    return s + "</dict>\n</plist>\n";
}

struct SizeReport {
    int glyphs = 0;
    double coverageSum = 0, minCoverage = 1, maxOutside = 0;
    int lowCoverage = 0, highOutside = 0, shortStitches = 0, extraJumps = 0, trims = 0;
    double minSpan = 1e9, maxSpan = 0, minSpacing = 1e9, maxSpacing = 0, maxRun = 0;
    std::size_t bytes = 0;
    std::vector<std::pair<double, int>> worst;  // coverage, code
    std::string notes;                          // glyphs off the stitch targets
};

void printReport(const char* label, const SizeReport& r) {
    std::printf(
        "%-9s glyphs %3d  coverage mean %.3f min %.3f (<0.90: %d)  outside max %.3f (>0.05: %d)  "
        "short %d  satin span %.1f..%.1f mm  spacing %.2f..%.2f mm  run max %.1f mm  "
        "trims %d  extra jumps %d  %zu bytes\n",
        label, r.glyphs, r.glyphs ? r.coverageSum / r.glyphs : 0.0, r.minCoverage, r.lowCoverage,
        r.maxOutside, r.highOutside, r.shortStitches, r.minSpan > r.maxSpan ? 0.0 : r.minSpan / 10,
        r.maxSpan / 10, r.minSpacing > r.maxSpacing ? 0.0 : r.minSpacing / 10, r.maxSpacing / 10,
        r.maxRun / 10, r.trims, r.extraJumps, r.bytes);
}

void add(SizeReport& total, const SizeReport& r) {
    total.glyphs += r.glyphs;
    total.coverageSum += r.coverageSum;
    total.minCoverage = std::min(total.minCoverage, r.minCoverage);
    total.maxOutside = std::max(total.maxOutside, r.maxOutside);
    total.lowCoverage += r.lowCoverage;
    total.highOutside += r.highOutside;
    total.shortStitches += r.shortStitches;
    total.extraJumps += r.extraJumps;
    total.trims += r.trims;
    total.minSpan = std::min(total.minSpan, r.minSpan);
    total.maxSpan = std::max(total.maxSpan, r.maxSpan);
    total.minSpacing = std::min(total.minSpacing, r.minSpacing);
    total.maxSpacing = std::max(total.maxSpacing, r.maxSpacing);
    total.maxRun = std::max(total.maxRun, r.maxRun);
    total.bytes += r.bytes;
}

std::string codeLabel(int code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%02X", code);
    return std::string(buf) + " " +
           (code == 0x9E   ? codeText(0xAD) + "~"
            : code == 0x9F ? codeText(0xB0) + "~"
                           : codeText(code));
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string k = argv[i], v = argv[i + 1];
        if (k == "--font")
            o.font = v;
        else if (k == "--number")
            o.number = std::atoi(v.c_str());
        else if (k == "--out")
            o.out = v;
        else if (k == "--debug")
            o.debugCodes.push_back(std::atoi(v.c_str()));
        else if (k == "--latin")
            o.latin = v;
        else if (k == "--specimen")
            o.specimen = v;
        else if (k == "--specimen-size")
            o.specimenSize = std::atoi(v.c_str());
        else if (k == "--harfbuzz")
            o.harfbuzzText = v;
        else if (k == "--png")
            o.png = v;
        else if (k == "--size")
            o.size = std::atoi(v.c_str());
        else if (k == "--sizes") {
            std::stringstream ss(v);
            std::string n;
            while (std::getline(ss, n, ','))
                o.sizes.push_back(std::atoi(n.c_str()));
        } else
            return false;
    }
    if (!o.harfbuzzText.empty())
        return !o.font.empty() && !o.png.empty() && o.size > 0;
    return !o.font.empty() && !o.out.empty() && !o.sizes.empty() && o.number > 0;
}

// The second form: the text as HarfBuzz sets it, filled, s = 0.1 mm per font unit.
int writeHarfBuzzLine(const OutlineFont& font, const Options& o, double s) {
    std::vector<digitizer::Ring> rings;
    for (const ShapedGlyph& g : font.shape(o.harfbuzzText))
        for (digitizer::Ring& ring : font.outline(g.gid, 0.5 / s)) {
            for (digitizer::Point& p : ring)
                p = {(p.x + g.x) * s, -(p.y + g.y) * s};
            rings.push_back(std::move(ring));
        }
    if (!writeFilledOutlines(o.png, rings, 1.0)) {
        std::fprintf(stderr, "make-font-pack: cannot write %s\n", o.png.c_str());
        return 1;
    }
    return 0;
}

std::vector<digitizer::Needle> decodeStream(const std::vector<uint8_t>& d) {
    std::vector<digitizer::Needle> out;
    int x = 0, y = 0;
    std::size_t pos = 0;
    for (;;) {
        pec::Record r = pec::readRecord(d.data(), d.size(), pos);
        if (r.kind == pec::RecordKind::ColorChange) {
            pos = r.next;
            continue;
        }
        if (r.kind != pec::RecordKind::Stitch)
            break;
        x += r.dx;
        y += r.dy;
        bool mv = r.xLong || r.yLong;
        out.push_back({{double(x), double(y)}, mv ? digitizer::Kind::Jump : digitizer::Kind::Run});
        pos = r.next;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: make-font-pack --font FILE --number N --sizes 5,7,8 --out DATA "
                     "[--latin FILE] [--specimen PNG] [--specimen-size S]\n"
                     "       make-font-pack --font FILE --harfbuzz TEXT --size S --png OUT\n");
        return 2;
    }
    std::unique_ptr<OutlineFont> font = OutlineFont::open(o.font);
    if (!font)
        return 1;
    std::unique_ptr<OutlineFont> latin;
    if (!o.latin.empty() && !(latin = OutlineFont::open(o.latin)))
        return 1;
    ShapedGlyph ko;
    FontBox koBox;
    if (!font->glyphForCode(0xA1, ko) || (koBox = font->box(ko.gid)).empty || koBox.maxY <= 0) {
        std::fprintf(stderr, "make-font-pack: %s has no Thai KO KAI\n", o.font.c_str());
        return 1;
    }
    // The report names the font by its file name: it is committed, and the path is this
    // machine's.
    if (!o.harfbuzzText.empty())
        return writeHarfBuzzLine(*font, o, 10.0 * o.size / koBox.maxY);
    std::printf("%s: %s (%s), font number %d\n", kVersion, font->familyName().c_str(),
                o.font.substr(o.font.find_last_of('/') + 1).c_str(), o.number);
    std::string data = o.out + (o.out.back() == '/' ? "" : "/");
    if (o.specimenSize == 0)
        o.specimenSize = o.sizes[o.sizes.size() / 2];
    SizeReport total;
    std::vector<SpecimenItem> specimen, debug;
    for (int size : o.sizes) {
        double s = 10.0 * size / koBox.maxY;  // 0.1 mm per font unit
        std::map<std::string, int> metrics = measureMetrics(*font, s, size);
        for (const auto& [key, value] :
             measureMarkShifts(*font, s, FontMetrics::parse(plist(metrics))))
            metrics[key] = value;
        char folder[64];
        std::snprintf(folder, sizeof folder, "MIVO_FONTS/MIVOFONT_%03i/%02i/", o.number, size);
        std::string dir = data + folder;
        if (!mkdirs(dir)) {
            std::fprintf(stderr, "make-font-pack: cannot create %s\n", dir.c_str());
            return 1;
        }
        digitizer::Params params;
        std::string pack;
        SizeReport r;
        for (int code : packCodes()) {
            // The companion font's units scaled to the Thai font's em.
            const OutlineFont& src = latin && code < 0x80 ? *latin : *font;
            double gs = s * font->unitsPerEm() / src.unitsPerEm();
            ShapedGlyph g;
            if (!src.glyphForCode(code, g))
                continue;
            std::vector<digitizer::Ring> rings = src.outline(g.gid, 1.5 / gs);
            if (rings.empty())
                continue;  // a glyph without ink would only be a blank advance
            double shiftX = code == 0xD1 ? -2.0 * metrics["InterCharacter"] : 0.0;
            for (digitizer::Ring& ring : rings)
                for (digitizer::Point& p : ring)
                    p = {(p.x + g.x) * gs + shiftX, -(p.y + g.y) * gs};
            std::vector<digitizer::Needle> path = digitizer::digitize(rings, params);
            // MAI HAN-AKAT ends where it began, before the letter gap.
            const int advance =
                code == 0xD1 ? -2 * metrics["InterCharacter"] : int(std::lround(g.advance * gs));
            std::vector<uint8_t> rec = digitizer::encodeGlyph(path, advance);
            if (rec.size() > 0xFFFF) {
                std::fprintf(stderr, "make-font-pack: glyph %s too large\n",
                             codeLabel(code).c_str());
                continue;
            }
            for (int k = 0; k < 4; ++k)
                pack += char(k == 0 ? code : 0);
            pack += char(rec.size() & 0xFF);
            pack += char(rec.size() >> 8);
            pack.append(rec.begin(), rec.end());
            if (size == o.specimenSize)
                specimen.push_back({digitizer::decodeGlyph(rec), {}});
            if (std::find(o.debugCodes.begin(), o.debugCodes.end(), code) != o.debugCodes.end())
                debug.push_back({path, rings});
            ++r.glyphs;
            if (rings.empty())
                continue;
            digitizer::Quality q = digitizer::measure(rings, path, params);
            r.coverageSum += q.coverage;
            r.minCoverage = std::min(r.minCoverage, q.coverage);
            r.maxOutside = std::max(r.maxOutside, q.outside);
            r.lowCoverage += q.coverage < 0.9;
            r.highOutside += q.outside > 0.05;
            r.shortStitches += q.shortStitches;
            r.trims += q.trims;
            r.extraJumps += std::max(0, q.jumps - std::max(0, q.parts - 1));
            if (q.satinStitches) {
                r.minSpan = std::min(r.minSpan, q.minSpan);
                r.maxSpan = std::max(r.maxSpan, q.maxSpan);
            }
            if (q.medianSpacing > 0) {
                r.minSpacing = std::min(r.minSpacing, q.medianSpacing);
                r.maxSpacing = std::max(r.maxSpacing, q.medianSpacing);
            }
            r.maxRun = std::max(r.maxRun, q.maxRun);
            r.worst.push_back({q.coverage, code});
            if (q.jumps > std::max(0, q.parts - 1) || q.medianSpacing > 5.0 || q.maxSpan > 70 ||
                q.maxRun > 40 || (q.medianSpacing > 0 && q.medianSpacing < 3.0) ||
                q.shortStitches > 0)
                r.notes += "  " + codeLabel(code) + " (jumps " + std::to_string(q.jumps) + "/" +
                           std::to_string(q.parts) + " parts, spacing " +
                           std::to_string(q.medianSpacing / 10).substr(0, 4) + ", short " +
                           std::to_string(q.shortStitches) + ", span " +
                           std::to_string(q.maxSpan / 10).substr(0, 4) + ", run " +
                           std::to_string(q.maxRun / 10).substr(0, 4) + ")";
        }
        r.coverageSum += r.glyphs - int(r.worst.size());  // glyphs without ink count as covered
        r.bytes = pack.size();
        if (!writeBytes(dir + "stitch.pack", pack) ||
            !writeBytes(dir + "config.plist", plist(metrics))) {
            std::fprintf(stderr, "make-font-pack: cannot write %s\n", dir.c_str());
            return 1;
        }
        char label[16];
        std::snprintf(label, sizeof label, "size %2d", size);
        printReport(label, r);
        std::sort(r.worst.begin(), r.worst.end());
        std::printf("          worst coverage:");
        for (std::size_t i = 0; i < r.worst.size() && i < 4; ++i)
            std::printf("  %s %.2f", codeLabel(r.worst[i].second).c_str(), r.worst[i].first);
        std::printf("\n");
        if (!r.notes.empty())
            std::printf("          off target:%s\n", r.notes.c_str());
        add(total, r);
    }
    printReport("all sizes", total);
    if (!debug.empty())
        writeSpecimen(data + "debug.png", debug, {}, 3.0);

    if (!o.specimen.empty()) {
        // The sample lines go through our own loader and composer.
        const FontEnv env = diskEnv(data);
        char path[80];
        std::snprintf(path, sizeof path, "MIVO_FONTS/MIVOFONT_%03i/%02i/stitch.pack", o.number,
                      o.specimenSize);
        StitchPack pack;
        pack.loadPack(path, env);
        std::vector<std::vector<digitizer::Needle>> lines;
        for (const char* text : {"สวัสดีครับ Hello 123", "ปิ่น ฟ้า ฬ่ ฎุ ญุ ฐุ กำ ที่ ดี๊ สิ้น ปั้น",
                                 "The quick brown fox 0123456789"}) {
            std::unique_ptr<PES> pes = pack.createPES(text, 0, 0, env);
            lines.push_back(pes ? decodeStream(pes->stitchData())
                                : std::vector<digitizer::Needle>());
        }
        if (!writeSpecimen(o.specimen, specimen, lines, 0.5)) {
            std::fprintf(stderr, "make-font-pack: cannot write %s\n", o.specimen.c_str());
            return 1;
        }
        std::fprintf(stderr, "specimen (size %d): %s\n", o.specimenSize, o.specimen.c_str());
    }
    return 0;
}
