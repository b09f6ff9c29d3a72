#include "net/HttpConnection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "net/SocketError.h"

namespace happyhttp {

namespace {

// The IPv4 address of host: taken as a dotted address when it is one, else resolved by name.
bool resolve(const std::string& host, in_addr& address) {
    if (host.empty())
        return false;
    if (inet_pton(AF_INET, host.c_str(), &address) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

// Waits up to timeoutMs (forever when <= 0) for the events on fd; the poll result.
int waitFor(int fd, short events, int timeoutMs) {
    pollfd entry{fd, events, 0};
    int r;
    do {
        r = ::poll(&entry, 1, timeoutMs > 0 ? timeoutMs : -1);
    } while (r < 0 && errno == EINTR);
    return r;
}

// Releases a responses' feeding scope; the last one out frees responses closed meanwhile.
struct FeedScope {
    int& depth;
    std::vector<std::unique_ptr<HttpResponse>>& retired;
    FeedScope(int& d, std::vector<std::unique_ptr<HttpResponse>>& r) : depth(d), retired(r) {
        ++depth;
    }
    ~FeedScope() {
        if (--depth == 0)
            retired.clear();
    }
};

// A line of the request head without line breaks: a URL or header value holding "\r" or "\n"
// could otherwise add headers or a whole request of its own.
std::string oneLine(std::string text) {
    for (auto& c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
}

}  // namespace

HttpConnection::HttpConnection(const std::string& host, int port) : host_(host), port_(port) {}

HttpConnection::~HttpConnection() {
    close();
}

void HttpConnection::startrequest(const std::string& method, const std::string& url) {
    if (building_)
        throw Wobbly("Request already issued");
    building_ = true;
    pendingLines_.push_back(oneLine(method + " " + url + " HTTP/1.1"));
    putheader("Host", host_);
    putheader("Accept-Encoding", "identity");
    expectResponse(method);
}

void HttpConnection::putheader(const std::string& name, const std::string& value) {
    if (!building_)
        throw Wobbly("putheader() failed");
    pendingLines_.push_back(oneLine(name + ": " + value));
}

void HttpConnection::putheader(const std::string& name, long long value) {
    putheader(name, std::to_string(value));
}

void HttpConnection::sendheaders() {
    if (!building_)
        throw Wobbly("Cannot send header");
    building_ = false;
    pendingLines_.emplace_back();
    std::string text;
    for (const auto& line : pendingLines_)
        text += line + "\r\n";
    pendingLines_.clear();
    sendbytes(text.data(), text.size());
}

void HttpConnection::get(const std::string& url) {
    startrequest("GET", url);
    sendheaders();
}

void HttpConnection::fail(const char* label, int posixErrno) {
    throw Wobbly(socketErrorText(label, posixErrno));
}

void HttpConnection::connect() {
    in_addr address{};
    if (!resolve(host_, address))
        throw Wobbly("Invalid network address");
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        fail("socket()", errno);
    if (port_ <= 0 || port_ > 65535) {
        ::close(fd);
        fail("connect()", EINVAL);
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(uint16_t(port_));
    peer.sin_addr = address;

    // Connect without blocking so that an unreachable host gives up after the time-out instead
    // of the system's minutes.
    int flags = fcntl(fd, F_GETFL, 0);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int error = 0;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) < 0) {
        error = errno;
        if (error == EINPROGRESS) {
            int r = waitFor(fd, POLLOUT, timeouts_.connectMs);
            if (r == 0) {
                error = ETIMEDOUT;
            } else if (r < 0) {
                error = errno;
            } else {
                socklen_t size = sizeof error;
                if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) < 0)
                    error = errno;
            }
        }
    }
    if (error != 0) {
        ::close(fd);
        fail("connect()", error);
    }
    fcntl(fd, F_SETFL, flags);
    if (timeouts_.sendMs > 0) {
        timeval limit{};
        limit.tv_sec = timeouts_.sendMs / 1000;
        limit.tv_usec = (timeouts_.sendMs % 1000) * 1000;
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    }
    socket_ = fd;
}

void HttpConnection::sendbytes(const void* bytes, size_t count) {
    if (socket_ < 0)
        connect();
    auto* p = static_cast<const char*>(bytes);
    while (count > 0) {
        // MSG_NOSIGNAL: a peer that has gone away must give an error, not kill the program.
        ssize_t sent = ::send(socket_, p, count, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR)
                continue;
            // The send time-out expired with nothing taken.
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                fail("send()", ETIMEDOUT);
            fail("send()", errno);
        }
        p += sent;
        count -= size_t(sent);
    }
    touch();
}

void HttpConnection::poll() {
    if (outstanding_.empty())
        return;
    // Nothing can arrive any more (the connect or a send failed, or the connection was closed):
    // say so instead of letting a poll loop wait for ever.
    if (socket_ < 0)
        fail("recv()", ENOTCONN);
    pollfd entry{socket_, POLLIN, 0};
    int r = ::poll(&entry, 1, 0);
    if (r < 0) {
        if (errno == EINTR)
            return;
        fail("select", errno);
    }
    if (r == 0) {
        auto silent = std::chrono::steady_clock::now() - lastActivity_;
        if (timeouts_.replyMs > 0 && silent >= std::chrono::milliseconds(timeouts_.replyMs)) {
            fail("recv()", ETIMEDOUT);
        }
        return;
    }
    unsigned char buffer[kReadSize];
    ssize_t received = ::recv(socket_, buffer, sizeof buffer, 0);
    if (received < 0) {
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
            return;
        fail("recv()", errno);
    }
    touch();
    if (received == 0) {
        feedClose();
    } else {
        feed(buffer, size_t(received));
    }
}

void HttpConnection::waitReadable(int maxMs) const {
    if (socket_ < 0 || outstanding_.empty() || maxMs <= 0)
        return;
    waitFor(socket_, POLLIN, maxMs);
}

HttpResponse& HttpConnection::expectResponse(const std::string& method) {
    outstanding_.push_back(std::make_unique<HttpResponse>(method, *this));
    return *outstanding_.back();
}

void HttpConnection::feed(const unsigned char* bytes, size_t count) {
    FeedScope scope(feeding_, retired_);
    while (count > 0 && !outstanding_.empty()) {
        HttpResponse* response = outstanding_.front().get();
        size_t used = response->pump(bytes, count);
        // A callback may have closed the connection.
        if (outstanding_.empty() || outstanding_.front().get() != response)
            return;
        bytes += used;
        count -= used;
        if (!response->completed())
            break;
        retired_.push_back(std::move(outstanding_.front()));
        outstanding_.pop_front();
    }
}

void HttpConnection::feedClose() {
    FeedScope scope(feeding_, retired_);
    if (outstanding_.empty())
        return;
    HttpResponse* response = outstanding_.front().get();
    response->connectionClosed();
    if (!outstanding_.empty() && outstanding_.front().get() == response) {
        retired_.push_back(std::move(outstanding_.front()));
        outstanding_.pop_front();
    }
    close();
}

void HttpConnection::close() {
    if (socket_ >= 0) {
        ::close(socket_);
        socket_ = -1;
    }
    building_ = false;
    pendingLines_.clear();
    if (feeding_ > 0) {
        for (auto& response : outstanding_)
            retired_.push_back(std::move(response));
    }
    outstanding_.clear();
}

}  // namespace happyhttp
