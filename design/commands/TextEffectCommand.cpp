#include "design/commands/TextEffectCommand.h"

#include "design/TextEffect.h"
#include "design/TextLayer.h"

TextEffectCommand::TextEffectCommand(Document& document, int index, const std::string& name,
                                     const LayerProperties& panel, int32_t extraLetterSpace,
                                     int32_t extraSpace)
    : Command(document, name), index(index), newProperties(panel) {
    // Values from the panel are brought into range as for any text layer; the text and the two
    // spacing values are the caller's.
    resetTextLayerProperties(newProperties);
    newProperties.text = panel.text;
    newProperties.extraLetterSpace = extraLetterSpace;
    newProperties.extraSpace = extraSpace;
    if (doc.validIndex(index)) {
        copy = doc.layers[index];
        oldProperties = copy.properties;
    }
    redo = [this] {
        TextEffectCommand::rebuild(doc, this->index, newProperties, oldProperties.baselineIndex);
    };
    undo = [this] { doc.restoreLayer(this->index, copy, oldProperties); };
}

void TextEffectCommand::rebuild(Document& document, int index, const LayerProperties& newProperties,
                                int32_t oldBaselineIndex) {
    if (!document.validIndex(index))
        return;
    const FontEnv& env = document.fontEnv;
    effects::rebuildTextLayer(document.layers[index], newProperties, oldBaselineIndex,
                              [&env](PESData& l) {
                                  const LayerProperties& p = l.properties;
                                  createTextLayer(l, p.text, p.fontIndex, p.fontSizeIndex,
                                                  p.extraLetterSpace, p.extraSpace, env);
                              });
    document.select(index);
    document.renderLayer(index);
    document.host.stitchWarning();
    document.statusDirty = true;
}
