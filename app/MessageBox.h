// Message boxes over the main window: the result of sending to the stick, a save that failed.
//
// By default a box is SDL's native message box, modal and blocking until the user closes it.
// Tests (and tools) install `messageBoxSink` to answer and observe the boxes instead. The sink is
// the one home of that hook; it is empty unless a test sets it. Main thread only.
#pragma once

#include <functional>
#include <string>

enum class MessageKind { Information, Error };

using MessageBoxSink =
    std::function<void(MessageKind kind, const std::string& title, const std::string& text)>;
extern MessageBoxSink messageBoxSink;

// Shows a box with one OK button (texts in UTF-8, already translated) and returns once it is
// closed. Without a window (or when the platform has no message boxes) the box is printed to
// standard error instead, so that nothing is lost.
void showMessageBox(MessageKind kind, const std::string& title, const std::string& text);
