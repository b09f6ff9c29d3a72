#include "app/cli/CsvReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

cli::CsvTable read(const std::string& text) {
    return cli::readCsv(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

struct Expected {
    int line;
    std::vector<std::string> fields;
    std::string error = "";
};

struct Case {
    const char* name;
    std::string input;
    std::vector<Expected> records;
};

TEST(CsvReader, ReadsWhatSpreadsheetsWrite) {
    const Case cases[] = {
        {"empty file", "", {}},
        {"one field, no line break", "Anna", {{1, {"Anna"}}}},
        {"two columns",
         "Anna,anna.pes\nBob,bob\n",
         {{1, {"Anna", "anna.pes"}}, {2, {"Bob", "bob"}}}},
        {"byte order mark", "\xEF\xBB\xBFสมชาย,x\n", {{1, {"สมชาย", "x"}}}},
        {"CRLF and a blank line", "a\r\n\r\nb\r\n", {{1, {"a"}}, {2, {""}}, {3, {"b"}}}},
        {"old Mac line ends", "a\rb", {{1, {"a"}}, {2, {"b"}}}},
        {"comma in quotes", "\"Smith, John\",js\n", {{1, {"Smith, John", "js"}}}},
        {"doubled quote", "\"say \"\"hi\"\"\"\n", {{1, {"say \"hi\""}}}},
        {"empty quoted field", "\"\",b\n", {{1, {"", "b"}}}},
        {"line break in quotes keeps counting lines",
         "\"two\nlines\",x\nnext\n",
         {{1, {"two\nlines", "x"}}, {3, {"next"}}}},
        {"empty fields", ",,\n", {{1, {"", "", ""}}}},
        {"blanks before an opening quote", "a, \"b,c\"\n", {{1, {"a", "b,c"}}}},
        {"text after a closing quote joins the field", "\"ab\"cd,e\n", {{1, {"abcd", "e"}}}},
        {"quote inside an unquoted field is kept", "ab\"c,d\n", {{1, {"ab\"c", "d"}}}},
        {"quote left open",
         "a\n\"open,\nrest",
         {{1, {"a"}}, {2, {"open,\nrest"}, "the quote opened on line 2 is not closed"}}},
        {"no record after the last line break", "a\n\n", {{1, {"a"}}, {2, {""}}}},
    };
    for (const Case& c : cases) {
        const cli::CsvTable table = read(c.input);
        EXPECT_EQ(table.error, "") << c.name;
        ASSERT_EQ(table.records.size(), c.records.size()) << c.name;
        for (std::size_t i = 0; i < c.records.size(); ++i) {
            EXPECT_EQ(table.records[i].line, c.records[i].line) << c.name << " record " << i;
            EXPECT_EQ(table.records[i].fields, c.records[i].fields) << c.name << " record " << i;
            EXPECT_EQ(table.records[i].error, c.records[i].error) << c.name << " record " << i;
        }
    }
}

TEST(CsvReader, RefusesUtf16WithTheWayOut) {
    for (const std::string& bom : {std::string("\xFF\xFE"), std::string("\xFE\xFF")}) {
        const cli::CsvTable table = read(bom + std::string("A\0,\0", 4));
        EXPECT_TRUE(table.records.empty());
        EXPECT_NE(table.error.find("UTF-16"), std::string::npos) << table.error;
        EXPECT_NE(table.error.find("UTF-8"), std::string::npos) << table.error;
    }
}

TEST(CsvReader, StopsAtTheEndOfTheBytes) {
    // The bytes after the span (a closing quote and more names) must not be read.
    const std::string text = "\"abc\",def\nghi";
    const cli::CsvTable table =
        cli::readCsv(reinterpret_cast<const uint8_t*>(text.data()), 4);  // "\"abc"
    ASSERT_EQ(table.records.size(), 1u);
    EXPECT_EQ(table.records[0].fields, std::vector<std::string>{"abc"});
    EXPECT_FALSE(table.records[0].error.empty());
}

}  // namespace
