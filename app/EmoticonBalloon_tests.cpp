// The emoticon balloon over the real main window, driven with made-up events: previews replaced
// on each choice, OK through the undo history, the closing rules, slow presses, missing and empty
// designs, the main window's input off while the balloon is up.

#include "app/EmoticonBalloon.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <fstream>
#include <iterator>

#include "app/EditorTestFixture.h"
#include "design/commands/ImportCommand.h"

namespace fs = boost::filesystem;

namespace {

const std::string kShipped = std::string(MES_SOURCE_DIR) + "/data/Emoticon/";

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A colour as 0xRRGGBBAA, for comparisons.
uint32_t rgba(SDL_Color c) {
    return uint32_t(c.r) << 24 | uint32_t(c.g) << 16 | uint32_t(c.b) << 8 | c.a;
}

// Stitch count of a shipped design as the editor imports it.
int32_t stitchesOf(const std::string& size, int n) {
    PESData layer;
    EXPECT_TRUE(ImportCommand::layerFromPES(
        readFile(kShipped + "PES/" + size + "/" + std::to_string(n) + ".pes"), layer, nullptr));
    return layer.stitchCount;
}

class EmoticonBalloonTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        emoticonFolder = kShipped;
        setEmoticonSize(1);
    }
    void TearDown() override {
        EditorFixture::TearDown();
        emoticonFolder = "Emoticon/";
    }

    // Opens the balloon from the emoticon button and draws it once: only drawn views take the
    // mouse.
    void open() {
        openEmoticonBalloon(ui.emoticonButton);
        frame();
    }
    GUI_View* balloon() { return emoticonBalloon(); }
    GUI_View* button(int k) { return balloon()->children.at(std::size_t(k)); }  // S, M, L, OK
    int layers() { return doc().layerCount(); }

    // A press and a release held apart by `held` milliseconds, at window points.
    void tap(int x, int y, Uint32 held = 50) {
        ticks += 1000;
        for (Uint32 type : {Uint32(SDL_MOUSEBUTTONDOWN), Uint32(SDL_MOUSEBUTTONUP)}) {
            SDL_Event e{};
            e.type = type;
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.button.x = x;
            e.button.y = y;
            e.button.timestamp = type == SDL_MOUSEBUTTONDOWN ? ticks : ticks + held;
            send(e);
        }
        frame();
    }
    void pick(int row, int column, Uint32 held = 50) {
        const int cell = (balloon()->w - 28) / 7;
        tap((balloon()->x + 14 + column * cell + cell / 2) / GUI_scale,
            (balloon()->y + 14 + row * cell + cell / 2) / GUI_scale, held);
    }
    void clickButton(int k) {
        const SDL_Point p = centreOf(button(k));
        tap(p.x, p.y);
    }

    Uint32 ticks = 0;
};

TEST_F(EmoticonBalloonTest, OpensBesideTheToolboxWithTheGridAndMediumChosen) {
    open();
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
    EXPECT_EQ(b->anchorY, 236 - 23 + 36);  // the button's y less its height, below the top bar
    // S, M, L from x 16 with gaps of 20 and 24; OK ending at 334; all on the row y 350.
    EXPECT_EQ(button(0)->x - balloon()->x, 16);
    EXPECT_EQ(button(1)->x, button(0)->x + button(0)->w + 20);
    EXPECT_EQ(button(2)->x, button(1)->x + button(1)->w + 24);
    EXPECT_EQ(button(3)->x + button(3)->w - balloon()->x, 334);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(button(k)->y - balloon()->y, 350);
    EXPECT_EQ(rgba(button(0)->bgColor), 0xE4B800FFu);
    EXPECT_EQ(rgba(button(1)->bgColor), 0xFF9800FFu);  // Medium, the start size
    EXPECT_EQ(rgba(button(2)->bgColor), 0xE4B800FFu);
    EXPECT_EQ(rgba(static_cast<GUI_Label*>(button(1))->textColor), rgba(GUI_White));
    EXPECT_EQ(rgba(static_cast<GUI_Label*>(button(0))->textColor), rgba(GUI_Black));
    EXPECT_EQ(rgba(button(0)->borderColor), 0x707070FFu);
    EXPECT_EQ(rgba(button(3)->bgColor), rgba(GUI_Blue));
    // The thumbnails are loaded, once: a second open keeps the same textures.
    SDL_Texture* first = emoticonThumbnail(0, 0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(emoticonThumbnail(6, 6), nullptr);
    // The main window takes no input meanwhile.
    EXPECT_FALSE(ui.toolbox->interactive);
    EXPECT_FALSE(ui.mainView->interactive);
    GUI_View* firstBalloon = balloon();
    openEmoticonBalloon(ui.emoticonButton);  // already open: nothing happens
    frame();
    EXPECT_EQ(GUI_TopView->children.back(), firstBalloon);
    EXPECT_EQ(emoticonThumbnail(0, 0), first);
    freeEmoticonThumbnails();
    EXPECT_EQ(emoticonThumbnail(0, 0), nullptr);
}

TEST_F(EmoticonBalloonTest, CellThenLargeLeavesExactlyOneLargePreview) {
    open();
    pick(0, 0);
    ASSERT_EQ(layers(), 1);
    EXPECT_EQ(doc().layers[0].stitchCount, stitchesOf("Medium", 1));
    clickButton(2);
    EXPECT_EQ(emoticonSize(), 2);
    ASSERT_EQ(layers(), 1);
    EXPECT_EQ(doc().layers[0].stitchCount, stitchesOf("Large", 1));
    EXPECT_FALSE(doc().history.canUndo());  // previews have no undo entry
    EXPECT_EQ(rgba(button(2)->bgColor), 0xFF9800FFu);
    EXPECT_EQ(rgba(button(1)->bgColor), 0xE4B800FFu);
    EXPECT_EQ(rgba(static_cast<GUI_Label*>(button(2))->textColor), rgba(GUI_White));
    EXPECT_EQ(rgba(static_cast<GUI_Label*>(button(1))->textColor), rgba(GUI_Black));
    // Another cell replaces the preview again.
    pick(6, 6);
    ASSERT_EQ(layers(), 1);
    EXPECT_EQ(doc().layers[0].stitchCount, stitchesOf("Large", 49));
}

TEST_F(EmoticonBalloonTest, OkAddsTheChoiceThroughTheUndoHistoryAndCloses) {
    addShape();
    const int32_t shape = doc().layers[0].stitchCount;
    const std::size_t undos = doc().history.undoStack.size();
    open();
    pick(1, 5);  // number 13
    ASSERT_EQ(layers(), 2);
    clickButton(3);
    EXPECT_EQ(balloon(), nullptr);
    ASSERT_EQ(layers(), 2);
    EXPECT_EQ(doc().layers[1].stitchCount, stitchesOf("Medium", 13));
    EXPECT_EQ(doc().layers[0].stitchCount, shape);
    EXPECT_EQ(doc().history.undoStack.size(), undos + 1);
    EXPECT_EQ(doc().history.undoName(), "Import");
    // The main window takes input again; the balloon is gone from the view tree.
    EXPECT_TRUE(ui.toolbox->interactive);
    EXPECT_TRUE(ui.mainView->interactive);
    for (GUI_View* v : GUI_TopView->children)
        EXPECT_EQ(dynamic_cast<BalloonDialog*>(v), nullptr);
    doc().history.undo();
    ASSERT_EQ(layers(), 1);  // the user's own layer stays
    EXPECT_EQ(doc().layers[0].stitchCount, shape);
}

TEST_F(EmoticonBalloonTest, OkWithoutASelectionJustCloses) {
    const bool couldUndo = doc().history.canUndo();
    open();
    clickButton(3);
    EXPECT_EQ(balloon(), nullptr);
    EXPECT_EQ(layers(), 0);
    EXPECT_EQ(doc().history.canUndo(), couldUndo);
    EXPECT_TRUE(ui.toolbox->interactive);
}

TEST_F(EmoticonBalloonTest, EscapeTakesThePreviewAwayAndCloses) {
    addShape();
    const int32_t before = doc().layers[0].stitchCount;
    open();
    pick(0, 3);
    ASSERT_EQ(layers(), 2);
    key(SDLK_ESCAPE);
    EXPECT_EQ(balloon(), nullptr);
    EXPECT_TRUE(ui.toolbox->interactive);
    ASSERT_EQ(layers(), 1);  // the user's own layer stays
    EXPECT_EQ(doc().layers[0].stitchCount, before);
    // Escape before any choice removes nothing.
    open();
    key(SDLK_ESCAPE);
    EXPECT_EQ(balloon(), nullptr);
    EXPECT_EQ(layers(), 1);
}

TEST_F(EmoticonBalloonTest, WindowResizeClosesAndKeepsThePreviewWithoutUndo) {
    open();
    pick(0, 3);
    ASSERT_EQ(layers(), 1);
    windowResized(1100, 700);
    EXPECT_EQ(balloon(), nullptr);
    EXPECT_TRUE(ui.toolbox->interactive);
    ASSERT_EQ(layers(), 1);
    EXPECT_EQ(doc().layers[0].stitchCount, stitchesOf("Medium", 4));
    EXPECT_FALSE(doc().history.canUndo());
    doc().history.undo();  // nothing to undo: the preview stays
    EXPECT_EQ(layers(), 1);
    // A new balloon starts without a preview of its own: a choice adds, it removes nothing.
    open();
    EXPECT_EQ(balloon()->x, (1100 - 574) * GUI_scale);  // placed for the new width
    pick(0, 0);
    EXPECT_EQ(layers(), 2);
}

TEST_F(EmoticonBalloonTest, ReleaseAfterMoreThan200msIsIgnored) {
    open();
    pick(0, 0, 201);
    EXPECT_EQ(layers(), 0);
    pick(0, 0, 200);
    EXPECT_EQ(layers(), 1);
    // Outside the 7 x 7 cells (the margin, the button row) nothing is chosen.
    tap(balloon()->x + 5, balloon()->y + 5);
    tap(balloon()->x + 200, balloon()->y + 340);
    EXPECT_EQ(layers(), 1);
    EXPECT_EQ(doc().layers[0].stitchCount, stitchesOf("Medium", 1));
}

TEST_F(EmoticonBalloonTest, MissingEmptyOrBrokenDesignsAddNothingAndTheBalloonStays) {
    const fs::path dir = fs::temp_directory_path() / fs::unique_path("mes-emoticons-%%%%%%");
    fs::create_directories(dir / "PES" / "Medium");
    std::ofstream(dir / "PES" / "Medium" / "1.pes").close();                // empty
    std::ofstream(dir / "PES" / "Medium" / "2.pes") << "#PES0001 nothing";  // no design
    fs::copy_file(kShipped + "PES/Medium/3.pes", dir / "PES" / "Medium" / "3.pes");
    emoticonFolder = dir.string() + "/";

    addShape();
    const int32_t shape = doc().layers[0].stitchCount;
    const std::size_t undos = doc().history.undoStack.size();
    open();  // no thumbnails there: empty cells
    EXPECT_EQ(emoticonThumbnail(0, 0), nullptr);
    for (int column : {0, 1, 3}) {  // empty, broken, missing
        pick(0, column);
        EXPECT_EQ(layers(), 1) << column;
        EXPECT_NE(balloon(), nullptr);
    }
    EXPECT_FALSE(importEmoticon(1, true));
    EXPECT_FALSE(importEmoticon(4, false));
    EXPECT_FALSE(importEmoticon(0, false));
    EXPECT_FALSE(importEmoticon(50, false));
    // The user's layer was never taken for a preview; a real design is added beside it.
    pick(0, 2);
    ASSERT_EQ(layers(), 2);
    EXPECT_EQ(doc().layers[0].stitchCount, shape);
    // OK on a design that cannot be added keeps the balloon open.
    pick(0, 0);
    EXPECT_EQ(layers(), 1);
    clickButton(3);
    EXPECT_NE(balloon(), nullptr);
    EXPECT_EQ(layers(), 1);
    EXPECT_EQ(doc().history.undoStack.size(), undos);
    fs::remove_all(dir);
}

TEST_F(EmoticonBalloonTest, ImportEmoticonRespectsTheSizeAndAsCommand) {
    struct Case {
        int size;
        const char* folder;
        bool asCommand;
    };
    const std::size_t undos = doc().history.undoStack.size();
    for (const Case& c :
         {Case{0, "Small", false}, Case{1, "Medium", true}, Case{2, "Large", true}}) {
        setEmoticonSize(c.size);
        ASSERT_TRUE(importEmoticon(7, c.asCommand));
        EXPECT_EQ(doc().layers.back().stitchCount, stitchesOf(c.folder, 7));
    }
    EXPECT_EQ(layers(), 3);
    EXPECT_EQ(doc().history.undoStack.size(), undos + 2);
    setEmoticonSize(5);  // out of range: kept as it was
    EXPECT_EQ(emoticonSize(), 2);
}

}  // namespace
