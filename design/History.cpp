#include "design/History.h"

#include <cstdio>

#include "design/Document.h"

namespace {

std::string address(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
}

}  // namespace

Command::Command(Document& document, std::string name) : name(std::move(name)), doc(document) {}

Command::~Command() {
    doc.log(1, "~Command()", address(this));
}

void History::push(std::shared_ptr<Command> command) {
    if (undoStack.size() >= kMaxUndo) {
        const std::size_t before = undoStack.size();
        const std::size_t n = before - (kMaxUndo - 1);
        doc.log(1, "Undo oversize", std::to_string(n));
        doc.log(1, "b4size", std::to_string(before));
        undoStack.erase(undoStack.begin(), undoStack.begin() + static_cast<std::ptrdiff_t>(n));
        doc.log(1, "affer erase size", std::to_string(undoStack.size()));
    }
    undoStack.push_back(std::move(command));
    redoStack.clear();
}

void History::undo() {
    if (undoStack.empty())
        return;
    std::shared_ptr<Command> c = undoStack.back();
    undoStack.pop_back();
    if (c->undo)
        c->undo();
    redoStack.push_back(std::move(c));
}

void History::redo() {
    if (redoStack.empty())
        return;
    std::shared_ptr<Command> c = redoStack.back();
    redoStack.pop_back();
    if (c->redo)
        c->redo();
    undoStack.push_back(std::move(c));
}

void History::clear() {
    // Moved out first: a command's destructor logs through the document.
    std::vector<std::shared_ptr<Command>> u, r;
    u.swap(undoStack);
    r.swap(redoStack);
}

bool execute(Document& document, std::shared_ptr<Command> command) {
    if (!command || !command->valid())
        return false;
    command->redo();
    document.history.push(std::move(command));
    document.statusDirty = true;
    return true;
}
