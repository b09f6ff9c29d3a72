#include "design/commands/CreateShapeCommand.h"

CreateShapeCommand::CreateShapeCommand(Document& document, const PESData& layer)
    : Command(document, "Create Shape"), shape(layer) {
    redo = [this] {
        PESData layer = shape;
        const int sel = doc.selectedIndex();
        if (doc.validIndex(sel) && doc.layers[sel].properties.type == kLayerText) {
            layer.translate(doc.layers[sel].centerX, doc.layers[sel].centerY);
            layer.computeBounds();
        }
        layer.setColor(layer.properties.colorIndex);
        doc.appendLayer(layer, layer.properties.text);
        doc.setSwatchFromColor(doc.layerCount() - 1, layer.properties.colorIndex);
        doc.checkLayerCount();
    };
    undo = [this] {
        doc.removeLayer(doc.layerCount() - 1);
        doc.checkLayerCount();
    };
}
