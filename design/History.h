// Undo and redo: the command base and the two stacks of the open design.
//
// Every edit of the design is a Command whose redo does it and whose undo reverts it; both are
// closures over what the command captured when it was made (indexes, offsets, full layer copies).
// The creator runs it through execute(): redo once, push, mark the design changed. Commands are
// shared: a command lives while a stack (or its creator) holds it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Document;

class Command {
public:
    // The display name is a localisation key ("Move", "Cut", ...), shown by the Edit menu.
    Command(Document& document, std::string name);
    virtual ~Command();
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    // Whether both directions exist. An import whose source gave nothing has neither and must not
    // be executed.
    bool valid() const { return static_cast<bool>(redo) && static_cast<bool>(undo); }

    std::function<void()> redo;
    std::function<void()> undo;
    std::string name;

protected:
    Document& doc;
};

class History {
public:
    // The undo stack never holds more than this many commands.
    static constexpr std::size_t kMaxUndo = 50;

    explicit History(Document& document) : doc(document) {}

    // Drops the oldest commands so that 49 remain when 50 or more are held (with the notices
    // "Undo oversize", "b4size" and "affer erase size"), appends the command and empties the
    // redo stack.
    void push(std::shared_ptr<Command> command);
    // The last command of the undo stack is undone and moves to the redo stack; nothing when
    // empty.
    void undo();
    // The last command of the redo stack is redone and moves to the undo stack; nothing when
    // empty.
    void redo();
    void clear();

    bool canUndo() const { return !undoStack.empty(); }
    bool canRedo() const { return !redoStack.empty(); }
    // Names of the next command to undo / redo ("" when none), for the menu.
    std::string undoName() const { return canUndo() ? undoStack.back()->name : std::string(); }
    std::string redoName() const { return canRedo() ? redoStack.back()->name : std::string(); }

    std::vector<std::shared_ptr<Command>> undoStack;  // oldest first
    std::vector<std::shared_ptr<Command>> redoStack;  // the last entry is redone next

private:
    Document& doc;
};

// Runs a new command once (its redo), pushes it and marks the design changed. A command without
// its two directions is refused: returns false and nothing changes.
bool execute(Document& document, std::shared_ptr<Command> command);
