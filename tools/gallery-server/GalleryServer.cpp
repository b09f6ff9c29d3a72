#include "tools/gallery-server/GalleryServer.h"

#include <httplib.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace galleryserver {

fs::path resolveRequest(const fs::path& root, const std::string& urlPath, bool& refused) {
    refused = false;
    if (urlPath.empty() || urlPath[0] != '/')
        return {};
    // Segment by segment, so that no "..", however it was written in the URL, ever reaches the
    // file system. Empty segments ("//") and "." are harmless and skipped.
    fs::path path = root;
    size_t at = 1;
    while (at <= urlPath.size()) {
        size_t end = urlPath.find('/', at);
        if (end == std::string::npos)
            end = urlPath.size();
        const std::string segment = urlPath.substr(at, end - at);
        at = end + 1;
        if (segment.empty() || segment == ".")
            continue;
        if (segment == ".." || segment.find('\\') != std::string::npos ||
            segment.find('\0') != std::string::npos) {
            refused = true;
            return {};
        }
        path /= fs::u8path(segment);
    }
    std::error_code error;
    const fs::path real = fs::canonical(path, error);
    if (error)
        return {};
    // A symbolic link inside the folder may still point outside it.
    const auto [rootEnd, realIt] =
        std::mismatch(root.begin(), root.end(), real.begin(), real.end());
    if (rootEnd != root.end()) {
        refused = true;
        return {};
    }
    if (!fs::is_regular_file(real, error))
        return {};
    return real;
}

GalleryServer::GalleryServer(fs::path root, LogSink log)
    : root_(std::move(root)), log_(std::move(log)) {}

GalleryServer::~GalleryServer() {
    stop();
}

void GalleryServer::say(const std::string& line) {
    std::lock_guard<std::mutex> lock(logMutex_);
    if (log_)
        log_(line);
}

bool GalleryServer::start(const std::string& host, int port) {
    std::error_code error;
    root_ = fs::canonical(root_, error);
    if (error || !fs::is_directory(root_, error))
        return false;
    server_ = std::make_unique<httplib::Server>();
    server_->Get(R"(/.*)", [this](const httplib::Request& request, httplib::Response& response) {
        bool refused = false;
        const fs::path file = resolveRequest(root_, request.path, refused);
        if (refused) {
            response.status = 403;
            response.set_content("Forbidden\n", "text/plain");
            return;
        }
        std::ifstream in(file, std::ios::binary);
        if (file.empty() || !in) {
            response.status = 404;
            response.set_content("Not Found\n", "text/plain");
            return;
        }
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        response.set_content(std::move(bytes), "application/octet-stream");
    });
    // One line per request, whatever answered it.
    server_->set_logger([this](const httplib::Request& request, const httplib::Response& response) {
        say(request.remote_addr + " " + request.method + " " + request.path + " -> " +
            std::to_string(response.status) + " (" + std::to_string(response.body.size()) +
            " bytes)");
    });
    if (port == 0) {
        port_ = server_->bind_to_any_port(host);
        if (port_ <= 0)
            return false;
    } else {
        if (!server_->bind_to_port(host, port))
            return false;
        port_ = port;
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // A stop() that came before the thread entered its loop would be lost and the join would
    // wait for ever, so start() returns only once the server runs.
    while (!server_->is_running() && thread_.joinable())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    say("serving " + root_.u8string() + " on http://" + host + ":" + std::to_string(port_));
    return true;
}

void GalleryServer::stop() {
    if (server_)
        server_->stop();
    if (thread_.joinable())
        thread_.join();
}

}  // namespace galleryserver
