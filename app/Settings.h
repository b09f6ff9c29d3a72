// The editor's settings: the machine model and its hoop (the design area, written into every PES
// file for the stick), the interface language, the stitch display mode and the canvas overlays.
// Kept in the preferences folder; loaded by start-up, edited in the settings dialog.
//
// `settings` is the one home of these values for the whole run. Main thread only.
#pragma once

#include <cstdint>

struct Settings {
    int32_t modelIndex = -1;     // row of the model table, -1 for none
    int32_t hoopIndex = -1;      // row of that model's hoop list, -1 for none
    int32_t hoopWidth = 100;     // mm
    int32_t hoopHeight = 100;    // mm
    int32_t languageIndex = -1;  // 0 English, 1 Thai, 2 Japanese, -1 for none
    int32_t displayMode = 0;     // 0 normal, 1 3D effect, 2 underlay
    int32_t reservedFlag = -1;
    // What the canvas shows now (the settings dialog previews changes here) ...
    bool showJumpStitches = true;
    bool showGrid = true;
    bool showRulers = true;
    bool showDesignCenter = false;
    // ... and what the settings file holds.
    bool storedShowJumpStitches = true;
    bool storedShowGrid = true;
    bool storedShowRulers = true;
    bool storedShowDesignCenter = false;
};

extern Settings settings;

// Defaults, then the settings file; may change the interface language.
void loadSettings();
