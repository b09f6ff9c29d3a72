// A loopback server for the client tests: it listens on 127.0.0.1 at a free port, accepts one
// connection on its own thread, reads the request head and then plays a script of exact bytes,
// pauses, a close, a reset or a silence. Everything the client sent is kept for inspection.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace nettest {

struct Step {
    enum Kind { Send, Pause, Close, Reset, Silence };
    Kind kind;
    std::string bytes;
    int ms = 0;
};

inline Step send(std::string bytes) {
    return {Step::Send, std::move(bytes), 0};
}
inline Step pause(int ms) {
    return {Step::Pause, "", ms};
}
inline Step closeNow() {
    return {Step::Close, "", 0};
}
inline Step resetNow() {
    return {Step::Reset, "", 0};
}
inline Step silence() {
    return {Step::Silence, "", 0};
}

// A loopback port where nothing listens (bound for a moment to find it, then released).
int closedPort();

class ScriptedServer {
public:
    // requestEnds: how many request heads ("\r\n\r\n") to read before the script starts.
    explicit ScriptedServer(std::vector<Step> script, int requestEnds = 1);
    ~ScriptedServer();
    int port() const { return port_; }
    // Everything received so far.
    std::string received() const;
    // Ends a silence and waits for the thread.
    void stop();

private:
    void run();

    std::vector<Step> script_;
    int requestEnds_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::string received_;
};

}  // namespace nettest
