#include "app/ImageViewDialog.h"

#include <algorithm>

#include "gui/Draw.h"
#include "gui/FileUtils.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Localization.h"
#include "gui/Log.h"
#include "net/GalleryUrl.h"

namespace {

// Geometry in points. The balloon's arrow sits on its top side, so the body begins arrowSize
// below the dialog's top.
constexpr int kInset = 12;
constexpr int kCloseSize = 30;
constexpr int kListTop = kInset + 8 + kCloseSize + 8;
constexpr int kCategoryX = 14, kCategoryW = 200, kCategoryRow = 40;
constexpr int kContentX = 214, kContentW = 250, kContentRow = 36;
constexpr int kPreviewX = 464, kPreviewRight = 14;
constexpr int kPreviewTop = 24;
constexpr int kRowIconX = 12;    // icon's left edge in a row
constexpr int kRowIconBox = 24;  // width kept for the icon, so texts line up
constexpr Uint16 kCloseGlyph = 0xF00D;

const char* const kModule = "ImageViewDialog";

}  // namespace

ImageViewDialog::ImageViewDialog(GUI_View* parent, int y, int w, int h, std::string catalogue,
                                 std::string baseUrl, DownloadStarter startDownload)
    : BalloonDialog(parent, y, w, h),
      catalogue_(std::move(catalogue)),
      baseUrl_(std::move(baseUrl)),
      startDownload_(std::move(startDownload)) {
    arrowSide = ARROW_TOP;
    cornerRadius = 6;
    const SDL_Color white = GUI_White;
    folderIcon_ = GUI_RenderIcon(kFolderIcon, nullptr, nullptr, white, 1);
    imageIcon_ = GUI_RenderIcon(kImageIcon, nullptr, nullptr, white, 1);

    closeButton = new GUI_ButtonFontAwesome(this, kCloseGlyph, w - kInset - 10 - kCloseSize,
                                            kInset + 8, kCloseSize, kCloseSize, kInk, 1,
                                            [this](GUI_ButtonFontAwesome*) { close(); });
    const int listH = std::max(kCategoryRow, h - kListTop - kInset - 12);
    categoryList = new GUI_List(
        this, kCategoryX, kListTop, kCategoryW, listH, kCategoryRow,
        [this](GUI_List*, const char* text, int) { chooseCategory(text ? text : ""); },
        [this](GUI_ListCell* row) { drawRow(row, true); });
    categoryList->noHover = true;
    categoryList->bgColor = kPaper;
    categoryList->borderWidth = 0;

    ofDirectory dir(catalogue_);
    dir.listDir();
    if (dir.size() == 0) {
        GUI_LogError(kModule) << "Directory is empty";
        return;
    }
    dir.sort();
    GUI_Print("Start loop through files\n");
    for (const jsFile& entry : dir.getFiles()) {
        if (!entry.isDirectory())
            continue;
        GUI_Print("Start add cell\n");
        GUI_ListCell* row = categoryList->addCell(entry.getFileName());
        if (row == nullptr)
            continue;
        GUI_Print("Start config cell\n");
        row->bgColor = kPaper;
        row->titleColor = kInk;
        GUI_Print("End config cell\n");
    }
    GUI_Print("End loop through files\n");

    contentList = new GUI_List(
        this, kContentX, kListTop, kContentW, listH, kContentRow,
        [this](GUI_List*, const char*, int index) { chooseEntry(index); },
        [this](GUI_ListCell* row) {
            drawRow(row, row->tag >= 0 && size_t(row->tag) < entries_.size() &&
                             entries_[size_t(row->tag)].folder);
        });
    contentList->noHover = true;
    contentList->bgColor = kPaper;
    contentList->borderWidth = 0;

    const int panelW = std::max(kPreviewSize, w - kPreviewRight - kPreviewX);
    previewPanel = new GUI_View(this, "Preview", kPreviewX, kListTop, panelW, listH, GUI_White);
    previewPanel->borderWidth = 0;
    previewPanel->draggable = false;
    preview = new GUI_Label(previewPanel, "", 0, kPreviewTop, panelW, kPreviewSize + 16, kInk,
                            TITLE_CENTER_H | TITLE_CENTER_V, 0);
    downloadButton =
        new GUI_Button(previewPanel, localizedString("  Download  ").c_str(), 0,
                       kPreviewTop + kPreviewSize + 16 + 24, 0, 36, GUI_White,
                       TITLE_CENTER_H | TITLE_CENTER_V, 0, [this](GUI_Button*) { download(); });
    downloadButton->bgColor = kInk;
    downloadButton->cornerRadius = 4;
    downloadButton->borderWidth = 0;
    downloadButton->set_padding(0, 12, 0, 12);
    downloadButton->set_align_flags(ALIGN_CENTER_H);
    // Nothing to fetch until a thumbnail is chosen.
    downloadButton->disable();
}

ImageViewDialog::~ImageViewDialog() {
    if (folderIcon_)
        SDL_DestroyTexture(folderIcon_);
    if (imageIcon_)
        SDL_DestroyTexture(imageIcon_);
}

void ImageViewDialog::close() {
    BalloonDialog::close();
    if (closed_)
        return;
    closed_ = true;
    if (onClosed)
        onClosed();
}

bool ImageViewDialog::handle_event(SDL_Event* e) {
    if (e->type == SDL_KEYDOWN && e->key.keysym.sym == SDLK_ESCAPE && is_visible() && !closed_) {
        close();
        return true;
    }
    // Laid out for the window it opened in: a new window size closes it, as it does the other
    // overlays. The event goes on to the rest of the window.
    if (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_SIZE_CHANGED && !closed_) {
        close();
        return false;
    }
    return BalloonDialog::handle_event(e);
}

bool ImageViewDialog::entryIsFolder(int index) const {
    return index >= 0 && size_t(index) < entries_.size() && entries_[size_t(index)].folder;
}

void ImageViewDialog::chooseCategory(const std::string& name) {
    if (name.empty())
        return;
    listFolder(jsFilePath::join(catalogue_, name));
}

void ImageViewDialog::listFolder(const std::string& folder) {
    if (contentList == nullptr)
        return;
    contentList->removeAllCells();
    entries_.clear();
    ofDirectory dir(folder);
    dir.allowExt("jpg");
    dir.listDir();
    if (dir.size() == 0) {
        GUI_LogWarning(kModule) << "Directory is empty";
        return;
    }
    dir.sort();
    for (const jsFile& entry : dir.getFiles()) {
        if (!entry.exists())
            continue;
        GUI_ListCell* row = contentList->addCell(entry.getFileName());
        if (row == nullptr)
            continue;
        row->bgColor = kPaper;
        row->titleColor = kInk;
        entries_.push_back({entry.path(), entry.isDirectory()});
    }
}

void ImageViewDialog::chooseEntry(int index) {
    if (index < 0 || size_t(index) >= entries_.size())
        return;
    // A copy: browsing down replaces the entries.
    const Entry entry = entries_[size_t(index)];
    activePath_ = entry.path;
    activeIsFile_ = !entry.folder;
    if (entry.folder) {
        clearPreview();
        listFolder(entry.path);
        return;
    }
    showPreview(entry.path);
}

void ImageViewDialog::showPreview(const std::string& path) {
    if (preview == nullptr)
        return;
    SDL_Texture* texture = GUI_LoadImage(path);
    if (texture == nullptr)
        GUI_LogError(kModule) << "cannot load " << path;
    // The label owns the texture and destroys the one it showed before.
    preview->set_image(texture);
    if (texture) {
        const int side = kPreviewSize * GUI_scale;
        preview->imageRect = {(preview->w - side) / 2, (preview->h - side) / 2, side, side};
    }
    if (downloadButton && !pressed_)
        downloadButton->enable();
}

void ImageViewDialog::clearPreview() {
    if (preview)
        preview->set_image(nullptr);
    if (downloadButton)
        downloadButton->disable();
}

void ImageViewDialog::download() {
    // The first press starts the one download of this dialog; later presses find it closing.
    if (pressed_ || !activeIsFile_)
        return;
    pressed_ = true;
    if (downloadButton)
        downloadButton->disable();
    close();
    GUI_Print("URL base: %s\n", baseUrl_.c_str());
    GUI_Print("activePath: %s\n", activePath_.c_str());
    const std::string path = gallery::cataloguePath(activePath_, catalogue_);
    GUI_Print("basepath: %s\n", path.c_str());
    const std::string url = gallery::designUrl(baseUrl_, activePath_, catalogue_);
    GUI_Print("Path: %s\n", gallery::designPath(activePath_, catalogue_).c_str());
    GUI_Print("URL: %s\n", url.c_str());
    if (url.empty()) {
        GUI_LogError(kModule) << activePath_ << " is not in the catalogue " << catalogue_;
        return;
    }
    if (startDownload_)
        startDownload_(url);
}

void ImageViewDialog::drawRow(GUI_ListCell* row, bool folder) const {
    const int s = GUI_scale;
    const bool selected = row->selected && row->selectable;
    const SDL_Color paper = selected ? kInk : kPaper;
    const SDL_Color ink = selected ? kPaper : kInk;
    GUI_FillRect(0, 0, row->w, row->h, paper);
    // A hairline between rows.
    GUI_FillRect(kRowIconX * s, row->h - 1, row->w - 2 * kRowIconX * s, 1,
                 SDL_Color{0xDD, 0xD8, 0xD4, 0xFF});
    SDL_Texture* icon = folder ? folderIcon_ : imageIcon_;
    int iw = 0, ih = 0;
    if (icon && GUI_renderer && SDL_QueryTexture(icon, nullptr, nullptr, &iw, &ih) == 0) {
        const SDL_Color tint = folder ? kFolderAccent : ink;
        SDL_SetTextureColorMod(icon, tint.r, tint.g, tint.b);
        const SDL_Rect at = {kRowIconX * s + (kRowIconBox * s - iw) / 2, (row->h - ih) / 2, iw, ih};
        SDL_RenderCopy(GUI_renderer, icon, nullptr, &at);
    }
    // The row draws its text after this, in its title colour.
    row->titleColor = ink;
    row->titleRect.x = (kRowIconX + kRowIconBox + 10) * s;
    row->titleRect.y = (row->h - row->titleRect.h) / 2;
}
