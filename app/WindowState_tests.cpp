// The window state file: its reader's syntax, the repairs at load time, the exact bytes written,
// and the load/save cycle on real files in a temporary preferences folder.

#include "app/WindowState.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <fstream>
#include <iterator>
#include <string>

namespace fs = boost::filesystem;

namespace {

std::array<std::string, 4> lookup(const std::string& text, const std::string& key, bool* found) {
    std::array<std::string, 4> f;
    *found = findIniKey(text, key, f);
    return f;
}

TEST(IniReader, SyntaxCases) {
    struct Case {
        const char* name;
        std::string text;
        const char* key;
        bool found;
        std::array<std::string, 4> fields;
    } cases[] = {
        {"plain", "window = 1,2,3,4\r\n", "window", true, {"1", "2", "3", "4"}},
        {"no spaces", "window=1,2,3,4", "window", true, {"1", "2", "3", "4"}},
        {"spaces and tabs everywhere",
         " win dow\t=  1 , 2 ,3,\t4 \r\n",
         "window",
         true,
         {"1", "2", "3", "4"}},
        {"key case ignored", "WINDOW = 5,6,7,8\r\n", "Window", true, {"5", "6", "7", "8"}},
        {"value case kept",
         "isWindowMaximized = TRUE\r\n",
         "iswindowmaximized",
         true,
         {"TRUE", "", "", ""}},
        {"LF only", "a = 1\nwindow = 9\n", "window", true, {"9", "", "", ""}},
        {"CR only", "a = 1\rwindow = 9\r", "window", true, {"9", "", "", ""}},
        {"last line without line end", "a = 1\r\nwindow = 3,4", "window", true, {"3", "4", "", ""}},
        {"first match wins", "window = 1\r\nwindow = 2\r\n", "window", true, {"1", "", "", ""}},
        {"missing key", "windows = 1\r\n", "window", false, {"", "", "", ""}},
        {"a comma in the fourth field starts it again",
         "window = 1,2,3,4,5",
         "window",
         true,
         {"1", "2", "3", "5"}},
        {"comment line before",
         "// saved by MES\r\nwindow = 1,2,3,4\r\n",
         "window",
         true,
         {"1", "2", "3", "4"}},
        {"comment after a value swallows the next line",
         "a = 1 // x\r\nwindow = 1\r\n",
         "window",
         false,
         {"", "", "", ""}},
        {"key before a comment runs into the next line",
         "win // x\r\ndow = 7\r\n",
         "window",
         true,
         {"7", "", "", ""}},
        {"single slash is text", "window = 1/2\r\n", "window", true, {"1/2", "", "", ""}},
        {"empty text", "", "window", false, {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        bool found = false;
        const auto f = lookup(c.text, c.key, &found);
        EXPECT_EQ(found, c.found) << c.name;
        if (found) {
            EXPECT_EQ(f, c.fields) << c.name;
        }
    }
}

TEST(IniReader, OverlongKeysNeverMatchAndFieldsAreCut) {
    const std::string longKey(40, 'k');
    bool found = true;
    lookup(longKey + " = 1\r\n", longKey, &found);
    EXPECT_FALSE(found);
    // A long key whose first 31 characters are the key asked for does not match either.
    lookup(std::string(31, 'k') + "extra = 1\r\n", std::string(31, 'k'), &found);
    EXPECT_FALSE(found);
    lookup(std::string(31, 'k') + " = 1\r\n", std::string(31, 'k'), &found);
    EXPECT_TRUE(found);

    const auto f = lookup("window = " + std::string(300, '9') + ",2\r\n", "window", &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(f[0].size(), 127u);
    EXPECT_EQ(f[1], "2");
}

TEST(WindowStateText, AppliesTheThreeKeys) {
    WindowState s = defaultWindowState(1280, 800);
    EXPECT_EQ(s.x, 128);
    EXPECT_EQ(s.y, 63);
    EXPECT_EQ(s.w, 1024);
    EXPECT_EQ(s.h, 673);

    applyWindowStateText(s,
                         "WINDOW = 10,20,800,600\r\nisWindowMaximized = true\r\n"
                         "isWindowFullscreen = false\r\n");
    EXPECT_EQ(s.x, 10);
    EXPECT_EQ(s.y, 20);
    EXPECT_EQ(s.w, 800);
    EXPECT_EQ(s.h, 600);
    EXPECT_TRUE(s.isWindowMaximized);
    EXPECT_FALSE(s.isWindowFullscreen);

    // "TRUE" is not "true"; a key that is missing keeps its value; an empty first field too.
    applyWindowStateText(s, "isWindowMaximized = TRUE\r\nwindow = ,1,2,3\r\n");
    EXPECT_FALSE(s.isWindowMaximized);
    EXPECT_EQ(s.x, 10);
    EXPECT_EQ(s.w, 800);

    // Two fields: the missing ones read as 0.
    applyWindowStateText(s, "window = 30,40\r\n");
    EXPECT_EQ(s.x, 30);
    EXPECT_EQ(s.y, 40);
    EXPECT_EQ(s.w, 0);
    EXPECT_EQ(s.h, 0);

    // Digits are read like atoi: leading digits, a sign, huge values clamped.
    applyWindowStateText(s, "window = -5,12px,99999999999,abc\r\n");
    EXPECT_EQ(s.x, -5);
    EXPECT_EQ(s.y, 12);
    EXPECT_EQ(s.w, 2147483647);
    EXPECT_EQ(s.h, 0);
}

TEST(WindowStateText, KeepsTheCornerOnTheDesktop) {
    struct Case {
        int x, y, w, h;
        int wantX, wantY;
        bool changed;
    } cases[] = {
        {100, 50, 1024, 673, 100, 50, false},
        {-50, 50, 1024, 673, 0, 50, true},
        {100, -1, 1024, 673, 100, 0, true},
        {500, 50, 1024, 673, 1280 - 1024, 50, true},       // right edge beyond the desktop
        {0, 300, 1024, 673, 0, 800 - 673, true},           // bottom edge beyond
        {10, 0, 1400, 600, 1280 - 1400, 0, true},          // wider than the desktop: negative x
        {2147483000, 0, 1024, 673, 1280 - 1024, 0, true},  // no overflow near INT_MAX
    };
    for (const Case& c : cases) {
        WindowState s;
        s.x = c.x;
        s.y = c.y;
        s.w = c.w;
        s.h = c.h;
        EXPECT_EQ(keepWindowOnDesktop(s, 1280, 800), c.changed) << c.x << "," << c.y;
        EXPECT_EQ(s.x, c.wantX);
        EXPECT_EQ(s.y, c.wantY);
        EXPECT_EQ(s.w, c.w);  // the size is never changed
        EXPECT_EQ(s.h, c.h);
    }
}

TEST(WindowStateText, WritesThreeCrLfLines) {
    WindowState s;
    s.x = -3;
    s.y = 7;
    s.w = 1024;
    s.h = 673;
    s.isWindowMaximized = true;
    EXPECT_EQ(formatWindowState(s),
              "window = -3,7,1024,673\r\nisWindowMaximized = true\r\n"
              "isWindowFullscreen = false\r\n");
    // What is written reads back the same.
    WindowState back = defaultWindowState(1280, 800);
    applyWindowStateText(back, formatWindowState(s));
    EXPECT_EQ(back.x, -3);
    EXPECT_EQ(back.y, 7);
    EXPECT_TRUE(back.isWindowMaximized);
    EXPECT_FALSE(back.isWindowFullscreen);
}

TEST(WindowStateText, CaptureKeepsTheLastNormalPlacementWhileMaximised) {
    WindowState s;
    captureInto(s, false, 40, 50, 900, 700);
    EXPECT_EQ(s.x, 40);
    EXPECT_EQ(s.w, 900);
    EXPECT_FALSE(s.isWindowMaximized);
    s.isWindowFullscreen = true;
    captureInto(s, true, 0, 0, 1920, 1080);  // moved while maximised
    EXPECT_TRUE(s.isWindowMaximized);
    EXPECT_FALSE(s.isWindowFullscreen);
    EXPECT_EQ(s.x, 40);
    EXPECT_EQ(s.y, 50);
    EXPECT_EQ(s.w, 900);
    EXPECT_EQ(s.h, 700);
}

// ---- on disk ----

class WindowStateFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / fs::unique_path("mes-prefs-%%%%-%%%%");
        fs::create_directories(dir);
        pref = dir.string() + "/";
    }
    void TearDown() override {
        boost::system::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string file() const { return pref + "config.ini"; }
    std::string read() const {
        std::ifstream in(file(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void write(const std::string& text) const {
        std::ofstream out(file(), std::ios::binary);
        out << text;
    }

    fs::path dir;
    std::string pref;
};

TEST_F(WindowStateFile, NoFileGivesACentredDefaultWindowAndWritesIt) {
    const WindowState& s = loadWindowState(pref, 1280, 800);
    EXPECT_EQ(s.x, 128);
    EXPECT_EQ(s.y, 63);
    EXPECT_EQ(s.w, 1024);
    EXPECT_EQ(s.h, 673);
    EXPECT_EQ(read(),
              "window = 128,63,1024,673\r\nisWindowMaximized = false\r\n"
              "isWindowFullscreen = false\r\n");
}

TEST_F(WindowStateFile, ANegativeXBecomesZeroAndTheFileIsRewritten) {
    write("window = -50,10,800,600\r\nisWindowMaximized = true\r\n");
    const WindowState& s = loadWindowState(pref, 1280, 800);
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.y, 10);
    EXPECT_TRUE(s.isWindowMaximized);
    EXPECT_EQ(read(),
              "window = 0,10,800,600\r\nisWindowMaximized = true\r\n"
              "isWindowFullscreen = false\r\n");
}

TEST_F(WindowStateFile, AGoodFileIsReadAndLeftAlone) {
    const std::string text = "// by hand\nWINDOW = 5, 6, 700, 500\nisWindowMaximized = TRUE\n";
    write(text);
    const WindowState& s = loadWindowState(pref, 1280, 800);
    EXPECT_EQ(s.x, 5);
    EXPECT_EQ(s.y, 6);
    EXPECT_EQ(s.w, 700);
    EXPECT_EQ(s.h, 500);
    EXPECT_FALSE(s.isWindowMaximized);
    EXPECT_EQ(read(), text);
}

TEST_F(WindowStateFile, AWindowWithoutAreaGetsTheDefaultSize) {
    write("window = 30,40\r\n");
    const WindowState& s = loadWindowState(pref, 1280, 800);
    EXPECT_EQ(s.w, 1024);
    EXPECT_EQ(s.h, 673);
    EXPECT_EQ(s.x, 128);
    EXPECT_EQ(s.y, 63);
    EXPECT_EQ(read().rfind("window = 128,63,1024,673\r\n", 0), 0u);
}

TEST_F(WindowStateFile, AWindowWiderThanTheDesktopEndsAtANegativeX) {
    write("window = 100,0,1400,600\r\n");
    const WindowState& s = loadWindowState(pref, 1280, 800);
    EXPECT_EQ(s.x, -120);
    EXPECT_EQ(read().rfind("window = -120,0,1400,600\r\n", 0), 0u);
}

TEST_F(WindowStateFile, AnUnreadableFileCountsAsMissing) {
    fs::create_directory(file());  // a folder where the file should be
    const WindowState& s = loadWindowState(pref, 1280, 800);
    EXPECT_EQ(s.w, 1024);
    EXPECT_EQ(s.x, 128);
    EXPECT_FALSE(saveWindowState(pref));  // cannot be written either: ignored
}

TEST_F(WindowStateFile, BinaryJunkDoesNotHurt) {
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk.push_back(char((i * 7919) & 0xFF));
    write(junk);
    const WindowState& s = loadWindowState(pref, 1280, 800);
    EXPECT_GT(s.w, 0);
    EXPECT_GT(s.h, 0);
}

TEST_F(WindowStateFile, SaveIntoAMissingFolderFailsQuietly) {
    EXPECT_FALSE(saveWindowState(pref + "no/such/folder/"));
    EXPECT_TRUE(saveWindowState(pref));
    EXPECT_FALSE(read().empty());
}

TEST_F(WindowStateFile, CaptureSavesTheWindowsPlacement) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    SDL_Window* w = SDL_CreateWindow("t", 33, 44, 640, 480, 0);
    ASSERT_NE(w, nullptr);
    windowState.isWindowFullscreen = true;
    captureWindowState(w, pref);
    SDL_DestroyWindow(w);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    EXPECT_EQ(windowState.w, 640);
    EXPECT_EQ(windowState.h, 480);
    EXPECT_FALSE(windowState.isWindowFullscreen);
    WindowState back = defaultWindowState(1280, 800);
    applyWindowStateText(back, read());
    EXPECT_EQ(back.w, 640);
    EXPECT_EQ(back.h, 480);
    EXPECT_EQ(back.x, windowState.x);
}

}  // namespace
