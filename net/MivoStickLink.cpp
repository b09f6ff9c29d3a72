#include "net/MivoStickLink.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r\n\v\f";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The text as a C string reads it: up to the first zero byte.
std::string asCString(const std::string& text) {
    return std::string(text.c_str());
}

}  // namespace

bool isOnStickNetwork(const std::string& localAddress, const std::string& stickAddress) {
    size_t dot = 0;
    for (int i = 0; i < 3; ++i) {
        dot = stickAddress.find('.', i == 0 ? 0 : dot + 1);
        if (dot == std::string::npos)
            return false;
    }
    return localAddress.compare(0, dot + 1, stickAddress, 0, dot + 1) == 0;
}

bool parseStickEndpoint(const std::string& text, std::string& host, int& port) {
    const size_t colon = text.rfind(':');
    const std::string name = text.substr(0, colon);
    int number = port;
    if (colon != std::string::npos) {
        const std::string digits = text.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        number = std::atoi(digits.c_str());
        if (number < 1 || number > 65535)
            return false;
    }
    if (name.empty())
        return false;
    host = name;
    port = number;
    return true;
}

MivoStickLink::MivoStickLink(std::string host, int port) : host_(std::move(host)), port_(port) {
    trace_ = [](const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    };
}

void MivoStickLink::trace(const std::string& text) const {
    if (trace_)
        trace_(text);
}

void MivoStickLink::log(LogLevel level, const std::string& text) const {
    if (log_)
        log_(level, text);
}

happyhttp::HttpCallbacks MivoStickLink::callbacks() {
    happyhttp::HttpCallbacks c;
    c.onBegin = [this](const happyhttp::HttpResponse& r, void*) {
        trace("BEGIN (" + std::to_string(r.status()) + " " + r.reason() + ")\n");
        text_.clear();
    };
    c.onData = [this](const happyhttp::HttpResponse&, void*, const unsigned char* bytes,
                      size_t count) {
        size_t room = kMaxResponseText - text_.size();
        text_.append(reinterpret_cast<const char*>(bytes), std::min(count, room));
        trace("Data length: " + std::to_string(text_.size()) + "\n");
    };
    c.onComplete = [this](const happyhttp::HttpResponse&, void*) {
        trace("\nCOMPLETE (" + std::to_string(text_.size()) + " bytes)\n");
        trace("Data: " + asCString(text_) + "\n");
    };
    return c;
}

void MivoStickLink::runToCompletion(happyhttp::HttpConnection& connection) {
    // The client's reply time-out ends this loop when the stick falls silent.
    while (connection.outstanding() > 0) {
        connection.poll();
        connection.waitReadable(kPollWaitMs);
    }
    connection.close();
}

void MivoStickLink::fetch(const std::string& path) {
    happyhttp::HttpConnection connection(host_, port_);
    connection.setTimeouts(timeouts_);
    connection.setcallbacks(callbacks());
    connection.get(path);
    runToCompletion(connection);
}

bool MivoStickLink::statusRequest(const std::string& path, const std::string& expected) {
    text_.clear();
    try {
        fetch(path);
        return trimmed(text_) == expected;
    } catch (const happyhttp::Wobbly& e) {
        trace(std::string("Exception: ") + e.what() + "\n");
        text_ = "0";
        return false;
    }
}

bool MivoStickLink::mount() {
    busy_ = true;
    bool ok = statusRequest("/sdcard/mount", "{\"status\":\"0\"}");
    if (ok) {
        log(Notice, "Connected to MivoStick\n");
    } else {
        log(Error, "Cannot connect to MivoStick");
    }
    return ok;
}

bool MivoStickLink::unmount() {
    busy_ = true;
    trace("Disconnecting...\n");
    bool ok = statusRequest("/sdcard/unmount", "{\"status\":\"1\"}");
    if (ok) {
        log(Notice, "Disconnected from MivoStick");
    } else {
        log(Error, "Disconnect MivoStick fail");
    }
    busy_ = false;
    return ok;
}

std::string MivoStickLink::version() {
    if (busy_) {
        trace("Version Busy...\n");
        return "0";
    }
    busy_ = true;
    trace("Get Version...\n");
    text_.clear();
    try {
        fetch("/sdcard/version");
    } catch (const happyhttp::Wobbly& e) {
        trace(std::string("Exception: ") + e.what() + "\n");
        text_ = "0";
    }
    trace("Get version " + asCString(text_) + "\n");
    busy_ = false;
    return text_;
}

std::string MivoStickLink::uploadHead() {
    return "--myboundary\r\n"
           "Content-Type: application/octet-stream\r\n"
           "Content-Disposition: form-data; name=\"fileToUpload\"; filename=\"mivo_emb.pes\"\r\n"
           "Content-Transfer-Encoding: 8bit\r\n"
           "\r\n";
}

std::string MivoStickLink::uploadTail() {
    return "\r\n--myboundary--\r\n";
}

void MivoStickLink::upload(const unsigned char* bytes, size_t count) {
    const std::string head = uploadHead();
    const std::string tail = uploadTail();
    happyhttp::HttpConnection connection(host_, port_);
    connection.setTimeouts(timeouts_);
    connection.setcallbacks(callbacks());
    connection.startrequest("POST", "/u.php");
    connection.putheader("Connection", "close");
    connection.putheader("Content-Length",
                         static_cast<long long>(head.size() + count + tail.size()));
    connection.putheader("Content-type", "multipart/form-data; boundary=myboundary");
    connection.sendheaders();
    connection.sendbytes(head.data(), head.size());
    connection.sendbytes(bytes, count);
    connection.sendbytes(tail.data(), tail.size());
    runToCompletion(connection);
}

bool MivoStickLink::uploadConfirmed() const {
    return text_.find("uploaded") != std::string::npos;
}
