// The main window: top bar, canvas, bottom bar, the toolbox with its Font and Shape panels, the
// effect panel, the layer section and the zoom slider; the overlays' hold on its input; the
// window-size handler.
//
// `ui` is the one home of the named widgets. They are made once by buildMainWindow (start-up) and
// owned by the view tree under GUI_TopView, which GUI_Quit destroys at shutdown; the pointers here
// do not own. Units: points unless noted. Main thread only.
#pragma once

#include <SDL.h>

class GUI_Button;
class GUI_ButtonFontAwesome;
class GUI_Dialog;
class GUI_Dropdown;
class GUI_EditText;
class GUI_Label;
class GUI_List;
class GUI_Slider;
class GUI_SliderHorizontal;
class GUI_ToolBar;
class GUI_View;

// Fixed sizes of the main window's regions.
constexpr int kTopBarHeight = 36;
constexpr int kBottomBarHeight = 20;
constexpr int kToolboxWidth = 240;
constexpr int kFontCount = 15;

struct MainWindowWidgets {
    GUI_View* root = nullptr;
    GUI_ToolBar* topBar = nullptr;
    GUI_View* mainView = nullptr;
    GUI_ToolBar* bottomBar = nullptr;
    GUI_Dialog* toolbox = nullptr;
    GUI_SliderHorizontal* zoomSlider = nullptr;

    // Top bar.
    GUI_Button* menuButton = nullptr;
    GUI_Button* galleryButton = nullptr;
    GUI_Button* toolboxToggle = nullptr;

    // Bottom bar.
    GUI_Label* statusLabel = nullptr;
    GUI_Label* versionLabel = nullptr;

    // Toolbox tabs and the two panels (each a transparent view over the toolbox's top part).
    GUI_ToolBar* tabBar = nullptr;
    GUI_Button* fontTab = nullptr;
    GUI_Button* shapeTab = nullptr;
    GUI_View* fontPanel = nullptr;
    GUI_View* shapePanel = nullptr;
    bool fontPanelActive = true;

    // Font panel.
    GUI_EditText* typingBox = nullptr;
    GUI_Dropdown* fontDropdown = nullptr;
    GUI_Dropdown* sizeDropdowns[kFontCount] = {};
    GUI_Dropdown* colorDropdown = nullptr;
    GUI_Button* emoticonButton = nullptr;
    GUI_Button* borderButton = nullptr;
    GUI_ButtonFontAwesome* alignLeftButton = nullptr;
    GUI_ButtonFontAwesome* alignCenterButton = nullptr;
    GUI_ButtonFontAwesome* alignRightButton = nullptr;
    GUI_ButtonFontAwesome* verticalFlipButton = nullptr;
    GUI_ButtonFontAwesome* horizontalFlipButton = nullptr;
    GUI_ButtonFontAwesome* letterMinusButton = nullptr;
    GUI_ButtonFontAwesome* letterPlusButton = nullptr;
    GUI_ButtonFontAwesome* wordMinusButton = nullptr;
    GUI_ButtonFontAwesome* wordPlusButton = nullptr;

    // Shape panel.
    GUI_Dropdown* shapeDropdown = nullptr;
    GUI_EditText* widthBox = nullptr;
    GUI_EditText* heightBox = nullptr;
    GUI_Slider* widthSlider = nullptr;
    GUI_Slider* heightSlider = nullptr;
    GUI_EditText* lineWidthBox = nullptr;
    GUI_EditText* densityBox = nullptr;
    GUI_ButtonFontAwesome* lineWidthMinusButton = nullptr;
    GUI_ButtonFontAwesome* lineWidthPlusButton = nullptr;
    GUI_ButtonFontAwesome* densityMinusButton = nullptr;
    GUI_ButtonFontAwesome* densityPlusButton = nullptr;
    GUI_Button* replaceButton = nullptr;
    GUI_Button* createButton = nullptr;

    // Effect panel.
    GUI_View* effectPanel = nullptr;
    GUI_Button* effectButton = nullptr;
    GUI_Dropdown* baseLineDropdown = nullptr;
    GUI_Label* radiusLabel = nullptr;
    GUI_Label* angleLabel = nullptr;
    GUI_Label* rotateLabel = nullptr;
    GUI_Slider* radiusSlider = nullptr;
    GUI_Slider* angleSlider = nullptr;
    GUI_Slider* rotateSlider = nullptr;
    bool effectPanelExpanded = true;

    // Layer section: send backward, bring forward, merge down, add text, duplicate, delete.
    GUI_Label* layersLabel = nullptr;
    GUI_ToolBar* layerToolBar = nullptr;
    GUI_ButtonFontAwesome* layerButtons[6] = {};
    GUI_List* layerList = nullptr;

    // The open main menu, null while closed.
    GUI_List* mainMenu = nullptr;

    // The toolbox slides out of the window while hidden.
    bool toolboxHidden = false;
};

extern MainWindowWidgets ui;

enum LayerButton {
    kSendBackwardButton,
    kBringForwardButton,
    kMergeDownButton,
    kAddTextButton,
    kDuplicateButton,
    kDeleteButton
};

// Builds every widget of the main window under a new GUI_TopView and installs the callbacks, in
// the order of the window's regions (root, top bar, canvas, bottom bar, top bar items, toolbox
// with its panels, effect panel, layer section, zoom slider).
void buildMainWindow();

// The application's hook, which sees every event before the views: a press anywhere outside the
// open menu closes it (a press on the menu button only closes it, so that the button toggles the
// menu), and the keyboard shortcuts. Returns whether it consumed the event. buildMainWindow
// installs it; the main loop is handed it again when it starts.
bool mainWindowEventHook(SDL_Event* e);

// The status and version labels on the bottom bar, the status filled at once.
void buildStatusLabels();

// The start-up selections, raised as if the user had made them (font 0, thread colour 10, base
// line 0), then refreshControls.
void applyInitialSelections();

// Recomputes which controls are shown and enabled from the design and the selection. Every
// action that changes the design or the selection calls it afterwards.
void refreshControls();

// The window-size handler: bars, toolbox, slider, layer section and canvas follow the new size;
// every layer is rendered again.
void relayout();

// Overlays (the file dialogs, the settings dialog, the gallery, the emoticon balloon) take the
// main window's input while they are up: the top bar, the canvas, the toolbox and the zoom slider
// stop taking input. The end gives it back, closes an open main menu, and draws the gallery
// button normally again (enabled while the design has room for another layer).
void beginMainWindowOverlay();
void endMainWindowOverlay();

// Gives the top bar, canvas, toolbox and zoom slider input or not, by the overlays that are up
// and the open menu.
void applyMainWindowInput();

// Closes the main menu when it is open.
void closeMainMenu();

// Translates again the captions that follow a language change at once (the effect panel and the
// "Layers" label); the rest of the main window follows at the next start.
void retranslateMainWindow();

// The Font or Shape panel becomes the active one, as a press on its tab would.
void showFontPanel();
void showShapePanel();

// The toolbox's left edge in points (W - 240 while shown, up to W while hidden).
int toolboxLeft();

// Colours written as 0xRRGGBB.
constexpr SDL_Color rgb(unsigned hex, Uint8 alpha = 255) {
    return SDL_Color{Uint8(hex >> 16), Uint8(hex >> 8), Uint8(hex), alpha};
}
