// The settings dialog ("Settings..." in the main menu): machine model and hoop, interface
// language, display mode and the four canvas switches.
//
// Modal: while it is up the main window takes no input, and a click outside it does not close it.
// The switches act on the canvas at once (a preview); Cancel, or a change of the window size, puts
// them back as they were. OK stores every value, writes the settings file and has the main window
// translate its captions again. Whenever the dialog closes, the main window gets its input back
// and an open main menu closes.
//
// Built on the root view and owned by it (deleted in the draw pass after close). Units: points.
// Main thread only.
#pragma once

#include <functional>
#include <vector>

#include "gui/Dialog.h"
#include "gui/DropDown.h"
#include "gui/IconButton.h"
#include "gui/Switch.h"

class SettingDialog : public GUI_Dialog {
public:
    explicit SettingDialog(GUI_View* parent);
    ~SettingDialog() override;

    bool handle_event(SDL_Event* e) override;

    // The two buttons' actions.
    void cancel();
    void ok();

    // Runs after OK has stored the values (the language among them); the menu's dialog
    // re-translates the main window here.
    std::function<void()> onStored;

    GUI_Dropdown* modelDropdown = nullptr;
    std::vector<GUI_Dropdown*> hoopDropdowns;  // one per model; only the model's is shown
    GUI_Dropdown* languageDropdown = nullptr;
    GUI_Dropdown* displayDropdown = nullptr;
    GUI_Switch* switches[4] = {};  // jump stitches, grid, rulers, design center
    GUI_ButtonFontAwesome* cancelButton = nullptr;
    GUI_ButtonFontAwesome* okButton = nullptr;

private:
    void buildContent(GUI_View* content);
    void buildBars();
    void showHoopsOf(int model);
    // Closes the dialog and gives the main window its input back.
    void finish();

    bool remembered[4] = {};  // the live switches when the dialog opened
    bool finished = false;
};

// Opens the settings dialog on the root view (the menu's "Settings..."); returns it (owned by the
// root view), or null when there is no root view or the dialog is already open.
SettingDialog* openSettingsDialog();
