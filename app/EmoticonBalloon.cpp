#include "app/EmoticonBalloon.h"

#include <SDL.h>

#include <memory>
#include <vector>

#include "app/MainWindow.h"
#include "design/Document.h"
#include "design/commands/ImportCommand.h"
#include "gui/Button.h"
#include "gui/Dialog.h"
#include "gui/Draw.h"
#include "gui/FileUtils.h"
#include "gui/Globals.h"
#include "gui/Log.h"

std::string emoticonFolder = "Emoticon/";

namespace {

constexpr int kGrid = 7;
constexpr int kBalloonW = 350, kBalloonH = 400;  // points
constexpr int kBalloonRight = 334;               // the buttons' right end, and the toolbox's edge
constexpr int kGridMargin = 14;                  // pixels
constexpr Uint32 kClickMs = 200;                 // a longer press is not a choice
const char* const kSizeFolders[3] = {"Small", "Medium", "Large"};

const SDL_Color kSizeColor = {0xE4, 0xB8, 0x00, 255};
const SDL_Color kChosenColor = {0xFF, 0x98, 0x00, 255};
const SDL_Color kBorderColor = {0x70, 0x70, 0x70, 255};
const SDL_Color kSelectionColor = {0x33, 0x8D, 0xFB, 255};

// The thumbnails, loaded the first time the balloon opens and kept until shutdown.
SDL_Texture* thumbnails[kGrid][kGrid] = {};
int currentSize = 1;

void loadThumbnails() {
    for (int r = 0; r < kGrid; ++r)
        for (int c = 0; c < kGrid; ++c) {
            if (thumbnails[r][c])
                continue;
            const std::string name =
                emoticonFolder + "PNG128/Large/" + std::to_string(r * kGrid + c + 1) + ".png";
            thumbnails[r][c] = GUI_LoadImageScaled(name);
            // Drawn smaller than they are: smooth them rather than drop pixels.
            if (thumbnails[r][c])
                SDL_SetTextureScaleMode(thumbnails[r][c], SDL_ScaleModeLinear);
        }
}

class EmoticonBalloon : public BalloonDialog {
public:
    EmoticonBalloon(GUI_View* parent, GUI_View* anchor);
    ~EmoticonBalloon() override;

    bool handle_event(SDL_Event* e) override;
    void close() override;

private:
    int cellSize() const { return (w - 2 * kGridMargin) / kGrid; }
    void drawGrid();
    void choose(int row, int column);
    void chooseSize(int size);
    void confirm();
    // Takes the previous preview out of the design, if one is there.
    void removePreview();
    // Adds the selected emoticon as a preview; false when it could not be added.
    bool addPreview();
    void paintSizeButtons();

    int selRow = -1, selColumn = -1;
    // Whether no preview layer of ours is in the design: the last layer is not ours to remove.
    bool noPreviewYet = true;
    bool closing = false;
    Uint32 pressTime = 0;
    bool pressed = false;
    GUI_Button* sizeButtons[3] = {};
};

EmoticonBalloon* openBalloon = nullptr;

GUI_Button* makeButton(GUI_View* parent, const char* text, int x, int y, SDL_Color bg,
                       SDL_Color textColor) {
    auto* b = new GUI_Button(parent, text, x, y, 0, 32, textColor, TITLE_CENTER_V, 0, nullptr);
    b->bgColor = bg;
    b->cornerRadius = 3;
    b->draggable = false;
    return b;
}

EmoticonBalloon::EmoticonBalloon(GUI_View* parent, GUI_View* anchor)
    : BalloonDialog(parent, kTopBarHeight, kBalloonW, kBalloonH) {
    const int s = GUI_scale;
    // Beside the toolbox, its arrow reaching under the toolbox's edge; never off the window's
    // left edge.
    move_by(std::max(0, toolboxLeft() - kBalloonRight) * s, 0);
    layoutMode = LAYOUT_FREE;
    cornerRadius = 3;
    bgColor = GUI_White;
    draggable = false;
    dimBackground = true;
    arrowSide = ARROW_RIGHT;
    if (anchor)
        anchorY = (anchor->y / s - anchor->h / s) * s + y;
    drawCallback = [this](GUI_View*) { drawGrid(); };

    int x = 16;
    for (int k = 0; k < 3; ++k) {
        static const char* const captions[3] = {"  S  ", "  M  ", "  L  "};
        sizeButtons[k] = makeButton(this, captions[k], x, 350, kSizeColor, GUI_Black);
        sizeButtons[k]->borderWidth = 1;
        sizeButtons[k]->borderColor = kBorderColor;
        sizeButtons[k]->onClick = [this, k](GUI_Button*) { chooseSize(k); };
        x += sizeButtons[k]->w / s + (k == 0 ? 20 : 24);
    }
    GUI_Button* ok = makeButton(this, "      OK      ", 0, 350, GUI_Blue, GUI_White);
    ok->borderWidth = 0;
    ok->xSpec = kBalloonRight - ok->w / s;
    ok->onClick = [this](GUI_Button*) { confirm(); };
    update_layout();
    paintSizeButtons();
}

EmoticonBalloon::~EmoticonBalloon() {
    // Deleted with the whole view tree at shutdown, without a close.
    if (openBalloon == this)
        openBalloon = nullptr;
}

void EmoticonBalloon::paintSizeButtons() {
    for (int k = 0; k < 3; ++k) {
        const bool chosen = k == currentSize;
        sizeButtons[k]->bgColor = chosen ? kChosenColor : kSizeColor;
        sizeButtons[k]->set_text_color(chosen ? GUI_White : GUI_Black);
    }
}

void EmoticonBalloon::drawGrid() {
    const int cell = cellSize();
    for (int r = 0; r < kGrid; ++r)
        for (int c = 0; c < kGrid; ++c) {
            if (!thumbnails[r][c] || !GUI_renderer)
                continue;
            const SDL_Rect dst = {kGridMargin + c * cell, kGridMargin + r * cell, cell, cell};
            SDL_RenderCopy(GUI_renderer, thumbnails[r][c], nullptr, &dst);
        }
    if (selRow >= 0)
        GUI_DrawCircle(kGridMargin + selColumn * cell + cell / 2,
                       kGridMargin + selRow * cell + cell / 2, cell / 2, kSelectionColor);
}

bool EmoticonBalloon::handle_event(SDL_Event* e) {
    if (closing)
        return BalloonDialog::handle_event(e);
    // SDL follows every new size, the user's or the system's, with SIZE_CHANGED: the one event the
    // other overlays close on as well.
    if (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        close();
        return false;  // the rest of the window follows the new size too
    }
    // Escape cancels: the preview goes and the design is as it was before the balloon opened.
    if (e->type == SDL_KEYDOWN && e->key.keysym.sym == SDLK_ESCAPE) {
        removePreview();
        refreshControls();
        close();
        return true;
    }
    if (e->type != SDL_MOUSEBUTTONDOWN && e->type != SDL_MOUSEBUTTONUP)
        return BalloonDialog::handle_event(e);
    // The buttons first; whatever they leave is the grid's, and nothing behind the balloon
    // gets it.
    if (BalloonDialog::handle_event(e))
        return true;
    if (e->type == SDL_MOUSEBUTTONDOWN) {
        pressed = true;
        pressTime = e->button.timestamp;
        return true;
    }
    const bool quick = pressed && e->button.timestamp - pressTime <= kClickMs;
    pressed = false;
    if (!quick)
        return true;
    int mx = 0, my = 0;
    GUI_EventPosition(e, &mx, &my);
    const int px = mx - x - kGridMargin, py = my - y - kGridMargin, cell = cellSize();
    if (px < 0 || py < 0 || cell <= 0 || px / cell >= kGrid || py / cell >= kGrid)
        return true;
    choose(py / cell, px / cell);
    return true;
}

void EmoticonBalloon::removePreview() {
    if (!noPreviewYet && theDocument && theDocument->layerCount() > 0)
        theDocument->removeLayer(theDocument->layerCount() - 1);
    noPreviewYet = true;
}

bool EmoticonBalloon::addPreview() {
    removePreview();
    noPreviewYet = !importEmoticon(selRow * kGrid + selColumn + 1, false);
    refreshControls();
    return !noPreviewYet;
}

void EmoticonBalloon::choose(int row, int column) {
    selRow = row;
    selColumn = column;
    addPreview();
}

void EmoticonBalloon::chooseSize(int size) {
    setEmoticonSize(size);
    paintSizeButtons();
    if (selRow >= 0)
        addPreview();
}

void EmoticonBalloon::confirm() {
    if (selRow >= 0) {
        removePreview();
        const bool added = importEmoticon(selRow * kGrid + selColumn + 1, true);
        refreshControls();
        if (!added)
            return;  // nothing to add: the balloon stays, the user may choose again
    }
    close();
}

void EmoticonBalloon::close() {
    if (!closing) {
        closing = true;
        if (openBalloon == this)
            openBalloon = nullptr;
        endMainWindowOverlay();
    }
    BalloonDialog::close();
}

}  // namespace

void openEmoticonBalloon(GUI_View* emoticonButton) {
    if (openBalloon || !GUI_TopView)
        return;
    beginMainWindowOverlay();
    loadThumbnails();
    openBalloon = new EmoticonBalloon(GUI_TopView, emoticonButton);
}

bool importEmoticon(int n, bool asCommand) {
    if (currentSize < 0 || currentSize > 2 || n < 1 || n > kGrid * kGrid)
        return false;
    const std::string path = jsToDataPath(emoticonFolder + "PES/" + kSizeFolders[currentSize] +
                                          "/" + std::to_string(n) + ".pes");
    GUI_LogPrint("ImportEmoticon: %s\n", path.c_str());
    if (!jsFile(path).exists()) {
        GUI_LogPrint("ImportEmoticon File not found\n");
        return false;
    }
    const jsBuffer buffer = jsBufferFromFile(path);
    if (buffer.empty()) {
        GUI_LogError("ImportEmoticon") << "empty file " << path;
        return false;
    }
    if (!theDocument)
        return false;
    const std::vector<uint8_t> bytes(buffer.getBuffer().begin(), buffer.getBuffer().end());
    auto command = std::make_shared<ImportBufferCommand>(*theDocument, bytes);
    // A file that is no design gives a command without its two directions: nothing is added.
    if (asCommand)
        return execute(*theDocument, command);
    if (!command->valid())
        return false;
    command->redo();
    return true;
}

void freeEmoticonThumbnails() {
    for (auto& row : thumbnails)
        for (SDL_Texture*& t : row) {
            if (t)
                SDL_DestroyTexture(t);
            t = nullptr;
        }
}

GUI_View* emoticonBalloon() {
    return openBalloon;
}

int emoticonSize() {
    return currentSize;
}

void setEmoticonSize(int size) {
    if (size >= 0 && size <= 2)
        currentSize = size;
}

SDL_Texture* emoticonThumbnail(int row, int column) {
    if (row < 0 || row >= kGrid || column < 0 || column >= kGrid)
        return nullptr;
    return thumbnails[row][column];
}
