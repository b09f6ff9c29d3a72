// Section index:
//   reading the panels
//   Font panel actions
//   effect panel actions
//   Shape panel actions
//   drop-downs
//   filling the panels from a layer
#include "app/PanelActions.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/MainWindow.h"
#include "app/Settings.h"
#include "design/Border.h"
#include "design/Document.h"
#include "design/ShapeLayer.h"
#include "design/TextEffect.h"
#include "design/commands/ColorCommand.h"
#include "design/commands/CreateBorderCommand.h"
#include "design/commands/CreateShapeCommand.h"
#include "design/commands/EditShapeCommand.h"
#include "design/commands/HorizontalFlipCommand.h"
#include "design/commands/PESEffectCommand.h"
#include "design/commands/TextEffectCommand.h"
#include "design/commands/TranslateCommand.h"
#include "design/commands/VertitalFlipCommand.h"
#include "formats/ThreadPalette.h"
#include "gui/Button.h"
#include "gui/DropDown.h"
#include "gui/IconButton.h"
#include "gui/List.h"
#include "gui/ListCell.h"
#include "gui/Localization.h"
#include "gui/Log.h"
#include "gui/Slider.h"
#include "gui/TextField.h"

namespace {

constexpr int kSpacingLimit = 50;

// ---- reading the panels ----

int selectedIndex() {
    return theDocument ? theDocument->selectedIndex() : -1;
}

PESData* selectedLayer() {
    return theDocument ? theDocument->selectedLayer() : nullptr;
}

int selectedFont() {
    return std::clamp(ui.fontDropdown->selectedIndex, 0, kFontCount - 1);
}

int selectedColor() {
    return std::max(0, ui.colorDropdown->selectedIndex);
}

float boxValue(GUI_EditText* box) {
    return shapes::parseShapeNumber(box->get_text());
}

LayerProperties shapePropertiesFromPanels() {
    LayerProperties p = shapes::shapeProperties(
        std::max(0, ui.shapeDropdown->selectedIndex), boxValue(ui.widthBox), boxValue(ui.heightBox),
        boxValue(ui.lineWidthBox), boxValue(ui.densityBox), selectedColor());
    return p;
}

void run(std::shared_ptr<Command> command) {
    execute(*theDocument, std::move(command));
    refreshControls();
}

void runTextEffect(const std::string& name) {
    PESData* layer = selectedLayer();
    if (!layer || layer->properties.type != kLayerText)
        return;
    const LayerProperties p = textPropertiesFromPanels(layer->properties);
    // The layer keeps its spacing: only the spacing buttons change it.
    run(std::make_shared<TextEffectCommand>(*theDocument, selectedIndex(), name, p,
                                            layer->properties.extraLetterSpace,
                                            layer->properties.extraSpace));
}

void align(const char* name, int32_t (*dx)(const PESData&, int32_t halfHoop)) {
    PESData* layer = selectedLayer();
    if (!layer)
        return;
    auto command = std::make_shared<TranslateCommand>(*theDocument, selectedIndex(),
                                                      dx(*layer, settings.hoopWidth * 5), 0);
    command->name = name;
    run(command);
}

}  // namespace

LayerProperties textPropertiesFromPanels(const LayerProperties& base) {
    LayerProperties p = base;
    p.text = ui.typingBox->get_text();
    p.fontIndex = selectedFont();
    p.fontSizeIndex = std::max(0, ui.sizeDropdowns[p.fontIndex]->selectedIndex);
    p.colorIndex = selectedColor();
    p.baselineIndex = std::max(0, ui.baseLineDropdown->selectedIndex);
    p.radiusValue = ui.radiusSlider->get_value();
    p.angleValue = ui.angleSlider->get_value();
    p.rotateValue = ui.rotateSlider->get_value();
    return p;
}

std::string oneDecimal(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", double(value));
    return text;
}

// ---- Font panel actions ----

void onTypingChanged(GUI_EditText* box) {
    const int i = selectedIndex();
    if (!theDocument || !theDocument->validIndex(i))
        return;
    if (GUI_ListCell* cell = ui.layerList->getCell(i))
        cell->set_text(box->get_text());
    runTextEffect("Typing");
}

void onFontSelect(int fontIndex) {
    for (int f = 0; f < kFontCount; ++f) {
        if (f == fontIndex && ui.fontPanelActive)
            ui.sizeDropdowns[f]->show();
        else
            ui.sizeDropdowns[f]->hide();
    }
}

void onSetFont() {
    runTextEffect("Set Font");
}

void onColorSelect(int colorIndex) {
    const int i = selectedIndex();
    if (theDocument && theDocument->validIndex(i))
        theDocument->setSwatchFromColor(i, colorIndex);
}

void onColorSelected(int colorIndex) {
    const int i = selectedIndex();
    if (!theDocument || !theDocument->validIndex(i))
        return;
    run(std::make_shared<ColorCommand>(*theDocument, i, colorIndex));
    GUI_LogNotice("") << "ddColor->__selected__\n";
}

void changeSpacing(int letterStep, int wordStep) {
    PESData* layer = selectedLayer();
    if (!layer || layer->properties.type != kLayerText)
        return;
    const int32_t letters =
        std::clamp(layer->properties.extraLetterSpace + letterStep, -kSpacingLimit, kSpacingLimit);
    const int32_t words =
        std::clamp(layer->properties.extraSpace + wordStep, -kSpacingLimit, kSpacingLimit);
    const LayerProperties p = textPropertiesFromPanels(layer->properties);
    // Applied at once and not kept in the history: the buttons are pressed many times in a row.
    TextEffectCommand command(*theDocument, selectedIndex(), "", p, letters, words);
    command.redo();
    theDocument->statusDirty = true;
    refreshControls();
}

void alignLeft() {
    align("Align Left", [](const PESData& l, int32_t half) { return -half - l.minX; });
}

void alignCenter() {
    align("Align Center", [](const PESData& l, int32_t) { return -l.centerX; });
}

void alignRight() {
    align("Align Right", [](const PESData& l, int32_t half) { return half - l.maxX; });
}

void onVerticalFlip() {
    if (!selectedLayer())
        return;
    auto command = std::make_shared<VertitalFlipCommand>(*theDocument, selectedIndex());
    command->name = "Vertical Flip";
    run(command);
}

void onHorizontalFlip() {
    if (!selectedLayer())
        return;
    auto command = std::make_shared<HorizontalFlipCommand>(*theDocument, selectedIndex());
    command->name = "Horizintal Flip";
    run(command);
}

void onCreateBorder() {
    PESData* layer = selectedLayer();
    if (!layer)
        return;
    PESData borderLayer;
    if (!border::buildBorderLayer(*layer, selectedColor(), borderLayer))
        return;
    run(std::make_shared<CreateBorderCommand>(*theDocument, borderLayer));
}

// ---- effect panel actions ----

void onBaseLineSelect(int baselineIndex) {
    if (baselineIndex == 0) {
        ui.radiusSlider->hide();
        ui.angleSlider->hide();
    } else {
        ui.radiusSlider->show();
        ui.angleSlider->show();
    }
}

void runEffectCommand(const std::string& name) {
    PESData* layer = selectedLayer();
    if (!layer)
        return;
    const int i = selectedIndex();
    switch (layer->properties.type) {
        case kLayerText:
            runTextEffect(name);
            break;
        case kLayerShape: {
            LayerProperties p = shapePropertiesFromPanels();
            p.baselineIndex = std::max(0, ui.baseLineDropdown->selectedIndex);
            p.radiusValue = ui.radiusSlider->get_value();
            p.angleValue = ui.angleSlider->get_value();
            p.rotateValue = ui.rotateSlider->get_value();
            run(std::make_shared<EditShapeCommand>(*theDocument, i, p));
            break;
        }
        default:
            run(std::make_shared<PESEffectCommand>(
                *theDocument, i, std::max(0, ui.baseLineDropdown->selectedIndex),
                ui.radiusSlider->get_value(), ui.angleSlider->get_value(),
                ui.rotateSlider->get_value()));
            break;
    }
}

void previewRotation(float sliderValue) {
    if (PESData* layer = selectedLayer())
        layer->previewAngle =
            effects::rotationPreviewAngle(sliderValue, layer->properties.rotateValue);
}

void finishRotation() {
    PESData* layer = selectedLayer();
    if (!layer)
        return;
    layer->previewAngle = 0.0f;
    runEffectCommand("Rotate");
}

void translateBaseLineEntries() {
    const char* keys[3] = {"Base Line: Normal", "Base Line: Circle", "Base Line: Circle-Bottom"};
    GUI_Dropdown* d = ui.baseLineDropdown;
    for (int j = 0; j < 3 && j < int(d->items.size()); ++j)
        d->items[j] = localizedString(keys[j]);
    if (d->popup) {
        for (int j = 0; j < 3 && j < d->popup->getCount(); ++j)
            d->popup->getCell(j)->set_text(d->items[j]);
    }
    if (d->selectedIndex >= 0)
        d->set_text(d->items[d->selectedIndex]);
}

// ---- Shape panel actions ----

void onShapeSizeSlider(GUI_EditText* box, float value) {
    box->set_text(oneDecimal(std::clamp(value, 0.0f, 1.0f) * 19.0f + 1.0f));
}

void stepShapeBox(GUI_EditText* box, int step) {
    // Tenths are counted as whole numbers, so repeated steps do not drift.
    const int tenths = std::clamp(int(std::lround(boxValue(box) * 10.0f)) + step, 1, 10);
    box->set_text(oneDecimal(float(tenths) / 10.0f));
    onStrokeBoxChanged();
}

void onStrokeBoxChanged() {
    const float line = boxValue(ui.lineWidthBox), density = boxValue(ui.densityBox);
    auto enable = [](GUI_ButtonFontAwesome* b, bool on) { on ? b->enable() : b->disable(); };
    enable(ui.lineWidthMinusButton, line >= 0.2f - 1e-4f);
    enable(ui.lineWidthPlusButton, line <= 0.9f + 1e-4f);
    enable(ui.densityMinusButton, density >= 0.19f);
    enable(ui.densityPlusButton, density < 1.0f - 1e-4f);
}

void onCreateShape() {
    if (!theDocument)
        return;
    const PESData shape = shapes::buildShapeLayer(shapePropertiesFromPanels());
    run(std::make_shared<CreateShapeCommand>(*theDocument, shape));
}

void onReplaceShape() {
    PESData* layer = selectedLayer();
    if (!layer || layer->properties.type != kLayerShape)
        return;
    LayerProperties p = shapePropertiesFromPanels();
    p.baselineIndex = layer->properties.baselineIndex;
    p.radiusValue = layer->properties.radiusValue;
    p.angleValue = layer->properties.angleValue;
    p.rotateValue = layer->properties.rotateValue;
    run(std::make_shared<EditShapeCommand>(*theDocument, selectedIndex(), p));
}

// ---- drop-downs ----

void closeOpenDropdownLists(GUI_Dropdown* except) {
    std::vector<GUI_Dropdown*> all = {ui.fontDropdown, ui.colorDropdown, ui.baseLineDropdown,
                                      ui.shapeDropdown};
    for (GUI_Dropdown* d : ui.sizeDropdowns)
        all.push_back(d);
    for (GUI_Dropdown* d : all) {
        if (d && d != except && d->open)
            d->close_popup();
    }
}

void onDropdownOpen(GUI_Dropdown* opened) {
    closeOpenDropdownLists(opened);
}

// ---- filling the panels from a layer ----

void resetPanelsForNewDesign() {
    ui.typingBox->set_text(localizedString("Text"));
    ui.fontDropdown->select(0, false);
    ui.sizeDropdowns[0]->select(0, false);
    for (GUI_Dropdown* d : ui.sizeDropdowns)
        d->hide();
    ui.sizeDropdowns[0]->show();
    ui.colorDropdown->select(10, false);
    ui.baseLineDropdown->select(0, true);
    ui.shapeDropdown->select(0, false);
    ui.widthBox->set_text("5.0");
    ui.heightBox->set_text("5.0");
    ui.widthSlider->set_value((5.0f - 1.0f) / 19.0f, true);
    ui.heightSlider->set_value((5.0f - 1.0f) / 19.0f, true);
    ui.lineWidthBox->set_text("0.2");
    ui.densityBox->set_text("0.4");
    onStrokeBoxChanged();
}

void fillPanelsFromLayer(const LayerProperties& p) {
    auto setSliders = [&p] {
        ui.radiusSlider->set_value(std::clamp(p.radiusValue, 0.0f, 1.0f), false);
        ui.angleSlider->set_value(std::clamp(p.angleValue, 0.0f, 1.0f), false);
        ui.rotateSlider->set_value(std::clamp(p.rotateValue, 0.0f, 1.0f), false);
        ui.baseLineDropdown->select(p.baselineIndex, true);
    };
    // A disabled drop-down takes the selection all the same.
    auto selectColor = [&p] {
        const bool wasDisabled = !ui.colorDropdown->is_enabled();
        ui.colorDropdown->enable();
        ui.colorDropdown->select(p.colorIndex, true);
        if (wasDisabled)
            ui.colorDropdown->disable();
    };
    switch (p.type) {
        case kLayerText: {
            // The caret stays where the user is typing when the text is the same.
            if (ui.typingBox->get_text() != p.text)
                ui.typingBox->set_text(p.text);
            const int font = std::clamp(p.fontIndex, 0, kFontCount - 1);
            ui.fontDropdown->select(font, true);
            ui.sizeDropdowns[font]->select(p.fontSizeIndex, true);
            ui.sizeDropdowns[font]->enable();
            ui.colorDropdown->select(p.colorIndex, true);
            setSliders();
            break;
        }
        case kLayerShape:
            setSliders();
            selectColor();
            ui.shapeDropdown->select(p.shapeIndex, false);
            ui.widthBox->set_text(oneDecimal(p.width));
            ui.heightBox->set_text(oneDecimal(p.height));
            ui.widthSlider->set_value((p.width - 1.0f) / 19.0f, true);
            ui.heightSlider->set_value((p.height - 1.0f) / 19.0f, true);
            ui.lineWidthBox->set_text(oneDecimal(p.lineWidth));
            ui.densityBox->set_text(oneDecimal(p.density));
            onStrokeBoxChanged();
            ui.replaceButton->enable();
            break;
        default:
            setSliders();
            selectColor();
            ui.replaceButton->disable();
            break;
    }
}
