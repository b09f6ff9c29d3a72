// widget-gallery: shows every toolkit widget in its states, one column per interface language.
//
//   widget-gallery                       interactive window
//   widget-gallery --screenshot out.png  draws a few frames, writes the window to a PNG, exits
//   widget-gallery --scale 2 ...         pretends to be on a display of twice the density (the
//                                        window gets twice as many pixels for the same points)
//
// Some states (pressed button, open drop-down, focused field) are produced by feeding made-up
// mouse events through the toolkit's dispatch, as a user's clicks would.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gui/Button.h"
#include "gui/Dialog.h"
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

struct Captions {
    const char* language;
    const char* button;
    const char* pressed;
    const char* disabled;
    const char* field;
    const char* greeting;
    const char* choose;
    std::vector<std::string> items;
    const char* dialogText;
    const char* ok;
};

const Captions kCaptions[3] = {
    {"English",
     "Button",
     "Pressed",
     "Disabled",
     "Text field",
     "Hello",
     "Choose a font",
     {"Sans", "Serif", "Script", "---", "Outline", "Bold"},
     "Save changes?",
     "OK"},
    {"\xE0\xB8\xA0\xE0\xB8\xB2\xE0\xB8\xA9\xE0\xB8\xB2\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2",
     "\xE0\xB8\x9B\xE0\xB8\xB8\xE0\xB9\x88\xE0\xB8\xA1",
     "\xE0\xB8\x81\xE0\xB8\x94\xE0\xB8\xAD\xE0\xB8\xA2\xE0\xB8\xB9\xE0\xB9\x88",
     "\xE0\xB8\x9B\xE0\xB8\xB4\xE0\xB8\x94\xE0\xB9\x83\xE0\xB8\x8A\xE0\xB9\x89\xE0\xB8\x87\xE0"
     "\xB8\xB2\xE0\xB8\x99",
     "\xE0\xB8\x8A\xE0\xB9\x88\xE0\xB8\xAD\xE0\xB8\x87\xE0\xB8\x82\xE0\xB9\x89\xE0\xB8\xAD\xE0"
     "\xB8\x84\xE0\xB8\xA7\xE0\xB8\xB2\xE0\xB8\xA1",
     "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA\xE0\xB8\x94\xE0\xB8\xB5\xE0\xB8\x84\xE0"
     "\xB8\xA3\xE0\xB8\xB1\xE0\xB8\x9A",
     "\xE0\xB9\x80\xE0\xB8\xA5\xE0\xB8\xB7\xE0\xB8\xAD\xE0\xB8\x81\xE0\xB9\x81\xE0\xB8\x9A\xE0"
     "\xB8\x9A\xE0\xB8\xAD\xE0\xB8\xB1\xE0\xB8\x81\xE0\xB8\xA9\xE0\xB8\xA3",
     {"\xE0\xB8\x95\xE0\xB8\xB1\xE0\xB8\xA7\xE0\xB8\x9E\xE0\xB8\xB4\xE0\xB8\xA1\xE0\xB8\x9E\xE0"
      "\xB9\x8C",
      "\xE0\xB8\x95\xE0\xB8\xB1\xE0\xB8\xA7\xE0\xB9\x80\xE0\xB8\x82\xE0\xB8\xB5\xE0\xB8\xA2\xE0"
      "\xB8\x99",
      "\xE0\xB8\xA5\xE0\xB8\xB2\xE0\xB8\xA2\xE0\xB8\xA1\xE0\xB8\xB7\xE0\xB8\xAD", "---",
      "\xE0\xB9\x80\xE0\xB8\xAA\xE0\xB9\x89\xE0\xB8\x99\xE0\xB8\x82\xE0\xB8\xAD\xE0\xB8\x9A",
      "\xE0\xB8\x95\xE0\xB8\xB1\xE0\xB8\xA7\xE0\xB8\xAB\xE0\xB8\x99\xE0\xB8\xB2"},
     "\xE0\xB8\x9A\xE0\xB8\xB1\xE0\xB8\x99\xE0\xB8\x97\xE0\xB8\xB6\xE0\xB8\x81\xE0\xB8\x87\xE0"
     "\xB8\xB2\xE0\xB8\x99\xE0\xB9\x84\xE0\xB8\xAB\xE0\xB8\xA1?",
     "\xE0\xB8\x95\xE0\xB8\x81\xE0\xB8\xA5\xE0\xB8\x87"},
    {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
     "\xE3\x83\x9C\xE3\x82\xBF\xE3\x83\xB3",
     "\xE6\x8A\xBC\xE4\xB8\x8B\xE4\xB8\xAD",
     "\xE7\x84\xA1\xE5\x8A\xB9",
     "\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9\xE3\x83\x88",
     "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF",
     "\xE3\x83\x95\xE3\x82\xA9\xE3\x83\xB3\xE3\x83\x88\xE3\x82\x92\xE9\x81\xB8\xE6\x8A\x9E",
     {"\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF", "\xE6\x98\x8E\xE6\x9C\x9D",
      "\xE6\x89\x8B\xE6\x9B\xB8\xE3\x81\x8D", "---",
      "\xE3\x82\xA2\xE3\x82\xA6\xE3\x83\x88\xE3\x83\xA9\xE3\x82\xA4\xE3\x83\xB3",
      "\xE5\xA4\xAA\xE5\xAD\x97"},
     "\xE5\xA4\x89\xE6\x9B\xB4\xE3\x82\x92\xE4\xBF\x9D\xE5\xAD\x98\xE3\x81\x97\xE3\x81\xBE\xE3"
     "\x81\x99\xE3\x81\x8B?",
     "OK"},
};

// Everything lives in points from here on.
GUI_View* row(GUI_View* parent, int h) {
    auto* v = new GUI_View(parent, "row", 0, 0, -1, h, GUI_NoColor);
    v->borderWidth = 0;
    v->draggable = false;
    v->layoutMode = LAYOUT_ROW;
    v->set_margin(4, 0, 4, 0);
    return v;
}

GUI_Button* button(GUI_View* parent, const char* text) {
    auto* b = new GUI_Button(parent, text, 0, 0, 0, 30, GUI_Black, TITLE_CENTER_V, 0, nullptr);
    b->bgColor = GUI_White;
    b->borderWidth = 1;
    b->cornerRadius = 4;
    b->highlightColor = {51, 141, 251, 96};
    b->set_padding(0, 8, 0, 8);
    b->set_margin(0, 6, 0, 0);
    return b;
}

struct Column {
    GUI_Button* pressed = nullptr;
    GUI_EditText* field = nullptr;
    GUI_Dropdown* dropdown = nullptr;
};

Column buildColumn(GUI_View* parent, const Captions& c, int index) {
    Column out;
    auto* col = new GUI_View(parent, c.language, 0, 0, 330, -1, GUI_NoColor);
    col->borderWidth = 0;
    col->draggable = false;
    col->layoutMode = LAYOUT_COLUMN;
    col->set_padding(6, 8, 6, 8);

    auto* heading = new GUI_Label(col, c.language, 0, 0, 0, 0, GUI_Black, 0, 1);
    heading->set_margin(0, 0, 4, 0);

    GUI_View* buttons = row(col, 34);
    button(buttons, c.button);
    out.pressed = button(buttons, c.pressed);
    button(buttons, c.disabled)->disable();

    GUI_View* icons = row(col, 30);
    const Uint16 glyphs[4] = {0xF0C7, 0xF0C4, 0xF1F8, 0xF013};
    for (int i = 0; i < 4; ++i) {
        auto* ib = new GUI_ButtonFontAwesome(icons, glyphs[i], 0, 0, 38, 26, GUI_Black, 0);
        ib->set_margin(0, 6, 0, 0);
        if (i == 2)
            ib->pressed = true;
        if (i == 3)
            ib->clickable = false;
    }

    GUI_View* switches = row(col, 30);
    new GUI_Switch(switches, 0, 0, 39, 24, GUI_White, nullptr);
    auto* on = new GUI_Switch(switches, 0, 0, 39, 24, GUI_White, nullptr);
    on->state = true;
    on->set_margin(0, 0, 0, 10);

    auto* slider = new GUI_Slider(col, 0, 0, 250, 24, 0.3f + 0.2f * index, 9);
    slider->fillMode = GUI_Slider::FILL_LEFT;
    slider->set_margin(4, 0, 4, 0);

    out.field = new GUI_EditText(col, c.greeting, 0, 0, 250, 0, GUI_Black, 0, 0);
    out.field->set_margin(4, 0, 4, 0);
    auto* password = new GUI_EditText(col, c.field, 0, 0, 250, 0, GUI_Black, 0, 0);
    password->set_password_mode(true);
    password->set_margin(4, 0, 4, 0);

    out.dropdown = new GUI_Dropdown(col, c.choose, c.items, 0, 0, 250, 36, GUI_Black);
    out.dropdown->set_margin(4, 0, 4, 0);
    if (index == 1) {
        static const SDL_Color swatches[64] = {{230, 40, 40, 255},  {40, 160, 60, 255},
                                               {40, 90, 220, 255},  {0, 0, 0, 0},
                                               {240, 180, 20, 255}, {120, 40, 160, 255}};
        out.dropdown->set_colors(swatches);
        out.dropdown->select(1, false);
    }

    auto* list = new GUI_List(col, c.items, 0, 0, 250, 100, 25, nullptr, 0);
    list->bgColor = GUI_White;
    list->set_margin(4, 0, 4, 0);
    list->selectIndex(index == 2 ? 4 : 1);
    if (GUI_ListCell* cell = list->getCell(2))
        cell->selectable = false;
    return out;
}

void sendButton(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    GUI_DispatchEvent(&e);
}

// Window points of a view's centre.
SDL_Point centreOf(const GUI_View* v) {
    const float m = GUI_mouseScale > 0 ? GUI_mouseScale : 1.0f;
    return {static_cast<int>((v->x + v->w / 2) / m), static_cast<int>((v->y + v->h / 2) / m)};
}

void drawFrame() {
    SDL_RenderSetViewport(GUI_renderer, nullptr);
    SDL_RenderSetClipRect(GUI_renderer, nullptr);
    SDL_SetRenderDrawColor(GUI_renderer, 100, 149, 237, 255);
    SDL_RenderClear(GUI_renderer);
    if (!GUI_postedEvents.empty()) {
        GUI_PostedEvent p = GUI_postedEvents.front();
        GUI_postedEvents.pop_front();
        SDL_Event e{};
        e.user.type = p.type;
        e.user.code = p.code;
        e.user.data1 = p.data1;
        GUI_DispatchEvent(&e);
    }
    SDL_Event draw{};
    draw.type = GUI_EVENT_DRAW;
    GUI_DispatchEvent(&draw);
}

bool saveScreenshot(const char* path) {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(GUI_renderer, &w, &h);
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s)
        return false;
    SDL_RenderSetViewport(GUI_renderer, nullptr);
    const bool ok = SDL_RenderReadPixels(GUI_renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, s->pixels,
                                         s->pitch) == 0 &&
                    IMG_SavePNG(s, path) == 0;
    SDL_FreeSurface(s);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const char* screenshot = nullptr;
    int scale = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            screenshot = argv[++i];
        } else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
            scale = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: %s [--screenshot out.png] [--scale N]\n", argv[0]);
            return 2;
        }
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0 || TTF_Init() != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    IMG_Init(IMG_INIT_PNG);
    GUI_Init();
    if (!GUI_CreateWindow()) {
        std::fprintf(stderr, "no window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_SetWindowTitle(GUI_window, "MES widget gallery");
    if (scale > 1 && scale <= 4) {
        // The window keeps its size in points and gets scale times the pixels; the mouse then
        // reports pixels, so no mouse scaling is needed.
        SDL_SetWindowSize(GUI_window, GUI_windowWidth * scale, GUI_windowHeight * scale);
        GUI_scale = scale;
        GUI_mouseScale = 1.0f;
        SDL_GetRendererOutputSize(GUI_renderer, &GUI_drawableWidth, &GUI_drawableHeight);
        GUI_CloseIconFonts();
        GUI_LoadFonts();
    }
    GUI_InitShapeTextures();

    GUI_TopView = new GUI_View(nullptr, "Top", 0, 0, -1, -1, {240, 240, 240, 255});
    GUI_TopView->borderWidth = 0;
    GUI_TopView->layoutMode = LAYOUT_COLUMN;
    GUI_TopView->set_margin(0, 0, 0, 0);

    auto* bar = new GUI_ToolBar(GUI_TopView, TOOLBAR_TOP, 44);
    bar->add_label(0, "MES widget gallery", "");
    bar->add_button("English", "", 1, 0, true)->titleColor = GUI_White;
    bar->add_button("\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2", "", 2, 0, true)->titleColor = GUI_White;
    bar->add_button("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "", 3, ALIGN_RIGHT, true)->titleColor =
        GUI_White;

    auto* body = new GUI_View(GUI_TopView, "body", 0, 0, -1, -1, GUI_NoColor);
    body->borderWidth = 0;
    body->draggable = false;
    body->layoutMode = LAYOUT_ROW;
    Column cols[3];
    for (int i = 0; i < 3; ++i)
        cols[i] = buildColumn(body, kCaptions[i], i);

    auto* status = new GUI_ToolBar(GUI_TopView, TOOLBAR_BOTTOM, 30);
    status->bgColor = {48, 48, 48, 255};
    status->cornerRadius = 8;
    auto* statusLabel = status->add_label(0, "Size 10.0 x 4.2 cm, 1234 stitches", "");
    statusLabel->titleColor = GUI_White;

    auto* balloon = new BalloonDialog(GUI_TopView, 515, 300, 110);
    balloon->cornerRadius = 8;
    balloon->bgColor = GUI_White;
    balloon->borderWidth = 0;
    balloon->arrowSide = BalloonDialog::ARROW_LEFT;
    balloon->move_by(700 * GUI_scale, 0);
    new GUI_Label(balloon, kCaptions[1].dialogText, 24, 24, 0, 0, GUI_Black, 0, 0);
    new GUI_Label(balloon, kCaptions[2].dialogText, 24, 54, 0, 0, GUI_Black, 0, 0);

    auto* dialog = new SimpleDialog(GUI_TopView, 525, 300, 100);
    dialog->borderWidth = 1;
    dialog->cornerRadius = 6;
    dialog->move_by(340 * GUI_scale, 0);
    dialog->add_label(GUI_Black, 0, kCaptions[0].dialogText);
    GUI_Button* ok = dialog->add_button(kCaptions[1].ok, ALIGN_RIGHT);
    ok->bgColor = GUI_White;
    ok->borderWidth = 1;
    dialog->update_layout();

    // Let everything be drawn once, then put some widgets into their interactive states.
    drawFrame();
    drawFrame();
    for (Column& c : cols) {
        const SDL_Point p = centreOf(c.pressed);
        sendButton(SDL_MOUSEBUTTONDOWN, p.x, p.y);
        c.pressed->mouseDown = false;  // stays drawn pressed
        GUI_mouseCapture = nullptr;
    }
    const SDL_Point f = centreOf(cols[1].field);
    sendButton(SDL_MOUSEBUTTONDOWN, f.x, f.y);
    sendButton(SDL_MOUSEBUTTONUP, f.x, f.y);
    const SDL_Point d = centreOf(cols[2].dropdown);
    sendButton(SDL_MOUSEBUTTONDOWN, d.x, d.y);
    sendButton(SDL_MOUSEBUTTONUP, d.x, d.y);

    if (screenshot) {
        for (int i = 0; i < 40; ++i) {
            drawFrame();
            if (i < 39)
                SDL_RenderPresent(GUI_renderer);
        }
        const bool ok = saveScreenshot(screenshot);
        std::printf("%s %s\n", ok ? "wrote" : "could not write", screenshot);
        GUI_Quit();
        TTF_Quit();
        SDL_Quit();
        return ok ? 0 : 1;
    }
    GUI_Run(false, nullptr);
    GUI_FreeShapeTextures();
    GUI_Quit();
    TTF_Quit();
    SDL_Quit();
    return 0;
}
