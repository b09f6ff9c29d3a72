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

class GUI_View;

// The message box of the gallery (title "Embroidery on Cloud"). Where the system has no message
// box, the text is shown in a modal dialog of the editor's own instead (showMessageInWindow).
void showGalleryMessage(const std::string& text);

// A modal dialog over the veiled window: the title, the text line by line and an OK button that
// closes it. Null without a root view; owned by the view tree.
GUI_View* showMessageInWindow(const std::string& title, const std::string& text);

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

// Main window geometry the gallery is placed by, in points.
constexpr int kGalleryTopBarHeight = 36;
constexpr int kGalleryBottomBarHeight = 20;
constexpr int kGalleryToolboxWidth = 240;

// Opens the gallery over the canvas: the main window's input goes off, and an ImageViewDialog
// at x 0, y = top bar, width W - toolbox, height H - top bar - bottom bar becomes the modal view,
// its arrow pointing at anchorX (window pixels; -1 = the middle of its top side). The catalogue
// is "TMB" in the data folder and the server the one galleryAddress() names. When the dialog
// closes, by any means, the input comes back (endMainWindowOverlay, refreshControls). While a
// gallery dialog is open, a second call returns it instead of opening another. Null without a
// root view.
ImageViewDialog* openGallery(int anchorX = -1);
