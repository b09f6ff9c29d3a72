// The HTTP client against a scripted loopback server, and its parser fed directly.

#include "net/HttpConnection.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "net/ScriptedServer_tests.h"
#include "net/SocketError.h"

using happyhttp::HttpCallbacks;
using happyhttp::HttpConnection;
using happyhttp::HttpResponse;
using happyhttp::Wobbly;
using namespace nettest;

namespace {

// What the callbacks saw, one entry per response.
struct Seen {
    struct Reply {
        int status = 0;
        int version = 0;
        std::string reason;
        std::string body;
        std::vector<size_t> pieces;
        bool complete = false;
        bool willClose = false;
        std::string folded;
    };
    std::vector<Reply> replies;
    int begins = 0;
};

void watch(HttpConnection& connection, Seen& seen) {
    HttpCallbacks callbacks;
    callbacks.userData = &seen;
    callbacks.onBegin = [](const HttpResponse& r, void* user) {
        auto& s = *static_cast<Seen*>(user);
        ++s.begins;
        Seen::Reply reply;
        reply.status = r.status();
        reply.version = r.version();
        reply.reason = r.reason();
        reply.willClose = r.willClose();
        if (const std::string* note = r.header("X-NOTE"))
            reply.folded = *note;
        s.replies.push_back(reply);
    };
    callbacks.onData = [](const HttpResponse&, void* user, const unsigned char* bytes, size_t n) {
        auto& s = *static_cast<Seen*>(user);
        s.replies.back().body.append(reinterpret_cast<const char*>(bytes), n);
        s.replies.back().pieces.push_back(n);
    };
    callbacks.onComplete = [](const HttpResponse&, void* user) {
        static_cast<Seen*>(user)->replies.back().complete = true;
    };
    connection.setcallbacks(callbacks);
}

// Polls until every response is in; the error text of a Wobbly, empty when none was thrown.
std::string pollAll(HttpConnection& connection) {
    try {
        auto give = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (connection.outstanding() > 0 && std::chrono::steady_clock::now() < give) {
            connection.poll();
            connection.waitReadable(20);
        }
    } catch (const Wobbly& e) {
        return e.what();
    }
    return "";
}

happyhttp::Timeouts shortTimeouts() {
    happyhttp::Timeouts t;
    t.connectMs = 500;
    t.sendMs = 300;
    t.replyMs = 300;
    return t;
}

void feedText(HttpConnection& connection, const std::string& text) {
    connection.feed(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

}  // namespace

TEST(HttpConnection, SendsTheRequestHeadExactly) {
    ScriptedServer server({send("HTTP/1.1 204 No Content\r\n\r\n")});
    HttpConnection connection("127.0.0.1", server.port());
    Seen seen;
    watch(connection, seen);
    connection.startrequest("POST", "/u.php");
    connection.putheader("Content-Length", 3);
    connection.sendheaders();
    connection.sendbytes("abc", 3);
    EXPECT_EQ(pollAll(connection), "");
    server.stop();
    EXPECT_EQ(server.received(),
              "POST /u.php HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept-Encoding: identity\r\n"
              "Content-Length: 3\r\n\r\nabc");
    ASSERT_EQ(seen.replies.size(), 1u);
    EXPECT_EQ(seen.replies[0].status, 204);
    EXPECT_TRUE(seen.replies[0].complete);
}

TEST(HttpConnection, LineBreaksCannotSmuggleHeaders) {
    ScriptedServer server({send("HTTP/1.1 204 No Content\r\n\r\n")});
    HttpConnection connection("127.0.0.1", server.port());
    connection.startrequest("GET", "/a\r\nX-Evil: 1");
    connection.putheader("X-Name", "v\r\n\r\nGET /b");
    connection.sendheaders();
    EXPECT_EQ(pollAll(connection), "");
    server.stop();
    EXPECT_EQ(server.received(),
              "GET /a  X-Evil: 1 HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept-Encoding: identity\r\n"
              "X-Name: v    GET /b\r\n\r\n");
}

TEST(HttpConnection, ResponseSplitInTheMiddleOfLineEnds) {
    ScriptedServer server({send("HTTP/1.1 200 OK\r"), pause(30), send("\nContent-Length: 5\r\n\r"),
                           pause(30), send("\nhel"), pause(30), send("lo")});
    HttpConnection connection("127.0.0.1", server.port());
    Seen seen;
    watch(connection, seen);
    connection.get("/");
    EXPECT_EQ(pollAll(connection), "");
    ASSERT_EQ(seen.replies.size(), 1u);
    EXPECT_EQ(seen.replies[0].status, 200);
    EXPECT_EQ(seen.replies[0].reason, "OK");
    EXPECT_EQ(seen.replies[0].version, 11);
    EXPECT_EQ(seen.replies[0].body, "hello");
    EXPECT_TRUE(seen.replies[0].complete);
}

TEST(HttpConnection, SurplusBodyBytesGoToTheNextResponse) {
    ScriptedServer server({send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloHTT"), pause(30),
                           send("P/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\nno")},
                          2);
    HttpConnection connection("127.0.0.1", server.port());
    Seen seen;
    watch(connection, seen);
    connection.get("/a");
    connection.get("/b");
    EXPECT_EQ(connection.outstanding(), 2u);
    EXPECT_EQ(pollAll(connection), "");
    ASSERT_EQ(seen.replies.size(), 2u);
    EXPECT_EQ(seen.replies[0].body, "hello");
    EXPECT_EQ(seen.replies[0].pieces, std::vector<size_t>{5});
    EXPECT_TRUE(seen.replies[0].complete);
    EXPECT_EQ(seen.replies[1].status, 404);
    EXPECT_EQ(seen.replies[1].body, "no");
}

TEST(HttpConnection, ContinueIsSkippedAndFoldedHeadersJoined) {
    ScriptedServer server({send("HTTP/1.1 100 Continue\r\n\r\n"), pause(20),
                           send("HTTP/1.1 201 Created\r\nX-Note: first\r\nx-note: one\r\n"
                                "   two\r\n\tthree\r\nContent-Length: 0\r\n\r\n")});
    HttpConnection connection("127.0.0.1", server.port());
    Seen seen;
    watch(connection, seen);
    connection.get("/");
    EXPECT_EQ(pollAll(connection), "");
    EXPECT_EQ(seen.begins, 1);
    ASSERT_EQ(seen.replies.size(), 1u);
    EXPECT_EQ(seen.replies[0].status, 201);
    EXPECT_EQ(seen.replies[0].reason, "Created");
    EXPECT_EQ(seen.replies[0].folded, "one two three");
    EXPECT_TRUE(seen.replies[0].complete);
}

TEST(HttpConnection, BodyWithoutLengthEndsWithTheClose) {
    ScriptedServer server({send("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nuntil "),
                           pause(20), send("the close"), closeNow()});
    HttpConnection connection("127.0.0.1", server.port());
    Seen seen;
    watch(connection, seen);
    connection.get("/");
    EXPECT_EQ(pollAll(connection), "");
    ASSERT_EQ(seen.replies.size(), 1u);
    EXPECT_TRUE(seen.replies[0].willClose);
    EXPECT_EQ(seen.replies[0].body, "until the close");
    EXPECT_TRUE(seen.replies[0].complete);
    EXPECT_FALSE(connection.connected());
}

TEST(HttpConnection, CloseInTheMiddleOfABodyIsAnError) {
    ScriptedServer server({send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nshort"), closeNow()});
    HttpConnection connection("127.0.0.1", server.port());
    Seen seen;
    watch(connection, seen);
    connection.get("/");
    EXPECT_EQ(pollAll(connection), "Connection closed unexpectedly");
    ASSERT_EQ(seen.replies.size(), 1u);
    EXPECT_FALSE(seen.replies[0].complete);
}

TEST(HttpConnection, BadStatusLines) {
    struct Case {
        const char* reply;
        const char* error;
    };
    const Case cases[] = {
        {"HTTP/2 200 OK\r\n\r\n", "UnknownProtocol (HTTP/2)"},
        {"HTTP/1.1 99 Bad\r\n\r\n", "BadStatusLine (HTTP/1.1 99 Bad)"},
        {"HTTP/1.1 1000 Big\r\n\r\n", "BadStatusLine (HTTP/1.1 1000 Big)"},
        {"ICY 200 OK\r\n\r\n", "UnknownProtocol (ICY)"},
        {"HTTP/1.1 OK\r\n\r\n", "BadStatusLine (HTTP/1.1 OK)"},
        {"HTTP/1.1 2\x1b[31m00\r\n\r\n", "BadStatusLine (HTTP/1.1 2?[31m00)"},
    };
    for (const auto& c : cases) {
        ScriptedServer server({send(c.reply)});
        HttpConnection connection("127.0.0.1", server.port());
        Seen seen;
        watch(connection, seen);
        connection.get("/");
        EXPECT_EQ(pollAll(connection), c.error) << c.reply;
        EXPECT_EQ(seen.begins, 0);
    }
}

TEST(HttpConnection, SilentServerTimesOut) {
    ScriptedServer server({silence()});
    HttpConnection connection("127.0.0.1", server.port());
    connection.setTimeouts(shortTimeouts());
    connection.get("/sdcard/version");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(pollAll(connection), "recv(): Connection timed out");
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_LT(waited, std::chrono::seconds(3));
}

TEST(HttpConnection, ResetConnectionIsReported) {
    ScriptedServer server(
        {send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npart"), pause(30), resetNow()});
    HttpConnection connection("127.0.0.1", server.port());
    Seen seen;
    watch(connection, seen);
    connection.get("/");
    EXPECT_EQ(pollAll(connection), "recv(): Connection reset by peer");
    ASSERT_EQ(seen.replies.size(), 1u);
    EXPECT_FALSE(seen.replies[0].complete);
}

TEST(HttpConnection, RefusedConnection) {
    // A port that was just free: bind, note it, close.
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    HttpConnection connection("127.0.0.1", ntohs(address.sin_port));
    try {
        connection.get("/");
        FAIL() << "connected to a closed port";
    } catch (const Wobbly& e) {
        EXPECT_STREQ(e.what(), "connect(): Connection refused");
    }
    EXPECT_FALSE(connection.connected());
    // The response of the failed request stays outstanding; polling it must not wait for ever.
    EXPECT_EQ(connection.outstanding(), 1u);
    EXPECT_EQ(pollAll(connection), "recv(): Socket is not connected");
}

TEST(HttpConnection, ConnectThatHangsTimesOut) {
    // A listener that never accepts and has a full backlog drops further handshakes, so a
    // connect to it waits until the client gives up.
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    socklen_t size = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    int port = ntohs(address.sin_port);
    std::vector<std::unique_ptr<HttpConnection>> fillers;
    std::string error;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 8 && error.empty(); ++i) {
        fillers.push_back(std::make_unique<HttpConnection>("127.0.0.1", port));
        fillers.back()->setTimeouts(shortTimeouts());
        start = std::chrono::steady_clock::now();
        try {
            fillers.back()->get("/");
        } catch (const Wobbly& e) {
            error = e.what();
        }
    }
    auto waited = std::chrono::steady_clock::now() - start;
    ::close(listener);
    EXPECT_EQ(error, "connect(): Connection timed out");
    EXPECT_GE(waited, std::chrono::milliseconds(450));
    EXPECT_LT(waited, std::chrono::seconds(3));
}

TEST(HttpConnection, PeerThatTakesNothingTimesOutTheSend) {
    // The server never reads: once the socket buffers are full, send would wait for ever.
    ScriptedServer server({silence()}, 0);
    HttpConnection connection("127.0.0.1", server.port());
    connection.setTimeouts(shortTimeouts());
    std::vector<char> big(64 << 20, 'x');
    try {
        connection.startrequest("POST", "/u.php");
        connection.sendheaders();
        connection.sendbytes(big.data(), big.size());
        FAIL() << "64 MB went into a peer that reads nothing";
    } catch (const Wobbly& e) {
        EXPECT_STREQ(e.what(), "send(): Connection timed out");
    }
}

TEST(HttpConnection, MisuseOfTheRequestBuilder) {
    HttpConnection connection("127.0.0.1", 9);
    auto errorOf = [](auto action) -> std::string {
        try {
            action();
        } catch (const Wobbly& e) {
            return e.what();
        }
        return "";
    };
    EXPECT_EQ(errorOf([&] { connection.putheader("A", "b"); }), "putheader() failed");
    EXPECT_EQ(errorOf([&] { connection.sendheaders(); }), "Cannot send header");
    connection.startrequest("GET", "/");
    EXPECT_EQ(errorOf([&] { connection.startrequest("GET", "/"); }), "Request already issued");
    EXPECT_EQ(connection.outstanding(), 1u);

    HttpConnection nowhere("", 80);
    EXPECT_EQ(errorOf([&] { nowhere.get("/"); }), "Invalid network address");
}

TEST(HttpResponseParsing, AnySplitParsesLikeOneRead) {
    const std::string replies[] = {
        "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
        "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.0 200 OK\r\nX-Note: a\r\n b\r\n\r\nbody",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3;ext=1\r\nabc\r\n"
        "A\r\n0123456789\r\n0\r\nX-Trailer: yes\r\n\r\n",
    };
    for (const auto& reply : replies) {
        HttpConnection reference("127.0.0.1", 9);
        Seen whole;
        watch(reference, whole);
        reference.expectResponse("GET");
        feedText(reference, reply);
        if (reference.outstanding() > 0)
            reference.feedClose();
        ASSERT_EQ(whole.replies.size(), 1u) << reply;
        ASSERT_TRUE(whole.replies[0].complete) << reply;
        for (size_t cut = 1; cut < reply.size(); ++cut) {
            HttpConnection connection("127.0.0.1", 9);
            Seen split;
            watch(connection, split);
            connection.expectResponse("GET");
            feedText(connection, reply.substr(0, cut));
            feedText(connection, reply.substr(cut));
            if (connection.outstanding() > 0)
                connection.feedClose();
            ASSERT_EQ(split.replies.size(), 1u) << reply << " cut at " << cut;
            EXPECT_EQ(split.replies[0].status, whole.replies[0].status);
            EXPECT_EQ(split.replies[0].body, whole.replies[0].body);
            EXPECT_EQ(split.replies[0].folded, whole.replies[0].folded);
            EXPECT_TRUE(split.replies[0].complete);
        }
    }
}

TEST(HttpResponseParsing, ChunkedBodyCompletesAfterTheEmptyTrailerLine) {
    HttpConnection connection("127.0.0.1", 9);
    Seen seen;
    watch(connection, seen);
    HttpResponse& response = connection.expectResponse("GET");
    feedText(connection,
             "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n");
    ASSERT_EQ(seen.replies.size(), 1u);
    EXPECT_EQ(seen.replies[0].body, "hello");
    EXPECT_FALSE(seen.replies[0].complete);
    EXPECT_EQ(response.state(), HttpResponse::State::Trailer);
    EXPECT_EQ(response.bytesRead(), 5);
    feedText(connection, "\r\n");
    EXPECT_TRUE(seen.replies[0].complete);
    EXPECT_EQ(connection.outstanding(), 0u);
}

TEST(HttpResponseParsing, HeadersWithoutBodyCompleteAtOnce) {
    const std::pair<const char*, const char*> cases[] = {
        {"HEAD", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n"},
        {"GET", "HTTP/1.1 204 No Content\r\n\r\n"},
        {"GET", "HTTP/1.1 304 Not Modified\r\nTransfer-Encoding: chunked\r\n\r\n"},
        {"GET", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"},
    };
    for (const auto& [method, reply] : cases) {
        HttpConnection connection("127.0.0.1", 9);
        Seen seen;
        watch(connection, seen);
        connection.expectResponse(method);
        feedText(connection, reply);
        ASSERT_EQ(seen.replies.size(), 1u) << reply;
        EXPECT_TRUE(seen.replies[0].complete) << reply;
        EXPECT_EQ(connection.outstanding(), 0u);
    }
}

TEST(HttpResponseParsing, HeaderValuesAndWillClose) {
    HttpConnection connection("127.0.0.1", 9);
    HttpResponse& response = connection.expectResponse("GET");
    feedText(connection,
             "HTTP/1.1 200 OK\r\nConnection: Close\r\nServer:\t mivo \r\nserver: later\r\n"
             "Content-Length:  12abc\r\n\r\n");
    EXPECT_TRUE(response.willClose());
    ASSERT_NE(response.header("SERVER"), nullptr);
    EXPECT_EQ(*response.header("SERVER"), "later");
    EXPECT_EQ(response.header("missing"), nullptr);
    EXPECT_EQ(response.length(), 12);

    HttpConnection old("127.0.0.1", 9);
    HttpResponse& keptAlive = old.expectResponse("GET");
    feedText(old, "HTTP/1.0 200 OK\r\nKeep-Alive: timeout=5\r\nContent-Length: 1\r\n\r\n");
    EXPECT_EQ(keptAlive.version(), 10);
    EXPECT_FALSE(keptAlive.willClose());
}

TEST(HttpResponseParsing, NegativeLengthReadsToTheClose) {
    HttpConnection connection("127.0.0.1", 9);
    Seen seen;
    watch(connection, seen);
    connection.expectResponse("GET");
    feedText(connection, "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\nabcdefgh");
    EXPECT_EQ(connection.outstanding(), 1u);
    connection.feedClose();
    ASSERT_EQ(seen.replies.size(), 1u);
    EXPECT_EQ(seen.replies[0].body, "abcdefgh");
    EXPECT_TRUE(seen.replies[0].complete);
}

TEST(HttpResponseParsing, HugeLengthsSaturate) {
    HttpConnection connection("127.0.0.1", 9);
    Seen seen;
    watch(connection, seen);
    HttpResponse& sized = connection.expectResponse("GET");
    feedText(connection, "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999999\r\n\r\nab");
    EXPECT_GT(sized.length(), int64_t(1) << 59);
    EXPECT_EQ(sized.bytesRead(), 2);

    HttpConnection chunks("127.0.0.1", 9);
    Seen seenChunks;
    watch(chunks, seenChunks);
    HttpResponse& chunked = chunks.expectResponse("GET");
    feedText(chunks,
             "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFFFFFFFF\r\nxyz");
    EXPECT_EQ(chunked.state(), HttpResponse::State::Body);
    EXPECT_EQ(chunked.bytesRead(), 3);
    ASSERT_EQ(seenChunks.replies.size(), 1u);
    EXPECT_EQ(seenChunks.replies[0].body, "xyz");
}

TEST(HttpResponseParsing, EndlessHeaderLineIsCut) {
    HttpConnection connection("127.0.0.1", 9);
    HttpResponse& response = connection.expectResponse("GET");
    feedText(connection, "HTTP/1.1 200 OK\r\nX-Big: ");
    std::string block(100000, 'y');
    for (int i = 0; i < 20; ++i)
        feedText(connection, block);
    feedText(connection, "\r\nContent-Length: 1\r\n\r\n");
    ASSERT_NE(response.header("x-big"), nullptr);
    EXPECT_EQ(response.header("x-big")->size(), HttpResponse::kMaxLineLength - 7);
    EXPECT_EQ(response.length(), 1);
}

TEST(HttpResponseParsing, CloseFromInsideACallbackIsSafe) {
    HttpConnection connection("127.0.0.1", 9);
    HttpCallbacks callbacks;
    int completes = 0;
    callbacks.onComplete = [&](const HttpResponse&, void*) {
        ++completes;
        connection.close();
    };
    connection.setcallbacks(callbacks);
    connection.expectResponse("GET");
    connection.expectResponse("GET");
    feedText(connection,
             "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nxHTTP/1.1 200 OK\r\nContent-Length: "
             "0\r\n\r\n");
    EXPECT_EQ(completes, 1);
    EXPECT_EQ(connection.outstanding(), 0u);
}

TEST(Wobbly, LongTextsAreCut) {
    Wobbly w(std::string(400, 'a'));
    EXPECT_EQ(std::string(w.what()).size(), 255u);
}

TEST(SocketError, NamesComeFromTheTable) {
    EXPECT_STREQ(happyhttp::socketErrorName(0), "No error");
    EXPECT_STREQ(happyhttp::socketErrorName(10061), "Connection refused");
    EXPECT_STREQ(happyhttp::socketErrorName(11004), "No host data of that type was found");
    EXPECT_STREQ(happyhttp::socketErrorName(10000), "unknown");
    EXPECT_EQ(happyhttp::socketErrorText("connect()", ECONNREFUSED),
              "connect(): Connection refused");
    EXPECT_EQ(happyhttp::socketErrorText("recv()", ECONNRESET), "recv(): Connection reset by peer");
    EXPECT_EQ(happyhttp::socketErrorText("send()", ETIMEDOUT), "send(): Connection timed out");
    EXPECT_EQ(happyhttp::socketErrorText("select", ENOENT), "select: unknown");
}
