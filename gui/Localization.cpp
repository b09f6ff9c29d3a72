#include "gui/Localization.h"

#include "gui/FileUtils.h"
#include "gui/Log.h"
#include "gui/StringUtils.h"

#include <vector>

std::map<std::string, GUI_LocalizationTable> localizationTables;
std::string currentLanguage;

namespace {

bool endsWithQuote(const std::string& piece) {
    return !piece.empty() && piece.back() == '"';
}

std::string withoutQuotes(std::string text) {
    GUI_Replace(text, "\"", "");
    return text;
}

// Splits one entry (without its final ";") into key and value; false when it holds none.
bool parseEntry(const std::string& line, std::string& key, std::string& value) {
    const std::vector<std::string> pieces = GUI_Split(line, "=", true, true);
    if (pieces.size() < 2) {
        return false;
    }
    if (pieces.size() == 2) {
        key = withoutQuotes(pieces[0]);
        value = withoutQuotes(pieces[1]);
        GUI_LogVerbose("sep") << key << ", " << value;
        return true;
    }
    // The key or the value holds "=": the key runs up to the first piece that closes a quote.
    std::string rawKey, rawValue;
    std::size_t i = 0;
    bool keyClosed = false;
    for (; i < pieces.size() && !keyClosed; ++i) {
        rawKey += (i == 0 ? "" : "=") + pieces[i];
        keyClosed = endsWithQuote(pieces[i]);
    }
    for (std::size_t first = i; i < pieces.size(); ++i) {
        rawValue += (i == first ? "" : "=") + pieces[i];
    }
    key = withoutQuotes(rawKey);
    value = withoutQuotes(rawValue);
    GUI_LogVerbose("ssep") << key << ", " << value;
    return true;
}

}  // namespace

int loadLocalizableStringsFromBuffer(const std::string& code, const jsBuffer& buffer) {
    int entries = 0;
    for (const std::string& rawLine : buffer.lines()) {
        std::string line = GUI_Trim(rawLine);
        if (line.empty() || line.compare(0, 2, "//") == 0 || line.back() != ';') {
            continue;
        }
        line.pop_back();
        GUI_LogVerbose("LSTR") << line;
        std::string key, value;
        if (!parseEntry(line, key, value)) {
            continue;
        }
        localizationTables[code][key] = ofTextConverter::toUTF32(value);
        ++entries;
    }
    return entries;
}

int loadLocalizableStrings(const std::string& code) {
    const jsBuffer buffer = jsBufferFromFile(code + "/Localizable.strings", false);
    if (!buffer.empty()) {
        loadLocalizableStringsFromBuffer(code, buffer);
    }
    return 0;
}

std::string localizedString(const std::string& key) {
    const auto table = localizationTables.find(currentLanguage);
    if (table == localizationTables.end()) {
        GUI_LogNotice("LSTR") << "not found, return original utf8: " << key;
        return key;
    }
    const auto entry = table->second.find(key);
    if (entry == table->second.end()) {
        GUI_LogNotice("LSTR") << "not found, return original utf8: " << key;
        return key;
    }
    std::string result = ofTextConverter::toUTF8(entry->second);
    if (!ofUTF8::isValid(result)) {
        GUI_LogNotice("") << "repair";
        ofUTF8::repairInPlace(result);
    }
    GUI_LogVerbose("LSTR") << "Found, convet utf32->utf8: "
                           << static_cast<const void*>(&entry->second) << "->" << result;
    return result;
}

void clearLocalizableStrings() {
    for (auto& table : localizationTables) {
        table.second.clear();
    }
    localizationTables.clear();
}
