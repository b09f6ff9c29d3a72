#include "app/ChildProcess.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace {

// The most a child may write to one pipe; a dialog prints one path, so more is nonsense.
constexpr size_t kMaxOutput = 1 << 20;

bool makePipe(int fds[2]) {
    if (::pipe(fds) != 0)
        return false;
    ::fcntl(fds[0], F_SETFL, ::fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    return true;
}

}  // namespace

ChildProcess::~ChildProcess() {
    kill();
    closePipes();
}

bool ChildProcess::start(const std::vector<std::string>& argv) {
    if (argv.empty() || pid_ > 0)
        return false;
    int out[2], err[2];
    if (!makePipe(out))
        return false;
    if (!makePipe(err)) {
        ::close(out[0]);
        ::close(out[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    posix_spawn_file_actions_addclose(&actions, err[1]);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int failed = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
    if (failed != 0) {
        closePipes();
        return false;
    }
    pid_ = pid;
    exited_ = false;
    status_ = -1;
    out_.clear();
    err_.clear();
    return true;
}

void ChildProcess::drain(int& fd, std::string& into) {
    if (fd < 0)
        return;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            if (into.size() < kMaxOutput)
                into.append(buffer, size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN) {  // end of the pipe, or it broke
            ::close(fd);
            fd = -1;
        }
        return;
    }
}

bool ChildProcess::poll() {
    drain(outFd_, out_);
    drain(errFd_, err_);
    if (pid_ > 0 && !exited_) {
        int status = 0;
        const pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_ || (r < 0 && errno == ECHILD)) {
            exited_ = true;
            status_ = (r == pid_ && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
            pid_ = -1;
        }
    }
    // A grandchild may hold the pipes open after the program ended; its end is what counts.
    if (exited_) {
        drain(outFd_, out_);
        drain(errFd_, err_);
        closePipes();
    }
    return exited_;
}

void ChildProcess::kill() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 50; ++i) {
        if (::waitpid(pid_, &status, WNOHANG) != 0) {
            pid_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }
    exited_ = true;
    status_ = -1;
}

void ChildProcess::closePipes() {
    if (outFd_ >= 0)
        ::close(outFd_);
    if (errFd_ >= 0)
        ::close(errFd_);
    outFd_ = errFd_ = -1;
}

bool programExists(const std::string& name) {
    if (name.empty())
        return false;
    if (name.find('/') != std::string::npos)
        return ::access(name.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    if (path == nullptr)
        return false;
    std::string dirs = path;
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string dir = end > start ? dirs.substr(start, end - start) : ".";
        if (::access((dir + "/" + name).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}
