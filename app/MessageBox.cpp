#include "app/MessageBox.h"

#include <SDL.h>

#include <cstdio>

#include "gui/Globals.h"

MessageBoxSink messageBoxSink;

void showMessageBox(MessageKind kind, const std::string& title, const std::string& text) {
    if (messageBoxSink) {
        messageBoxSink(kind, title, text);
        return;
    }
    const Uint32 flags =
        kind == MessageKind::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    if (SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), GUI_window) != 0)
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}
