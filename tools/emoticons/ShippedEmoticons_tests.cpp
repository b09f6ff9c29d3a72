// The emoticons shipped in data/Emoticon: every design in every size is a PES file our reader
// takes, has the documented size, stays within the stitch aims and composes into a layer through
// the undo history; the thumbnails are PNG pictures of their size; the quality report meets its
// aims.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "DesignFigures.h"
#include "EmoticonSet.h"
#include "design/Document.h"
#include "design/HeadlessLayerList.h"
#include "design/commands/ImportCommand.h"

namespace {

const std::string kRoot = std::string(MES_SOURCE_DIR) + "/data/Emoticon/";

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string designPath(int n, int size) {
    return kRoot + "PES/" + emoticons::kSizes[size].folder + "/" + std::to_string(n) + ".pes";
}

}  // namespace

TEST(ShippedEmoticons, EveryDesignLoadsHasItsSizeAndMeetsTheStitchAims) {
    for (int n = 1; n <= emoticons::kCount; ++n)
        for (int size = 0; size < 3; ++size) {
            SCOPED_TRACE(designPath(n, size));
            std::vector<uint8_t> bytes = readFile(designPath(n, size));
            ASSERT_FALSE(bytes.empty());
            PESData layer;
            ASSERT_TRUE(ImportCommand::layerFromPES(bytes, layer, nullptr));
            const emoticons::Figures f = emoticons::figuresOf(layer);
            const double side = std::max(f.width, f.height);
            EXPECT_NEAR(side, emoticons::kSizes[size].mm, 1.0);
            EXPECT_GE(f.shortest, 0.3 - 1e-9);
            EXPECT_LE(layer.colorList.size(), 8u);
            EXPECT_GE(layer.colorList.size(), 1u);
            if (size == 1) {
                EXPECT_LT(layer.stitchCount, 12000);
            }
            // Centred on the origin, as the editor places an imported design.
            EXPECT_LE(std::abs(layer.centerX), 1);
            EXPECT_LE(std::abs(layer.centerY), 1);
        }
}

TEST(ShippedEmoticons, ADesignComposesIntoALayerThroughTheUndoHistory) {
    for (int size = 0; size < 3; ++size) {
        HeadlessLayerList list;
        Document doc(list);
        const std::vector<uint8_t> bytes = readFile(designPath(13, size));
        ASSERT_TRUE(execute(doc, std::make_shared<ImportBufferCommand>(doc, bytes)));
        ASSERT_EQ(doc.layerCount(), 1);
        EXPECT_GT(doc.layers[0].stitchCount, 500);
        EXPECT_EQ(doc.selectedIndex(), 0);
        EXPECT_EQ(list.cells.size(), 1u);
        doc.history.undo();
        EXPECT_EQ(doc.layerCount(), 0);
    }
}

TEST(ShippedEmoticons, ThumbnailsArePicturesOfTheLargeDesigns) {
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (int n = 1; n <= emoticons::kCount; ++n)
        for (int scale = 1; scale <= 2; ++scale) {
            const std::string path = kRoot + "PNG128/Large/" + std::to_string(n) +
                                     (scale == 2 ? "@2x.png" : ".png");
            SCOPED_TRACE(path);
            std::vector<uint8_t> png = readFile(path);
            ASSERT_GT(png.size(), 24u);
            EXPECT_TRUE(std::equal(signature, signature + 8, png.begin()));
            auto be32 = [&](std::size_t at) {
                return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
            };
            EXPECT_EQ(be32(16), 128 * scale);  // IHDR width
            EXPECT_EQ(be32(20), 128 * scale);  // IHDR height
        }
}

TEST(ShippedEmoticons, QualityReportMeetsItsAimsAndReadmeListsTheSet) {
    std::vector<uint8_t> bytes = readFile(kRoot + "QUALITY.txt");
    const std::string report(bytes.begin(), bytes.end());
    std::smatch m;
    ASSERT_TRUE(std::regex_search(
        report, m,
        std::regex("all 147 designs: coverage min ([0-9.]+)  outside max ([0-9.]+)  stitch "
                   "([0-9.]+)\\.\\.[0-9.]+ mm  run max ([0-9.]+) mm  Medium stitches max ([0-9]+)"
                   "  colour runs max ([0-9]+)  off the aims: ([0-9]+)")));
    EXPECT_GE(std::stod(m[1]), 0.95);
    EXPECT_LE(std::stod(m[2]), 0.03);
    EXPECT_GE(std::stod(m[3]), 0.3);
    EXPECT_LE(std::stod(m[4]), 4.0);
    EXPECT_LT(std::stoi(m[5]), 12000);
    EXPECT_LE(std::stoi(m[6]), 8);
    EXPECT_EQ(std::stoi(m[7]), 0);

    bytes = readFile(kRoot + "README.md");
    const std::string readme(bytes.begin(), bytes.end());
    for (int i = 0; i < emoticons::kCount; ++i) {
        char row[64];
        std::snprintf(row, sizeof row, "| %d | U+%04X |", i + 1, emoticons::kSet[i].codePoint);
        EXPECT_NE(readme.find(row), std::string::npos) << row;
    }
    EXPECT_NE(readme.find("CC-BY 4.0"), std::string::npos);
    EXPECT_FALSE(readFile(kRoot + "licences/twemoji-colr-font.LICENSE").empty());
}
