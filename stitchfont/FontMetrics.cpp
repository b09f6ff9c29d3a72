#include "stitchfont/FontMetrics.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// Text between open and close on the line, if both are there in that order.
bool between(const std::string& line, const char* open, const char* close, std::string& out) {
    const std::size_t a = line.find(open);
    if (a == std::string::npos)
        return false;
    const std::size_t from = a + std::char_traits<char>::length(open);
    const std::size_t b = line.find(close, from);
    if (b == std::string::npos)
        return false;
    out = line.substr(from, b - from);
    return true;
}

// Optional blanks, optional sign, leading digits; saturates instead of overflowing.
int32_t parseInt(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int64_t v = 0;
    for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > INT32_MAX)
            v = int64_t(INT32_MAX) + 1;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX)
        v = INT32_MAX;
    if (v < INT32_MIN)
        v = INT32_MIN;
    return int32_t(v);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// "MarkX_BB_D4" or "StackY_BB_D4": the family's length, the axis and the two codes. False for
// any other key.
bool parseShiftKey(const std::string& key, std::size_t& family, char& axis, int& first,
                   int& second) {
    family = key.compare(0, 4, "Mark") == 0 ? 4 : key.compare(0, 5, "Stack") == 0 ? 5 : 0;
    const std::size_t n = family;
    if (n == 0 || key.size() != n + 7 || key[n + 1] != '_' || key[n + 4] != '_')
        return false;
    axis = key[n];
    const int h[4] = {hexDigit(key[n + 2]), hexDigit(key[n + 3]), hexDigit(key[n + 5]),
                      hexDigit(key[n + 6])};
    if ((axis != 'X' && axis != 'Y') || h[0] < 0 || h[1] < 0 || h[2] < 0 || h[3] < 0)
        return false;
    first = h[0] * 16 + h[1];
    second = h[2] * 16 + h[3];
    return true;
}

MarkShift find(const std::map<std::pair<int, int>, MarkShift>& shifts, int first, int second) {
    auto it = shifts.find({first, second});
    return it == shifts.end() ? MarkShift() : it->second;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

}  // namespace

int32_t FontMetrics::get(const std::string& key) const {
    auto it = values.find(key);
    return it == values.end() ? 0 : it->second;
}

MarkShift FontMetrics::markShift(int first, int second) const {
    return find(markShifts, first, second);
}

MarkShift FontMetrics::stackShift(int first, int second) const {
    return find(stackShifts, first, second);
}

std::string FontMetrics::shiftKey(const char* family, char axis, int first, int second) {
    char key[32];
    std::snprintf(key, sizeof key, "%.5s%c_%02X_%02X", family, axis, first & 0xFF, second & 0xFF);
    return key;
}

FontMetrics FontMetrics::parse(const std::string& text, const FontEnv* env) {
    FontMetrics m;
    const std::vector<std::string> lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string key;
        if (!between(lines[i], "<key>", "</key>", key))
            continue;
        if (env)
            env->emit(kFontVerbose, "Key", key);
        std::string value;
        if (i + 1 < lines.size() && between(lines[i + 1], "<integer>", "</integer>", value)) {
            if (env)
                env->emit(kFontVerbose, "Value", value);
            m.values[key] = parseInt(value);
            ++i;
        }
    }
    // Absent keys become 0 and join the map, as every reader of the map expects them there.
    auto named = [&m](const char* key) -> int32_t { return m.values[key]; };
    m.interCharacter = named("InterCharacter");
    m.spaceGap = named("SpaceGap");
    m.lineHeight = named("LineHeight");
    m.upperVowelGap = named("UpperVovelGap");
    m.fishTail = named("FishTail");
    m.elephantTail = named("ElephantTail");
    m.owlTail = named("OwlTail");
    m.kiteY = named("KiteY");
    m.baseGap = named("BaseGap");
    for (const auto& [key, value] : m.values) {
        std::size_t family = 0;
        char axis = 0;
        int first = 0, second = 0;
        if (!parseShiftKey(key, family, axis, first, second))
            continue;
        MarkShift& shift = (family == 4 ? m.markShifts : m.stackShifts)[{first, second}];
        (axis == 'X' ? shift.dx : shift.dy) = value;
    }
    return m;
}

FontMetrics FontMetrics::load(const std::string& folder, const FontEnv& env) {
    env.emit(kFontPrint, "", "loadCOnfig path: " + folder);
    std::vector<uint8_t> bytes;
    env.files.readFile(folder + "config.plist", bytes);
    env.emit(kFontPrint, "", "loadCOnfig path: " + folder + " loaded");
    FontMetrics m = parse(std::string(bytes.begin(), bytes.end()), &env);
    env.emit(kFontPrint, "", "loadCOnfig value ok");
    return m;
}
