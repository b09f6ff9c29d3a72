#include "design/DocumentDraw.h"

#include "design/Document.h"
#include "design/RenderingLayerList.h"

void drawDocumentLayers(const Document& doc, const RenderSettings& settings,
                        const CanvasView& view) {
    const SDL_Color jump = {192, 192, 192, 255};
    for (int i = 0; i < doc.layerCount(); ++i) {
        const PESData& l = doc.layers[i];
        stitchrender::drawLayer(l, sdlTextureOf(doc.layerTexture(i)), settings, view);
        // Drawn even while a layer is dragged: only the layer's own jump lines are hidden then.
        if (settings.showJumpStitches && i >= 1 && doc.layers[i - 1].stitchCount > 0 &&
            l.stitchCount > 0)
            stitchrender::drawStitchLine(doc.layers[i - 1].lastStitch, l.firstStitch, view, jump);
    }
}
