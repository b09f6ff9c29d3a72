// Translations of every caption the user sees. The application asks for the text of an English
// key and gets the text of the current language, or the key itself when there is none.
//
// One "Localizable.strings" per language folder ("en", "th", "jp") of the data folder, one entry
// per line:
//     "Open" = "เปิด";
// Lines starting with "//" and lines not ending with ";" are ignored. Lines end at "\n", "\r"
// or "\r\n". Values are kept as UTF-32 and handed out as UTF-8.
//
// The tables are filled at start-up before the main window is built and emptied at shutdown;
// main thread only.
#pragma once

#include <map>
#include <string>

class jsBuffer;

// Language code -> (key -> value). Keys are UTF-8 and compared byte by byte.
using GUI_LocalizationTable = std::map<std::string, std::u32string>;
extern std::map<std::string, GUI_LocalizationTable> localizationTables;

// The language localizedString translates into ("en", "th" or "jp"); empty until the
// application sets it.
extern std::string currentLanguage;

// Reads code + "/Localizable.strings" (relative to the data folder) and adds its entries to the
// table of that code, replacing entries with the same key. A missing file adds nothing.
// Returns 0.
int loadLocalizableStrings(const std::string& code);
// The same for text already in memory; returns the number of entries read.
int loadLocalizableStringsFromBuffer(const std::string& code, const jsBuffer& buffer);

// The caption of the key in currentLanguage, or the key itself.
std::string localizedString(const std::string& key);

// Empties every table, then the map of tables.
void clearLocalizableStrings();
