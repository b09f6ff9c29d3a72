// A small HTTP/1.1 client: one HttpConnection talks to one host and port over one TCP/IPv4
// socket. Requests are written as they are built (startrequest, putheader, sendheaders,
// sendbytes); each request gets an HttpResponse that parses the reply incrementally and reports
// it through the three callbacks. Several requests may be outstanding at once (pipelining);
// replies are matched to them in order.
//
// The receive side never blocks: the owner calls poll() repeatedly, in a loop or once per frame,
// while outstanding() is non-zero. Sending blocks, but not forever: connecting, every send and the
// wait for reply bytes have time-outs (the k...TimeoutMs constants, changeable per connection),
// and an expired one is thrown like any other socket error, e.g. "recv(): Connection timed out".
//
// Every failure is thrown as happyhttp::Wobbly. The connection is left as it was at the throw;
// users catch the exception, report its text and abandon (close or delete) the connection.
//
// Single thread. Not copyable. Deleting the connection closes its socket and deletes the
// responses still outstanding.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/HttpResponse.h"
#include "net/Wobbly.h"

namespace happyhttp {

// Default time-outs in milliseconds; 0 or less waits without end.
// Connecting to the host.
constexpr int kConnectTimeoutMs = 5000;
// One send call that cannot hand over any byte (the peer takes nothing).
constexpr int kSendTimeoutMs = 5000;
// Silence while a response is outstanding: no byte arrived for this long since the last request
// went out or the last byte came in.
constexpr int kReplyTimeoutMs = 10000;

struct Timeouts {
    int connectMs = kConnectTimeoutMs;
    int sendMs = kSendTimeoutMs;
    int replyMs = kReplyTimeoutMs;
};

// The callbacks of a connection, each optional, all handed userData unchanged.
struct HttpCallbacks {
    // The status line and the headers are in.
    std::function<void(const HttpResponse&, void* userData)> onBegin;
    // A piece of body; the bytes are valid only during the call.
    std::function<void(const HttpResponse&, void* userData, const unsigned char* bytes,
                       size_t count)>
        onData;
    // The response is complete; it is deleted after the call.
    std::function<void(const HttpResponse&, void* userData)> onComplete;
    void* userData = nullptr;
};

class HttpConnection {
public:
    // Most bytes read from the socket by one poll().
    static constexpr size_t kReadSize = 2048;

    // Remembers the server; nothing is opened before the first send. host is a dotted IPv4
    // address or a host name (resolved when connecting).
    HttpConnection(const std::string& host, int port);
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    void setcallbacks(HttpCallbacks callbacks) { callbacks_ = std::move(callbacks); }
    const HttpCallbacks& callbacks() const { return callbacks_; }
    void setTimeouts(const Timeouts& timeouts) { timeouts_ = timeouts; }
    const Timeouts& timeouts() const { return timeouts_; }

    // Begins a request: the request line and the headers "Host" and "Accept-Encoding: identity"
    // are queued and the response is created. Throws "Request already issued" when the previous
    // request's headers have not been sent yet.
    void startrequest(const std::string& method, const std::string& url);
    // Queues "name: value". Throws "putheader() failed" outside a request.
    void putheader(const std::string& name, const std::string& value);
    void putheader(const std::string& name, long long value);
    // Ends the header block and sends it, connecting first if needed. Throws "Cannot send
    // header" outside a request.
    void sendheaders();
    // Sends raw bytes (a request body), connecting first if needed.
    void sendbytes(const void* bytes, size_t count);
    // A GET request without body.
    void get(const std::string& url);

    // Reads what has arrived (at most kReadSize bytes) and feeds it to the outstanding
    // responses; returns at once when nothing is waiting. Throws on socket errors, when the
    // server closes in the middle of a response, when it stays silent for longer than the reply
    // time-out, and when responses are outstanding on a connection without socket.
    void poll();
    // Blocks for at most maxMs milliseconds until bytes (or the close) can be read, so that a
    // poll loop need not spin. Never throws.
    void waitReadable(int maxMs) const;
    // Responses not yet completed.
    size_t outstanding() const { return outstanding_.size(); }
    // Closes the socket and deletes every outstanding response. Safe inside a callback.
    void close();
    bool connected() const { return socket_ >= 0; }

    const std::string& host() const { return host_; }
    int port() const { return port_; }

    // The receiving half of poll() without a socket, for callers that wrote a request by other
    // means and for tests: expectResponse queues a response as startrequest does, feed hands it
    // received bytes, feedClose reports that the server closed.
    HttpResponse& expectResponse(const std::string& method);
    void feed(const unsigned char* bytes, size_t count);
    void feedClose();

private:
    void connect();
    [[noreturn]] void fail(const char* label, int posixErrno);
    void touch() { lastActivity_ = std::chrono::steady_clock::now(); }

    std::string host_;
    int port_;
    int socket_ = -1;
    HttpCallbacks callbacks_;
    Timeouts timeouts_;
    std::vector<std::string> pendingLines_;
    bool building_ = false;
    std::deque<std::unique_ptr<HttpResponse>> outstanding_;
    // Responses closed from inside a callback: kept alive until the feeding ends.
    std::vector<std::unique_ptr<HttpResponse>> retired_;
    int feeding_ = 0;
    std::chrono::steady_clock::time_point lastActivity_ = std::chrono::steady_clock::now();
};

}  // namespace happyhttp
