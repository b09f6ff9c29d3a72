#include "app/Gallery.h"

#include <vector>

#include "app/AppState.h"
#include "app/Downloader.h"
#include "app/GalleryAddress.h"
#include "app/ImageViewDialog.h"
#include "app/MainWindow.h"
#include "app/MessageBox.h"
#include "design/Document.h"
#include "design/ImportBuffer.h"
#include "gui/FileUtils.h"
#include "gui/Globals.h"
#include "gui/Localization.h"
#include "gui/Log.h"
#include "net/GalleryUrl.h"

namespace {

const char* const kModule = "GUI_Downloader";

// The open gallery dialog, null while none is open (not owning: the view tree owns it).
ImageViewDialog* openDialog = nullptr;

std::string addressOf(const HttpDownload& d) {
    return "http://" + d.host() + ":" + std::to_string(d.port()) + d.path();
}

// Why a finished download gives no design, or "" when it brought bytes to import.
std::string failureText(const HttpDownload& d) {
    using Result = HttpDownload::Result;
    switch (d.result()) {
        case Result::Complete:
        case Result::Running:
            return "";
        case Result::Unreachable:
            return localizedString("The gallery server cannot be reached.") + "\n\n" +
                   addressOf(d) + "\n" + d.error();
        case Result::NotFound:
            return localizedString("This design is not on the gallery server.") + "\n\n" +
                   addressOf(d);
        case Result::HttpError:
            return localizedString("The gallery server did not send the design.") + "\n\n" +
                   addressOf(d) + "\nHTTP " + std::to_string(d.status());
        case Result::TooLarge:
            return localizedString("The download is larger than any design can be.") + "\n\n" +
                   addressOf(d);
        case Result::Broken:
            return localizedString("The download broke off.") + "\n\n" + addressOf(d) + "\n" +
                   d.error();
    }
    return "";
}

void tell(const GalleryAlert& alert, const std::string& text) {
    GUI_LogError(kModule) << text;
    if (alert)
        alert(text);
}

}  // namespace

void showGalleryMessage(const std::string& text) {
    showMessageBox(MessageKind::Warning, localizedString("Embroidery on Cloud"), text);
}

bool importDownloadedDesign(const HttpDownload& download, Document* document,
                            const GalleryAlert& alert) {
    GUI_Print("I'm back\n");
    const std::string failure = failureText(download);
    if (!failure.empty()) {
        tell(alert, failure);
        return false;
    }
    if (download.count() == 0) {
        tell(alert, localizedString("The gallery server sent an empty file.") + "\n\n" +
                        addressOf(download));
        return false;
    }
    GUI_Print("Count: %i\n", int(download.count()));
    const std::vector<uint8_t> bytes = download.bytes();
    GUI_Print("Count: %i\n", int(bytes.size()));
    // As text: up to the first zero byte, which a design file reaches within a few bytes, and
    // cut short like the import's error line, for a page of text can be long.
    GUI_Print("buf: %.256s\n", reinterpret_cast<const char*>(download.buffer()));
    if (document == nullptr) {
        GUI_LogError(kModule) << "no design to import into";
        return false;
    }
    if (document->layerCount() >= maxLayers) {
        tell(alert, localizedString("The design already holds 16 layers; remove one to add "
                                    "another."));
        return false;
    }
    const bool imported = doImportBuffer(*document, bytes);
    if (imported) {
        refreshControls();
    } else {
        tell(alert, localizedString("The download is not an embroidery design.") + "\n\n" +
                        addressOf(download));
    }
    GUI_Print("OK2\n");
    return imported;
}

void startGalleryDownload(const std::string& url) {
    gallery::HttpUrl address;
    if (!gallery::splitHttpUrl(url, address)) {
        tell(showGalleryMessage,
             localizedString("The gallery server cannot be reached.") + "\n\n" + url);
        return;
    }
    GUI_Print("Download %s:%i%s\n", address.host.c_str(), address.port, address.path.c_str());
    GUI_Downloader::start(address.host, address.port, address.path, [](HttpDownload& d) {
        importDownloadedDesign(d, theDocument, showGalleryMessage);
    });
}

ImageViewDialog* openGallery(int anchorX) {
    if (GUI_TopView == nullptr)
        return nullptr;
    if (openDialog != nullptr)
        return openDialog;
    beginMainWindowOverlay();
    const std::string catalogue =
        jsFilePath::join(jsDataPathRoot().string(), gallery::kCatalogueFolder);
    auto* dialog = new ImageViewDialog(GUI_TopView, kTopBarHeight, toolboxLeft(),
                                       GUI_windowHeight - kTopBarHeight - kBottomBarHeight,
                                       catalogue, galleryAddress(), startGalleryDownload);
    dialog->anchorX = anchorX;
    dialog->onClosed = [] {
        openDialog = nullptr;
        endMainWindowOverlay();
        refreshControls();
    };
    // Deleted without closing (the window's end): forget it all the same.
    dialog->destroyCallback = [](GUI_View*) { openDialog = nullptr; };
    GUI_modalView = dialog;
    openDialog = dialog;
    return dialog;
}
