// Tests of the document: layers, cells and texture slots kept one to one through append, insert,
// remove and swap; the render's scale and cell updates; the layer-count check.

#include <gtest/gtest.h>

#include <set>

#include "design/Document.h"
#include "design/DocumentTestLayers.h"
#include "design/HeadlessLayerList.h"

namespace {

int textureId(const Document& doc, int slot) {
    auto* t = dynamic_cast<HeadlessTexture*>(doc.texturePool.at(slot).get());
    return t ? t->id : -1;
}

void expectOneToOne(const Document& doc, const HeadlessLayerList& list) {
    ASSERT_EQ(doc.layerCount(), list.cellCount());
    ASSERT_GE(doc.texturePool.size(), doc.layers.size());
    for (int i = 0; i < doc.layerCount(); ++i) {
        EXPECT_EQ(doc.layers[i].textureSlot, i);
        EXPECT_EQ(list.cells[i].icon, doc.texturePool[i].get()) << "cell " << i;
    }
}

TEST(Document, AppendSelectsRendersAndFillsTheCell) {
    HeadlessLayerList list;
    Document doc(list);
    doc.appendLayer(testlayers::line(0, 0, 100, 50, 5), "first");
    ASSERT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(doc.selectedIndex(), 0);
    EXPECT_EQ(list.cells[0].label, "first");
    EXPECT_EQ(list.cells[0].text, "Stitches:      3");
    EXPECT_EQ(list.cells[0].iconW, 300);
    EXPECT_EQ(list.cells[0].iconH, 150);
    EXPECT_TRUE(doc.statusDirty);
    EXPECT_TRUE(list.logged("offScreenScale", "3"));
    expectOneToOne(doc, list);
}

TEST(Document, RemoveMovesTheTextureToTheEndAsSpare) {
    HeadlessLayerList list;
    Document doc(list);
    for (int i = 0; i < 3; ++i)
        doc.appendLayer(testlayers::line(0, 0, 10 + i, 10, 5), "l");
    const int t0 = textureId(doc, 0), t1 = textureId(doc, 1), t2 = textureId(doc, 2);
    doc.statusDirty = false;
    doc.removeLayer(1);
    EXPECT_TRUE(doc.statusDirty);
    ASSERT_EQ(doc.layerCount(), 2);
    EXPECT_EQ(doc.texturePool.size(), 3u);
    EXPECT_EQ(textureId(doc, 0), t0);
    EXPECT_EQ(textureId(doc, 1), t2);
    EXPECT_EQ(textureId(doc, 2), t1);  // the spare
    EXPECT_EQ(doc.layers[1].maxX, 12);
    expectOneToOne(doc, list);

    // An index outside the list only marks the design changed.
    doc.statusDirty = false;
    doc.removeLayer(5);
    doc.removeLayer(-1);
    EXPECT_EQ(doc.layerCount(), 2);
    EXPECT_TRUE(doc.statusDirty);

    // The spare comes back for the next insert, and no new texture is made.
    const int made = list.texturesMade;
    doc.insertLayer(1, testlayers::line(0, 0, 11, 10, 5), "back");
    EXPECT_EQ(list.texturesMade, made);
    EXPECT_EQ(textureId(doc, 1), t1);
    EXPECT_EQ(textureId(doc, 2), t2);
    EXPECT_EQ(doc.selectedIndex(), 1);
    EXPECT_EQ(list.cells[1].label, "back");
    expectOneToOne(doc, list);
}

TEST(Document, InsertWithoutSpareKeepsTheLastLayersTexture) {
    HeadlessLayerList list;
    Document doc(list);
    for (int i = 0; i < 2; ++i)
        doc.appendLayer(testlayers::line(0, 0, 10, 10, 5), "l");
    const int t0 = textureId(doc, 0), t1 = textureId(doc, 1);
    doc.insertLayer(0, testlayers::line(0, 0, 10, 10, 6), "new");
    ASSERT_EQ(doc.texturePool.size(), 3u);
    EXPECT_EQ(textureId(doc, 1), t0);
    EXPECT_EQ(textureId(doc, 2), t1);
    std::set<int> ids = {textureId(doc, 0), textureId(doc, 1), textureId(doc, 2)};
    EXPECT_EQ(ids.size(), 3u);
    expectOneToOne(doc, list);
    // Out of range: nothing.
    doc.insertLayer(7, testlayers::line(0, 0, 1, 1, 5), "x");
    EXPECT_EQ(doc.layerCount(), 3);
}

TEST(Document, SwapExchangesLayersAndSelectsTheMovedOne) {
    HeadlessLayerList list;
    Document doc(list);
    doc.appendLayer(testlayers::line(0, 0, 10, 10, 5), "a");
    doc.appendLayer(testlayers::line(0, 0, 20, 20, 6), "b");
    doc.swapLayers(1, 0);
    EXPECT_EQ(doc.layers[0].maxX, 20);
    EXPECT_EQ(doc.layers[1].maxX, 10);
    EXPECT_EQ(doc.selectedIndex(), 0);
    expectOneToOne(doc, list);
    doc.swapLayers(0, 5);  // not a neighbour inside the list
    EXPECT_EQ(doc.layers[0].maxX, 20);
}

TEST(Document, CheckLayerCountOnlyWarns) {
    HeadlessLayerList list;
    Document doc(list);
    doc.appendLayer(testlayers::line(0, 0, 10, 10, 5), "a");
    EXPECT_TRUE(doc.checkLayerCount());
    list.addCell("stray");
    EXPECT_FALSE(doc.checkLayerCount());
    EXPECT_TRUE(list.logged("", "data and layer size not equal!!!"));
    EXPECT_EQ(doc.layerCount(), 1);
    EXPECT_EQ(list.cellCount(), 2);
}

TEST(Document, OffScreenScale) {
    struct Case {
        int w, h, mode;
        float scale;
    } cases[] = {
        {100, 50, 0, 3.0f},  {100, 50, 1, 3.0f},  {100, 50, 2, 1.0f},  {4096, 10, 0, 0.5f},
        {1000, 10, 0, 2.0f}, {1500, 10, 0, 1.0f}, {4096, 10, 2, 0.5f}, {0, 0, 0, 3.0f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(Document::offScreenScaleFor(c.w, c.h, c.mode), c.scale)
            << c.w << "x" << c.h << " mode " << c.mode;
}

TEST(Document, RenderLogsTheTextureScales) {
    HeadlessLayerList list;
    Document doc(list);
    doc.appendLayer(testlayers::line(0, 0, 100, 50, 5), "a");
    EXPECT_TRUE(list.logged("tex scale", "20.48,40.96"));
    EXPECT_TRUE(list.logged("icon_area: ", "300,150"));
    list.mode = 2;
    doc.renderLayer(0);
    EXPECT_FLOAT_EQ(doc.layers[0].offScreenScale, 1.0f);
}

TEST(Document, NoTextureGivesTheMemoryWarningAndNoRender) {
    HeadlessLayerList list;
    list.failTextures = true;
    Document doc(list);
    doc.appendLayer(testlayers::line(0, 0, 10, 10, 5), "a");
    EXPECT_EQ(list.memoryWarnings, 1);
    EXPECT_EQ(doc.layerTexture(0), nullptr);
    EXPECT_EQ(list.cells[0].text, "a");  // the cell keeps its text
}

TEST(Document, MoreThan256LayersNeverShareATexture) {
    HeadlessLayerList list;
    Document doc(list);
    for (int i = 0; i < 300; ++i)
        doc.appendLayer(testlayers::line(0, 0, 10, 10, 5), "l");
    std::set<LayerTexture*> seen;
    for (int i = 0; i < 300; ++i)
        seen.insert(doc.layerTexture(i));
    EXPECT_EQ(seen.size(), 300u);
    EXPECT_EQ(seen.count(nullptr), 0u);
}

TEST(Document, ClipboardCopiesOnlyValidIndexes) {
    HeadlessLayerList list;
    Document doc(list);
    doc.copyToClipboard(0);
    EXPECT_FALSE(doc.clipboardFull);
    doc.appendLayer(testlayers::line(0, 0, 10, 10, 5), "a");
    doc.copyToClipboard(0);
    EXPECT_TRUE(doc.clipboardFull);
    EXPECT_EQ(doc.clipboardLayer.maxX, 10);
}

}  // namespace
