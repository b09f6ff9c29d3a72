// The gallery server in-process on loopback, asked with the editor's own HTTP client so that the
// request paths go out exactly as written; and the mes-gallery-server program once, from outside.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/HttpConnection.h"
#include "tools/gallery-server/GalleryServer.h"

namespace fs = std::filesystem;

namespace {

// สวัสดี and คำอวยพร in UTF-8, and the same percent-encoded.
const std::string kHello =
    "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA\xE0\xB8\x94\xE0\xB8\xB5";
const std::string kWishes =
    "\xE0\xB8\x84\xE0\xB8\xB3\xE0\xB8\xAD\xE0\xB8\xA7\xE0\xB8\xA2\xE0\xB8\x9E\xE0\xB8\xA3";
const std::string kHelloUrl = "%E0%B8%AA%E0%B8%A7%E0%B8%B1%E0%B8%AA%E0%B8%94%E0%B8%B5";
const std::string kWishesUrl = "%E0%B8%84%E0%B8%B3%E0%B8%AD%E0%B8%A7%E0%B8%A2%E0%B8%9E%E0%B8%A3";
const std::string kMivo("#MIVO\x00\x05thai", 11);

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Reply {
    int status = 0;
    std::string body;
};

// One GET with the path sent verbatim.
Reply fetch(int port, const std::string& path) {
    Reply reply;
    happyhttp::HttpConnection connection("127.0.0.1", port);
    happyhttp::HttpCallbacks callbacks;
    callbacks.onBegin = [&](const happyhttp::HttpResponse& r, void*) { reply.status = r.status(); };
    callbacks.onData = [&](const happyhttp::HttpResponse&, void*, const unsigned char* b,
                           size_t n) { reply.body.append(reinterpret_cast<const char*>(b), n); };
    connection.setcallbacks(callbacks);
    connection.get(path);
    while (connection.outstanding() > 0) {
        connection.waitReadable(50);
        connection.poll();
    }
    return reply;
}

// A design folder inside a temporary folder that also holds a file outside the root.
struct Gallery {
    fs::path base, root;
    std::mutex mutex;  // the log lines come from the server's threads
    std::vector<std::string> log;
    std::unique_ptr<galleryserver::GalleryServer> server;

    Gallery() {
        base = fs::temp_directory_path() / ("gallery-server-test-" + std::to_string(::getpid()));
        fs::remove_all(base);
        root = base / "designs";
        writeFile(root / "Flowers" / "rose 1.pes", "#PES0001rose");
        writeFile(root / fs::u8path(kWishes) / fs::u8path(kHello + ".pes"), kMivo);
        writeFile(base / "secret.txt", "secret");
        fs::create_symlink(base / "secret.txt", root / "link.pes");
        server =
            std::make_unique<galleryserver::GalleryServer>(root, [this](const std::string& line) {
                std::lock_guard<std::mutex> lock(mutex);
                log.push_back(line);
            });
        EXPECT_TRUE(server->start("127.0.0.1", 0));
    }
    // The log once it holds n lines (a request's line may follow its reply by a moment).
    std::vector<std::string> logOf(size_t n) {
        for (int i = 0; i < 200; ++i) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (log.size() >= n)
                    break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::lock_guard<std::mutex> lock(mutex);
        return log;
    }
    ~Gallery() {
        server->stop();
        fs::remove_all(base);
    }
};

TEST(GalleryServer, ServesFilesAndRefusesPathsThatLeaveTheRoot) {
    Gallery g;
    struct Case {
        std::string path;
        int status;
        std::string body;
    } cases[] = {
        {"/Flowers/rose%201.pes", 200, "#PES0001rose"},
        {"/Flowers//rose%201.pes", 200, "#PES0001rose"},
        {"/" + kWishesUrl + "/" + kHelloUrl + ".pes", 200, kMivo},
        {"/Flowers/rose%201.pes?x=1", 200, "#PES0001rose"},
        {"/../secret.txt", 403, ""},
        {"/%2e%2e/secret.txt", 403, ""},
        {"/%2E%2E%2Fsecret.txt", 403, ""},
        {"/Flowers/..%2f..%2fsecret.txt", 403, ""},
        {"/Flowers/%2e%2e/%2e%2e/secret.txt", 403, ""},
        {"/Flowers/%5c..%5csecret.txt", 403, ""},
        {"/link.pes", 403, ""},
        {"/Flowers/missing.pes", 404, ""},
        {"/Flowers", 404, ""},
        {"/", 404, ""},
        {"/Flowers/rose%00.pes", 403, ""},
    };
    for (const Case& c : cases) {
        const Reply r = fetch(g.server->port(), c.path);
        EXPECT_EQ(r.status, c.status) << c.path;
        if (c.status == 200)
            EXPECT_EQ(r.body, c.body) << c.path;
        else
            EXPECT_EQ(r.body.find("secret"), std::string::npos) << c.path;
    }
    // One line at the start and one per request, with the decoded path and the status.
    const std::vector<std::string> log = g.logOf(1 + std::size(cases));
    ASSERT_EQ(log.size(), 1 + std::size(cases));
    auto logged = [&](const std::string& text) {
        return std::count_if(log.begin(), log.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    };
    EXPECT_EQ(logged("127.0.0.1 GET /Flowers/rose 1.pes -> 200 (12 bytes)"), 2);
    // "%2e%2e" and "%2E%2E%2F" read the same once decoded.
    EXPECT_EQ(logged("GET /../secret.txt -> 403"), 3);
    EXPECT_EQ(logged("-> 403"), 8);
    EXPECT_EQ(logged("-> 404"), 3);
}

TEST(GalleryServer, ResolvesOnlyRegularFilesInsideTheRoot) {
    Gallery g;
    const fs::path root = fs::canonical(g.root);
    bool refused = true;
    EXPECT_EQ(galleryserver::resolveRequest(root, "/Flowers/rose 1.pes", refused),
              root / "Flowers" / "rose 1.pes");
    EXPECT_FALSE(refused);
    EXPECT_TRUE(galleryserver::resolveRequest(root, "Flowers/rose 1.pes", refused).empty());
    EXPECT_TRUE(galleryserver::resolveRequest(root, "/Flowers/../../secret.txt", refused).empty());
    EXPECT_TRUE(refused);
    EXPECT_TRUE(galleryserver::resolveRequest(root, "/nothing", refused).empty());
    EXPECT_FALSE(refused);
}

TEST(GalleryServer, StartFailsWithoutAFolder) {
    galleryserver::GalleryServer server("/nonexistent/gallery", nullptr);
    EXPECT_FALSE(server.start("127.0.0.1", 0));
}

TEST(GalleryServerProgram, ServesUntilTerminated) {
    Gallery g;
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        const std::string root = g.root.string();
        ::execl(MES_GALLERY_SERVER, MES_GALLERY_SERVER, "--port", "0", "--root", root.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    FILE* lines = ::fdopen(out[0], "r");
    char first[512] = {};
    ASSERT_NE(std::fgets(first, sizeof first, lines), nullptr);
    const std::string line = first;
    const size_t colon = line.rfind(':');
    ASSERT_NE(colon, std::string::npos) << line;
    const int port = std::atoi(line.c_str() + colon + 1);
    EXPECT_EQ(fetch(port, "/Flowers/rose%201.pes").body, "#PES0001rose");
    char second[512] = {};
    ASSERT_NE(std::fgets(second, sizeof second, lines), nullptr);
    EXPECT_NE(std::string(second).find("-> 200"), std::string::npos) << second;
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    std::fclose(lines);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
