// ImageViewDialog: the cloud gallery's browser. A balloon holding, left to right below its close
// button, the category list (the folders of the catalogue), the content list (the thumbnails and
// sub-folders of the chosen category, browsed down by choosing a folder) and the preview panel
// with the chosen thumbnail at 128 points and the "  Download  " button.
//
// A change of the window size closes it, as it closes the other overlays.
//
// "  Download  " works once: it closes the dialog and hands the chosen design's URL (see
// gallery::designUrl) to the download starter; the download outlives the dialog. The dialog
// knows nothing of the main window: its owner (openGallery) makes it modal and hears of its end
// through onClosed.
//
// Units: constructor positions and sizes in points. Owns its two icon textures; the preview
// texture belongs to the preview label. Main thread only.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/Dialog.h"
#include "gui/IconButton.h"
#include "gui/List.h"

class ImageViewDialog : public BalloonDialog {
public:
    using DownloadStarter = std::function<void(const std::string& url)>;

    // Colours of the rows (0xAARRGGBB in the catalogue's style): ink on paper, the accent for
    // folder icons.
    static constexpr SDL_Color kInk = {0x33, 0x31, 0x2E, 0xFF};
    static constexpr SDL_Color kPaper = {0xF4, 0xF0, 0xEE, 0xFF};
    static constexpr SDL_Color kFolderAccent = {0xF7, 0xC4, 0x58, 0xFF};
    // Icon font glyphs of the rows.
    static constexpr Uint16 kFolderIcon = 0xF07B;
    static constexpr Uint16 kImageIcon = 0xF1C5;
    // The preview's side in points.
    static constexpr int kPreviewSize = 128;

    // catalogue: the thumbnail folder (absolute, UTF-8); baseUrl: the gallery server's base
    // URL; startDownload: called with the design's URL when "  Download  " is pressed.
    ImageViewDialog(GUI_View* parent, int y, int w, int h, std::string catalogue,
                    std::string baseUrl, DownloadStarter startDownload);
    ~ImageViewDialog() override;

    // Closes the dialog (deleted in the next draw pass) and runs onClosed, once.
    void close() override;
    bool handle_event(SDL_Event* e) override;

    // What the lists' selections do; public so that the owner and tests can drive them.
    void chooseCategory(const std::string& name);
    void chooseEntry(int index);
    void download();

    // The path of the chosen entry (file or folder), "" before any.
    const std::string& activePath() const { return activePath_; }
    // Whether content row index is a folder.
    bool entryIsFolder(int index) const;
    bool downloadPressed() const { return pressed_; }

    // Runs once when the dialog closes, by whatever means.
    std::function<void()> onClosed;

    // The parts, null when the catalogue is empty (only the close button and the empty category
    // list are built then). Owned by the dialog's view tree.
    GUI_ButtonFontAwesome* closeButton = nullptr;
    GUI_List* categoryList = nullptr;
    GUI_List* contentList = nullptr;
    GUI_View* previewPanel = nullptr;
    GUI_Label* preview = nullptr;
    GUI_Button* downloadButton = nullptr;

private:
    struct Entry {
        std::string path;
        bool folder = false;
    };

    // Fills the content list with the thumbnails and folders of a folder.
    void listFolder(const std::string& folder);
    void drawRow(GUI_ListCell* row, bool folder) const;
    void showPreview(const std::string& path);
    void clearPreview();

    std::string catalogue_;
    std::string baseUrl_;
    DownloadStarter startDownload_;
    SDL_Texture* folderIcon_ = nullptr;
    SDL_Texture* imageIcon_ = nullptr;
    std::vector<Entry> entries_;
    std::string activePath_;
    bool activeIsFile_ = false;
    bool pressed_ = false;
    bool closed_ = false;
};
