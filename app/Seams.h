// The calls that start-up and shutdown make into parts of the editor that are filled in one at a
// time (main window, settings, status line, stitch renderer, file commands). Each
// function is exactly one such call. Until its part exists it does the least that keeps the editor
// running, as noted; the part replaces the body, the call sites stay. Main thread only.
#pragma once

#include <string>

// The status label and the version label on the bottom bar, the status filled at once.
// (Nothing.)
void buildStatusLabels();

// The initial drop-down selections raised as if the user had made them, then refreshControls.
// (Nothing.)
void applyInitialSelections();

// The stitch renderer's shared textures (stitch sprites, light map, ruler labels). (Nothing.)
void initStitchTextures();
void freeStitchTextures();
