// The main window: top bar, canvas, bottom bar, the toolbox with its Font and Shape panels, the
// effect panel, the layer section and the zoom slider; the main menu; the control refresh.
//
// Built once by start-up under GUI_TopView and alive until shutdown. Units: points unless noted.
// Main thread only.
#pragma once

// Builds every widget of the main window and installs the callbacks.
void buildMainWindow();

// Recomputes which controls are shown and enabled from the design and the selection. Every
// action that changes the design or the selection calls it afterwards.
void refreshControls();

// Overlays (the file dialogs, the settings dialog, the gallery, the emoticon balloon) take the
// main window's input while they are up: the top bar, the canvas, the toolbox and the zoom slider
// stop taking input. The end gives it back, closes an open main menu, and draws the gallery
// button normally again (enabled while the design has room for another layer).
void beginMainWindowOverlay();
void endMainWindowOverlay();

// Closes the main menu when it is open.
void closeMainMenu();

// Translates again the captions that follow a language change at once (the effect panel and the
// "Layers" label); the rest of the main window follows at the next start.
void retranslateMainWindow();
