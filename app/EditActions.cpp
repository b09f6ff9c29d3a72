#include "app/EditActions.h"

#include <memory>

#include "app/AppState.h"
#include "app/Controls.h"
#include "app/MainWindow.h"
#include "design/Document.h"
#include "design/commands/AddTextCommand.h"
#include "design/commands/BringForwardCommand.h"
#include "design/commands/CutCommand.h"
#include "design/commands/DeleteCommand.h"
#include "design/commands/DuplicateCommand.h"
#include "design/commands/MergeDownCommand.h"
#include "design/commands/PasteCommand.h"
#include "design/commands/SendBackwardCommand.h"
#include "gui/Log.h"

namespace {

// The index of the selected layer; the actions run only when their rule holds, so it is valid.
int selected() {
    return theDocument->selectedIndex();
}

void run(std::shared_ptr<Command> command) {
    execute(*theDocument, std::move(command));
    refreshControls();
}

}  // namespace

bool hasRoomForLayer() {
    return theDocument == nullptr || theDocument->layerCount() < maxLayers;
}
// Cutting takes the layer away as deleting does, so it follows the same rule.
bool canCut() {
    return currentControlStates().deleteLayer;
}
bool canCopy() {
    return theDocument && theDocument->selectedLayer();
}
bool canPaste() {
    return theDocument && theDocument->clipboardFull && hasRoomForLayer();
}
bool canDuplicate() {
    return currentControlStates().duplicate;
}
bool canDelete() {
    return currentControlStates().deleteLayer;
}
bool canSendBackward() {
    return currentControlStates().sendBackward;
}
bool canBringForward() {
    return currentControlStates().bringForward;
}
bool canMergeDown() {
    return currentControlStates().mergeDown;
}
bool canAddText() {
    return currentControlStates().addText;
}

void undoEdit() {
    if (!theDocument || !theDocument->history.canUndo())
        return;
    theDocument->history.undo();
    theDocument->statusDirty = true;
    refreshControls();
}

void redoEdit() {
    if (!theDocument || !theDocument->history.canRedo())
        return;
    theDocument->history.redo();
    theDocument->statusDirty = true;
    refreshControls();
}

void cutLayer() {
    if (canCut())
        run(std::make_shared<CutCommand>(*theDocument, selected()));
}

void copyLayer() {
    if (canCopy()) {
        theDocument->copyToClipboard(selected());
        refreshControls();
    }
}

void pasteLayer() {
    if (canPaste())
        run(std::make_shared<PasteCommand>(*theDocument));
}

void duplicateLayer() {
    if (!canDuplicate())
        return;
    auto command = std::make_shared<DuplicateCommand>(*theDocument, selected());
    GUI_LogNotice("DuplicateCommand") << command.get();
    run(command);
}

void deleteLayer() {
    if (canDelete())
        run(std::make_shared<DeleteCommand>(*theDocument, selected()));
}

void sendBackward() {
    if (canSendBackward())
        run(std::make_shared<SendBackwardCommand>(*theDocument, selected()));
}

void bringForward() {
    if (canBringForward())
        run(std::make_shared<BringForwardCommand>(*theDocument, selected()));
}

void mergeDown() {
    if (canMergeDown())
        run(std::make_shared<MergeDownCommand>(*theDocument, selected()));
}

void addText() {
    if (canAddText())
        run(std::make_shared<AddTextCommand>(*theDocument, theDocument->selectedIndex()));
}
