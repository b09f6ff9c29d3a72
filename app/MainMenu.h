// The main menu: a list under the top bar's menu button with the document, edit, align, arrange,
// settings and exit rows. Two row lists: with "Export to MivoStick" when the computer is on the
// stick's network, without it otherwise. The menu's size follows the window height.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

enum class MenuAction {
    Separator,
    New,
    Open,
    Import,
    Save,
    Export,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Duplicate,
    Delete,
    AlignLeft,
    AlignCenter,
    AlignRight,
    SendBackward,
    BringForward,
    MergeDown,
    Settings,
    Exit
};

struct MenuRow {
    MenuAction action;
    const char* caption;  // localisation key; "---" for a separator
    Uint16 icon;          // 0 for none
};

// The rows, with or without "Export to MivoStick".
std::vector<MenuRow> mainMenuRows(bool withExport);

// Height and row height (points) of the menu for the room A below the top bar.
struct MenuGeometry {
    int height;
    int rowHeight;
};
MenuGeometry mainMenuGeometry(int available, bool withExport);

// Whether a row can be chosen now.
bool menuActionEnabled(MenuAction action);

// The caption of a row as shown: translated; Undo and Redo followed by the command's name.
std::string menuCaption(const MenuRow& row);

// The menu button's action: checks the stick network again, then opens the menu (nothing when
// it is open already).
void openMainMenu();

// Runs a row's action as a click on it would, closing the menu where the row does.
void chooseMenuAction(MenuAction action);

// The top bar's and Font panel's overlay actions.
void openGalleryOverlay();
void openEmoticons();
