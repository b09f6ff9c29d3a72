// One response of an HttpConnection, parsed incrementally from the bytes the connection hands it.
//
// The response collects the status line and the header block line by line (a line may arrive over
// any number of reads, "\r" is dropped wherever it stands), then delivers the body through the
// connection's onData callback without copying: up to "Content-Length" bytes, chunk by chunk for
// "Transfer-Encoding: chunked" (trailer lines are read and ignored), or everything until the
// server closes when neither is given. An interim "100 Continue" response is skipped silently.
//
// Limits that keep a hostile server from growing memory without end: a line keeps at most
// kMaxLineLength bytes (the rest of it is dropped) and at most kMaxHeaders distinct header names
// are stored.
//
// Owned by its HttpConnection; errors are thrown as happyhttp::Wobbly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace happyhttp {

class HttpConnection;

class HttpResponse {
public:
    enum class State { StatusLine, Headers, Body, ChunkSize, ChunkEnd, Trailer, Done };

    static constexpr size_t kMaxLineLength = 8192;
    static constexpr size_t kMaxHeaders = 256;

    // A response to a request made with `method` ("GET", "HEAD", "POST" ...) on `connection`,
    // whose callbacks it calls.
    HttpResponse(const std::string& method, HttpConnection& connection);
    HttpResponse(const HttpResponse&) = delete;
    HttpResponse& operator=(const HttpResponse&) = delete;

    // Takes the bytes that belong to this response from the front of data[0..n) and returns how
    // many it took: all of them unless the response completed on the way. Calls onBegin once the
    // headers are in, onData for each piece of body and onComplete at the end.
    size_t pump(const unsigned char* data, size_t n);

    // The server closed the connection: completes a body that runs until the close, and throws
    // "Connection closed unexpectedly" in every other unfinished state.
    void connectionClosed();

    bool completed() const { return state_ == State::Done; }
    State state() const { return state_; }
    HttpConnection& connection() const { return connection_; }
    const std::string& method() const { return method_; }

    int status() const { return status_; }
    const std::string& reason() const { return reason_; }
    // 10 for HTTP/1.0, 11 for any other HTTP/1.x.
    int version() const { return version_; }
    // The value of a header, looked up without regard to case; null when it was not sent.
    const std::string* header(const std::string& name) const;
    // Body bytes delivered so far.
    int64_t bytesRead() const { return bytesRead_; }
    // Body length from "Content-Length", 0 when there is no body, -1 when it runs to the close.
    int64_t length() const { return length_; }
    bool chunked() const { return chunked_; }
    // The server will close the connection after this response.
    bool willClose() const { return willClose_; }

private:
    size_t takeBody(const unsigned char* data, size_t n);
    void handleLine(const std::string& line);
    void parseStatusLine(const std::string& line);
    void endOfHeaders();
    void storePendingHeader();
    void finish();

    HttpConnection& connection_;
    std::string method_;
    State state_ = State::StatusLine;
    int version_ = 0;
    int status_ = 0;
    std::string reason_;
    std::map<std::string, std::string> headers_;  // keys in lower case
    std::string line_;
    std::string pendingHeader_;
    bool chunked_ = false;
    int64_t chunkLeft_ = 0;
    int64_t length_ = -1;
    int64_t bytesRead_ = 0;
    bool willClose_ = false;
};

}  // namespace happyhttp
