// GUI_List. Sections: construction; rows; selection and scrolling; drawing; events.
#include "gui/List.h"

#include <algorithm>
#include <cmath>

#include "gui/Draw.h"
#include "gui/Globals.h"
#include "gui/Log.h"

namespace {
const SDL_Color kListBackground = {31, 31, 31, 136};
const SDL_Color kListBorder = {31, 31, 31, 255};
const SDL_Color kTrackColor = {64, 64, 64, 227};
const char* const kSeparator = "---";
const int kSeparatorPoints = 10;
const int kDragThreshold = 5;  // pixels
const int kWheelStep = 16;     // pixels per wheel notch

std::vector<std::string> copyItems(const char* const* items, int count) {
    std::vector<std::string> out;
    for (int i = 0; items && i < count; ++i) {
        if (!items[i] || !items[i][0]) {
            GUI_LogError("GUI_List::setCells()") << (items[i] ? items[i] : "(null)") << ",";
            break;
        }
        out.emplace_back(items[i]);
    }
    return out;
}
}  // namespace

// ---- construction ----

GUI_List::GUI_List(GUI_View* parent, const char* const* items, int n, int x, int y, int w, int h,
                   int cellH, SelectCallback cb, int font)
    : GUI_List(parent, copyItems(items, n), x, y, w, h, cellH, std::move(cb), font) {}

GUI_List::GUI_List(GUI_View* parent, const std::vector<std::string>& items, int x, int y, int w,
                   int h, int cellH, SelectCallback cb, int font)
    : GUI_View(parent, "List", x, y, w, h, kListBackground, nullptr),
      onSelect(std::move(cb)),
      fixedHeight(h),
      fontIndex(font),
      cellHeight(cellH) {
    borderColor = kListBorder;
    draggable = false;
    setCells(items);
}

GUI_List::GUI_List(GUI_View* parent, int x, int y, int w, int h, int cellH, SelectCallback cb,
                   CellDraw draw, int font)
    : GUI_View(parent, "CustomList", x, y, w, h, kListBackground, nullptr),
      onSelect(std::move(cb)),
      cellDraw(std::move(draw)),
      fixedHeight(h),
      fontIndex(font),
      cellHeight(cellH) {
    borderColor = kListBorder;
    draggable = false;
    setCells(std::vector<std::string>());
}

// ---- rows ----

void GUI_List::setCells(const char* const* items, int n) {
    setCells(copyItems(items, n));
}

void GUI_List::setCells(const std::vector<std::string>& items) {
    const bool wasHidden = hidden;
    hide();
    items_.clear();
    for (const std::string& item : items) {
        if (item.empty()) {
            GUI_LogError("GUI_List::setCells()") << item << ",";
            break;
        }
        items_.push_back(item);
    }
    count = static_cast<int>(items_.size());
    int separators = 0;
    for (const std::string& item : items_)
        separators += item == kSeparator;

    const int s = GUI_scale;
    const int rowH = cellHeight ? cellHeight : 25;
    const int padH = (count - separators) * rowH + separators * kSeparatorPoints;
    cells.clear();
    if (pad)
        delete pad;  // its destructor deletes the rows
    pad = new GUI_View(this, "ScrollPad", 0, 0, w / s + 2 * padMargin, padH, GUI_NoColor);
    pad->draggable = false;
    pad->borderWidth = 0;
    pad->alignFlags = ALIGN_ABSOLUTE;
    scrollTarget = scrollPosition = 0;
    if (fixedHeight == 0)
        h = rowH * count * s;
    update_scrollable();

    int yPoints = 0;
    for (int i = 0; i < count; ++i) {
        GUI_ListCell* row = make_row(items_[i], yPoints);
        row->tag = i;
        cells.push_back(row);
        yPoints += items_[i] == kSeparator ? kSeparatorPoints : rowH;
        GUI_LogVerbose("") << items_[i] << "," << items_[i][0];
    }
    place_rows();
    if (wasHidden)
        hide();
    else
        show();
}

GUI_ListCell* GUI_List::make_row(const std::string& text, int yPoints) {
    const int s = GUI_scale;
    const bool sep = text == kSeparator;
    // A leading 0x10 byte marks an item but is not shown.
    const std::string shown = sep ? "" : (text[0] == '\x10' ? text.substr(1) : text);
    auto* row = new GUI_ListCell(pad, shown.c_str(), 0, yPoints, std::max(1, row_width_px() / s),
                                 sep ? kSeparatorPoints : (cellHeight ? cellHeight : 25), GUI_Black,
                                 TITLE_CENTER_V, fontIndex);
    row->w = row_width_px();
    row->list = this;
    row->separator = sep;
    if (cellDraw) {
        row->customDrawn = true;
        row->drawCallback = [this](GUI_View* v) {
            if (cellDraw)
                cellDraw(static_cast<GUI_ListCell*>(v));
        };
    }
    return row;
}

void GUI_List::update_scrollable() {
    scrollable = pad && h < pad->h;
    GUI_LogVerbose("") << (scrollable ? "GUI_List will scrollable" : "GUI_List not scrollable");
}

void GUI_List::place_rows() {
    if (!pad)
        return;
    int total = 0;
    for (GUI_ListCell* row : cells)
        total += row->h;
    pad->h = total;
    pad->w = w + 2 * padMargin * GUI_scale;
    update_scrollable();
    int rowY = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        GUI_ListCell* row = cells[i];
        row->tag = static_cast<int>(i);
        row->w = row_width_px();
        row->move_by(-row->relX, rowY - row->relY);
        row->layout_content();
        rowY += row->h;
    }
}

GUI_ListCell* GUI_List::addCell(const std::string& text) {
    return insertCell(text, addAtTop ? 0 : count);
}

GUI_ListCell* GUI_List::insertCell(const std::string& text, int index) {
    if (text.empty() || !pad)
        return nullptr;
    index = std::clamp(index, 0, count);
    GUI_ListCell* row = make_row(text, 0);
    row->bgColor = GUI_Red;
    cells.insert(cells.begin() + index, row);
    items_.insert(items_.begin() + index, text);
    count = static_cast<int>(cells.size());
    if (selectedIndex >= index)
        ++selectedIndex;
    place_rows();
    return row;
}

void GUI_List::removeCell(int index) {
    if (index < 0 || index >= count)
        return;
    GUI_ListCell* row = cells[index];
    cells.erase(cells.begin() + index);
    items_.erase(items_.begin() + index);
    delete row;
    count = static_cast<int>(cells.size());
    place_rows();
    if (count == 0) {
        selectedIndex = -1;
    } else {
        selectedIndex = -1;
        selectIndex(std::min(index, count - 1));
    }
    if (scrollable && pad->relY < 0 && pad->relY + pad->h < h) {
        scrollPosition = pad->relY;
        scrollTarget = h - pad->h;
    } else if (!scrollable && pad->relY != 0) {
        scrollPosition = pad->relY;
        scrollTarget = 0;
    }
}

void GUI_List::removeAllCells() {
    for (GUI_ListCell* row : cells)
        delete row;
    cells.clear();
    items_.clear();
    count = 0;
    selectedIndex = -1;
    if (pad) {
        pad->h = 0;
        pad->move_by(0, -pad->relY);
    }
    scrollTarget = scrollPosition = 0;
    update_scrollable();
}

GUI_ListCell* GUI_List::getCell(int index) const {
    if (index < 0 || index >= static_cast<int>(cells.size()))
        return nullptr;
    return cells[index];
}

void GUI_List::layout_content() {
    if (!pad)
        return;
    count = static_cast<int>(cells.size());
    place_rows();
    if (!scrollable) {
        pad->move_by(0, -pad->relY);
        scrollTarget = scrollPosition = 0;
    }
}

// ---- selection and scrolling ----

void GUI_List::scroll_into_view(const GUI_ListCell* row) {
    if (!pad)
        return;
    const int rowTop = pad->relY + row->relY;
    const int rowBottom = rowTop + row->h;
    scrollPosition = pad->relY;
    if (rowBottom > h)
        scrollTarget = pad->relY - (rowBottom - h);
    else if (rowTop < 0)
        scrollTarget = pad->relY - rowTop;
    else
        scrollTarget = pad->relY;
}

void GUI_List::selectIndex(int index) {
    if (index < 0 || index >= count)
        return;
    GUI_ListCell* row = cells[index];
    if (row->separator || !row->selectable)
        return;
    selectedIndex = index;
    scroll_into_view(row);
    if (onSelect) {
        SelectCallback cb = onSelect;
        const std::string text = row->title;
        cb(this, text.c_str(), index);
    }
}

void GUI_List::showIndex(int index) {
    selectedIndex = index;
    if (index >= 0 && index < count)
        scroll_into_view(cells[index]);
}

void GUI_List::clamp_pad() {
    if (!pad)
        return;
    int top = pad->relY;
    if (top + pad->h < h)
        top = h - pad->h;  // bottom not above the list's bottom
    if (top > 0)
        top = 0;  // top not below the list's top
    pad->move_by(0, top - pad->relY);
    scrollTarget = scrollPosition = pad->relY;
}

GUI_ListCell* GUI_List::row_at(int mx, int my) const {
    if (!pad)
        return nullptr;
    // Rows outside the list's rectangle are scrolled away and cannot be hit.
    if (mx < x || mx >= x + w || my < y || my >= y + h)
        return nullptr;
    GUI_View* v = pad->hit_test(mx, my, true);
    for (GUI_ListCell* row : cells)
        if (v && v->is_descendant_of(row))
            return row;
    return nullptr;
}

// ---- drawing ----

void GUI_List::draw() {
    if (!is_visible())
        return;
    if (pad && scrollTarget != scrollPosition) {
        const double d = (scrollTarget - scrollPosition) * 0.1;
        const int step = static_cast<int>(d > 0 ? std::ceil(d) : std::floor(d));
        pad->move_by(0, step);
        scrollPosition += step;
    }
    GUI_View::draw();
    for (GUI_ListCell* row : cells)
        row->selected = row->tag == selectedIndex;
    if (scrollable && pad) {
        const int s = GUI_scale;
        GUI_FillRect(w - 8 * s, 0, 8 * s, h, kTrackColor);
        const int range = pad->h - h;
        int thumbY =
            range > 0 ? static_cast<int>(std::abs(pad->y - y) / static_cast<double>(range) * h) : s;
        thumbY = std::clamp(thumbY, s, std::max(s, h - s - 24 * s));
        GUI_FillRoundRect(w - s - 6 * s, thumbY, 6 * s, 24 * s, 3 * s - 1, GUI_Grey);
    }
}

// ---- events ----

bool GUI_List::handle_event(SDL_Event* e) {
    if (e->type == GUI_EVENT_DRAW)
        return GUI_View::handle_event(e);
    if (!is_enabled() || !is_visible())
        return false;
    int mx = 0, my = 0;
    switch (e->type) {
        case SDL_MOUSEBUTTONDOWN: {
            GUI_EventPosition(e, &mx, &my);
            pressTime = SDL_GetTicks();
            lastX = pressX = mx;
            lastY = pressY = my;
            pressed = true;
            if (scrollable || noHover)
                GUI_mouseCapture = this;
            if (GUI_ListCell* row = row_at(mx, my)) {
                if (!row->separator && row->selectable)
                    selectedIndex = row->tag;
                GUI_LogNotice("selectedIndex") << selectedIndex << " ," << row->title;
            }
            return true;
        }
        case SDL_MOUSEMOTION: {
            GUI_EventPosition(e, &mx, &my);
            if (pressed && scrollable &&
                (std::abs(mx - pressX) > kDragThreshold ||
                 std::abs(my - pressY) > kDragThreshold)) {
                pressed = false;
                scrolling = true;
            }
            if (scrolling) {
                if (pad)
                    pad->move_by(0, my - lastY);
                clamp_pad();
                lastX = mx;
                lastY = my;
                return true;
            }
            if (!noHover) {
                if (GUI_ListCell* row = row_at(mx, my))
                    if (!row->separator && row->selectable)
                        selectedIndex = row->tag;
            }
            return true;
        }
        case SDL_MOUSEBUTTONUP: {
            GUI_EventPosition(e, &mx, &my);
            scrolling = false;
            if (GUI_mouseCapture == this)
                GUI_mouseCapture = nullptr;
            const bool still =
                std::abs(mx - pressX) <= kDragThreshold && std::abs(my - pressY) <= kDragThreshold;
            const bool wasPressed = pressed;
            pressed = false;
            if (wasPressed && (still || !scrollable)) {
                if (GUI_ListCell* row = row_at(mx, my)) {
                    selectIndex(row->tag);
                    return true;
                }
            }
            return false;
        }
        case SDL_MOUSEWHEEL: {
            // Only the list under the pointer scrolls.
#if SDL_VERSION_ATLEAST(2, 26, 0)
            mx = static_cast<int>(e->wheel.mouseX * GUI_mouseScale);
            my = static_cast<int>(e->wheel.mouseY * GUI_mouseScale);
#else
            SDL_GetMouseState(&mx, &my);
            mx = static_cast<int>(mx * GUI_mouseScale);
            my = static_cast<int>(my * GUI_mouseScale);
#endif
            if (!hit_test(mx, my, false))
                break;
            int amount = e->wheel.y;
            if (e->wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
                amount = -amount;
            if (pad)
                pad->move_by(0, static_cast<int>(kWheelStep * amount * GUI_mouseScale));
            clamp_pad();
            return true;
        }
        default:
            break;
    }
    GUI_View::handle_event(e);
    return false;
}
