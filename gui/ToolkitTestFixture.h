// Test fixture for the widget tests: a hidden window with a software renderer under SDL's dummy
// video driver, the toolkit globals set for a given pixel scale, a root view, the text and icon
// fonts when the font files are there, and helpers that feed made-up SDL events through the
// toolkit's dispatch and read pixels back.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>

#include "gui/Draw.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Toolkit.h"
#include "gui/View.h"

class ToolkitFixture : public ::testing::Test {
protected:
    // Window size in points; the drawable is scale times as large.
    static constexpr int kWidth = 400, kHeight = 300;

    void SetUp() override { setUpWithScale(1); }

    void setUpWithScale(int scale) {
        tearDownToolkit();
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        if (!SDL_WasInit(SDL_INIT_VIDEO)) {
            ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        }
        if (!TTF_WasInit()) {
            ASSERT_EQ(TTF_Init(), 0);
        }
        GUI_scale = scale;
        GUI_mouseScale = static_cast<float>(scale);
        GUI_windowWidth = kWidth;
        GUI_windowHeight = kHeight;
        GUI_drawableWidth = kWidth * scale;
        GUI_drawableHeight = kHeight * scale;
        GUI_window = SDL_CreateWindow("test", 0, 0, GUI_drawableWidth, GUI_drawableHeight,
                                      SDL_WINDOW_HIDDEN);
        ASSERT_NE(GUI_window, nullptr) << SDL_GetError();
        GUI_renderer = SDL_CreateRenderer(GUI_window, -1, SDL_RENDERER_SOFTWARE);
        ASSERT_NE(GUI_renderer, nullptr) << SDL_GetError();
        loadFonts();
        GUI_TopView = new GUI_View(nullptr, "Top", 0, 0, kWidth, kHeight, GUI_White);
        GUI_TopView->borderWidth = 0;
    }

    void TearDown() override { tearDownToolkit(); }

    void tearDownToolkit() {
        delete GUI_TopView;
        GUI_TopView = nullptr;
        GUI_modalView = nullptr;
        GUI_closeModalOnOutsideClick = true;
        GUI_mouseCapture = nullptr;
        GUI_postedEvents.clear();
        GUI_eventHook = nullptr;
        SDLSmartTexture::clear();
        GUI_FreeShapeTextures();
        for (TTF_Font*& f : GUI_fonts) {
            if (f)
                TTF_CloseFont(f);
            f = nullptr;
        }
        GUI_CloseIconFonts();
        if (GUI_renderer)
            SDL_DestroyRenderer(GUI_renderer);
        if (GUI_window)
            SDL_DestroyWindow(GUI_window);
        GUI_renderer = nullptr;
        GUI_window = nullptr;
        GUI_scale = 1;
        GUI_mouseScale = 1.0f;
    }

    void loadFonts() {
        const std::string text = std::string(MES_SOURCE_DIR) + "/data/NotoSansLatinThaiJP.ttf";
        const std::string icons = std::string(MES_SOURCE_DIR) + "/data/fontawesome-webfont.ttf";
        const int points[3] = {14, 18, 11};
        for (int i = 0; i < 3; ++i)
            GUI_fonts[i] = TTF_OpenFont(text.c_str(), points[i] * GUI_scale);
        const int iconPoints[3] = {16, 18, 36};
        for (int i = 0; i < 3; ++i)
            GUI_iconFonts[i] = TTF_OpenFont(icons.c_str(), iconPoints[i] * GUI_scale);
    }

    static bool haveTextFont() { return GUI_fonts[0] != nullptr; }
    static bool haveIconFont() { return GUI_iconFonts[0] != nullptr; }

    // ---- events (positions in window points, as SDL delivers them) ----

    static void send(SDL_Event& e) { GUI_DispatchEvent(&e); }

    static SDL_Event button(Uint32 type, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = x;
        e.button.y = y;
        return e;
    }
    static void press(int x, int y) {
        SDL_Event e = button(SDL_MOUSEBUTTONDOWN, x, y);
        send(e);
    }
    static void release(int x, int y) {
        SDL_Event e = button(SDL_MOUSEBUTTONUP, x, y);
        send(e);
    }
    static void move(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        send(e);
    }
    static void click(int x, int y) {
        press(x, y);
        release(x, y);
    }
    static void wheel(int x, int y, int amount) {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = amount;
        e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
#if SDL_VERSION_ATLEAST(2, 26, 0)
        e.wheel.mouseX = x;
        e.wheel.mouseY = y;
#endif
        send(e);
    }
    static void key(SDL_Scancode code) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.scancode = code;
        e.key.keysym.sym = SDL_GetKeyFromScancode(code);
        send(e);
    }
    static void typeText(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        SDL_strlcpy(e.text.text, utf8, sizeof(e.text.text));
        send(e);
    }

    // One draw pass over the whole tree (without presenting, so pixels can be read back).
    static void drawFrame() {
        SDL_RenderSetViewport(GUI_renderer, nullptr);
        SDL_RenderSetClipRect(GUI_renderer, nullptr);
        SDL_SetRenderDrawColor(GUI_renderer, 100, 149, 237, 255);
        SDL_RenderClear(GUI_renderer);
        SDL_Event e{};
        e.type = GUI_EVENT_DRAW;
        GUI_DispatchEvent(&e);
    }

    // The pixel at drawable coordinates (x, y) as r, g, b, a.
    static SDL_Color pixel(int x, int y) {
        SDL_RenderSetViewport(GUI_renderer, nullptr);
        SDL_RenderSetClipRect(GUI_renderer, nullptr);
        Uint32 value = 0;
        const SDL_Rect r = {x, y, 1, 1};
        SDL_RenderReadPixels(GUI_renderer, &r, SDL_PIXELFORMAT_ARGB8888, &value, 4);
        return {static_cast<Uint8>(value >> 16), static_cast<Uint8>(value >> 8),
                static_cast<Uint8>(value), static_cast<Uint8>(value >> 24)};
    }
    // The darkest channel value inside a rectangle (drawable pixels).
    static int darkest(const SDL_Rect& r) {
        int best = 255;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) {
                const SDL_Color c = pixel(x, y);
                best = std::min(
                    {best, static_cast<int>(c.r), static_cast<int>(c.g), static_cast<int>(c.b)});
            }
        return best;
    }
};

class ToolkitFixtureScale2 : public ToolkitFixture {
protected:
    void SetUp() override { setUpWithScale(2); }
};

inline bool operator==(const SDL_Color& a, const SDL_Color& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}
inline bool operator!=(const SDL_Color& a, const SDL_Color& b) {
    return !(a == b);
}
inline std::ostream& operator<<(std::ostream& os, const SDL_Color& c) {
    return os << "rgba(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << "," << int(c.a)
              << ")";
}
