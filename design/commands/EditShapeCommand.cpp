#include "design/commands/EditShapeCommand.h"

#include "design/ShapeLayer.h"

EditShapeCommand::EditShapeCommand(Document& document, int index, const LayerProperties& properties)
    : Command(document, "Edit Shape"), index(index), newProperties(properties) {
    if (doc.validIndex(index)) {
        copy = doc.layers[index];
        oldProperties = copy.properties;
    }
    redo = [this] { EditShapeCommand::rebuild(doc, this->index, newProperties); };
    undo = [this] { doc.restoreLayer(this->index, copy, oldProperties); };
}

void EditShapeCommand::rebuild(Document& document, int index, const LayerProperties& properties) {
    if (!document.validIndex(index))
        return;
    FormatLog log;
    shapes::rebuildShapeLayer(document.layers[index], properties, &log);
    for (const auto& l : log.lines)
        document.log(l.level, l.module, l.text);
    document.select(index);
    document.renderLayer(index);
    document.host.stitchWarning();
    document.statusDirty = true;
}
