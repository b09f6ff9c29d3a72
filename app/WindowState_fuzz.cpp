// Feeds arbitrary bytes to the window state reader as the text of config.ini, and checks what
// the loader relies on: fields never exceed their limit, a window that fits the desktop ends on
// it, and whatever was read is written back in a form that reads the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/WindowState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    for (const char* key : {"window", "isWindowMaximized", "isWindowFullscreen", ""}) {
        std::array<std::string, 4> fields;
        if (findIniKey(text, key, fields)) {
            for (const auto& f : fields) {
                if (f.size() > 127)
                    std::abort();
            }
        }
    }

    const int desktopW = 1920, desktopH = 1080;
    WindowState s = defaultWindowState(desktopW, desktopH);
    applyWindowStateText(s, text);
    keepWindowOnDesktop(s, desktopW, desktopH);
    if (s.w > 0 && s.w <= desktopW && (s.x < 0 || s.x + s.w > desktopW))
        std::abort();
    if (s.h > 0 && s.h <= desktopH && (s.y < 0 || s.y + s.h > desktopH))
        std::abort();

    WindowState back = defaultWindowState(desktopW, desktopH);
    applyWindowStateText(back, formatWindowState(s));
    if (back.x != s.x || back.y != s.y || back.w != s.w || back.h != s.h ||
        back.isWindowMaximized != s.isWindowMaximized ||
        back.isWindowFullscreen != s.isWindowFullscreen) {
        std::abort();
    }
    return 0;
}
