#include "gui/DropDown.h"

#include <algorithm>

#include "gui/Draw.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"

namespace {
const int kRowPoints = 25;
const int kSeparatorShrink = 15;  // a separator row is 10 points instead of 25

std::vector<std::string> copyItems(const char* const* items, int count) {
    std::vector<std::string> out;
    for (int i = 0; items && i < count; ++i)
        out.emplace_back(items[i] ? items[i] : "");
    return out;
}
}  // namespace

GUI_Dropdown::GUI_Dropdown(GUI_View* parent, const char* title, const char* const* list, int count,
                           int x, int y, int w, int h, SDL_Color textColor)
    : GUI_Dropdown(parent, title, copyItems(list, count), x, y, w, h, textColor) {}

GUI_Dropdown::GUI_Dropdown(GUI_View* parent, const char* title,
                           const std::vector<std::string>& list, int x, int y, int w, int h,
                           SDL_Color textColor)
    : GUI_Button(parent, title, x, y, w, h, textColor, TITLE_CENTER_V, 0, nullptr),
      itemCount(static_cast<int>(list.size())),
      storedX(x),
      storedY(y),
      storedW(w),
      storedH(h),
      items(list) {
    bgColor = GUI_White;
    borderWidth = 1;
    set_padding(10, 5, 10, 5);
    if (GUI_iconFonts[0]) {
        downArrow = GUI_RenderIcon(0xF0D7, &downArrowSize.w, &downArrowSize.h, GUI_White, 0);
        leftArrow = GUI_RenderIcon(0xF0D9, &leftArrowSize.w, &leftArrowSize.h, GUI_White, 0);
    }
    set_max_rows(itemCount);
}

GUI_Dropdown::~GUI_Dropdown() {
    if (popup) {
        // The list outlives us in its own parent; it must not call back into this drop-down.
        popup->destroyCallback = nullptr;
        popup->onSelect = nullptr;
        popup->hide();
        popup->close();
        popup = nullptr;
    }
    if (downArrow)
        SDL_DestroyTexture(downArrow);
    if (leftArrow)
        SDL_DestroyTexture(leftArrow);
}

void GUI_Dropdown::release_capture() {
    if (GUI_mouseCapture == this)
        GUI_mouseCapture = nullptr;
}

void GUI_Dropdown::set_max_rows(int n) {
    maxRows = (n <= 0 || n > itemCount) ? itemCount : n;
}

void GUI_Dropdown::set_colors(const SDL_Color* table, int length) {
    colors.assign(table, table + std::max(0, length));
    swatch = true;
    set_padding(10, 5, 10, 20);
}

void GUI_Dropdown::close_popup() {
    if (popup && popup->is_visible())
        popup->hide();
    open = false;
    release_capture();
}

void GUI_Dropdown::select(int index, bool notify) {
    if (index < 0 || index >= itemCount)
        return;
    close_popup();
    selectedIndex = index;
    const std::string text = items[index];
    set_text(text);
    if (notify && onSelect) {
        SelectCallback cb = onSelect;
        cb(this, popup, index, text.c_str());
    }
}

void GUI_Dropdown::on_list_select(GUI_List* list, const char* text, int index) {
    const std::string chosen = text ? text : "";
    // Closed first: a callback may replace or delete this drop-down.
    close_popup();
    selectedIndex = index;
    set_text(chosen);
    if (onSelect) {
        SelectCallback cb = onSelect;
        cb(this, list, index, chosen.c_str());
    }
    if (onSelected) {
        SelectedCallback cb = onSelected;
        cb(this, list, index);
    }
}

void GUI_Dropdown::open_popup() {
    if (onOpen) {
        OpenCallback cb = onOpen;
        cb(this);
    }
    if (!popup) {
        int separators = 0;
        for (const std::string& item : items)
            separators += item == "---";
        const int listH =
            std::min(kRowPoints * itemCount - kSeparatorShrink * separators, kRowPoints * maxRows);
        GUI_View* owner = GUI_modalView ? GUI_modalView : GUI_TopView;
        if (!owner)
            return;
        popup = new GUI_List(
            owner, items, 0, 0, std::max(1, w / GUI_scale), std::max(1, listH), kRowPoints,
            [this](GUI_List* l, const char* t, int i) { on_list_select(l, t, i); }, 0);
        popup->alignFlags = ALIGN_ABSOLUTE;
        popup->bgColor = GUI_White;
        popup->borderWidth = 1;
        popup->borderColor = GUI_Grey;
        popup->destroyCallback = [this](GUI_View*) {
            popup = nullptr;
            open = false;
            release_capture();
        };
        if (swatch) {
            const int n = std::min(itemCount, 64);
            for (int i = 0; i < n && i < static_cast<int>(colors.size()); ++i) {
                if (GUI_ListCell* row = popup->getCell(i)) {
                    row->swatch = true;
                    row->swatchColor = colors[i];
                }
            }
        }
    }
    popup->move_by(x - popup->x, y + h - popup->y);
    popup->show();
    popup->bring_to_front();
    popup->showIndex(selectedIndex);
    GUI_mouseCapture = this;
}

void GUI_Dropdown::draw() {
    if (!is_visible())
        return;
    // Someone else held the mouse for a while (the list while scrolling): take it back so that
    // a press outside still closes the list.
    if (open && popup && popup->is_visible() && GUI_mouseCapture == nullptr)
        GUI_mouseCapture = this;
    if (open && (!popup || !popup->is_visible()))
        open = false;
    GUI_Button::draw();
    if (!GUI_renderer)
        return;
    const int s = GUI_scale;
    const bool left = !open && leftArrowWhenClosed;
    SDL_Texture* arrow = left ? leftArrow : downArrow;
    const SDL_Rect size = left ? leftArrowSize : downArrowSize;
    if (arrow) {
        const SDL_Color c = is_enabled() ? GUI_DarkGrey : GUI_LightGrey;
        SDL_SetTextureColorMod(arrow, c.r, c.g, c.b);
        const SDL_Rect dst = {w - padding[1] * s - size.w, (h - size.h) / 2, size.w, size.h};
        SDL_RenderCopy(GUI_renderer, arrow, nullptr, &dst);
    }
    if (swatch && selectedIndex >= 0 && selectedIndex < static_cast<int>(colors.size()))
        GUI_FillRect(0, 0, 12 * s, h, colors[selectedIndex]);
}

bool GUI_Dropdown::handle_event(SDL_Event* e) {
    if (!is_visible())
        return false;
    if (e->type == GUI_EVENT_DRAW)
        return GUI_View::handle_event(e);
    int mx = 0, my = 0;
    const bool mouse = GUI_EventPosition(e, &mx, &my);
    if (!is_enabled()) {
        if (mouse)
            close_popup();
        return false;
    }
    if (!mouse) {
        GUI_View::handle_event(e);
        return false;
    }
    const bool inside = hit_test(mx, my, true) != nullptr;
    const bool listOpen = open && popup && popup->is_visible();
    const bool inList = listOpen && popup->hit_test(mx, my, false) != nullptr;

    switch (e->type) {
        case SDL_MOUSEBUTTONDOWN:
            if (inList)
                return popup->handle_event(e);
            if (!inside) {
                if (listOpen)
                    close_popup();
                return false;
            }
            pressed = mouseDown = true;
            GUI_mouseCapture = this;
            return true;
        case SDL_MOUSEMOTION:
            if (mouseDown) {
                pressed = inside;
                return inside;
            }
            if (inList)
                return popup->handle_event(e);
            return false;
        case SDL_MOUSEBUTTONUP:
            if (!mouseDown) {
                if (inList)
                    return popup->handle_event(e);
                return false;
            }
            release_capture();
            pressed = mouseDown = false;
            if (!inside)
                return false;
            if (open) {
                close_popup();
            } else {
                open = true;
                open_popup();
                if (!popup)
                    open = false;
            }
            return true;
        default:
            break;
    }
    return false;
}
