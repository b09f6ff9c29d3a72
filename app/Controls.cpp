#include "app/Controls.h"

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "design/Document.h"
#include "gui/Button.h"
#include "gui/DropDown.h"
#include "gui/IconButton.h"
#include "gui/Slider.h"
#include "gui/TextField.h"

ControlStates computeControlStates(const Document& document, int selected, int hoopWidthMm,
                                   bool fontPanelActive) {
    ControlStates c;
    const int L = document.layerCount();
    const bool has = L > 0 && selected >= 0 && selected < L;
    const PESData* layer = has ? &document.layers[selected] : nullptr;
    const bool text = layer && layer->properties.type == kLayerText;

    if (layer && text) {
        c.typingBox = c.fontDropdown = c.colorDropdown = c.baseLineDropdown = true;
        c.borderButton = true;
        const int32_t letters = layer->properties.extraLetterSpace;
        const int32_t words = layer->properties.extraSpace;
        c.letterMinus = letters > -50;
        c.letterPlus = letters < 50;
        c.wordMinus = words > -50;
        c.wordPlus = words < 50;
    } else if (layer) {
        c.colorDropdown = layer->numColorChange == 0;
        c.baseLineDropdown = true;
    }
    c.effectSliders = has;
    c.sizeDropdown = has && fontPanelActive && text;

    if (has && L >= 2) {
        c.deleteLayer = true;
        c.sendBackward = selected != 0;
        c.bringForward = selected != L - 1;
        c.mergeDown = selected + 1 < L;
    }

    if (layer) {
        c.duplicate = c.flips = true;
        const int32_t edge = 5 * hoopWidthMm;
        c.alignLeft = layer->minX != -edge;
        c.alignRight = layer->maxX != edge;
        c.alignCenter = layer->centerX != 0;
    }

    const bool room = L < maxLayers;
    c.duplicate = c.duplicate && room;
    c.addText = room;
    c.galleryButton = c.emoticonButton = room;
    // A full design cannot take a border either.
    c.borderButton = c.borderButton && room;
    return c;
}

ControlStates currentControlStates() {
    if (!theDocument)
        return ControlStates{};
    return computeControlStates(*theDocument, theDocument->selectedIndex(), settings.hoopWidth,
                                ui.fontPanelActive);
}

namespace {

void setEnabled(GUI_View* v, bool on) {
    if (!v)
        return;
    if (on)
        v->enable();
    else
        v->disable();
}

void setShown(GUI_View* v, bool on) {
    if (!v)
        return;
    if (on)
        v->show();
    else
        v->hide();
}

}  // namespace

void refreshControls() {
    if (!theDocument || !ui.root)
        return;
    const ControlStates c = currentControlStates();
    const int font = ui.fontDropdown->selectedIndex >= 0 ? ui.fontDropdown->selectedIndex : 0;

    setEnabled(ui.typingBox, c.typingBox);
    setEnabled(ui.fontDropdown, c.fontDropdown);
    setEnabled(ui.sizeDropdowns[font], c.sizeDropdown);
    setEnabled(ui.colorDropdown, c.colorDropdown);
    setEnabled(ui.baseLineDropdown, c.baseLineDropdown);
    if (c.effectSliders) {
        ui.rotateSlider->show();
    } else {
        ui.radiusSlider->hide();
        ui.angleSlider->hide();
        ui.rotateSlider->hide();
    }
    setEnabled(ui.borderButton, c.borderButton);
    setEnabled(ui.letterMinusButton, c.letterMinus);
    setEnabled(ui.letterPlusButton, c.letterPlus);
    setEnabled(ui.wordMinusButton, c.wordMinus);
    setEnabled(ui.wordPlusButton, c.wordPlus);

    setEnabled(ui.layerButtons[kSendBackwardButton], c.sendBackward);
    setEnabled(ui.layerButtons[kBringForwardButton], c.bringForward);
    setEnabled(ui.layerButtons[kMergeDownButton], c.mergeDown);
    setEnabled(ui.layerButtons[kDeleteButton], c.deleteLayer);
    setEnabled(ui.layerButtons[kDuplicateButton], c.duplicate);
    setEnabled(ui.layerButtons[kAddTextButton], c.addText);
    setEnabled(ui.verticalFlipButton, c.flips);
    setEnabled(ui.horizontalFlipButton, c.flips);
    setEnabled(ui.alignLeftButton, c.alignLeft);
    setEnabled(ui.alignCenterButton, c.alignCenter);
    setEnabled(ui.alignRightButton, c.alignRight);
    setEnabled(ui.emoticonButton, c.emoticonButton);
    // The gallery button keeps the look an open overlay gives it.
    if (!ui.galleryButton->pressed && ui.mainMenu == nullptr)
        setEnabled(ui.galleryButton, c.galleryButton);

    const PESData* layer = theDocument->selectedLayer();
    setEnabled(ui.replaceButton, layer && layer->properties.type == kLayerShape);
    setShown(ui.sizeDropdowns[font], ui.fontPanelActive);
}
