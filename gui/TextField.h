// GUI_EditText: a one-line UTF-8 text field. A click focuses it (taking GUI_mouseCapture and
// starting SDL text input) and places the caret; a click elsewhere ends the focus.
//
// The caret is a byte offset that always lies on a character boundary, and never between a base
// character and the combining marks that follow it (Thai vowels above and below, tone marks):
// Left, Right, Home, End and clicks move over whole clusters. Backspace deletes the one character
// before the caret, so a Thai tone mark can be retyped without its consonant; Delete removes the
// whole cluster after the caret.
#pragma once

#include <functional>
#include <string>

#include "gui/Label.h"

class GUI_EditText : public GUI_Label {
public:
    using ChangeCallback = std::function<void(GUI_EditText*)>;
    enum { FILTER_ANY = 0, FILTER_NUMERIC = 1 };  // numeric: digits and "."

    // Positions and sizes in points.
    GUI_EditText(GUI_View* parent, const char* text, int x, int y, int w, int h,
                 SDL_Color textColor, int textAlign, int fontIndex,
                 ChangeCallback onChange = nullptr);
    ~GUI_EditText() override;

    // Replaces the text (the caret goes to its end); no change callback.
    void set_text(const std::string& text);
    const std::string& get_text() const { return title; }
    void set_password_mode(bool on);
    // The same as set_text (fontIndex ≥ 0 also changes the font).
    void set_title(const std::string& text, int fontIndex = -1) override;

    void draw() override;
    bool handle_event(SDL_Event* e) override;

    // Editing operations, also used by the key handling. Each re-renders the text and calls the
    // change callback when the text changed.
    void insert_text(const std::string& utf8);
    void delete_backward();  // Backspace
    void delete_forward();   // Delete
    void move_left();
    void move_right();
    void move_home() { cursorPos = 0; }
    void move_end() { cursorPos = static_cast<int>(title.size()); }

    // Focus the field (as a click would, without placing the caret) or end the focus.
    void focus();
    void unfocus();

    // The caret offset for a click at x (drawable pixels).
    int cursor_for_x(int px) const;
    // Pixel offset of the caret from the text's left edge.
    int cursor_offset_px() const;

    bool passwordMode = false;
    ChangeCallback onChange;
    int cursorPos = 0;  // byte offset into the UTF-8 text
    int inputFilter = FILTER_ANY;

private:
    std::string display_text(size_t bytes) const;  // the first `bytes` bytes as drawn
    void refresh();
    void changed();
};

// Character and cluster boundaries of UTF-8 text (invalid bytes count as single characters).
namespace GUI_Utf8 {
// Offset of the character after / before the one at `pos`.
size_t nextChar(const std::string& s, size_t pos);
size_t prevChar(const std::string& s, size_t pos);
// Offset of the cluster (base character and its combining marks) after / before `pos`.
size_t nextCluster(const std::string& s, size_t pos);
size_t prevCluster(const std::string& s, size_t pos);
// Whether `pos` starts a cluster (or is the end of the text).
bool isClusterBoundary(const std::string& s, size_t pos);
bool isCombiningMark(uint32_t cp);
size_t countChars(const std::string& s);
}  // namespace GUI_Utf8
