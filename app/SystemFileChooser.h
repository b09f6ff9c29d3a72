// The desktop's own file dialogs, tried in this order until one can be shown:
//   1. mes-file-dialog, our GTK 3 helper beside the executable (GtkFileChooserNative, which goes
//      through the XDG desktop portal where one runs);
//   2. the desktop's dialog program: kdialog on KDE, zenity elsewhere (either when only one is
//      installed);
//   3. ToolkitFileDialog, drawn with our own toolkit inside the editor's window.
// Without a real display (SDL's dummy driver) only the last one is used.
//
// The native dialogs run as separate programs. The editor's main loop keeps running meanwhile
// (the window is redrawn, the main window takes no input), so GTK never shares the process with
// SDL: no second event loop inside ours, no change of the C locale the project writer relies on,
// and a dialog program that fails or crashes cannot take the editor with it. The program prints
// the chosen path on its standard output; exit status 0 means chosen, 1 cancelled, anything else
// that it could not show a dialog, and the next way is tried.
//
// Main thread only; the child program is watched by a heartbeat of the main loop.
#pragma once

#include <string>
#include <vector>

#include "app/FileChooser.h"

class SystemFileChooser : public FileChooser {
public:
    SystemFileChooser();

    void choose(const FileRequest& request, Done done) override;

    // Where the GTK helper lies ("" to skip it); the executable's folder by default.
    std::string helperPath;
    // Forces the native dialogs on (tests); otherwise they are tried on a real display only.
    bool nativeDialogs = false;
    // Whether to look for zenity and kdialog in PATH.
    bool desktopPrograms = true;
};

// ---- The command lines, kept pure for testing ----

// A pattern that GTK's case-sensitive globs match in any case: "*.mpes" -> "*.[mM][pP][eE][sS]";
// "*.*" -> "*".
std::string caseInsensitiveGlob(const std::string& pattern);

// The helper's arguments; parent is the editor's X11 window id in hex ("" when unknown).
std::vector<std::string> helperCommand(const std::string& helper, const FileRequest& request,
                                       const std::string& parent);
std::vector<std::string> zenityCommand(const FileRequest& request);
std::vector<std::string> kdialogCommand(const FileRequest& request, const std::string& parent);

// The path a dialog program printed: its output without the one line end it ends with; "" when
// it printed nothing.
std::string chosenPathFromOutput(const std::string& output);

// What a dialog program's end means.
enum class DialogExit { Chosen, Cancelled, CannotShow };
DialogExit dialogExit(int exitStatus, const std::string& output, const std::string& errors);
