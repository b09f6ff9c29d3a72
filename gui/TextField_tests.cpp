// The text field: UTF-8 editing of Latin and Thai text, focus and capture, filters, password mode.
#include "gui/TextField.h"

#include "gui/ToolkitTestFixture.h"

namespace {

using TextFieldTest = ToolkitFixture;

// "กี่" (consonant, vowel above, tone mark) then "า": two clusters, 3 + 3 + 3 and 3 bytes.
const std::string kGii = "\xE0\xB8\x81\xE0\xB8\xB5\xE0\xB9\x88";
const std::string kAa = "\xE0\xB8\xB2";

struct ClusterCase {
    std::string text;
    size_t from;
    size_t next;
    size_t prev;
};

TEST(Utf8Boundaries, ClustersKeepMarksWithTheirBase) {
    const ClusterCase cases[] = {
        {"abc", 1, 2, 0},
        {kGii + kAa, 0, 9, 0},
        {kGii + kAa, 9, 12, 0},
        {kGii + kAa, 12, 12, 9},
        {"e\xCC\x81x", 0, 3, 0},  // e + combining acute
        {"a\xE6\x97\xA5"
         "b",
         4, 5, 1},            // a, 日, b
        {"x\xFFy", 1, 2, 0},  // a stray byte is one character
    };
    for (const ClusterCase& c : cases) {
        EXPECT_EQ(GUI_Utf8::nextCluster(c.text, c.from), c.next) << c.text << " @" << c.from;
        EXPECT_EQ(GUI_Utf8::prevCluster(c.text, c.from), c.prev) << c.text << " @" << c.from;
    }
    EXPECT_EQ(GUI_Utf8::prevChar(kGii, 9), 6u) << "one character back is the tone mark";
    EXPECT_FALSE(GUI_Utf8::isClusterBoundary(kGii, 3));
    EXPECT_FALSE(GUI_Utf8::isClusterBoundary(kGii, 1)) << "inside a character";
    EXPECT_TRUE(GUI_Utf8::isClusterBoundary(kGii + kAa, 9));
    EXPECT_EQ(GUI_Utf8::countChars(kGii + kAa), 4u);
}

GUI_EditText* makeField(const char* text, GUI_EditText::ChangeCallback cb = nullptr) {
    return new GUI_EditText(GUI_TopView, text, 20, 20, 300, 0, GUI_Black, 0, 0, std::move(cb));
}

TEST_F(TextFieldTest, ClickFocusesTakesCaptureAndAClickElsewhereLetsGo) {
    GUI_EditText* f = makeField("abc");
    drawFrame();
    EXPECT_FALSE(f->focused);
    click(30, 25);
    EXPECT_TRUE(f->focused);
    EXPECT_EQ(GUI_mouseCapture, f);
    EXPECT_TRUE(SDL_IsTextInputActive());
    click(380, 280);
    EXPECT_FALSE(f->focused);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
    move(30, 25);  // the pointer is free again
}

TEST_F(TextFieldTest, FocusMovesBetweenFields) {
    GUI_EditText* a = makeField("a");
    auto* b = new GUI_EditText(GUI_TopView, "b", 20, 100, 300, 0, GUI_Black, 0, 0, nullptr);
    drawFrame();
    click(30, 25);
    click(30, 105);
    EXPECT_FALSE(a->focused);
    EXPECT_TRUE(b->focused);
    EXPECT_EQ(GUI_mouseCapture, b);
}

TEST_F(TextFieldTest, TypingLatinAndThaiInsertsAtTheCaret) {
    int changes = 0;
    GUI_EditText* f = makeField("", [&](GUI_EditText*) { ++changes; });
    f->focus();
    typeText("ab");
    typeText(kGii.c_str());
    EXPECT_EQ(f->get_text(), "ab" + kGii);
    EXPECT_EQ(f->cursorPos, 11);
    key(SDL_SCANCODE_LEFT);
    EXPECT_EQ(f->cursorPos, 2) << "the caret jumps over the whole Thai cluster";
    typeText("X");
    EXPECT_EQ(f->get_text(), "abX" + kGii);
    key(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(f->cursorPos, 12);
    key(SDL_SCANCODE_HOME);
    EXPECT_EQ(f->cursorPos, 0);
    key(SDL_SCANCODE_END);
    EXPECT_EQ(f->cursorPos, 12);
    EXPECT_EQ(changes, 3);
}

TEST_F(TextFieldTest, BackspaceRemovesWholeCharactersNeverPartOfOne) {
    GUI_EditText* f = makeField("");
    f->focus();
    typeText(("a" + kGii).c_str());
    key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(f->get_text(), "a\xE0\xB8\x81\xE0\xB8\xB5") << "the tone mark, all three bytes";
    key(SDL_SCANCODE_BACKSPACE);
    key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(f->get_text(), "a");
    key(SDL_SCANCODE_BACKSPACE);
    key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(f->get_text(), "");
    EXPECT_EQ(f->cursorPos, 0);
}

TEST_F(TextFieldTest, DeleteRemovesTheClusterAfterTheCaret) {
    GUI_EditText* f = makeField((kGii + kAa).c_str());
    f->focus();
    key(SDL_SCANCODE_HOME);
    key(SDL_SCANCODE_DELETE);
    EXPECT_EQ(f->get_text(), kAa) << "no orphaned vowel or tone mark is left";
    key(SDL_SCANCODE_DELETE);
    key(SDL_SCANCODE_DELETE);
    EXPECT_EQ(f->get_text(), "");
}

TEST_F(TextFieldTest, KeysGoUnconsumedWithoutFocus) {
    GUI_EditText* f = makeField("abc");
    bool rootSawKey = false;
    GUI_TopView->eventHandler = [&](GUI_View*, SDL_Event* e) {
        rootSawKey = rootSawKey || e->type == SDL_KEYDOWN;
        return false;
    };
    key(SDL_SCANCODE_BACKSPACE);
    typeText("x");
    EXPECT_EQ(f->get_text(), "abc");
    EXPECT_TRUE(rootSawKey);
}

TEST_F(TextFieldTest, NumericFieldAcceptsDigitsAndFullStopOnly) {
    GUI_EditText* f = makeField("");
    f->inputFilter = GUI_EditText::FILTER_NUMERIC;
    f->focus();
    typeText("a");
    typeText("1");
    typeText(".");
    typeText("5x");
    EXPECT_EQ(f->get_text(), "1.5");
}

TEST_F(TextFieldTest, InvalidUtf8InputIsRepaired) {
    GUI_EditText* f = makeField("");
    f->focus();
    typeText("a\xE0\xB8");  // a truncated Thai character
    key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(f->get_text(), "a");
}

TEST_F(TextFieldTest, PasswordFieldDrawsStarsAndPutsTheCaretAfterThem) {
    if (!haveTextFont())
        GTEST_SKIP() << "no text font in data/";
    GUI_EditText* f = makeField("abc");
    f->set_password_mode(true);
    int starsW = 0, h = 0;
    ASSERT_TRUE(GUI_SizeText(GUI_fonts[0], "***", &starsW, &h));
    EXPECT_EQ(f->titleRect.w, starsW);
    EXPECT_EQ(f->get_text(), "abc");
    EXPECT_EQ(f->cursor_offset_px(), starsW);
}

TEST_F(TextFieldTest, ClickPlacesTheCaretOnClusterBoundaries) {
    if (!haveTextFont())
        GTEST_SKIP() << "no text font in data/";
    const std::string text = kGii + kGii + kGii + "abc";
    GUI_EditText* f = makeField(text.c_str());
    drawFrame();
    const int left = f->x + f->titleRect.x;
    for (int px = left; px < left + f->titleRect.w + 10; ++px) {
        const int pos = f->cursor_for_x(px);
        EXPECT_TRUE(GUI_Utf8::isClusterBoundary(text, static_cast<size_t>(pos))) << px;
    }
    EXPECT_EQ(f->cursor_for_x(left - 20), 0);
    EXPECT_EQ(f->cursor_for_x(left + f->titleRect.w + 20), static_cast<int>(text.size()));
    click(f->x + f->w - 2, f->y + 5);
    EXPECT_EQ(f->cursorPos, static_cast<int>(text.size()));
}

TEST_F(TextFieldTest, DisabledFieldCannotBeFocused) {
    GUI_EditText* f = makeField("abc");
    f->disable();
    drawFrame();
    click(30, 25);
    EXPECT_FALSE(f->focused);
    EXPECT_EQ(GUI_mouseCapture, nullptr);
}

}  // namespace
