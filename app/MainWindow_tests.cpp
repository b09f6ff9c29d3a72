// The main window built in-process: its layout against the layout tables, the enabling rules,
// the main menu, and the window-size handler.

#include <gtest/gtest.h>

#include "app/Controls.h"
#include "app/EditActions.h"
#include "app/EditorTestFixture.h"
#include "app/MainMenu.h"
#include "design/HeadlessLayerList.h"
#include "gui/Button.h"
#include "gui/Dialog.h"
#include "gui/DropDown.h"
#include "gui/IconButton.h"
#include "gui/Label.h"
#include "gui/List.h"
#include "gui/Slider.h"
#include "gui/TextField.h"
#include "gui/ToolBar.h"

namespace {

SDL_Rect pointsOf(const GUI_View* v) {
    return {v->x / GUI_scale, v->y / GUI_scale, v->w / GUI_scale, v->h / GUI_scale};
}

void expectRect(const GUI_View* v, SDL_Rect want, const char* what) {
    const SDL_Rect r = pointsOf(v);
    EXPECT_EQ(r.x, want.x) << what;
    EXPECT_EQ(r.y, want.y) << what;
    if (want.w >= 0) {
        EXPECT_EQ(r.w, want.w) << what;
    }
    if (want.h >= 0) {
        EXPECT_EQ(r.h, want.h) << what;
    }
}

using MainWindow = EditorFixture;

TEST_F(MainWindow, RegionsAndPanelsSitWhereTheLayoutTablesPutThem) {
    const int W = 1024, H = 673, tx = W - 240, ty = 36;
    expectRect(ui.topBar, {0, 0, W, 36}, "top bar");
    expectRect(ui.mainView, {0, 36, W, H - 56}, "canvas");
    expectRect(ui.bottomBar, {0, H - 20, W, 20}, "bottom bar");
    expectRect(ui.toolbox, {tx, ty, 240, H - 56}, "toolbox");
    expectRect(ui.zoomSlider, {W - 295, 72, 50, 320}, "zoom slider");
    expectRect(ui.typingBox, {tx + 16, ty + 50, 204, 32}, "typing box");
    expectRect(ui.fontDropdown, {tx + 16, ty + 90, 128, 30}, "font drop-down");
    expectRect(ui.sizeDropdowns[0], {tx + 146, ty + 90, 74, 30}, "size drop-down");
    expectRect(ui.colorDropdown, {tx + 16, ty + 150, 204, 32}, "colour drop-down");
    expectRect(ui.emoticonButton, {tx + 16, ty + 200, 24, 23}, "emoticon button");
    expectRect(ui.borderButton, {tx + 42, ty + 200, 50, 23}, "border button");
    expectRect(ui.alignRightButton, {tx + 180, ty + 200, 40, 23}, "align right");
    expectRect(ui.wordPlusButton, {tx + 192, ty + 233, 30, 26}, "word plus");
    expectRect(ui.createButton, {tx + 124, ty + 230, 100, 32}, "create");
    // A window lower than 768 points starts with the effect panel collapsed and the layers
    // label at 294.
    expectRect(ui.effectPanel, {tx, ty + 270, 240, 24}, "effect panel");
    expectRect(ui.layersLabel, {tx, ty + 294, 240, -1}, "layers label");
    expectRect(ui.layerToolBar, {tx, ty + (H - 56) - 30, 240, 30}, "layer tool bar");
    EXPECT_EQ(ui.layerList->y, ui.layersLabel->y + ui.layersLabel->h);
    EXPECT_EQ(ui.layerList->y + ui.layerList->h, ui.layerToolBar->y);
    // The captions come from the translations, the version from start-up.
    EXPECT_EQ(ui.versionLabel->title, "Version: 1.00.50");
    EXPECT_EQ(ui.fontTab->title, "Font");
    EXPECT_EQ(ui.fontDropdown->items.size(), 15u);
    EXPECT_EQ(ui.colorDropdown->items.size(), 64u);
    EXPECT_EQ(ui.fontDropdown->selectedIndex, 0);
    EXPECT_EQ(ui.colorDropdown->selectedIndex, 10);
    EXPECT_EQ(ui.sizeDropdowns[0]->items[0], "5 pt. ");
}

TEST_F(MainWindow, ATallWindowStartsWithTheEffectPanelOpen) {
    startEditor(1024, 900);
    const int tx = 1024 - 240, ty = 36;
    expectRect(ui.effectPanel, {tx, ty + 270, 240, 200}, "effect panel");
    expectRect(ui.layersLabel, {tx, ty + 470, 240, -1}, "layers label");
    // Collapsing moves the label and the top of the list up by 176; the list still ends at the
    // tool bar.
    clickOn(ui.effectButton);
    EXPECT_EQ(pointsOf(ui.effectPanel).h, 24);
    EXPECT_EQ(pointsOf(ui.layersLabel).y, ty + 294);
    EXPECT_EQ(ui.layerList->y + ui.layerList->h, ui.layerToolBar->y);
}

TEST_F(MainWindow, ALowWindowOpensTheEffectPanelUpwards) {
    clickOn(ui.effectButton);
    const int ty = 36;
    EXPECT_EQ(pointsOf(ui.effectPanel).y, ty + 270 - 176);
    EXPECT_EQ(pointsOf(ui.effectPanel).h, 200);
    EXPECT_EQ(pointsOf(ui.layersLabel).y, ty + 294);
}

TEST(MainMenuGeometry, FollowsTheRoomBelowTheTopBar) {
    struct Case {
        int available;
        bool withExport;
        int height, rowHeight;
    };
    const Case cases[] = {
        {900, true, 790, 36}, {790, true, 790, 36},  {789, true, 770, 35},  {500, true, 490, 21},
        {300, true, 300, 20}, {900, false, 754, 36}, {500, false, 488, 22}, {100, false, 100, 20},
    };
    for (const Case& c : cases) {
        const MenuGeometry g = mainMenuGeometry(c.available, c.withExport);
        EXPECT_EQ(g.height, c.height) << c.available << " " << c.withExport;
        EXPECT_EQ(g.rowHeight, c.rowHeight) << c.available << " " << c.withExport;
    }
    EXPECT_EQ(mainMenuRows(true).size(), 27u);
    EXPECT_EQ(mainMenuRows(false).size(), 26u);
    EXPECT_EQ(mainMenuRows(true).back().icon, 0);
    EXPECT_EQ(mainMenuRows(false).back().icon, 0xF00D);
}

TEST_F(MainWindow, TheMenuOpensUnderTheTopBarAndClosesOnAPressElsewhere) {
    clickOn(ui.menuButton);
    ASSERT_NE(ui.mainMenu, nullptr);
    EXPECT_EQ(ui.mainMenu->getCount(), 26);  // no stick network here
    const MenuGeometry g = mainMenuGeometry(673 - 56, false);
    expectRect(ui.mainMenu, {0, 36, 240, g.height}, "menu");
    EXPECT_TRUE(ui.menuButton->pressed);
    EXPECT_FALSE(ui.toolbox->interactive);
    // Without layers only New, Open, Import, Settings and Exit can be chosen.
    EXPECT_FALSE(ui.mainMenu->getCell(4)->selectable);  // Save...
    EXPECT_FALSE(ui.mainMenu->getCell(6)->selectable);  // Undo
    EXPECT_TRUE(ui.mainMenu->getCell(2)->selectable);   // Import...
    // A second press of the menu button closes it instead of opening another.
    clickOn(ui.menuButton);
    EXPECT_EQ(ui.mainMenu, nullptr);
    clickOn(ui.menuButton);
    ASSERT_NE(ui.mainMenu, nullptr);
    click(500, 300);
    EXPECT_EQ(ui.mainMenu, nullptr);
    EXPECT_TRUE(ui.toolbox->interactive);
    EXPECT_FALSE(ui.menuButton->pressed);
}

TEST_F(MainWindow, MenuKeysMoveOverEnabledRowsOnly) {
    addShape();
    const int32_t cx = doc().layers[0].centerX, cy = doc().layers[0].centerY;
    clickOn(ui.menuButton);
    ASSERT_NE(ui.mainMenu, nullptr);
    key(SDLK_DOWN);
    EXPECT_EQ(ui.mainMenu->selectedIndex, 0);
    key(SDLK_UP);  // already on the first row
    EXPECT_EQ(ui.mainMenu->selectedIndex, 0);
    key(SDLK_DOWN);
    key(SDLK_DOWN);
    key(SDLK_DOWN);  // over the separator to Save...
    EXPECT_EQ(ui.mainMenu->selectedIndex, 4);
    key(SDLK_DOWN);  // Undo is enabled: the shape can be undone
    EXPECT_EQ(ui.mainMenu->selectedIndex, 6);
    EXPECT_EQ(ui.mainMenu->getCell(6)->title, "Undo Create Shape");
    // The arrow keys belong to the menu: the selected shape was not nudged.
    EXPECT_EQ(doc().layers[0].centerX, cx);
    EXPECT_EQ(doc().layers[0].centerY, cy);
    key(SDLK_RETURN);
    EXPECT_EQ(doc().layerCount(), 0);
    EXPECT_EQ(ui.mainMenu, nullptr);
    EXPECT_TRUE(doc().history.canRedo());
}

TEST_F(MainWindow, EscapeClosesTheMenuAndChoosesNothing) {
    addShape();
    clickOn(ui.menuButton);
    ASSERT_NE(ui.mainMenu, nullptr);
    key(SDLK_DOWN);
    key(SDLK_ESCAPE);
    EXPECT_EQ(ui.mainMenu, nullptr);
    EXPECT_FALSE(ui.menuButton->pressed);
    EXPECT_TRUE(ui.toolbox->interactive);
    EXPECT_EQ(doc().layerCount(), 1);  // New, on the highlighted row, did not run
}

TEST_F(MainWindow, SixteenLayersDisableEverythingThatAddsOne) {
    for (int i = 0; i < 16; ++i)
        addShape();
    ASSERT_EQ(doc().layerCount(), 16);
    copyLayer();
    EXPECT_FALSE(menuActionEnabled(MenuAction::Import));
    EXPECT_FALSE(menuActionEnabled(MenuAction::Paste));
    EXPECT_FALSE(menuActionEnabled(MenuAction::Duplicate));
    EXPECT_FALSE(ui.layerButtons[kDuplicateButton]->is_enabled());
    EXPECT_FALSE(ui.layerButtons[kAddTextButton]->is_enabled());
    EXPECT_FALSE(ui.galleryButton->is_enabled());
    EXPECT_FALSE(ui.emoticonButton->is_enabled());
    EXPECT_FALSE(ui.borderButton->is_enabled());
    // Neither the shortcuts nor the buttons add a seventeenth layer.
    key(SDLK_v, KMOD_CTRL);
    key(SDLK_d, KMOD_CTRL);
    clickOn(ui.layerButtons[kAddTextButton]);
    EXPECT_EQ(doc().layerCount(), 16);
    // One fewer and they come back. (The click on the disabled button left the selection.)
    ASSERT_EQ(doc().selectedIndex(), 15);
    deleteLayer();
    ASSERT_EQ(doc().layerCount(), 15);
    EXPECT_TRUE(menuActionEnabled(MenuAction::Paste));
    EXPECT_TRUE(ui.layerButtons[kAddTextButton]->is_enabled());
    EXPECT_TRUE(ui.emoticonButton->is_enabled());
}

TEST_F(MainWindow, OneLayerCanBeCopiedAndDuplicatedButNotCutOrMoved) {
    addShape();
    ASSERT_EQ(doc().selectedIndex(), 0);
    EXPECT_FALSE(menuActionEnabled(MenuAction::Cut));
    EXPECT_FALSE(ui.layerButtons[kDeleteButton]->is_enabled());
    EXPECT_FALSE(ui.layerButtons[kSendBackwardButton]->is_enabled());
    EXPECT_FALSE(ui.layerButtons[kBringForwardButton]->is_enabled());
    EXPECT_FALSE(ui.layerButtons[kMergeDownButton]->is_enabled());
    EXPECT_TRUE(menuActionEnabled(MenuAction::Copy));
    EXPECT_TRUE(menuActionEnabled(MenuAction::Duplicate));
    EXPECT_TRUE(ui.layerButtons[kDuplicateButton]->is_enabled());
}

TEST(ControlRules, OrderButtonsFollowTheSelectedRow) {
    HeadlessLayerList host;
    Document d(host);
    for (int i = 0; i < 3; ++i) {
        PESData l = shapes::buildShapeLayer(shapes::shapeProperties(2, 3, 3, 0.2f, 0.4f, 10));
        d.appendLayer(l, "x");
    }
    struct Case {
        int selected;
        bool back, forward, merge, del;
    };
    const Case cases[] = {{-1, false, false, false, false},
                          {0, false, true, true, true},
                          {1, true, true, true, true},
                          {2, true, false, false, true}};
    for (const Case& c : cases) {
        const ControlStates s = computeControlStates(d, c.selected, 100, true);
        EXPECT_EQ(s.sendBackward, c.back) << c.selected;
        EXPECT_EQ(s.bringForward, c.forward) << c.selected;
        EXPECT_EQ(s.mergeDown, c.merge) << c.selected;
        EXPECT_EQ(s.deleteLayer, c.del) << c.selected;
        EXPECT_EQ(s.flips, c.selected >= 0) << c.selected;
    }
    // A centred layer cannot be centred again; a layer at the hoop's left edge cannot go left.
    PESData& l = d.layers[0];
    l.translate(-l.centerX, 0);
    l.computeBounds();
    EXPECT_FALSE(computeControlStates(d, 0, 100, true).alignCenter);
    l.translate(-500 - l.minX, 0);
    l.computeBounds();
    const ControlStates s = computeControlStates(d, 0, 100, true);
    EXPECT_FALSE(s.alignLeft);
    EXPECT_TRUE(s.alignRight);
    EXPECT_TRUE(s.alignCenter);
    // Shapes are not text: no typing, no fonts, no spacing, no border.
    EXPECT_FALSE(s.typingBox);
    EXPECT_FALSE(s.sizeDropdown);
    EXPECT_FALSE(s.borderButton);
    EXPECT_FALSE(s.letterPlus);
    EXPECT_TRUE(s.colorDropdown);
    EXPECT_TRUE(s.baseLineDropdown);
}

TEST_F(MainWindow, ExitQuitsThroughTheTimer) {
    clickOn(ui.menuButton);
    chooseMenuAction(MenuAction::Exit);
    EXPECT_EQ(ui.mainMenu, nullptr);
    SDL_Event e;
    bool quit = false;
    const Uint32 until = SDL_GetTicks() + 2000;
    while (!quit && SDL_GetTicks() < until) {
        while (SDL_PollEvent(&e))
            quit = quit || e.type == SDL_QUIT;
        SDL_Delay(10);
    }
    EXPECT_TRUE(quit);
}

TEST_F(MainWindow, ASmallWindowNeverGivesNegativeSizes) {
    windowResized(200, 40);
    EXPECT_GE(ui.toolbox->h, 0);
    EXPECT_GE(ui.mainView->h, 0);
    EXPECT_GE(ui.layerList->h, 0);
    windowResized(1280, 800);
    expectRect(ui.toolbox, {1280 - 240, 36, 240, 800 - 56}, "toolbox");
    expectRect(ui.mainView, {0, 36, 1280, 800 - 56}, "canvas");
    expectRect(ui.zoomSlider, {1280 - 295, 72, 50, 320}, "zoom slider");
    EXPECT_EQ(ui.layerList->y + ui.layerList->h, ui.layerToolBar->y);
    expectRect(ui.layerToolBar, {1280 - 240, 36 + 800 - 56 - 30, 240, 30}, "tool bar");
}

TEST_F(MainWindow, TheToolboxSlidesOutAndBack) {
    clickOn(ui.toolboxToggle);
    for (int i = 0; i < 30; ++i)
        frame();
    EXPECT_EQ(ui.toolbox->x, 1024);
    EXPECT_EQ(ui.zoomSlider->x, 1024 - 55);
    clickOn(ui.toolboxToggle);
    for (int i = 0; i < 30; ++i)
        frame();
    EXPECT_EQ(ui.toolbox->x, 1024 - 240);
    EXPECT_EQ(ui.zoomSlider->x, 1024 - 295);
}

}  // namespace
