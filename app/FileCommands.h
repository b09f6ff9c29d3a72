// The main menu's file dialogs: "Open...", "Import..." and "Save...". Each asks for a file
// through the file chooser (FileChooser.h) and then opens the project (loadMPESW), imports the
// PES design as a layer (importPESW) or saves the project (saveProject, then setDocumentPath).
//
// While a dialog is up the main window takes no input; when it ends, input returns, an open main
// menu closes and the controls are refreshed. Cancel changes nothing. A dialog asked for while
// another is up is ignored. A save that fails is told in a message box; the previous file, the
// path and the title stay as they were. Paths are UTF-8. Main thread only.
#pragma once

#include <string>

#include "app/FileChooser.h"

void openProjectDialog();
void importDesignDialog();
void saveProjectDialog();

// Writes the design to path (".mpes" appended when missing) with the settings' hoop; on success
// the document takes the written path and its title. On failure a message box says so and
// nothing changes. False also for a design without layers (nothing is written).
bool saveProjectAs(const std::string& path);

// What each dialog asks. The save dialog offers currentOpenFile, else "Untitled.mpes" in
// currentOpenPath, which becomes the working directory when it is empty.
FileRequest openProjectRequest();
FileRequest importDesignRequest();
FileRequest saveProjectRequest();

// Whether one of these dialogs is up.
bool fileDialogUp();
