// Text layers built through the pack cache from an in-memory fixture pack.

#include <gtest/gtest.h>

#include "design/TextLayer.h"
#include "formats/ThreadPalette.h"
#include "stitchfont/FontSizes.h"
#include "stitchfont/TestPack.h"

namespace {

class TextLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Font 0, size step 3 is letter height 10.
        data.files[stitchfont::packPath(0, 3)] =
            testpack::pack({{0x41, 40, 80}, {0xA1, 41, 100}, {0xD4, 47, 0}});
        data.put("MIVO_FONTS/MIVOFONT_001/10/config.plist",
                 testpack::plist({{"InterCharacter", 7}, {"LineHeight", 500}}));
        env = data.env();
    }

    testpack::MemoryData data;
    FontEnv env;
};

TEST_F(TextLayerTest, ComposesCentresAndColours) {
    PESData layer;
    layer.properties.colorIndex = 4;
    ASSERT_TRUE(createTextLayer(layer, "AกA", 0, 3, 0, 0, env));
    ASSERT_FALSE(layer.blocks.empty());
    EXPECT_EQ(layer.blocks[0].colorIndex, 5);
    EXPECT_EQ(layer.blocks[0].color, threadColor(5));
    EXPECT_EQ(layer.properties.text, "AกA");
    EXPECT_EQ(layer.properties.fontSizeIndex, 3);
    // The composed line is 80 + 14 + 100 + 14 + 80 = 288 wide, centred on x = 0 and standing on
    // the baseline; the layer drops the stitch before the end marker (the last advance).
    EXPECT_EQ(layer.boundsWidth, 208);
    EXPECT_EQ(layer.minX, -144);
    EXPECT_EQ(layer.maxY, 0);
    EXPECT_EQ(layer.minY, -41);
    EXPECT_TRUE(data.logged("1|PESData::createFromText|create new pack"));

    const int reads = data.reads;
    PESData second;
    ASSERT_TRUE(createTextLayer(second, "A", 0, 3, 0, 0, env));
    EXPECT_EQ(data.reads, reads);
    EXPECT_TRUE(data.logged("1|PESData::createFromText|load pack from cache"));
}

TEST_F(TextLayerTest, ExtraLetterSpaceWidensTheLine) {
    PESData layer;
    ASSERT_TRUE(createTextLayer(layer, "AA", 0, 3, 6, 0, env));
    EXPECT_EQ(layer.boundsWidth, 80 + 14 + 6);  // up to the last glyph's origin
}

TEST_F(TextLayerTest, MissingSizeFolderKeepsTheBlocks) {
    PESData layer;
    ASSERT_TRUE(createTextLayer(layer, "A", 0, 3, 0, 0, env));
    const std::vector<StitchBlock> before = layer.blocks;
    // Font 3 has no fourth size: folder 00, which does not exist.
    EXPECT_FALSE(createTextLayer(layer, "A", 3, 3, 0, 0, env));
    EXPECT_TRUE(
        data.logged("3|SmartFontPack|load packMIVO_FONTS/MIVOFONT_004/00/stitch.pack fail"));
    ASSERT_EQ(layer.blocks.size(), before.size());
    EXPECT_EQ(layer.blocks[0].stitches, before[0].stitches);

    PESData empty;
    EXPECT_FALSE(createTextLayer(empty, "A", 3, 3, 0, 0, env));
    EXPECT_TRUE(empty.blocks.empty());
}

TEST_F(TextLayerTest, AnEmojiDoesNotWipeOutTheText) {
    PESData layer;
    ASSERT_TRUE(createTextLayer(layer,
                                "A\xF0\x9F\x98\x80"
                                "A",
                                0, 3, 0, 0, env));
    EXPECT_EQ(layer.boundsWidth, 80 + 14);
    PESData only;
    EXPECT_FALSE(createTextLayer(only, "\xF0\x9F\x98\x80", 0, 3, 0, 0, env));
    EXPECT_TRUE(only.blocks.empty());
}

TEST_F(TextLayerTest, OtherKindsAreResetToTextProperties) {
    PESData layer;
    layer.properties.type = kLayerPES;
    layer.properties.typeName = "PES Stitch";
    layer.properties.colorIndex = 70;
    layer.properties.radiusValue = 3.0f;
    layer.properties.extraSpace = 9;
    layer.properties.rotateValue = 0.25f;
    createTextLayer(layer, "A", 0, 3, 0, 0, env);
    EXPECT_EQ(layer.properties.type, kLayerText);
    EXPECT_EQ(layer.properties.typeName, "Font Stitch");
    EXPECT_EQ(layer.properties.colorIndex, 0);
    EXPECT_EQ(layer.properties.radiusValue, 0.5f);
    EXPECT_EQ(layer.properties.extraSpace, 0);
    EXPECT_EQ(layer.properties.rotateValue, 0.25f);
    ASSERT_FALSE(layer.blocks.empty());
    EXPECT_EQ(layer.blocks[0].colorIndex, 1);
}

}  // namespace
