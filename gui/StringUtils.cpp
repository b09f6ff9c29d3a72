#include "gui/StringUtils.h"

#include <utf8.h>

#include <cstdarg>
#include <cstdio>
#include <iterator>
#include <map>
#include <sstream>

namespace {

// Creating a locale by name is slow and may log, so each name is made once per run. Only the
// main thread calls these helpers.
const std::locale& cachedLocale(const std::string& name) {
    static std::map<std::string, std::locale> locales;
    auto it = locales.find(name);
    if (it == locales.end()) {
        it = locales.emplace(name, GUI_MakeLocale(name)).first;
    }
    return it->second;
}

}  // namespace

namespace ofUTF8 {

bool isValid(const std::string& text) {
    try {
        auto invalid = utf8::find_invalid(text.begin(), text.end());
        if (invalid == text.end()) {
            return true;
        }
        GUI_LogError("ofUTF8::isValid - detected invalid UTF8 - valid part: " +
                     std::string(text.begin(), invalid));
        return false;
    } catch (const std::exception& e) {
        GUI_LogError(std::string("ofUTF8::isValid : ") + e.what());
        return false;
    }
}

std::string repair(const std::string& text, int replacement) {
    std::string result;
    result.reserve(text.size());
    const auto marker = replacement < 0 ? 0xFFFDu : static_cast<uint32_t>(replacement);
    try {
        utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(result), marker);
    } catch (const std::exception& e) {
        GUI_LogError(std::string("ofUTF8::repair : ") + e.what());
    }
    return result;
}

void repairInPlace(std::string& text) {
    text = repair(text, -1);
}

}  // namespace ofUTF8

namespace ofTextConverter {

namespace {
const char* const converterModule = "ofTextConverter::toUniChar::toUniString : ";
}

std::u32string toUTF32(const std::string& text) {
    std::u32string result;
    result.reserve(text.size());
    auto it = text.begin();
    try {
        while (it != text.end()) {
            result.push_back(static_cast<char32_t>(utf8::next(it, text.end())));
        }
    } catch (const std::exception& e) {
        GUI_LogError(std::string(converterModule) + e.what());
    }
    return result;
}

std::string toUTF8(const std::u32string& codePoints) {
    std::string result;
    result.reserve(codePoints.size());
    try {
        for (char32_t c : codePoints) {
            utf8::append(static_cast<uint32_t>(c), std::back_inserter(result));
        }
    } catch (const std::exception& e) {
        GUI_LogError(std::string(converterModule) + e.what());
    }
    return result;
}

}  // namespace ofTextConverter

std::locale GUI_MakeLocale(const std::string& name) {
    std::locale loc = std::locale::classic();
    try {
        loc = std::locale(name.c_str());
    } catch (const std::exception&) {
        GUI_LogWarning("GUI_Utils")
            << "Couldn't create locale " << name << " using default, " << std::locale().name();
    }
    return loc;
}

std::string GUI_Trim(const std::string& text) {
    const std::locale& loc = cachedLocale("");
    auto isSpace = [&loc](char c) { return std::isspace(c, loc) || std::isblank(c, loc); };
    std::size_t end = text.size();
    while (end > 0 && isSpace(text[end - 1])) {
        --end;
    }
    std::size_t begin = 0;
    while (begin < end && isSpace(text[begin])) {
        ++begin;
    }
    return text.substr(begin, end - begin);
}

std::vector<std::string> GUI_Split(const std::string& source, const std::string& delimiter,
                                   bool ignoreEmpty, bool trim) {
    std::vector<std::string> pieces;
    if (delimiter.empty()) {
        pieces.push_back(source);
        return pieces;
    }
    auto add = [&](std::string piece) {
        if (trim) {
            piece = GUI_Trim(piece);
        }
        if (!ignoreEmpty || !piece.empty()) {
            pieces.push_back(std::move(piece));
        }
    };
    std::size_t start = 0;
    for (std::size_t found = source.find(delimiter); found != std::string::npos;
         found = source.find(delimiter, start)) {
        add(source.substr(start, found - start));
        start = found + delimiter.size();
    }
    add(source.substr(start));
    return pieces;
}

void GUI_Replace(std::string& subject, const std::string& search, const std::string& replacement) {
    // An empty search text would match everywhere and never advance.
    if (search.empty()) {
        return;
    }
    std::size_t pos = 0;
    while ((pos = subject.find(search, pos)) != std::string::npos) {
        subject.replace(pos, search.size(), replacement);
        pos += replacement.size();
    }
}

std::string GUI_Format(const char* format, ...) {
    if (format == nullptr) {
        return "";
    }
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (length >= 0) {
        std::vector<char> text(static_cast<std::size_t>(length) + 1);
        if (std::vsnprintf(text.data(), text.size(), format, args) >= 0) {
            result.assign(text.data(), static_cast<std::size_t>(length));
        }
    }
    va_end(args);
    return result;
}

int GUI_ToInt(const std::string& text) {
    std::istringstream stream(text);
    int value = 0;
    if (!(stream >> value)) {
        return 0;
    }
    return value;
}

float GUI_ToFloat(const std::string& text) {
    std::istringstream stream(text);
    float value = 0;
    if (!(stream >> value)) {
        return 0;
    }
    return value;
}

std::string GUI_ToLower(const std::string& text, const std::string& localeName) {
    const auto& facet = std::use_facet<std::ctype<char>>(cachedLocale(localeName));
    std::string result = text;
    for (char& c : result) {
        c = facet.tolower(c);
    }
    return result;
}

std::wstring GUI_ToLower(const std::wstring& text, const std::string& localeName) {
    const auto& facet = std::use_facet<std::ctype<wchar_t>>(cachedLocale(localeName));
    std::wstring result = text;
    for (wchar_t& c : result) {
        c = facet.tolower(c);
    }
    return result;
}
