// The editor's start-up and shutdown: command line, libraries, preferences folder, window, data
// folder, translations, settings, main window, stick network, command-line document, main loop,
// and the release of everything in a fixed order.
#pragma once

#include <functional>
#include <string>

#include "app/Platform.h"
#include "app/WindowState.h"

// Runs the editor; returns the process status: 0 after a normal run (window closed, SIGTERM) or
// after printing the help or the version (no window is made), 1 when the libraries or the toolkit
// cannot be initialised or no window can be made.
int runEditor(int argc, char** argv);

// The pieces of start-up and shutdown that the in-process tests share with runEditor: the main
// window with the document, the status line and the first selections; the textures that every
// view shares; and the release, in order, of everything these made (before GUI_Quit).
void buildEditorWindow();
void createSharedTextures();
void releaseEditor();

// ---- Decisions of start-up, kept pure for testing ----

// Asks for the stick's version (text such as "1.05") until it reads as non-zero, three times at
// most; returns the version x 100, truncated (105), or 0.
int queryStickVersion(const std::function<std::string()>& query);

// What to do with the command-line document: how to open `path` and what currentOpenFile holds
// afterwards (a design imported from a PES file leaves the editor untitled).
struct DocumentPlan {
    DocumentKind kind = DocumentKind::None;
    std::string path;
    std::string currentOpenFileAfter;
};
DocumentPlan planCommandLineDocument(const std::string& currentOpenFile);

// Whether to maximise the window at start; a saved fullscreen flag is cleared instead.
bool maximizeAtStart(WindowState& state);
