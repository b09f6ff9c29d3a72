// Downloads from the gallery: the downloader on the main loop's heartbeat against a loopback
// server while frames keep being drawn, and what the import callback makes of each kind of reply.

#include "app/Gallery.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Downloader.h"
#include "app/MessageBox.h"
#include "design/Document.h"
#include "design/HeadlessLayerList.h"
#include "design/PESExport.h"
#include "design/ShapeLayer.h"
#include "gui/Button.h"
#include "gui/Toolkit.h"
#include "gui/ToolkitTestFixture.h"
#include "net/ScriptedServer_tests.h"

using namespace nettest;

namespace {

std::string reply(int status, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) +
           " X\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string bytesOf(const std::vector<uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

// A small design as the gallery server would hold it: a rectangle written as a PES file.
const PESData& rectangle() {
    static const PESData layer =
        shapes::buildShapeLayer(shapes::shapeProperties(2, 3.0f, 2.0f, 0.3f, 0.4f, 5));
    return layer;
}

// The "#MIVO" buffer with colour 5 and two stitches, of which the first is kept.
const std::string kMivo("#MIVO\x00\x05\x0A\x0A\x05\x05\xFF\x00", 13);

// A download run to its end against a scripted reply; the callback is not used.
std::unique_ptr<HttpDownload> finished(std::vector<Step> script) {
    ScriptedServer server(std::move(script));
    auto d = std::make_unique<HttpDownload>();
    d->setTraceSink(nullptr);
    d->setTimeouts({2000, 2000, 2000});
    if (d->download("127.0.0.1", server.port(), "/Shapes/box.pes", nullptr)) {
        while (d->pump())
            SDL_Delay(1);
    }
    return d;
}

struct Alerts {
    std::vector<std::string> texts;
    GalleryAlert sink() {
        return [this](const std::string& t) { texts.push_back(t); };
    }
};

TEST(GalleryImport, APesDesignBecomesALayerWithItsStitches) {
    HeadlessLayerList list;
    Document doc(list);
    Alerts alerts;
    const auto d = finished({send(reply(200, bytesOf(writePES(rectangle(), 5, 100, 100))))});
    ASSERT_EQ(d->result(), HttpDownload::Result::Complete);
    EXPECT_TRUE(importDownloadedDesign(*d, &doc, alerts.sink()));
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.layers[0].stitchCount, rectangle().stitchCount);
    EXPECT_EQ(doc.history.undoStack.size(), 1u);
    EXPECT_TRUE(alerts.texts.empty());
}

TEST(GalleryImport, AMivoBufferBecomesALayer) {
    HeadlessLayerList list;
    Document doc(list);
    Alerts alerts;
    const auto d = finished({send(reply(200, kMivo))});
    EXPECT_TRUE(importDownloadedDesign(*d, &doc, alerts.sink()));
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.layers[0].stitchCount, 1);
    EXPECT_TRUE(alerts.texts.empty());
}

TEST(GalleryImport, FailuresAreToldAndImportNothing) {
    struct Case {
        std::vector<Step> script;
        std::string told;
    } cases[] = {
        // Three bytes arrive and are offered to the import, which finds no design in them.
        {{send(reply(200, "abc"))}, "not an embroidery design"},
        {{send(reply(200, ""))}, "empty file"},
        {{send(reply(404, "<html>Not Found</html>"))}, "not on the gallery server"},
        {{send(reply(500, "oops"))}, "HTTP 500"},
        {{send("HTTP/1.1 200 OK\r\nContent-Length: 4000001\r\n\r\n"), silence()}, "larger"},
        {{send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n#PES"), closeNow()}, "broke off"},
    };
    for (auto& c : cases) {
        HeadlessLayerList list;
        Document doc(list);
        Alerts alerts;
        const auto d = finished(c.script);
        EXPECT_FALSE(importDownloadedDesign(*d, &doc, alerts.sink())) << c.told;
        EXPECT_EQ(doc.layerCount(), 0) << c.told;
        EXPECT_EQ(doc.history.undoStack.size(), 0u) << c.told;
        ASSERT_EQ(alerts.texts.size(), 1u) << c.told;
        EXPECT_NE(alerts.texts[0].find(c.told), std::string::npos) << alerts.texts[0];
        EXPECT_NE(alerts.texts[0].find("/Shapes/box.pes"), std::string::npos) << alerts.texts[0];
    }
}

TEST(GalleryImport, ADesignWithSixteenLayersTakesNoMore) {
    HeadlessLayerList list;
    Document doc(list);
    for (int i = 0; i < maxLayers; ++i)
        doc.appendLayer(rectangle(), "Shape");
    Alerts alerts;
    const auto d = finished({send(reply(200, bytesOf(writePES(rectangle(), 5, 100, 100))))});
    EXPECT_FALSE(importDownloadedDesign(*d, &doc, alerts.sink()));
    EXPECT_EQ(doc.layerCount(), maxLayers);
    ASSERT_EQ(alerts.texts.size(), 1u);
    EXPECT_NE(alerts.texts[0].find("16 layers"), std::string::npos);
}

// ---- the downloader on the main loop ----

class GalleryDownloader : public ToolkitFixture {
protected:
    void SetUp() override {
        ToolkitFixture::SetUp();
        GUI_heartbeats.clear();
        // A view that counts the frames drawn.
        counter = new GUI_View(GUI_TopView, "Counter", 0, 0, 10, 10, GUI_Black,
                               [this](GUI_View*) { ++framesDrawn; });
    }
    void TearDown() override {
        for (GUI_Heartbeat* h : GUI_heartbeats)
            delete h;
        GUI_heartbeats.clear();
        ToolkitFixture::TearDown();
    }
    // One pass of the main loop as GUI_Run makes it.
    static void frame() {
        GUI_RunFrame();
        GUI_PumpHeartbeats();
        SDL_Delay(2);
    }

    GUI_View* counter = nullptr;
    int framesDrawn = 0;
};

// A downloader that reports its destruction.
struct WatchedDownloader : GUI_Downloader {
    explicit WatchedDownloader(bool* gone) : gone(gone) { setTraceSink(nullptr); }
    ~WatchedDownloader() override { *gone = true; }
    bool* gone;
};

TEST_F(GalleryDownloader, TrickledDesignArrivesWhileFramesKeepBeingDrawn) {
    const std::string pes = bytesOf(writePES(rectangle(), 5, 100, 100));
    std::vector<Step> script = {nettest::send(
        "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(pes.size()) + "\r\n\r\n")};
    for (size_t at = 0; at < pes.size(); at += pes.size() / 5 + 1) {
        script.push_back(pause(30));
        script.push_back(nettest::send(pes.substr(at, pes.size() / 5 + 1)));
    }
    ScriptedServer server(script);
    HeadlessLayerList list;
    Document doc(list);
    bool gone = false;
    int calls = 0;
    auto* d = new WatchedDownloader(&gone);
    ASSERT_TRUE(
        d->download("127.0.0.1", server.port(), "/Shapes/box%201.pes", [&](HttpDownload& x) {
            ++calls;
            importDownloadedDesign(x, &doc, nullptr);
        }));
    ASSERT_EQ(GUI_heartbeats.size(), 1u);
    int frames = 0;
    while (!gone && frames < 2000) {
        frame();
        ++frames;
    }
    EXPECT_TRUE(gone);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(GUI_heartbeats.empty());
    // The loop kept drawing while the pieces came 30 ms apart.
    EXPECT_GT(framesDrawn, 20);
    EXPECT_EQ(framesDrawn, frames);
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.layers[0].stitchCount, rectangle().stitchCount);
    EXPECT_NE(server.received().find("GET /Shapes/box%201.pes HTTP/1.1"), std::string::npos);
}

TEST_F(GalleryDownloader, NotFoundRunsTheCallbackOnceAndLeavesTheLoop) {
    ScriptedServer server({nettest::send(reply(404, "<html>Not Found</html>"))});
    bool gone = false;
    int calls = 0;
    auto* d = new WatchedDownloader(&gone);
    ASSERT_TRUE(d->download("127.0.0.1", server.port(), "/x.pes", [&](HttpDownload& x) {
        ++calls;
        EXPECT_EQ(x.result(), HttpDownload::Result::NotFound);
    }));
    for (int i = 0; i < 500 && !gone; ++i)
        frame();
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_TRUE(gone);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(GUI_heartbeats.empty());
}

TEST_F(GalleryDownloader, ServerDownNeverJoinsTheLoop) {
    const int port = closedPort();
    int calls = 0;
    HttpDownload::Result seen = HttpDownload::Result::Running;
    EXPECT_FALSE(GUI_Downloader::start("127.0.0.1", port, "/x.pes", [&](HttpDownload& x) {
        ++calls;
        seen = x.result();
    }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, HttpDownload::Result::Unreachable);
    EXPECT_TRUE(GUI_heartbeats.empty());
}

TEST_F(GalleryDownloader, MessageInTheWindowShowsEveryLineUntilOk) {
    GUI_View* box = showMessageInWindow("Embroidery on Cloud", "Not found.\n\nhttp://h/x.pes");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GUI_modalView, box);
    std::vector<std::string> lines;
    GUI_Button* ok = nullptr;
    for (GUI_View* child : box->children) {
        if (auto* b = dynamic_cast<GUI_Button*>(child))
            ok = b;
        else
            lines.push_back(child->title);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"Embroidery on Cloud", "", "Not found.", "",
                                               "http://h/x.pes"}));
    ASSERT_NE(ok, nullptr);
    drawFrame();
    click((ok->x + ok->w / 2) / GUI_scale, (ok->y + ok->h / 2) / GUI_scale);
    EXPECT_TRUE(box->closeRequested);
    drawFrame();
    EXPECT_EQ(GUI_modalView, nullptr);
}

}  // namespace
