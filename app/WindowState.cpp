#include "app/WindowState.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "gui/Log.h"

WindowState windowState;

namespace {

constexpr size_t kMaxKey = 31;
constexpr size_t kMaxField = 127;
constexpr int kFieldCount = 4;

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

std::string lowered(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        out.push_back(lower(c));
    return out;
}

// Decimal value of a field the way atoi reads it (leading digits, optional sign), clamped to int.
int fieldValue(const std::string& field) {
    if (field.empty())
        return 0;
    errno = 0;
    long long v = std::strtoll(field.c_str(), nullptr, 10);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return int(v);
}

const char* boolText(bool b) {
    return b ? "true" : "false";
}

}  // namespace

bool findIniKey(const std::string& text, const std::string& key,
                std::array<std::string, 4>& fields) {
    const std::string wanted = lowered(key);

    // State of the line being collected.
    std::string lineKey;
    bool keyTooLong = false;
    bool inValue = false;
    int field = 0;
    std::array<std::string, 4> lineFields;

    auto resetLine = [&] {
        lineKey.clear();
        keyTooLong = false;
        inValue = false;
        field = 0;
        for (auto& f : lineFields)
            f.clear();
    };
    auto closeLine = [&]() -> bool {
        bool match = !keyTooLong && lineKey == wanted;
        if (match)
            fields = lineFields;
        resetLine();
        return match;
    };

    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            // CR, LF or CR LF end a line.
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
            if (closeLine())
                return true;
            continue;
        }
        if (c == '/' && i + 1 < n && text[i + 1] == '/') {
            // A comment runs to the end of the line and swallows that line end too, so whatever
            // was collected before it carries on into the next line.
            while (i < n && text[i] != '\r' && text[i] != '\n')
                ++i;
            if (i < n)
                i += (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        ++i;
        if (static_cast<unsigned char>(c) <= 0x20)
            continue;
        if (!inValue) {
            if (c == '=') {
                inValue = true;
            } else if (lineKey.size() < kMaxKey) {
                lineKey.push_back(lower(c));
            } else {
                keyTooLong = true;
            }
            continue;
        }
        if (c == ',') {
            if (field < kFieldCount - 1) {
                ++field;
            } else {
                // A comma in the last field starts that field again.
                lineFields[field].clear();
            }
            continue;
        }
        if (lineFields[field].size() < kMaxField)
            lineFields[field].push_back(c);
    }
    // A last line without a line end is compared at the end of the text.
    return closeLine();
}

WindowState defaultWindowState(int desktopWidth, int desktopHeight) {
    WindowState s;
    s.w = kDefaultWindowWidth;
    s.h = kDefaultWindowHeight;
    s.x = (desktopWidth - s.w) / 2;
    s.y = (desktopHeight - s.h) / 2;
    return s;
}

void applyWindowStateText(WindowState& state, const std::string& text) {
    std::array<std::string, 4> f;
    if (findIniKey(text, "window", f) && !f[0].empty()) {
        state.x = fieldValue(f[0]);
        state.y = fieldValue(f[1]);
        state.w = fieldValue(f[2]);
        state.h = fieldValue(f[3]);
    }
    f = {};
    if (findIniKey(text, "isWindowMaximized", f) && !f[0].empty()) {
        state.isWindowMaximized = f[0] == "true";
    }
    f = {};
    if (findIniKey(text, "isWindowFullscreen", f) && !f[0].empty()) {
        state.isWindowFullscreen = f[0] == "true";
    }
}

bool keepWindowOnDesktop(WindowState& s, int desktopWidth, int desktopHeight) {
    const int oldX = s.x, oldY = s.y;
    // Computed in 64 bits: a stored position near INT_MAX must not wrap around.
    if (s.x < 0) {
        s.x = 0;
    } else if (static_cast<long long>(s.x) + s.w > desktopWidth) {
        s.x = desktopWidth - s.w;
    }
    if (s.y < 0) {
        s.y = 0;
    } else if (static_cast<long long>(s.y) + s.h > desktopHeight) {
        s.y = desktopHeight - s.h;
    }
    return s.x != oldX || s.y != oldY;
}

std::string formatWindowState(const WindowState& s) {
    char line[128];
    std::string out;
    std::snprintf(line, sizeof line, "window = %d,%d,%d,%d\r\n", s.x, s.y, s.w, s.h);
    out += line;
    std::snprintf(line, sizeof line, "isWindowMaximized = %s\r\n", boolText(s.isWindowMaximized));
    out += line;
    std::snprintf(line, sizeof line, "isWindowFullscreen = %s\r\n", boolText(s.isWindowFullscreen));
    out += line;
    return out;
}

std::string windowStatePath(const std::string& prefPath) {
    return prefPath + "config.ini";
}

const WindowState& loadWindowState(const std::string& prefPath, int desktopWidth,
                                   int desktopHeight) {
    windowState = defaultWindowState(desktopWidth, desktopHeight);
    const std::string path = windowStatePath(prefPath);
    GUI_Print("%s\n", path.c_str());

    // Read with stdio: a folder or a device in the file's place reports an error instead of
    // throwing, and counts as a missing file.
    bool read = false;
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        size_t n = 0;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            text.append(chunk, n);
        read = std::ferror(f) == 0;
        std::fclose(f);
    }
    if (read)
        applyWindowStateText(windowState, text);

    // A window without area cannot be used (a line with fewer than four fields reads as size
    // 0); it gets the default size, centred, and the file is repaired.
    bool repaired = false;
    if (windowState.w <= 0 || windowState.h <= 0) {
        const WindowState d = defaultWindowState(desktopWidth, desktopHeight);
        windowState.x = d.x;
        windowState.y = d.y;
        windowState.w = d.w;
        windowState.h = d.h;
        repaired = true;
    }

    GUI_Print("window = %d,%d,%d,%d\n", windowState.x, windowState.y, windowState.w, windowState.h);
    GUI_Print("isWindowMaximized = %s\n", boolText(windowState.isWindowMaximized));
    GUI_Print("isWindowFullscreen = %s\n", boolText(windowState.isWindowFullscreen));

    if (keepWindowOnDesktop(windowState, desktopWidth, desktopHeight))
        repaired = true;
    if (!read || repaired)
        saveWindowState(prefPath);
    return windowState;
}

bool saveWindowState(const std::string& prefPath) {
    std::ofstream out(windowStatePath(prefPath), std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out << formatWindowState(windowState);
    out.close();
    return !out.fail();
}

void captureInto(WindowState& state, bool maximized, int x, int y, int w, int h) {
    if (maximized) {
        // Keep the last normal position and size so that un-maximising next time restores them.
        state.isWindowMaximized = true;
    } else {
        state.x = x;
        state.y = y;
        state.w = w;
        state.h = h;
        state.isWindowMaximized = false;
    }
    state.isWindowFullscreen = false;
}

void captureWindowState(SDL_Window* window, const std::string& prefPath) {
    if (window == nullptr)
        return;
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &w, &h);
    captureInto(windowState, (SDL_GetWindowFlags(window) & SDL_WINDOW_MAXIMIZED) != 0, x, y, w, h);
    saveWindowState(prefPath);
}
