#include "app/SettingDialog.h"

#include <algorithm>
#include <string>

#include "app/MachineModels.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Label.h"
#include "gui/Localization.h"
#include "gui/ToolBar.h"

namespace {

const SDL_Color kBarColor = {30, 38, 56, 187};
const SDL_Color kCaptionColor = {0xC0, 0xC0, 0xC0, 255};
const SDL_Color kItemColor = {0x40, 0x46, 0x80, 255};
const SDL_Color kDropdownBorder = {0xA0, 0xA0, 0xA0, 255};
const SDL_Color kButtonPressed = {0x2D, 0x89, 0xF9, 255};

SettingDialog* openDialog = nullptr;

// The live switch values in the order of the dialog's rows.
bool* liveSwitch(int row) {
    bool* values[4] = {&settings.showJumpStitches, &settings.showGrid, &settings.showRulers,
                       &settings.showDesignCenter};
    return values[row];
}
bool* storedSwitch(int row) {
    bool* values[4] = {&settings.storedShowJumpStitches, &settings.storedShowGrid,
                       &settings.storedShowRulers, &settings.storedShowDesignCenter};
    return values[row];
}

GUI_Label* caption(GUI_View* parent, const char* key, int x, int y) {
    return new GUI_Label(parent, localizedString(key).c_str(), x, y, 0, 0, kCaptionColor, 0, 0);
}

GUI_Dropdown* dropdown(GUI_View* parent, const std::vector<std::string>& items, int x, int y,
                       int w) {
    auto* d = new GUI_Dropdown(parent, "", items, x, y, w, 25, kItemColor);
    d->borderColor = kDropdownBorder;
    return d;
}

GUI_ButtonFontAwesome* barButton(GUI_View* bar, Uint16 icon, int w,
                                 GUI_ButtonFontAwesome::ClickCallback onClick) {
    auto* b = new GUI_ButtonFontAwesome(bar, icon, 0, 0, w, 25, GUI_White, 1, std::move(onClick));
    b->normalBgColor = GUI_Grey;
    b->pressedBgColor = kButtonPressed;
    b->set_margin(5, 5, 5, 5);
    b->set_align_flags(ALIGN_RIGHT | ALIGN_CENTER_V);
    return b;
}

}  // namespace

SettingDialog::SettingDialog(GUI_View* parent)
    : GUI_Dialog(parent, localizedString("Setting").c_str(), 0, 320, 480) {
    GUI_modalView = this;
    GUI_closeModalOnOutsideClick = false;
    draggable = false;
    layoutMode = LAYOUT_COLUMN;

    auto* header = new GUI_ToolBar(this, TOOLBAR_TOP, 44);
    header->bgColor = kBarColor;
    GUI_Label* title = header->add_label(0, localizedString("Setting"), "");
    title->set_text_color(GUI_White);
    if (SDL_Texture* icon = GUI_RenderIcon(0xF013, nullptr, nullptr, GUI_White, 0))
        title->set_image(icon, false);
    title->layout_content();

    auto* content = new GUI_View(this, "Content", 0, 0, -1, -1, GUI_White);
    content->borderWidth = 0;
    content->draggable = false;
    buildContent(content);
    buildBars();
    update_layout();

    // Values as they are now: every hoop list shows the current hoop, the model shows its list.
    for (GUI_Dropdown* d : hoopDropdowns)
        d->select(settings.hoopIndex, false);
    modelDropdown->select(settings.modelIndex, true);
    // Before any choice (a fresh installation) the list shows the language in use, not a blank.
    int language = settings.languageIndex;
    for (int i = 0; i <= 2 && language < 0; ++i) {
        if (currentLanguage == languageCode(i))
            language = i;
    }
    languageDropdown->select(language, false);
    displayDropdown->select(settings.displayMode, false);
    for (int row = 0; row < 4; ++row) {
        remembered[row] = *liveSwitch(row);
        switches[row]->state = *liveSwitch(row);
    }
    center_in_parent();
}

SettingDialog::~SettingDialog() {
    if (openDialog == this)
        openDialog = nullptr;
}

void SettingDialog::buildContent(GUI_View* content) {
    const std::vector<MachineModel>& models = machineModels();
    caption(content, "Model", 14, 4);
    std::vector<std::string> names;
    for (const MachineModel& m : models)
        names.push_back(m.name);
    modelDropdown = dropdown(content, names, 16, 32, 160);

    caption(content, "Hoop size(cm.)", 182, 4);
    for (const MachineModel& m : models) {
        GUI_Dropdown* d = dropdown(content, m.hoopTexts, 184, 32, 120);
        d->hide();
        hoopDropdowns.push_back(d);
    }
    modelDropdown->onSelect = [this](GUI_Dropdown*, GUI_List*, int index, const char*) {
        showHoopsOf(index);
    };

    caption(content, "Language", 14, 80);
    languageDropdown = dropdown(content, {"English", "Thai", "Japanese"}, 16, 110, 160);
    caption(content, "Display Mode", 182, 80);
    displayDropdown = dropdown(content, {"Normal", "3D Effect", "Underlay"}, 184, 110, 120);

    const char* rows[4] = {"Show jump stitches", "Show Grid", "Show Rulers", "Show Design Center"};
    for (int row = 0; row < 4; ++row) {
        const int y = 180 + 40 * row;
        caption(content, rows[row], 14, y);
        switches[row] = new GUI_Switch(content, 260, y, 39, 24, GUI_White,
                                       [row](GUI_Switch*, bool on) { *liveSwitch(row) = on; });
    }
}

void SettingDialog::buildBars() {
    auto* bottom = new GUI_ToolBar(this, TOOLBAR_BOTTOM, 44);
    bottom->bgColor = kBarColor;
    cancelButton = barButton(bottom, 0xF00D, 50, [this](GUI_ButtonFontAwesome*) { cancel(); });
    okButton = barButton(bottom, 0xF00C, 80, [this](GUI_ButtonFontAwesome*) { ok(); });
}

void SettingDialog::showHoopsOf(int model) {
    for (size_t i = 0; i < hoopDropdowns.size(); ++i) {
        GUI_Dropdown* d = hoopDropdowns[i];
        if (int(i) != model) {
            d->close_popup();
            d->hide();
            continue;
        }
        d->show();
        // A model whose list shows no hoop yet (a fresh installation, or a hoop index beyond
        // this model's list) offers the design area in use when it has it, else its first hoop,
        // so that OK never meets a model without a hoop.
        if (d->selectedIndex < 0) {
            const std::vector<Hoop>& hoops = machineModels()[i].hoops;
            int row = 0;
            for (size_t h = 0; h < hoops.size(); ++h) {
                if (hoops[h].width == settings.hoopWidth && hoops[h].height == settings.hoopHeight)
                    row = int(h);
            }
            d->select(row, false);
        }
    }
    update_layout();
}

bool SettingDialog::handle_event(SDL_Event* e) {
    // A new window size closes the dialog as Cancel does; the event goes on to the others.
    if (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
        !finished) {
        cancel();
        return false;
    }
    // Escape is Cancel, as in every dialog of the desktop.
    if (e->type == SDL_KEYDOWN && e->key.keysym.sym == SDLK_ESCAPE && !finished) {
        cancel();
        return true;
    }
    return GUI_Dialog::handle_event(e);
}

void SettingDialog::cancel() {
    if (finished)
        return;
    for (int row = 0; row < 4; ++row)
        *liveSwitch(row) = remembered[row];
    finish();
}

void SettingDialog::ok() {
    if (finished)
        return;
    // A drop-down without a selection (a fresh installation) keeps the value it stands for.
    const int model = modelDropdown->selectedIndex;
    if (model >= 0 && model < int(hoopDropdowns.size())) {
        const int hoop = hoopDropdowns[size_t(model)]->selectedIndex;
        const std::vector<Hoop>& hoops = machineModels()[size_t(model)].hoops;
        if (hoop >= 0 && hoop < int(hoops.size())) {
            settings.modelIndex = model;
            settings.hoopIndex = hoop;
            settings.hoopWidth = hoops[size_t(hoop)].width;
            settings.hoopHeight = hoops[size_t(hoop)].height;
        }
    }
    const int language = languageDropdown->selectedIndex;
    if (language >= 0 && language <= 2) {
        settings.languageIndex = language;
        currentLanguage = languageCode(language);
    }
    if (displayDropdown->selectedIndex >= 0)
        settings.displayMode = std::min(displayDropdown->selectedIndex, 2);
    for (int row = 0; row < 4; ++row)
        *storedSwitch(row) = *liveSwitch(row);
    saveSettings();
    if (onStored) {
        std::function<void()> stored = onStored;
        stored();
    }
    finish();
}

void SettingDialog::finish() {
    finished = true;
    for (GUI_Dropdown* d : {modelDropdown, languageDropdown, displayDropdown})
        d->close_popup();
    for (GUI_Dropdown* d : hoopDropdowns)
        d->close_popup();
    if (GUI_modalView == this) {
        GUI_modalView = nullptr;
        GUI_closeModalOnOutsideClick = true;
    }
    if (openDialog == this)
        openDialog = nullptr;
    hide();
    close();
    endMainWindowOverlay();
}

SettingDialog* openSettingsDialog() {
    if (GUI_TopView == nullptr || openDialog != nullptr)
        return nullptr;
    beginMainWindowOverlay();
    openDialog = new SettingDialog(GUI_TopView);
    openDialog->onStored = retranslateMainWindow;
    return openDialog;
}
