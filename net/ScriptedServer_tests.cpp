#include "net/ScriptedServer_tests.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace nettest {

int closedPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

ScriptedServer::ScriptedServer(std::vector<Step> script, int requestEnds)
    : script_(std::move(script)), requestEnds_(requestEnds) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 4) != 0) {
        throw std::runtime_error("cannot listen on loopback");
    }
    socklen_t size = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { run(); });
}

ScriptedServer::~ScriptedServer() {
    stop();
    if (listener_ >= 0)
        ::close(listener_);
}

void ScriptedServer::stop() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
}

std::string ScriptedServer::received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

void ScriptedServer::run() {
    // Nothing here waits longer than a few seconds, so a broken client cannot hang the tests.
    auto waitReadable = [this](int fd) {
        for (int i = 0; i < 500 && !stopping_; ++i) {
            pollfd entry{fd, POLLIN, 0};
            if (::poll(&entry, 1, 10) > 0)
                return true;
        }
        return false;
    };
    if (!waitReadable(listener_))
        return;
    int fd = ::accept(listener_, nullptr, nullptr);
    if (fd < 0)
        return;
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    auto readSome = [&] {
        char buffer[4096];
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            std::lock_guard<std::mutex> lock(mutex_);
            received_.append(buffer, size_t(n));
        }
        return n;
    };
    auto headsSeen = [&] {
        std::lock_guard<std::mutex> lock(mutex_);
        int count = 0;
        for (size_t at = received_.find("\r\n\r\n"); at != std::string::npos;
             at = received_.find("\r\n\r\n", at + 4)) {
            ++count;
        }
        return count;
    };
    while (headsSeen() < requestEnds_) {
        if (!waitReadable(fd) || readSome() <= 0)
            break;
    }
    bool open = true;
    for (const auto& step : script_) {
        if (step.kind == Step::Send) {
            ::send(fd, step.bytes.data(), step.bytes.size(), MSG_NOSIGNAL);
        } else if (step.kind == Step::Pause) {
            std::this_thread::sleep_for(std::chrono::milliseconds(step.ms));
        } else if (step.kind == Step::Close) {
            ::close(fd);
            open = false;
            break;
        } else if (step.kind == Step::Reset) {
            // A zero linger time turns the close into a reset.
            linger hard{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            ::close(fd);
            open = false;
            break;
        } else if (step.kind == Step::Silence) {
            while (!stopping_)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    if (open) {
        // Keep taking what the client sends until it closes or the test ends.
        while (!stopping_) {
            pollfd entry{fd, POLLIN, 0};
            if (::poll(&entry, 1, 10) > 0 && readSome() <= 0)
                break;
        }
        ::close(fd);
    }
}

}  // namespace nettest
