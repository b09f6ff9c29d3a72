#include "net/HttpDownload.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using happyhttp::HttpConnection;
using happyhttp::HttpResponse;
using happyhttp::Wobbly;

HttpDownload::HttpDownload() {
    trace_ = [](const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    };
}

HttpDownload::~HttpDownload() = default;

void HttpDownload::trace(const std::string& text) const {
    if (trace_)
        trace_(text);
}

happyhttp::HttpCallbacks HttpDownload::callbacks() {
    happyhttp::HttpCallbacks c;
    c.userData = this;
    c.onBegin = [this](const HttpResponse& r, void*) {
        count_ = 0;
        buffer_.assign(1, 0);
        status_ = r.status();
        // A length beyond the buffer is refused before any byte of it is taken.
        if (r.length() > int64_t(kBufferSize))
            tooLarge_ = true;
    };
    c.onData = [this](const HttpResponse&, void*, const unsigned char* bytes, size_t n) {
        trace("Data length: " + std::to_string(count_ + n) + "\n");
        if (tooLarge_ || n > kBufferSize - count_) {
            tooLarge_ = true;
            return;
        }
        buffer_.insert(buffer_.begin() + std::ptrdiff_t(count_), bytes, bytes + n);
        count_ += n;
    };
    c.onComplete = [this](const HttpResponse&, void*) {
        trace("\nCOMPLETE (" + std::to_string(count_) + " bytes)\n");
        complete_ = true;
    };
    return c;
}

bool HttpDownload::download(const std::string& host, int port, const std::string& path,
                            Callback callback) {
    if (started_)
        return false;
    started_ = true;
    host_ = host;
    port_ = port;
    path_ = path;
    trace("Download: " + host + ":" + std::to_string(port) + path + "\n");
    callback_ = std::move(callback);
    try {
        connection_ = std::make_unique<HttpConnection>(host, port);
        connection_->setTimeouts(timeouts_);
        trace("connected\n");
        connection_->setcallbacks(callbacks());
        trace("setcallbacks\n");
        connection_->get(path);
        trace("request\n");
    } catch (const Wobbly& e) {
        trace("exception\n");
        error_ = e.what();
        finish(Result::Unreachable);
        return false;
    }
    return true;
}

bool HttpDownload::pump() {
    if (finished() || !started_)
        return false;
    // A 404 ends the transfer at its headers: the error page is not wanted.
    if (status_ != 404 && !complete_ && !tooLarge_ && connection_ &&
        connection_->outstanding() > 0) {
        try {
            connection_->poll();
        } catch (const Wobbly& e) {
            // The connection cannot be used any more; polling it again would fail the same way
            // in every frame.
            if (!complete_ && status_ != 404 && !tooLarge_) {
                error_ = e.what();
                finish(Result::Broken);
                return false;
            }
        }
    }
    if (tooLarge_) {
        finish(Result::TooLarge);
    } else if (status_ == 404) {
        finish(Result::NotFound);
    } else if (complete_ || !connection_ || connection_->outstanding() == 0) {
        if (!complete_)
            finish(Result::Broken);
        else if (status_ >= 200 && status_ < 300)
            finish(Result::Complete);
        else
            finish(Result::HttpError);
    } else {
        return true;
    }
    return false;
}

void HttpDownload::finish(Result result) {
    if (finished())
        return;
    result_ = result;
    connection_.reset();
    buffer_.resize(count_ + 1);
    buffer_[count_] = 0;
    if (callback_) {
        trace("call callback\n");
        Callback callback = std::move(callback_);
        callback_ = nullptr;
        callback(*this);
    }
}
