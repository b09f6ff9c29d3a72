// mes-cli from the outside: each test runs the built program and checks what it prints, what it
// writes and its exit status, the way a script using it would.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status = -1;
    std::string out;  // standard output and standard error together
};

CliRun runCli(const std::string& args) {
    CliRun run;
    const std::string command = std::string("'") + MES_CLI_PATH + "' " + args + " 2>&1";
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

TEST_F(CliTest, ThumbnailRefusesBadSizesAndFilesWithoutWritingAnything) {
    const std::string out = path("t.png");
    const std::string pes = "'" + corpus("embcat__Bean.pes") + "' '" + out + "' ";
    const std::string blank = "'" + corpus("frno7-libpes__blank-v1.pes") + "' '" + out + "' 64";
    const std::string text = path("notes.txt");
    std::ofstream(text) << "not a design";
    struct Case {
        std::string args;
        int status;
        const char* says;
    } cases[] = {
        {pes + "0", 2, "usage: mes-cli thumbnail"},
        {pes + "2049", 2, "usage: mes-cli thumbnail"},
        {pes + "12px", 2, "usage: mes-cli thumbnail"},
        {pes, 2, "usage: mes-cli thumbnail"},
        {"'" + path("missing.pes") + "' '" + out + "' 64", 1, "cannot open"},
        {"'" + text + "' '" + out + "' 64", 1, "not a PES file"},
        {blank, 1, "not a PES file"},  // an empty design: the editor does not import it
        {pes + "64 extra", 2, "usage: mes-cli thumbnail"},
        {"'" + corpus("embcat__Bean.pes") + "' '" + path("no/such/folder/t.png") + "' 64", 1,
         "cannot write"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli("thumbnail " + c.args);
        EXPECT_EQ(run.status, c.status) << c.args << ": " << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.args << ": " << run.out;
        EXPECT_FALSE(fs::exists(out)) << c.args;
    }
}

}  // namespace
