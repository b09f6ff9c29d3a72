#include "design/commands/MergeDownCommand.h"

MergeDownCommand::MergeDownCommand(Document& document, int index)
    : Command(document, "Merge Down"), index(index) {
    if (index >= 0 && index + 1 < doc.layerCount()) {
        lower = doc.layers[index];
        upper = doc.layers[index + 1];
    }
    redo = [this] {
        const int a = this->index;
        merged = false;
        if (a < 0 || a + 1 >= doc.layerCount())
            return;
        const PESData above = doc.layers[a + 1];
        doc.layers[a].mergeLayer(above);
        doc.renderLayer(a);
        doc.layers[a].sourceBlocks = doc.layers[a].blocks;
        doc.removeLayer(a + 1);
        doc.select(a);
        merged = true;
    };
    undo = [this] {
        const int a = this->index;
        if (!merged || !doc.validIndex(a))
            return;
        doc.layers[a] = lower;
        doc.insertLayer(a + 1, upper, upper.properties.text);
        doc.select(a + 1);
        doc.select(a);
        doc.renderLayer(a + 1);
        doc.renderLayer(a);
        doc.statusDirty = true;
    };
}
