// mes-cli check from the outside, on small made-up PES files and on the corpus, and the first
// stitch record of the files mes-cli writes.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

struct CliResult {
    int status = -1;
    std::string out;  // standard output and standard error together
};

CliResult mesCli(const std::string& args) {
    CliResult run;
    FILE* pipe = popen(("'" MES_CLI_PATH "' " + args + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> chunk{};
    std::size_t n;
    while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        run.out.append(chunk.data(), n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

bool has(const CliResult& run, const std::string& text) {
    return run.out.find(text) != std::string::npos;
}

// A version 1 PES file around a PEC stitch stream (the end byte 0xFF added), one colour, with
// an empty thumbnail behind it: what a reader needs and nothing more.
Bytes pesFile(Bytes stream) {
    stream.push_back(0xFF);
    Bytes f = {'#', 'P', 'E', 'S', '0', '0', '0', '1', 16, 0, 0, 0, 0, 0, 0, 0};
    Bytes pec(532, 0x20);
    pec[48] = 0;   // one colour
    pec[49] = 20;  // black
    const std::size_t L = stream.size() + 20;
    pec[512] = pec[513] = 0;
    pec[514] = uint8_t(L & 0xFF);
    pec[515] = uint8_t(L >> 8 & 0xFF);
    pec[516] = 0;
    f.insert(f.end(), pec.begin(), pec.end());
    f.insert(f.end(), stream.begin(), stream.end());
    f.insert(f.end(), 228, 0x00);
    return f;
}

void shortMove(Bytes& s, int dx, int dy) {
    s.push_back(uint8_t(dx & 0x7F));
    s.push_back(uint8_t(dy & 0x7F));
}

void longMove(Bytes& s, int dx, int dy, uint8_t nibble) {
    for (int v : {dx, dy}) {
        s.push_back(uint8_t(nibble | ((v >> 8) & 0x0F)));
        s.push_back(uint8_t(v & 0xFF));
    }
}

// A satin column 4 mm wide, `steps` steps of 0.4 mm.
void column(Bytes& s, int steps) {
    for (int i = 0; i < steps; ++i)
        shortMove(s, i % 2 ? 40 : -40, 4);
}

class CheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir =
            fs::temp_directory_path() /
            ("mes-cli-check-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string p = (dir / name).string();
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return "'" + p + "'";
    }

    fs::path dir;
};

TEST_F(CheckTest, ACleanDesignExitsWithZero) {
    Bytes s;
    longMove(s, -200, -100, 0x90);  // a jump to the start
    column(s, 200);
    const std::string file = write("clean.pes", pesFile(s));
    const CliResult run = mesCli("check " + file + " --hoop 100x100");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(has(run, "Nothing here would stop a machine.")) << run.out;
    EXPECT_TRUE(has(run, "fits")) << run.out;
    EXPECT_TRUE(has(run, "200 sewn, 1 jumps, 0 trims")) << run.out;
    EXPECT_TRUE(has(run, "Black (900)")) << run.out;
    // 201 records at 600 a minute.
    EXPECT_TRUE(has(run, "about 20 s at 600 stitches per minute")) << run.out;
    const CliResult json = mesCli("check " + file + " --hoop 100x100 --json --spm 300");
    EXPECT_EQ(json.status, 0) << json.out;
    EXPECT_EQ(json.out.rfind("{\"file\":", 0), 0u) << json.out;
    EXPECT_TRUE(has(json, "\"stops_machine\":false,\"issues\":[]}")) << json.out;
    EXPECT_TRUE(has(json, "\"sewing_seconds\":40.2")) << json.out;
    EXPECT_TRUE(has(json, "\"fits_hoop\":true")) << json.out;
}

TEST_F(CheckTest, OneStitchTooLong) {
    Bytes s;
    longMove(s, 0, 0, 0x90);
    column(s, 10);
    longMove(s, 130, 0, 0x80);  // 13 mm, a plain stitch in long form
    column(s, 10);
    longMove(s, 0, 300, 0x90);  // 30 mm, but a jump
    column(s, 10);
    const std::string file = write("long.pes", pesFile(s));
    const CliResult run = mesCli("check " + file);
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_TRUE(has(run, "A machine will refuse this design or stop on it:")) << run.out;
    EXPECT_TRUE(has(run, "Stitches longer than 12.1 mm: 1 (the longest is 13.0 mm).")) << run.out;
    EXPECT_TRUE(has(run, "stitch 12 (colour 1)")) << run.out;
    const CliResult json = mesCli("check " + file + " --json");
    EXPECT_EQ(json.status, 1) << json.out;
    EXPECT_TRUE(has(json,
                    "{\"kind\":\"long_stitches\",\"stops_machine\":true,\"count\":1,"
                    "\"worst_mm\":13.00"))
        << json.out;
    EXPECT_TRUE(has(json, "\"places\":[{\"stitch\":12,\"colour\":1,")) << json.out;
}

TEST_F(CheckTest, ThreadPilingUpIsAWarning) {
    Bytes s;
    longMove(s, 0, 0, 0x90);
    column(s, 20);
    for (int i = 0; i < 40; ++i)  // 40 passes of 0.6 mm in one spot: 9.6 layers
        shortMove(s, i % 2 ? -6 : 6, 0);
    column(s, 20);
    const std::string file = write("pile.pes", pesFile(s));
    const CliResult run = mesCli("check " + file);
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(has(run, "Warnings (a machine sews these")) << run.out;
    EXPECT_TRUE(has(run, "Places where more than 6 layers of thread pile up: 1.")) << run.out;
    const CliResult json = mesCli("check " + file + " --json");
    EXPECT_TRUE(has(json, "{\"kind\":\"pile_ups\",\"stops_machine\":false,\"count\":1,"))
        << json.out;
    EXPECT_TRUE(has(json, "\"stops_machine\":false,\"issues\":[")) << json.out;
}

TEST_F(CheckTest, OneMillimetreWiderThanTheHoop) {
    // From x = -505 to 505: 101 mm wide, 4 mm high, in stitches of 10.1 mm.
    Bytes s;
    longMove(s, -505, 0, 0x90);
    for (int i = 0; i < 10; ++i) {
        longMove(s, 101, 0, 0x80);
        shortMove(s, 0, i % 2 ? -40 : 40);
    }
    const std::string file = write("wide.pes", pesFile(s));
    const CliResult run = mesCli("check " + file + " --hoop 100x100");
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_TRUE(has(run, "too small")) << run.out;
    EXPECT_TRUE(has(run, "The design is 101.0 x 4.0 mm, larger than the 100 x 100 mm hoop."))
        << run.out;
    const CliResult json = mesCli("check " + file + " --hoop 100x100 --json");
    EXPECT_TRUE(has(json, "\"fits_hoop\":false")) << json.out;
    EXPECT_TRUE(has(json, "{\"kind\":\"too_large\",\"stops_machine\":true,\"count\":1,"))
        << json.out;
    EXPECT_EQ(mesCli("check " + file + " --hoop 101x100").status, 0);
    EXPECT_EQ(mesCli("check " + file).status, 0);  // no hoop, no size check
}

TEST_F(CheckTest, UsageAndUnreadableFiles) {
    Bytes s;
    column(s, 10);
    const std::string file = write("small.pes", pesFile(s));
    for (const std::string& args :
         {std::string(), std::string("--json"), file + " --hoop 100", file + " --hoop 0x100",
          file + " --hoop 100x100x3", file + " --spm 0", file + " --spm fast", file + " --bogus",
          file + " " + file}) {
        const CliResult run = mesCli("check " + args);
        EXPECT_EQ(run.status, 2) << args << ": " << run.out;
        EXPECT_TRUE(has(run, "usage: mes-cli check FILE")) << run.out;
    }
    EXPECT_EQ(mesCli("check " + file + " --spm 1200 --json --hoop 10x10").status, 0);
    const std::string notes = write("notes.pes", Bytes{'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(mesCli("check " + notes).status, 1);
    EXPECT_EQ(mesCli("check '" + (dir / "missing.pes").string() + "'").status, 1);
    EXPECT_TRUE(has(mesCli("--help"), "check"));
    EXPECT_TRUE(has(mesCli("check --help"), "--spm N"));
}

// Lettering written by mes-cli begins with a jump and passes; the same file as the writer wrote
// it before, with a long plain first record, makes the machine sew 130 mm and fails.
TEST_F(CheckTest, LetteringBeginsWithAJump) {
    const std::string out = (dir / "t.pes").string();
    const CliResult text =
        mesCli("text \"สวัสดีครับ Hello ปิ่น ก่ำ\" --font 0 --size 5 -o '" + out + "'");
    ASSERT_EQ(text.status, 0) << text.out;
    std::ifstream in(out, std::ios::binary);
    Bytes f((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(f.size(), 600u);
    const std::size_t P = f[8] | f[9] << 8 | f[10] << 16 | std::size_t(f[11]) << 24;
    ASSERT_LT(P + 536, f.size());
    EXPECT_EQ(f[P + 532] & 0xF0, 0x90);
    EXPECT_EQ(f[P + 534] & 0xF0, 0x90);
    const CliResult now = mesCli("check '" + out + "' --hoop 300x100");
    EXPECT_EQ(now.status, 0) << now.out;

    f[P + 532] = uint8_t(0x80 | (f[P + 532] & 0x0F));
    f[P + 534] = uint8_t(0x80 | (f[P + 534] & 0x0F));
    const CliResult before = mesCli("check " + write("t-before.pes", f) + " --hoop 300x100");
    EXPECT_EQ(before.status, 1) << before.out;
    EXPECT_TRUE(has(before, "Stitches longer than 12.1 mm: 1")) << before.out;
    EXPECT_TRUE(has(before, "stitch 1 (colour 1)")) << before.out;

    // A shape too, and the project of either, checked as the stick export writes it.
    const std::string shape = (dir / "s.pes").string();
    ASSERT_EQ(mesCli("shape 8 --width 5 --height 3 -o '" + shape + "'").status, 0);
    std::ifstream sin(shape, std::ios::binary);
    Bytes g((std::istreambuf_iterator<char>(sin)), std::istreambuf_iterator<char>());
    const std::size_t Q = g[8] | g[9] << 8 | g[10] << 16 | std::size_t(g[11]) << 24;
    ASSERT_LT(Q + 536, g.size());
    EXPECT_EQ(g[Q + 532] & 0xF0, 0x90);
    const std::string project = (dir / "t.mpes").string();
    ASSERT_EQ(mesCli("convert '" + out + "' '" + project + "'").status, 0);
    const CliResult p = mesCli("check '" + project + "' --json");
    EXPECT_EQ(p.status, 0) << p.out;
    EXPECT_TRUE(has(p, "\"format\":\"MPES project\"")) << p.out;
}

// Every corpus file, in words and as JSON: an answer and a status, never a crash.
TEST_F(CheckTest, EveryCorpusFile) {
    const fs::path corpus(MES_CORPUS_DIR);
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "no corpus at " << corpus;
    int designs = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        const std::string file = "'" + entry.path().string() + "'";
        const std::string name = entry.path().filename().string();
        const CliResult words = mesCli("check " + file + " --hoop 130x180");
        ASSERT_TRUE(words.status == 0 || words.status == 1) << name << ": " << words.out;
        const CliResult json = mesCli("check " + file + " --hoop 130x180 --json");
        ASSERT_EQ(json.status, words.status) << name;
        if (json.out.rfind("{\"file\":", 0) != 0) {
            EXPECT_EQ(json.status, 1) << name << ": " << json.out;
            continue;
        }
        ++designs;
        EXPECT_EQ(json.out.substr(json.out.size() - 3), "]}\n") << name;
        EXPECT_TRUE(has(json, words.status ? "\"stops_machine\":true,\"issues\""
                                           : "\"stops_machine\":false,\"issues\""))
            << name << ": " << json.out;
    }
    EXPECT_GT(designs, 10);
}

}  // namespace
