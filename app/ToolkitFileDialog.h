// A file dialog drawn with our own toolkit, for when the desktop shows none (no GTK helper, no
// dialog program, no real display): the folder, a field for the file name or a path, the filter
// drop-down, a listing of the folder (sub-folders first, then the files the filter lets through,
// hidden files left out) and the two buttons.
//
// A click on a folder enters it ("../" goes up); a click on a file puts its name into the field, a
// second click within half a second takes it. The field takes a name, a relative path or an
// absolute one; a path that names a folder enters it. Return is OK, Escape is Cancel. Open takes
// only an existing file when asked to; Save asks for a second OK before it replaces a file, and
// wants an existing folder. Any name length and any UTF-8 (Thai) name works.
//
// Modal (a click outside does nothing); built on the root view and owned by it. Units: points.
// Main thread only.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "app/FileChooser.h"
#include "gui/Dialog.h"
#include "gui/DropDown.h"
#include "gui/Label.h"
#include "gui/List.h"
#include "gui/TextField.h"

class ToolkitFileDialog : public GUI_Dialog {
public:
    // `done` runs once, when the dialog closes (not when the editor ends with it open).
    ToolkitFileDialog(GUI_View* parent, const FileRequest& request, FileChooser::Done done);

    bool handle_event(SDL_Event* e) override;

    // The buttons' actions.
    void accept();
    void cancel();
    // Shows the listing of a folder (an absolute path).
    void enterFolder(const std::string& folder);

    const std::string& folder() const { return folder_; }
    // What the listing shows, row by row (folders end in "/").
    const std::vector<std::string>& rows() const { return rows_; }

    GUI_EditText* nameField = nullptr;
    GUI_Dropdown* filterDropdown = nullptr;
    GUI_List* listing = nullptr;
    GUI_Label* folderLabel = nullptr;
    GUI_Label* messageLabel = nullptr;
    GUI_Button* okButton = nullptr;
    GUI_Button* cancelButton = nullptr;

private:
    void chooseRow(int index);
    void showMessage(const std::string& text);
    void finish(const std::optional<std::string>& path);

    FileRequest request_;
    FileChooser::Done done_;
    std::string folder_;
    std::vector<std::string> rows_;
    std::string replaceConfirmed_;  // the path a first OK offered to replace
    int lastRow_ = -1;
    Uint32 lastRowTicks_ = 0;
    bool finished_ = false;
};

// Opens the dialog on the root view; without a root view `done` hears Cancel at once.
void openToolkitFileDialog(const FileRequest& request, FileChooser::Done done);

// ---- Path rules, kept pure for testing ----

// Where a text typed into the field points, seen from folder: an absolute path stays, "~/x" is
// in $HOME, anything else is relative to the folder. "." and ".." parts are resolved by name.
std::string resolveTypedPath(const std::string& folder, const std::string& typed);
// The rows of a folder listing: "../" unless it is "/", then the sub-folders ("name/") and the
// files that match the pattern, each group ordered by name ignoring ASCII case; hidden entries
// (".name") are left out. False when the folder cannot be read (rows then hold "../" only).
bool listFolder(const std::string& folder, const std::string& pattern,
                std::vector<std::string>& rows);
