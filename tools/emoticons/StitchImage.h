// Pictures of designs drawn by the editor's own stitch renderer, offscreen: the thumbnails the
// emoticon balloon shows and the specimen sheets. Main thread only; SDL's dummy video driver and
// the software renderer, so that the pictures are the same on every machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/PESData.h"

// An RGBA picture with straight (not premultiplied) alpha, row by row, pixels 0xAARRGGBB.
struct Picture {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
};

// SDL, a hidden window and GUI_renderer for the lifetime of the object. ok is false (with the
// reason on stderr) when there is no renderer.
class Offscreen {
public:
    Offscreen();
    ~Offscreen();
    Offscreen(const Offscreen&) = delete;
    Offscreen& operator=(const Offscreen&) = delete;
    bool ok = false;

private:
    void* window_ = nullptr;
};

// The layer's stitches drawn on a transparent square of side pixels, the design centred and
// scaled so that its larger side (thread included) fills side - 2 * margin pixels.
Picture drawDesign(const PESData& layer, int side, int margin);

// The pictures in a grid of cols columns, each centred in a cell of cell pixels, on white.
Picture sheet(const std::vector<Picture>& pictures, int cols, int cell);

// False when the file cannot be written.
bool savePNG(const Picture& picture, const std::string& path);
