// A layer list kept in memory, like HeadlessLayerList, whose textures are real 2048 x 2048 render
// targets of GUI_renderer and whose layers are drawn by the stitch renderer. Used to draw designs
// offscreen (mes-cli render, rendering tests); the editor's list uses the same textures.
#pragma once

#include <SDL.h>

#include "design/HeadlessLayerList.h"

// A layer texture owned by the pool: destroyed with the last reference.
class RenderTexture : public LayerTexture {
public:
    RenderTexture();
    ~RenderTexture() override;
    RenderTexture(const RenderTexture&) = delete;
    RenderTexture& operator=(const RenderTexture&) = delete;
    bool isValid() const override { return texture != nullptr; }
    SDL_Texture* texture = nullptr;
};

class RenderingLayerList : public HeadlessLayerList {
public:
    std::shared_ptr<LayerTexture> createTexture() override;
    void drawStitches(const PESData& layer, LayerTexture& texture) override;
};

// The SDL texture of a pool texture made by RenderingLayerList (null for any other).
SDL_Texture* sdlTextureOf(LayerTexture* texture);
