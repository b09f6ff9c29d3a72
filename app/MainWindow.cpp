// Section index:
//   the widgets' home and the build order
//   top bar, bottom bar, zoom slider
//   toolbox toggle and its slide
//   window-size changes
//   overlays and language changes
#include "app/MainWindow.h"

#include <string>

#include "app/AppState.h"
#include "app/Canvas.h"
#include "app/EffectPanel.h"
#include "app/LayerSection.h"
#include "app/MainMenu.h"
#include "app/Platform.h"
#include "app/Shortcuts.h"
#include "app/StatusLine.h"
#include "app/Toolbox.h"
#include "app/WidgetHelpers.h"
#include "app/WindowState.h"
#include "design/Document.h"
#include "design/StitchRenderer.h"
#include "gui/Button.h"
#include "gui/Dialog.h"
#include "gui/DropDown.h"
#include "gui/Globals.h"
#include "gui/Label.h"
#include "gui/List.h"
#include "gui/Localization.h"
#include "gui/Log.h"
#include "gui/Slider.h"
#include "gui/ToolBar.h"
#include "gui/Toolkit.h"

MainWindowWidgets ui;

namespace {

// Overlays can stack (a message box over a dialog); the main window takes input again only when
// the last one ends. The open menu also takes the toolbox's and the zoom slider's input.
int overlayDepth = 0;

constexpr Uint16 kIconMenu = 0xF0C9;
constexpr Uint16 kIconGallery = 0xF0ED;
constexpr Uint16 kIconToolboxShown = 0xF03C;
constexpr Uint16 kIconToolboxHidden = 0xF03B;
constexpr Uint16 kIconZoomOut = 0xF010;
constexpr Uint16 kIconZoomIn = 0xF00E;

// ---- window-size changes and moves; presses that close the menu ----

bool rootWindowEvent(GUI_View*, SDL_Event* e) {
    if (e->type != SDL_WINDOWEVENT)
        return false;
    if (e->window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        relayout();
        captureWindowState(GUI_window, prefPath);
    } else if (e->window.event == SDL_WINDOWEVENT_MOVED) {
        captureWindowState(GUI_window, prefPath);
    }
    return false;
}

}  // namespace

bool mainWindowEventHook(SDL_Event* e) {
    if (e->type == SDL_MOUSEBUTTONDOWN && ui.mainMenu && ui.mainMenu->is_visible()) {
        int x = 0, y = 0;
        GUI_EventPosition(e, &x, &y);
        if (!ui.mainMenu->hit_test(x, y, false)) {
            const bool onMenuButton = ui.menuButton->hit_test(x, y, false) != nullptr;
            closeMainMenu();
            return onMenuButton;
        }
    }
    return handleShortcut(e);
}

namespace {

// ---- top bar, bottom bar, zoom slider ----

GUI_Button* topBarItem(const std::string& caption, Uint16 icon, int align,
                       std::function<void()> action) {
    auto* b = new GUI_Button(ui.topBar, caption.c_str(), 0, 0, 0, 32, GUI_White, TITLE_CENTER_V, 0,
                             [action](GUI_Button*) { action(); });
    b->bgColor = GUI_NoColor;
    b->highlightColor = rgb(0x338DFB);
    b->set_padding(0, 6, 0, 6);
    b->set_image(iconTexture(icon, 1));
    b->set_margin(0, 10, 0, 10);
    b->set_align_flags(align | ALIGN_CENTER_V);
    return b;
}

void toggleToolbox() {
    ui.toolboxHidden = !ui.toolboxHidden;
    ui.toolboxToggle->set_image(
        iconTexture(ui.toolboxHidden ? kIconToolboxHidden : kIconToolboxShown, 1));
}

void buildTopBarItems() {
    ui.menuButton = topBarItem("", kIconMenu, 0, openMainMenu);
    ui.galleryButton =
        topBarItem(localizedString("Embroidery on Cloud"), kIconGallery, 0, openGalleryOverlay);
    ui.toolboxToggle = topBarItem("", kIconToolboxShown, ALIGN_RIGHT, toggleToolbox);
}

void buildZoomSlider() {
    const int W = GUI_windowWidth;
    ui.zoomSlider = new GUI_SliderHorizontal(ui.root, W - 295, 72, 50, 320, initialZoomValue(), 10);
    ui.zoomSlider->set_align_flags(ALIGN_ABSOLUTE);
    ui.zoomSlider->trackColor = rgb(0x707070);
    ui.zoomSlider->set_end_images(iconTexture(kIconZoomIn, 1), iconTexture(kIconZoomOut, 1));
    ui.zoomSlider->onChange = [](GUI_Slider*, float v) { setZoomFromSlider(v); };
    setZoomFromSlider(ui.zoomSlider->get_value());
}

// ---- toolbox slide ----

// Runs in every draw pass of the toolbox: slides it towards the window's right edge while hidden
// and back while shown, 1.5 pixels per millisecond of the last frame (at least 16 ms).
bool toolboxDrawPass(GUI_View* box, SDL_Event* e) {
    if (e->type != GUI_EVENT_DRAW)
        return false;
    GUI_frameTime = std::max(GUI_frameTime, 16);
    const int step = static_cast<int>(GUI_frameTime * 1.5);
    const int rightEdge = GUI_windowWidth * GUI_scale;
    int dx = 0;
    if (ui.toolboxHidden && box->x < rightEdge)
        dx = std::min(step, rightEdge - box->x);
    else if (!ui.toolboxHidden && box->x > rightEdge - box->w)
        dx = -std::min(step, box->x - (rightEdge - box->w));
    if (dx != 0) {
        box->move_by(dx, 0);
        ui.zoomSlider->move_by(dx, 0);
    }
    return false;
}

}  // namespace

// ---- build ----

void buildMainWindow() {
    const int W = GUI_windowWidth, H = GUI_windowHeight;
    ui = MainWindowWidgets();
    overlayDepth = 0;

    ui.root = new GUI_View(nullptr, "GUI", 0, 0, -1, -1, rgb(0x6495ED));
    GUI_TopView = ui.root;
    ui.root->set_margin(0, 0, 0, 0);
    ui.root->set_size(W, H);
    ui.root->borderWidth = 0;
    ui.root->draggable = false;
    ui.root->eventHandler = rootWindowEvent;

    ui.topBar = new GUI_ToolBar(ui.root, TOOLBAR_TOP, kTopBarHeight);
    ui.topBar->bgColor = rgb(0x182539);
    ui.topBar->set_padding(0, 0, 0, 0);

    buildCanvas();

    ui.bottomBar = new GUI_ToolBar(ui.root, TOOLBAR_BOTTOM, kBottomBarHeight);
    ui.bottomBar->bgColor = rgb(0xE3E3E3);
    ui.bottomBar->borderColor = rgb(0xA0A0A0);
    ui.bottomBar->borderWidth = 1;

    buildTopBarItems();

    ui.toolbox = new GUI_Dialog(ui.root, "Toolbox", kTopBarHeight, kToolboxWidth,
                                H - kTopBarHeight - kBottomBarHeight);
    ui.toolbox->move_by((W - kToolboxWidth) * GUI_scale - ui.toolbox->relX, 0);
    ui.toolbox->bgColor = rgb(0xEEF0F4);
    ui.toolbox->draggable = false;
    ui.toolbox->eventHandler = toolboxDrawPass;
    buildToolbox();
    buildEffectPanel();
    buildLayerSection();
    buildZoomSlider();

    ui.root->update_layout();
    GUI_eventHook = mainWindowEventHook;
}

void buildStatusLabels() {
    const SDL_Color grey = {120, 120, 120, 255};
    ui.statusLabel = new GUI_Label(ui.bottomBar, "", 0, 0, 0, 0, grey, TITLE_CENTER_V, 2);
    ui.statusLabel->set_align_flags(ALIGN_CENTER_V);
    const std::string version = std::string("Version: ") + kEditorVersion;
    ui.versionLabel =
        new GUI_Label(ui.bottomBar, version.c_str(), 0, 0, 0, 0, grey, TITLE_CENTER_V, 2);
    ui.versionLabel->set_align_flags(ALIGN_RIGHT | ALIGN_CENTER_V);
    updateStatus();
}

void applyInitialSelections() {
    ui.fontDropdown->select(0, true);
    ui.colorDropdown->select(10, true);
    ui.baseLineDropdown->select(0, true);
    refreshControls();
}

int toolboxLeft() {
    return ui.toolbox ? ui.toolbox->x / GUI_scale : GUI_windowWidth - kToolboxWidth;
}

// ---- window-size changes ----

void relayout() {
    const int oldW = GUI_drawableWidth;
    GUI_UpdateScale();
    const int W = GUI_windowWidth, H = GUI_windowHeight;
    const int dw = GUI_drawableWidth - oldW;
    closeMainMenu();

    ui.root->set_size(W, H);
    ui.topBar->set_size(W, kTopBarHeight);
    ui.bottomBar->set_size(W, kBottomBarHeight);
    // The toolbox never gets a negative height, however small the window.
    const int boxH = std::max(0, H - kTopBarHeight - kBottomBarHeight);
    ui.toolbox->move_by(dw, 0);
    ui.zoomSlider->move_by(dw, 0);
    ui.toolbox->set_size(kToolboxWidth, boxH);
    ui.toolbox->hSpec = boxH;
    ui.mainView->set_size(W, boxH);
    ui.mainView->wSpec = W;
    ui.mainView->hSpec = boxH;
    ui.root->update_layout();
    ui.layerToolBar->relY = ui.toolbox->h - ui.layerToolBar->h;
    ui.layerToolBar->y = ui.toolbox->y + ui.layerToolBar->relY;
    ui.layerToolBar->update_layout();
    fitLayerList();

    if (theDocument) {
        theDocument->statusDirty = true;
        stitchrender::dropStitchSprites();
        for (int i = 0; i < theDocument->layerCount(); ++i)
            theDocument->renderLayer(i);
    }
}

// ---- overlays and language changes ----

void applyMainWindowInput() {
    const bool free = overlayDepth == 0;
    setTakesInput(ui.topBar, free);
    setTakesInput(ui.mainView, free);
    setTakesInput(ui.toolbox, free && ui.mainMenu == nullptr);
    setTakesInput(ui.zoomSlider, free && ui.mainMenu == nullptr);
}

void beginMainWindowOverlay() {
    ++overlayDepth;
    applyMainWindowInput();
}

void endMainWindowOverlay() {
    overlayDepth = std::max(0, overlayDepth - 1);
    closeMainMenu();
    applyMainWindowInput();
    if (overlayDepth > 0 || !ui.galleryButton)
        return;
    // The gallery button loses the pressed look and follows the "room for a layer" rule again.
    ui.galleryButton->pressed = false;
    refreshControls();
}

void retranslateMainWindow() {
    if (!ui.effectButton)
        return;
    ui.effectButton->set_text(localizedString("Effect"));
    ui.radiusLabel->set_text(localizedString("Radius :"));
    ui.angleLabel->set_text(localizedString("Angle :"));
    ui.rotateLabel->set_text(localizedString("Rotate :"));
    ui.layersLabel->set_text(localizedString("Layers"));
}
