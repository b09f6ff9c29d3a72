#include "stitchfont/FontMetrics.h"

#include <cctype>
#include <cstdint>
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
