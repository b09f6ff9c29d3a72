// The main window reopens where the user left it: position, size and maximised state are kept in
// "config.ini" in the preferences folder. The file is loaded once just before the window is
// created and written again whenever the window is moved or resized (nothing is written at
// shutdown).
//
// The parsing and formatting functions are pure so that tests can drive every rule without a
// window; loadWindowState/saveWindowState/captureWindowState are the disk and SDL edges.
#pragma once

#include <SDL.h>

#include <array>
#include <string>

// Window state in screen coordinates (points).
struct WindowState {
    int x = 0, y = 0;
    int w = 1024, h = 673;
    bool isWindowMaximized = false;
    bool isWindowFullscreen = false;  // read and written, never set by the program
};

// The one window state of the process (loaded by loadWindowState, read by start-up to maximise
// the window, updated by captureWindowState).
extern WindowState windowState;

// Default size of a window that has no saved state.
constexpr int kDefaultWindowWidth = 1024;
constexpr int kDefaultWindowHeight = 673;

// The values found on the first line whose key matches `key` (case-insensitively). Up to four
// comma-separated fields; bytes up to 0x20 are ignored, "//" starts a comment. Returns false when
// no line matches. Keys longer than 31 characters never match; fields are cut at 127 characters.
bool findIniKey(const std::string& text, const std::string& key,
                std::array<std::string, 4>& fields);

// The defaults: 1024 x 673 centred on a desktop of the given size, both flags false.
WindowState defaultWindowState(int desktopWidth, int desktopHeight);

// Applies the keys "window", "isWindowMaximized" and "isWindowFullscreen" found in `text` to
// `state`; keys that are missing or have an empty first field leave their values unchanged.
void applyWindowStateText(WindowState& state, const std::string& text);

// Keeps the window's top-left corner on the desktop. Returns true when x or y changed.
bool keepWindowOnDesktop(WindowState& state, int desktopWidth, int desktopHeight);

// The file's three lines, each ended by CR LF.
std::string formatWindowState(const WindowState& state);

// "<prefPath>config.ini" (relative to the working directory when prefPath is empty).
std::string windowStatePath(const std::string& prefPath);

// Loads `windowState` from the file in prefPath, fixes it up for a desktop of the given size and
// rewrites the file when it was missing, unreadable or had to be repaired. Returns the state.
const WindowState& loadWindowState(const std::string& prefPath, int desktopWidth,
                                   int desktopHeight);

// Writes `windowState` to the file; a file that cannot be written is ignored. Returns success.
bool saveWindowState(const std::string& prefPath);

// What a capture makes of the window's placement: while maximised only the flag is set, so the
// last normal position and size stay; otherwise position and size are taken and the flag cleared.
// The fullscreen flag is cleared in both cases.
void captureInto(WindowState& state, bool maximized, int x, int y, int w, int h);

// Reads the window's placement into `windowState` (leaving the last normal position and size
// alone while the window is maximised), clears the fullscreen flag and saves.
void captureWindowState(SDL_Window* window, const std::string& prefPath);
