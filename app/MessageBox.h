// Message boxes over the main window: the result of sending to the stick, a save that failed.
//
// A box blocks until the user closes it. On a real display it is shown by our GTK helper
// (mes-file-dialog), because SDL's X11 message box draws with the X server's core fonts: it
// cannot shape Thai (tone marks and upper vowels land beside their consonants) and shows nothing
// at all where those fonts are not installed. Without the helper SDL's box is used; when no box
// can be shown the message goes to standard error, so that it is never lost, and into a dialog of
// the editor's own (showMessageInWindow).
//
// Tests (and tools) install `messageBoxSink` to answer and observe the boxes instead. The sink is
// the one home of that hook; it is empty unless a test sets it. Main thread only.
#pragma once

#include <functional>
#include <string>
#include <vector>

class GUI_View;

enum class MessageKind { Information, Error, Warning };

using MessageBoxSink =
    std::function<void(MessageKind kind, const std::string& title, const std::string& text)>;
extern MessageBoxSink messageBoxSink;

// Tests answer the two-button boxes here: the question's title and text in, the answer out
// (true for the accepting button). Empty unless a test sets it.
using QuestionBoxSink = std::function<bool(const std::string& title, const std::string& text)>;
extern QuestionBoxSink questionBoxSink;

// Shows a box with one OK button (texts in UTF-8, already translated) and returns once it is
// closed.
void showMessageBox(MessageKind kind, const std::string& title, const std::string& text);

// The editor's own box, for when the system shows none: a modal dialog over the veiled window
// with the title, the text line by line and an OK button that closes it. It does not block. Null
// without a root view; owned by the view tree.
GUI_View* showMessageInWindow(const std::string& title, const std::string& text);

// Shows a warning with two buttons (the accepting one first, "Cancel"-like one second) and
// returns whether the user accepted. Closing the box, or a box that cannot be shown at all, counts
// as the second button: nothing is done that the user did not agree to.
bool askMessageBox(const std::string& title, const std::string& text,
                   const std::string& acceptLabel, const std::string& cancelLabel);

// The helper's command line for a box; parent is the editor's X11 window ("" when unknown). With
// a cancelLabel the box is a question (askMessageBox's): okLabel accepts, cancelLabel declines
// and is the helper's default button, and kind is not passed on.
std::vector<std::string> messageBoxCommand(const std::string& helper, MessageKind kind,
                                           const std::string& title, const std::string& text,
                                           const std::string& okLabel, const std::string& parent,
                                           const std::string& cancelLabel = "");
