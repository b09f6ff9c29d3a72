// The emoticon balloon driven with made-up events over a bare root view, with a document over a
// headless layer list as the open design: previews replaced on each choice, OK through the undo
// history, the closing rules, slow presses, missing and empty designs.

#include "app/EmoticonBalloon.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <fstream>
#include <iterator>

#include "design/Document.h"
#include "design/HeadlessLayerList.h"
#include "design/commands/ImportCommand.h"
#include "gui/Dialog.h"
#include "gui/ToolkitTestFixture.h"

namespace fs = boost::filesystem;

namespace {

const std::string kShipped = std::string(MES_SOURCE_DIR) + "/data/Emoticon/";

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Stitch count of a shipped design as the editor imports it.
int32_t stitchesOf(const std::string& size, int n) {
    PESData layer;
    EXPECT_TRUE(ImportCommand::layerFromPES(
        readFile(kShipped + "PES/" + size + "/" + std::to_string(n) + ".pes"), layer, nullptr));
    return layer.stitchCount;
}

class EmoticonBalloonTest : public ToolkitFixture {
protected:
    void SetUp() override {
        ToolkitFixture::SetUp();
        // A window as large as the editor's smallest, so the balloon sits where it belongs.
        GUI_windowWidth = 1024;
        GUI_windowHeight = 768;
        GUI_TopView->set_size(1024, 768);
        emoticonFolder = kShipped;
        setEmoticonSize(1);
        theDocument = &doc;
    }
    void TearDown() override {
        theDocument = nullptr;
        freeEmoticonThumbnails();  // before the renderer goes
        emoticonFolder = "Emoticon/";
        ToolkitFixture::TearDown();
    }

    // Opens the balloon and draws it once: only drawn views take the mouse.
    void open(GUI_View* anchor = nullptr) {
        openEmoticonBalloon(anchor);
        drawFrame();
    }
    GUI_View* balloon() { return emoticonBalloon(); }
    GUI_View* button(int k) { return balloon()->children.at(std::size_t(k)); }  // S, M, L, OK

    void tap(int x, int y, Uint32 held = 50) {
        ticks += 1000;
        SDL_Event down = ToolkitFixture::button(SDL_MOUSEBUTTONDOWN, x, y);
        down.button.timestamp = ticks;
        send(down);
        SDL_Event up = ToolkitFixture::button(SDL_MOUSEBUTTONUP, x, y);
        up.button.timestamp = ticks + held;
        send(up);
    }
    void pick(int row, int column, Uint32 held = 50) {
        const int cell = (balloon()->w - 28) / 7;
        tap(balloon()->x + 14 + column * cell + cell / 2, balloon()->y + 14 + row * cell + cell / 2,
            held);
    }
    void clickButton(int k) {
        GUI_View* b = button(k);
        tap(b->x + b->w / 2, b->y + b->h / 2);
    }
    void resizeWindow() {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
        e.window.data1 = 900;
        e.window.data2 = 700;
        send(e);
    }

    HeadlessLayerList list;
    Document doc{list};
    Uint32 ticks = 0;
};

TEST_F(EmoticonBalloonTest, OpensBesideTheToolboxWithTheGridAndMediumChosen) {
    auto* emoticonButton =
        new GUI_View(GUI_TopView, "emoticon", 1024 - 240 + 16, 36 + 200, 24, 23, GUI_White);
    open(emoticonButton);
    ASSERT_NE(balloon(), nullptr);
    EXPECT_EQ(balloon()->x, 1024 - 574);
    EXPECT_EQ(balloon()->y, 36);
    EXPECT_EQ(balloon()->w, 350);
    EXPECT_EQ(balloon()->h, 400);
    auto* b = dynamic_cast<BalloonDialog*>(balloon());
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->dimBackground);
    EXPECT_FALSE(b->draggable);
    EXPECT_EQ(b->arrowSide, BalloonDialog::ARROW_RIGHT);
    EXPECT_EQ(b->anchorY, 236 - 23 + 36);
    // S, M, L from x 16 with gaps of 20 and 24; OK ending at 334; all on the row y 350.
    EXPECT_EQ(button(0)->x - balloon()->x, 16);
    EXPECT_EQ(button(1)->x, button(0)->x + button(0)->w + 20);
    EXPECT_EQ(button(2)->x, button(1)->x + button(1)->w + 24);
    EXPECT_EQ(button(3)->x + button(3)->w - balloon()->x, 334);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(button(k)->y - balloon()->y, 350);
    const SDL_Color yellow = {0xE4, 0xB8, 0x00, 255}, orange = {0xFF, 0x98, 0x00, 255};
    EXPECT_EQ(button(0)->bgColor, yellow);
    EXPECT_EQ(button(1)->bgColor, orange);
    EXPECT_EQ(static_cast<GUI_Label*>(button(1))->textColor, GUI_White);
    EXPECT_EQ(static_cast<GUI_Label*>(button(0))->textColor, GUI_Black);
    EXPECT_EQ(button(3)->bgColor, GUI_Blue);
    // The thumbnails are loaded, once: a second open keeps the same textures.
    SDL_Texture* first = emoticonThumbnail(0, 0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(emoticonThumbnail(6, 6), nullptr);
    openEmoticonBalloon(emoticonButton);  // already open: nothing happens
    EXPECT_EQ(GUI_TopView->children.back(), balloon());
    drawFrame();
    EXPECT_EQ(emoticonThumbnail(0, 0), first);
    freeEmoticonThumbnails();
    EXPECT_EQ(emoticonThumbnail(0, 0), nullptr);
}

TEST_F(EmoticonBalloonTest, CellThenLargeLeavesExactlyOneLargePreview) {
    open();
    pick(0, 0);
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.layers[0].stitchCount, stitchesOf("Medium", 1));
    clickButton(2);
    EXPECT_EQ(emoticonSize(), 2);
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.layers[0].stitchCount, stitchesOf("Large", 1));
    EXPECT_FALSE(doc.history.canUndo());  // previews have no undo entry
    EXPECT_EQ(button(2)->bgColor, (SDL_Color{0xFF, 0x98, 0x00, 255}));
    EXPECT_EQ(button(1)->bgColor, (SDL_Color{0xE4, 0xB8, 0x00, 255}));
    // Another cell replaces the preview again.
    pick(6, 6);
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.layers[0].stitchCount, stitchesOf("Large", 49));
    drawFrame();  // the grid with its selection draws without trouble
}

TEST_F(EmoticonBalloonTest, OkAddsTheChoiceThroughTheUndoHistoryAndCloses) {
    doc.appendLayer(PESData(), "mine");
    open();
    pick(1, 5);  // number 13
    ASSERT_EQ(doc.layerCount(), 2);
    clickButton(3);
    EXPECT_EQ(balloon(), nullptr);
    ASSERT_EQ(doc.layerCount(), 2);
    EXPECT_EQ(doc.layers[1].stitchCount, stitchesOf("Medium", 13));
    EXPECT_EQ(doc.layers[0].properties.text, PESData().properties.text);
    ASSERT_TRUE(doc.history.canUndo());
    EXPECT_EQ(doc.history.undoStack.size(), 1u);
    doc.history.undo();
    EXPECT_EQ(doc.layerCount(), 1);  // the user's own layer stays
    drawFrame();
    EXPECT_EQ(GUI_TopView->child_count(), 0);  // deleted in the draw pass
}

TEST_F(EmoticonBalloonTest, OkWithoutASelectionJustCloses) {
    open();
    clickButton(3);
    EXPECT_EQ(balloon(), nullptr);
    EXPECT_EQ(doc.layerCount(), 0);
    EXPECT_FALSE(doc.history.canUndo());
}

TEST_F(EmoticonBalloonTest, WindowResizeClosesAndKeepsThePreviewWithoutUndo) {
    open();
    pick(0, 3);
    ASSERT_EQ(doc.layerCount(), 1);
    resizeWindow();
    EXPECT_EQ(balloon(), nullptr);
    drawFrame();
    EXPECT_EQ(GUI_TopView->child_count(), 0);
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.layers[0].stitchCount, stitchesOf("Medium", 4));
    doc.history.undo();  // nothing to undo: the preview stays
    EXPECT_EQ(doc.layerCount(), 1);
    // A new balloon starts without a preview of its own: a choice adds, it removes nothing.
    open();
    pick(0, 0);
    EXPECT_EQ(doc.layerCount(), 2);
}

TEST_F(EmoticonBalloonTest, ReleaseAfterMoreThan200msIsIgnored) {
    open();
    pick(0, 0, 201);
    EXPECT_EQ(doc.layerCount(), 0);
    pick(0, 0, 200);
    EXPECT_EQ(doc.layerCount(), 1);
    // Outside the 7 x 7 cells (the margin, the button row) nothing is chosen.
    tap(balloon()->x + 5, balloon()->y + 5);
    tap(balloon()->x + 200, balloon()->y + 340);
    EXPECT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.layers[0].stitchCount, stitchesOf("Medium", 1));
}

TEST_F(EmoticonBalloonTest, MissingEmptyOrBrokenDesignsAddNothingAndTheBalloonStays) {
    const fs::path dir = fs::temp_directory_path() / fs::unique_path("mes-emoticons-%%%%%%");
    fs::create_directories(dir / "PES" / "Medium");
    std::ofstream(dir / "PES" / "Medium" / "1.pes").close();                  // empty
    std::ofstream(dir / "PES" / "Medium" / "2.pes") << "#PES0001 nothing";  // no design
    fs::copy_file(kShipped + "PES/Medium/3.pes", dir / "PES" / "Medium" / "3.pes");
    emoticonFolder = dir.string() + "/";

    doc.appendLayer(PESData(), "mine");
    open();  // no thumbnails there: empty cells
    EXPECT_EQ(emoticonThumbnail(0, 0), nullptr);
    for (int column : {0, 1, 3}) {  // empty, broken, missing
        pick(0, column);
        EXPECT_EQ(doc.layerCount(), 1) << column;
        EXPECT_NE(balloon(), nullptr);
    }
    EXPECT_FALSE(importEmoticon(1, true));
    EXPECT_FALSE(importEmoticon(4, false));
    EXPECT_FALSE(importEmoticon(0, false));
    EXPECT_FALSE(importEmoticon(50, false));
    // The user's layer was never taken for a preview; a real design is added beside it.
    pick(0, 2);
    ASSERT_EQ(doc.layerCount(), 2);
    EXPECT_EQ(list.cells[0].label, "mine");
    // OK on a design that cannot be added keeps the balloon open.
    pick(0, 0);
    EXPECT_EQ(doc.layerCount(), 1);
    clickButton(3);
    EXPECT_NE(balloon(), nullptr);
    EXPECT_EQ(doc.layerCount(), 1);
    EXPECT_FALSE(doc.history.canUndo());
    fs::remove_all(dir);
}

TEST_F(EmoticonBalloonTest, ImportEmoticonRespectsTheSizeAndAsCommand) {
    struct Case {
        int size;
        const char* folder;
        bool asCommand;
    };
    for (const Case& c : {Case{0, "Small", false}, Case{1, "Medium", true}, Case{2, "Large", true}}) {
        setEmoticonSize(c.size);
        ASSERT_TRUE(importEmoticon(7, c.asCommand));
        EXPECT_EQ(doc.layers.back().stitchCount, stitchesOf(c.folder, 7));
        EXPECT_EQ(doc.history.canUndo(), c.asCommand || doc.history.canUndo());
    }
    EXPECT_EQ(doc.layerCount(), 3);
    EXPECT_EQ(doc.history.undoStack.size(), 2u);
    setEmoticonSize(5);  // out of range: kept as it was
    EXPECT_EQ(emoticonSize(), 2);
}

}  // namespace
