#include "gui/TextField.h"

#include <utf8.h>

#include <algorithm>

#include "gui/Draw.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"

// ---- character and cluster boundaries ----

namespace GUI_Utf8 {

namespace {
// The code point at pos, or 0xFFFFFFFF for an invalid or truncated sequence.
uint32_t codePointAt(const std::string& s, size_t pos) {
    auto it = s.begin() + static_cast<std::ptrdiff_t>(pos);
    uint32_t cp = 0;
    if (utf8::internal::validate_next(it, s.end(), cp) != utf8::internal::UTF8_OK)
        return 0xFFFFFFFFu;
    return cp;
}

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}
}  // namespace

bool isCombiningMark(uint32_t cp) {
    // Thai vowels above and below, the Phinthu, Maitaikhu, tone marks and other signs.
    if (cp == 0x0E31 || (cp >= 0x0E34 && cp <= 0x0E3A) || (cp >= 0x0E47 && cp <= 0x0E4E))
        return true;
    return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x1AB0 && cp <= 0x1AFF) ||
           (cp >= 0x1DC0 && cp <= 0x1DFF) || (cp >= 0x20D0 && cp <= 0x20FF) ||
           (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xFE20 && cp <= 0xFE2F) || cp == 0x3099 ||
           cp == 0x309A || cp == 0x200D;
}

size_t nextChar(const std::string& s, size_t pos) {
    if (pos >= s.size())
        return s.size();
    auto it = s.begin() + static_cast<std::ptrdiff_t>(pos);
    uint32_t cp = 0;
    if (utf8::internal::validate_next(it, s.end(), cp) == utf8::internal::UTF8_OK)
        return static_cast<size_t>(it - s.begin());
    return pos + 1;  // a stray byte is a character of its own
}

size_t prevChar(const std::string& s, size_t pos) {
    if (pos == 0)
        return 0;
    pos = std::min(pos, s.size());
    // Back over at most three continuation bytes to a lead byte whose sequence ends at pos.
    size_t start = pos - 1;
    while (start > 0 && pos - start < 4 && isContinuation(static_cast<unsigned char>(s[start])))
        --start;
    if (nextChar(s, start) == pos)
        return start;
    return pos - 1;
}

bool isClusterBoundary(const std::string& s, size_t pos) {
    if (pos == 0 || pos >= s.size())
        return true;
    if (isContinuation(static_cast<unsigned char>(s[pos])) && prevChar(s, pos) != pos &&
        nextChar(s, prevChar(s, pos)) != pos)
        return false;
    return !isCombiningMark(codePointAt(s, pos));
}

size_t nextCluster(const std::string& s, size_t pos) {
    pos = nextChar(s, pos);
    while (pos < s.size() && isCombiningMark(codePointAt(s, pos)))
        pos = nextChar(s, pos);
    return pos;
}

size_t prevCluster(const std::string& s, size_t pos) {
    pos = prevChar(s, pos);
    while (pos > 0 && isCombiningMark(codePointAt(s, pos)))
        pos = prevChar(s, pos);
    return pos;
}

size_t countChars(const std::string& s) {
    size_t n = 0;
    for (size_t p = 0; p < s.size(); p = nextChar(s, p))
        ++n;
    return n;
}

}  // namespace GUI_Utf8

// ---- the field ----

using namespace GUI_Utf8;

GUI_EditText::GUI_EditText(GUI_View* parent, const char* text, int x, int y, int w, int h,
                           SDL_Color textColor, int textAlign, int fontIndex, ChangeCallback cb)
    : GUI_Label(parent, "", x, y, w, h, textColor, textAlign, fontIndex), onChange(std::move(cb)) {
    // An empty field keeps the size of one character.
    int sw = 0, sh = 0;
    if (GUI_SizeText(GUI_Font(fontIndex), " ", &sw, &sh)) {
        minWidth = sw;
        minHeight = sh;
    }
    set_text(text ? text : "");
    bgColor = GUI_White;
    borderWidth = 1;
    padding[0] = padding[1] = padding[2] = padding[3] = 5;
    layout_content();
}

GUI_EditText::~GUI_EditText() {
    if (focused)
        SDL_StopTextInput();
}

std::string GUI_EditText::display_text(size_t bytes) const {
    bytes = std::min(bytes, title.size());
    if (!passwordMode)
        return title.substr(0, bytes);
    return std::string(countChars(title.substr(0, bytes)), '*');
}

void GUI_EditText::refresh() {
    const std::string text = title;
    GUI_Label::set_title(display_text(text.size()), -1);
    title = text;
}

void GUI_EditText::changed() {
    refresh();
    if (onChange) {
        ChangeCallback cb = onChange;
        cb(this);
    }
}

void GUI_EditText::set_text(const std::string& text) {
    // Keep the text valid UTF-8 so that every caret step lands on a character.
    std::string clean;
    utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(clean));
    title = clean;
    cursorPos = static_cast<int>(title.size());
    refresh();
}

void GUI_EditText::set_title(const std::string& text, int font) {
    if (font >= 0)
        fontIndex = font;
    set_text(text);
}

void GUI_EditText::set_password_mode(bool on) {
    passwordMode = on;
    refresh();
}

void GUI_EditText::insert_text(const std::string& input) {
    std::string clean;
    utf8::replace_invalid(input.begin(), input.end(), std::back_inserter(clean));
    if (inputFilter == FILTER_NUMERIC) {
        std::string digits;
        for (char c : clean)
            if ((c >= '0' && c <= '9') || c == '.')
                digits += c;
        clean = digits;
    }
    if (clean.empty())
        return;
    const size_t at = std::min(static_cast<size_t>(std::max(cursorPos, 0)), title.size());
    title.insert(at, clean);
    cursorPos = static_cast<int>(at + clean.size());
    changed();
}

void GUI_EditText::delete_backward() {
    const size_t at = std::min(static_cast<size_t>(std::max(cursorPos, 0)), title.size());
    const size_t from = prevChar(title, at);
    if (from == at)
        return;
    title.erase(from, at - from);
    cursorPos = static_cast<int>(from);
    changed();
}

void GUI_EditText::delete_forward() {
    const size_t at = std::min(static_cast<size_t>(std::max(cursorPos, 0)), title.size());
    const size_t to = nextCluster(title, at);
    if (to == at)
        return;
    title.erase(at, to - at);
    changed();
}

void GUI_EditText::move_left() {
    cursorPos = static_cast<int>(prevCluster(title, static_cast<size_t>(std::max(cursorPos, 0))));
}

void GUI_EditText::move_right() {
    cursorPos = static_cast<int>(nextCluster(title, static_cast<size_t>(std::max(cursorPos, 0))));
}

void GUI_EditText::focus() {
    if (focused)
        return;
    focused = true;
    if (GUI_mouseCapture && GUI_mouseCapture != this)
        GUI_mouseCapture->focused = false;
    GUI_mouseCapture = this;
    SDL_StartTextInput();
}

void GUI_EditText::unfocus() {
    if (GUI_mouseCapture == this)
        GUI_mouseCapture = nullptr;
    if (!focused)
        return;
    focused = false;
    SDL_StopTextInput();
}

int GUI_EditText::cursor_offset_px() const {
    if (cursorPos <= 0)
        return 0;
    int tw = 0, th = 0;
    GUI_SizeText(GUI_Font(fontIndex), display_text(static_cast<size_t>(cursorPos)), &tw, &th);
    return tw;
}

int GUI_EditText::cursor_for_x(int px) const {
    const int left = x + (titleTexture ? titleRect.x : padding[3] * GUI_scale);
    TTF_Font* font = GUI_Font(fontIndex);
    for (size_t pos = 0; pos < title.size();) {
        const size_t next = nextCluster(title, pos);
        int tw = 0, th = 0;
        GUI_SizeText(font, display_text(next), &tw, &th);
        if (left + tw > px + 4)
            return static_cast<int>(pos);
        pos = next;
    }
    return static_cast<int>(title.size());
}

void GUI_EditText::draw() {
    if (!is_visible())
        return;
    GUI_Label::draw();
    if (!focused || (SDL_GetTicks() / 1000) % 2 == 0)
        return;
    const int s = GUI_scale;
    const int cx = (titleTexture ? titleRect.x : padding[3] * s) + cursor_offset_px();
    GUI_DrawLine(cx, padding[0] * s, cx, h - padding[2] * s, borderColor);
}

bool GUI_EditText::handle_event(SDL_Event* e) {
    if (!is_visible())
        return false;
    if (e->type == GUI_EVENT_DRAW)
        return GUI_View::handle_event(e);
    int mx = 0, my = 0;
    switch (e->type) {
        case SDL_MOUSEBUTTONDOWN: {
            GUI_EventPosition(e, &mx, &my);
            const bool inside = hit_test(mx, my, true) != nullptr;
            if (!is_enabled() || !inside) {
                // A press elsewhere ends the focus and goes on to whatever is under it.
                unfocus();
                return false;
            }
            focus();
            cursorPos = cursor_for_x(mx);
            return true;
        }
        case SDL_MOUSEBUTTONUP:
            GUI_EventPosition(e, &mx, &my);
            if (focused && !hit_test(mx, my, true))
                unfocus();
            return false;
        case SDL_MOUSEMOTION:
            return false;
        case SDL_TEXTINPUT:
            if (!focused)
                break;
            insert_text(e->text.text);
            return true;
        case SDL_KEYDOWN:
            if (!focused)
                break;
            switch (e->key.keysym.scancode) {
                case SDL_SCANCODE_BACKSPACE:
                    delete_backward();
                    break;
                case SDL_SCANCODE_DELETE:
                    delete_forward();
                    break;
                case SDL_SCANCODE_LEFT:
                    move_left();
                    break;
                case SDL_SCANCODE_RIGHT:
                    move_right();
                    break;
                case SDL_SCANCODE_HOME:
                    move_home();
                    break;
                case SDL_SCANCODE_END:
                    move_end();
                    break;
                default:
                    break;
            }
            return true;
        default:
            break;
    }
    GUI_View::handle_event(e);
    return false;
}
