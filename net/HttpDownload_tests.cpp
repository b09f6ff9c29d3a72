// The stepped download against the scripted loopback server: what arrives, what the callback sees
// and how often it runs, for good replies, missing files, oversized bodies and dead servers.

#include "net/HttpDownload.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "net/ScriptedServer_tests.h"

using namespace nettest;

namespace {

std::string head(int status, const std::string& reason, long long length) {
    std::string h = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
    if (length >= 0)
        h += "Content-Length: " + std::to_string(length) + "\r\n";
    return h + "\r\n";
}

// A download whose trace and callback runs are recorded.
struct Probe {
    HttpDownload download;
    std::string traces;
    int calls = 0;
    HttpDownload::Result seenResult = HttpDownload::Result::Running;
    std::string seenBody;
    size_t seenCount = 0;

    Probe() {
        download.setTraceSink([this](const std::string& t) { traces += t; });
        download.setTimeouts({2000, 2000, 2000});
    }
    bool start(int port, const std::string& path = "/Flowers/rose%201.pes") {
        return download.download("127.0.0.1", port, path, [this](HttpDownload& d) {
            ++calls;
            seenResult = d.result();
            seenCount = d.count();
            seenBody.assign(reinterpret_cast<const char*>(d.buffer()), d.count());
        });
    }
    // Pumps as the frame loop would until the download ends; returns the number of pumps.
    int run(int maxPumps = 100000) {
        int pumps = 0;
        while (pumps < maxPumps && download.pump()) {
            ++pumps;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return pumps + 1;
    }
};

TEST(HttpDownload, ThreeByteBodyRunsTheCallbackOnceWithCountThree) {
    ScriptedServer server({send(head(200, "OK", 3) + "abc")});
    Probe p;
    ASSERT_TRUE(p.start(server.port()));
    p.run();
    EXPECT_EQ(p.calls, 1);
    EXPECT_EQ(p.seenResult, HttpDownload::Result::Complete);
    EXPECT_EQ(p.seenCount, 3u);
    EXPECT_EQ(p.seenBody, "abc");
    EXPECT_EQ(p.download.buffer()[3], 0);  // the body is followed by a zero byte
    EXPECT_NE(p.download.result(), HttpDownload::Result::NotFound);
    // Once finished it stays finished and the callback never runs again.
    EXPECT_FALSE(p.download.pump());
    EXPECT_EQ(p.calls, 1);

    EXPECT_EQ(server.received().rfind("GET /Flowers/rose%201.pes HTTP/1.1\r\n", 0), 0u)
        << server.received();
    const std::string expected = "Download: 127.0.0.1:" + std::to_string(server.port()) +
                                 "/Flowers/rose%201.pes\nconnected\nsetcallbacks\nrequest\n"
                                 "Data length: 3\n\nCOMPLETE (3 bytes)\ncall callback\n";
    EXPECT_EQ(p.traces, expected);
}

TEST(HttpDownload, NotFoundRunsTheCallbackOnce) {
    // The whole error page arrives in one read: the callback still runs only once.
    const std::string page = "<html>Not Found</html>";
    ScriptedServer server({send(head(404, "Not Found", long(page.size())) + page)});
    Probe p;
    ASSERT_TRUE(p.start(server.port()));
    p.run();
    EXPECT_EQ(p.calls, 1);
    EXPECT_EQ(p.seenResult, HttpDownload::Result::NotFound);
    EXPECT_EQ(p.download.result(), HttpDownload::Result::NotFound);
    EXPECT_EQ(p.download.status(), 404);
    EXPECT_FALSE(p.download.pump());
    EXPECT_EQ(p.calls, 1);
}

TEST(HttpDownload, OtherStatusesAreFailuresWithTheirStatus) {
    ScriptedServer server({send(head(403, "Forbidden", 2) + "no")});
    Probe p;
    ASSERT_TRUE(p.start(server.port()));
    p.run();
    EXPECT_EQ(p.calls, 1);
    EXPECT_EQ(p.seenResult, HttpDownload::Result::HttpError);
    EXPECT_EQ(p.download.status(), 403);
}

TEST(HttpDownload, EmptyBodyCompletesWithCountZero) {
    // Content-Length 0 on a connection kept open, and a body that ends with the close.
    for (const auto& script : {std::vector<Step>{send(head(200, "OK", 0))},
                               std::vector<Step>{send(head(200, "OK", -1)), closeNow()}}) {
        ScriptedServer server(script);
        Probe p;
        ASSERT_TRUE(p.start(server.port()));
        p.run();
        EXPECT_EQ(p.calls, 1);
        EXPECT_EQ(p.seenResult, HttpDownload::Result::Complete);
        EXPECT_EQ(p.seenCount, 0u);
        EXPECT_EQ(p.download.buffer()[0], 0);
    }
}

TEST(HttpDownload, AnnouncedBodyOverTheLimitIsRefusedAtOnce) {
    // The server announces one byte more than the buffer holds and then says nothing: the
    // download must not wait for the body.
    ScriptedServer server(
        {send(head(200, "OK", HttpDownload::kBufferSize + 1) + "PES"), silence()});
    Probe p;
    ASSERT_TRUE(p.start(server.port()));
    p.run(20000);
    server.stop();
    EXPECT_EQ(p.calls, 1);
    EXPECT_EQ(p.seenResult, HttpDownload::Result::TooLarge);
    EXPECT_EQ(p.seenCount, 0u);
}

TEST(HttpDownload, UnannouncedBodyOverTheLimitIsRefusedWithoutOverrun) {
    // No length: the body runs until the close, one byte longer than the buffer.
    const std::string body(HttpDownload::kBufferSize + 1, 'x');
    ScriptedServer server({send(head(200, "OK", -1)), send(body), closeNow()});
    Probe p;
    ASSERT_TRUE(p.start(server.port()));
    p.run();
    EXPECT_EQ(p.calls, 1);
    EXPECT_EQ(p.seenResult, HttpDownload::Result::TooLarge);
    EXPECT_LE(p.download.count(), HttpDownload::kBufferSize);
    EXPECT_EQ(p.download.buffer()[p.download.count()], 0);
}

TEST(HttpDownload, BodyOfExactlyTheLimitIsTaken) {
    const std::string body(HttpDownload::kBufferSize, 'y');
    ScriptedServer server({send(head(200, "OK", long(body.size()))), send(body)});
    Probe p;
    ASSERT_TRUE(p.start(server.port()));
    p.run();
    EXPECT_EQ(p.calls, 1);
    EXPECT_EQ(p.seenResult, HttpDownload::Result::Complete);
    EXPECT_EQ(p.seenCount, HttpDownload::kBufferSize);
    EXPECT_EQ(p.seenBody, body);
}

TEST(HttpDownload, TrickledBodyArrivesOverManyPumps) {
    std::vector<Step> script = {send(head(200, "OK", 5))};
    for (char c : std::string("#PES!")) {
        script.push_back(pause(40));
        script.push_back(send(std::string(1, c)));
    }
    ScriptedServer server(script);
    Probe p;
    ASSERT_TRUE(p.start(server.port()));
    const int pumps = p.run();
    EXPECT_EQ(p.calls, 1);
    EXPECT_EQ(p.seenBody, "#PES!");
    // Every pump returned at once while the bytes were on their way.
    EXPECT_GT(pumps, 20);
    EXPECT_NE(p.traces.find("Data length: 1\n"), std::string::npos);
    EXPECT_NE(p.traces.find("Data length: 5\n"), std::string::npos);
}

TEST(HttpDownload, ServerDownRunsTheCallbackFromDownload) {
    Probe p;
    EXPECT_FALSE(p.start(closedPort()));
    EXPECT_EQ(p.calls, 1);
    EXPECT_EQ(p.seenResult, HttpDownload::Result::Unreachable);
    EXPECT_NE(p.download.error().find("Connection refused"), std::string::npos)
        << p.download.error();
    EXPECT_NE(p.traces.find("exception\n"), std::string::npos);
    EXPECT_FALSE(p.download.pump());
    EXPECT_EQ(p.calls, 1);
}

TEST(HttpDownload, TransferCutShortIsBroken) {
    struct Case {
        std::vector<Step> script;
    } cases[] = {
        {{send(head(200, "OK", 10) + "abc"), closeNow()}},
        {{send(head(200, "OK", 10) + "abc"), resetNow()}},
        {{closeNow()}},
        {{send("HTTP/2 200 OK\r\n\r\n")}},
    };
    for (auto& c : cases) {
        ScriptedServer server(c.script);
        Probe p;
        ASSERT_TRUE(p.start(server.port()));
        p.run();
        EXPECT_EQ(p.calls, 1);
        EXPECT_EQ(p.seenResult, HttpDownload::Result::Broken);
        EXPECT_FALSE(p.download.error().empty());
    }
}

TEST(HttpDownload, SilentServerTimesOut) {
    ScriptedServer server({silence()});
    Probe p;
    p.download.setTimeouts({2000, 2000, 150});
    ASSERT_TRUE(p.start(server.port()));
    p.run();
    server.stop();
    EXPECT_EQ(p.calls, 1);
    EXPECT_EQ(p.seenResult, HttpDownload::Result::Broken);
    EXPECT_NE(p.download.error().find("timed out"), std::string::npos) << p.download.error();
}

TEST(HttpDownload, StartsOnlyOnce) {
    ScriptedServer server({send(head(200, "OK", 1) + "a")});
    Probe p;
    ASSERT_TRUE(p.start(server.port()));
    EXPECT_FALSE(p.start(server.port()));
    p.run();
    EXPECT_EQ(p.calls, 1);
}

}  // namespace
