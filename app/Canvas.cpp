// Section index:
//   zoom and pan arithmetic
//   the frame: easing, status, background, layers, centre mark, rulers
//   mouse: select, drag, deselect; hand panning; wheel zoom
//   touch: pinch, two-finger pan
//   keys: nudges
#include "app/Canvas.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "app/LayerSection.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/StatusLine.h"
#include "design/Document.h"
#include "design/DocumentDraw.h"
#include "design/PESData.h"
#include "design/commands/TranslateCommand.h"
#include "gui/Draw.h"
#include "gui/Globals.h"
#include "gui/List.h"
#include "gui/Slider.h"

CanvasState canvas;

namespace {

constexpr Uint32 kQuickClickMs = 200;
constexpr float kMinZoom = 0.3f, kMaxZoom = 3.0f;
constexpr int kWorkArea = 3600;  // 0.1 mm: the largest hoop side the canvas shows, 360 mm

class CanvasPane : public GUI_View {
public:
    CanvasPane(GUI_View* parent, int y, int w, int h)
        : GUI_View(parent, "Main", 0, y, w, h, rgb(0x707070)) {}
    bool handle_event(SDL_Event* e) override;
};

RenderSettings renderSettings() {
    RenderSettings r;
    r.displayMode = settings.displayMode;
    r.showJumpStitches = settings.showJumpStitches;
    r.showGrid = settings.showGrid;
    r.showRulers = settings.showRulers;
    r.hoopWidth = settings.hoopWidth;
    r.hoopHeight = settings.hoopHeight;
    return r;
}

PESData* selectedLayer() {
    return theDocument ? theDocument->selectedLayer() : nullptr;
}

// ---- the frame ----

void easePan() {
    if (canvas.panArrived)
        return;
    const float dx = canvas.panTargetX - canvas.panX, dy = canvas.panTargetY - canvas.panY;
    // Halfway each frame; within a hundredth of a point of the target it snaps there.
    const float cx = canvas.panX + dx / 2, cy = canvas.panY + dy / 2;
    if (std::hypot(canvas.panTargetX - cx, canvas.panTargetY - cy) < 0.01f) {
        canvas.panX = canvas.panTargetX;
        canvas.panY = canvas.panTargetY;
        canvas.panArrived = true;
    } else {
        canvas.panX = cx;
        canvas.panY = cy;
    }
}

void drawDesignCentre(const CanvasView& view) {
    const int cx = int(float(view.offsetX()) * view.zoom);
    const int cy = int(float(view.offsetY()) * view.zoom);
    GUI_DrawCircle(cx, cy, 25, GUI_Red);
    GUI_FillRect(cx - 50, cy - 1, 100, 3, GUI_Red);
    GUI_FillRect(cx - 1, cy - 50, 3, 100, GUI_Red);
}

void drawCanvas(GUI_View*) {
    easePan();
    if (theDocument && theDocument->statusDirty) {
        theDocument->statusDirty = false;
        updateStatus();
    }
    const CanvasView view = currentCanvasView();
    const RenderSettings rs = renderSettings();
    stitchrender::drawCanvasBackground(rs, view);
    if (theDocument)
        drawDocumentLayers(*theDocument, rs, view);
    if (settings.showDesignCenter)
        drawDesignCentre(view);
    stitchrender::drawRulers(rs, view);
    SDL_RenderSetScale(GUI_renderer, 1.0f, 1.0f);
}

// ---- mouse ----

void deselect() {
    GUI_mouseCapture = nullptr;
    if (PESData* layer = selectedLayer()) {
        layer->highlighted = false;
        layer->dragging = false;
    }
    if (ui.layerList)
        ui.layerList->selectedIndex = -1;
    for (GUI_ListCell* c : ui.layerList->cells)
        c->selected = false;
    refreshControls();
}

bool pressOnCanvas(GUI_View* pane, int x, int y) {
    canvas.pressTime = SDL_GetTicks();
    canvas.pressSeen = true;
    GUI_mouseCapture = pane;
    PESData* layer = selectedLayer();
    if (!layer)
        return false;
    const SDL_Rect r = layerWindowRect(*layer);
    const SDL_Point p = {x, y};
    if (!SDL_PointInRect(&p, &r))
        return false;
    canvas.anchorX = x;
    canvas.anchorY = y;
    canvas.dragStartCenterX = layer->centerX;
    canvas.dragStartCenterY = layer->centerY;
    canvas.dragActive = true;
    layer->dragging = true;
    return true;
}

// Ends a drag without moving the layer: its bounds go back to where its stitches are.
void stopDrag() {
    if (!canvas.dragActive)
        return;
    canvas.dragActive = false;
    if (PESData* layer = selectedLayer()) {
        layer->dragging = false;
        layer->computeBounds();
    }
}

// Moves only the bounds and end stitches while the pointer moves: the stitches follow once, at
// the drop.
void dragTo(int x, int y) {
    PESData* layer = selectedLayer();
    if (!layer) {
        stopDrag();
        return;
    }
    int32_t dx = int32_t(float(x - canvas.anchorX) / canvas.zoom);
    int32_t dy = int32_t(float(y - canvas.anchorY) / canvas.zoom);
    // The anchor advances only by what was applied, so the fractions are not lost.
    canvas.anchorX += int(std::lround(float(dx) * canvas.zoom));
    canvas.anchorY += int(std::lround(float(dy) * canvas.zoom));
    clampLayerMove(*layer, dx, dy);
    layer->minX += dx;
    layer->maxX += dx;
    layer->firstStitch.x += dx;
    layer->lastStitch.x += dx;
    layer->minY += dy;
    layer->maxY += dy;
    layer->firstStitch.y += dy;
    layer->lastStitch.y += dy;
    layer->boundsWidth = layer->maxX - layer->minX;
    layer->boundsHeight = layer->maxY - layer->minY;
    layer->centerX = layer->minX + layer->boundsWidth / 2;
    layer->centerY = layer->minY + layer->boundsHeight / 2;
    layer->highlighted = true;
    layer->dragging = true;
    theDocument->statusDirty = true;
}

void dropDrag() {
    PESData* layer = selectedLayer();
    canvas.dragActive = false;
    if (!layer)
        return;
    layer->dragging = false;
    const int32_t dx = layer->centerX - canvas.dragStartCenterX;
    const int32_t dy = layer->centerY - canvas.dragStartCenterY;
    if (dx == 0 && dy == 0)
        return;
    // The bounds moved ahead of the stitches; put them back and let the command move everything.
    const int index = theDocument->selectedIndex();
    layer->computeBounds();
    execute(*theDocument, std::make_shared<TranslateCommand>(*theDocument, index, dx, dy));
    theDocument->statusDirty = true;
}

bool releaseOnCanvas(int x, int y) {
    canvas.fingerCount = 0;
    if (canvas.dragActive)
        dropDrag();
    const int hit = layerAt(x, y);
    if (hit >= 0) {
        if (canvas.pressSeen && SDL_GetTicks() - canvas.pressTime <= kQuickClickMs) {
            GUI_mouseCapture = nullptr;
            ui.layerList->selectIndex(hit);
            return true;
        }
        GUI_mouseCapture = nullptr;
        return false;
    }
    deselect();
    return false;
}

void panBy(float dx, float dy) {
    canvas.panX += dx;
    canvas.panY += dy;
    canvas.panTargetX = canvas.panX;
    canvas.panTargetY = canvas.panY;
    clampPanTarget();
    canvas.panArrived = false;
}

bool handPanEvent(GUI_View* pane, SDL_Event* e, int x, int y) {
    switch (e->type) {
        case SDL_MOUSEBUTTONDOWN:
            if (e->button.button == SDL_BUTTON_MIDDLE ||
                (e->button.button == SDL_BUTTON_LEFT && canvas.spaceHeld)) {
                canvas.handPan = true;
                canvas.handLastX = x;
                canvas.handLastY = y;
                GUI_mouseCapture = pane;
                return true;
            }
            return false;
        case SDL_MOUSEMOTION:
            if (!canvas.handPan)
                return false;
            // Pan offsets are points; the pointer moves in pixels.
            panBy(float(x - canvas.handLastX) / float(GUI_scale),
                  float(y - canvas.handLastY) / float(GUI_scale));
            canvas.handLastX = x;
            canvas.handLastY = y;
            return true;
        case SDL_MOUSEBUTTONUP:
            if (!canvas.handPan)
                return false;
            canvas.handPan = false;
            if (GUI_mouseCapture == pane)
                GUI_mouseCapture = nullptr;
            return true;
        default:
            return false;
    }
}

bool mouseEvent(GUI_View* pane, SDL_Event* e, int x, int y) {
    if (!theDocument)
        return false;
    // Only what is pressed on the visible canvas belongs to it: the toolbox, the bars and the
    // zoom slider lie over it, and a press on their empty parts must not deselect the layer.
    if (e->type == SDL_MOUSEBUTTONDOWN && GUI_TopView->hit_test(x, y, true) != pane)
        return false;
    // A release belongs to the canvas only when the press did (it holds the mouse since then).
    if (e->type == SDL_MOUSEBUTTONUP && GUI_mouseCapture != pane)
        return false;
    if (handPanEvent(pane, e, x, y))
        return true;
    switch (e->type) {
        case SDL_MOUSEBUTTONDOWN:
            if (e->button.button != SDL_BUTTON_LEFT)
                return false;
            return pressOnCanvas(pane, x, y);
        case SDL_MOUSEMOTION:
            if (!canvas.dragActive)
                return false;
            if (canvas.fingerCount == 2) {
                stopDrag();
                return false;
            }
            // The pointer left the canvas (over the toolbox or a bar): the drag ends there.
            if (GUI_TopView->hit_test(x, y, true) != pane) {
                dropDrag();
                return false;
            }
            dragTo(x, y);
            return true;
        case SDL_MOUSEBUTTONUP:
            if (e->button.button != SDL_BUTTON_LEFT) {
                if (GUI_mouseCapture == pane)
                    GUI_mouseCapture = nullptr;
                return false;
            }
            return releaseOnCanvas(x, y);
        case SDL_MOUSEWHEEL: {
            int wx = 0, wy = 0;
            SDL_GetMouseState(&wx, &wy);
#if SDL_VERSION_ATLEAST(2, 26, 0)
            wx = e->wheel.mouseX;
            wy = e->wheel.mouseY;
#endif
            float notches = e->wheel.preciseY != 0.0f ? e->wheel.preciseY : float(e->wheel.y);
            if (e->wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
                notches = -notches;
            const int px = int(float(wx) * GUI_mouseScale), py = int(float(wy) * GUI_mouseScale);
            // Only a wheel turned over the canvas itself zooms it.
            if (GUI_TopView->hit_test(px, py, true) != pane)
                return false;
            zoomAbout(px, py, notches);
            return true;
        }
        default:
            return false;
    }
}

// ---- touch ----

bool gestureEvent(SDL_Event* e) {
    const int W = GUI_windowWidth, H = GUI_windowHeight;
    if (e->type == SDL_MULTIGESTURE) {
        canvas.fingerCount = e->mgesture.numFingers;
        const float gx = e->mgesture.x * float(W), gy = e->mgesture.y * float(H);
        if (gx >= float(toolboxLeft()) || gy <= float(kTopBarHeight))
            return false;
        if (canvas.fingerCount == 2) {
            ui.zoomSlider->set_value(ui.zoomSlider->get_value() + 2.0f * e->mgesture.dDist, true);
        } else if (canvas.fingerCount == 4) {
            ui.zoomSlider->set_value(initialZoomValue(), true);
            canvas.panX = canvas.panY = 0.0f;
            canvas.panTargetX = canvas.panTargetY = 0.0f;
        }
        return true;
    }
    if (e->type == SDL_FINGERMOTION && canvas.fingerCount > 1) {
        stopDrag();
        const float f = 1.0f - 0.5f * ui.zoomSlider->get_value();
        panBy(float(W) * e->tfinger.dx * f, float(H) * e->tfinger.dy * f);
        return true;
    }
    if (e->type == SDL_FINGERUP) {
        canvas.fingerCount = 0;
        return false;
    }
    return false;
}

// ---- keys ----

bool keyEvent(SDL_Event* e) {
    if (e->type == SDL_KEYUP && e->key.keysym.scancode == SDL_SCANCODE_SPACE) {
        canvas.spaceHeld = false;
        return false;
    }
    if (e->type != SDL_KEYDOWN)
        return false;
    // The open menu has the arrow keys for itself.
    if (ui.mainMenu)
        return false;
    switch (e->key.keysym.scancode) {
        case SDL_SCANCODE_SPACE:
            canvas.spaceHeld = true;
            return false;
        case SDL_SCANCODE_UP:
            nudgeSelectedLayer(0, -1);
            return true;
        case SDL_SCANCODE_DOWN:
            nudgeSelectedLayer(0, 1);
            return true;
        case SDL_SCANCODE_LEFT:
            nudgeSelectedLayer(-1, 0);
            return true;
        case SDL_SCANCODE_RIGHT:
            nudgeSelectedLayer(1, 0);
            return true;
        default:
            return false;
    }
}

bool CanvasPane::handle_event(SDL_Event* e) {
    if (e->type == GUI_EVENT_DRAW)
        return GUI_View::handle_event(e);
    if (!is_visible())
        return false;
    if (!interactive) {
        // Taken by an overlay: a press or key does nothing here.
        return GUI_IsMouseEvent(e);
    }
    int x = 0, y = 0;
    if (e->type == SDL_MOUSEWHEEL)
        return mouseEvent(this, e, 0, 0);
    if (GUI_EventPosition(e, &x, &y))
        return mouseEvent(this, e, x, y);
    if (e->type == SDL_MULTIGESTURE || e->type == SDL_FINGERMOTION || e->type == SDL_FINGERUP)
        return gestureEvent(e);
    return keyEvent(e);
}

}  // namespace

// ---- zoom and pan arithmetic ----

float zoomForSliderValue(float v) {
    v = std::clamp(v, 0.0f, 1.0f);
    if (v <= 0.5f)
        return kMinZoom + 2.0f * v * (1.0f - kMinZoom);
    return 1.0f + 2.0f * (v - 0.5f) * (kMaxZoom - 1.0f);
}

float sliderValueForZoom(float zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom <= 1.0f)
        return (zoom - kMinZoom) / (2.0f * (1.0f - kMinZoom));
    return 0.5f + (zoom - 1.0f) / (2.0f * (kMaxZoom - 1.0f));
}

float initialZoomValue() {
    return ((float(GUI_scale) * float(GUI_windowHeight) / 1536.0f) - 0.25f) / 0.75f * 0.5f;
}

void setZoomFromSlider(float v) {
    canvas.zoom = zoomForSliderValue(v);
}

CanvasView currentCanvasView() {
    CanvasView v;
    v.zoom = canvas.zoom;
    v.panX = int(canvas.panX) + (toolboxLeft() - GUI_windowWidth);
    v.panY = int(canvas.panY);
    v.scale = GUI_scale;
    v.viewportW = ui.mainView ? ui.mainView->w : 0;
    v.viewportH = ui.mainView ? ui.mainView->h : 0;
    v.windowW = GUI_drawableWidth;
    v.windowH = GUI_drawableHeight;
    return v;
}

SDL_Rect layerWindowRect(const PESData& layer) {
    SDL_Rect r = stitchrender::layerScreenRect(layer, currentCanvasView());
    // The renderer draws into the canvas's viewport; the pointer is in window pixels.
    if (ui.mainView) {
        r.x += ui.mainView->x;
        r.y += ui.mainView->y;
    }
    return r;
}

int layerAt(int x, int y) {
    if (!theDocument)
        return -1;
    const SDL_Point p = {x, y};
    for (int i = theDocument->layerCount() - 1; i >= 0; --i) {
        const SDL_Rect r = layerWindowRect(theDocument->layers[i]);
        if (SDL_PointInRect(&p, &r))
            return i;
    }
    return -1;
}

void clampLayerMove(const PESData& layer, int32_t& dx, int32_t& dy) {
    const int64_t lim = kMaxDesignCoordinate;
    auto clampAxis = [lim](int32_t lo, int32_t hi, int32_t& d) {
        const int64_t low = -lim - int64_t(lo), high = lim - int64_t(hi);
        if (low > high) {
            d = 0;  // larger than the whole area: it does not move at all
            return;
        }
        d = int32_t(std::clamp<int64_t>(d, std::min<int64_t>(low, 0), std::max<int64_t>(high, 0)));
    };
    clampAxis(layer.minX, layer.maxX, dx);
    clampAxis(layer.minY, layer.maxY, dy);
}

void clampPanTarget() {
    const float visibleX = float(toolboxLeft());
    const float visibleY = ui.mainView ? float(ui.mainView->h / GUI_scale) : 0.0f;
    const float limX = std::fabs((kWorkArea * canvas.zoom - visibleX) / 2.0f);
    const float limY = std::fabs((kWorkArea * canvas.zoom - visibleY) / 2.0f);
    canvas.panTargetX = std::clamp(canvas.panTargetX, -limX, limX);
    canvas.panTargetY = std::clamp(canvas.panTargetY, -limY, limY);
}

void zoomAbout(int x, int y, float notches) {
    if (notches == 0.0f || !ui.zoomSlider)
        return;
    const CanvasView before = currentCanvasView();
    // The design point under the pointer, in 0.1 mm.
    const float px = float(x - (ui.mainView ? ui.mainView->x : 0));
    const float py = float(y - (ui.mainView ? ui.mainView->y : 0));
    const float designX = px / before.zoom - float(before.offsetX());
    const float designY = py / before.zoom - float(before.offsetY());
    ui.zoomSlider->set_value(ui.zoomSlider->get_value() + 0.04f * notches, true);
    const float z = canvas.zoom;
    // Choose the pan so that the same design point lands under the pointer again.
    const float s = float(GUI_scale);
    const float wantOffsetX = px / z - designX, wantOffsetY = py / z - designY;
    const float shiftX = float(toolboxLeft() - GUI_windowWidth);
    canvas.panX = (2.0f * z * wantOffsetX - float(before.viewportW)) / s - shiftX;
    canvas.panY = (2.0f * z * wantOffsetY - float(before.viewportH)) / s;
    canvas.panTargetX = canvas.panX;
    canvas.panTargetY = canvas.panY;
    clampPanTarget();
    canvas.panArrived = false;
}

void nudgeSelectedLayer(int32_t dx, int32_t dy) {
    PESData* layer = selectedLayer();
    if (!layer)
        return;
    clampLayerMove(*layer, dx, dy);
    layer->translate(dx, dy);
    layer->computeBounds();
    updateStatus();
}

void buildCanvas() {
    const int h = std::max(0, GUI_windowHeight - kTopBarHeight - kBottomBarHeight);
    auto* pane = new CanvasPane(ui.root, kTopBarHeight, GUI_windowWidth, h);
    pane->borderWidth = 0;
    pane->draggable = false;
    pane->drawCallback = drawCanvas;
    ui.mainView = pane;
}
