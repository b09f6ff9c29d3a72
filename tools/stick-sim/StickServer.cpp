#include "tools/stick-sim/StickServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "formats/PES.h"

namespace sticksim {

namespace {

// Only the last part of a client-given file name is kept, so an upload cannot leave the store.
std::string safeName(const std::string& filename) {
    std::string name = filename.substr(filename.find_last_of("/\\") + 1);
    if (name.empty() || name == "." || name == "..")
        name = "mivo_emb.pes";
    return name;
}

}  // namespace

StickServer::StickServer(Options options, LogSink log)
    : options_(std::move(options)), log_(std::move(log)) {}

StickServer::~StickServer() {
    stop();
}

void StickServer::say(const std::string& line) {
    std::lock_guard<std::mutex> lock(logMutex_);
    if (log_)
        log_(line);
}

void StickServer::count(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++requests_[path];
}

int StickServer::requests(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = requests_.find(path);
    return it == requests_.end() ? 0 : it->second;
}

std::string StickServer::lastStored() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastStored_;
}

bool StickServer::lastStoredIsPes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastStoredIsPes_;
}

long long StickServer::lastUploadLength() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastUploadLength_;
}

std::string StickServer::statusText(const std::string& text) const {
    return options_.lineEnd ? text + "\r\n" : text;
}

std::string StickServer::store(const std::string& filename, const std::string& content) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(options_.storeDir, error);
    fs::path path = fs::path(options_.storeDir) / safeName(filename);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(content.data(), std::streamsize(content.size()));
        if (!out)
            return "cannot store " + path.string();
    }
    PES pes;
    FormatLog formatLog;
    std::vector<uint8_t> bytes(content.begin(), content.end());
    bool valid = pes.loadFileContents(std::move(bytes), &formatLog) && pes.hasSections() &&
                 !formatLog.hasError();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lastStored_ = path.string();
        lastStoredIsPes_ = valid;
    }
    std::string line =
        "stored " + path.string() + " (" + std::to_string(content.size()) + " bytes): ";
    if (valid) {
        line += "valid PES, header " + content.substr(0, 8) + ", " +
                std::to_string(pes.colorCount()) + " colours, " + std::to_string(pes.width()) +
                " x " + std::to_string(pes.height()) + " (0.1 mm)";
    } else {
        line += "NOT a valid PES file";
    }
    return line;
}

void StickServer::route() {
    auto& server = *server_;
    // Every reply passes through here: the delay, the early close and the log line.
    auto answer = [this](const httplib::Request& request, httplib::Response& response,
                         const std::string& body) {
        if (options_.delayMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(options_.delayMs));
        }
        if (options_.closeEarly) {
            // Promise the whole body, send half of it, then give up on the connection.
            auto half = body.substr(0, body.size() / 2);
            response.set_content_provider(body.size(), "text/plain",
                                          [half](size_t offset, size_t, httplib::DataSink& sink) {
                                              if (offset == 0 && !half.empty())
                                                  sink.write(half.data(), half.size());
                                              return false;
                                          });
            say(request.method + " " + request.path + " -> closed early");
            return;
        }
        response.set_content(body, "text/html");
        say(request.method + " " + request.path + " -> " + body);
    };

    server.Get("/sdcard/mount", [this, answer](const httplib::Request& q, httplib::Response& r) {
        count(q.path);
        mounted_ = true;
        answer(q, r, statusText(options_.wrong ? "{\"status\": \"0\"}" : "{\"status\":\"0\"}"));
    });
    server.Get("/sdcard/unmount", [this, answer](const httplib::Request& q, httplib::Response& r) {
        count(q.path);
        mounted_ = false;
        answer(q, r, statusText(options_.wrong ? "{\"status\":\"0\"}" : "{\"status\":\"1\"}"));
    });
    server.Get("/sdcard/version", [this, answer](const httplib::Request& q, httplib::Response& r) {
        count(q.path);
        answer(q, r, options_.wrong ? "unknown" : options_.version);
    });
    server.Post("/u.php", [this, answer](const httplib::Request& q, httplib::Response& r) {
        count(q.path);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            lastUploadLength_ = std::atoll(q.get_header_value("Content-Length").c_str());
        }
        if (!q.has_file("fileToUpload")) {
            answer(q, r, "Sorry, no file arrived.");
            return;
        }
        const auto file = q.get_file_value("fileToUpload");
        if (!mounted_) {
            answer(q, r, "Sorry, the card is not mounted.");
            return;
        }
        say(store(file.filename, file.content));
        if (options_.uploadDelayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(options_.uploadDelayMs));
        if (options_.wrong || options_.rejectUpload) {
            answer(q, r, "Sorry, there was an error with your file.");
        } else {
            answer(q, r, "The file " + safeName(file.filename) + " has been uploaded.");
        }
    });
}

bool StickServer::start(const std::string& host, int port) {
    if (options_.refuse) {
        // A bound socket that never listens: the system refuses every connection to the port.
        refusingSocket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(refusingSocket_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(uint16_t(port));
        if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
            ::bind(refusingSocket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(refusingSocket_);
            refusingSocket_ = -1;
            return false;
        }
        socklen_t size = sizeof address;
        ::getsockname(refusingSocket_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        say("refusing every connection on " + host + ":" + std::to_string(port_));
        return true;
    }
    server_ = std::make_unique<httplib::Server>();
    route();
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
    // A stop() before the thread has begun listening would be lost (the server is not running
    // yet) and the thread would then listen for ever: wait until it listens.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    say("listening on " + host + ":" + std::to_string(port_) + ", storing uploads in " +
        options_.storeDir);
    return true;
}

void StickServer::stop() {
    if (server_)
        server_->stop();
    if (thread_.joinable())
        thread_.join();
    if (refusingSocket_ >= 0) {
        ::close(refusingSocket_);
        refusingSocket_ = -1;
    }
}

}  // namespace sticksim
