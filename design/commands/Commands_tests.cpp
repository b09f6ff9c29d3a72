// Every command's redo and undo on small real layers, the history's limits and log lines, the
// clipboard, the swatch colours and the buffer import.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "design/Document.h"
#include "design/DocumentTestLayers.h"
#include "design/HeadlessLayerList.h"
#include "design/ImportBuffer.h"
#include "design/PESExport.h"
#include "design/ShapeLayer.h"
#include "design/commands/AddTextCommand.h"
#include "design/commands/BringForwardCommand.h"
#include "design/commands/ColorCommand.h"
#include "design/commands/CreateBorderCommand.h"
#include "design/commands/CreateShapeCommand.h"
#include "design/commands/CutCommand.h"
#include "design/commands/DeleteCommand.h"
#include "design/commands/DuplicateCommand.h"
#include "design/commands/EditShapeCommand.h"
#include "design/commands/HorizontalFlipCommand.h"
#include "design/commands/ImportCommand.h"
#include "design/commands/MergeDownCommand.h"
#include "design/commands/PESEffectCommand.h"
#include "design/commands/PasteCommand.h"
#include "design/commands/SendBackwardCommand.h"
#include "design/commands/TextEffectCommand.h"
#include "design/commands/TranslateCommand.h"
#include "design/commands/VertitalFlipCommand.h"
#include "formats/ThreadPalette.h"
#include "stitchfont/FontSizes.h"
#include "stitchfont/TestPack.h"

namespace {

using testlayers::line;
using testlayers::twoColors;

std::vector<Stitch> allStitches(const PESData& l) {
    std::vector<Stitch> s;
    for (const auto& b : l.blocks)
        s.insert(s.end(), b.stitches.begin(), b.stitches.end());
    return s;
}

bool sameLayer(const PESData& a, const PESData& b) {
    return allStitches(a) == allStitches(b) && a.colorList == b.colorList &&
           a.properties.type == b.properties.type && a.properties.text == b.properties.text &&
           a.properties.colorIndex == b.properties.colorIndex && a.minX == b.minX &&
           a.maxY == b.maxY && a.properties.baselineIndex == b.properties.baselineIndex &&
           a.properties.rotateValue == b.properties.rotateValue;
}

class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        const auto glyphs = testpack::pack({{'T', 40, 60},
                                            {'e', 30, 50},
                                            {'x', 30, 50},
                                            {'t', 40, 40},
                                            {'A', 40, 80},
                                            {'B', 40, 70}});
        data.files[stitchfont::packPath(0, 0)] = glyphs;
        data.files[stitchfont::packPath(0, 3)] = glyphs;
        doc.fontEnv = data.env(false);
    }

    void add(const PESData& l, const std::string& label = "l") { doc.appendLayer(l, label); }
    template <class C, class... A>
    bool run(A&&... args) {
        return execute(doc, std::make_shared<C>(doc, std::forward<A>(args)...));
    }

    testpack::MemoryData data;
    HeadlessLayerList list;
    Document doc{list};
};

TEST_F(Commands, HistoryKeepsFiftyWithTheOversizeLines) {
    add(line(0, 0, 10, 10, 5));
    for (int i = 0; i < 49; ++i)
        ASSERT_TRUE(run<TranslateCommand>(0, 1, 0));
    list.lines.clear();
    ASSERT_TRUE(run<TranslateCommand>(0, 1, 0));  // the 50th push logs nothing
    EXPECT_FALSE(list.logged("Undo oversize", "1"));
    EXPECT_EQ(doc.history.undoStack.size(), 50u);
    ASSERT_TRUE(run<TranslateCommand>(0, 1, 0));  // the 51st
    EXPECT_TRUE(list.logged("Undo oversize", "1"));
    EXPECT_TRUE(list.logged("b4size", "50"));
    EXPECT_TRUE(list.logged("affer erase size", "49"));
    for (int i = 0; i < 9; ++i)
        ASSERT_TRUE(run<TranslateCommand>(0, 1, 0));
    EXPECT_EQ(doc.history.undoStack.size(), 50u);
    EXPECT_EQ(doc.layers[0].minX, 60);
    while (doc.history.canUndo())
        doc.history.undo();
    EXPECT_EQ(doc.layers[0].minX, 10);  // only the last 50 can be undone
    EXPECT_EQ(doc.history.redoStack.size(), 50u);
}

TEST_F(Commands, UndoThenEditEmptiesRedoAndEmptyStacksDoNothing) {
    doc.history.undo();
    doc.history.redo();
    add(line(0, 0, 10, 10, 5));
    run<TranslateCommand>(0, 5, 7);
    EXPECT_EQ(doc.history.undoName(), "Move");
    doc.history.undo();
    EXPECT_EQ(doc.layers[0].minX, 0);
    EXPECT_TRUE(doc.history.canRedo());
    doc.history.redo();
    EXPECT_EQ(doc.layers[0].minY, 7);
    doc.history.undo();
    run<TranslateCommand>(0, 1, 1);
    EXPECT_FALSE(doc.history.canRedo());
    doc.history.clear();
    EXPECT_FALSE(doc.history.canUndo());
}

TEST_F(Commands, TranslateMovesAndMarksChanged) {
    add(line(0, 0, 10, 10, 5));
    doc.statusDirty = false;
    run<TranslateCommand>(0, -3, 4);
    EXPECT_TRUE(doc.statusDirty);
    EXPECT_EQ(doc.layers[0].minX, -3);
    EXPECT_EQ(doc.layers[0].maxY, 14);
    doc.history.undo();
    EXPECT_EQ(doc.layers[0].minX, 0);
    EXPECT_EQ(doc.layers[0].maxY, 10);
}

TEST_F(Commands, ColorChangesFirstRunAndSwatch) {
    add(twoColors(5, 7));
    run<ColorCommand>(0, 19);
    EXPECT_EQ(doc.layers[0].blocks[0].colorIndex, 20);
    EXPECT_EQ(doc.layers[0].blocks[1].colorIndex, 7);
    EXPECT_EQ(list.cells[0].swatch, threadColor(20));
    EXPECT_EQ(doc.history.undoName(), "Color");
    doc.history.undo();
    EXPECT_EQ(doc.layers[0].blocks[0].colorIndex, 5);
    EXPECT_EQ(doc.layers[0].properties.colorIndex, 4);
    EXPECT_EQ(list.cells[0].swatch, threadColor(5));
    // An index past the list changes nothing.
    run<ColorCommand>(3, 1);
    EXPECT_EQ(doc.layers[0].blocks[0].colorIndex, 5);
}

TEST_F(Commands, DuplicateAppendsAMovedCopyWithDefaultSwatch) {
    add(line(0, 0, 10, 10, 5));
    run<DuplicateCommand>(0);
    ASSERT_EQ(doc.layerCount(), 2);
    EXPECT_EQ(doc.layers[1].minX, 25);
    EXPECT_EQ(doc.layers[1].maxY, 35);
    EXPECT_EQ(doc.selectedIndex(), 1);
    EXPECT_EQ(list.cells[1].swatch, (Rgba{192, 192, 192, 255}));
    doc.history.undo();
    EXPECT_EQ(doc.layerCount(), 1);
    doc.history.clear();
    EXPECT_TRUE(list.lines.size() > 0);
}

TEST_F(Commands, UndoCutRestoresIndexTextureAndDisablesPaste) {
    for (int i = 0; i < 3; ++i)
        add(line(0, 0, 10 * (i + 1), 10, 5 + i));
    LayerTexture* t1 = doc.layerTexture(1);
    run<CutCommand>(1);
    EXPECT_EQ(doc.layerCount(), 2);
    EXPECT_TRUE(doc.clipboardFull);
    EXPECT_EQ(doc.clipboardLayer.maxX, 20);
    doc.history.undo();
    ASSERT_EQ(doc.layerCount(), 3);
    EXPECT_EQ(doc.layers[1].maxX, 20);
    EXPECT_EQ(doc.layerTexture(1), t1);
    EXPECT_EQ(doc.layers[1].textureSlot, 1);
    EXPECT_FALSE(doc.clipboardFull);
    EXPECT_TRUE(doc.checkLayerCount());
    doc.history.redo();
    EXPECT_EQ(doc.layers[1].maxX, 30);
}

TEST_F(Commands, CutOfNothingUndoesNothing) {
    add(line(0, 0, 10, 10, 5));
    run<CutCommand>(4);
    doc.history.undo();
    EXPECT_EQ(doc.layerCount(), 1);
}

TEST_F(Commands, PasteTakesTheClipboardAtRedoTime) {
    add(line(0, 0, 10, 10, 5));
    doc.copyToClipboard(0);
    auto paste = std::make_shared<PasteCommand>(doc);
    doc.clipboardLayer = line(0, 0, 44, 44, 6);
    execute(doc, paste);
    ASSERT_EQ(doc.layerCount(), 2);
    EXPECT_EQ(doc.layers[1].maxX, 44);
    doc.history.undo();
    EXPECT_EQ(doc.layerCount(), 1);
}

TEST_F(Commands, DeleteAndUndo) {
    add(line(0, 0, 10, 10, 5));
    add(line(0, 0, 20, 20, 6), "two");
    run<DeleteCommand>(0);
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.layers[0].maxX, 20);
    doc.history.undo();
    ASSERT_EQ(doc.layerCount(), 2);
    EXPECT_EQ(doc.layers[0].maxX, 10);
    EXPECT_EQ(doc.layers[1].textureSlot, 1);
}

TEST_F(Commands, SendBackwardAndBringForwardSelection) {
    for (int i = 0; i < 4; ++i)
        add(line(0, 0, 10 * (i + 1), 10, 5));
    run<SendBackwardCommand>(3);
    EXPECT_EQ(doc.selectedIndex(), 2);
    EXPECT_EQ(doc.layers[2].maxX, 40);
    doc.history.undo();
    EXPECT_EQ(doc.selectedIndex(), 3);
    EXPECT_EQ(doc.layers[3].maxX, 40);
    run<BringForwardCommand>(0);
    EXPECT_EQ(doc.selectedIndex(), 1);
    EXPECT_EQ(doc.layers[1].maxX, 10);
    doc.history.undo();
    EXPECT_EQ(doc.selectedIndex(), 0);
    EXPECT_EQ(doc.layers[0].maxX, 10);
}

TEST_F(Commands, MergeDownAndUndoRestoresBoth) {
    add(line(0, 0, 10, 10, 5));
    PESData a = line(0, 0, 20, 20, 20);
    a.properties.baselineIndex = 1;
    a.properties.rotateValue = 0.75f;
    add(a);
    add(line(5, 5, 30, 30, 20));
    const PESData before1 = doc.layers[1], before2 = doc.layers[2];
    run<MergeDownCommand>(1);
    ASSERT_EQ(doc.layerCount(), 2);
    EXPECT_EQ(doc.layers[1].properties.typeName, "PES Stitch[Single Block]");  // 20 + 20 joined
    EXPECT_EQ(doc.layers[1].stitchCount, 6);
    EXPECT_EQ(doc.layers[1].sourceBlocks.size(), doc.layers[1].blocks.size());
    EXPECT_EQ(doc.selectedIndex(), 1);
    doc.history.undo();
    ASSERT_EQ(doc.layerCount(), 3);
    EXPECT_TRUE(sameLayer(doc.layers[1], before1));
    EXPECT_TRUE(sameLayer(doc.layers[2], before2));
    EXPECT_EQ(doc.selectedIndex(), 1);
    EXPECT_TRUE(doc.checkLayerCount());
    // On the top layer there is nothing to merge, and nothing to undo.
    run<MergeDownCommand>(2);
    EXPECT_EQ(doc.layerCount(), 3);
    doc.history.undo();
    EXPECT_EQ(doc.layerCount(), 3);
}

TEST_F(Commands, FlipsTwiceRestore) {
    add(twoColors(5, 7));
    const PESData before = doc.layers[0];
    run<VertitalFlipCommand>(0);
    EXPECT_EQ(doc.layers[0].blocks[0].stitches[0].x, 50);
    doc.history.undo();
    EXPECT_EQ(allStitches(doc.layers[0]), allStitches(before));
    run<HorizontalFlipCommand>(0);
    EXPECT_EQ(doc.layers[0].blocks[0].stitches[0].y, 20);
    EXPECT_EQ(doc.history.undoName(), "Horizontal Flip");
    doc.history.undo();
    EXPECT_EQ(allStitches(doc.layers[0]), allStitches(before));
}

TEST_F(Commands, ImportsAndTheirRefusals) {
    const std::vector<uint8_t> pes = writePES1(twoColors(5, 7), 100, 100);
    auto cmd = std::make_shared<ImportBufferCommand>(doc, pes);
    ASSERT_TRUE(cmd->valid());
    ASSERT_TRUE(execute(doc, cmd));
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.layers[0].properties.typeName, "PES Stitch");
    EXPECT_EQ(doc.layers[0].centerX, 0);
    EXPECT_EQ(list.cells[0].swatch, (Rgba{192, 192, 192, 255}));
    doc.history.undo();
    EXPECT_EQ(doc.layerCount(), 0);

    // Nothing readable: no callables, refused, history untouched.
    doc.history.clear();
    EXPECT_FALSE(execute(doc, std::make_shared<ImportBufferCommand>(doc, std::vector<uint8_t>{})));
    EXPECT_FALSE(
        execute(doc, std::make_shared<ImportMIVOBufferCommand>(doc, std::vector<uint8_t>{})));
    EXPECT_FALSE(execute(doc, std::make_shared<ImportCommandW>(doc, "/nonexistent/x.pes")));
    EXPECT_FALSE(doc.history.canUndo());
    EXPECT_EQ(doc.layerCount(), 0);
}

TEST_F(Commands, ImportFileFromTheCorpusAndCommandLogLines) {
    ASSERT_TRUE(run<ImportCommandW>(std::string(MES_CORPUS_DIR) + "/embcat__Flower.pes"));
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_GT(doc.layers[0].stitchCount, 100);
    EXPECT_EQ(doc.layers[0].centerX, 0);
    EXPECT_EQ(doc.layers[0].centerY, 0);
    EXPECT_EQ(doc.history.undoName(), "Import");
    list.lines.clear();
    doc.history.undo();
    EXPECT_EQ(doc.layerCount(), 0);
    run<TranslateCommand>(0, 1, 1);  // drops the redo stack: the import command is destroyed
    bool destroyed = false;
    for (const auto& l : list.lines)
        destroyed |= l.module == "~Command()";
    EXPECT_TRUE(destroyed);
}

TEST_F(Commands, ImportBufferTellsTheKindsApart) {
    std::vector<uint8_t> pes = writePES1(line(0, 0, 30, 30, 5), 100, 100);
    std::vector<uint8_t> prefixed(pes.size() + 2, 'x');
    std::copy(pes.begin(), pes.end(), prefixed.begin() + 2);
    EXPECT_TRUE(doImportBuffer(doc, prefixed));
    EXPECT_EQ(doc.layerCount(), 1);

    const std::vector<uint8_t> mivo = {'#',  'M',  'I',  'V',  'O',  0,   5,
                                       0x0A, 0x0A, 0x05, 0x05, 0xFF, 0x00};
    EXPECT_TRUE(doImportBuffer(doc, mivo));
    ASSERT_EQ(doc.layerCount(), 2);
    EXPECT_EQ(doc.layers[1].stitchCount, 1);

    const std::vector<uint8_t> bad = {'M', 'I', 'V', 'O', 0};
    EXPECT_FALSE(doImportBuffer(doc, bad));
    EXPECT_EQ(doc.layerCount(), 2);
    EXPECT_EQ(doc.history.undoStack.size(), 2u);
    bool errorLogged = false;
    for (const auto& l : list.lines)
        errorLogged |= l.module == "doImportBuffer() Error";
    EXPECT_TRUE(errorLogged);
}

TEST_F(Commands, AddTextCreatesThenDuplicatesASelectedTextLayer) {
    run<AddTextCommand>(-1);
    ASSERT_EQ(doc.layerCount(), 1);
    const PESData& t = doc.layers[0];
    EXPECT_EQ(t.properties.type, kLayerText);
    EXPECT_EQ(t.properties.text, "Text");
    EXPECT_GT(t.stitchCount, 0);
    EXPECT_EQ(t.framePoints.size(), 10u);
    EXPECT_EQ(list.cells[0].swatch, threadColor(11));

    run<AddTextCommand>(0);
    ASSERT_EQ(doc.layerCount(), 2);
    EXPECT_EQ(doc.layers[1].minX, doc.layers[0].minX + 25);
    EXPECT_EQ(doc.layers[1].minY, doc.layers[0].minY + 25);
    EXPECT_EQ(doc.layers[1].framePoints[0].x, doc.layers[0].framePoints[0].x + 25);
    EXPECT_EQ(list.cells[1].swatch, (Rgba{192, 192, 192, 255}));
    EXPECT_EQ(doc.selectedIndex(), 1);

    run<AddTextCommand>(7);  // past the list: nothing
    EXPECT_EQ(doc.layerCount(), 2);
    doc.history.undo();
    EXPECT_EQ(doc.layerCount(), 2);
    doc.history.undo();
    doc.history.undo();
    EXPECT_EQ(doc.layerCount(), 0);
}

TEST_F(Commands, TextEffectRebuildsAndUndoRestores) {
    run<AddTextCommand>(-1);
    const PESData before = doc.layers[0];
    LayerProperties p = before.properties;
    p.text = "AB";
    p.fontSizeIndex = 3;
    p.colorIndex = 30;
    p.baselineIndex = 1;
    p.angleValue = 7.0f;  // out of range: brought back to 0.1
    run<TextEffectCommand>(0, "Text Effect", p, 0, 0);
    EXPECT_EQ(doc.history.undoName(), "Text Effect");
    const PESData& t = doc.layers[0];
    EXPECT_EQ(t.properties.text, "AB");
    EXPECT_EQ(t.properties.fontSizeIndex, 3);
    EXPECT_EQ(t.blocks[0].colorIndex, 31);
    EXPECT_EQ(t.properties.baselineIndex, 1);
    EXPECT_NE(allStitches(t), allStitches(before));
    doc.history.undo();
    EXPECT_TRUE(sameLayer(doc.layers[0], before));
}

TEST_F(Commands, PESEffectBendsFromSourceAndUndoRestores) {
    add(twoColors(5, 7));
    const PESData before = doc.layers[0];
    run<PESEffectCommand>(0, 0, 0.5f, 0.1f, 0.75f);  // a quarter turn
    EXPECT_EQ(doc.history.undoName(), "Base Line");
    EXPECT_EQ(doc.layers[0].boundsWidth, before.boundsHeight);
    EXPECT_FLOAT_EQ(doc.layers[0].properties.rotateValue, 0.75f);
    doc.history.undo();
    EXPECT_TRUE(sameLayer(doc.layers[0], before));
}

TEST_F(Commands, ShapesAreCentredOnTheSelectedTextAndEditable) {
    run<AddTextCommand>(-1);
    run<TranslateCommand>(0, 300, 200);
    const PESData shape =
        shapes::buildShapeLayer(shapes::shapeProperties(0, 3.0f, 2.0f, 0.3f, 0.4f, 12));
    run<CreateShapeCommand>(shape);
    ASSERT_EQ(doc.layerCount(), 2);
    EXPECT_EQ(doc.layers[1].centerX, shape.centerX + doc.layers[0].centerX);
    EXPECT_EQ(doc.layers[1].blocks[0].colorIndex, 13);
    EXPECT_EQ(list.cells[1].swatch, threadColor(13));

    const PESData before = doc.layers[1];
    LayerProperties p = before.properties;
    p.width = 5.0f;
    run<EditShapeCommand>(1, p);
    EXPECT_GT(doc.layers[1].boundsWidth, before.boundsWidth);
    EXPECT_NEAR(doc.layers[1].centerX, before.centerX, 1);
    doc.history.undo();
    EXPECT_TRUE(sameLayer(doc.layers[1], before));
    doc.history.undo();
    EXPECT_EQ(doc.layerCount(), 1);
}

TEST_F(Commands, BorderLayerIsAppendedWithItsSwatch) {
    PESData border = line(-100, -50, 100, 50, 3);
    border.properties.colorIndex = 8;
    run<CreateBorderCommand>(border);
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.layers[0].blocks[0].colorIndex, 9);
    EXPECT_EQ(list.cells[0].swatch, threadColor(9));
    EXPECT_EQ(doc.history.undoName(), "Border");
    doc.history.undo();
    EXPECT_EQ(doc.layerCount(), 0);
}

}  // namespace
