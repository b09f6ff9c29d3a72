#include "gui/Localization.h"

#include "gui/FileUtils.h"
#include "gui/Log.h"
#include "gui/StringUtils.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = boost::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

const char* const languages[] = {"en", "th", "jp"};

fs::path sourceData() {
    return fs::path(MES_SOURCE_DIR) / "data";
}

// Keeps the process-wide tables, language and log threshold as they were.
class LocalizationTest : public testing::Test {
protected:
    void SetUp() override {
        savedTables = localizationTables;
        savedLanguage = currentLanguage;
        savedThreshold = logThreshold;
        logThreshold = 5;
        localizationTables.clear();
        temp = fs::temp_directory_path() / fs::unique_path("mes-l10n-%%%%-%%%%-%%%%");
        fs::create_directories(temp);
    }
    void TearDown() override {
        localizationTables = savedTables;
        currentLanguage = savedLanguage;
        logThreshold = savedThreshold;
        boost::system::error_code ec;
        fs::remove_all(temp, ec);
    }

    // Loads text as the table of code.
    static int load(const std::string& code, const std::string& text) {
        return loadLocalizableStringsFromBuffer(code, jsBuffer(text));
    }

    static std::string value(const std::string& code, const std::string& key) {
        return ofTextConverter::toUTF8(localizationTables.at(code).at(key));
    }

    std::map<std::string, GUI_LocalizationTable> savedTables;
    std::string savedLanguage;
    int savedThreshold = 1;
    fs::path temp;
};

TEST_F(LocalizationTest, FileOfAnotherLanguageTranslates) {
    const fs::path folder = temp / "fr";
    fs::create_directories(folder);
    std::ofstream(fs::path(folder / "Localizable.strings").string()) << "\"Open\" = \"Ouvrir\";\n";
    const std::string code = folder.string();  // absolute: not inside the data folder

    EXPECT_EQ(loadLocalizableStrings(code), 0);
    currentLanguage = code;
    EXPECT_EQ(localizedString("Open"), "Ouvrir");
    EXPECT_EQ(localizedString("Close"), "Close");
    currentLanguage = "xx";
    EXPECT_EQ(localizedString("Open"), "Open");
    currentLanguage = "";
    EXPECT_EQ(localizedString("Open"), "Open");
}

TEST_F(LocalizationTest, MissingFileAddsNothing) {
    EXPECT_EQ(loadLocalizableStrings((temp / "nowhere").string()), 0);
    EXPECT_TRUE(localizationTables.empty());
}

TEST_F(LocalizationTest, LineRules) {
    struct Case {
        std::string line;
        bool stored;
        std::string key, value;
    };
    const std::vector<Case> cases = {
        {"\"Open\" = \"Ouvrir\";", true, "Open", "Ouvrir"},
        {"\"Open\"=\"Ouvrir\";", true, "Open", "Ouvrir"},
        {"   \"Open\"   =   \"Ouvrir\"  ;  ", true, "Open", "Ouvrir"},
        {"\t\"Undo \" = \"Annuler \";", true, "Undo ", "Annuler "},
        {"// \"Open\" = \"Ouvrir\";", false, "", ""},
        {"  //\"Open\" = \"Ouvrir\";", false, "", ""},
        {"\"Open\" = \"Ouvrir\"", false, "", ""},
        {"\"Open\" = \"Ouvrir\"; // comment", false, "", ""},
        {"/* \"Open\" = \"Ouvrir\"", false, "", ""},
        {"\"a=b\" = \"c=d\";", true, "a=b", "c=d"},
        {"\"a=b=c\" = \"d\";", true, "a=b=c", "d"},
        {"\"k\" = \"x=y=z\";", true, "k", "x=y=z"},
        {"\"key\" = ;", false, "", ""},
        {"\"key\" = \"\";", true, "key", ""},
        {"\"noquotes=\";", true, "noquotes", ""},
        {"\"a=b\";", true, "a", "b"},     // two pieces are a key and a value, quotes or not
        {"\"a=b=c;", true, "a=b=c", ""},  // no piece closes a quote: all is key
        {";", false, "", ""},
        {"", false, "", ""},
    };
    for (const Case& c : cases) {
        localizationTables.clear();
        const int count = load("t", c.line);
        if (!c.stored) {
            EXPECT_EQ(count, 0) << c.line;
            EXPECT_TRUE(localizationTables.empty()) << c.line;
            continue;
        }
        ASSERT_EQ(count, 1) << c.line;
        ASSERT_EQ(localizationTables["t"].size(), 1u) << c.line;
        EXPECT_EQ(localizationTables["t"].begin()->first, c.key) << c.line;
        EXPECT_EQ(value("t", localizationTables["t"].begin()->first), c.value) << c.line;
    }
}

TEST_F(LocalizationTest, EveryLineEndGivesTheSameEntries) {
    const std::string lines[] = {"// header", "\"One\" = \"1\";", "", "\"Two\" = \"2\";",
                                 "\"Three\" = \"3\";"};
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + end;
        }
        for (const bool finalEnd : {true, false}) {
            std::string body = finalEnd ? text : text.substr(0, text.size() - end.size());
            for (const bool nul : {false, true}) {
                localizationTables.clear();
                const std::string bytes = nul ? body + std::string(1, '\0') : body;
                EXPECT_EQ(load("t", bytes), 3);
                ASSERT_EQ(localizationTables["t"].size(), 3u);
                EXPECT_EQ(value("t", "Three"), "3");
            }
        }
    }
}

TEST_F(LocalizationTest, ThaiSurvivesTheRoundTrip) {
    const std::string thai = "\xE0\xB9\x80\xE0\xB8\x9B\xE0\xB8\xB4\xE0\xB8\x94";  // "open"
    load("th-test", "\"Open\" = \"" + thai + "\";\n\"" + thai + "\" = \"x\";");
    currentLanguage = "th-test";
    EXPECT_EQ(localizedString("Open"), thai);
    EXPECT_EQ(localizedString(thai), "x");                        // UTF-8 keys work too
    EXPECT_EQ(localizationTables["th-test"]["Open"].size(), 4u);  // stored as code points
}

TEST_F(LocalizationTest, LoadingAgainAddsAndReplaces) {
    load("t", "\"a\" = \"1\";\n\"b\" = \"2\";");
    load("t", "\"b\" = \"20\";\n\"c\" = \"30\";");
    ASSERT_EQ(localizationTables["t"].size(), 3u);
    EXPECT_EQ(value("t", "a"), "1");
    EXPECT_EQ(value("t", "b"), "20");
    EXPECT_EQ(value("t", "c"), "30");
}

TEST_F(LocalizationTest, InvalidValueIsStoredCut) {
    logThreshold = 3;
    CaptureStderr();
    load("t", "\"bad\" = \"ok\xFFmore\";");
    EXPECT_EQ(GetCapturedStderr(), "ofTextConverter::toUniChar::toUniString : Invalid UTF-8: \n");
    currentLanguage = "t";
    EXPECT_EQ(localizedString("bad"), "ok");
}

TEST_F(LocalizationTest, LookupLogs) {
    load("t", "\"Open\" = \"Ouvrir\";");
    currentLanguage = "t";
    logThreshold = 1;
    CaptureStdout();
    localizedString("Missing");
    localizedString("Open");  // found: verbose only
    EXPECT_EQ(GetCapturedStdout(), "LSTR: not found, return original utf8: Missing\n");

    logThreshold = 0;
    CaptureStdout();
    load("t", "\"k\" = \"v\";\n\"a=b\" = \"c\";");
    const std::string out = GetCapturedStdout();
    EXPECT_EQ(out, "LSTR: \"k\" = \"v\"\nsep: k, v\nLSTR: \"a=b\" = \"c\"\nssep: a=b, c\n");

    CaptureStdout();
    localizedString("Open");
    const std::string found = GetCapturedStdout();
    EXPECT_EQ(found.rfind("LSTR: Found, convet utf32->utf8: ", 0), 0u) << found;
    EXPECT_NE(found.find("->Ouvrir\n"), std::string::npos) << found;
}

TEST_F(LocalizationTest, ClearEmptiesEverything) {
    load("a", "\"x\" = \"1\";");
    load("b", "\"x\" = \"2\";");
    currentLanguage = "a";
    EXPECT_EQ(localizedString("x"), "1");
    clearLocalizableStrings();
    EXPECT_TRUE(localizationTables.empty());
    EXPECT_EQ(localizedString("x"), "x");
}

// ---- The shipped tables --------------------------------------------------------------------

// Entry lines of a shipped file: every line that is neither empty nor a comment.
std::vector<std::string> entryLines(const fs::path& file) {
    std::vector<std::string> result;
    for (const std::string& line : jsBufferFromFile(file.string()).lines()) {
        const std::string trimmed = GUI_Trim(line);
        if (!trimmed.empty() && trimmed.compare(0, 2, "//") != 0) {
            result.push_back(trimmed);
        }
    }
    return result;
}

std::set<std::string> keysOf(const GUI_LocalizationTable& table) {
    std::set<std::string> keys;
    for (const auto& entry : table) {
        keys.insert(entry.first);
    }
    return keys;
}

TEST_F(LocalizationTest, ShippedTablesParseEveryLine) {
    for (const char* code : languages) {
        const fs::path file = sourceData() / code / "Localizable.strings";
        ASSERT_TRUE(fs::exists(file)) << file;
        const std::vector<std::string> lines = entryLines(file);
        const std::string table = (sourceData() / code).string();
        loadLocalizableStrings(table);
        // Each entry line gives one distinct key: no line was skipped or merged.
        EXPECT_EQ(localizationTables[table].size(), lines.size()) << code;
        EXPECT_GT(lines.size(), 90u) << code;
        for (const auto& entry : localizationTables[table]) {
            const std::string text = ofTextConverter::toUTF8(entry.second);
            EXPECT_TRUE(ofUTF8::isValid(text)) << code << " " << entry.first;
            EXPECT_FALSE(text.empty()) << code << " " << entry.first;
        }
    }
}

TEST_F(LocalizationTest, ShippedTablesHaveTheSameKeys) {
    std::map<std::string, std::set<std::string>> keys;
    for (const char* code : languages) {
        const std::string table = (sourceData() / code).string();
        loadLocalizableStrings(table);
        keys[code] = keysOf(localizationTables[table]);
    }
    EXPECT_EQ(keys["en"], keys["th"]);
    EXPECT_EQ(keys["en"], keys["jp"]);
    for (const char* required : {"STITCH_WARNING_MSG", "MEMORY_WARNING_MSG", "Text"}) {
        EXPECT_EQ(keys["en"].count(required), 1u) << required;
    }
}

// The printf conversions of a text, in order ("%.1f", "%i", ...).
std::vector<std::string> conversions(const std::string& text) {
    static const std::regex conversion("%[-+ #0]*[0-9]*(\\.[0-9]+)?[a-zA-Z%]");
    std::vector<std::string> result;
    for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it) {
        result.push_back(it->str());
    }
    return result;
}

TEST_F(LocalizationTest, TranslationsKeepFormatConversions) {
    for (const char* code : languages) {
        const std::string table = (sourceData() / code).string();
        loadLocalizableStrings(table);
        for (const auto& entry : localizationTables[table]) {
            EXPECT_EQ(conversions(ofTextConverter::toUTF8(entry.second)), conversions(entry.first))
                << code << ": " << entry.first;
        }
    }
}

// Every key the program looks up literally, in app/, gui/, design/ and net/ (tests left out).
std::set<std::string> keysUsedInCode() {
    static const std::regex call("localizedString\\s*\\(\\s*\"((?:[^\"\\\\]|\\\\.)*)\"\\s*\\)");
    std::set<std::string> keys;
    for (const char* folder : {"app", "gui", "design", "net"}) {
        const fs::path root = fs::path(MES_SOURCE_DIR) / folder;
        if (!fs::is_directory(root)) {
            continue;
        }
        for (fs::recursive_directory_iterator it(root), end; it != end; ++it) {
            const fs::path& path = it->path();
            const std::string name = path.filename().string();
            if ((path.extension() != ".cpp" && path.extension() != ".h") ||
                name.find("_tests.") != std::string::npos) {
                continue;
            }
            std::ifstream in(path.string(), std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            const std::string source = text.str();
            for (std::sregex_iterator m(source.begin(), source.end(), call), mEnd; m != mEnd; ++m) {
                std::string key = (*m)[1].str();
                GUI_Replace(key, "\\\"", "\"");
                GUI_Replace(key, "\\\\", "\\");
                keys.insert(key);
            }
        }
    }
    return keys;
}

TEST_F(LocalizationTest, EveryKeyUsedInCodeIsTranslated) {
    const std::set<std::string> used = keysUsedInCode();
    for (const char* code : languages) {
        const std::string table = (sourceData() / code).string();
        loadLocalizableStrings(table);
        for (const std::string& key : used) {
            EXPECT_EQ(localizationTables[table].count(key), 1u)
                << "\"" << key << "\" has no entry in " << code << "/Localizable.strings";
        }
    }
}

}  // namespace
