#include "app/cli/CommandTable.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/cli/Completion.h"
#include "app/cli/FontCatalogue.h"

namespace {

int ran(const cli::Invocation&) {
    return 0;
}

const cli::Command kDraw{"draw",
                         "Draws a thing",
                         {{"IN", "the input"}, {"EXTRA", "more input", false}},
                         {{"--font", "I", "the font", true, cli::Complete::Fonts},
                          {"--size", "S", "the size", false, cli::Complete::Sizes},
                          {"--mode", "MODE", "the mode", false, cli::Complete::Words, "fast slow"},
                          {"--hoop", "WxH", "the hoop", false, cli::Complete::Nothing},
                          {"--verbose", nullptr, "talk"},
                          {"-o", "OUT.pes", "the output", true, cli::Complete::Files}},
                         ran,
                         "A note.\n"};

cli::Args split(const std::string& line) {
    cli::Args args;
    std::istringstream in(line);
    for (std::string w; in >> w;)
        args.push_back(w == "''" ? "" : w);
    return args;
}

// The message of the UsageError the arguments give, or "" when they are accepted.
std::string problem(const std::string& line) {
    try {
        cli::Invocation in(kDraw, split(line));
        (void)in;
        return "";
    } catch (const cli::UsageError& e) {
        return e.what();
    }
}

TEST(CommandTable, ArgumentsAreCheckedAgainstTheEntry) {
    const struct {
        const char* args;
        const char* message;  // "" when accepted
    } cases[] = {
        {"in --font 1 -o x.pes", ""},
        {"in extra --font=1 -o x.pes --verbose", ""},
        {"--font 1 -o x.pes -- -in-", ""},
        {"--font 1 -o x.pes -5", ""},  // a negative number is an operand
        {"--font 1 -o x.pes", "missing IN"},
        {"in --font 1", "missing -o OUT.pes"},
        {"in -o x.pes", "missing --font I"},
        {"in --font 1 -o x.pes --fnot 2", "unknown option --fnot"},
        {"in --font 1 -o x.pes --font 2", "--font is given twice"},
        {"in -o x.pes --font", "--font needs a value: --font I"},
        {"in --font 1 -o x.pes --verbose=yes", "--verbose takes no value"},
        {"a b c --font 1 -o x.pes", "unexpected argument \"c\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(problem(c.args), c.message) << c.args;
}

TEST(CommandTable, ValuesAreConvertedOrRefusedByName) {
    const cli::Invocation in(kDraw,
                             split("in --font 7 --size 10mm --mode slow --hoop 130x180 -o x.pes"));
    EXPECT_EQ(in.operand(0), "in");
    EXPECT_EQ(in.operand(1), "");
    EXPECT_EQ(in.integer("--font", 0, 14, -1), 7);
    EXPECT_EQ(in.choice("--mode", {"fast", "slow"}, "fast"), "slow");
    EXPECT_FALSE(in.has("--verbose"));
    int w = 100, h = 100;
    cli::hoopSize(in, "--hoop", w, h);
    EXPECT_EQ(w, 130);
    EXPECT_EQ(h, 180);
    EXPECT_EQ(cli::sizeStepOption(in, 7), 3);  // font 7 has 5, 7, 8, 10 ...

    const auto refused = [](const std::string& line, const auto& convert) {
        try {
            convert(cli::Invocation(kDraw, split(line)));
        } catch (const cli::UsageError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(refused("i -o o --font 99", [](const auto& i) { cli::fontOption(i); }),
              "--font 99: fonts are 0 to 14, see mes-cli fonts");
    EXPECT_EQ(refused("i -o o --font x1", [](const auto& i) { cli::fontOption(i); }),
              "--font x1: fonts are 0 to 14, see mes-cli fonts");
    EXPECT_EQ(
        refused("i -o o --font 3 --size 11mm", [](const auto& i) { cli::sizeStepOption(i, 3); }),
        "--size 11mm: font 3 (Purisa) has no 11 mm size; its sizes are 8, 10 and 13 mm");
    EXPECT_EQ(refused("i -o o --font 1 --mode warp",
                      [](const auto& i) {
                          i.choice("--mode", {"fast", "slow"}, "");
                      }),
              "--mode warp: must be fast or slow");
    EXPECT_EQ(refused("i -o o --font 1 --hoop 100x",
                      [](const auto& i) {
                          int w = 0, h = 0;
                          cli::hoopSize(i, "--hoop", w, h);
                      }),
              "--hoop 100x: must be WIDTHxHEIGHT in millimetres, as 100x100 (1 to 1000)");
    EXPECT_EQ(
        refused("i -o o --font 1 --size 1e3", [](const auto& i) { i.number("--size", 0, 100, 0); }),
        "--size 1e3: must be a number from 0 to 100");
    EXPECT_EQ(refused("i -o o --font=", [](const auto& i) { i.integer("--font", 0, 9, 0); }),
              "--font \"\": must be a whole number from 0 to 9");
    // A name the entry does not have is a mistake of the program, not of the user.
    const cli::Invocation ok(kDraw, split("in --font 1 -o x.pes"));
    EXPECT_THROW(ok.has("--colour"), std::logic_error);
}

TEST(CommandTable, WholeNumbersAreDigitsWithAnOptionalSign) {
    const struct {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"12", true, 12},   {"+12", true, 12},         {"-3", true, -3},  {"0", true, 0},
        {"", false, 0},     {" 12", false, 0},         {"12 ", false, 0}, {"12px", false, 0},
        {"+", false, 0},    {"-", false, 0},           {"+-3", false, 0}, {"1.5", false, 0},
        {"0x10", false, 0}, {"99999999999", false, 0},
    };
    for (const auto& c : cases) {
        int n = -99;
        EXPECT_EQ(cli::parseWhole(c.text, n), c.ok) << c.text;
        if (c.ok)
            EXPECT_EQ(n, c.value) << c.text;
        else
            EXPECT_EQ(n, -99) << c.text;
    }
}

TEST(CommandTable, HelpHasOneLinePerOperandAndOption) {
    EXPECT_EQ(cli::usageLine(kDraw),
              "usage: mes-cli draw IN [EXTRA] --font I -o OUT.pes [OPTIONS]");
    const std::string help = cli::helpText(kDraw);
    EXPECT_EQ(help.rfind(cli::usageLine(kDraw) + "\n\nDraws a thing.\n\n", 0), 0u) << help;
    for (const char* line :
         {"  IN            the input\n", "  --font I      the font\n", "  --verbose     talk\n",
          "  -o OUT.pes    the output\n", "  -h, --help    show this help\n"})
        EXPECT_NE(help.find(line), std::string::npos) << line << "\n" << help;
    EXPECT_EQ(help.substr(help.size() - 8), "A note.\n");

    const std::string overview = cli::overviewText({kDraw});
    EXPECT_NE(overview.find("  draw   Draws a thing\n"), std::string::npos) << overview;
    EXPECT_NE(overview.find("Exit status"), std::string::npos);
}

TEST(CommandTable, HelpIsAskedBeforeTheEndOfOptions) {
    EXPECT_TRUE(cli::wantsHelp(split("a --help")));
    EXPECT_TRUE(cli::wantsHelp(split("-h")));
    EXPECT_FALSE(cli::wantsHelp(split("-- --help")));
    EXPECT_FALSE(cli::wantsHelp(split("--helpful")));
}

TEST(Completion, OffersCommandsOptionsAndValues) {
    const cli::Command help{
        "help", "Help", {{"COMMAND", "", false, cli::Complete::Commands}}, {}, ran};
    const std::vector<cli::Command> table = {kDraw, help};
    const auto complete = [&](const std::string& line) {
        cli::Args words = split(line);
        std::string joined;
        for (const std::string& c : cli::completions(table, words))
            joined += (joined.empty() ? "" : " ") + c;
        return joined;
    };
    EXPECT_EQ(complete("''"), "draw help --help");
    EXPECT_EQ(complete("d"), "draw");
    EXPECT_EQ(complete("help ''"), "draw help");
    EXPECT_EQ(complete("draw ''"), "@files");
    EXPECT_EQ(complete("draw in --"), "--font --size --mode --hoop --verbose --help");
    EXPECT_EQ(complete("draw in --font 2 --m"), "--mode");
    EXPECT_EQ(complete("draw in --font 1"), "1 10 11 12 13 14");
    EXPECT_EQ(complete("draw in --font 3 --size ''"), "0 1 2 8mm 10mm 13mm");
    EXPECT_EQ(complete("draw in --font=3 --size 1"), "1 10mm 13mm");
    EXPECT_EQ(complete("draw in --mode ''"), "fast slow");
    EXPECT_EQ(complete("draw in --hoop ''"), "");
    EXPECT_EQ(complete("draw in -o ''"), "@files");
    EXPECT_EQ(complete("draw in extra ''"), "");
    EXPECT_EQ(complete("nosuch ''"), "");
}

}  // namespace
