#include "app/Shortcuts.h"

#include "app/EditActions.h"
#include "app/MainMenu.h"
#include "app/MainWindow.h"
#include "gui/Globals.h"
#include "gui/TextField.h"
#include "gui/View.h"

namespace {

bool typingIntoAField() {
    const auto* field = dynamic_cast<const GUI_EditText*>(GUI_mouseCapture);
    return field != nullptr && field->focused;
}

// A dialog, the gallery, the balloon or the menu has the window: the canvas then takes no input.
bool overlayUp() {
    return GUI_modalView != nullptr || (ui.mainView && !ui.mainView->interactive) ||
           ui.mainMenu != nullptr;
}

}  // namespace

bool handleShortcut(SDL_Event* e) {
    if (e->type != SDL_KEYDOWN || typingIntoAField() || overlayUp() || !ui.root)
        return false;
    const SDL_Keymod mod = SDL_Keymod(e->key.keysym.mod);
    const bool command = (mod & (KMOD_CTRL | KMOD_GUI)) != 0;
    const bool shift = (mod & KMOD_SHIFT) != 0;
    const SDL_Keycode key = e->key.keysym.sym;
    if (!command) {
        if (key == SDLK_DELETE && (mod & (KMOD_ALT | KMOD_SHIFT)) == 0) {
            chooseMenuAction(MenuAction::Delete);
            return true;
        }
        return false;
    }
    switch (key) {
        case SDLK_z:
            chooseMenuAction(shift ? MenuAction::Redo : MenuAction::Undo);
            return true;
        case SDLK_y:
            chooseMenuAction(MenuAction::Redo);
            return true;
        case SDLK_x:
            chooseMenuAction(MenuAction::Cut);
            return true;
        case SDLK_c:
            chooseMenuAction(MenuAction::Copy);
            return true;
        case SDLK_v:
            chooseMenuAction(MenuAction::Paste);
            return true;
        case SDLK_d:
            chooseMenuAction(MenuAction::Duplicate);
            return true;
        case SDLK_n:
            chooseMenuAction(MenuAction::New);
            return true;
        case SDLK_o:
            chooseMenuAction(MenuAction::Open);
            return true;
        case SDLK_i:
            chooseMenuAction(MenuAction::Import);
            return true;
        case SDLK_s:
            chooseMenuAction(MenuAction::Save);
            return true;
        default:
            return false;
    }
}
