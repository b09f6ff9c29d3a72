// The link to the MivoStick, the Wi-Fi device plugged into the embroidery machine. It answers four
// HTTP requests on port 8080 of its own network:
//   GET  /sdcard/mount    -> {"status":"0"} once the storage card is mounted
//   GET  /sdcard/unmount  -> {"status":"1"} once it is unmounted
//   GET  /sdcard/version  -> the firmware version as a decimal text, e.g. "1.05"
//   POST /u.php           -> a multipart/form-data upload of one PES file, "fileToUpload" named
//                            "mivo_emb.pes"; a reply containing "uploaded" confirms it
// The status replies are compared after trimming white space from both ends, and must match
// exactly.
//
// Every operation is synchronous: it opens a connection, sends one request, polls until the reply
// is complete (or a time-out of the HTTP client fires), closes and returns. The body of the last
// reply is kept in the shared response text (at most kMaxResponseText bytes; more is cut).
//
// The busy flag keeps the version query off the stick while an export is under way: mount sets it
// and leaves it set, unmount clears it at its end, version answers "0" without asking while it is
// set.
//
// The application keeps one MivoStickLink for the whole run (its response text and busy flag are
// the process-wide ones); tests make their own, pointed at a loopback endpoint. Log lines go to
// the log sink (level and text; the application forwards them to its log under the module
// "MivoStickLink"); the plain trace lines ("BEGIN (200 OK)", "Data length: 14" ...) go to the trace
// sink, standard output unless replaced. Main thread only.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "net/HttpConnection.h"

// The stick's fixed address on its own network, and its port.
constexpr const char* kStickAddress = "192.168.4.1";
constexpr int kStickPort = 8080;

// Whether a computer with the IPv4 address localAddress (dotted text) is on the stick's network:
// the address begins with the first three octets of stickAddress followed by a dot.
bool isOnStickNetwork(const std::string& localAddress,
                      const std::string& stickAddress = kStickAddress);

// Reads "HOST" or "HOST:PORT" (port 1..65535); a missing port leaves `port` as it is. False, with
// host and port unchanged, for an empty host or a port that is not a number in range.
bool parseStickEndpoint(const std::string& text, std::string& host, int& port);

class MivoStickLink {
public:
    static constexpr size_t kMaxResponseText = 399999;
    // How long one turn of the poll loop waits for bytes before polling again, in milliseconds.
    static constexpr int kPollWaitMs = 10;

    // Log levels as in the application log.
    enum LogLevel { Verbose = 0, Notice = 1, Warning = 2, Error = 3 };
    using LogSink = std::function<void(LogLevel level, const std::string& text)>;
    using TraceSink = std::function<void(const std::string& text)>;

    explicit MivoStickLink(std::string host = kStickAddress, int port = kStickPort);

    void setLogSink(LogSink sink) { log_ = std::move(sink); }
    void setTraceSink(TraceSink sink) { trace_ = std::move(sink); }
    void setTimeouts(const happyhttp::Timeouts& timeouts) { timeouts_ = timeouts; }
    const happyhttp::Timeouts& timeouts() const { return timeouts_; }
    // Points the link at another stick (a simulator on this computer, say); the sinks, the busy
    // flag and the response text stay.
    void setEndpoint(std::string host, int port) {
        host_ = std::move(host);
        port_ = port;
    }
    const std::string& host() const { return host_; }
    int port() const { return port_; }

    // Asks the stick to mount its card; true when it confirms. Sets the busy flag and leaves it
    // set. Transport errors are caught: the response text becomes "0" and the result is false.
    bool mount();
    // Asks the stick to unmount its card; true when it confirms. Clears the busy flag at the end.
    bool unmount();
    // The stick's version text as it came, "0" while busy or when the stick cannot be reached.
    std::string version();
    // Sends a PES file of count bytes as "mivo_emb.pes". The stick's reply lands in the response
    // text (see uploadConfirmed). Transport errors are NOT caught: happyhttp::Wobbly reaches the
    // caller. The busy flag is left alone.
    void upload(const unsigned char* bytes, size_t count);

    const std::string& responseText() const { return text_; }
    // The reply to the last upload confirms it: the response text contains "uploaded".
    bool uploadConfirmed() const;
    bool busy() const { return busy_; }

    // The multipart part head and tail that wrap the file bytes of an upload.
    static std::string uploadHead();
    static std::string uploadTail();

private:
    // One GET on a fresh connection, polled to its end; throws happyhttp::Wobbly.
    void fetch(const std::string& path);
    void runToCompletion(happyhttp::HttpConnection& connection);
    happyhttp::HttpCallbacks callbacks();
    void trace(const std::string& text) const;
    void log(LogLevel level, const std::string& text) const;
    // mount and unmount: one request whose trimmed reply must be exactly `expected`.
    bool statusRequest(const std::string& path, const std::string& expected);

    std::string host_;
    int port_;
    happyhttp::Timeouts timeouts_;
    LogSink log_;
    TraceSink trace_;
    std::string text_;
    bool busy_ = false;
};
