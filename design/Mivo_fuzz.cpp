// Fuzz target: the "#MIVO" buffer decoder of the layer model on arbitrary bytes.

#include <cstddef>
#include <cstdint>

#include "design/PESData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FormatLog log;
    PESData layer;
    if (layer.loadMIVO(data, size, &log)) {
        layer.prepareImportedPES();
        layer.mirrorX();
        layer.computeBounds();
        layer.buildFramePoints();
    }
    return 0;
}
