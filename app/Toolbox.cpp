// Section index:
//   tab bar and panel switching
//   Font panel
//   Shape panel
#include "app/Toolbox.h"

#include <cstdio>

#include "app/MainMenu.h"
#include "app/MainWindow.h"
#include "app/PanelActions.h"
#include "app/WidgetHelpers.h"
#include "formats/ThreadPalette.h"
#include "gui/Button.h"
#include "gui/Dialog.h"
#include "gui/DropDown.h"
#include "gui/FileUtils.h"
#include "gui/Globals.h"
#include "gui/IconButton.h"
#include "gui/Label.h"
#include "gui/Localization.h"
#include "gui/Slider.h"
#include "gui/TextField.h"
#include "gui/ToolBar.h"
#include "stitchfont/FontSizes.h"

namespace {

const SDL_Color kIconGrey = rgb(0x707070);
const SDL_Color kBlue = rgb(0x338DFB);
const SDL_Color kActiveTab = {255, 255, 255, 128};
const SDL_Color kInactiveTab = rgb(0xC0C0C0);
constexpr int kPanelHeight = 270;

// The greeting a new text starts with: "สวัสดีครับ" (hello).
const char* const kGreeting =
    "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA\xE0\xB8\x94\xE0\xB8\xB5\xE0\xB8\x84\xE0"
    "\xB8\xA3\xE0\xB8\xB1\xE0\xB8\x9A";

GUI_Button* tab(const std::string& caption, void (*action)()) {
    auto* b =
        new GUI_Button(ui.tabBar, caption.c_str(), 0, 0, kToolboxWidth / 2, 36, GUI_Black,
                       TITLE_CENTER_H | TITLE_CENTER_V, 0, [action](GUI_Button*) { action(); });
    b->highlightColor = GUI_NoColor;
    return b;
}

GUI_EditText* editBox(GUI_View* parent, const char* text, int x, int y, int w, int h,
                      int fontPoints, GUI_EditText::ChangeCallback onChange) {
    auto* box = new GUI_EditText(parent, text, x, y, w, h, GUI_Black, TITLE_CENTER_V,
                                 fontIndexForPoints(fontPoints), std::move(onChange));
    box->bgColor = GUI_White;
    box->borderWidth = 1;
    box->borderColor = rgb(0xA0A0A0);
    box->set_align_flags(ALIGN_ABSOLUTE);
    return box;
}

GUI_Dropdown* dropdown(GUI_View* parent, const std::vector<std::string>& items, int x, int y, int w,
                       int h) {
    auto* d = new GUI_Dropdown(parent, "", items, x, y, w, h, GUI_Black);
    d->set_align_flags(ALIGN_ABSOLUTE);
    return d;
}

// ---- Font panel ----

void buildFontPanel() {
    GUI_View* p = ui.fontPanel =
        makeContainer(ui.toolbox, "FontPanel", 0, 0, kToolboxWidth, kPanelHeight);

    ui.typingBox = editBox(p, kGreeting, 16, 50, 204, 32, 16, onTypingChanged);
    ui.typingBox->cornerRadius = 5;

    ui.fontDropdown = dropdown(p, fontDisplayNames(), 16, 90, 128, 30);
    ui.fontDropdown->set_max_rows(15);
    ui.fontDropdown->onSelect = [](GUI_Dropdown*, GUI_List*, int i, const char*) {
        onFontSelect(i);
    };
    ui.fontDropdown->onSelected = [](GUI_Dropdown*, GUI_List*, int) { onSetFont(); };
    ui.fontDropdown->onOpen = onDropdownOpen;
    for (int f = 0; f < kFontCount; ++f) {
        GUI_Dropdown* d = ui.sizeDropdowns[f] = dropdown(p, sizeEntries(f), 146, 90, 74, 30);
        // Choosing a size changes the layer only through "Set Font", so that its undo brings
        // the old size back.
        d->onSelected = [](GUI_Dropdown*, GUI_List*, int) { onSetFont(); };
        d->onOpen = onDropdownOpen;
        d->select(0, false);
        if (f != 0)
            d->hide();
    }

    auto* separator = makeContainer(p, "Separator", 4, 136, 232, 2);
    separator->bgColor = rgb(0xC0C0C0);

    std::vector<std::string> colours;
    SDL_Color swatches[64];
    for (int j = 0; j < 64; ++j) {
        colours.push_back(threadName(j + 1));
        const Rgba c = threadColor(j + 1);
        swatches[j] = {c.r, c.g, c.b, 255};
    }
    ui.colorDropdown = dropdown(p, colours, 16, 150, 204, 32);
    ui.colorDropdown->set_colors(swatches, 64);
    ui.colorDropdown->set_max_rows(16);
    ui.colorDropdown->onSelect = [](GUI_Dropdown*, GUI_List*, int j, const char*) {
        onColorSelect(j);
    };
    ui.colorDropdown->onSelected = [](GUI_Dropdown*, GUI_List*, int j) { onColorSelected(j); };
    ui.colorDropdown->onOpen = onDropdownOpen;

    ui.emoticonButton =
        makeFilledButton(p, "", 16, 200, 24, 23, rgb(0xE4B800), GUI_Black, 14, 3, openEmoticons);
    ui.emoticonButton->set_image(iconTexture(0xF118, 0));
    ui.emoticonButton->tintColor = GUI_Black;
    ui.borderButton = makeFilledButton(p, localizedString("Create Border"), 42, 200, 50, 23, kBlue,
                                       GUI_White, 18, 3, onCreateBorder);

    ui.alignLeftButton = makeIconButton(p, 0xF036, 96, 200, 40, 23, kIconGrey, alignLeft);
    ui.alignCenterButton = makeIconButton(p, 0xF037, 138, 200, 40, 23, kIconGrey, alignCenter);
    ui.alignRightButton = makeIconButton(p, 0xF038, 180, 200, 40, 23, kIconGrey, alignRight);
    ui.verticalFlipButton = makeIconButton(p, 0xF07E, 16, 233, 38, 26, kIconGrey, onVerticalFlip);
    ui.horizontalFlipButton =
        makeIconButton(p, 0xF07D, 56, 233, 34, 26, kIconGrey, onHorizontalFlip);
    ui.letterMinusButton =
        makeIconButton(p, 0xF068, 96, 233, 30, 26, kIconGrey, [] { changeSpacing(-1, 0); });
    ui.letterPlusButton =
        makeIconButton(p, 0xF067, 128, 233, 30, 26, kIconGrey, [] { changeSpacing(1, 0); });
    ui.wordMinusButton =
        makeIconButton(p, 0xF147, 160, 233, 30, 26, kIconGrey, [] { changeSpacing(0, -1); });
    ui.wordPlusButton =
        makeIconButton(p, 0xF196, 192, 233, 30, 26, kIconGrey, [] { changeSpacing(0, 1); });
}

// ---- Shape panel ----

void sizeRow(GUI_View* p, int y, Uint16 icon, GUI_EditText** box, GUI_Slider** slider) {
    auto* label = makeLabel(p, "", 14, y, kIconGrey);
    label->set_image(iconTexture(icon, 0));
    label->tintColor = kIconGrey;
    label->set_size(24, 32);
    *box = editBox(p, "5.0", 38, y, 40, 32, 20, nullptr);
    (*box)->inputFilter = GUI_EditText::FILTER_NUMERIC;
    *slider = new GUI_Slider(p, 80, y, 144, 32, (5.0f - 1.0f) / 19.0f, 10);
    (*slider)->set_align_flags(ALIGN_ABSOLUTE);
}

void buildShapePanel() {
    GUI_View* p = ui.shapePanel =
        makeContainer(ui.toolbox, "ShapePanel", 0, 0, kToolboxWidth, kPanelHeight);
    const std::vector<std::string> shapes = {localizedString("Line"),
                                             localizedString("Triangle"),
                                             localizedString("Rectangle"),
                                             "---",
                                             localizedString("Satin Line"),
                                             localizedString("Sharp Triangle"),
                                             localizedString("Sharp Rectangle"),
                                             "---",
                                             localizedString("Circle/Eclipse")};
    ui.shapeDropdown = dropdown(p, shapes, 16, 46, 204, 32);
    ui.shapeDropdown->select(0, false);

    sizeRow(p, 85, 0xF07E, &ui.widthBox, &ui.widthSlider);
    sizeRow(p, 125, 0xF07D, &ui.heightBox, &ui.heightSlider);
    ui.widthSlider->onChange = [](GUI_Slider*, float v) { onShapeSizeSlider(ui.widthBox, v); };
    ui.heightSlider->onChange = [](GUI_Slider*, float v) { onShapeSizeSlider(ui.heightBox, v); };
    makeLabel(p, "(cm.)", 160, 110, kIconGrey, 2);
    makeLabel(p, localizedString("Line Width :"), 16, 165, rgb(0x242424));
    makeLabel(p, localizedString("Density :"), 128, 165, rgb(0x242424));

    ui.lineWidthMinusButton = makeIconButton(p, 0xF068, 16, 190, 32, 32, kIconGrey,
                                             [] { stepShapeBox(ui.lineWidthBox, -1); });
    ui.lineWidthBox =
        editBox(p, "0.2", 48, 190, 32, 32, 14, [](GUI_EditText*) { onStrokeBoxChanged(); });
    ui.lineWidthBox->inputFilter = GUI_EditText::FILTER_NUMERIC;
    ui.lineWidthPlusButton = makeIconButton(p, 0xF067, 80, 190, 32, 32, kIconGrey,
                                            [] { stepShapeBox(ui.lineWidthBox, 1); });
    ui.densityMinusButton = makeIconButton(p, 0xF068, 128, 190, 32, 32, kIconGrey,
                                           [] { stepShapeBox(ui.densityBox, -1); });
    ui.densityBox =
        editBox(p, "0.4", 160, 190, 32, 32, 14, [](GUI_EditText*) { onStrokeBoxChanged(); });
    ui.densityBox->inputFilter = GUI_EditText::FILTER_NUMERIC;
    ui.densityPlusButton = makeIconButton(p, 0xF067, 192, 190, 32, 32, kIconGrey,
                                          [] { stepShapeBox(ui.densityBox, 1); });

    ui.replaceButton = makeFilledButton(p, localizedString("Replace"), 16, 230, 100, 32, kBlue,
                                        GUI_White, 18, 0, onReplaceShape);
    ui.createButton = makeFilledButton(p, localizedString("Create"), 124, 230, 100, 32, kBlue,
                                       GUI_White, 18, 0, onCreateShape);
    p->hide();
}

// ---- tabs ----

void paintTabs() {
    ui.fontTab->bgColor = ui.fontPanelActive ? kActiveTab : kInactiveTab;
    ui.shapeTab->bgColor = ui.fontPanelActive ? kInactiveTab : kActiveTab;
}

}  // namespace

void buildToolbox() {
    ui.tabBar = new GUI_ToolBar(ui.toolbox, TOOLBAR_TOP, 36);
    ui.tabBar->bgColor = rgb(0xC0C0C0);
    ui.tabBar->set_padding(0, 0, 0, 0);
    ui.fontTab = tab(localizedString("Font"), showFontPanel);
    ui.shapeTab = tab(localizedString("Shape"), showShapePanel);
    buildFontPanel();
    buildShapePanel();
    ui.fontPanelActive = true;
    paintTabs();
}

void showFontPanel() {
    ui.fontPanelActive = true;
    ui.shapePanel->hide();
    ui.fontPanel->show();
    paintTabs();
    refreshControls();
}

void showShapePanel() {
    // An open list of the Font panel would stay floating over the Shape panel.
    closeOpenDropdownLists(nullptr);
    ui.fontPanelActive = false;
    ui.fontPanel->hide();
    ui.shapePanel->show();
    paintTabs();
    refreshControls();
}

std::vector<std::string> sizeEntries(int fontIndex) {
    std::vector<std::string> entries;
    for (int n : stitchfont::fontSizes(fontIndex)) {
        char text[32];
        std::snprintf(text, sizeof text, "%i pt. ", n);
        entries.push_back(text);
    }
    return entries;
}

std::vector<std::string> fontDisplayNames() {
    const jsBuffer namesTxt = jsBufferFromFile(jsToDataPath("MIVO_FONTS/names.txt"));
    std::vector<std::string> names =
        stitchfont::displayNames(std::string_view(namesTxt.getData(), namesTxt.size()), kFontCount);
    for (int i = 0; i < kFontCount; ++i) {
        if (names[i].empty())
            names[i] = "Font " + std::to_string(i + 1);
    }
    return names;
}
