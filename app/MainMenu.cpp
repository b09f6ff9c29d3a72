// Section index:
//   rows and geometry
//   enabled rows and captions
//   opening, keys, closing
//   actions
#include "app/MainMenu.h"

#include <algorithm>
#include <vector>

#include "app/AppState.h"
#include "app/Controls.h"
#include "app/DocumentFile.h"
#include "app/EditActions.h"
#include "app/EmoticonBalloon.h"
#include "app/FileCommands.h"
#include "app/Gallery.h"
#include "app/MainWindow.h"
#include "app/PanelActions.h"
#include "app/SettingDialog.h"
#include "app/StickExport.h"
#include "app/StickNetwork.h"
#include "app/WidgetHelpers.h"
#include "design/Document.h"
#include "gui/Button.h"
#include "gui/Dialog.h"
#include "gui/Globals.h"
#include "gui/IconButton.h"
#include "gui/List.h"
#include "gui/Localization.h"
#include "gui/Log.h"
#include "gui/Slider.h"
#include "gui/Toolkit.h"

namespace {

std::vector<MenuRow> shownRows;

// Runs an action once, right after the frame in which it was asked for has been shown, outside
// every event handler.
class RunOnce : public GUI_Heartbeat {
public:
    explicit RunOnce(std::function<bool()> action) : action_(std::move(action)) {}
    bool pump() override {
        action_();
        return false;
    }

private:
    std::function<bool()> action_;
};

// A transparent stand-in for a missing icon, owned by the row that shows it.
SDL_Texture* blankIcon() {
    SDL_Texture* t = SDL_CreateTexture(GUI_renderer, SDL_PIXELFORMAT_ARGB8888,
                                       SDL_TEXTUREACCESS_STATIC, 16 * GUI_scale, 16 * GUI_scale);
    if (t) {
        std::vector<Uint32> clear(size_t(256 * GUI_scale * GUI_scale), 0);
        SDL_UpdateTexture(t, nullptr, clear.data(), 16 * GUI_scale * 4);
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    }
    return t;
}

Uint32 postQuit(Uint32, void*) {
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    return 0;
}

// The highlight moves to the nearest enabled row above (-1) or below (+1).
void moveHighlight(int direction) {
    GUI_List* menu = ui.mainMenu;
    const int count = menu->getCount();
    int from = menu->selectedIndex;
    if (from < 0) {
        if (direction < 0)
            return;
        from = -1;
    }
    for (int i = from + direction; i >= 0 && i < count; i += direction) {
        GUI_ListCell* row = menu->getCell(i);
        if (!row->separator && row->selectable) {
            menu->showIndex(i);
            return;
        }
    }
}

bool menuKeys(GUI_View*, SDL_Event* e) {
    if (e->type != SDL_KEYDOWN || !ui.mainMenu)
        return false;
    switch (e->key.keysym.scancode) {
        case SDL_SCANCODE_UP:
            moveHighlight(-1);
            break;
        case SDL_SCANCODE_DOWN:
            moveHighlight(1);
            break;
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER:
            if (ui.mainMenu->selectedIndex >= 0)
                ui.mainMenu->selectIndex(ui.mainMenu->selectedIndex);
            break;
        case SDL_SCANCODE_ESCAPE:
            closeMainMenu();  // as a press outside it does
            break;
        default:
            break;
    }
    return false;
}

void menuRowChosen(int index) {
    if (index < 0 || index >= int(shownRows.size()))
        return;
    chooseMenuAction(shownRows[index].action);
}

}  // namespace

// ---- rows and geometry ----

std::vector<MenuRow> mainMenuRows(bool withExport) {
    std::vector<MenuRow> rows = {
        {MenuAction::New, "New", 0xF15B},
        {MenuAction::Open, "Open...", 0xF07C},
        {MenuAction::Import, "Import...", 0xF090},
        {MenuAction::Separator, "---", 0},
        {MenuAction::Save, "Save...", 0xF0C7},
        {MenuAction::Export, "Export to MivoStick", 0xF08B},
        {MenuAction::Separator, "---", 0},
        {MenuAction::Undo, "Undo", 0xF1DA},
        {MenuAction::Redo, "Redo", 0xF01E},
        {MenuAction::Separator, "---", 0},
        {MenuAction::Cut, "Cut", 0xF0C4},
        {MenuAction::Copy, "Copy", 0xF0C5},
        {MenuAction::Paste, "Paste", 0xF0EA},
        {MenuAction::Duplicate, "Duplicate", 0xF24D},
        {MenuAction::Delete, "Delete", 0xF1F8},
        {MenuAction::Separator, "---", 0},
        {MenuAction::AlignLeft, "Align Left", 0xF036},
        {MenuAction::AlignCenter, "Align Center", 0xF037},
        {MenuAction::AlignRight, "Align Right", 0xF038},
        {MenuAction::Separator, "---", 0},
        {MenuAction::SendBackward, "Send Backward", 0xF149},
        {MenuAction::BringForward, "Bring Forward", 0xF148},
        {MenuAction::MergeDown, "Merge Down", 0xF247},
        {MenuAction::Separator, "---", 0},
        {MenuAction::Settings, "Settings...", 0xF013},
        {MenuAction::Separator, "---", 0},
        {MenuAction::Exit, "Exit", 0},
    };
    if (!withExport) {
        rows.erase(rows.begin() + 5);
        rows.back().icon = 0xF00D;
    }
    return rows;
}

MenuGeometry mainMenuGeometry(int available, bool withExport) {
    const int rows = withExport ? 20 : 19;   // rows that are not separators
    const int cap = withExport ? 790 : 754;  // the height of the menu with 36-point rows
    MenuGeometry g;
    g.height = std::min(available, cap);
    if (available > cap - 1) {
        g.rowHeight = 36;
    } else {
        g.rowHeight = std::max(20, (g.height - 70) / rows);
        g.height = std::min(available, g.rowHeight * rows + 70);
    }
    return g;
}

// ---- enabled rows and captions ----

bool menuActionEnabled(MenuAction action) {
    const bool hasLayers = theDocument && theDocument->layerCount() > 0;
    switch (action) {
        case MenuAction::Separator:
            return false;
        case MenuAction::Import:
            return hasRoomForLayer();
        case MenuAction::Save:
        case MenuAction::Export:
            return hasLayers;
        case MenuAction::Undo:
            return theDocument && theDocument->history.canUndo();
        case MenuAction::Redo:
            return theDocument && theDocument->history.canRedo();
        case MenuAction::Cut:
            return canCut();
        case MenuAction::Copy:
            return canCopy();
        case MenuAction::Paste:
            return canPaste();
        case MenuAction::Duplicate:
            return canDuplicate();
        case MenuAction::Delete:
            return canDelete();
        case MenuAction::AlignLeft:
            return currentControlStates().alignLeft;
        case MenuAction::AlignCenter:
            return currentControlStates().alignCenter;
        case MenuAction::AlignRight:
            return currentControlStates().alignRight;
        case MenuAction::SendBackward:
            return canSendBackward();
        case MenuAction::BringForward:
            return canBringForward();
        case MenuAction::MergeDown:
            return canMergeDown();
        default:
            return true;
    }
}

std::string menuCaption(const MenuRow& row) {
    if (theDocument && row.action == MenuAction::Undo && theDocument->history.canUndo())
        return localizedString("Undo ") + localizedString(theDocument->history.undoName());
    if (theDocument && row.action == MenuAction::Redo && theDocument->history.canRedo())
        return localizedString("Redo ") + localizedString(theDocument->history.redoName());
    return localizedString(row.caption);
}

// ---- opening, keys, closing ----

void openMainMenu() {
    GUI_LogPrint("Mark 00\n");
    checkStickNetwork("IP Address (2): %s\n");
    GUI_LogPrint("Mark 01\n");
    if (stickConnected)
        GUI_LogPrint("Mivo Stick Connected\n");
    const bool withExport = stickConnected;
    const MenuGeometry g =
        mainMenuGeometry(GUI_windowHeight - kTopBarHeight - kBottomBarHeight, withExport);
    if (ui.mainMenu)
        return;

    shownRows = mainMenuRows(withExport);
    std::vector<std::string> captions;
    for (const MenuRow& row : shownRows)
        captions.push_back(row.action == MenuAction::Separator ? "---" : menuCaption(row));
    ui.mainMenu =
        new GUI_List(ui.root, captions, 0, kTopBarHeight, kToolboxWidth, g.height, g.rowHeight,
                     [](GUI_List*, const char*, int i) { menuRowChosen(i); });
    ui.mainMenu->set_align_flags(ALIGN_ABSOLUTE);
    ui.mainMenu->bgColor = rgb(0x545A66, 204);
    ui.mainMenu->eventHandler = menuKeys;
    const int s = GUI_scale;
    for (int i = 0; i < ui.mainMenu->getCount(); ++i) {
        GUI_ListCell* cell = ui.mainMenu->getCell(i);
        const MenuRow& row = shownRows[i];
        if (row.action == MenuAction::Separator)
            continue;
        cell->selectable = menuActionEnabled(row.action);
        // A row without an icon gets a blank one, so that every caption starts at 50 points.
        SDL_Texture* icon = row.icon ? iconTexture(row.icon, 0) : blankIcon();
        int iw = 0;
        SDL_QueryTexture(icon, nullptr, nullptr, &iw, nullptr);
        cell->iconGap = std::max(0, 30 - iw / s);
        cell->set_padding(0, 0, 0, 20);
        cell->set_image(icon);
        cell->tintColor = GUI_White;
    }
    ui.mainMenu->selectedIndex = -1;

    applyMainWindowInput();
    ui.menuButton->pressed = true;
    ui.galleryButton->disable();
}

void closeMainMenu() {
    if (!ui.mainMenu)
        return;
    ui.mainMenu->close();
    ui.mainMenu->hide();
    ui.mainMenu = nullptr;
    applyMainWindowInput();
    ui.menuButton->pressed = false;
    refreshControls();
}

// ---- actions ----

void chooseMenuAction(MenuAction action) {
    if (!menuActionEnabled(action))
        return;
    // Rows that open a dialog hide the menu first and close it once the dialog is done; the
    // settings dialog closes it when it closes itself.
    if (ui.mainMenu && (action == MenuAction::Open || action == MenuAction::Import ||
                        action == MenuAction::Save || action == MenuAction::Settings))
        ui.mainMenu->hide();
    switch (action) {
        case MenuAction::New:
            newDesign();
            break;
        case MenuAction::Open:
            openProjectDialog();
            break;
        case MenuAction::Import:
            importDesignDialog();
            break;
        case MenuAction::Save:
            saveProjectDialog();
            break;
        case MenuAction::Export:
            // After this frame, so that the window shows the closed menu while the transfer
            // holds the main loop.
            GUI_AddHeartbeat(new RunOnce(exportToStick));
            break;
        case MenuAction::Undo:
            undoEdit();
            break;
        case MenuAction::Redo:
            redoEdit();
            break;
        case MenuAction::Cut:
            cutLayer();
            break;
        case MenuAction::Copy:
            copyLayer();
            break;
        case MenuAction::Paste:
            pasteLayer();
            break;
        case MenuAction::Duplicate:
            duplicateLayer();
            break;
        case MenuAction::Delete:
            deleteLayer();
            break;
        case MenuAction::AlignLeft:
            alignLeft();
            break;
        case MenuAction::AlignCenter:
            alignCenter();
            break;
        case MenuAction::AlignRight:
            alignRight();
            break;
        case MenuAction::SendBackward:
            sendBackward();
            break;
        case MenuAction::BringForward:
            bringForward();
            break;
        case MenuAction::MergeDown:
            mergeDown();
            break;
        case MenuAction::Settings:
            openSettingsDialog();
            break;
        case MenuAction::Exit:
            SDL_AddTimer(100, postQuit, nullptr);
            break;
        case MenuAction::Separator:
            break;
    }
    refreshControls();
    if (action != MenuAction::Settings)
        closeMainMenu();
}

void openGalleryOverlay() {
    // The button keeps its pressed colours while the gallery is open.
    ui.galleryButton->pressed = true;
    openGallery(ui.galleryButton->x + ui.galleryButton->w / 2);
}

void openEmoticons() {
    openEmoticonBalloon(ui.emoticonButton);
}
