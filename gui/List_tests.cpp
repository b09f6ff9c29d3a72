// Lists and drop-downs: rows, selection, dragging, the wheel, smooth scrolling and the popup.
#include "gui/DropDown.h"
#include "gui/List.h"
#include "gui/ToolkitTestFixture.h"

namespace {

using ListTest = ToolkitFixture;
using ListTestScale2 = ToolkitFixtureScale2;

std::vector<std::string> numbered(int n) {
    std::vector<std::string> items;
    for (int i = 0; i < n; ++i)
        items.push_back("Item " + std::to_string(i));
    return items;
}

struct Chosen {
    std::vector<std::pair<std::string, int>> calls;
    GUI_List::SelectCallback callback() {
        return [this](GUI_List*, const char* text, int index) { calls.emplace_back(text, index); };
    }
};

TEST_F(ListTest, ScrollableOnlyWhenRowsAreTallerThanTheList) {
    auto* fixed = new GUI_List(GUI_TopView, numbered(10), 0, 0, 100, 100, 25, nullptr);
    EXPECT_TRUE(fixed->scrollable);
    EXPECT_EQ(fixed->pad->h, 250);
    auto* fit = new GUI_List(GUI_TopView, numbered(10), 0, 0, 100, 0, 25, nullptr);
    EXPECT_FALSE(fit->scrollable);
    EXPECT_EQ(fit->h, 250);
    EXPECT_EQ(fit->getCell(3)->w, 100);
    EXPECT_EQ(fixed->getCell(3)->w, 96) << "room for the scroll bar";
}

TEST_F(ListTestScale2, SeparatorRowsAreTenPointsHigh) {
    auto* list = new GUI_List(GUI_TopView, std::vector<std::string>{"One", "---", "Two"}, 0, 0, 100,
                              0, 25, nullptr);
    ASSERT_EQ(list->getCount(), 3);
    EXPECT_EQ(list->getCell(0)->relY, 0);
    EXPECT_EQ(list->getCell(1)->relY, 50);
    EXPECT_EQ(list->getCell(2)->relY, 70);
    EXPECT_EQ(list->pad->h, 120);
    EXPECT_TRUE(list->getCell(1)->separator);
    EXPECT_EQ(list->getCell(2)->tag, 2);
}

TEST_F(ListTest, EmptyItemEndsTheRows) {
    const char* items[] = {"a", "", "c"};
    auto* list = new GUI_List(GUI_TopView, items, 3, 0, 0, 100, 0, 25, nullptr);
    EXPECT_EQ(list->getCount(), 1);
}

TEST_F(ListTest, ClickChoosesTheRowUnderThePointer) {
    Chosen chosen;
    auto* list = new GUI_List(GUI_TopView, numbered(10), 10, 10, 100, 100, 25, chosen.callback());
    drawFrame();
    click(50, 10 + 2 * 25 + 5);
    ASSERT_EQ(chosen.calls.size(), 1u);
    EXPECT_EQ(chosen.calls[0], std::make_pair(std::string("Item 2"), 2));
    EXPECT_EQ(list->selectedIndex, 2);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
}

TEST_F(ListTest, SmallDragStillChoosesButALargeOneScrolls) {
    Chosen chosen;
    auto* list = new GUI_List(GUI_TopView, numbered(10), 0, 0, 100, 100, 25, chosen.callback());
    drawFrame();
    press(50, 60);
    EXPECT_EQ(GUI_mouseCapture, list) << "a scrollable list holds the mouse while pressed";
    move(50, 57);
    release(50, 57);
    ASSERT_EQ(chosen.calls.size(), 1u);
    EXPECT_EQ(chosen.calls[0].second, 2);

    press(50, 60);
    move(50, 52);
    EXPECT_EQ(list->pad->relY, -8);
    release(50, 52);
    EXPECT_EQ(chosen.calls.size(), 1u) << "a drag chooses nothing";
    EXPECT_EQ(GUI_mouseCapture, nullptr);
}

TEST_F(ListTest, DraggingStopsAtBothEnds) {
    auto* list = new GUI_List(GUI_TopView, numbered(10), 0, 0, 100, 100, 25, nullptr);
    drawFrame();
    press(50, 50);
    move(50, 90);
    EXPECT_EQ(list->pad->relY, 0) << "the pad's top stays at the list's top";
    move(50, 10);
    move(50, -300);
    EXPECT_EQ(list->pad->relY, 100 - 250) << "the pad's bottom stays at the list's bottom";
    release(50, -300);
}

TEST_F(ListTest, WheelScrollsSixteenPixelsPerStepOverTheList) {
    auto* list = new GUI_List(GUI_TopView, numbered(10), 0, 0, 100, 100, 25, nullptr);
    drawFrame();
    wheel(50, 50, -1);
    EXPECT_EQ(list->pad->relY, -16);
    wheel(50, 50, 3);
    EXPECT_EQ(list->pad->relY, 0);
    wheel(300, 250, -1);
    EXPECT_EQ(list->pad->relY, 0) << "the wheel elsewhere leaves the list alone";
}

TEST_F(ListTest, SelectIndexScrollsSmoothlyUntilTheRowIsInView) {
    Chosen chosen;
    auto* list = new GUI_List(GUI_TopView, numbered(10), 0, 0, 100, 100, 25, chosen.callback());
    drawFrame();
    list->selectIndex(7);
    EXPECT_EQ(chosen.calls.size(), 1u);
    EXPECT_EQ(list->scrollTarget, -100);
    drawFrame();
    const int afterOne = list->pad->relY;
    EXPECT_EQ(afterOne, -10) << "ten percent of the way per frame";
    for (int i = 0; i < 100; ++i)
        drawFrame();
    EXPECT_EQ(list->pad->relY, -100);
    const GUI_ListCell* row = list->getCell(7);
    EXPECT_EQ(row->y + row->h, list->y + list->h) << "the row's bottom meets the list's bottom";
    list->selectIndex(42);
    EXPECT_EQ(list->selectedIndex, 7) << "out of range indices are ignored";
}

TEST_F(ListTest, SelectedRowIsFilledBlue) {
    auto* list = new GUI_List(GUI_TopView, numbered(3), 10, 10, 100, 0, 25, nullptr);
    list->selectIndex(1);
    drawFrame();
    EXPECT_EQ(pixel(50, 10 + 25 + 12), (SDL_Color{45, 137, 249, 255}));
    EXPECT_NE(pixel(50, 10 + 12), (SDL_Color{45, 137, 249, 255}));
}

TEST_F(ListTest, HoverMarksTheRowWithoutChoosingIt) {
    Chosen chosen;
    auto* list = new GUI_List(GUI_TopView, numbered(3), 0, 0, 100, 0, 25, chosen.callback());
    drawFrame();
    move(50, 30);
    EXPECT_EQ(list->selectedIndex, 1);
    EXPECT_TRUE(chosen.calls.empty());
    list->noHover = true;
    move(50, 60);
    EXPECT_EQ(list->selectedIndex, 1);
}

TEST_F(ListTest, InsertAndRemoveKeepTagsPositionsAndSelection) {
    Chosen chosen;
    auto* list = new GUI_List(GUI_TopView, numbered(3), 0, 0, 100, 0, 25, chosen.callback());
    GUI_ListCell* added = list->insertCell("New", 1);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(list->getCount(), 4);
    EXPECT_EQ(list->getCell(1), added);
    EXPECT_EQ(added->relY, 25);
    EXPECT_EQ(list->getCell(2)->relY, 50);
    EXPECT_EQ(list->getCell(3)->tag, 3);
    list->removeCell(3);
    EXPECT_EQ(list->getCount(), 3);
    EXPECT_EQ(list->selectedIndex, 2) << "selection moves to the last row";
    EXPECT_EQ(list->pad->h, 75);
    list->removeAllCells();
    EXPECT_EQ(list->getCount(), 0);
    EXPECT_EQ(list->selectedIndex, -1);
    EXPECT_EQ(list->getCell(0), nullptr);
}

// ---- drop-downs ----

struct DropdownLog {
    std::vector<std::string> calls;
};

GUI_Dropdown* makeDropdown(int items, DropdownLog* log) {
    auto* dd = new GUI_Dropdown(GUI_TopView, "Choose", numbered(items), 20, 20, 150, 30, GUI_Black);
    dd->onSelect = [log](GUI_Dropdown*, GUI_List*, int i, const char* text) {
        log->calls.push_back("select " + std::to_string(i) + " " + text);
    };
    dd->onSelected = [log](GUI_Dropdown*, GUI_List*, int i) {
        log->calls.push_back("selected " + std::to_string(i));
    };
    return dd;
}

TEST_F(ListTest, DropdownOpensListUnderItselfAndSelectingClosesIt) {
    DropdownLog log;
    GUI_Dropdown* dd = makeDropdown(30, &log);
    dd->set_max_rows(10);
    drawFrame();
    click(60, 30);
    ASSERT_NE(dd->popup, nullptr);
    EXPECT_TRUE(dd->open);
    EXPECT_EQ(dd->popup->h, 250);
    EXPECT_EQ(dd->popup->x, dd->x);
    EXPECT_EQ(dd->popup->y, dd->y + dd->h);
    EXPECT_EQ(dd->popup->parent, GUI_TopView);
    EXPECT_EQ(GUI_mouseCapture, dd);
    drawFrame();
    click(60, dd->popup->y + 3 * 25 + 10);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"select 3 Item 3", "selected 3"}));
    EXPECT_FALSE(dd->open);
    EXPECT_FALSE(dd->popup->is_visible());
    EXPECT_EQ(dd->title, "Item 3");
    EXPECT_EQ(dd->selectedIndex, 3);
    EXPECT_EQ(GUI_mouseCapture, nullptr);

    drawFrame();
    click(60, 30);
    EXPECT_TRUE(dd->popup->is_visible()) << "opened again, the same list is shown";
    EXPECT_EQ(dd->popup->selectedIndex, 3);
}

TEST_F(ListTest, DropdownClosesOnAPressOutside) {
    DropdownLog log;
    GUI_Dropdown* dd = makeDropdown(5, &log);
    int clicksBehind = 0;
    GUI_TopView->eventHandler = [&](GUI_View*, SDL_Event* e) {
        clicksBehind += e->type == SDL_MOUSEBUTTONDOWN;
        return false;
    };
    drawFrame();
    click(60, 30);
    ASSERT_TRUE(dd->open);
    drawFrame();
    click(380, 280);
    EXPECT_FALSE(dd->open);
    EXPECT_FALSE(dd->popup->is_visible());
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(clicksBehind, 1) << "the press goes on to what is under it";
    EXPECT_EQ(GUI_mouseCapture, nullptr);
}

TEST_F(ListTest, DropdownClickOnItselfTogglesTheList) {
    DropdownLog log;
    GUI_Dropdown* dd = makeDropdown(5, &log);
    drawFrame();
    click(60, 30);
    drawFrame();
    click(60, 30);
    EXPECT_FALSE(dd->open);
    EXPECT_FALSE(dd->popup->is_visible());
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(ListTest, DropdownSelectWithoutNotifyChangesOnlyTheText) {
    DropdownLog log;
    GUI_Dropdown* dd = makeDropdown(5, &log);
    dd->select(2, false);
    EXPECT_EQ(dd->title, "Item 2");
    EXPECT_TRUE(log.calls.empty());
    dd->select(4, true);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"select 4 Item 4"}));
    dd->select(9, true);
    EXPECT_EQ(dd->selectedIndex, 4);
}

TEST_F(ListTest, DropdownPopupBelongsToTheModalViewAndDiesWithIt) {
    DropdownLog log;
    auto* dialog = new GUI_View(GUI_TopView, "dialog", 0, 0, 400, 300, GUI_White);
    GUI_modalView = dialog;
    auto* dd = new GUI_Dropdown(dialog, "Choose", numbered(4), 20, 20, 150, 30, GUI_Black);
    drawFrame();
    click(60, 30);
    ASSERT_NE(dd->popup, nullptr);
    EXPECT_EQ(dd->popup->parent, dialog);
    dialog->close();
    drawFrame();
    EXPECT_EQ(GUI_modalView, nullptr);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
    EXPECT_EQ(GUI_TopView->child_count(), 0);
}

TEST_F(ListTest, DeletedDropdownTakesItsPopupAlong) {
    DropdownLog log;
    GUI_Dropdown* dd = makeDropdown(4, &log);
    drawFrame();
    click(60, 30);
    ASSERT_NE(dd->popup, nullptr);
    delete dd;
    EXPECT_EQ(GUI_mouseCapture, nullptr);
    drawFrame();
    drawFrame();
    EXPECT_EQ(GUI_TopView->child_count(), 0);
}

TEST_F(ListTest, DisabledDropdownDoesNotOpen) {
    DropdownLog log;
    GUI_Dropdown* dd = makeDropdown(4, &log);
    dd->disable();
    drawFrame();
    click(60, 30);
    EXPECT_FALSE(dd->open);
    EXPECT_EQ(dd->popup, nullptr);
}

}  // namespace
