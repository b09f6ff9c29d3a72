// One file fetched by HTTP GET in small steps, so that a program with a frame loop keeps drawing
// while it arrives: download() sends the request and returns at once, and every pump() reads
// what has arrived since (one poll of the connection, at most HttpConnection::kReadSize bytes).
// The body is collected in a buffer of at most kBufferSize bytes, followed by a zero byte.
//
// The callback runs exactly once per download, with the download: from the pump that sees the
// end (complete, status 404 or another failure), or from download() itself when the request
// cannot be sent. pump() returns false from then on, and the owner may delete the download
// (but not from inside the callback).
//
// Failures are never thrown: result() says what happened and error() gives the client's text.
// The plain trace lines ("Download: host:port/path", "Data length: 2048" ...) go to the trace
// sink, standard output unless replaced. Single thread; not copyable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/HttpConnection.h"

class HttpDownload {
public:
    // The most body bytes a download takes; a longer body is refused, not cut.
    static constexpr size_t kBufferSize = 4000000;

    enum class Result {
        Running,      // not finished yet
        Complete,     // the whole body arrived with status 200..299
        NotFound,     // status 404
        HttpError,    // another status
        TooLarge,     // the body is longer than kBufferSize
        Unreachable,  // the request could not be sent (name, connect, send)
        Broken,       // the transfer failed half way (closed early, reset, silent too long)
    };

    using Callback = std::function<void(HttpDownload&)>;
    using TraceSink = std::function<void(const std::string& text)>;

    HttpDownload();
    virtual ~HttpDownload();
    HttpDownload(const HttpDownload&) = delete;
    HttpDownload& operator=(const HttpDownload&) = delete;

    void setTraceSink(TraceSink sink) { trace_ = std::move(sink); }
    void setTimeouts(const happyhttp::Timeouts& timeouts) { timeouts_ = timeouts; }

    // Starts a GET of http://host:port + path. Returns true when the request went out; false when
    // it could not be sent, in which case the callback has already run (result Unreachable).
    // A download is started once; later calls do nothing and return false.
    bool download(const std::string& host, int port, const std::string& path, Callback callback);

    // One step of the transfer. True while it is still running; false once it has finished and
    // the callback has run.
    bool pump();

    // The body so far, count() bytes followed by a zero byte.
    const uint8_t* buffer() const { return buffer_.data(); }
    size_t count() const { return count_; }
    std::vector<uint8_t> bytes() const {
        return std::vector<uint8_t>(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(count_));
    }
    // The response's status, 0 before the headers arrived.
    int status() const { return status_; }
    Result result() const { return result_; }
    // The client's text for Unreachable and Broken ("connect(): Connection refused"), "" else.
    const std::string& error() const { return error_; }
    bool finished() const { return result_ != Result::Running; }

    const std::string& host() const { return host_; }
    int port() const { return port_; }
    const std::string& path() const { return path_; }

private:
    happyhttp::HttpCallbacks callbacks();
    void trace(const std::string& text) const;
    // Drops the connection, settles the result and runs the callback, once.
    void finish(Result result);

    std::unique_ptr<happyhttp::HttpConnection> connection_;
    happyhttp::Timeouts timeouts_;
    TraceSink trace_;
    Callback callback_;
    std::string host_, path_;
    int port_ = 0;
    bool started_ = false;
    bool complete_ = false;
    bool tooLarge_ = false;
    int status_ = 0;
    size_t count_ = 0;
    std::vector<uint8_t> buffer_ = std::vector<uint8_t>(1, 0);
    Result result_ = Result::Running;
    std::string error_;
};
