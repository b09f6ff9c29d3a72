// A text layer's properties changed in the property panel (text, font, size, colour, base line,
// radius, angle, rotation): the layer is composed again and bent and rotated; undo restores the
// copy. The name is given by the panel ("Text Effect" and the like). The new properties are
// brought into range as for any text layer; the two spacing values come from the creator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class TextEffectCommand : public Command {
public:
    TextEffectCommand(Document& document, int index, const std::string& name,
                      const LayerProperties& newProperties, int32_t extraLetterSpace,
                      int32_t extraSpace);

    // The text layer rebuild with the stitch fonts of the document (no history involved); what
    // the redo and loading a project run.
    static void rebuild(Document& document, int index, const LayerProperties& newProperties,
                        int32_t oldBaselineIndex);

private:
    int index;
    PESData copy;
    LayerProperties oldProperties, newProperties;
};
