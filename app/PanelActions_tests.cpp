// The toolbox's controls in the real main window: each runs its command with the name the menu
// shows, fills from a selected layer without undo entries, and keeps to its limits.

#include <gtest/gtest.h>

#include "app/EditActions.h"
#include "app/EditorTestFixture.h"
#include "app/MainMenu.h"
#include "app/PanelActions.h"
#include "gui/Button.h"
#include "gui/DropDown.h"
#include "gui/IconButton.h"
#include "gui/List.h"
#include "gui/Slider.h"
#include "gui/TextField.h"

namespace {

class Panels : public EditorFixture {
protected:
    // A text layer made with the layer tool bar's "add text" button.
    void addTextLayer() {
        clickOn(ui.layerButtons[kAddTextButton]);
        ASSERT_EQ(doc().layers.back().properties.type, kLayerText);
        ASSERT_GT(doc().layers.back().stitchCount, 0) << "the stitch fonts were not found";
    }
    // Chooses entry j of a drop-down as a user does: open it, click the row.
    void choose(GUI_Dropdown* d, int j) {
        clickOn(d);
        ASSERT_TRUE(d->open);
        ASSERT_NE(d->popup, nullptr);
        frame();
        d->popup->showIndex(j);
        for (int i = 0; i < 30; ++i)  // the list scrolls to the row smoothly
            frame();
        clickOn(d->popup->getCell(j));
        EXPECT_FALSE(d->open);
    }
    size_t undoCount() { return doc().history.undoStack.size(); }
};

TEST_F(Panels, LetterSpacingStopsAtFiftyAndIsNotUndone) {
    addTextLayer();
    doc().layers[0].properties.extraLetterSpace = 50;
    refreshControls();
    EXPECT_FALSE(ui.letterPlusButton->is_enabled());
    EXPECT_TRUE(ui.letterMinusButton->is_enabled());
    const size_t before = undoCount();
    clickOn(ui.letterMinusButton);
    EXPECT_EQ(doc().layers[0].properties.extraLetterSpace, 49);
    EXPECT_EQ(undoCount(), before);
    EXPECT_TRUE(ui.letterPlusButton->is_enabled());

    doc().layers[0].properties.extraLetterSpace = -50;
    doc().layers[0].properties.extraSpace = 50;
    refreshControls();
    EXPECT_FALSE(ui.letterMinusButton->is_enabled());
    EXPECT_TRUE(ui.letterPlusButton->is_enabled());
    EXPECT_FALSE(ui.wordPlusButton->is_enabled());
    changeSpacing(-1, 1);  // at the limits already
    EXPECT_EQ(doc().layers[0].properties.extraLetterSpace, -50);
    EXPECT_EQ(doc().layers[0].properties.extraSpace, 50);
}

TEST_F(Panels, WiderLetterSpacingWidensTheText) {
    addTextLayer();
    const int32_t w = doc().layers[0].boundsWidth;
    for (int i = 0; i < 5; ++i)
        clickOn(ui.letterPlusButton);
    EXPECT_EQ(doc().layers[0].properties.extraLetterSpace, 5);
    EXPECT_GT(doc().layers[0].boundsWidth, w);
}

TEST_F(Panels, TheRotateSliderPreviewsAndItsReleaseMakesOneRotate) {
    addTextLayer();
    clickOn(ui.effectButton);  // the low window starts with the panel collapsed
    const size_t before = undoCount();
    GUI_Slider* s = ui.rotateSlider;
    const int y = (s->y + s->trackY + s->trackThickness / 2) / GUI_scale;
    const int knob = (s->x + s->trackX + int(float(s->trackLength) * s->value)) / GUI_scale;
    press(knob, y);
    move(knob + 20, y);
    EXPECT_NE(doc().layers[0].previewAngle, 0.0f);
    move(knob + 40, y);
    EXPECT_EQ(undoCount(), before);
    release(knob + 40, y);
    frame();
    EXPECT_EQ(doc().layers[0].previewAngle, 0.0f);
    ASSERT_EQ(undoCount(), before + 1);
    EXPECT_EQ(doc().history.undoName(), "Rotate");
    EXPECT_GT(doc().layers[0].properties.rotateValue, 0.5f);
}

TEST_F(Panels, AlignCenterMovesByMinusTheCentre) {
    addTextLayer();
    doc().layers[0].translate(150 - doc().layers[0].centerX, 0);
    doc().layers[0].computeBounds();
    refreshControls();
    ASSERT_EQ(doc().layers[0].centerX, 150);
    ASSERT_TRUE(ui.alignCenterButton->is_enabled());
    clickOn(ui.alignCenterButton);
    EXPECT_EQ(doc().layers[0].centerX, 0);
    EXPECT_EQ(doc().history.undoName(), "Align Center");
    EXPECT_FALSE(ui.alignCenterButton->is_enabled());  // centred now
    clickOn(ui.alignLeftButton);
    EXPECT_EQ(doc().layers[0].minX, -500);  // the 100 mm hoop's left edge
    EXPECT_FALSE(ui.alignLeftButton->is_enabled());
    settings.hoopWidth = 130;
    clickOn(ui.alignRightButton);
    EXPECT_EQ(doc().layers[0].maxX, 650);
}

TEST_F(Panels, PickingTheSizeThatIsSelectedStillSetsTheFont) {
    addTextLayer();
    const size_t before = undoCount();
    choose(ui.sizeDropdowns[0], ui.sizeDropdowns[0]->selectedIndex);
    ASSERT_EQ(undoCount(), before + 1);
    EXPECT_EQ(doc().history.undoName(), "Set Font");
    // A bigger size makes bigger letters; its undo gives the old size back, font and all.
    const int32_t h = doc().layers[0].boundsHeight;
    choose(ui.sizeDropdowns[0], 3);
    EXPECT_EQ(doc().layers[0].properties.fontSizeIndex, 3);
    EXPECT_GT(doc().layers[0].boundsHeight, h);
    doc().history.undo();
    EXPECT_EQ(doc().layers[0].properties.fontSizeIndex, 0);
    EXPECT_EQ(doc().layers[0].boundsHeight, h);
}

TEST_F(Panels, SelectingALayerFillsThePanelsWithoutUndoEntries) {
    addTextLayer();
    choose(ui.colorDropdown, 20);
    EXPECT_EQ(doc().layers[0].properties.colorIndex, 20);
    EXPECT_EQ(doc().history.undoName(), "Color");
    addShape(8, 7.5f, 3.0f);
    EXPECT_TRUE(ui.shapePanel->is_visible());
    EXPECT_EQ(ui.widthBox->get_text(), "7.5");
    EXPECT_EQ(ui.heightBox->get_text(), "3.0");
    EXPECT_EQ(ui.shapeDropdown->selectedIndex, 8);
    EXPECT_TRUE(ui.replaceButton->is_enabled());
    const size_t before = undoCount();
    ui.layerList->selectIndex(0);
    frame();
    EXPECT_EQ(undoCount(), before);
    EXPECT_TRUE(ui.fontPanel->is_visible());
    EXPECT_EQ(ui.colorDropdown->selectedIndex, 20);
    EXPECT_EQ(ui.typingBox->get_text(), doc().layers[0].properties.text);
    EXPECT_TRUE(ui.typingBox->is_enabled());
    // A shape on the Font panel: no size to choose.
    ui.layerList->selectIndex(1);
    showFontPanel();
    EXPECT_FALSE(ui.sizeDropdowns[ui.fontDropdown->selectedIndex]->is_enabled());
    EXPECT_FALSE(ui.typingBox->is_enabled());
    EXPECT_EQ(undoCount(), before);
}

TEST_F(Panels, TypingRebuildsTheTextAndItsRow) {
    addTextLayer();
    const SDL_Point p = centreOf(ui.typingBox);
    click(p.x, p.y);
    key(SDLK_END);
    const size_t before = undoCount();
    typeText("A");
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(doc().history.undoName(), "Typing");
    EXPECT_EQ(doc().layers[0].properties.text, ui.typingBox->get_text());
    EXPECT_EQ(doc().layers[0].properties.text.back(), 'A');
    // Shortcut keys typed into the box are text, not commands.
    key(SDLK_z, KMOD_CTRL);
    EXPECT_EQ(doc().layers[0].properties.text.back(), 'A');
    EXPECT_EQ(doc().layerCount(), 1);
}

TEST_F(Panels, TheFlipButtonsCarryTheNamesTheMenuShows) {
    addTextLayer();
    clickOn(ui.verticalFlipButton);
    EXPECT_EQ(doc().history.undoName(), "Vertical Flip");
    clickOn(ui.horizontalFlipButton);
    EXPECT_EQ(doc().history.undoName(), "Horizintal Flip");
    ASSERT_EQ(doc().history.undoStack.size(), 3u);
}

TEST_F(Panels, TheShapePanelCreatesAndReplacesShapes) {
    clickOn(ui.shapeTab);
    ASSERT_TRUE(ui.shapePanel->is_visible());
    EXPECT_FALSE(ui.replaceButton->is_enabled());
    ui.shapeDropdown->select(2, true);  // Rectangle
    ui.widthSlider->set_value(1.0f, true);
    EXPECT_EQ(ui.widthBox->get_text(), "20.0");
    ui.widthSlider->set_value((8.0f - 1.0f) / 19.0f, true);
    EXPECT_EQ(ui.widthBox->get_text(), "8.0");
    clickOn(ui.createButton);
    ASSERT_EQ(doc().layerCount(), 1);
    EXPECT_EQ(doc().layers[0].properties.type, kLayerShape);
    EXPECT_NEAR(doc().layers[0].boundsWidth, 800, 30);
    EXPECT_TRUE(ui.replaceButton->is_enabled());
    ui.heightBox->set_text("2.0");
    clickOn(ui.replaceButton);
    EXPECT_EQ(doc().history.undoName(), "Edit Shape");
    EXPECT_NEAR(doc().layers[0].boundsHeight, 200, 30);
}

TEST_F(Panels, StrokeButtonsKeepToTheirRange) {
    clickOn(ui.shapeTab);
    for (int i = 0; i < 15; ++i)
        clickOn(ui.lineWidthPlusButton);
    EXPECT_EQ(ui.lineWidthBox->get_text(), "1.0");
    EXPECT_FALSE(ui.lineWidthPlusButton->is_enabled());
    for (int i = 0; i < 15; ++i)
        clickOn(ui.densityMinusButton);
    EXPECT_EQ(ui.densityBox->get_text(), "0.1");
    EXPECT_FALSE(ui.densityMinusButton->is_enabled());
    EXPECT_TRUE(ui.densityPlusButton->is_enabled());
}

TEST_F(Panels, AddTextOnATextLayerDuplicatesItLowerAndFurtherRight) {
    addTextLayer();
    addTextLayer();
    ASSERT_EQ(doc().layerCount(), 2);
    EXPECT_EQ(doc().layers[1].centerX, doc().layers[0].centerX + 25);
    EXPECT_EQ(doc().layers[1].centerY, doc().layers[0].centerY + 25);
}

TEST_F(Panels, NewEmptiesTheDesignAndResetsThePanels) {
    addTextLayer();
    clickOn(ui.shapeTab);
    ui.widthBox->set_text("9.0");
    currentOpenFile = "/tmp/x.mpes";
    chooseMenuAction(MenuAction::New);
    EXPECT_EQ(doc().layerCount(), 0);
    EXPECT_FALSE(doc().history.canUndo());
    EXPECT_EQ(currentOpenFile, "");
    EXPECT_EQ(ui.widthBox->get_text(), "5.0");
    EXPECT_EQ(ui.typingBox->get_text(), "Text");
    EXPECT_TRUE(ui.fontPanel->is_visible());
    EXPECT_EQ(ui.statusLabel->title, "");
    EXPECT_FALSE(menuActionEnabled(MenuAction::Undo));
}

}  // namespace
