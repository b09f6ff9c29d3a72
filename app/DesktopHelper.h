// What the editor's desktop programs need to know: where our GTK helper (mes-file-dialog) lies,
// whether SDL runs on a real display, and the editor's own window for the helper to stay above.
// Main thread only.
#pragma once

#include <string>

// mes-file-dialog beside the executable.
std::string desktopHelperPath();

// SDL's video driver is a real display (X11 or Wayland), where desktop dialogs can be shown.
bool onRealDisplay();

// The editor's X11 window id in hex ("0x2a00007"), "" when there is none (no window, Wayland).
std::string editorWindowId();
