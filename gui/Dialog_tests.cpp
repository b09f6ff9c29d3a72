// Dialogs, balloons and tool bars.
#include "gui/Dialog.h"
#include "gui/ToolBar.h"
#include "gui/ToolkitTestFixture.h"

#include <SDL_image.h>

namespace {

using DialogTest = ToolkitFixture;
using DialogTestScale2 = ToolkitFixtureScale2;

class CountingDialog : public GUI_Dialog {
public:
    CountingDialog(GUI_View* parent, int* counter)
        : GUI_Dialog(parent, "d", 10, 100, 100), n(counter) {}
    void on_shown() override { ++*n; }
    int* n;
};

TEST_F(DialogTest, EachShownEventReachesEveryDialogOneFrameAtATime) {
    int first = 0, second = 0;
    auto* a = new CountingDialog(GUI_TopView, &first);
    auto* b = new CountingDialog(GUI_TopView, &second);
    ASSERT_EQ(GUI_postedEvents.size(), 2u);
    EXPECT_EQ(GUI_postedEvents.front().type, static_cast<Uint32>(GUI_EVENT_DIALOG_SHOWN));
    EXPECT_EQ(GUI_postedEvents.front().data1, a);
    EXPECT_EQ(GUI_postedEvents.back().data1, b);
    GUI_RunFrame();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    GUI_RunFrame();
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 2);
    GUI_RunFrame();
    EXPECT_EQ(first, 2);
}

TEST_F(DialogTest, DialogStartsAtTheLeftEdgeAndStaysWhereItIsPut) {
    auto* d = new GUI_Dialog(GUI_TopView, "d", 40, 100, 80);
    EXPECT_EQ(d->relX, 0);
    EXPECT_EQ(d->relY, 40);
    EXPECT_EQ(d->bgColor, (SDL_Color{227, 227, 227, 255}));
    d->center_in_parent();
    new GUI_View(GUI_TopView, "other", 0, 0, 10, 10, GUI_NoColor);
    EXPECT_EQ(d->relX, (400 - 100) / 2) << "the parent's layout leaves the dialog alone";
}

TEST_F(DialogTest, DialogInAColumnParentStartsWhereItWasAsked) {
    GUI_TopView->layoutMode = LAYOUT_COLUMN;
    new GUI_View(GUI_TopView, "flow", 0, 0, 100, 120, GUI_NoColor);
    auto* d = new GUI_Dialog(GUI_TopView, "d", 40, 100, 80);
    EXPECT_EQ(d->relX, 0);
    EXPECT_EQ(d->relY, 40) << "not after the flow's other children";
}

TEST_F(DialogTest, SimpleDialogStacksLabelsAndButtons) {
    auto* d = new SimpleDialog(GUI_TopView, 0, 200, 150);
    GUI_Label* l1 = d->add_label(GUI_Black, 0, "One");
    GUI_Label* l2 = d->add_label(GUI_Black, 0, "Two");
    GUI_Button* b = d->add_button("", ALIGN_RIGHT);
    d->update_layout();
    EXPECT_EQ(l1->relY, 0);
    EXPECT_EQ(l2->relY, 32);
    EXPECT_EQ(l1->w, 200 - 5);
    EXPECT_EQ(l1->relX, 5);
    EXPECT_EQ(b->w, 32);
    EXPECT_EQ(b->relX, 200 - 5 - 32);
    EXPECT_EQ(b->relY, 64);
}

TEST_F(DialogTest, DimmedDialogVeilsTheWholeWindow) {
    new GUI_View(GUI_TopView, "bg", 0, 0, 400, 300, GUI_White);
    auto* d = new SimpleDialog(GUI_TopView, 100, 100, 50);
    drawFrame();
    EXPECT_EQ(pixel(5, 5), GUI_White);
    d->dimBackground = true;
    drawFrame();
    const SDL_Color c = pixel(5, 5);
    EXPECT_NEAR(c.r, 255 - 255 * 107 / 255, 2);
    EXPECT_EQ(pixel(10, 110), (SDL_Color{227, 227, 227, 255})) << "the dialog is drawn above";
}

TEST_F(DialogTest, BalloonArrowCentreFollowsSideAndAnchor) {
    auto* b = new BalloonDialog(GUI_TopView, 0, 200, 400);
    const SDL_Rect all = {0, 0, b->w, b->h};
    SDL_Point c = b->arrow_center(all);
    EXPECT_EQ(c.x, 16);
    EXPECT_EQ(c.y, 200);
    b->cornerRadius = 3;
    b->anchorY = -1000;
    c = b->arrow_center(all);
    EXPECT_EQ(c.y, 31);
    b->anchorY = 5000;
    c = b->arrow_center(all);
    EXPECT_EQ(c.y, static_cast<int>(12 + 376 - 3 - 16.97f));
    b->anchorY = 150;
    EXPECT_EQ(b->arrow_center(all).y, 150);
    b->arrowSide = BalloonDialog::ARROW_BOTTOM;
    c = b->arrow_center(all);
    EXPECT_EQ(c.x, 100);
    EXPECT_EQ(c.y, static_cast<int>(400 - 16.97f));
}

TEST_F(DialogTest, BalloonBodyIsInsetAndTheArrowIsDrawn) {
    auto* b = new BalloonDialog(GUI_TopView, 0, 200, 100);
    b->bgColor = GUI_Red;
    b->borderWidth = 0;
    drawFrame();
    EXPECT_EQ(pixel(100, 50), GUI_Red);
    EXPECT_NE(pixel(100, 5), GUI_Red) << "body inset by the arrow size";
    EXPECT_EQ(pixel(6, 50), GUI_Red) << "the arrow pokes out on the left";
    EXPECT_NE(pixel(6, 20), GUI_Red);
}

TEST_F(DialogTest, BottomToolBarSitsAtTheBottomWithSquareTopCorners) {
    auto* col = new GUI_View(GUI_TopView, "col", 0, 0, 400, 300, GUI_White);
    col->layoutMode = LAYOUT_COLUMN;
    col->borderWidth = 0;
    auto* top = new GUI_ToolBar(col, TOOLBAR_TOP, 40);
    auto* bottom = new GUI_ToolBar(col, TOOLBAR_BOTTOM, 40);
    EXPECT_EQ(top->relY, 0);
    EXPECT_EQ(top->w, 400);
    EXPECT_EQ(bottom->relY, 300 - 40);
    bottom->cornerRadius = 10;
    bottom->bgColor = GUI_Red;
    drawFrame();
    EXPECT_EQ(pixel(0, 260), GUI_Red) << "top corner square";
    EXPECT_NE(pixel(0, 299), GUI_Red) << "bottom corner round";
}

TEST_F(DialogTest, ToolBarButtonsReportTheirTag) {
    auto* bar = new GUI_ToolBar(GUI_TopView, TOOLBAR_TOP, 40);
    std::vector<int> tags;
    bar->onButton = [&](GUI_ToolBar* b, int tag, int zero) {
        EXPECT_EQ(b, bar);
        EXPECT_EQ(zero, 0);
        tags.push_back(tag);
    };
    GUI_Button* one = bar->add_button("", "", 7, 0, true);
    GUI_Button* two = bar->add_button("", "", 9, ALIGN_RIGHT, true);
    EXPECT_EQ(one->w, 32);
    EXPECT_EQ(one->h, 32);
    EXPECT_EQ(one->relY, 4) << "centred vertically";
    EXPECT_EQ(one->relX, 5 + 5);
    EXPECT_EQ(two->relX, 400 - 5 - 5 - 32);
    drawFrame();
    click(one->x + 5, one->y + 5);
    click(two->x + 5, two->y + 5);
    EXPECT_EQ(tags, (std::vector<int>{7, 9}));
}

TEST_F(DialogTest, ToolBarButtonWithImageAndText) {
    // A 20 × 20 picture in a file under an absolute path.
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 20, 20, 32, SDL_PIXELFORMAT_RGBA8888);
    ASSERT_NE(s, nullptr);
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 255, 0, 0, 255));
    const std::string path = testing::TempDir() + "toolbar_icon.png";
    ASSERT_EQ(IMG_SavePNG(s, path.c_str()), 0);
    SDL_FreeSurface(s);

    auto* bar = new GUI_ToolBar(GUI_TopView, TOOLBAR_TOP, 40);
    GUI_Button* icon = bar->add_button("", path, 1, 0, false);
    ASSERT_NE(icon->image, nullptr);
    EXPECT_EQ(icon->w, 32);
    EXPECT_EQ(icon->imageRect.w, 20);
    if (!haveTextFont())
        return;
    GUI_Button* text = bar->add_button("Save", "", 2, 0, false);
    int tw = 0, th = 0;
    GUI_SizeText(GUI_fonts[0], "Save", &tw, &th);
    EXPECT_EQ(text->w, tw + 5) << "fits its text with 5 points on the right";
}

}  // namespace
