// UTF-8 text and small string helpers: validation, repair and UTF-8 <-> UTF-32 conversion,
// locales, trimming, splitting, replacing, printf formatting, number parsing and lower-casing.
//
// Strings are UTF-8 unless a signature says otherwise. Failures are logged (module names as
// below) and give the part that could be handled; nothing here throws.
#pragma once

#include "gui/Log.h"

#include <locale>
#include <string>
#include <vector>

namespace ofUTF8 {

// True when the whole text is well-formed UTF-8 (no overlong, truncated, surrogate or
// out-of-range sequence). Logs the valid prefix as an error otherwise.
bool isValid(const std::string& text);

// The text with each invalid sequence replaced by the replacement code point encoded in UTF-8;
// -1 stands for U+FFFD. An unusable replacement is logged and the part copied so far returned.
std::string repair(const std::string& text, int replacement = -1);
// Replaces the text with its repaired copy (U+FFFD).
void repairInPlace(std::string& text);

}  // namespace ofUTF8

namespace ofTextConverter {

// All code points of the text; on an invalid or truncated sequence, those before it (logged).
std::u32string toUTF32(const std::string& text);
// The UTF-8 encoding; on a surrogate or a value above U+10FFFF, the part before it (logged).
std::string toUTF8(const std::u32string& codePoints);

}  // namespace ofTextConverter

// The locale of that name ("" = the user's default); the classic locale when it does not exist.
std::locale GUI_MakeLocale(const std::string& name);

// Copy without leading and trailing white space (space or blank in the user's locale).
std::string GUI_Trim(const std::string& text);

// Pieces of source cut at every delimiter, left to right. An empty delimiter gives the source as
// the only piece. Pieces are trimmed when trim is set and dropped when empty and ignoreEmpty.
std::vector<std::string> GUI_Split(const std::string& source, const std::string& delimiter,
                                   bool ignoreEmpty = false, bool trim = false);

// Replaces every occurrence of search in subject; text inserted is not searched again.
void GUI_Replace(std::string& subject, const std::string& search, const std::string& replacement);

// printf into a string; "" for a null format or a formatting error.
std::string GUI_Format(const char* format, ...) GUI_PRINTF_LIKE(1, 2);

// The leading number as read by an input string stream (leading white space skipped); 0 when
// none can be read.
int GUI_ToInt(const std::string& text);
float GUI_ToFloat(const std::string& text);

// Each character lower-cased by the named locale ("" = the user's default).
std::string GUI_ToLower(const std::string& text, const std::string& localeName = "");
std::wstring GUI_ToLower(const std::wstring& text, const std::string& localeName = "");
