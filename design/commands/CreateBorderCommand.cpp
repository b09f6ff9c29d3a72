#include "design/commands/CreateBorderCommand.h"

CreateBorderCommand::CreateBorderCommand(Document& document, const PESData& layer)
    : Command(document, "Border"), border(layer) {
    redo = [this] {
        PESData layer = border;
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
