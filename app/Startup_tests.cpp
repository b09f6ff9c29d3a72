// Start-up decisions, and the editor itself started headless and ended as a desktop would end it.

#include "app/Startup.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <boost/filesystem.hpp>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace fs = boost::filesystem;

namespace {

TEST(StickVersion, AsksUntilTheVersionIsNotZeroThreeTimesAtMost) {
    struct Case {
        std::vector<std::string> replies;
        int calls, version;
    } cases[] = {
        {{"1.05"}, 1, 105},
        {{"0", "0", "0", "9"}, 3, 0},  // the stick never answers: three queries
        {{"0", "", "2.10"}, 3, 210},
        {{"junk", "1"}, 2, 100},
        {{"0.004", "0", "0"}, 3, 0},   // below 0.01 truncates to 0
        {{"-3", "1e300", "x"}, 3, 0},  // nonsense reads as 0
    };
    for (const Case& c : cases) {
        int calls = 0;
        const int v = queryStickVersion([&] { return c.replies.at(size_t(calls++)); });
        EXPECT_EQ(calls, c.calls) << c.replies[0];
        EXPECT_EQ(v, c.version) << c.replies[0];
    }
}

TEST(CommandLineDocument, OpensProjectsImportsDesignsAndIgnoresTheRest) {
    struct Case {
        const char* file;
        DocumentKind kind;
        const char* after;
    } cases[] = {
        {"", DocumentKind::None, ""},
        {"D:\\x\\Y.MPES", DocumentKind::Project, "D:\\x\\Y.MPES"},
        {"/home/u/a.mpes", DocumentKind::Project, "/home/u/a.mpes"},
        {"/home/u/rose.PES", DocumentKind::PesDesign, ""},  // imported: the design is untitled
        {"/home/u/notes.txt", DocumentKind::None, ""},
    };
    for (const Case& c : cases) {
        const DocumentPlan p = planCommandLineDocument(c.file);
        EXPECT_EQ(p.kind, c.kind) << c.file;
        EXPECT_EQ(p.currentOpenFileAfter, c.after) << c.file;
        if (c.kind != DocumentKind::None) {
            EXPECT_EQ(p.path, c.file);
        }
    }
}

TEST(WindowStateAtStart, FullscreenWinsOverMaximisedAndIsCleared) {
    WindowState s;
    s.isWindowMaximized = true;
    s.isWindowFullscreen = true;
    EXPECT_FALSE(maximizeAtStart(s));
    EXPECT_FALSE(s.isWindowFullscreen);
    EXPECT_TRUE(maximizeAtStart(s));  // the flag was cleared, maximised remains
    s.isWindowMaximized = false;
    EXPECT_FALSE(maximizeAtStart(s));
}

// ---- the editor as a process ----

std::string editorPath() {
    char* base = SDL_GetBasePath();
    std::string path = base ? std::string(base) + "mes" : "mes";
    SDL_free(base);
    return path;
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p.string(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Starts the editor headless with its preferences in `home`, waits until it has written its
// window state (the window exists then), and ends it the given way. Returns the wait status.
int runEditorUntil(const fs::path& home, const fs::path& configFile, int signalToSend) {
    const std::string exe = editorPath();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", (home / "share").c_str(), 1);
        if (freopen("/dev/null", "w", stdout) == nullptr)
            _exit(126);
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline && !fs::exists(configFile)) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return status;  // ended on its own
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Give the loop a moment to start running frames, then end it.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, signalToSend);
    waitpid(pid, &status, 0);
    return status;
}

TEST(EditorProcess, EndsWithStatusZeroOnSigtermAndWritesItsWindowState) {
    if (!fs::exists(editorPath()))
        GTEST_SKIP() << "the editor is not built";
    const fs::path home = fs::temp_directory_path() / fs::unique_path("mes-home-%%%%-%%%%");
    fs::create_directories(home);
    const fs::path config = home / "share" / "MivoShop" / "MivoEMB" / "config.ini";

    const int status = runEditorUntil(home, config, SIGTERM);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string text = readFile(config);
    EXPECT_NE(text.find(",1024,673\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("isWindowMaximized = false\r\n"), std::string::npos) << text;
    fs::remove_all(home);
}

}  // namespace
