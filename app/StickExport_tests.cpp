// Export to the MivoStick against the stick simulator's server on loopback, and the check of the
// stick's network.

#include "app/StickExport.h"

#include <gtest/gtest.h>

#include <chrono>

#include "app/ShellTestFixture.h"
#include "app/StickNetwork.h"
#include "design/DocumentTestLayers.h"
#include "design/PESExport.h"
#include "formats/PES.h"
#include "tools/stick-sim/StickServer.h"

namespace {

using testlayers::line;
using testlayers::twoColors;
using Clock = std::chrono::steady_clock;

class StickExport : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        document->appendLayer(line(-300, -200, 250, 150, 5), "a");
        document->appendLayer(twoColors(7, 12), "b");
        settings.hoopWidth = 130;
        settings.hoopHeight = 180;
        stickConnected = true;
        // Quiet links; the time-outs short enough for a test, the order as in the editor.
        stickLink.setTraceSink([](const std::string&) {});
        stickLink.setLogSink(nullptr);
        stickLink.setTimeouts({1000, 1000, 400});
    }
    void TearDown() override {
        stickLink.setEndpoint(kStickAddress, kStickPort);
        stickLink.setTimeouts({});
        if (stickLink.busy())
            stickLink.unmount();  // an aborted export of a test must not leave the flag set
        server.reset();
        startOptions.clear();
        ShellFixture::TearDown();
    }
    void startStick(sticksim::Options options) {
        options.storeDir = path("stick");
        server = std::make_unique<sticksim::StickServer>(options, [](const std::string&) {});
        ASSERT_TRUE(server->start("127.0.0.1", 0));
        stickLink.setEndpoint("127.0.0.1", server->port());
    }
    void expectFailureBox() {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].kind, MessageKind::Error);
        EXPECT_EQ(boxes[0].title, "Export Failed");
        EXPECT_EQ(boxes[0].text, "Please check the MivoStick connection.");
    }
    std::unique_ptr<sticksim::StickServer> server;
};

TEST_F(StickExport, SendsTheMergedDesignAsVersion5WithTheSettingsHoop) {
    startStick({});
    const int undo = int(theDocument->history.undoStack.size());
    EXPECT_TRUE(exportToStick());

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Information);
    EXPECT_EQ(boxes[0].title, "Export Successful");
    EXPECT_EQ(boxes[0].text, "The current embroidery design has been sent to MivoStick.");
    EXPECT_EQ(server->requests("/sdcard/mount"), 1);
    EXPECT_EQ(server->requests("/u.php"), 1);
    EXPECT_EQ(server->requests("/sdcard/unmount"), 1);
    EXPECT_FALSE(server->mounted());
    EXPECT_FALSE(stickLink.busy());

    // The stored file is the merged design, written as version 5 for a 130 x 180 hoop.
    ASSERT_TRUE(server->lastStoredIsPes());
    const std::vector<uint8_t> stored = readFile(server->lastStored());
    EXPECT_EQ(stored, writePES5(mergedDesign(*theDocument), 130, 180));
    PES pes;
    FormatLog log;
    ASSERT_TRUE(pes.loadFileContents(std::vector<uint8_t>(stored), &log));
    EXPECT_TRUE(pes.hasSections());
    EXPECT_EQ(pes.version(), 50);  // the four digits of "#PES0050"
    EXPECT_EQ(std::string(stored.begin(), stored.begin() + 8), "#PES0050");
    EXPECT_NE(stored, writePES5(mergedDesign(*theDocument), 100, 100));

    // Nothing local changed.
    EXPECT_EQ(theDocument->layerCount(), 2);
    EXPECT_EQ(int(theDocument->history.undoStack.size()), undo);
}

// A design wider than the hoop is what a machine refuses: the warning names the reason, Cancel
// sends nothing (the card is not even mounted), "Send Anyway" sends it.
TEST_F(StickExport, ADesignWiderThanTheHoopIsSentOnlyAfterTheWarning) {
    startStick({});
    settings.hoopWidth = 50;  // the first layer alone is 55 mm wide
    questionAnswer = false;
    EXPECT_FALSE(exportToStick());
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].title, "Design Warning");
    EXPECT_NE(questions[0].text.find("larger than the 50 x 180 mm hoop"), std::string::npos)
        << questions[0].text;
    EXPECT_NE(questions[0].text.find("anyway"), std::string::npos);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(server->requests("/sdcard/mount"), 0);
    EXPECT_EQ(server->requests("/u.php"), 0);

    questionAnswer = true;
    EXPECT_TRUE(exportToStick());
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(server->requests("/u.php"), 1);
}

// The warning in Thai, with its reasons translated.
TEST_F(StickExport, TheWarningSpeaksTheUsersLanguage) {
    startStick({});
    settings.hoopWidth = 50;
    currentLanguage = "th";
    questionAnswer = false;
    exportToStick();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].title, localizedString("Design Warning"));
    EXPECT_NE(questions[0].title, "Design Warning");
    EXPECT_EQ(questions[0].text.find("larger than"), std::string::npos) << questions[0].text;
}

TEST_F(StickExport, TheMergedDesignHoldsEveryLayerInOrder) {
    const PESData merged = mergedDesign(*theDocument);
    ASSERT_EQ(merged.blocks.size(), 3u);
    EXPECT_EQ(merged.blocks[0].colorIndex, 5);
    EXPECT_EQ(merged.blocks[1].colorIndex, 7);
    EXPECT_EQ(merged.blocks[2].colorIndex, 12);
    EXPECT_EQ(merged.stitchCount, 9);
}

TEST_F(StickExport, AStickThatRefusesIsReported) {
    sticksim::Options o;
    o.refuse = true;
    startStick(o);
    EXPECT_FALSE(exportToStick());
    expectFailureBox();
}

TEST_F(StickExport, AReplyWithoutUploadedFailsEvenWhenTheUnmountSucceeds) {
    sticksim::Options o;
    o.rejectUpload = true;
    startStick(o);
    EXPECT_FALSE(exportToStick());
    expectFailureBox();
    EXPECT_EQ(server->requests("/u.php"), 1);
    EXPECT_EQ(server->requests("/sdcard/unmount"), 1);
    EXPECT_FALSE(server->mounted());  // the unmount went through
}

TEST_F(StickExport, ATransportErrorDuringTheUploadStillUnmounts) {
    sticksim::Options o;
    o.uploadDelayMs = 1500;  // beyond the reply time-out of 400 ms
    startStick(o);
    EXPECT_FALSE(exportToStick());
    expectFailureBox();
    EXPECT_EQ(server->requests("/sdcard/unmount"), 1);
    EXPECT_FALSE(stickLink.busy());
}

TEST_F(StickExport, AStallingStickGivesUpWithinTheTimeOuts) {
    sticksim::Options o;
    o.delayMs = 1500;
    startStick(o);
    const auto start = Clock::now();
    EXPECT_FALSE(exportToStick());
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    // The mount waits one reply time-out (400 ms) and the export stops there.
    EXPECT_LT(ms, 2000);
    expectFailureBox();
    EXPECT_EQ(server->requests("/u.php"), 0);
}

TEST_F(StickExport, WithoutTheStickNetworkNothingIsSent) {
    startStick({});
    stickConnected = false;
    EXPECT_FALSE(exportToStick());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes[0].title, "Export Failed!");
    EXPECT_EQ(boxes[0].text, "Cannot connect to MivoStick. Please check your connection.");
    EXPECT_EQ(server->requests("/sdcard/mount"), 0);
}

TEST_F(StickExport, BoxesAreTranslated) {
    currentLanguage = "th";
    stickConnected = false;
    exportToStick();
    startStick({});
    stickConnected = true;
    exportToStick();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, "ส่งออกไม่สำเร็จ!");
    EXPECT_EQ(boxes[1].title, "ส่งออกสำเร็จ");
    EXPECT_EQ(boxes[1].text, "ส่งไฟล์ลายปักปัจจุบันไปยัง MivoStick เรียบร้อยแล้ว");
}

TEST_F(StickExport, AnEmptyDesignDoesNotTakeTheCard) {
    startStick({});
    theDocument->removeAllLayers();
    EXPECT_FALSE(exportToStick());
    expectFailureBox();
    EXPECT_EQ(server->requests("/sdcard/mount"), 0);
}

// ---- the stick's network ----

TEST(StickNetwork, TheAddressOnTheSticksNetworkWins) {
    struct Case {
        std::vector<std::string> addresses;
        const char* address;
        bool on;
    } cases[] = {
        {{"127.0.0.1", "10.0.0.5", "192.168.4.23"}, "192.168.4.23", true},
        {{"127.0.0.1", "10.0.0.5"}, "10.0.0.5", false},
        {{"127.0.0.1"}, "0.0.0.0", false},
        {{}, "0.0.0.0", false},
        {{"192.168.40.2", "192.168.4.9"}, "192.168.4.9", true},
    };
    for (const Case& c : cases) {
        const StickNetworkMatch m = findStickNetwork(c.addresses, "192.168.4.1");
        EXPECT_EQ(m.address, c.address);
        EXPECT_EQ(m.onStickNetwork, c.on);
    }
}

TEST(StickNetwork, ThisComputerHasItsLoopbackAddress) {
    const std::vector<std::string> a = localIPv4Addresses();
    EXPECT_NE(std::find(a.begin(), a.end(), "127.0.0.1"), a.end());
}

TEST_F(StickExport, TheStickOptionCountsAsConnectedAndAsksTheSimulator) {
    startStick({});
    const int port = server->port();
    stickLink.setEndpoint(kStickAddress, kStickPort);
    stickConnected = false;
    startOptions["stick"] = "127.0.0.1:" + std::to_string(port);
    EXPECT_TRUE(checkStickNetwork("IP Address (2): %s\n"));
    EXPECT_TRUE(stickConnected);
    EXPECT_EQ(stickLink.host(), "127.0.0.1");
    EXPECT_EQ(stickLink.port(), port);
    EXPECT_EQ(server->requests("/sdcard/version"), 1);  // 1.05 at the first query
    EXPECT_TRUE(exportToStick());
}

TEST_F(StickExport, WithoutTheOptionOrTheNetworkTheCheckFails) {
    // This machine is not on 192.168.4.x (the test would not know otherwise).
    for (const std::string& a : localIPv4Addresses()) {
        if (isOnStickNetwork(a))
            GTEST_SKIP() << "this computer is on the stick's network";
    }
    stickConnected = true;
    EXPECT_FALSE(checkStickNetwork("IP Address (2): %s\n"));
    EXPECT_FALSE(stickConnected);
    startOptions["stick"] = "bad:port";
    EXPECT_FALSE(checkStickNetwork("IP Address (2): %s\n"));
    EXPECT_EQ(stickLink.host(), kStickAddress);
}

}  // namespace
