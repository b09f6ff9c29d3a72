// The document path and the window title; a project or PES design named at start.

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include "app/DocumentFile.h"
#include "app/EditorTestFixture.h"
#include "design/DocumentTestLayers.h"
#include "design/PESExport.h"
#include "design/ProjectFile.h"

namespace fs = boost::filesystem;

namespace {

TEST(WindowTitle, NamesTheFileWholeAfterItsFolder) {
    EXPECT_EQ(windowTitleFor(""), "MES - Mivo Embroidery System");
    EXPECT_EQ(windowTitleFor("D:\\x\\Design.MPES"), "Design.MPES - Mivo Embroidery System");
    EXPECT_EQ(windowTitleFor("/home/u/a.mpes"), "a.mpes - Mivo Embroidery System");
    // A long Thai name keeps every character: no title is ever cut inside one.
    std::string thai;
    for (int i = 0; i < 40; ++i)
        thai += "\xE0\xB8\x81";  // ก
    EXPECT_EQ(windowTitleFor("/d/" + thai + ".mpes"), thai + ".mpes - Mivo Embroidery System");
}

using DocumentFile = EditorFixture;

TEST_F(DocumentFile, AProjectOpensWithItsTitleAndADesignImportsUntitled) {
    const fs::path dir = fs::temp_directory_path() / fs::unique_path("mes-doc-%%%%-%%%%");
    fs::create_directories(dir);
    doc().appendLayer(testlayers::line(0, 0, 150, 100, 5), "a");
    doc().appendLayer(testlayers::line(-50, 5, 100, 200, 6), "b");
    const std::string project = (dir / "Design.MPES").string();
    ASSERT_TRUE(saveProject(doc(), project, 100, 100));
    // A design in a folder with a Thai name ("ลาย", pattern).
    const fs::path thaiDir = dir / "\xE0\xB8\xA5\xE0\xB8\xB2\xE0\xB8\xA2";
    fs::create_directories(thaiDir);
    const std::string design = (thaiDir / "rose.PES").string();
    {
        const std::vector<uint8_t> pes = writePES5(doc().layers[0], 100, 100);
        FILE* f = fopen(design.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fwrite(pes.data(), 1, pes.size(), f);
        fclose(f);
    }
    newDesign();
    EXPECT_STREQ(SDL_GetWindowTitle(GUI_window), "MES - Mivo Embroidery System");

    ASSERT_TRUE(loadMPESW(project));
    EXPECT_EQ(doc().layerCount(), 2);
    EXPECT_EQ(currentOpenFile, project);
    EXPECT_EQ(currentOpenPath, dir.string());
    EXPECT_STREQ(SDL_GetWindowTitle(GUI_window), "Design.MPES - Mivo Embroidery System");
    EXPECT_FALSE(doc().history.canUndo());

    EXPECT_FALSE(loadMPESW((dir / "notes.txt").string()));
    EXPECT_EQ(doc().layerCount(), 2);

    // An import adds the design on top and leaves the title and the path alone.
    ASSERT_TRUE(importPESW(design));
    EXPECT_EQ(doc().layerCount(), 3);
    EXPECT_EQ(doc().layers[2].properties.type, kLayerPES);
    EXPECT_EQ(currentOpenFile, project);
    EXPECT_STREQ(SDL_GetWindowTitle(GUI_window), "Design.MPES - Mivo Embroidery System");
    EXPECT_EQ(doc().history.undoName(), "Import");
    doc().history.undo();
    EXPECT_EQ(doc().layerCount(), 2);
    EXPECT_FALSE(importPESW((dir / "missing.pes").string()));
    EXPECT_FALSE(importPESW(project));
    // Failed imports leave the history as it was.
    EXPECT_FALSE(doc().history.canUndo());
    EXPECT_EQ(doc().history.redoName(), "Import");
    fs::remove_all(dir);
}

}  // namespace
