// mes-cli from the outside: each test runs the built program and checks what it prints, what it
// writes and its exit status, the way a script using it would.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status = -1;
    std::string out;  // standard output and standard error together
};

// A run with standard output and standard error apart.
struct SplitRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a shell command line; what it prints on standard output, and its status.
CliRun runShell(const std::string& command) {
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> chunk{};
    size_t n;
    while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        run.out.append(chunk.data(), n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

CliRun runCli(const std::string& args) {
    return runShell(std::string("'") + MES_CLI_PATH + "' " + args + " 2>&1");
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

SplitRun runSplit(const std::string& args) {
    const fs::path errFile =
        fs::temp_directory_path() / ("mes-cli-stderr-" + std::to_string(::getpid()));
    const CliRun run =
        runShell(std::string("'") + MES_CLI_PATH + "' " + args + " 2>'" + errFile.string() + "'");
    SplitRun split{run.status, run.out, readFile(errFile)};
    fs::remove(errFile);
    return split;
}

std::string corpus(const std::string& name) {
    return std::string(MES_CORPUS_DIR) + "/" + name;
}

// The number printed after "label: " in the output of info.
long field(const std::string& out, const std::string& label) {
    std::smatch m;
    if (!std::regex_search(out, m, std::regex(label + ": (-?[0-9]+)")))
        return -1;
    return std::stol(m[1]);
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir =
            fs::temp_directory_path() /
            ("mes-cli-tests-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST_F(CliTest, UnknownCommandAndNoCommandAreUsageErrors) {
    for (const char* args : {"", "bogus"}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.out.find("usage: mes-cli"), std::string::npos) << args;
    }
}

TEST_F(CliTest, InfoReportsTheCorpusCounts) {
    const CliRun run = runCli("info '" + corpus("embcat__Bean.pes") + "'");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("format: PES"), std::string::npos) << run.out;
    EXPECT_EQ(field(run.out, "stitches"), 320) << run.out;
    EXPECT_NE(run.out.find("50.0 x 50.0 mm"), std::string::npos) << run.out;
}

TEST_F(CliTest, InfoRefusesAFileThatIsNotADesign) {
    const std::string text = path("notes.pes");
    std::ofstream(text) << "hello, this is not a design";
    const CliRun run = runCli("info '" + text + "'");
    EXPECT_EQ(run.status, 1) << run.out;
    const CliRun missing = runCli("info '" + path("missing.pes") + "'");
    EXPECT_EQ(missing.status, 1) << missing.out;
}

TEST_F(CliTest, DumpPrintsTheImportedLayerAsJson) {
    const CliRun run = runCli("dump '" + corpus("sendpp1__test.pes") + "'");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out.rfind("{\"blocks\":[", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\"stitchCount\":3"), std::string::npos) << run.out;
    // Imported designs are centred on the hoop: the 20-unit square runs from -10 to 10.
    EXPECT_NE(run.out.find("\"bounds\":[-10,-10,10,10]"), std::string::npos) << run.out;
}

TEST_F(CliTest, ConvertKeepsEveryStitchInBothVersions) {
    const std::string source = corpus("inkstitch-pyemb__Hopea.pes");
    const CliRun before = runCli("info '" + source + "'");
    ASSERT_EQ(before.status, 0) << before.out;
    const std::pair<const char*, const char*> versions[] = {{"1", "(0001)"}, {"5", "(0050)"}};
    for (const auto& [version, magic] : versions) {
        const std::string out = path(std::string("hopea-v") + version + ".pes");
        const CliRun convert =
            runCli("convert '" + source + "' '" + out + "' --pes-version " + version);
        ASSERT_EQ(convert.status, 0) << convert.out;
        const CliRun after = runCli("info '" + out + "'");
        ASSERT_EQ(after.status, 0) << after.out;
        EXPECT_NE(after.out.find(magic), std::string::npos) << after.out;
        // Long movements may be added to join the colour runs; no stitch may be lost.
        EXPECT_GE(field(after.out, "stitches"), field(before.out, "stitches")) << after.out;
    }
}

TEST_F(CliTest, ConvertRejectsAnUnknownVersion) {
    const CliRun run = runCli("convert '" + corpus("embcat__Bean.pes") + "' '" + path("x.pes") +
                              "' --pes-version 3");
    EXPECT_EQ(run.status, 2) << run.out;
    EXPECT_FALSE(fs::exists(path("x.pes")));
}

TEST_F(CliTest, ADesignSavedAsAProjectKeepsItsStitches) {
    const std::string source = corpus("embcat__Flower.pes");
    const std::string project = path("flower.mpes");
    const CliRun save = runCli("convert '" + source + "' '" + project + "'");
    ASSERT_EQ(save.status, 0) << save.out;
    const CliRun before = runCli("info '" + source + "'");
    const CliRun after = runCli("info '" + project + "'");
    ASSERT_EQ(after.status, 0) << after.out;
    EXPECT_NE(after.out.find("format: MPES project"), std::string::npos) << after.out;
    EXPECT_EQ(field(after.out, "stitches"), field(before.out, "stitches")) << after.out;

    // And back: the project merges into one PES that reads again.
    const std::string back = path("flower.pes");
    const CliRun merge = runCli("convert '" + project + "' '" + back + "' --pes-version 5");
    ASSERT_EQ(merge.status, 0) << merge.out;
    const CliRun again = runCli("info '" + back + "'");
    EXPECT_EQ(field(again.out, "stitches"), field(before.out, "stitches")) << again.out;
}

TEST_F(CliTest, RenderDrawsThePictureInEveryMode) {
    for (const char* mode : {"normal", "3d", "underlay"}) {
        const std::string out = path(std::string("flower-") + mode + ".png");
        const CliRun run =
            runCli("render '" + corpus("embcat__Flower.pes") + "' -o '" + out + "' --mode " + mode);
        ASSERT_EQ(run.status, 0) << mode << ": " << run.out;
        std::ifstream png(out, std::ios::binary);
        char magic[8] = {};
        png.read(magic, 8);
        EXPECT_EQ(std::string(magic + 1, 3), "PNG") << mode;
        EXPECT_GT(fs::file_size(out), 1000u) << mode;
    }
}

TEST_F(CliTest, ShapeWritesADesignOfTheAskedSize) {
    const std::string out = path("line.pes");
    const CliRun run = runCli("shape 4 --width 5 --height 3 -o '" + out + "'");
    ASSERT_EQ(run.status, 0) << run.out;
    const CliRun info = runCli("info '" + out + "'");
    ASSERT_EQ(info.status, 0) << info.out;
    EXPECT_NE(info.out.find("size: 50.0 x"), std::string::npos) << info.out;
}

TEST_F(CliTest, TextWithASizeTheFontDoesNotHaveIsAUsageError) {
    const CliRun run = runCli("text x --font 3 --size 3 -o '" + path("t.pes") + "'");
    EXPECT_EQ(run.status, 2) << run.out;
    EXPECT_FALSE(fs::exists(path("t.pes")));
}

// Width and height from the PNG's header; 0 x 0 when the file is not a PNG.
std::pair<int, int> pngSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char h[24] = {};
    in.read(reinterpret_cast<char*>(h), sizeof h);
    if (!in || std::string(reinterpret_cast<char*>(h) + 1, 3) != "PNG")
        return {0, 0};
    auto be = [&h](int at) {
        return int(h[at]) << 24 | int(h[at + 1]) << 16 | h[at + 2] << 8 | h[at + 3];
    };
    return {be(16), be(20)};
}

TEST_F(CliTest, ThumbnailFitsDesignsAndProjectsIntoTheAskedSize) {
    // Hopea is 1198 x 492 (0.1 mm): landscape. A project of it is drawn the same way.
    const std::string project = path("hopea.mpes");
    ASSERT_EQ(
        runCli("convert '" + corpus("inkstitch-pyemb__Hopea.pes") + "' '" + project + "'").status,
        0);
    struct Case {
        std::string in;
        const char* size;
        int w, h;
    } cases[] = {
        {corpus("inkstitch-pyemb__Hopea.pes"), "256", 256, 106},
        {corpus("inkstitch-pyemb__Hopea.pec"), "128", 128, 53},
        {project, "64", 64, 26},
        {corpus("embmodder__Star.pes"), "1", 1, 1},
    };
    for (const Case& c : cases) {
        const std::string out = path("t.png");
        fs::remove(out);
        const CliRun run = runCli("thumbnail '" + c.in + "' '" + out + "' " + c.size);
        ASSERT_EQ(run.status, 0) << c.in << ": " << run.out;
        EXPECT_EQ(pngSize(out), std::make_pair(c.w, c.h)) << c.in << " at " << c.size;
        EXPECT_FALSE(fs::exists(out + ".part"));
    }
}

// ---- Help, errors and statuses ----------------------------------------------------------------

// Replaces every "{name}" of the template with its value.
std::string filled(std::string text,
                   const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [name, value] : values) {
        for (std::size_t at; (at = text.find("{" + name + "}")) != std::string::npos;)
            text.replace(at, name.size() + 2, value);
    }
    return text;
}

// The commands of the program's table, as its completion of the first word lists them.
std::vector<std::string> commandNames() {
    std::vector<std::string> names;
    std::istringstream lines(runCli("__complete ''").out);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] != '-')
            names.push_back(line);
    }
    return names;
}

TEST_F(CliTest, HelpGoesToStandardOutputWithStatusZero) {
    const SplitRun overview = runSplit("--help");
    EXPECT_EQ(overview.status, 0);
    EXPECT_EQ(overview.err, "");
    EXPECT_EQ(overview.out.rfind("usage: mes-cli COMMAND", 0), 0u) << overview.out;
    EXPECT_NE(overview.out.find("Exit status: 0 done, 1"), std::string::npos) << overview.out;
    EXPECT_EQ(runSplit("help").out, overview.out);
    const std::vector<std::string> names = commandNames();
    ASSERT_GE(names.size(), 13u);
    for (const std::string& name : names) {
        EXPECT_NE(overview.out.find("\n  " + name + " "), std::string::npos) << name;
        const SplitRun help = runSplit("help " + name);
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_EQ(help.err, "") << name;
        EXPECT_EQ(help.out.rfind("usage: mes-cli " + name, 0), 0u) << help.out;
        EXPECT_NE(help.out.find("\n  -h, --help "), std::string::npos) << help.out;
        const SplitRun asOption = runSplit(name + " --help");
        EXPECT_EQ(asOption.status, 0) << name;
        EXPECT_EQ(asOption.out, help.out) << name;
    }
    // One line per operand and option.
    const SplitRun text = runSplit("text -h");
    EXPECT_EQ(
        text.out.rfind("usage: mes-cli text TEXT --font I --size S -o OUT.pes [OPTIONS]\n", 0), 0u)
        << text.out;
    for (const char* line :
         {"\n  TEXT ", "\n  --font I ", "\n  --size S ", "\n  --letter-space N ",
          "\n  --word-space N ", "\n  --color C ", "\n  --verbose ", "\n  -o OUT.pes "}) {
        const std::size_t at = text.out.find(line);
        EXPECT_NE(at, std::string::npos) << line << "\n" << text.out;
        EXPECT_EQ(text.out.find(line, at + 1), std::string::npos) << line;
    }
}

// The manual page is written by hand; each command of the table has its entry there.
TEST_F(CliTest, TheManualPageDescribesEveryCommand) {
    const std::string page = readFile(fs::path(MES_SOURCE_DIR) / "packaging/man/mes-cli.1.in");
    ASSERT_FALSE(page.empty());
    const std::vector<std::string> names = commandNames();
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) {
        // ".TP" then the entry's first line: .B name, .BI "name ..., .BR name ...
        const std::regex entry("\n\\.TP\n\\.B[IR]? \"?" + name + "[ \"\n]");
        EXPECT_TRUE(std::regex_search(page, entry)) << name;
    }
}

TEST_F(CliTest, EveryErrorNamesTheArgumentAndSetsTheStatus) {
    const std::string in = path("in.pes");
    ASSERT_EQ(runCli("shape 2 --width 3 --height 2 -o '" + in + "'").status, 0);
    std::ofstream(path("names.csv")) << "Anna\n";
    std::ofstream(path("a-file")) << "not a folder";
    const std::vector<std::pair<std::string, std::string>> values = {
        {"in", "'" + in + "'"},
        {"csv", "'" + path("names.csv") + "'"},
        {"missing", "'" + path("missing.pes") + "'"},
        {"out", "'" + path("out.pes") + "'"},
        {"nodir", "'" + path("no/such/folder/out") + "'"},
        {"file", "'" + path("a-file") + "'"},
        {"dir", "'" + dir.string() + "'"},
        {"blank", "'" + corpus("frno7-libpes__blank-v1.pes") + "'"},
    };
    const struct {
        const char* args;
        int status;
        const char* message;
    } cases[] = {
        {"", 2, "usage: mes-cli COMMAND"},
        {"bogus", 2, "mes-cli: unknown command \"bogus\""},
        {"help bogus", 2, "mes-cli help: unknown command \"bogus\""},
        {"version now", 2,
         "mes-cli version: unexpected argument \"now\": version takes no operands"},

        {"info", 2, "mes-cli info: missing FILE"},
        {"info {in} {in}", 2, "unexpected argument"},
        {"info --fast {in}", 2, "mes-cli info: unknown option --fast"},
        {"info {missing}", 1, "cannot read"},
        {"info {dir}", 1, "Is a directory"},

        {"dump", 2, "mes-cli dump: missing FILE"},
        {"dump --all {in}", 2, "unknown option --all"},
        {"dump {missing}", 1, "cannot read"},

        {"convert {in}", 2, "mes-cli convert: missing OUT"},
        {"convert a.pes a.dst", 2, "a.dst: OUT must end in .pes or .mpes"},
        {"convert {in} {out}", 2, "missing --pes-version 1|5"},
        {"convert {in} {out} --pes-version 3", 2, "--pes-version 3: must be 1 or 5"},
        {"convert {in} {out} --pes-version 5 --hoop 0x50", 2, "--hoop 0x50: must be WIDTHxHEIGHT"},
        {"convert {in} {out} --pes-version", 2, "--pes-version needs a value"},
        {"convert {in} {out} --quick", 2, "unknown option --quick"},
        {"convert {missing} {out} --pes-version 5", 1, "cannot read"},
        {"convert {in} {nodir}.pes --pes-version 5", 1, "cannot write"},

        {"render", 2, "mes-cli render: missing IN"},
        {"render {in}", 2, "missing -o OUT.png"},
        {"render {in} -o x.png --mode flat", 2, "--mode flat: must be normal, 3d or underlay"},
        {"render {in} -o x.png --scale 0", 2, "--scale 0: must be a number from 0.001 to 100"},
        {"render {in} -o x.jpg", 2, "-o x.jpg: OUT must end in .png"},
        {"render {in} -o x.png --dpi 3", 2, "unknown option --dpi"},
        {"render {missing} -o x.png", 1, "cannot read"},
        {"render {in} -o {nodir}.png", 1, "cannot write"},

        {"thumbnail", 2, "mes-cli thumbnail: missing IN"},
        {"thumbnail {in} x.png", 2, "mes-cli thumbnail: missing SIZE"},
        {"thumbnail {in} x.png 0", 2, "0: SIZE must be a whole number of pixels from 1 to 2048"},
        {"thumbnail {in} x.png 2049", 2, "2049: SIZE must be a whole number"},
        {"thumbnail {in} x.png 12px", 2, "12px: SIZE must be a whole number"},
        {"thumbnail {in} x.png ' 12'", 2, " 12: SIZE must be a whole number"},
        {"thumbnail {in} x.jpg 64", 2, "x.jpg: OUT.png must end in .png"},
        {"thumbnail {in} x.png 64 extra", 2, "unexpected argument \"extra\""},
        {"thumbnail {in} x.png 64 --fast", 2, "unknown option --fast"},
        {"thumbnail {missing} x.png 64", 1, "cannot read"},
        {"thumbnail {file} x.png 64", 1, "is not a PES file this editor can read"},
        {"thumbnail {blank} x.png 64", 1, "is not a PES file"},  // empty: the editor skips it
        {"thumbnail {in} {nodir}.png 64", 1, "cannot write"},

        {"text", 2, "mes-cli text: missing TEXT"},
        {"text '' --font 0 --size 0 -o {out}", 2, "mes-cli text: TEXT is empty"},
        {"text abc --font 0 --size 0", 2, "mes-cli text: missing -o OUT.pes"},
        {"text x --font 99 --size 0 -o {out}", 2,
         "--font 99: fonts are 0 to 14, see mes-cli fonts"},
        {"text x --font 3 --size 3 -o {out}", 2, "--size 3: font 3 (Purisa) has size steps 0 to 2"},
        {"text x --font 3 --size 11mm -o {out}", 2, "its sizes are 8, 10 and 13 mm"},
        {"text x --font 0 --size 0 --color 64 -o {out}", 2, "--color 64: colours are 0 to 63"},
        {"text x --font 0 --size 0 --letter-space 1.5 -o {out}", 2,
         "--letter-space 1.5: must be a whole number from -2000 to 2000"},
        {"text x --font 0 --size 0 -o out.dst", 2, "-o out.dst: OUT must end in .pes"},
        {"text x --font 0 --size 0 --bold -o {out}", 2, "unknown option --bold"},
        {"text x --font 0 --size 0 -o {nodir}.pes", 1, "cannot write"},

        {"batch", 2, "mes-cli batch: missing NAMES.csv"},
        {"batch {csv} --font 0 --size 0", 2, "missing -o DIR"},
        {"batch {csv} --size 0 -o d", 2, "missing --font I"},
        {"batch {csv} --font 0 --size 0 --hoop 60 -o d", 2, "--hoop 60: must be WIDTHxHEIGHT"},
        {"batch {csv} --font 0 --size 25mm -o d", 2, "has no 25 mm size"},
        {"batch {csv} --font 0 --size 0 --format dst -o d", 2, "unknown option --format"},
        {"batch {csv} --font 0 --size 0 -o ''", 2, "-o \"\": DIR is empty"},
        {"batch {missing} --font 0 --size 0 -o {nodir}", 1, "cannot read"},
        {"batch {dir} --font 0 --size 0 -o {nodir}", 1, "Is a directory"},
        {"batch {csv} --font 0 --size 0 -o {file}/out", 1, "cannot make the folder"},

        {"fonts extra", 2, "unexpected argument \"extra\": fonts takes no operands"},
        {"fonts --xml", 2, "unknown option --xml"},

        {"shape", 2, "mes-cli shape: missing KIND"},
        {"shape 2 --width 3 --height 2", 2, "missing -o OUT.pes"},
        {"shape 9 --width 3 --height 2 -o {out}", 2, "unknown shape \"9\": KIND is 0 to 8"},
        {"shape 2 --width 300 --height 2 -o {out}", 2,
         "--width 300: must be a number from 0 to 100"},
        {"shape 2 --width 3 --height 2 --round -o {out}", 2, "unknown option --round"},
        {"shape 2 --width 3 --height 2 -o {nodir}.pes", 1, "cannot write"},

        {"send", 2, "mes-cli send: missing FILE"},
        {"send {in} --stick host:99999", 2, "--stick host:99999: must be HOST or HOST:PORT"},
        {"send {in} --hoop 1x", 2, "--hoop 1x"},
        {"send {in} --retry", 2, "unknown option --retry"},
        {"send {missing}", 1, "cannot read"},
    };
    for (const auto& c : cases) {
        const std::string args = filled(c.args, values);
        const SplitRun run = runSplit(args);
        EXPECT_EQ(run.status, c.status) << args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << args << "\n" << run.err;
        EXPECT_EQ(run.out, "") << args;
        if (c.status == 2 && *c.args) {
            EXPECT_NE(run.err.find("usage: mes-cli"), std::string::npos) << args << "\n" << run.err;
        }
    }
    // Nothing was written on the way.
    EXPECT_FALSE(fs::exists(path("out.pes")));
    EXPECT_FALSE(fs::exists("x.png"));
    EXPECT_FALSE(fs::exists(path("no")));
}

// ---- Fonts and sizes
// -----------------------------------------------------------------------------

TEST_F(CliTest, FontsListsEveryFontWithItsSizesInMillimetres) {
    const SplitRun text = runSplit("fonts");
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("   0  ครุฑ"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Garuda      5 7 8 10 13 15 20 "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("  14  Modern        Modern      10 13 15 20 "), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("Noto Looped Thai Bold (Latin: Noto Sans Bold)"), std::string::npos);

    const SplitRun json = runSplit("fonts --json");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"fonts\":[{\"index\":0,\"displayName\":\"ครุฑ\",\"latinName\":"
                             "\"Garuda\",\"typeface\":\"Garuda Bold\",\"latinTypeface\":"
                             "\"Garuda Bold\",\"sizesMm\":[5,7,8,10,13,15,20]},",
                             0),
              0u)
        << json.out;
    EXPECT_NE(json.out.find("{\"index\":3,\"displayName\":\"ปุริสา\""), std::string::npos);
    EXPECT_NE(json.out.find("\"sizesMm\":[10,13,15,20]}]}\n"), std::string::npos) << json.out;
}

TEST_F(CliTest, ASizeInMillimetresPicksThatStep) {
    const CliRun byStep = runCli("text Anna --font 3 --size 1 -o '" + path("step.pes") + "'");
    ASSERT_EQ(byStep.status, 0) << byStep.out;
    const CliRun byHeight = runCli("text Anna --font 3 --size 10mm -o '" + path("mm.pes") + "'");
    ASSERT_EQ(byHeight.status, 0) << byHeight.out;
    const std::string a = runCli("info '" + path("step.pes") + "'").out;
    const std::string b = runCli("info '" + path("mm.pes") + "'").out;
    EXPECT_EQ(a.substr(a.find("stitches:")), b.substr(b.find("stitches:")));
    EXPECT_EQ(readFile(path("step.pes")), readFile(path("mm.pes")));
}

// ---- Batch -----------------------------------------------------------------------------------

TEST_F(CliTest, BatchWritesOneDesignPerNameAndSkipsWhatDoesNotFit) {
    const std::string csv = path("names.csv");
    std::ofstream(csv, std::ios::binary) << "\xEF\xBB\xBF"
                                            "สมชาย\r\n"
                                            "Anna,anna-k\r\n"
                                            "\"Smith, John\"\r\n"
                                            "\r\n"
                                            "Wolfeschlegelsteinhausen\r\n";
    const std::string out = path("designs");
    const SplitRun run =
        runSplit("batch '" + csv + "' --font 0 --size 5mm --hoop 60x20 -o '" + out + "'");
    EXPECT_EQ(run.status, 1) << run.out << run.err;

    // The right files: the name of the second column, or the text's own.
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(out))
        files.insert(entry.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"สมชาย.pes", "anna-k.pes", "Smith,_John.pes"}));

    // The right report: each written row, the skipped row with its line, the summary.
    EXPECT_NE(run.out.find("names.csv line 1: wrote " + out + "/สมชาย.pes ("), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("names.csv line 2: wrote " + out + "/anna-k.pes ("), std::string::npos);
    EXPECT_NE(run.out.find("names.csv line 3: wrote " + out + "/Smith,_John.pes ("),
              std::string::npos);
    EXPECT_EQ(run.out.find("line 4"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("names.csv line 5: \"Wolfeschlegelsteinhausen\" is "), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("mm, larger than the 60 x 20 mm hoop; skipped"), std::string::npos)
        << run.err;
    const std::string lastLine = run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1);
    EXPECT_EQ(lastLine, "3 of 4 names written to " + out +
                            " (PES version 5, 60 x 20 mm hoop); 1 skipped, line 5.\n");

    // Each design is what mes-cli text makes of the same name, and fits the hoop.
    const CliRun alone =
        runCli("text 'Smith, John' --font 0 --size 0 -o '" + path("alone.pes") + "'");
    ASSERT_EQ(alone.status, 0) << alone.out;
    const std::string fromText = runCli("info '" + path("alone.pes") + "'").out;
    const std::string fromBatch = runCli("info '" + out + "/Smith,_John.pes'").out;
    EXPECT_EQ(fromBatch.substr(fromBatch.find("stitches:")),
              fromText.substr(fromText.find("stitches:")));
    for (const std::string& name : files) {
        const CliRun info = runCli("info '" + out + "/" + name + "'");
        ASSERT_EQ(info.status, 0) << info.out;
        EXPECT_NE(info.out.find("version: 50 (0050)"), std::string::npos) << info.out;
        std::smatch m;
        ASSERT_TRUE(std::regex_search(info.out, m, std::regex("size: ([0-9.]+) x ([0-9.]+) mm")));
        EXPECT_LE(std::stod(m[1]), 60.0) << name;
        EXPECT_LE(std::stod(m[2]), 20.0) << name;
        EXPECT_GT(field(info.out, "stitches"), 100) << name;
    }
}

TEST_F(CliTest, BatchOfOnlyGoodNamesSucceedsAndReportsCharactersTheFontLacks) {
    const std::string csv = path("names.csv");
    std::ofstream(csv) << "Anna\nBob\n";
    const SplitRun good =
        runSplit("batch '" + csv + "' --font 14 --size 0 -o '" + path("ok") + "'");
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.err, "");
    EXPECT_TRUE(fs::exists(path("ok/Anna.pes")));
    EXPECT_TRUE(fs::exists(path("ok/Bob.pes")));

    // A name the font cannot spell is not written misspelt.
    std::ofstream(csv) << "Anna\nさくら\n";
    const SplitRun missing =
        runSplit("batch '" + csv + "' --font 14 --size 0 -o '" + path("kana") + "'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(
        missing.err.find("line 2: font 14 (Modern) has no stitches for \"さ\" (U+3055), \"く\" "
                         "(U+304F), \"ら\" (U+3089); skipped"),
        std::string::npos)
        << missing.err;
    EXPECT_TRUE(fs::exists(path("kana/Anna.pes")));
    EXPECT_EQ(std::distance(fs::directory_iterator(path("kana")), fs::directory_iterator()), 1);
    // mes-cli text writes what it can, as the editor does, and says what it left out.
    const SplitRun text =
        runSplit("text 'さ Anna' --font 14 --size 0 -o '" + path("kana.pes") + "'");
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.err.find("warning: font 14 has no stitches for \"さ\" (U+3055); left out"),
              std::string::npos)
        << text.err;

    // A list without names is a failure of the work.
    std::ofstream(csv) << "\n \n";
    const SplitRun empty = runSplit("batch '" + csv + "' --font 0 --size 0 -o '" + path("e") + "'");
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("holds no names"), std::string::npos) << empty.err;
}

// A pack that is there but holds no glyphs stops the work before any name, as a missing one
// does: the program is copied beside a data folder whose only pack is not a pack.
TEST_F(CliTest, AnUnreadablePackStopsTextAndBatchBeforeAnyName) {
    fs::create_directories(dir / "bin/data/MIVO_FONTS/MIVOFONT_001/05");
    std::ofstream(dir / "bin/data/MIVO_FONTS/MIVOFONT_001/05/stitch.pack", std::ios::binary)
        << "not a stitch pack";
    const fs::path program = dir / "bin/mes-cli";
    fs::copy_file(MES_CLI_PATH, program);
    const auto run = [&](const std::string& args) {
        return runShell("'" + program.string() + "' " + args + " 2>&1");
    };
    const CliRun text = run("text Anna --font 0 --size 0 -o '" + path("anna.pes") + "'");
    EXPECT_EQ(text.status, 1) << text.out;
    EXPECT_NE(text.out.find("mes-cli text: the stitch font pack of font 0 size step 0 is missing "
                            "or unreadable ("),
              std::string::npos)
        << text.out;
    EXPECT_FALSE(fs::exists(path("anna.pes")));

    std::ofstream(path("names.csv")) << "Anna\nBob\n";
    const CliRun batch =
        run("batch '" + path("names.csv") + "' --font 0 --size 0 -o '" + path("out") + "'");
    EXPECT_EQ(batch.status, 1) << batch.out;
    EXPECT_NE(batch.out.find("mes-cli batch: the stitch font pack of font 0 size step 0 is "
                             "missing or unreadable ("),
              std::string::npos)
        << batch.out;
    EXPECT_EQ(batch.out.find("line "), std::string::npos) << batch.out;
    EXPECT_FALSE(fs::exists(path("out/Anna.pes")));
}

// ---- Completion ------------------------------------------------------------------------------

// What bash offers with the completion script sourced, for the words after mes-cli (the last
// one being the word under the cursor).
std::string bashOffers(const std::string& words) {
    const std::string script = std::string(MES_SOURCE_DIR) + "/app/cli/mes-cli.bash-completion";
    const std::string command = "bash -c 'source \"" + script + "\"; COMP_WORDS=(\"" +
                                MES_CLI_PATH + "\" " + words +
                                "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _mes_cli 2>/dev/null; "
                                "printf \"%s \" \"${COMPREPLY[@]}\"'";
    return runShell(command).out;
}

TEST_F(CliTest, BashCompletesCommandsOptionsAndFonts) {
    EXPECT_EQ(bashOffers("b"), "batch ");
    EXPECT_EQ(bashOffers("text x --fo"), "--font ");
    EXPECT_EQ(bashOffers("batch n.csv --font 1"), "1 10 11 12 13 14 ");
    EXPECT_EQ(bashOffers("text x --font 3 --size \"\""), "0 1 2 8mm 10mm 13mm ");
    EXPECT_EQ(bashOffers("render x --mode 3"), "3d ");
    std::ofstream(path("design.pes")) << "x";
    EXPECT_EQ(bashOffers("info \"" + path("des") + "\""), path("design.pes") + " ");
}

}  // namespace
