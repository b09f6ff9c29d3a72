#include "app/MessageBox.h"

#include <SDL.h>

#include <cstdio>

#include "app/ChildProcess.h"
#include "app/DesktopHelper.h"
#include "gui/Globals.h"
#include "gui/Localization.h"

MessageBoxSink messageBoxSink;

namespace {

// Runs the helper's box and waits for it; false when it could not show one.
bool helperBox(MessageKind kind, const std::string& title, const std::string& text) {
    const std::string helper = desktopHelperPath();
    if (!onRealDisplay() || !programExists(helper))
        return false;
    ChildProcess child;
    if (!child.start(
            messageBoxCommand(helper, kind, title, text, localizedString("OK"), editorWindowId())))
        return false;
    // The box is modal: like SDL's, it holds the main loop until it is closed. A request to end
    // the editor (SIGTERM, the desktop's log-out) takes the box down and is left in the queue for
    // the main loop.
    while (!child.poll()) {
        SDL_PumpEvents();
        if (SDL_HasEvent(SDL_QUIT)) {
            child.kill();
            return true;
        }
        SDL_Delay(20);
    }
    return child.exitStatus() == 0 || child.exitStatus() == 1;
}

}  // namespace

std::vector<std::string> messageBoxCommand(const std::string& helper, MessageKind kind,
                                           const std::string& title, const std::string& text,
                                           const std::string& okLabel, const std::string& parent) {
    std::vector<std::string> argv = {helper,     kind == MessageKind::Error ? "error" : "info",
                                     "--title",  title,
                                     "--text",   text,
                                     "--accept", okLabel};
    if (!parent.empty())
        argv.insert(argv.end(), {"--parent", parent});
    return argv;
}

void showMessageBox(MessageKind kind, const std::string& title, const std::string& text) {
    if (messageBoxSink) {
        messageBoxSink(kind, title, text);
        return;
    }
    if (helperBox(kind, title, text))
        return;
    const Uint32 flags =
        kind == MessageKind::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    if (SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), GUI_window) != 0)
        std::fprintf(stderr, "%s: %s (%s)\n", title.c_str(), text.c_str(), SDL_GetError());
}
