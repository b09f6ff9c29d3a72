// The gallery in the real main window, in-process: openGallery over the canvas with the catalogue
// that ships in the data folder, and designs downloaded from a loopback server arriving as layers
// while the main loop runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/EditorTestFixture.h"
#include "app/Gallery.h"
#include "app/ImageViewDialog.h"
#include "app/MessageBox.h"
#include "design/commands/ImportCommand.h"
#include "gui/ToolBar.h"
#include "net/ScriptedServer_tests.h"

namespace fs = std::filesystem;

namespace {

std::string committedDesign(const std::string& relative) {
    std::ifstream in(fs::path(MES_SOURCE_DIR) / "gallery" / fs::u8path(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string reply(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

class GalleryInEditor : public EditorFixture {
protected:
    void TearDown() override {
        messageBoxSink = nullptr;
        startOptions.erase("gallery");
        EditorFixture::TearDown();
    }

    // Chooses the row with this title (the list must hold it).
    static void choose(GUI_List* list, const std::string& title) {
        for (int i = 0; i < list->getCount(); ++i) {
            if (list->getCell(i)->title == title) {
                clickOn(list->getCell(i));
                return;
            }
        }
        ADD_FAILURE() << "no row " << title;
    }

    // Frames of the main loop, heartbeats included, until the design has `layers` layers.
    static void runUntilLayers(int layers) {
        for (int i = 0; i < 1000 && theDocument->layerCount() < layers; ++i) {
            GUI_RunFrame();
            GUI_PumpHeartbeats();
            SDL_Delay(2);
        }
        for (int i = 0; i < 3; ++i) {
            GUI_RunFrame();
            GUI_PumpHeartbeats();
        }
    }
};

TEST_F(GalleryInEditor, OpensOverTheCanvasAndGivesTheInputBack) {
    ImageViewDialog* d = openGallery(ui.galleryButton->x + ui.galleryButton->w / 2);
    ASSERT_NE(d, nullptr);
    frame();
    EXPECT_EQ(GUI_modalView, d);
    EXPECT_EQ(openGallery(), d);
    EXPECT_EQ(d->x, 0);
    // Between the top and bottom bars, up to the toolbox's left edge.
    EXPECT_EQ(d->y, ui.topBar->y + ui.topBar->h);
    EXPECT_EQ(d->w, ui.toolbox->x);
    EXPECT_EQ(d->y + d->h, ui.bottomBar->y);
    EXPECT_EQ(d->arrowSide, BalloonDialog::ARROW_TOP);
    EXPECT_FALSE(ui.topBar->interactive);
    EXPECT_FALSE(ui.toolbox->interactive);
    // The catalogue that ships in the data folder.
    EXPECT_GE(d->categoryList->getCount(), 4);

    clickOn(d->closeButton);
    frame();
    EXPECT_EQ(GUI_modalView, nullptr);
    EXPECT_TRUE(ui.topBar->interactive);
    EXPECT_TRUE(ui.toolbox->interactive);
    EXPECT_TRUE(ui.galleryButton->is_enabled());
    // Closed, it opens anew.
    ImageViewDialog* again = openGallery();
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->closeRequested);
    EXPECT_EQ(GUI_modalView, again);
    EXPECT_FALSE(ui.topBar->interactive);
    again->close();
    frame();
}

TEST_F(GalleryInEditor, DesignsArriveAsLayersBothWays) {
    struct Case {
        std::string category, entry, file, request;
        bool mivo;
    } cases[] = {
        {"Names", "Anna.jpg", "Names/Anna.pes", "GET /Names/Anna.pes HTTP/1.1", true},
        {"คำอวยพร", "สวัสดี.jpg", "คำอวยพร/สวัสดี.pes",
         "GET /%E0%B8%84%E0%B8%B3%E0%B8%AD%E0%B8%A7%E0%B8%A2%E0%B8%9E%E0%B8%A3/"
         "%E0%B8%AA%E0%B8%A7%E0%B8%B1%E0%B8%AA%E0%B8%94%E0%B8%B5.pes HTTP/1.1",
         false},
    };
    int layers = 0;
    for (const Case& c : cases) {
        const std::string design = committedDesign(c.file);
        ASSERT_FALSE(design.empty()) << c.file;
        EXPECT_EQ(design.rfind("#MIVO", 0) == 0, c.mivo) << c.file;
        PESData expected;
        const std::vector<uint8_t> bytes(design.begin(), design.end());
        ASSERT_TRUE(c.mivo ? ImportCommand::layerFromMIVO(bytes, expected, nullptr)
                           : ImportCommand::layerFromPES(bytes, expected, nullptr));

        nettest::ScriptedServer server({nettest::send(reply(design))});
        startOptions["gallery"] = "http://127.0.0.1:" + std::to_string(server.port());
        ImageViewDialog* d = openGallery();
        ASSERT_NE(d, nullptr);
        frame();
        choose(d->categoryList, c.category);
        choose(d->contentList, c.entry);
        clickOn(d->downloadButton);
        runUntilLayers(++layers);

        ASSERT_EQ(theDocument->layerCount(), layers) << c.file;
        EXPECT_EQ(theDocument->layers.back().stitchCount, expected.stitchCount) << c.file;
        EXPECT_NE(server.received().find(c.request), std::string::npos) << server.received();
        EXPECT_TRUE(GUI_heartbeats.empty());
        EXPECT_EQ(GUI_modalView, nullptr);
        EXPECT_TRUE(ui.topBar->interactive);
    }
    // Each arrival is one undoable import.
    EXPECT_EQ(theDocument->history.undoStack.size(), 2u);
}

TEST_F(GalleryInEditor, ASixteenLayerDesignRefusesTheDownloadAndSaysSo) {
    struct Box {
        MessageKind kind;
        std::string title, text;
    };
    std::vector<Box> boxes;
    messageBoxSink = [&boxes](MessageKind kind, const std::string& title, const std::string& text) {
        boxes.push_back({kind, title, text});
    };
    for (int i = 0; i < maxLayers; ++i)
        addShape();
    nettest::ScriptedServer server({nettest::send(reply(committedDesign("Names/Anna.pes")))});
    startOptions["gallery"] = "http://127.0.0.1:" + std::to_string(server.port());
    ImageViewDialog* d = openGallery();
    ASSERT_NE(d, nullptr);
    frame();
    choose(d->categoryList, "Names");
    choose(d->contentList, "Anna.jpg");
    clickOn(d->downloadButton);
    for (int i = 0; i < 500 && !GUI_heartbeats.empty(); ++i) {
        GUI_RunFrame();
        GUI_PumpHeartbeats();
        SDL_Delay(2);
    }
    frame();
    EXPECT_EQ(theDocument->layerCount(), maxLayers);
    // The editor's message box tells why.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Warning);
    EXPECT_EQ(boxes[0].title, "Embroidery on Cloud");
    EXPECT_NE(boxes[0].text.find("16 layers"), std::string::npos) << boxes[0].text;
}

}  // namespace
