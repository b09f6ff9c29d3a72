#include "design/commands/PESEffectCommand.h"

#include "design/TextEffect.h"

PESEffectCommand::PESEffectCommand(Document& document, int index, int32_t baselineIndex,
                                   float radiusValue, float angleValue, float rotateValue)
    : Command(document, "Base Line"), index(index) {
    if (doc.validIndex(index)) {
        copy = doc.layers[index];
        oldProperties = copy.properties;
    }
    newProperties = oldProperties;
    newProperties.baselineIndex = baselineIndex;
    newProperties.radiusValue = radiusValue;
    newProperties.angleValue = angleValue;
    newProperties.rotateValue = rotateValue;
    redo = [this] {
        if (!doc.validIndex(this->index))
            return;
        effects::rebuildPESLayer(doc.layers[this->index], newProperties,
                                 oldProperties.baselineIndex, copy.centerX, copy.centerY);
        doc.select(this->index);
        doc.renderLayer(this->index);
        doc.host.stitchWarning();
        doc.statusDirty = true;
    };
    undo = [this] { doc.restoreLayer(this->index, copy, oldProperties); };
}
