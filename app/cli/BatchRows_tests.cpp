#include "app/cli/BatchRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<cli::BatchRow> rowsOf(const std::string& csv) {
    const cli::CsvTable table =
        cli::readCsv(reinterpret_cast<const uint8_t*>(csv.data()), csv.size());
    return cli::batchRows(table.records);
}

TEST(BatchRows, FileNamesComeFromTheSecondColumnOrTheText) {
    const auto rows = rowsOf(
        "  Anna Lee  ,anna\n"
        "สมชาย ใจดี\n"
        "Bob,bob.PES\n"
        "O'Brien: a/b?\n"
        "...\n");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].text, "Anna Lee");
    EXPECT_EQ(rows[0].fileName, "anna.pes");
    EXPECT_EQ(rows[1].fileName, "สมชาย_ใจดี.pes");
    EXPECT_EQ(rows[2].fileName, "bob.PES");
    EXPECT_EQ(rows[3].fileName, "O_Brien__a_b_.pes");
    EXPECT_EQ(rows[4].fileName, "design.pes");
    for (const auto& row : rows)
        EXPECT_EQ(row.error, "") << row.line;
}

TEST(BatchRows, BlankRowsAreLeftOutAndLinesKept) {
    const auto rows = rowsOf("a\n\n  ,  \n\"\"\nb\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].line, 1);
    EXPECT_EQ(rows[1].line, 5);
}

TEST(BatchRows, RowsThatCannotBeDesignsSayWhy) {
    const struct {
        std::string csv;
        const char* why;
    } cases[] = {
        {",file.pes\n", "no text"},     {"a,../up\n", "plain name"},
        {"a,sub/name\n", "plain name"}, {"a,.hidden\n", "plain name"},
        {"\xE0\xB8,x\n", "not UTF-8"},  {"\"two\nlines\"\n", "line break"},
        {"\"open\n", "not closed"},     {"a," + std::string(300, 'n') + "\n", "longer than"},
    };
    for (const auto& c : cases) {
        const auto rows = rowsOf(c.csv);
        ASSERT_EQ(rows.size(), 1u) << c.csv;
        EXPECT_NE(rows[0].error.find(c.why), std::string::npos) << c.csv << ": " << rows[0].error;
        EXPECT_EQ(rows[0].line, 1);
    }
}

TEST(BatchRows, FileNamesAreUniqueWithoutRegardToCase) {
    const auto rows = rowsOf(
        "Anna\n"              // made: the given Anna.pes of line 3 is kept for line 3
        "anna\n"              // made
        "Other,Anna\n"        // given
        "Again,ANNA.pes\n");  // given twice
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[2].fileName, "Anna.pes");
    EXPECT_EQ(rows[0].fileName, "Anna-2.pes");
    EXPECT_EQ(rows[1].fileName, "anna-3.pes");
    EXPECT_NE(rows[3].error.find("already used by line 3"), std::string::npos) << rows[3].error;
}

TEST(BatchRows, LongTextsGiveShortNamesCutBetweenCharacters) {
    std::string thai;
    for (int i = 0; i < 100; ++i)
        thai += "ก";  // three bytes each
    const std::string name = cli::fileNameFromText(thai);
    EXPECT_LE(name.size(), 204u);
    EXPECT_EQ((name.size() - 4) % 3, 0u) << name.size();
    EXPECT_EQ(name.substr(name.size() - 4), ".pes");
    EXPECT_EQ(cli::fileNameFromText("a\xFF"
                                    "b"),
              "a_b.pes");
}

}  // namespace
