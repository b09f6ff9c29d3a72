// Test fixture that builds the real main window in-process: a hidden window under SDL's dummy
// driver, the translations, the main window with its document, the status line and the first
// selections, exactly as start-up makes them. Tests drive it with made-up SDL events at window
// points and read the document, the history and the widgets back.
#pragma once

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Canvas.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/StatusLine.h"
#include "design/Document.h"
#include "design/ShapeLayer.h"
#include "design/commands/CreateShapeCommand.h"
#include "gui/Dialog.h"
#include "gui/FileUtils.h"
#include "gui/Globals.h"
#include "gui/Localization.h"
#include "gui/Log.h"
#include "gui/Toolkit.h"
#include "gui/View.h"

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override { startEditor(1024, 673); }
    void TearDown() override { stopEditor(); }

    // Window size in points.
    void startEditor(int w, int h) {
        stopEditor();
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        logThreshold = 5;
        if (!SDL_WasInit(SDL_INIT_VIDEO)) {
            ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER), 0) << SDL_GetError();
        }
        if (!TTF_WasInit()) {
            ASSERT_EQ(TTF_Init(), 0);
        }
        static bool toolkitReady = false;
        if (!toolkitReady) {
            IMG_Init(0);
            ASSERT_EQ(GUI_Init(), 0);
            toolkitReady = true;
        }
        GUI_windowPlacementHook = [w, h](const SDL_DisplayMode&) { return SDL_Rect{0, 0, w, h}; };
        ASSERT_NE(GUI_CreateWindow(), nullptr);
        GUI_postedEvents.clear();
        defaultWorkingDirectory = jsFilePath::getCurrentWorkingDirectory();
        currentLanguage = "en";
        for (const char* code : {"en", "th", "jp"})
            loadLocalizableStrings(code);
        settings = Settings();
        canvas = CanvasState();
        // Window-size changes save the window state there: never into the working directory.
        prefPath = (boost::filesystem::temp_directory_path() / "mes-editor-tests/").string();
        boost::filesystem::create_directories(prefPath);
        currentOpenFile.clear();
        currentOpenPath.clear();
        stickConnected = false;
        stitchWarningShown = false;
        warnings.clear();
        showStitchWarning = [this](const std::string& title, const std::string&) {
            warnings.push_back(title);
        };
        buildEditorWindow();
        createSharedTextures();
        running = true;
        frame();
    }

    void stopEditor() {
        if (!running)
            return;
        running = false;
        releaseEditor();
        GUI_eventHook = nullptr;
        GUI_modalView = nullptr;
        GUI_mouseCapture = nullptr;
        GUI_closeModalOnOutsideClick = true;
        GUI_Quit();
        GUI_TopView = nullptr;
        ui = MainWindowWidgets();  // the widgets went with the window
        GUI_postedEvents.clear();
    }

    Document& doc() { return *theDocument; }

    // ---- events at window points ----

    static void send(SDL_Event& e) { GUI_DispatchEvent(&e); }
    static void mouse(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.x = x;
            e.motion.y = y;
            e.motion.state = SDL_BUTTON_LMASK;
        } else {
            e.button.button = button;
            e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.button.x = x;
            e.button.y = y;
        }
        send(e);
    }
    static void press(int x, int y) { mouse(SDL_MOUSEBUTTONDOWN, x, y); }
    static void release(int x, int y) { mouse(SDL_MOUSEBUTTONUP, x, y); }
    static void move(int x, int y) { mouse(SDL_MOUSEMOTION, x, y); }
    static void click(int x, int y) {
        press(x, y);
        release(x, y);
        frame();
    }
    static void key(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
        e.key.keysym.mod = mod;
        send(e);
        frame();
    }
    static void typeText(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        SDL_strlcpy(e.text.text, utf8, sizeof(e.text.text));
        send(e);
        frame();
    }
    static void windowResized(int w, int h) {
        SDL_SetWindowSize(GUI_window, w, h);
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
        e.window.data1 = w;
        e.window.data2 = h;
        send(e);
        frame();
    }
    // One frame: delivers a posted event, draws and presents, without the pacing delay.
    static void frame() { GUI_RunFrame(); }

    // A point of the toolbox given as its layout table gives it (relative to the toolbox).
    static SDL_Point inToolbox(int x, int y) {
        return {ui.toolbox->x / GUI_scale + x, ui.toolbox->y / GUI_scale + y};
    }
    static void clickInToolbox(int x, int y) {
        const SDL_Point p = inToolbox(x, y);
        click(p.x, p.y);
    }
    // The centre of a widget in window points.
    static SDL_Point centreOf(const GUI_View* v) {
        return {(v->x + v->w / 2) / GUI_scale, (v->y + v->h / 2) / GUI_scale};
    }
    static void clickOn(const GUI_View* v) {
        const SDL_Point p = centreOf(v);
        click(p.x, p.y);
    }

    // ---- layers ----

    // A shape layer made through the Shape panel's command (a 5 x 5 cm rectangle by default).
    void addShape(int shapeIndex = 2, float widthCm = 5.0f, float heightCm = 5.0f) {
        const LayerProperties p =
            shapes::shapeProperties(shapeIndex, widthCm, heightCm, 0.2f, 0.4f, 10);
        execute(doc(), std::make_shared<CreateShapeCommand>(doc(), shapes::buildShapeLayer(p)));
        refreshControls();
        frame();
    }

    std::vector<std::string> warnings;
    bool running = false;
};
