// A stand-in for the MivoStick: an HTTP server that answers the stick's four requests
// ("/sdcard/mount", "/sdcard/unmount", "/sdcard/version", "/u.php") the way the editor expects,
// stores every uploaded file in a folder and checks it with the PES reader. Options make it answer
// slowly, answer wrongly, close the connection early or refuse connections, so that the editor's
// failure paths can be tried without the device.
//
// Used by the mes-stick-sim program and, in-process, by the link tests. The server runs on its
// own threads; the log sink is called from them, one line at a time.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace sticksim {

struct Options {
    // Folder for the uploaded files, created when missing.
    std::string storeDir = "mivo-stick";
    // Every answer waits this long first, in milliseconds.
    int delayMs = 0;
    // Answers that the editor must refuse: {"status": "0"} with a space after the colon,
    // unmount answering the mount status, a version that is no number, an upload reply without
    // the confirmation.
    bool wrong = false;
    // Status texts followed by "\r\n", as some firmware sends them.
    bool lineEnd = false;
    // Send the headers and part of the body, then close the connection.
    bool closeEarly = false;
    // Hold the port without listening: every connection is refused.
    bool refuse = false;
    // Mount and unmount as usual, but answer the upload without the confirmation ("uploaded").
    bool rejectUpload = false;
    // The upload's answer (only that one) waits this long first, in milliseconds.
    int uploadDelayMs = 0;
    std::string version = "1.05";
};

class StickServer {
public:
    using LogSink = std::function<void(const std::string& line)>;

    StickServer(Options options, LogSink log);
    ~StickServer();
    StickServer(const StickServer&) = delete;
    StickServer& operator=(const StickServer&) = delete;

    // Binds host:port (port 0 picks a free one) and starts serving on a thread; false when the
    // port cannot be bound.
    bool start(const std::string& host, int port);
    // The bound port.
    int port() const { return port_; }
    // Stops serving and joins the thread.
    void stop();
    // Requests seen per path, for tests.
    int requests(const std::string& path) const;
    bool mounted() const { return mounted_; }
    // Path and verdict of the last stored upload.
    std::string lastStored() const;
    bool lastStoredIsPes() const;
    // The Content-Length header of the last upload request, -1 before any.
    long long lastUploadLength() const;

private:
    void route();
    void count(const std::string& path);
    // Hands one line to the log sink, one caller at a time.
    void say(const std::string& line);
    std::string statusText(const std::string& text) const;
    // Stores the upload and checks it; the log line describing the result.
    std::string store(const std::string& filename, const std::string& content);

    Options options_;
    LogSink log_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int refusingSocket_ = -1;
    int port_ = 0;
    std::atomic<bool> mounted_{false};
    std::mutex logMutex_;
    mutable std::mutex mutex_;
    std::map<std::string, int> requests_;
    std::string lastStored_;
    bool lastStoredIsPes_ = false;
    long long lastUploadLength_ = -1;
};

}  // namespace sticksim
