// The stick link (net/MivoStickLink) against the simulated stick, run in-process on loopback.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "net/MivoStickLink.h"
#include "tools/stick-sim/StickServer.h"

namespace fs = std::filesystem;

namespace {

std::vector<unsigned char> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
}

// A simulator on a free loopback port with its own store folder, and a quiet link to it.
struct Stick {
    fs::path store;
    std::vector<std::string> simLog;
    std::string traces;
    std::vector<std::string> logs;
    std::unique_ptr<sticksim::StickServer> server;
    std::unique_ptr<MivoStickLink> link;

    explicit Stick(sticksim::Options options = {}) {
        store = fs::temp_directory_path() /
                ("stick-sim-test-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        fs::remove_all(store);
        options.storeDir = store.string();
        server = std::make_unique<sticksim::StickServer>(
            options, [this](const std::string& line) { simLog.push_back(line); });
        EXPECT_TRUE(server->start("127.0.0.1", 0));
        link = std::make_unique<MivoStickLink>("127.0.0.1", server->port());
        link->setTraceSink([this](const std::string& t) { traces += t; });
        link->setLogSink(
            [this](MivoStickLink::LogLevel, const std::string& t) { logs.push_back(t); });
        happyhttp::Timeouts quick;
        quick.connectMs = 1000;
        quick.sendMs = 1000;
        quick.replyMs = 1000;
        link->setTimeouts(quick);
    }
    ~Stick() {
        server->stop();
        fs::remove_all(store);
    }
    static inline int serial = 0;
};

const fs::path kCorpusPes = fs::path(MES_CORPUS_DIR) / "embcat__Bean.pes";

}  // namespace

TEST(StickSim, MountAndUnmountWithAndWithoutLineEnds) {
    for (bool lineEnd : {false, true}) {
        sticksim::Options options;
        options.lineEnd = lineEnd;
        Stick stick(options);
        EXPECT_TRUE(stick.link->mount()) << lineEnd;
        EXPECT_EQ(stick.link->responseText(),
                  lineEnd ? "{\"status\":\"0\"}\r\n" : "{\"status\":\"0\"}");
        EXPECT_TRUE(stick.server->mounted());
        EXPECT_TRUE(stick.link->unmount()) << lineEnd;
        EXPECT_FALSE(stick.server->mounted());
        EXPECT_EQ(stick.logs, (std::vector<std::string>{"Connected to MivoStick\n",
                                                        "Disconnected from MivoStick"}));
    }
}

TEST(StickSim, WrongAnswersAreRefused) {
    sticksim::Options options;
    options.wrong = true;
    Stick stick(options);
    EXPECT_FALSE(stick.link->mount());
    EXPECT_EQ(stick.link->responseText(), "{\"status\": \"0\"}");
    std::vector<unsigned char> file(100, 'p');
    stick.link->upload(file.data(), file.size());
    EXPECT_FALSE(stick.link->uploadConfirmed());
    EXPECT_FALSE(stick.link->unmount());
    EXPECT_EQ(stick.link->version(), "unknown");
}

TEST(StickSim, VersionIsNotAskedWhileBusy) {
    Stick stick;
    EXPECT_EQ(stick.link->version(), "1.05");
    EXPECT_EQ(stick.server->requests("/sdcard/version"), 1);
    ASSERT_TRUE(stick.link->mount());
    EXPECT_EQ(stick.link->version(), "0");
    EXPECT_EQ(stick.server->requests("/sdcard/version"), 1);
    EXPECT_NE(stick.traces.find("Version Busy...\n"), std::string::npos);
    ASSERT_TRUE(stick.link->unmount());
    EXPECT_EQ(stick.link->version(), "1.05");
    EXPECT_EQ(stick.server->requests("/sdcard/version"), 2);
}

TEST(StickSim, UploadArrivesIntactAndIsAValidPes) {
    auto original = readFile(kCorpusPes);
    ASSERT_FALSE(original.empty()) << kCorpusPes;
    Stick stick;
    ASSERT_TRUE(stick.link->mount());
    stick.link->upload(original.data(), original.size());
    EXPECT_TRUE(stick.link->uploadConfirmed()) << stick.link->responseText();
    EXPECT_TRUE(stick.link->unmount());

    EXPECT_EQ(stick.server->lastUploadLength(), (long long)(167 + original.size() + 18));
    fs::path stored = stick.store / "mivo_emb.pes";
    EXPECT_EQ(stick.server->lastStored(), stored.string());
    EXPECT_EQ(readFile(stored), original);
    EXPECT_TRUE(stick.server->lastStoredIsPes());
    bool logged = false;
    for (const auto& line : stick.simLog)
        logged |= line.find("valid PES, header #PES0001") != std::string::npos;
    EXPECT_TRUE(logged);
}

TEST(StickSim, UploadOfAThousandBytes) {
    std::vector<unsigned char> junk(1000);
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<unsigned char>(i * 31 + 7);
    Stick stick;
    ASSERT_TRUE(stick.link->mount());
    stick.link->upload(junk.data(), junk.size());
    EXPECT_TRUE(stick.link->uploadConfirmed());
    EXPECT_EQ(stick.server->lastUploadLength(), 1000 + 167 + 18);
    EXPECT_EQ(readFile(stick.store / "mivo_emb.pes"), junk);
    // The simulator says what it thinks of the file.
    EXPECT_FALSE(stick.server->lastStoredIsPes());
    bool logged = false;
    for (const auto& line : stick.simLog)
        logged |= line.find("NOT a valid PES") != std::string::npos;
    EXPECT_TRUE(logged);
}

TEST(StickSim, UploadWithoutMountIsNotConfirmed) {
    Stick stick;
    std::vector<unsigned char> file(10, 'x');
    stick.link->upload(file.data(), file.size());
    EXPECT_FALSE(stick.link->uploadConfirmed());
    EXPECT_FALSE(fs::exists(stick.store / "mivo_emb.pes"));
}

TEST(StickSim, SlowStickTimesOut) {
    sticksim::Options options;
    options.delayMs = 500;
    Stick stick(options);
    happyhttp::Timeouts impatient;
    impatient.replyMs = 150;
    stick.link->setTimeouts(impatient);
    EXPECT_FALSE(stick.link->mount());
    EXPECT_EQ(stick.link->responseText(), "0");
    EXPECT_NE(stick.traces.find("Exception: recv(): Connection timed out"), std::string::npos);
}

TEST(StickSim, EarlyCloseIsAFailure) {
    sticksim::Options options;
    options.closeEarly = true;
    Stick stick(options);
    EXPECT_FALSE(stick.link->mount());
    EXPECT_NE(stick.traces.find("Exception: Connection closed unexpectedly"), std::string::npos);
    std::vector<unsigned char> file(10, 'x');
    try {
        stick.link->upload(file.data(), file.size());
        FAIL() << "upload to a stick that hangs up succeeded";
    } catch (const happyhttp::Wobbly& e) {
        EXPECT_STREQ(e.what(), "Connection closed unexpectedly");
    }
}

TEST(StickSim, RefusingStick) {
    sticksim::Options options;
    options.refuse = true;
    Stick stick(options);
    EXPECT_FALSE(stick.link->mount());
    EXPECT_EQ(stick.link->version(), "0");
    EXPECT_NE(stick.traces.find("Exception: connect(): Connection refused"), std::string::npos);
    std::vector<unsigned char> file(10, 'x');
    EXPECT_THROW(stick.link->upload(file.data(), file.size()), happyhttp::Wobbly);
}

TEST(StickSim, RejectedUploadIsStoredButNotConfirmed) {
    sticksim::Options options;
    options.rejectUpload = true;
    Stick stick(options);
    EXPECT_TRUE(stick.link->mount());
    std::vector<unsigned char> file(10, 'x');
    stick.link->upload(file.data(), file.size());
    EXPECT_FALSE(stick.link->uploadConfirmed());
    EXPECT_TRUE(stick.link->unmount());
}

TEST(StickSim, OnlyTheUploadIsSlow) {
    sticksim::Options options;
    options.uploadDelayMs = 500;
    Stick stick(options);
    happyhttp::Timeouts impatient;
    impatient.replyMs = 150;
    stick.link->setTimeouts(impatient);
    EXPECT_TRUE(stick.link->mount());
    std::vector<unsigned char> file(10, 'x');
    EXPECT_THROW(stick.link->upload(file.data(), file.size()), happyhttp::Wobbly);
    EXPECT_TRUE(stick.link->unmount());
}

TEST(StickSim, StopRightAfterStartEnds) {
    // Stopping before the server thread has begun to listen must not leave it listening.
    for (int i = 0; i < 20; ++i) {
        sticksim::StickServer server({}, nullptr);
        ASSERT_TRUE(server.start("127.0.0.1", 0));
        server.stop();
    }
}
