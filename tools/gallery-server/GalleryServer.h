// The gallery server: serves the files of one folder (the designs of the cloud gallery) by plain
// HTTP GET, the URL path naming the file below the folder ("/Flowers/rose%201.pes" is
// <root>/Flowers/rose 1.pes). Paths that would leave the folder (a ".." segment, also written
// "%2e%2e", a backslash, a NUL, a symbolic link pointing outside) are answered 403; anything that
// is not a regular file inside the folder 404. Every request gets one log line.
//
// Used by the mes-gallery-server program and, in-process, by its tests. The server runs on its
// own threads; the log sink is called from them, one line at a time.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace galleryserver {

// The file a decoded URL path names inside root (which must be canonical), or an empty path
// when the URL path is not acceptable. `refused` tells a path that tries to leave the root
// (403) from one that is merely missing (404).
std::filesystem::path resolveRequest(const std::filesystem::path& root, const std::string& urlPath,
                                     bool& refused);

class GalleryServer {
public:
    using LogSink = std::function<void(const std::string& line)>;

    GalleryServer(std::filesystem::path root, LogSink log);
    ~GalleryServer();
    GalleryServer(const GalleryServer&) = delete;
    GalleryServer& operator=(const GalleryServer&) = delete;

    // Binds host:port (port 0 picks a free one) and serves on a thread; false when the root is
    // not a folder or the port cannot be bound.
    bool start(const std::string& host, int port);
    // The bound port.
    int port() const { return port_; }
    // Stops serving and joins the thread.
    void stop();
    const std::filesystem::path& root() const { return root_; }

private:
    void say(const std::string& line);

    std::filesystem::path root_;
    LogSink log_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    std::mutex logMutex_;
};

}  // namespace galleryserver
