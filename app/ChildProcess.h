// A program run beside the editor (a file dialog of the desktop) whose output is collected while
// the editor's main loop goes on: start() spawns it with its standard output and error on pipes,
// poll() gathers what it wrote without blocking and tells when it has ended.
//
// Deleting a ChildProcess that still runs ends the program (SIGTERM, then SIGKILL) and reaps it.
// Main thread only. POSIX.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Runs argv[0] (looked up in PATH when it holds no "/") with the arguments. False when it
    // cannot be started (not found, not executable, no pipes).
    bool start(const std::vector<std::string>& argv);
    // Reads what is there; true once the program has ended and both pipes are drained.
    bool poll();
    // Stops the program now.
    void kill();

    bool running() const { return pid_ > 0; }
    // After poll() reported the end: the exit status (0..255), or -1 when a signal ended it.
    int exitStatus() const { return status_; }
    const std::string& output() const { return out_; }
    const std::string& errors() const { return err_; }

private:
    void drain(int& fd, std::string& into);
    void closePipes();

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    bool exited_ = false;
    int status_ = -1;
    std::string out_;
    std::string err_;
};

// Whether a program of that name is found in PATH (or, when the name holds a "/", is executable).
bool programExists(const std::string& name);
