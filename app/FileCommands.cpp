#include "app/FileCommands.h"

#include <utility>

#include "app/AppState.h"
#include "app/DocumentFile.h"
#include "app/MainWindow.h"
#include "app/MessageBox.h"
#include "app/Platform.h"
#include "app/Settings.h"
#include "design/Document.h"
#include "design/ProjectFile.h"
#include "gui/Localization.h"
#include "gui/StringUtils.h"

namespace {

bool dialogUp = false;

FileFilter filter(const char* label, const char* pattern) {
    return {localizedString(label), pattern};
}

FileRequest request(FileRequest::Mode mode, const char* title, const char* filterLabel,
                    const char* pattern) {
    FileRequest r;
    r.mode = mode;
    r.title = localizedString(title);
    r.filters = {filter(filterLabel, pattern), filter("All Files (*.*)", "*.*")};
    r.fileMustExist = mode == FileRequest::Open;
    r.confirmOverwrite = mode == FileRequest::Save;
    r.initialFolder = currentOpenPath;
    r.acceptLabel = localizedString(mode == FileRequest::Save ? "Save" : "Open");
    r.cancelLabel = localizedString("Cancel");
    return r;
}

// Runs one dialog with the main window's input held, then `action` on the chosen path.
template <class Action>
void runDialog(const FileRequest& r, Action action) {
    if (dialogUp)
        return;
    dialogUp = true;
    beginMainWindowOverlay();
    activeFileChooser().choose(r, [action](const std::optional<std::string>& path) {
        dialogUp = false;
        if (path && !path->empty())
            action(*path);
        endMainWindowOverlay();
        refreshControls();
    });
}

}  // namespace

FileRequest openProjectRequest() {
    return request(FileRequest::Open, "Open...", "PES Project Files (*.mpes)", "*.mpes");
}

FileRequest importDesignRequest() {
    return request(FileRequest::Open, "Import...", "PES Files (*.pes)", "*.pes");
}

FileRequest saveProjectRequest() {
    FileRequest r = request(FileRequest::Save, "Save...", "PES Project Files (*.mpes)", "*.mpes");
    if (!currentOpenFile.empty()) {
        r.initialPath = currentOpenFile;
    } else {
        if (currentOpenPath.empty())
            currentOpenPath = currentDirectory();
        r.initialPath = withTrailingSlash(currentOpenPath) + "Untitled.mpes";
    }
    r.initialFolder = currentOpenPath;
    return r;
}

bool fileDialogUp() {
    return dialogUp;
}

void openProjectDialog() {
    runDialog(openProjectRequest(), [](const std::string& path) { loadMPESW(path); });
}

void importDesignDialog() {
    runDialog(importDesignRequest(), [](const std::string& path) { importPESW(path); });
}

void saveProjectDialog() {
    if (theDocument == nullptr || theDocument->layerCount() == 0)
        return;
    runDialog(saveProjectRequest(), [](const std::string& path) { saveProjectAs(path); });
}

bool saveProjectAs(const std::string& path) {
    if (theDocument == nullptr || theDocument->layerCount() == 0)
        return false;
    std::string written;
    if (saveProject(*theDocument, path, settings.hoopWidth, settings.hoopHeight, &written)) {
        setDocumentPath(written);
        return true;
    }
    // The path goes in by replacement, not as a printf argument of a translated format.
    std::string text = localizedString("Cannot save the design as %s.");
    GUI_Replace(text, "%s", projectPath(path));
    showMessageBox(MessageKind::Error, localizedString("Save Fail"),
                   text + " " + localizedString("SAVE_FAIL_MSG"));
    return false;
}
