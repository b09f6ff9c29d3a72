#include "app/EffectPanel.h"

#include "app/LayerSection.h"
#include "app/MainWindow.h"
#include "app/PanelActions.h"
#include "app/WidgetHelpers.h"
#include "gui/Button.h"
#include "gui/Dialog.h"
#include "gui/DropDown.h"
#include "gui/Globals.h"
#include "gui/Label.h"
#include "gui/List.h"
#include "gui/Localization.h"
#include "gui/Slider.h"

namespace {

constexpr int kPanelTop = 270;
constexpr int kExpandedHeight = 200;
constexpr int kCollapsedHeight = 24;
constexpr int kTravel = kExpandedHeight - kCollapsedHeight;  // 176
constexpr Uint16 kIconExpanded = 0xF056;
constexpr Uint16 kIconCollapsed = 0xF055;
const SDL_Color kCaption = rgb(0x242424);

GUI_Slider* effectSlider(int y, float value) {
    auto* s = new GUI_Slider(ui.effectPanel, 70, y, 150, 40, value, 10);
    s->set_align_flags(ALIGN_ABSOLUTE);
    return s;
}

void setPanelHeight(int points) {
    ui.effectPanel->set_size(kToolboxWidth, points);
    ui.effectPanel->hSpec = points;
    ui.effectButton->set_image(
        iconTexture(points == kExpandedHeight ? kIconExpanded : kIconCollapsed, 0));
}

}  // namespace

void buildEffectPanel() {
    const bool low = GUI_windowHeight < 768;
    ui.effectPanel = makeContainer(ui.toolbox, "EffectPanel", 0, kPanelTop, kToolboxWidth,
                                   low ? kCollapsedHeight : kExpandedHeight);
    ui.effectPanel->bgColor = rgb(0xEEF0F4);

    ui.effectButton =
        makeFilledButton(ui.effectPanel, localizedString("Effect"), 0, 0, kToolboxWidth,
                         kCollapsedHeight, rgb(0x005BD5), GUI_White, 16, 0, toggleEffectPanel);
    ui.effectButton->highlightColor = {255, 255, 255, 64};

    const std::vector<std::string> baseLines = {"Base Line: Normal", "Base Line: Circle",
                                                "Base Line: Circle-Bottom"};
    ui.baseLineDropdown =
        new GUI_Dropdown(ui.effectPanel, "", baseLines, 16, 36, 204, 32, GUI_Black);
    ui.baseLineDropdown->set_align_flags(ALIGN_ABSOLUTE);
    ui.baseLineDropdown->onOpen = [](GUI_Dropdown* d) {
        translateBaseLineEntries();
        onDropdownOpen(d);
    };
    ui.baseLineDropdown->onSelect = [](GUI_Dropdown*, GUI_List*, int j, const char*) {
        onBaseLineSelect(j);
    };
    ui.baseLineDropdown->onSelected = [](GUI_Dropdown*, GUI_List*, int) {
        runEffectCommand("Base Line");
    };

    ui.radiusLabel = makeLabel(ui.effectPanel, localizedString("Radius :"), 16, 80, kCaption);
    ui.angleLabel = makeLabel(ui.effectPanel, localizedString("Angle :"), 16, 120, kCaption);
    ui.rotateLabel = makeLabel(ui.effectPanel, localizedString("Rotate :"), 16, 160, kCaption);
    ui.radiusSlider = effectSlider(72, 0.5f);
    ui.angleSlider = effectSlider(112, 0.1f);
    ui.rotateSlider = effectSlider(152, 0.5f);
    ui.radiusSlider->onRelease = [](GUI_Slider*, float) { runEffectCommand("Radius"); };
    ui.angleSlider->onRelease = [](GUI_Slider*, float) { runEffectCommand("Angle"); };
    ui.rotateSlider->onChange = [](GUI_Slider*, float v) { previewRotation(v); };
    ui.rotateSlider->onRelease = [](GUI_Slider*, float) { finishRotation(); };

    ui.effectPanelExpanded = !low;
    setPanelHeight(low ? kCollapsedHeight : kExpandedHeight);
}

void toggleEffectPanel() {
    const int d = kTravel * GUI_scale;
    ui.effectPanelExpanded = !ui.effectPanelExpanded;
    const bool expand = ui.effectPanelExpanded;
    setPanelHeight(expand ? kExpandedHeight : kCollapsedHeight);
    if (GUI_windowHeight < 768) {
        // A low window has no room below: the panel opens upwards over the panel above.
        ui.effectPanel->move_by(0, expand ? -d : d);
    } else {
        ui.layersLabel->move_by(0, expand ? d : -d);
        fitLayerList();
    }
    ui.effectPanel->update_layout();
}
