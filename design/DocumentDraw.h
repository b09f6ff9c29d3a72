// One canvas frame's worth of the design: every layer from its own texture in index order, with
// the jump lines between consecutive layers when they are shown. The background goes before and
// the rulers after (StitchRenderer.h); the canvas view owns the frame.
#pragma once

#include "design/StitchRenderer.h"

class Document;

// Layers without a texture of their own (never rendered, or no graphics memory) are skipped.
void drawDocumentLayers(const Document& document, const RenderSettings& settings,
                        const CanvasView& view);
