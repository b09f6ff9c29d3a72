// The canvas: the view "Main" between the bars that shows the hoop and the design. Each frame it
// eases the pan, refreshes the status line when the design changed, and draws the background,
// the layers, the design centre and the rulers. The mouse selects, drags and pans; the wheel and
// the zoom slider zoom; the arrow keys nudge the selected layer.
//
// `canvas` is the one home of the view state. Units: zoom is pixels per 0.1 mm at display scale
// 1; pan offsets are points; mouse positions and rectangles are window pixels. Main thread only.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "design/StitchRenderer.h"

class PESData;

struct CanvasState {
    float zoom = 1.0f;  // 0.3 .. 3.0
    float panX = 0.0f, panY = 0.0f;
    float panTargetX = 0.0f, panTargetY = 0.0f;
    bool panArrived = true;

    // A drag of the selected layer: the last pointer position and the centre it started from.
    bool dragActive = false;
    int anchorX = 0, anchorY = 0;
    int32_t dragStartCenterX = 0, dragStartCenterY = 0;

    Uint32 pressTime = 0;  // SDL ticks of the last press
    bool pressSeen = false;
    Uint16 fingerCount = 0;  // fingers of the last multi-finger gesture

    // Panning by hand: the middle button, or Space held with the left button.
    bool handPan = false;
    int handLastX = 0, handLastY = 0;
    bool spaceHeld = false;
};

extern CanvasState canvas;

// Layers never move further than this from the hoop centre (0.1 mm), so that every coordinate
// stays within what a PES file can store.
constexpr int32_t kMaxDesignCoordinate = 30000;

// The zoom of a slider value v (0..1): 0 -> 0.3, 0.5 -> 1.0, 1 -> 3.0, linear in each half.
float zoomForSliderValue(float v);
// The slider value of a zoom (the inverse, clamped to 0..1).
float sliderValueForZoom(float zoom);
// The slider value that shows a window of the current height at a comfortable zoom.
float initialZoomValue();

// The zoom slider's value callback: sets the zoom and marks the view changed.
void setZoomFromSlider(float v);

// Makes the canvas view "Main" (ui.mainView) under the root view.
void buildCanvas();

// The renderer's view of the design for this frame (toolbox shift included).
CanvasView currentCanvasView();

// A layer's rectangle on screen in window pixels.
SDL_Rect layerWindowRect(const PESData& layer);

// The topmost layer whose rectangle holds the point (window pixels), -1 for none.
int layerAt(int x, int y);

// How far a layer may move by (dx, dy) without leaving the storable area: the move, cut short.
void clampLayerMove(const PESData& layer, int32_t& dx, int32_t& dy);

// The pan target limited to the content, so that a pan beyond it springs back.
void clampPanTarget();

// Zooms by `notches` wheel steps keeping the design point under (x, y) (window pixels) in place.
void zoomAbout(int x, int y, float notches);

// Moves the selected layer by (dx, dy) without an undo entry (arrow keys).
void nudgeSelectedLayer(int32_t dx, int32_t dy);
