#include "app/MessageBox.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "app/ChildProcess.h"
#include "app/DesktopHelper.h"
#include "gui/Dialog.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Localization.h"

MessageBoxSink messageBoxSink;
QuestionBoxSink questionBoxSink;

namespace {

// The dark ink of the editor's own dialogs.
constexpr SDL_Color kInk = {0x33, 0x31, 0x2E, 0xFF};

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
                                           const std::string& okLabel, const std::string& parent,
                                           const std::string& cancelLabel) {
    const char* mode = !cancelLabel.empty()           ? "question"
                       : kind == MessageKind::Error   ? "error"
                       : kind == MessageKind::Warning ? "warning"
                                                      : "info";
    std::vector<std::string> argv = {helper,   mode, "--title",  title,
                                     "--text", text, "--accept", okLabel};
    if (!cancelLabel.empty())
        argv.insert(argv.end(), {"--cancel", cancelLabel});
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
    if (SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), GUI_window) == 0)
        return;
    // No message box on this system (an X server without its core fonts, for one): the text goes
    // to standard error, and the editor shows it in a dialog of its own where no other modal view
    // holds the window.
    std::fprintf(stderr, "%s: %s (%s)\n", title.c_str(), text.c_str(), SDL_GetError());
    if (GUI_modalView == nullptr)
        showMessageInWindow(title, text);
}

GUI_View* showMessageInWindow(const std::string& title, const std::string& text) {
    if (GUI_TopView == nullptr)
        return nullptr;
    std::vector<std::string> lines = {title, ""};
    size_t at = 0;
    while (at <= text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    // Wide enough for the longest line (an address can be long), within the window.
    int widest = 0;
    for (const std::string& line : lines) {
        int w = 0, h = 0;
        if (GUI_SizeText(GUI_Font(0), line, &w, &h))
            widest = std::max(widest, w / GUI_scale);
    }
    const int width = std::clamp(widest + 60, 360, std::max(360, GUI_windowWidth - 40));
    const int rowH = 32;
    auto* box = new SimpleDialog(GUI_TopView, 0, width, rowH * int(lines.size() + 1) + 36);
    box->dimBackground = true;
    box->cornerRadius = 6;
    box->set_padding(12, 12, 12, 12);
    for (const std::string& line : lines)
        box->add_label(kInk, 0, line);
    box->children.front()->set_title(title, 1);
    GUI_Button* ok = box->add_button(localizedString("      OK      "), ALIGN_RIGHT);
    ok->bgColor = kInk;
    ok->titleColor = ok->textColor = GUI_White;
    ok->cornerRadius = 4;
    ok->set_padding(0, 4, 0, 4);
    ok->onClick = [box](GUI_Button*) { box->close(); };
    box->update_layout();
    box->center_in_parent();
    GUI_modalView = box;
    return box;
}

bool askMessageBox(const std::string& title, const std::string& text,
                   const std::string& acceptLabel, const std::string& cancelLabel) {
    if (questionBoxSink)
        return questionBoxSink(title, text);
    const int status =
        runHelperBox(messageBoxCommand(desktopHelperPath(), MessageKind::Warning, title, text,
                                       acceptLabel, editorWindowId(), cancelLabel));
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
