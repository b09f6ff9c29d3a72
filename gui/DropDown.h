// GUI_Dropdown: a button showing the current item that opens a GUI_List of all items under itself.
// Choosing a row closes the list, shows the item and calls onSelect, then onSelected.
//
// The popup list is created on first opening as a child of the modal view (or the root view) and
// afterwards only hidden and shown. While it is open the drop-down holds GUI_mouseCapture: pointer
// events over the list are passed to it, and a press anywhere else closes the list (and goes on
// to whatever is under the pointer).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gui/Button.h"
#include "gui/List.h"

class GUI_Dropdown : public GUI_Button {
public:
    using SelectCallback = std::function<void(GUI_Dropdown*, GUI_List*, int, const char*)>;
    using OpenCallback = std::function<void(GUI_Dropdown*)>;
    using SelectedCallback = std::function<void(GUI_Dropdown*, GUI_List*, int)>;

    // Positions and sizes in points. The item texts are copied.
    GUI_Dropdown(GUI_View* parent, const char* title, const char* const* items, int count, int x,
                 int y, int w, int h, SDL_Color textColor);
    GUI_Dropdown(GUI_View* parent, const char* title, const std::vector<std::string>& items, int x,
                 int y, int w, int h, SDL_Color textColor);
    ~GUI_Dropdown() override;

    // Shows item `index`; calls onSelect when notify is set. Indices out of range are ignored.
    void select(int index, bool notify);
    void set_text(const std::string& text) { set_title(text, -1); }
    void close_popup();
    void set_max_rows(int n);
    // Colour-swatch mode: each row and the button show a bar in the colour of its index. The
    // table (64 colours) is copied.
    void set_colors(const SDL_Color* table, int length = 64);

    void draw() override;
    bool handle_event(SDL_Event* e) override;

    bool open = false;
    SelectCallback onSelect;
    OpenCallback onOpen;
    SelectedCallback onSelected;
    GUI_List* popup = nullptr;  // not owned (belongs to the modal or root view)
    int itemCount = 0;
    int storedX, storedY, storedW, storedH;  // points
    SDL_Texture* downArrow = nullptr;        // owned
    SDL_Texture* leftArrow = nullptr;        // owned
    SDL_Rect downArrowSize = {}, leftArrowSize = {};
    std::vector<std::string> items;
    bool leftArrowWhenClosed = true;
    int selectedIndex = -1;
    std::vector<SDL_Color> colors;
    bool swatch = false;
    int maxRows = 0;

private:
    void open_popup();
    void on_list_select(GUI_List* list, const char* text, int index);
    void release_capture();
};
