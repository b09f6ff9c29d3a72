#include "design/commands/AddTextCommand.h"

#include "design/TextLayer.h"

AddTextCommand::AddTextCommand(Document& document, int index)
    : Command(document, "Add Text"), index(index) {
    redo = [this] {
        added = false;
        const int cells = doc.host.cellCount();
        const int i = this->index;
        const bool duplicate =
            cells > 0 && doc.selectedIndex() != -1 && i != -1 &&
            (i >= cells || (doc.validIndex(i) && doc.layers[i].properties.type == kLayerText));
        if (!duplicate) {
            PESData layer;
            createTextLayer(layer, doc.host.localized("Text"), 0, 0, 0, 0, doc.fontEnv);
            layer.computeBounds();
            // A layer the fonts could not fill has no bounds to frame.
            if (layer.stitchCount > 0)
                layer.buildFramePoints();
            doc.appendLayer(layer, layer.properties.text);
            doc.setSwatchFromColor(doc.layerCount() - 1, layer.properties.colorIndex);
            added = true;
        } else if (i < cells && doc.validIndex(i)) {
            PESData copy = doc.layers[i];
            copy.translate(25, 25);
            copy.computeBounds();
            doc.appendLayer(copy, copy.properties.text);
            added = true;
        }
        doc.checkLayerCount();
        doc.select(doc.host.cellCount() - 1);
    };
    undo = [this] {
        // Nothing was added for an index past the list, so nothing is taken away.
        if (added)
            doc.removeLayer(doc.layerCount() - 1);
        doc.checkLayerCount();
    };
}
