#include "app/MessageBox.h"

#include <SDL.h>

#include <cstdio>

#include "app/ChildProcess.h"
#include "app/DesktopHelper.h"
#include "gui/Globals.h"
#include "gui/Localization.h"

MessageBoxSink messageBoxSink;
QuestionBoxSink questionBoxSink;

namespace {

// Runs the helper with these arguments and waits for it; its exit status, or -1 when it could
// not show a box.
int runHelperBox(const std::vector<std::string>& argv) {
    const std::string& helper = argv.front();
    if (!onRealDisplay() || !programExists(helper))
        return -1;
    ChildProcess child;
    if (!child.start(argv))
        return -1;
    // The box is modal: like SDL's, it holds the main loop until it is closed. A request to end
    // the editor (SIGTERM, the desktop's log-out) takes the box down and is left in the queue for
    // the main loop.
    while (!child.poll()) {
        SDL_PumpEvents();
        if (SDL_HasEvent(SDL_QUIT)) {
            child.kill();
            return 1;
        }
        SDL_Delay(20);
    }
    return child.exitStatus();
}

bool helperBox(MessageKind kind, const std::string& title, const std::string& text) {
    const int status = runHelperBox(messageBoxCommand(desktopHelperPath(), kind, title, text,
                                                      localizedString("OK"), editorWindowId()));
    return status == 0 || status == 1;
}

}  // namespace

std::vector<std::string> messageBoxCommand(const std::string& helper, MessageKind kind,
                                           const std::string& title, const std::string& text,
                                           const std::string& okLabel, const std::string& parent) {
    const char* mode = kind == MessageKind::Error     ? "error"
                       : kind == MessageKind::Warning ? "warning"
                                                      : "info";
    std::vector<std::string> argv = {helper,   mode, "--title",  title,
                                     "--text", text, "--accept", okLabel};
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
    const Uint32 flags = kind == MessageKind::Error     ? SDL_MESSAGEBOX_ERROR
                         : kind == MessageKind::Warning ? SDL_MESSAGEBOX_WARNING
                                                        : SDL_MESSAGEBOX_INFORMATION;
    if (SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), GUI_window) != 0)
        std::fprintf(stderr, "%s: %s (%s)\n", title.c_str(), text.c_str(), SDL_GetError());
}

bool askMessageBox(const std::string& title, const std::string& text,
                   const std::string& acceptLabel, const std::string& cancelLabel) {
    if (questionBoxSink)
        return questionBoxSink(title, text);
    std::vector<std::string> argv = {
        desktopHelperPath(), "question",  "--title",  title,      "--text", text,
        "--accept",          acceptLabel, "--cancel", cancelLabel};
    const std::string parent = editorWindowId();
    if (!parent.empty())
        argv.insert(argv.end(), {"--parent", parent});
    const int status = runHelperBox(argv);
    if (status >= 0)
        return status == 0;
    const SDL_MessageBoxButtonData buttons[2] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, cancelLabel.c_str()},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, acceptLabel.c_str()},
    };
    const SDL_MessageBoxData box = {
        SDL_MESSAGEBOX_WARNING, GUI_window, title.c_str(), text.c_str(), 2, buttons, nullptr};
    int chosen = 0;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) {
        std::fprintf(stderr, "%s: %s (%s)\n", title.c_str(), text.c_str(), SDL_GetError());
        return false;
    }
    return chosen == 1;
}
