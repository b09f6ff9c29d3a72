// The seam between the file commands and the dialogs that ask the user for a file.
//
// A FileRequest says what to ask (open or save, title, filters, options, the name offered); a
// FileChooser shows some dialog for it and reports the chosen path, or nothing when the user
// cancelled, through a callback. The callback may run before choose() returns (a test answering
// at once) or in a later frame (a dialog the user is still looking at); it runs exactly once.
//
// `fileChooser` is the one home of the chooser in use: null means the desktop's own dialogs
// (SystemFileChooser.h); tests install a chooser that answers for the user. Paths are UTF-8.
// Main thread only.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct FileFilter {
    std::string label;    // shown, translated: "PES Project Files (*.mpes)"
    std::string pattern;  // "*.mpes"; "*.*" stands for every file
};

struct FileRequest {
    enum Mode { Open, Save };
    Mode mode = Open;
    std::string title;                // translated: "Open..."
    std::vector<FileFilter> filters;  // the first one is selected
    bool fileMustExist = false;       // Open: only an existing file (in an existing folder)
    bool confirmOverwrite = false;    // Save: ask before an existing file is replaced
    std::string initialPath;          // the file offered at first ("" for none), with its folder
    std::string initialFolder;        // where to start when initialPath is empty
    std::string acceptLabel;          // translated "Open" / "Save"
    std::string cancelLabel;          // translated "Cancel"
};

class FileChooser {
public:
    using Done = std::function<void(const std::optional<std::string>& path)>;

    virtual ~FileChooser() = default;
    // Asks for a file; `done` receives the chosen path, or nothing after Cancel.
    virtual void choose(const FileRequest& request, Done done) = 0;
};

// The chooser the file commands use; null for the desktop's dialogs.
extern FileChooser* fileChooser;
FileChooser& activeFileChooser();

// Whether a file name matches a filter pattern such as "*.mpes", ignoring the case of ASCII
// letters ("Design.MPES" matches). "*" and "*.*" match every name; "?" matches one byte.
bool matchesFilePattern(const std::string& name, const std::string& pattern);
