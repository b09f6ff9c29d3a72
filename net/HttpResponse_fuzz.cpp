// Feeds arbitrary bytes to the response parser as the replies to one to four pipelined requests,
// once in one piece and once cut into pieces of 1 to 16 bytes, and checks that both runs report
// the same: a response must not depend on how the network splits it.
//
// Input layout: byte 0 picks the number of requests (bits 0-1, plus one) and which of them are
// HEAD requests (bits 2-5); byte 1 seeds the piece sizes; the rest is what the server sends.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/HttpConnection.h"

namespace {

struct Transcript {
    std::vector<std::string> events;
    std::string body;
};

std::vector<std::string> run(const uint8_t* config, const uint8_t* bytes, size_t size, bool split) {
    using happyhttp::HttpResponse;
    Transcript transcript;
    happyhttp::HttpConnection connection("127.0.0.1", 9);
    happyhttp::HttpCallbacks callbacks;
    callbacks.onBegin = [&](const HttpResponse& r, void*) {
        transcript.events.push_back("begin " + std::to_string(r.version()) + " " +
                                    std::to_string(r.status()) + " " + r.reason());
        transcript.body.clear();
    };
    callbacks.onData = [&](const HttpResponse& r, void*, const unsigned char* data, size_t n) {
        transcript.body.append(reinterpret_cast<const char*>(data), n);
        if (r.length() >= 0 && r.bytesRead() + int64_t(n) > r.length())
            std::abort();
    };
    callbacks.onComplete = [&](const HttpResponse& r, void*) {
        if (r.bytesRead() != int64_t(transcript.body.size()))
            std::abort();
        transcript.events.push_back("complete " + transcript.body);
    };
    connection.setcallbacks(callbacks);
    int requests = (config[0] & 3) + 1;
    for (int i = 0; i < requests; ++i) {
        connection.expectResponse(config[0] & (4 << i) ? "HEAD" : "GET");
    }
    uint32_t seed = config[1] * 2654435761u + 1;
    try {
        size_t at = 0;
        while (at < size) {
            size_t piece = size - at;
            if (split) {
                seed = seed * 1103515245u + 12345u;
                piece = std::min<size_t>(piece, 1 + (seed >> 16) % 16);
            }
            connection.feed(bytes + at, piece);
            at += piece;
        }
        connection.feedClose();
        transcript.events.push_back("closed " + std::to_string(connection.outstanding()));
    } catch (const happyhttp::Wobbly& e) {
        transcript.events.push_back(std::string("wobbly ") + e.what());
    }
    return transcript.events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    auto whole = run(data, data + 2, size - 2, false);
    auto pieces = run(data, data + 2, size - 2, true);
    if (whole != pieces)
        std::abort();
    return 0;
}
