// The gallery dialog driven with made-up mouse and key events over a small catalogue in a
// temporary folder: categories, entries and their icons, browsing down, the preview, the one
// download, closing, and the empty catalogue.

#include "app/ImageViewDialog.h"

#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "gui/FileUtils.h"
#include "gui/Log.h"
#include "gui/ToolkitTestFixture.h"

namespace fs = boost::filesystem;

namespace {

// คำอวยพร and สวัสดี in UTF-8, and สวัสดี percent-encoded.
const std::string kWishes =
    "\xE0\xB8\x84\xE0\xB8\xB3\xE0\xB8\xAD\xE0\xB8\xA7\xE0\xB8\xA2\xE0\xB8\x9E\xE0\xB8\xA3";
const std::string kHello =
    "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA\xE0\xB8\x94\xE0\xB8\xB5";
const std::string kWishesUrl = "%E0%B8%84%E0%B8%B3%E0%B8%AD%E0%B8%A7%E0%B8%A2%E0%B8%9E%E0%B8%A3";
const std::string kHelloUrl = "%E0%B8%AA%E0%B8%A7%E0%B8%B1%E0%B8%AA%E0%B8%94%E0%B8%B5";
const std::string kBase = "http://127.0.0.1:8090/g";

void writeJpeg(const fs::path& path, Uint8 r, Uint8 g, Uint8 b) {
    fs::create_directories(path.parent_path());
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_RGBA32);
    ASSERT_NE(s, nullptr);
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, r, g, b, 255));
    ASSERT_EQ(IMG_SaveJPG(s, path.string().c_str(), 90), 0) << SDL_GetError();
    SDL_FreeSurface(s);
}

class GalleryDialog : public ToolkitFixture {
protected:
    void SetUp() override {
        ToolkitFixture::SetUp();
        // The "Directory is empty" lines are checked, whatever an earlier test left the level at.
        savedThreshold = logThreshold;
        logThreshold = 1;
        base = fs::temp_directory_path() / ("mes-gallery-dialog-" + std::to_string(::getpid()));
        fs::remove_all(base);
        catalogue = base / "TMB";
        writeJpeg(catalogue / "Flowers" / "rose 1.jpg", 200, 30, 60);
        writeJpeg(catalogue / "Flowers" / "tulip.jpg", 250, 200, 0);
        writeJpeg(catalogue / "Flowers" / "Wild" / "daisy.jpg", 255, 255, 255);
        std::ofstream((catalogue / "Flowers" / "notes.txt").string()) << "not a thumbnail";
        writeJpeg(catalogue / kWishes / (kHello + ".jpg"), 0, 120, 200);
        fs::create_directories(catalogue / "Empty");
        std::ofstream((catalogue / "readme.txt").string()) << "not a category";
    }
    void TearDown() override {
        ToolkitFixture::TearDown();
        fs::remove_all(base);
        logThreshold = savedThreshold;
    }

    ImageViewDialog* open(const fs::path& folder) {
        auto* d = new ImageViewDialog(GUI_TopView, 0, 800, 300, folder.string(), kBase,
                                      [this](const std::string& url) { urls.push_back(url); });
        d->onClosed = [this] { ++closings; };
        GUI_modalView = d;
        drawFrame();
        return d;
    }
    // Presses and releases the mouse over a row, as the user chooses it.
    static void clickRow(GUI_List* list, int index) {
        drawFrame();
        GUI_ListCell* row = list->getCell(index);
        ASSERT_NE(row, nullptr);
        click((row->x + row->w / 2) / GUI_scale, (row->y + row->h / 2) / GUI_scale);
    }
    static void clickView(GUI_View* v) {
        drawFrame();
        click((v->x + v->w / 2) / GUI_scale, (v->y + v->h / 2) / GUI_scale);
    }
    static std::vector<std::string> titles(const GUI_List* list) {
        std::vector<std::string> out;
        for (int i = 0; i < list->getCount(); ++i)
            out.push_back(list->getCell(i)->title);
        return out;
    }
    // Pixels of a row's icon box close to a colour.
    static int iconPixelsNear(GUI_ListCell* row, SDL_Color c) {
        int n = 0;
        const int s = GUI_scale;
        for (int y = row->y + 4 * s; y < row->y + row->h - 4 * s; ++y)
            for (int x = row->x + 12 * s; x < row->x + 36 * s; ++x) {
                const SDL_Color p = pixel(x, y);
                if (std::abs(p.r - c.r) < 12 && std::abs(p.g - c.g) < 12 &&
                    std::abs(p.b - c.b) < 12)
                    ++n;
            }
        return n;
    }

    fs::path base, catalogue;
    std::vector<std::string> urls;
    int closings = 0;
    int savedThreshold = 1;
};

TEST_F(GalleryDialog, CategoriesAreTheCatalogueFolders) {
    ImageViewDialog* d = open(catalogue);
    ASSERT_NE(d->categoryList, nullptr);
    EXPECT_EQ(titles(d->categoryList), (std::vector<std::string>{"Empty", "Flowers", kWishes}));
    for (int i = 0; i < d->categoryList->getCount(); ++i)
        EXPECT_EQ(d->categoryList->getCell(i)->tag, i);
    EXPECT_EQ(d->contentList->getCount(), 0);
    EXPECT_FALSE(d->downloadButton->is_enabled());
    // Where the parts stand, in points.
    EXPECT_EQ(d->categoryList->relX, 14 * GUI_scale);
    EXPECT_EQ(d->categoryList->w, 200 * GUI_scale);
    EXPECT_EQ(d->contentList->relX, 214 * GUI_scale);
    EXPECT_EQ(d->contentList->w, 250 * GUI_scale);
    EXPECT_EQ(d->previewPanel->relX, 464 * GUI_scale);
    EXPECT_EQ(d->previewPanel->w, (800 - 14 - 464) * GUI_scale);
}

TEST_F(GalleryDialog, ChoosingACategoryListsItsEntriesWithTheirIcons) {
    ImageViewDialog* d = open(catalogue);
    clickRow(d->categoryList, 1);
    EXPECT_EQ(d->categoryList->selectedIndex, 1);
    // Folders and thumbnails, in the listing's order; other files are left out.
    ASSERT_EQ(titles(d->contentList),
              (std::vector<std::string>{"Wild", "rose 1.jpg", "tulip.jpg"}));
    EXPECT_TRUE(d->entryIsFolder(0));
    EXPECT_FALSE(d->entryIsFolder(1));
    EXPECT_FALSE(d->entryIsFolder(2));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(d->contentList->getCell(i)->tag, i);

    // The folder row shows the accent-coloured folder icon, the thumbnail rows the image icon in
    // ink; so does every category row.
    if (haveIconFont()) {
        drawFrame();
        const SDL_Color accent = ImageViewDialog::kFolderAccent;
        EXPECT_GT(iconPixelsNear(d->contentList->getCell(0), accent), 20);
        EXPECT_EQ(iconPixelsNear(d->contentList->getCell(1), accent), 0);
        EXPECT_GT(iconPixelsNear(d->contentList->getCell(1), ImageViewDialog::kInk), 20);
        EXPECT_GT(iconPixelsNear(d->categoryList->getCell(0), accent), 20);
    }
    // A thumbnail row stands for its file in the category's folder.
    clickRow(d->contentList, 1);
    EXPECT_EQ(fs::path(d->activePath()), catalogue / "Flowers" / "rose 1.jpg");

    // Another category replaces the entries.
    clickRow(d->categoryList, 2);
    EXPECT_EQ(titles(d->contentList), (std::vector<std::string>{kHello + ".jpg"}));
}

TEST_F(GalleryDialog, AFolderEntryBrowsesDown) {
    ImageViewDialog* d = open(catalogue);
    clickRow(d->categoryList, 1);
    clickRow(d->contentList, 0);
    EXPECT_EQ(fs::path(d->activePath()), catalogue / "Flowers" / "Wild");
    EXPECT_EQ(titles(d->contentList), (std::vector<std::string>{"daisy.jpg"}));
    EXPECT_FALSE(d->entryIsFolder(0));
    // A folder is nothing to download.
    EXPECT_FALSE(d->downloadButton->is_enabled());
    d->download();
    EXPECT_TRUE(urls.empty());
    EXPECT_FALSE(d->closeRequested);
    // Choosing the category again goes back to its top.
    clickRow(d->categoryList, 1);
    EXPECT_EQ(d->contentList->getCount(), 3);
}

TEST_F(GalleryDialog, AThumbnailIsPreviewedAt128Points) {
    ImageViewDialog* d = open(catalogue);
    clickRow(d->categoryList, 1);
    clickRow(d->contentList, 2);
    EXPECT_EQ(fs::path(d->activePath()), catalogue / "Flowers" / "tulip.jpg");
    ASSERT_NE(d->preview->image, nullptr);
    const int side = ImageViewDialog::kPreviewSize * GUI_scale;
    EXPECT_EQ(d->preview->imageRect.w, side);
    EXPECT_EQ(d->preview->imageRect.h, side);
    EXPECT_EQ(d->preview->imageRect.x, (d->preview->w - side) / 2);
    EXPECT_TRUE(d->downloadButton->is_enabled());
    // Another thumbnail replaces the preview.
    SDL_Texture* first = d->preview->image;
    clickRow(d->contentList, 1);
    EXPECT_NE(d->preview->image, nullptr);
    EXPECT_NE(d->preview->image, first);
}

TEST_F(GalleryDialog, DownloadStartsOnceAndClosesTheDialog) {
    ImageViewDialog* d = open(catalogue);
    clickRow(d->categoryList, 1);
    clickRow(d->contentList, 1);
    clickView(d->downloadButton);
    ASSERT_EQ(urls, (std::vector<std::string>{kBase + "/Flowers/rose%201.pes"}));
    EXPECT_TRUE(d->downloadPressed());
    EXPECT_TRUE(d->closeRequested);
    EXPECT_EQ(closings, 1);
    // A second press, before the dialog is gone, starts nothing.
    click((d->downloadButton->x + 5) / GUI_scale, (d->downloadButton->y + 5) / GUI_scale);
    d->download();
    EXPECT_EQ(urls.size(), 1u);
    EXPECT_EQ(closings, 1);
    // The next draw pass deletes the dialog and the modal view goes with it.
    drawFrame();
    EXPECT_EQ(GUI_modalView, nullptr);
    EXPECT_EQ(GUI_TopView->child_count(), 0);
}

TEST_F(GalleryDialog, AThaiFolderGoesOutAsUpperCaseHexBytes) {
    ImageViewDialog* d = open(catalogue);
    clickRow(d->categoryList, 2);
    clickRow(d->contentList, 0);
    d->download();
    EXPECT_EQ(urls,
              (std::vector<std::string>{kBase + "/" + kWishesUrl + "/" + kHelloUrl + ".pes"}));
}

TEST_F(GalleryDialog, CloseButtonEscapeAndOutsideClicksCloseOnce) {
    ImageViewDialog* d = open(catalogue);
    clickView(d->closeButton);
    EXPECT_TRUE(d->closeRequested);
    d->close();
    EXPECT_EQ(closings, 1);
    drawFrame();

    open(catalogue);
    key(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(closings, 2);
    drawFrame();

    // A click outside a modal dialog closes it too (the window below stays untouched).
    ImageViewDialog* third = open(catalogue);
    third->set_size(300, 200);
    drawFrame();
    click(390, 290);
    EXPECT_EQ(closings, 3);
    EXPECT_TRUE(urls.empty());
}

TEST_F(GalleryDialog, AnEmptyCatalogueShowsOnlyTheCategoryListAndTheCloseButton) {
    for (const fs::path& folder : {base / "nothing here", base / "EmptyTMB"}) {
        fs::create_directories(base / "EmptyTMB");
        testing::internal::CaptureStderr();
        ImageViewDialog* d = open(folder);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("ImageViewDialog: Directory is empty"), std::string::npos) << err;
        EXPECT_NE(d->closeButton, nullptr);
        ASSERT_NE(d->categoryList, nullptr);
        EXPECT_EQ(d->categoryList->getCount(), 0);
        EXPECT_EQ(d->contentList, nullptr);
        EXPECT_EQ(d->downloadButton, nullptr);
        d->chooseCategory("Flowers");
        d->chooseEntry(0);
        d->download();
        EXPECT_TRUE(urls.empty());
        d->close();
        drawFrame();
    }
}

TEST_F(GalleryDialog, AnEmptyCategoryWarns) {
    ImageViewDialog* d = open(catalogue);
    testing::internal::CaptureStdout();
    clickRow(d->categoryList, 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("ImageViewDialog: Directory is empty"), std::string::npos) << out;
    EXPECT_EQ(d->contentList->getCount(), 0);
}

}  // namespace
