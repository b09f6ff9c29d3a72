// Stitch rendering: each layer is drawn once, after every change, into its own 2048 x 2048
// texture; the canvas copies that texture into the layer's screen rectangle every frame. This
// file also draws design thumbnails, the canvas background (work area, hoop, grid, centre lines),
// the jump lines, the selection frame and the rulers.
//
// Stitches are shaded thread sprites (five capsule textures, 100..500 x 50 pixels, tinted with the
// thread colour), with a light map on top in display mode 1, or thin lines in display mode 2.
//
// Units: design coordinates in 0.1 mm; screen positions in drawable pixels; zoom is pixels per
// 0.1 mm. Everything draws through GUI_renderer on the main thread. The shared resources (sprites,
// light map, ruler labels) are this file's process-wide state: created on first use (or by
// createStitchResources at start-up), dropped by releaseStitchResources at shutdown.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "design/PESData.h"

// The display settings this file reads (owned by the settings of the application).
struct RenderSettings {
    int displayMode = 0;  // 0 normal, 1 3D effect, 2 underlay
    bool showJumpStitches = false;
    bool showGrid = true;
    bool showRulers = true;
    int hoopWidth = 100;   // mm
    int hoopHeight = 100;  // mm
};

// Where the canvas is: zoom, pan and the toolkit's display scale; viewport and window in pixels.
struct CanvasView {
    float zoom = 1.0f;
    int panX = 0;
    int panY = 0;
    int scale = 1;  // display scale s (1, or 2 on high-density screens)
    int viewportW = 0, viewportH = 0;
    int windowW = 0, windowH = 0;  // window size in pixels (already multiplied by s)

    // The offset that maps a design point (x, y) to ((x + ox) * zoom, (y + oy) * zoom).
    int offsetX() const;
    int offsetY() const;
    // The centre of the hoop, grid and rulers.
    int centreX() const { return (scale * panX + viewportW) / 2; }
    int centreY() const { return (scale * panY + viewportH) / 2; }
};

namespace stitchrender {

// ---- Pure rules, shared with the tests.
// Sprite width W = ceil(L) and class k = min(W / 10, 4) of a stitch L texture units long.
struct SpriteChoice {
    int width = 0;
    int sprite = 0;
};
SpriteChoice spriteFor(float length);
// Whether the ruler shows the label of major tick q, and minor tick i (1..9), at this zoom.
bool rulerLabelShown(int q, float zoom);
bool minorTickShown(int i, float zoom);
// Length of major tick q in pixels at this zoom and display scale.
int majorTickLength(int q, float zoom, int scale);
// The layer's screen rectangle.
SDL_Rect layerScreenRect(const PESData& layer, const CanvasView& view);

// ---- Shared resources.
// Sprites, light map ("lightmap.png" from the data folder, optional) and ruler labels (when the
// text fonts are open). Does nothing while they exist. False when the sprites cannot be made.
bool createStitchResources();
void releaseStitchResources();
// After a change of the window size: the next render re-creates everything.
void dropStitchSprites();
bool stitchResourcesReady();
// Number of ruler label textures held (121 when the fonts were open).
int rulerLabelCount();

// ---- Drawing.
// Draws the layer's stitches into the target texture at layer.offScreenScale; the texture is
// cleared first. Restores the default render target.
void renderStitches(const PESData& layer, SDL_Texture* target, int displayMode);
// Copies the layer's texture (null: nothing drawn) onto the canvas, with the layer's jump lines
// and selection frame.
void drawLayer(const PESData& layer, SDL_Texture* texture, const RenderSettings& settings,
               const CanvasView& view);
// ---- Thumbnails (file managers, mes-cli thumbnail).
// How a design of the given extent (0.1 mm, over all its layers) fits into `size` pixels: the
// picture is w x h pixels, its longer side `size`, and the design point (x, y) lands on pixel
// ((x + ox) * scale, (y + oy) * scale). Half a thread width of margin on each side.
struct ThumbnailFit {
    int w = 1, h = 1;
    float scale = 1.0f;  // pixels per 0.1 mm
    float ox = 0.0f, oy = 0.0f;
};
ThumbnailFit fitThumbnail(int64_t minX, int64_t minY, int64_t maxX, int64_t maxY, int size);
// Whether a thumbnail at this scale shows the shaded thread sprites: only where a thread is at
// least two pixels thick (below that the shading cannot show) and the stitches are few enough
// to draw quickly; otherwise every stitch is a line in its thread colour.
bool thumbnailUsesSprites(float scale, int64_t stitches);
// Draws the layers' stitches (not their movements) into the current render target, which is
// cleared to transparent first, as `fit` places them. Layers and colour runs in order, so later
// stitches lie on top as they are sewn.
void drawThumbnail(const std::vector<const PESData*>& layers, const ThumbnailFit& fit);

// One line between two design points, in screen space.
void drawStitchLine(const Stitch& from, const Stitch& to, const CanvasView& view, SDL_Color color);
// The work area, hoop, grid and centre lines (first thing of every canvas frame).
void drawCanvasBackground(const RenderSettings& settings, const CanvasView& view);
// The rulers (last thing of every canvas frame), when shown.
void drawRulers(const RenderSettings& settings, const CanvasView& view);

}  // namespace stitchrender
