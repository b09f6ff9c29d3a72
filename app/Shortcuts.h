// The editor's keyboard shortcuts, as in every desktop editor: Ctrl+Z undo, Ctrl+Shift+Z and
// Ctrl+Y redo, Ctrl+X/C/V cut, copy, paste, Ctrl+D duplicate, Delete removes the selected layer,
// Ctrl+N new, Ctrl+O open, Ctrl+I import, Ctrl+S save. (Cmd on macOS.)
//
// Keys typed into a text field, or while a dialog or another overlay holds the window, are never
// taken as shortcuts.
#pragma once

#include <SDL.h>

// Runs the shortcut of a key-down event; returns whether the event was one (and is consumed).
bool handleShortcut(SDL_Event* e);
