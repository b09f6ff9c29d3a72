// The stick link against the scripted loopback server: exact request bytes and reply handling.

#include "net/MivoStickLink.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "net/ScriptedServer_tests.h"

using namespace nettest;

namespace {

std::string reply(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

struct Quiet {
    std::vector<std::pair<int, std::string>> logs;
    std::string traces;
    void attach(MivoStickLink& link) {
        link.setLogSink([this](MivoStickLink::LogLevel l, const std::string& t) {
            logs.emplace_back(int(l), t);
        });
        link.setTraceSink([this](const std::string& t) { traces += t; });
    }
};

}  // namespace

TEST(MivoStickLink, MountRequestAndTrimmedReplies) {
    struct Case {
        std::string body;
        bool accepted;
    };
    const Case cases[] = {
        {"{\"status\":\"0\"}", true},        {"{\"status\":\"0\"}\r\n", true},
        {" \n{\"status\":\"0\"}\n\n", true}, {"{\"status\": \"0\"}", false},
        {"{\"status\":\"1\"}", false},       {"", false},
    };
    for (const auto& c : cases) {
        ScriptedServer server({send(reply(c.body))});
        MivoStickLink link("127.0.0.1", server.port());
        Quiet quiet;
        quiet.attach(link);
        EXPECT_EQ(link.mount(), c.accepted) << c.body;
        EXPECT_EQ(link.responseText(), c.body);
        EXPECT_TRUE(link.busy());
        ASSERT_EQ(quiet.logs.size(), 1u);
        EXPECT_EQ(quiet.logs[0].second,
                  c.accepted ? "Connected to MivoStick\n" : "Cannot connect to MivoStick");
        server.stop();
        EXPECT_EQ(
            server.received(),
            "GET /sdcard/mount HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept-Encoding: identity\r\n\r\n");
    }
}

TEST(MivoStickLink, UnmountClearsBusyAndChecksItsOwnStatus) {
    ScriptedServer server({send(reply("{\"status\":\"1\"}\n"))});
    MivoStickLink link("127.0.0.1", server.port());
    Quiet quiet;
    quiet.attach(link);
    EXPECT_TRUE(link.unmount());
    EXPECT_FALSE(link.busy());
    EXPECT_EQ(quiet.logs.back().second, "Disconnected from MivoStick");
    EXPECT_NE(quiet.traces.find("Disconnecting...\n"), std::string::npos);
    EXPECT_NE(server.received().find("GET /sdcard/unmount HTTP/1.1\r\n"), std::string::npos);
}

TEST(MivoStickLink, UnreachableStickGivesZeroText) {
    MivoStickLink link("127.0.0.1", closedPort());
    Quiet quiet;
    quiet.attach(link);
    EXPECT_FALSE(link.mount());
    EXPECT_EQ(link.responseText(), "0");
    EXPECT_NE(quiet.traces.find("Exception: connect(): Connection refused\n"), std::string::npos);
    EXPECT_EQ(quiet.logs.back(), std::make_pair(int(MivoStickLink::Error),
                                                std::string("Cannot connect to MivoStick")));
    EXPECT_FALSE(link.unmount());
    EXPECT_EQ(quiet.logs.back().second, "Disconnect MivoStick fail");
    EXPECT_EQ(link.version(), "0");
    EXPECT_FALSE(link.busy());
}

TEST(MivoStickLink, SilentStickTimesOut) {
    ScriptedServer server({silence()});
    MivoStickLink link("127.0.0.1", server.port());
    happyhttp::Timeouts shortWait;
    shortWait.replyMs = 200;
    link.setTimeouts(shortWait);
    Quiet quiet;
    quiet.attach(link);
    EXPECT_EQ(link.version(), "0");
    EXPECT_NE(quiet.traces.find("Exception: recv(): Connection timed out\n"), std::string::npos);
}

TEST(MivoStickLink, VersionTextComesAsItIs) {
    ScriptedServer server({send(reply("1.05\r\n"))});
    MivoStickLink link("127.0.0.1", server.port());
    Quiet quiet;
    quiet.attach(link);
    EXPECT_EQ(link.version(), "1.05\r\n");
    EXPECT_NE(quiet.traces.find("BEGIN (200 OK)\n"), std::string::npos);
    EXPECT_NE(quiet.traces.find("\nCOMPLETE (6 bytes)\n"), std::string::npos);
}

TEST(MivoStickLink, UploadSendsTheMultipartBodyByteForByte) {
    ScriptedServer server({send(reply("The file mivo_emb.pes has been uploaded."))});
    MivoStickLink link("127.0.0.1", server.port());
    Quiet quiet;
    quiet.attach(link);
    std::string file(1000, '\0');
    for (size_t i = 0; i < file.size(); ++i)
        file[i] = char(i * 7);
    link.upload(reinterpret_cast<const unsigned char*>(file.data()), file.size());
    EXPECT_TRUE(link.uploadConfirmed());
    server.stop();

    EXPECT_EQ(MivoStickLink::uploadHead().size(), 167u);
    EXPECT_EQ(MivoStickLink::uploadTail().size(), 18u);
    const std::string expected =
        "POST /u.php HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept-Encoding: identity\r\n"
        "Connection: close\r\nContent-Length: 1185\r\n"
        "Content-type: multipart/form-data; boundary=myboundary\r\n\r\n"
        "--myboundary\r\nContent-Type: application/octet-stream\r\n"
        "Content-Disposition: form-data; name=\"fileToUpload\"; filename=\"mivo_emb.pes\"\r\n"
        "Content-Transfer-Encoding: 8bit\r\n\r\n" +
        file + "\r\n--myboundary--\r\n";
    EXPECT_EQ(server.received(), expected);
}

TEST(MivoStickLink, UploadPassesTransportErrorsOn) {
    MivoStickLink link("127.0.0.1", closedPort());
    Quiet quiet;
    quiet.attach(link);
    const unsigned char byte = 0;
    EXPECT_THROW(link.upload(&byte, 1), happyhttp::Wobbly);
}

TEST(MivoStickLink, ResponseTextIsBounded) {
    std::string big(MivoStickLink::kMaxResponseText + 5000, 'z');
    ScriptedServer server({send(reply(big))});
    MivoStickLink link("127.0.0.1", server.port());
    Quiet quiet;
    quiet.attach(link);
    EXPECT_FALSE(link.mount());
    EXPECT_EQ(link.responseText().size(), MivoStickLink::kMaxResponseText);
}

TEST(MivoStickLink, StickNetworkTest) {
    EXPECT_TRUE(isOnStickNetwork("192.168.4.23"));
    EXPECT_TRUE(isOnStickNetwork("192.168.4.1"));
    EXPECT_FALSE(isOnStickNetwork("192.168.40.2"));
    EXPECT_FALSE(isOnStickNetwork("192.168.4"));
    EXPECT_FALSE(isOnStickNetwork(""));
    EXPECT_FALSE(isOnStickNetwork("10.0.0.5"));
    EXPECT_TRUE(isOnStickNetwork("10.1.2.99", "10.1.2.3"));
    EXPECT_FALSE(isOnStickNetwork("10.1.2.99", "bogus"));
}

TEST(MivoStickLink, EndpointTextGivesHostAndPort) {
    struct Case {
        const char* text;
        bool ok;
        const char* host;
        int port;
    } cases[] = {
        {"127.0.0.1:8081", true, "127.0.0.1", 8081},
        {"10.0.0.7", true, "10.0.0.7", 8080},  // no port: the one given stays
        {"stick.local:65535", true, "stick.local", 65535},
        {":8081", false, "keep", 8080},
        {"", false, "keep", 8080},
        {"host:", false, "keep", 8080},
        {"host:0", false, "keep", 8080},
        {"host:65536", false, "keep", 8080},
        {"host:80x", false, "keep", 8080},
        {"host:-1", false, "keep", 8080},
        {"host:99999999999", false, "keep", 8080},
    };
    for (const Case& c : cases) {
        std::string host = "keep";
        int port = 8080;
        EXPECT_EQ(parseStickEndpoint(c.text, host, port), c.ok) << c.text;
        EXPECT_EQ(host, c.host) << c.text;
        EXPECT_EQ(port, c.port) << c.text;
    }
}

TEST(MivoStickLink, EndpointCanBeChangedKeepingTheSinks) {
    MivoStickLink link("192.168.4.1", 8080);
    Quiet quiet;
    quiet.attach(link);
    link.setEndpoint("127.0.0.1", closedPort());
    EXPECT_EQ(link.host(), "127.0.0.1");
    EXPECT_FALSE(link.mount());
    EXPECT_FALSE(quiet.logs.empty());  // the sink set before the change still hears the link
}
