#include "gui/View.h"

#include "gui/IconButton.h"
#include "gui/Label.h"
#include "gui/ToolkitTestFixture.h"

namespace {

GUI_View* panel(GUI_View* parent, int x, int y, int w, int h) {
    auto* v = new GUI_View(parent, "panel", x, y, w, h, GUI_NoColor);
    v->borderWidth = 0;
    return v;
}

using ViewTest = ToolkitFixture;
using ViewTestScale2 = ToolkitFixtureScale2;

// ---- geometry ----

TEST_F(ViewTest, SetPositionAndCenterInParent) {
    GUI_View* p = panel(GUI_TopView, 0, 0, 200, 100);
    GUI_View* c = panel(p, 0, 0, 50, 20);
    GUI_View* grandChild = panel(c, 5, 5, 10, 10);
    c->set_position(30, 40);
    EXPECT_EQ(c->relX, 30);
    EXPECT_EQ(c->y, 40);
    EXPECT_EQ(grandChild->x, 35);
    c->center_in_parent();
    EXPECT_EQ(c->relX, 75);
    EXPECT_EQ(c->relY, 40);
    EXPECT_EQ(grandChild->y, 45);
}

TEST_F(ViewTest, RemoveChildOfStrangerChangesNothing) {
    GUI_View* p = panel(GUI_TopView, 0, 0, 200, 100);
    GUI_View* a = panel(p, 0, 0, 10, 10);
    GUI_View stranger(nullptr, "stranger", 0, 0, 10, 10, GUI_NoColor);
    p->remove_child(&stranger);
    ASSERT_EQ(p->child_count(), 1);
    EXPECT_EQ(p->children[0], a);
}

TEST_F(ViewTest, BringToFrontMakesViewTheLastChild) {
    GUI_View* a = panel(GUI_TopView, 0, 0, 10, 10);
    GUI_View* b = panel(GUI_TopView, 0, 0, 10, 10);
    a->bring_to_front();
    ASSERT_EQ(GUI_TopView->child_count(), 2);
    EXPECT_EQ(GUI_TopView->children[0], b);
    EXPECT_EQ(GUI_TopView->children[1], a);
}

// ---- hit testing and routing ----

TEST_F(ViewTest, OnlyDrawnVisibleViewsAreHit) {
    GUI_View* p = panel(GUI_TopView, 10, 10, 100, 100);
    GUI_View* c = panel(p, 20, 20, 10, 10);
    EXPECT_EQ(GUI_TopView->hit_test(35, 35, true), nullptr) << "nothing drawn yet";
    drawFrame();
    EXPECT_EQ(GUI_TopView->hit_test(35, 35, true), c);
    EXPECT_EQ(GUI_TopView->hit_test(35, 35, false), GUI_TopView);
    EXPECT_EQ(GUI_TopView->hit_test(15, 15, true), p);
    c->hide();
    EXPECT_EQ(GUI_TopView->hit_test(35, 35, true), p);
    c->show();
    EXPECT_EQ(GUI_TopView->hit_test(35, 35, true), p) << "shown but not drawn again yet";
    drawFrame();
    EXPECT_EQ(GUI_TopView->hit_test(35, 35, true), c);
}

TEST_F(ViewTestScale2, ClickInWindowPointsHitsScaledPixels) {
    GUI_View* v = panel(GUI_TopView, 5, 5, 100, 30);
    EXPECT_EQ(v->w, 200);
    EXPECT_EQ(v->h, 60);
    int downs = 0, lastX = 0;
    v->draggable = false;
    v->eventHandler = [&](GUI_View*, SDL_Event* e) {
        if (e->type == SDL_MOUSEBUTTONDOWN) {
            ++downs;
            lastX = e->button.x;
        }
        return false;
    };
    drawFrame();
    EXPECT_EQ(GUI_TopView->hit_test(20, 20, true), v);
    EXPECT_EQ(GUI_TopView->hit_test(9, 9, true), GUI_TopView);
    press(10, 10);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(lastX, 10);
    press(4, 4);  // pixel 8, 8: outside the view at pixel 10
    EXPECT_EQ(downs, 1);
}

TEST_F(ViewTest, KeyEventsReachEveryViewFrontFirstUntilConsumed) {
    std::string order;
    GUI_View* a = panel(GUI_TopView, 0, 0, 10, 10);
    GUI_View* b = panel(GUI_TopView, 0, 0, 10, 10);
    b->hide();  // hidden views still get keys
    a->eventHandler = [&](GUI_View*, SDL_Event*) {
        order += "a";
        return true;
    };
    b->eventHandler = [&](GUI_View*, SDL_Event*) {
        order += "b";
        return false;
    };
    key(SDL_SCANCODE_A);
    EXPECT_EQ(order, "ba");
}

TEST_F(ViewTest, NonInteractivePanelSwallowsClicks) {
    GUI_View* under = panel(GUI_TopView, 0, 0, 100, 100);
    under->draggable = false;
    int underClicks = 0, childClicks = 0;
    under->eventHandler = [&](GUI_View*, SDL_Event* e) {
        underClicks += e->type == SDL_MOUSEBUTTONDOWN;
        return false;
    };
    GUI_View* cover = panel(GUI_TopView, 0, 0, 100, 100);
    cover->interactive = false;
    GUI_View* child = panel(cover, 10, 10, 20, 20);
    child->eventHandler = [&](GUI_View*, SDL_Event* e) {
        childClicks += e->type == SDL_MOUSEBUTTONDOWN;
        return false;
    };
    drawFrame();
    click(15, 15);
    EXPECT_EQ(underClicks, 0);
    EXPECT_EQ(childClicks, 0);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
    EXPECT_EQ(cover->relX, 0) << "nothing is dragged either";
}

TEST_F(ViewTest, DragMovesPanelInsideParentAndReleasesCapture) {
    GUI_View* parent = panel(GUI_TopView, 0, 0, 200, 200);
    parent->draggable = false;
    GUI_View* p = panel(parent, 10, 10, 50, 50);
    drawFrame();
    press(20, 20);
    EXPECT_TRUE(p->dragging);
    EXPECT_EQ(GUI_mouseCapture, p);
    move(30, 25);
    EXPECT_EQ(p->relX, 20);
    EXPECT_EQ(p->relY, 15);
    move(250, 25);  // outside the parent: the panel stays
    EXPECT_EQ(p->relX, 20);
    release(250, 25);
    EXPECT_FALSE(p->dragging);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
    move(40, 40);
    EXPECT_EQ(p->relX, 20) << "no longer dragging";
}

// ---- drawing and deletion ----

TEST_F(ViewTest, ViewClosedInItsClickHandlerIsDeletedInTheSameFrame) {
    int drawsBefore = 0, drawsClosed = 0, drawsAfter = 0;
    bool destroyed = false;
    panel(GUI_TopView, 0, 0, 10, 10)->drawCallback = [&](GUI_View*) { ++drawsBefore; };
    GUI_View* closing = panel(GUI_TopView, 50, 50, 40, 40);
    closing->draggable = false;
    closing->drawCallback = [&](GUI_View*) { ++drawsClosed; };
    closing->destroyCallback = [&](GUI_View*) { destroyed = true; };
    closing->eventHandler = [](GUI_View* v, SDL_Event* e) {
        if (e->type == SDL_MOUSEBUTTONDOWN)
            v->close();
        return false;
    };
    panel(GUI_TopView, 100, 100, 10, 10)->drawCallback = [&](GUI_View*) { ++drawsAfter; };
    drawFrame();
    ASSERT_EQ(drawsClosed, 1);
    press(60, 60);
    EXPECT_FALSE(destroyed) << "closing only marks the view";
    drawFrame();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(drawsClosed, 1);
    EXPECT_EQ(drawsBefore, 2);
    EXPECT_EQ(drawsAfter, 1) << "later siblings skip the frame of the deletion";
    EXPECT_EQ(GUI_TopView->child_count(), 2);
    drawFrame();
    EXPECT_EQ(drawsAfter, 2);
}

TEST_F(ViewTest, DeletingClosedViewClearsModalAndCapture) {
    GUI_View* dialog = panel(GUI_TopView, 10, 10, 100, 100);
    GUI_View* inner = panel(dialog, 0, 0, 10, 10);
    GUI_modalView = dialog;
    GUI_closeModalOnOutsideClick = false;
    GUI_mouseCapture = inner;
    dialog->close();
    drawFrame();
    EXPECT_EQ(GUI_modalView, nullptr);
    EXPECT_TRUE(GUI_closeModalOnOutsideClick);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
    EXPECT_EQ(GUI_TopView->child_count(), 0);
}

TEST_F(ViewTest, ModalViewClosesOnOutsidePressAndTheClickReachesNothing) {
    GUI_View* under = panel(GUI_TopView, 0, 0, 400, 300);
    under->draggable = false;
    int underDowns = 0;
    under->eventHandler = [&](GUI_View*, SDL_Event* e) {
        underDowns += e->type == SDL_MOUSEBUTTONDOWN;
        return false;
    };
    GUI_View* modal = panel(GUI_TopView, 100, 100, 100, 100);
    modal->draggable = false;
    int modalDowns = 0;
    modal->eventHandler = [&](GUI_View*, SDL_Event* e) {
        modalDowns += e->type == SDL_MOUSEBUTTONDOWN;
        return false;
    };
    GUI_modalView = modal;
    drawFrame();
    press(150, 150);
    EXPECT_EQ(modalDowns, 1);
    EXPECT_EQ(underDowns, 0) << "a press inside goes to the modal view only";
    press(10, 10);
    EXPECT_TRUE(modal->closeRequested);
    EXPECT_EQ(underDowns, 0);
    drawFrame();
    EXPECT_EQ(GUI_modalView, nullptr);
    EXPECT_EQ(GUI_TopView->child_count(), 1);
}

TEST_F(ViewTest, ModalViewKeptWhenOutsideClicksMustNotCloseIt) {
    GUI_View* modal = panel(GUI_TopView, 100, 100, 100, 100);
    GUI_View* under = panel(GUI_TopView, 0, 0, 50, 50);
    under->draggable = false;
    int underDowns = 0;
    under->eventHandler = [&](GUI_View*, SDL_Event* e) {
        underDowns += e->type == SDL_MOUSEBUTTONDOWN;
        return false;
    };
    GUI_modalView = modal;
    GUI_closeModalOnOutsideClick = false;
    drawFrame();
    click(10, 10);
    EXPECT_FALSE(modal->closeRequested);
    EXPECT_EQ(underDowns, 0);
    drawFrame();
    EXPECT_EQ(GUI_modalView, modal);
}

TEST_F(ViewTest, BackgroundBorderAndClipArePainted) {
    GUI_View* p = new GUI_View(GUI_TopView, "p", 10, 10, 50, 30, GUI_Red);
    p->borderColor = GUI_Blue;
    GUI_View* child = new GUI_View(p, "c", 40, 20, 50, 50, GUI_Black);
    child->borderWidth = 0;
    drawFrame();
    EXPECT_EQ(pixel(20, 20), GUI_Red);
    EXPECT_EQ(pixel(10, 10), GUI_Blue) << "border";
    EXPECT_EQ(pixel(55, 35), GUI_Black) << "child inside the parent's clip";
    EXPECT_EQ(pixel(59, 39), GUI_Blue) << "the border inset clips the child";
    EXPECT_EQ(pixel(65, 45), (SDL_Color{255, 255, 255, 255})) << "child clipped to the parent";
}

TEST_F(ViewTest, DisabledLabelDrawsItsTitleInGrey) {
    if (!haveTextFont())
        GTEST_SKIP() << "no text font in data/";
    auto* label = new GUI_Label(GUI_TopView, "MMMM", 10, 10, 0, 0, GUI_Black, 0, 1);
    label->bgColor = GUI_Black;
    label->titleColor = GUI_Red;
    drawFrame();
    const SDL_Rect r = {label->x + label->titleRect.x, label->y + label->titleRect.y,
                        label->titleRect.w, label->titleRect.h};
    int red = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            red = std::max(red, int(pixel(x, y).r));
    EXPECT_EQ(red, 255);
    label->disable();
    drawFrame();
    bool sawGrey = false, sawRed = false;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) {
            const SDL_Color c = pixel(x, y);
            sawGrey = sawGrey || (c.r == 192 && c.g == 192 && c.b == 192);
            sawRed = sawRed || (c.r > 0 && c.g == 0);
        }
    EXPECT_TRUE(sawGrey) << "solid strokes of the text are (192, 192, 192)";
    EXPECT_FALSE(sawRed);
}

TEST_F(ViewTest, LabelSizesItselfToItsText) {
    if (!haveTextFont())
        GTEST_SKIP() << "no text font in data/";
    auto* label = new GUI_Label(GUI_TopView, "Hello", 0, 0, 0, 0, GUI_Black, 0, 0);
    int tw = 0, th = 0;
    ASSERT_TRUE(GUI_SizeText(GUI_fonts[0], "Hello", &tw, &th));
    EXPECT_EQ(label->w, tw + 4);
    EXPECT_EQ(label->h, th + 4);
    EXPECT_EQ(label->titleRect.x, 2);
    label->set_text("Hello, world");
    EXPECT_GT(label->w, tw + 4);
}

}  // namespace

namespace {

using ViewTest2 = ToolkitFixture;

TEST_F(ViewTest2, RootFollowsTheWindowSizeLessItsMargins) {
    GUI_TopView->wSpec = -1;
    GUI_TopView->hSpec = -1;
    GUI_TopView->set_margin(10, 0, 0, 0);
    EXPECT_EQ(GUI_TopView->y, 10);
    EXPECT_EQ(GUI_TopView->h, 290);
    auto* fill = new GUI_View(GUI_TopView, "fill", 0, 0, -1, 20, GUI_NoColor);
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    e.window.data1 = 600;
    e.window.data2 = 500;
    GUI_TopView->handle_event(&e);
    EXPECT_EQ(GUI_TopView->w, 600);
    EXPECT_EQ(GUI_TopView->h, 490);
    EXPECT_EQ(fill->w, 600) << "children are laid out again";
}

TEST_F(ViewTest2, LabelPlacesImageBeforeItsText) {
    SDL_Texture* t =
        SDL_CreateTexture(GUI_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, 16, 30);
    ASSERT_NE(t, nullptr);
    auto* label = new GUI_Label(GUI_TopView, "", 0, 0, 0, 0, GUI_Black, 0, 0);
    label->set_image(t, false);
    EXPECT_EQ(label->w, 16 + 4) << "no gap without text";
    EXPECT_EQ(label->h, 30 + 4);
    EXPECT_EQ(label->imageRect.x, 2);
    if (!haveTextFont())
        return;
    label->set_text("Open");
    int tw = 0, th = 0;
    GUI_SizeText(GUI_fonts[0], "Open", &tw, &th);
    EXPECT_EQ(label->w, tw + 16 + 5 + 4);
    EXPECT_EQ(label->titleRect.x, 2 + 16 + 5);
}

TEST_F(ViewTest2, ToolIconIsCentredInItsColumn) {
    if (!haveIconFont() || !haveTextFont())
        GTEST_SKIP() << "fonts missing in data/";
    auto* bar = new GUI_View(GUI_TopView, "bar", 0, 0, 400, 60, GUI_NoColor);
    bar->layoutMode = LAYOUT_ROW;
    int clicks = 0;
    GUI_ButtonFontAwesome* b =
        GUI_CreateToolIcon(bar, 0xF0C7, [&](GUI_ButtonFontAwesome*) { ++clicks; });
    ASSERT_NE(b->image, nullptr);
    EXPECT_EQ(b->w, 38);
    EXPECT_EQ(b->h, 23);
    EXPECT_EQ(b->relY, 8) << "below the column's top padding";
    GUI_View* column = b->parent;
    EXPECT_EQ(column->relY, (60 - column->h) / 2);
    drawFrame();
    click(b->x + 5, b->y + 5);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
