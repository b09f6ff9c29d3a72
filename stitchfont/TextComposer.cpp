// The text form of StitchPack::createPES: text to codes, glyph placement, joining, centring.
//
// Sections: character classes; text to codes; placement; composition.

#include "stitchfont/TextComposer.h"

#include <cmath>
#include <limits>
#include <memory>

#include "formats/PES.h"
#include "stitchfont/StitchPack.h"

namespace stitchfont {

// ---- Character classes (TIS-620 codes) ------------------------------------------------------

namespace {

constexpr int kSpace = 0x20;
constexpr int kMaiHanAkat = 0xD1;
constexpr int kSaraAa = 0xD2;
constexpr int kSaraAm = 0xD3;
constexpr int kNikhahit = 0xED;
constexpr int kYoYing = 0xAD;
constexpr int kThoThan = 0xB0;

int clampInt(long long v) {
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(v);
}

bool in(int c, int lo, int hi) {
    return c >= lo && c <= hi;
}
bool isAboveMark(int c) {
    return c == kMaiHanAkat || in(c, 0xD4, 0xD7) || in(c, 0xE7, 0xEE);
}
bool isToneMark(int c) {
    return in(c, 0xE8, 0xEB);
}
bool isFishTail(int c) {
    return c == 0xBB || c == 0xBD || c == 0xBF;
}
bool isElephantTail(int c) {
    return c == 0xAA || c == 0xAB || c == 0xC8 || c == 0xCA;
}
bool isOwl(int c) {
    return c == 0xCE;
}
bool isKite(int c) {
    return c == 0xCC;
}
bool isLongTail(int c) {
    return c == 0xC4 || c == 0xC6;
}
bool isBaseConsonant(int c) {
    return in(c, 0xAD, 0xB0);
}

}  // namespace

bool isUpperVowel(int c) {
    return c == kMaiHanAkat || in(c, 0xD4, 0xD7) || c == kNikhahit;
}
bool isStackable(int c) {
    return in(c, 0xE8, 0xEC);
}
bool isLowerVowel(int c) {
    return in(c, 0xD8, 0xDA);
}

bool isSpacingFree(int c) {
    return in(c, 0xD4, 0xDA) || in(c, 0xE7, 0xEE);
}

// ---- Text to codes --------------------------------------------------------------------------

namespace {

// Decodes one character at text[i]; advances i. Returns the code point, or -1 for a malformed
// byte (which is consumed alone).
long decodeOne(const std::string& text, std::size_t& i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    int extra = 0;
    long cp = 0;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        ++i;
        return -1;
    }
    if (i + extra >= text.size()) {
        // The sequence is cut off by the end of the text.
        ++i;
        return -1;
    }
    for (int k = 1; k <= extra; ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return -1;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += extra + 1;
    return cp;
}

int codeOf(long cp) {
    if (cp >= 0 && cp < 0x80)
        return int(cp);
    if (cp >= 0x0E01 && cp <= 0x0E5B)
        return int(cp - 0x0D60);
    return kNoCode;
}

}  // namespace

std::vector<int> textToCodes(const std::string& text, const std::function<bool(int)>& hasGlyph,
                             bool* truncated) {
    std::vector<int> codes;
    codes.reserve(kMaxCodes);
    if (truncated)
        *truncated = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const int code = codeOf(decodeOne(text, i));
        if (code == 0)
            break;  // an embedded NUL ends the text, as it would a C string
        const std::size_t needed = code == kSaraAm ? 2 : 1;
        if (codes.size() + needed > kMaxCodes) {
            if (truncated)
                *truncated = true;
            break;
        }
        int ch = code;
        if (ch == kSaraAm) {
            if (!codes.empty() && isToneMark(codes.back())) {
                const int tone = codes.back();
                codes.back() = kNikhahit;
                codes.push_back(tone);
            } else {
                codes.push_back(kNikhahit);
            }
            ch = kSaraAa;
        }
        if (isLowerVowel(ch) && !codes.empty() && hasGlyph && hasGlyph(ch)) {
            if (codes.back() == kYoYing)
                codes.back() = kYoYingTailless;
            else if (codes.back() == kThoThan)
                codes.back() = kThoThanTailless;
        }
        codes.push_back(ch);
    }
    return codes;
}

// ---- Placement ------------------------------------------------------------------------------

bool placement(int pp, int f, int ch, const FontMetrics& m, int& dx, int& dy) {
    dx = 0;
    dy = 0;
    if (isAboveMark(ch)) {
        if (isFishTail(f)) {
            dx = -m.fishTail;
            return true;
        }
        if (isElephantTail(f)) {
            dx = -m.elephantTail;
            return true;
        }
        if (isOwl(f)) {
            dx = -m.owlTail;
            return true;
        }
        if (isKite(f)) {
            dy = -m.kiteY;
            return true;
        }
    }
    if (isStackable(ch) && isUpperVowel(f)) {
        if (isFishTail(pp)) {
            dx = -m.fishTail;
            dy = -m.upperVowelGap;
        } else if (isElephantTail(pp)) {
            dx = -m.elephantTail;
            dy = -m.upperVowelGap;
        } else if (isOwl(pp)) {
            dx = -m.owlTail;
            dy = -m.upperVowelGap;
        } else if (isKite(pp)) {
            dy = -(m.upperVowelGap + m.kiteY);
        } else {
            dy = -m.upperVowelGap;
        }
        return true;
    }
    if (isStackable(ch) && isLowerVowel(f)) {
        if (isFishTail(pp)) {
            dx = -m.fishTail;
            return true;
        }
        if (isElephantTail(pp)) {
            dx = -m.elephantTail;
            return true;
        }
        if (isOwl(pp)) {
            dx = -m.owlTail;
            return true;
        }
        if (isKite(pp)) {
            dy = -m.kiteY;
            return true;
        }
        return false;
    }
    if (isLowerVowel(ch) && isLongTail(f)) {
        dx = -m.fishTail;
        return true;
    }
    if (isLowerVowel(ch) && isBaseConsonant(f)) {
        dy = m.baseGap;
        return true;
    }
    return false;
}

bool markCorrection(int pp, int f, int ch, const FontMetrics& m, int& dx, int& dy) {
    dx = 0;
    dy = 0;
    if (!isAboveMark(ch) && !isLowerVowel(ch))
        return false;
    long long sx = 0;
    long long sy = 0;
    auto add = [&](const MarkShift& s) {
        sx += s.dx;
        sy += s.dy;
    };
    if (isStackable(ch) && isUpperVowel(f)) {
        // The tone mark rides on its vowel, wherever the letter put the vowel.
        add(m.markShift(pp, f));
        add(m.stackShift(pp, f));
        add(m.markShift(f, ch));
    } else if (isStackable(ch) && isLowerVowel(f)) {
        // Above the letter, as without the vowel, and adjusted for the vowel below.
        add(m.markShift(pp, ch));
        add(m.markShift(f, ch));
    } else if (!isAboveMark(f) && !isLowerVowel(f)) {
        add(m.markShift(f, ch));
    }
    dx = clampInt(sx);
    dy = clampInt(sy);
    return dx != 0 || dy != 0;
}

}  // namespace stitchfont

// ---- Composition ----------------------------------------------------------------------------

namespace {

// A float bound as an int, clamped so that the conversion is defined.
long long toInt(double v) {
    if (!std::isfinite(v))
        return 0;
    if (v > 1e15)
        return (long long)1e15;
    if (v < -1e15)
        return -(long long)1e15;
    return (long long)v;
}

// A glyph the composer can use: the pack has it and it is long enough to hold its trailer.
bool usable(const StitchPack& pack, int code) {
    auto it = pack.glyphs().find(code);
    return it != pack.glyphs().end() && it->second.size() >= 8;
}

}  // namespace

std::unique_ptr<PES> StitchPack::createPES(const std::string& text, int extraLetterSpace,
                                           int extraSpace, const FontEnv& env) const {
    using namespace stitchfont;
    if (glyphs_.empty()) {
        env.emit(kFontError, "StitchPack::createPES", "Pack have not load yet!");
        return nullptr;
    }
    bool truncated = false;
    const std::vector<int> codes = textToCodes(
        text, [this](int c) { return hasGlyph(c); }, &truncated);
    if (truncated)
        env.emit(kFontWarning, "StitchPack::createPES",
                 "text cut to " + std::to_string(kMaxCodes) + " characters");

    std::size_t first = 0;
    while (first < codes.size() && !usable(*this, codes[first]))
        ++first;
    std::unique_ptr<PES> result = createPES(first < codes.size() ? codes[first] : 0, env);
    if (!result || !result->hasSections())
        return nullptr;

    const FontMetrics& m = metrics_;
    const long long letterGap = 2LL * m.interCharacter + extraLetterSpace;
    FormatLog log;
    int f = codes[first];
    int pp = 0;
    for (std::size_t i = first + 1; i < codes.size(); ++i) {
        const int ch = codes[i];
        std::unique_ptr<PES> k = usable(*this, ch) ? createPES(ch, env) : nullptr;
        if (!k || !k->hasSections()) {
            if (ch == kSpace)
                result->translateLastStitch(clampInt((long long)m.spaceGap + extraSpace), 0, &log);
        } else {
            int dx = 0;
            int dy = 0;
            int cx = 0;
            int cy = 0;
            const bool placed = placement(pp, f, ch, m, dx, dy);
            if (markCorrection(pp, f, ch, m, cx, cy) || placed) {
                dx = clampInt((long long)dx + cx);
                dy = clampInt((long long)dy + cy);
                k->translateFirstStitch(dx, dy);
                // Negated in 64 bits: the most negative int has no positive counterpart.
                k->translateLastStitch(clampInt(-(long long)dx), clampInt(-(long long)dy), &log);
            }
            if (isSpacingFree(ch)) {
                result->appendPES(*k, 0.0f, &log);
            } else {
                if (ch == 0xD1)
                    k->translateFirstStitch(clampInt(-(long long)extraLetterSpace), 0);
                result->appendPES(*k, float(letterGap), &log);
            }
        }
        env.forward(log);
        pp = f;
        f = ch;
    }

    result->setLineListPending(true);
    result->createLineList(&log);
    env.forward(log);
    const PESBounds b = result->bounds();
    if (b.minX <= b.maxX && b.minY <= b.maxY) {
        const double w = double(b.maxX) - double(b.minX);
        const double h = double(b.maxY) - double(b.minY);
        const int dx = clampInt(toInt(-w * 0.5 - double(b.minX)));
        const int dy = double(m.lineHeight) >= h ? 0 : clampInt(toInt(-h * 0.5));
        result->translateFirstStitch(dx, dy);
    }
    result->setLineListPending(true);
    return result;
}
