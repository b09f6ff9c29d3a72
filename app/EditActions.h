// The edit and arrange actions shared by the main menu, the layer tool bar and the keyboard
// shortcuts. Each acts on the selected layer, does nothing when the controls would be disabled
// (so a shortcut can never do what the menu refuses), runs its command through the undo history
// and refreshes the controls.
#pragma once

#include <string>

void undoEdit();
void redoEdit();
void cutLayer();
void copyLayer();
void pasteLayer();
void duplicateLayer();
void deleteLayer();
void sendBackward();
void bringForward();
void mergeDown();
void addText();

// Whether each action can run now (the enabling rules of the menu and the tool bar).
bool canCut();
bool canCopy();
bool canPaste();
bool canDuplicate();
bool canDelete();
bool canSendBackward();
bool canBringForward();
bool canMergeDown();
bool canAddText();
// Whether the design has room for one more layer.
bool hasRoomForLayer();
