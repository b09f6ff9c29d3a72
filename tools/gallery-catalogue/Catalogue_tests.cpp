// The committed gallery catalogue (data/TMB and gallery/) and the pieces that make it.

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "design/PESExport.h"
#include "design/commands/ImportCommand.h"
#include "tools/gallery-catalogue/Designs.h"
#include "tools/gallery-catalogue/MivoBuffer.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSource = MES_SOURCE_DIR;

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

// Relative paths without extension of the files with `extension` below a folder.
std::set<std::string> entries(const fs::path& root, const std::string& extension) {
    std::set<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (e.is_regular_file() && e.path().extension() == extension) {
            fs::path rel = fs::relative(e.path(), root);
            rel.replace_extension();
            out.insert(rel.u8string());
        }
    }
    return out;
}

bool hasThai(const std::string& text) {
    return text.find("\xE0\xB8") != std::string::npos || text.find("\xE0\xB9") != std::string::npos;
}

TEST(GalleryCatalogue, EveryThumbnailHasItsDesignAndTheEditorImportsIt) {
    const fs::path thumbs = kSource / "data" / "TMB";
    const fs::path designs = kSource / "gallery";
    const std::set<std::string> jpgs = entries(thumbs, ".jpg");
    const std::set<std::string> pes = entries(designs, ".pes");
    EXPECT_EQ(jpgs, pes);
    EXPECT_GE(jpgs.size(), 60u);

    std::set<std::string> categories;
    bool thaiFolder = false, spaceInName = false, subFolder = false;
    for (const auto& e : fs::directory_iterator(thumbs)) {
        if (!e.is_directory())
            continue;
        categories.insert(e.path().filename().u8string());
        thaiFolder |= hasThai(e.path().filename().u8string());
        for (const auto& inner : fs::directory_iterator(e.path()))
            subFolder |= inner.is_directory();
    }
    for (const std::string& name : jpgs)
        spaceInName |= fs::u8path(name).filename().u8string().find(' ') != std::string::npos;
    EXPECT_GE(categories.size(), 4u);
    EXPECT_TRUE(thaiFolder);
    EXPECT_TRUE(spaceInName);
    EXPECT_TRUE(subFolder);

    int mivo = 0, plain = 0;
    for (const std::string& name : pes) {
        const std::vector<uint8_t> bytes = readFile(designs / fs::u8path(name + ".pes"));
        PESData layer;
        const bool isMivo =
            bytes.size() > 5 && std::string(bytes.begin(), bytes.begin() + 5) == "#MIVO";
        const bool ok = isMivo ? ImportCommand::layerFromMIVO(bytes, layer, nullptr)
                               : ImportCommand::layerFromPES(bytes, layer, nullptr);
        EXPECT_TRUE(ok) << name;
        EXPECT_GT(layer.stitchCount, 0) << name;
        (isMivo ? mivo : plain) += 1;

        SDL_Surface* thumb = IMG_Load((thumbs / fs::u8path(name + ".jpg")).c_str());
        ASSERT_NE(thumb, nullptr) << name;
        EXPECT_EQ(thumb->w, 256) << name;
        EXPECT_EQ(thumb->h, 256) << name;
        SDL_FreeSurface(thumb);
    }
    EXPECT_GE(mivo, 3);
    EXPECT_GE(plain, 50);
}

TEST(GalleryCatalogue, MivoBufferGivesTheStitchesOfThePesFile) {
    const std::vector<PESData> layers = {
        catalogue::shape(8, 5.0f, 5.0f, 0.4f, 5),
        catalogue::shape(2, 4.0f, 4.0f, 0.4f, 7, 45.0f),
        catalogue::merge({catalogue::shape(8, 6.0f, 6.0f, 0.3f, 11),
                          catalogue::shape(1, 4.0f, 3.5f, 0.3f, 12),
                          catalogue::shape(2, 2.0f, 2.0f, 0.3f, 11)}),
    };
    for (const PESData& layer : layers) {
        PESData viaPes, viaMivo;
        ASSERT_TRUE(ImportCommand::layerFromPES(writePES(layer, 5, 100, 100), viaPes, nullptr));
        const std::vector<uint8_t> mivo = catalogue::mivoBuffer(layer);
        ASSERT_GT(mivo.size(), 7u);
        EXPECT_EQ(std::string(mivo.begin(), mivo.begin() + 5), "#MIVO");
        EXPECT_EQ(mivo[5] + 1u, viaPes.colorList.size());
        ASSERT_TRUE(ImportCommand::layerFromMIVO(mivo, viaMivo, nullptr));
        EXPECT_EQ(viaMivo.stitchCount, viaPes.stitchCount);
        EXPECT_EQ(viaMivo.colorList, viaPes.colorList);
        EXPECT_EQ(viaMivo.boundsWidth, viaPes.boundsWidth);
        EXPECT_EQ(viaMivo.boundsHeight, viaPes.boundsHeight);
    }
    EXPECT_TRUE(catalogue::mivoBuffer(PESData()).empty());
}

TEST(GalleryCatalogue, StackedLinesDoNotOverlap) {
    const PESData top = catalogue::shape(2, 4.0f, 1.0f, 0.3f, 5);
    const PESData bottom = catalogue::shape(8, 2.0f, 2.0f, 0.3f, 7);
    const PESData both = catalogue::stack({top, bottom}, 30);
    EXPECT_EQ(both.boundsHeight, top.boundsHeight + bottom.boundsHeight + 30);
    EXPECT_EQ(both.boundsWidth, std::max(top.boundsWidth, bottom.boundsWidth));
    EXPECT_EQ(both.stitchCount, top.stitchCount + bottom.stitchCount);
    EXPECT_EQ(both.colorList.size(), 2u);
}

}  // namespace
