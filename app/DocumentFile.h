// The document's file commands that need no dialog: a new design, the document path with the
// window title, opening a project and importing a PES design as a layer.
//
// They work on theDocument and the shell's currentOpenFile / currentOpenPath. Paths are UTF-8.
// Main thread only.
#pragma once

#include <string>

// The window title for a document path: "MES - Mivo Embroidery System" when the path is empty,
// otherwise the file name followed by " - Mivo Embroidery System". The name is never cut, so a
// Thai file name keeps every character.
std::string windowTitleFor(const std::string& path);

// Empties the design and its history, resets the zoom and the panels and shows the Font panel.
// The document path becomes empty (untitled); the folder of the last file stays.
void newDesign();

// The design now belongs to the file at path: currentOpenFile, currentOpenPath and the title.
void setDocumentPath(const std::string& path);

// Opens a project (the name must end in ".mpes", in any case). On success the design is replaced
// and the path and title follow; on failure the error log "Cannot open MPES file!" and false.
bool loadMPESW(const std::string& path);

// Imports a PES design (name ending in ".pes", in any case) as a new topmost layer through the
// undo history. The title and path stay; the folder is taken when none is known yet. On failure
// the error log "Cannot import PES file!" and false.
bool importPESW(const std::string& path);
