#include "net/HttpResponse.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "net/HttpConnection.h"
#include "net/Wobbly.h"

namespace happyhttp {

namespace {

// Counts beyond this are as good as endless; keeping below it spares the arithmetic overflows.
constexpr int64_t kHugeCount = int64_t(1) << 60;

std::string lowerCase(std::string text) {
    for (auto& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool equalsIgnoringCase(const std::string* value, const char* expected) {
    return value != nullptr && lowerCase(*value) == expected;
}

// Server text quoted in an error message may end up on a terminal: control characters are
// replaced so that it cannot carry escape sequences.
std::string printable(const std::string& text) {
    std::string out = text;
    for (auto& c : out) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f)
            c = '?';
    }
    return out;
}

// Leading decimal digits after optional blanks, as atoi reads them; -1 when there are none.
int64_t leadingDecimal(const std::string& text) {
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos || !std::isdigit(static_cast<unsigned char>(text[i])))
        return -1;
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value >= kHugeCount / 10 ? kHugeCount : value * 10 + (text[i] - '0');
    }
    return value;
}

// Leading hexadecimal digits after optional blanks; 0 when there are none (a chunk extension
// after ";" is ignored this way).
int64_t leadingHex(const std::string& text) {
    size_t i = text.find_first_not_of(" \t");
    int64_t value = 0;
    for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
        int c = std::tolower(static_cast<unsigned char>(text[i]));
        int digit = c <= '9' ? c - '0' : c - 'a' + 10;
        value = value >= kHugeCount / 16 ? kHugeCount : value * 16 + digit;
    }
    return value;
}

}  // namespace

HttpResponse::HttpResponse(const std::string& method, HttpConnection& connection)
    : connection_(connection), method_(method) {}

const std::string* HttpResponse::header(const std::string& name) const {
    auto it = headers_.find(lowerCase(name));
    return it == headers_.end() ? nullptr : &it->second;
}

size_t HttpResponse::pump(const unsigned char* data, size_t n) {
    size_t used = 0;
    while (used < n && state_ != State::Done) {
        if (state_ == State::Body) {
            used += takeBody(data + used, n - used);
            continue;
        }
        unsigned char c = data[used++];
        if (c == '\n') {
            std::string line;
            line.swap(line_);
            handleLine(line);
        } else if (c != '\r' && line_.size() < kMaxLineLength) {
            line_.push_back(char(c));
        }
    }
    return used;
}

size_t HttpResponse::takeBody(const unsigned char* data, size_t n) {
    const auto& callbacks = connection_.callbacks();
    int64_t left = chunked_ ? chunkLeft_ : length_ < 0 ? kHugeCount : length_ - bytesRead_;
    size_t count = size_t(std::min<int64_t>(left, int64_t(std::min<size_t>(n, kHugeCount))));
    if (count > 0 && callbacks.onData)
        callbacks.onData(*this, callbacks.userData, data, count);
    bytesRead_ += int64_t(count);
    if (chunked_) {
        chunkLeft_ -= int64_t(count);
        if (chunkLeft_ == 0)
            state_ = State::ChunkEnd;
    } else if (length_ >= 0 && bytesRead_ >= length_) {
        finish();
    }
    return count;
}

void HttpResponse::handleLine(const std::string& line) {
    switch (state_) {
        case State::StatusLine:
            parseStatusLine(line);
            break;
        case State::Headers:
            if (line.empty()) {
                storePendingHeader();
                endOfHeaders();
            } else if (line[0] == ' ' || line[0] == '\t') {
                // A folded line continues the header before it.
                size_t start = line.find_first_not_of(" \t");
                pendingHeader_ += ' ';
                if (start != std::string::npos)
                    pendingHeader_ += line.substr(start);
            } else {
                storePendingHeader();
                pendingHeader_ = line;
            }
            break;
        case State::ChunkSize: {
            int64_t size = leadingHex(line);
            if (size > 0) {
                chunkLeft_ = size;
                state_ = State::Body;
            } else {
                pendingHeader_.clear();
                state_ = State::Trailer;
            }
            break;
        }
        case State::ChunkEnd:
            state_ = State::ChunkSize;
            break;
        case State::Trailer:
            if (line.empty())
                finish();
            break;
        case State::Body:
        case State::Done:
            break;
    }
}

void HttpResponse::parseStatusLine(const std::string& line) {
    size_t pos = line.find_first_not_of(' ');
    if (pos == std::string::npos)
        pos = line.size();
    size_t end = std::min(line.find(' ', pos), line.size());
    std::string versionText = line.substr(pos, end - pos);
    pos = std::min(line.find_first_not_of(' ', end), line.size());
    end = std::min(line.find(' ', pos), line.size());
    int64_t code = leadingDecimal(line.substr(pos, end - pos));
    pos = std::min(line.find_first_not_of(' ', end), line.size());
    if (code < 100 || code >= 1000)
        throw Wobbly("BadStatusLine (" + printable(line) + ")");
    if (versionText == "HTTP/1.0") {
        version_ = 10;
    } else if (versionText.compare(0, 7, "HTTP/1.") == 0) {
        version_ = 11;
    } else {
        throw Wobbly("UnknownProtocol (" + printable(versionText) + ")");
    }
    status_ = int(code);
    reason_ = line.substr(pos);
    pendingHeader_.clear();
    state_ = State::Headers;
}

void HttpResponse::storePendingHeader() {
    if (pendingHeader_.empty())
        return;
    size_t colon = std::min(pendingHeader_.find(':'), pendingHeader_.size());
    std::string name = lowerCase(pendingHeader_.substr(0, colon));
    size_t start = pendingHeader_.find_first_not_of(" \t", colon + 1);
    std::string value = start == std::string::npos ? "" : pendingHeader_.substr(start);
    value.erase(value.find_last_not_of(" \t") + 1);
    if (headers_.size() < kMaxHeaders || headers_.count(name) != 0)
        headers_[name] = value;
    pendingHeader_.clear();
}

void HttpResponse::endOfHeaders() {
    if (status_ == 100) {
        // The interim response is not reported; its headers do not belong to the real one.
        headers_.clear();
        state_ = State::StatusLine;
        return;
    }
    chunked_ = equalsIgnoringCase(header("transfer-encoding"), "chunked");
    if (version_ == 11) {
        willClose_ = equalsIgnoringCase(header("connection"), "close");
    } else {
        willClose_ = header("keep-alive") == nullptr;
    }
    const std::string* contentLength = header("content-length");
    length_ = contentLength != nullptr && !chunked_ ? leadingDecimal(*contentLength) : -1;
    if ((status_ >= 100 && status_ < 200) || status_ == 204 || status_ == 304 ||
        method_ == "HEAD") {
        // These responses never carry a body, whatever their headers announce.
        length_ = 0;
        chunked_ = false;
    }
    if (!willClose_ && !chunked_ && length_ < 0)
        willClose_ = true;

    const auto& callbacks = connection_.callbacks();
    if (callbacks.onBegin)
        callbacks.onBegin(*this, callbacks.userData);
    state_ = chunked_ ? State::ChunkSize : State::Body;
    // An empty body is complete at once; waiting for more bytes would stall a kept-alive
    // connection.
    if (!chunked_ && length_ == 0)
        finish();
}

void HttpResponse::finish() {
    state_ = State::Done;
    const auto& callbacks = connection_.callbacks();
    if (callbacks.onComplete)
        callbacks.onComplete(*this, callbacks.userData);
}

void HttpResponse::connectionClosed() {
    if (state_ == State::Body && !chunked_ && length_ < 0) {
        finish();
    } else if (state_ != State::Done) {
        throw Wobbly("Connection closed unexpectedly");
    }
}

}  // namespace happyhttp
