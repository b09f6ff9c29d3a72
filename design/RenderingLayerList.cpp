#include "design/RenderingLayerList.h"

#include "design/StitchRenderer.h"
#include "gui/Globals.h"

RenderTexture::RenderTexture() {
    if (GUI_renderer)
        texture = SDL_CreateTexture(GUI_renderer, SDL_PIXELFORMAT_ARGB8888,
                                    SDL_TEXTUREACCESS_TARGET, 2048, 2048);
    if (texture)
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
}

RenderTexture::~RenderTexture() {
    if (texture)
        SDL_DestroyTexture(texture);
}

std::shared_ptr<LayerTexture> RenderingLayerList::createTexture() {
    if (failTextures)
        return nullptr;
    auto t = std::make_shared<RenderTexture>();
    if (!t->isValid())
        return nullptr;
    ++texturesMade;
    return t;
}

void RenderingLayerList::drawStitches(const PESData& layer, LayerTexture& texture) {
    stitchrender::renderStitches(layer, sdlTextureOf(&texture), mode);
}

SDL_Texture* sdlTextureOf(LayerTexture* texture) {
    auto* t = dynamic_cast<RenderTexture*>(texture);
    return t ? t->texture : nullptr;
}
