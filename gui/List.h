// GUI_List: a vertically scrolling list of rows of fixed height with one selected row. Rows live
// in a child view, the pad ("ScrollPad"), that moves to scroll: by dragging (after 5 pixels of
// movement), by the mouse wheel over the list, or smoothly towards a selected row. A press and
// release without dragging chooses the row under the pointer and calls onSelect.
//
// Rows are text items ("---" makes a 10 point separator), or rows the application draws through
// cellDraw ("CustomList"). Units: constructor sizes and cellHeight in points; geometry in pixels.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gui/Globals.h"
#include "gui/ListCell.h"
#include "gui/View.h"

class GUI_List : public GUI_View {
public:
    using SelectCallback = std::function<void(GUI_List*, const char*, int)>;
    using CellDraw = std::function<void(GUI_ListCell*)>;

    // A list of text rows. h 0: the list is as high as its rows. cellHeight 0 means 25.
    GUI_List(GUI_View* parent, const char* const* items, int count, int x, int y, int w, int h,
             int cellHeight, SelectCallback onSelect, int fontIndex = 0);
    GUI_List(GUI_View* parent, const std::vector<std::string>& items, int x, int y, int w, int h,
             int cellHeight, SelectCallback onSelect, int fontIndex = 0);
    // An empty list whose rows the application draws.
    GUI_List(GUI_View* parent, int x, int y, int w, int h, int cellHeight, SelectCallback onSelect,
             CellDraw cellDraw, int fontIndex = 0);

    // Replaces all rows. The texts are copied.
    void setCells(const char* const* items, int count);
    void setCells(const std::vector<std::string>& items);
    GUI_ListCell* addCell(const std::string& text);
    GUI_ListCell* insertCell(const std::string& text, int index);
    void removeCell(int index);
    void removeAllCells();
    // Selects a selectable row, scrolls it into view and calls onSelect. Other indices are ignored.
    void selectIndex(int index);
    // Marks a row selected and scrolls it into view without calling onSelect.
    void showIndex(int index);
    GUI_ListCell* getCell(int index) const;
    int getCount() const { return count; }

    void layout_content() override;
    void draw() override;
    bool handle_event(SDL_Event* e) override;

    // Keeps the pad within the list: its top not below the list's top, its bottom not above the
    // list's bottom; a pad shorter than the list sits at the top.
    void clamp_pad();
    int row_height_px() const { return (cellHeight ? cellHeight : 25) * GUI_scale; }

    SelectCallback onSelect;
    std::vector<GUI_ListCell*> cells;  // owned by the pad
    bool noHover = false;  // when false, moving over the list selects the row under the pointer
    int selectedIndex = -1;
    int count = 0;
    CellDraw cellDraw;
    bool addAtTop = false;
    int lastX = 0, lastY = 0;    // pixels: pointer at the last press or drag step
    int pressX = 0, pressY = 0;  // pixels: pointer at the press
    bool pressed = false;
    Uint32 pressTime = 0;  // ms
    int fixedHeight;       // points; 0 = follow the rows
    int fontIndex;
    int padMargin = 4;  // points
    bool scrollable = false;
    int cellHeight;  // points
    GUI_View* pad = nullptr;
    int scrollTarget = 0, scrollPosition = 0;  // pixels: pad offset wanted and reached
    bool scrolling = false;                    // the pad is being dragged

private:
    GUI_ListCell* make_row(const std::string& text, int yPoints);
    void place_rows();  // y, tag and width of every row, pad height, scrollable flag
    int row_width_px() const { return scrollable ? w - 4 * GUI_scale : w; }
    GUI_ListCell* row_at(int mx, int my) const;
    void update_scrollable();
    void scroll_into_view(const GUI_ListCell* row);
    std::vector<std::string> items_;
};
