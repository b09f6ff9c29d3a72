// The cloud gallery as the editor uses it: opening the gallery dialog over the canvas, and the
// import of a finished download as a new layer.
//
// The main window's gallery button calls openGallery(); the dialog takes the main window's input
// while it is up (beginMainWindowOverlay / endMainWindowOverlay) and a design that arrives is
// imported through doImportBuffer into theDocument, followed by refreshControls. A download that
// fails, or brings something that is not a design, is explained in a message box.
// Main thread only.
#pragma once

#include <functional>
#include <string>

class Document;
class HttpDownload;
class ImageViewDialog;

// Tells the user why nothing was imported; the editor shows a message box.
using GalleryAlert = std::function<void(const std::string& text)>;

// The message box of the gallery (title "Embroidery on Cloud"), a warning through showMessageBox.
void showGalleryMessage(const std::string& text);

// What a finished download means for the design: the bytes of a complete download become a new
// topmost layer of `document` through doImportBuffer (a PES file or a "#MIVO" buffer), followed
// by refreshControls. Nothing is imported, and `alert` explains why, when the download failed
// (server unreachable, status other than 2xx, broken off, too large), brought an empty body or
// bytes that are no design, or the design already holds maxLayers layers. A null document only
// logs. Returns whether a layer was added.
bool importDownloadedDesign(const HttpDownload& download, Document* document,
                            const GalleryAlert& alert);

// Starts the download of a design URL; its end runs importDownloadedDesign on theDocument with
// showGalleryMessage. An address that cannot be used is reported the same way.
void startGalleryDownload(const std::string& url);

// Opens the gallery over the canvas: the main window's input goes off, and an ImageViewDialog
// at x 0, y = kTopBarHeight, width toolboxLeft(), height H - kTopBarHeight - kBottomBarHeight
// (MainWindow.h) becomes the modal view, its arrow pointing at anchorX (window pixels; -1 = the
// middle of its top side). The catalogue is "TMB" in the data folder and the server the one
// galleryAddress() names. When the dialog closes, by any means, the input comes back
// (endMainWindowOverlay, refreshControls). While a gallery dialog is open, a second call returns
// it instead of opening another. Null without a root view.
ImageViewDialog* openGallery(int anchorX = -1);
