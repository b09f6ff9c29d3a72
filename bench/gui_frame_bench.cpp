// One full frame of a window with about a hundred views (labels, buttons, icon buttons, switches,
// sliders, text fields, a drop-down and a list), drawn with SDL's software renderer under the
// dummy video driver: the cost of redrawing the whole tree, which the toolkit does every frame.
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gui/Button.h"
#include "gui/Draw.h"
#include "gui/DropDown.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/IconButton.h"
#include "gui/Label.h"
#include "gui/List.h"
#include "gui/Slider.h"
#include "gui/Switch.h"
#include "gui/TextField.h"
#include "gui/ToolBar.h"
#include "gui/Toolkit.h"
#include "gui/View.h"

namespace {

bool setUp() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || TTF_Init() != 0)
        return false;
    // The fonts come from the copy of data/ beside the executable.
    const std::string kData = GUI_GetResourcePath();
    GUI_windowWidth = 1024;
    GUI_windowHeight = 673;
    GUI_window = SDL_CreateWindow("bench", 0, 0, 1024, 673, SDL_WINDOW_HIDDEN);
    GUI_renderer = GUI_window ? SDL_CreateRenderer(GUI_window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    if (!GUI_renderer)
        return false;
    const int points[3] = {14, 18, 11};
    for (int i = 0; i < 3; ++i)
        GUI_fonts[i] = TTF_OpenFont((kData + "NotoSansLatinThaiJP.ttf").c_str(), points[i]);
    const int iconPoints[3] = {16, 18, 36};
    for (int i = 0; i < 3; ++i)
        GUI_iconFonts[i] = TTF_OpenFont((kData + "fontawesome-webfont.ttf").c_str(), iconPoints[i]);
    GUI_InitShapeTextures();
    return true;
}

// About a hundred views: a tool bar with buttons, and four columns of widgets.
int buildTree() {
    GUI_TopView = new GUI_View(nullptr, "Top", 0, 0, 1024, 673, {240, 240, 240, 255});
    GUI_TopView->layoutMode = LAYOUT_COLUMN;
    auto* bar = new GUI_ToolBar(GUI_TopView, TOOLBAR_TOP, 44);
    for (int i = 0; i < 8; ++i)
        bar->add_button("Tool " + std::to_string(i), "", i, 0, true);
    auto* body = new GUI_View(GUI_TopView, "body", 0, 0, -1, -1, GUI_NoColor);
    body->layoutMode = LAYOUT_ROW;
    std::vector<std::string> items;
    for (int i = 0; i < 20; ++i)
        items.push_back("Item " + std::to_string(i));
    for (int c = 0; c < 4; ++c) {
        auto* col = new GUI_View(body, "col", 0, 0, 250, -1, GUI_NoColor);
        col->layoutMode = LAYOUT_COLUMN;
        col->set_padding(4, 4, 4, 4);
        new GUI_Label(col, "Heading \xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA", 0, 0, 0, 0,
                      GUI_Black, 0, 1);
        for (int i = 0; i < 4; ++i) {
            auto* b = new GUI_Button(col, "Button", 0, 0, 0, 26, GUI_Black, 0x10, 0);
            b->bgColor = GUI_White;
            b->cornerRadius = 4;
        }
        for (int i = 0; i < 3; ++i)
            new GUI_ButtonFontAwesome(col, 0xF0C7, 0, 0, 38, 26, GUI_Black, 0);
        new GUI_Switch(col, 0, 0, 39, 24, GUI_White);
        new GUI_Slider(col, 0, 0, 200, 20, 0.4f, 8);
        new GUI_EditText(col, "Text", 0, 0, 200, 0, GUI_Black, 0, 0);
        new GUI_Dropdown(col, "Choose", items, 0, 0, 200, 30, GUI_Black);
        auto* list = new GUI_List(col, items, 0, 0, 200, 150, 25, nullptr);
        list->selectIndex(2);
    }
    int count = 0;
    std::vector<GUI_View*> stack = {GUI_TopView};
    while (!stack.empty()) {
        GUI_View* v = stack.back();
        stack.pop_back();
        ++count;
        for (GUI_View* c : v->children)
            stack.push_back(c);
    }
    return count;
}

void BM_FullFrame(benchmark::State& state) {
    static const bool ready = setUp();
    if (!ready) {
        state.SkipWithError("no SDL window or renderer");
        return;
    }
    const int views = buildTree();
    SDL_Event draw{};
    draw.type = GUI_EVENT_DRAW;
    for (auto _ : state) {
        SDL_RenderSetViewport(GUI_renderer, nullptr);
        SDL_RenderSetClipRect(GUI_renderer, nullptr);
        SDL_SetRenderDrawColor(GUI_renderer, 100, 149, 237, 255);
        SDL_RenderClear(GUI_renderer);
        GUI_DispatchEvent(&draw);
        SDL_RenderPresent(GUI_renderer);
    }
    state.counters["views"] = views;
    delete GUI_TopView;
    GUI_TopView = nullptr;
}
BENCHMARK(BM_FullFrame)->Unit(benchmark::kMillisecond);

}  // namespace
