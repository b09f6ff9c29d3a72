#include "app/DocumentFile.h"

#include <memory>

#include "app/AppState.h"
#include "app/Canvas.h"
#include "app/MainWindow.h"
#include "app/PanelActions.h"
#include "app/Platform.h"
#include "app/StatusLine.h"
#include "design/Document.h"
#include "design/ProjectFile.h"
#include "design/commands/ImportCommand.h"
#include "gui/FileUtils.h"
#include "gui/Globals.h"
#include "gui/List.h"
#include "gui/Log.h"
#include "gui/Slider.h"

namespace {

void showTitle(const std::string& path) {
    if (GUI_window)
        SDL_SetWindowTitle(GUI_window, windowTitleFor(path).c_str());
}

}  // namespace

std::string windowTitleFor(const std::string& path) {
    if (path.empty())
        return "MES - Mivo Embroidery System";
    return jsFilePath::getFileName(path) + " - Mivo Embroidery System";
}

void setDocumentPath(const std::string& path) {
    currentOpenFile = path;
    currentOpenPath = pathBeforeLastSeparator(path);
    showTitle(path);
}

void newDesign() {
    currentOpenFile.clear();
    showTitle("");
    if (theDocument) {
        theDocument->removeAllLayers();
        theDocument->history.clear();
    }
    if (!ui.root)
        return;
    ui.layerList->selectedIndex = -1;
    ui.layerList->clamp_pad();
    ui.zoomSlider->set_value(initialZoomValue(), true);
    resetPanelsForNewDesign();
    showFontPanel();
    updateStatus();
    refreshControls();
}

bool loadMPESW(const std::string& path) {
    if (documentKind(path) != DocumentKind::Project || theDocument == nullptr)
        return false;
    const jsBuffer file = jsBufferFromFile(path);
    const std::vector<uint8_t> bytes(file.getBuffer().begin(), file.getBuffer().end());
    if (!bytes.empty() && loadProject(*theDocument, bytes)) {
        setDocumentPath(path);
        return true;
    }
    GUI_LogError("") << "Cannot open MPES file!";
    return false;
}

bool importPESW(const std::string& path) {
    if (documentKind(path) == DocumentKind::PesDesign && theDocument != nullptr) {
        auto command = std::make_shared<ImportCommandW>(*theDocument, path);
        if (execute(*theDocument, command)) {
            if (currentOpenPath.empty())
                currentOpenPath = pathBeforeLastSeparator(path);
            return true;
        }
    }
    GUI_LogError("") << "Cannot import PES file!";
    return false;
}
