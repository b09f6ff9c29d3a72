// Fuzz target for the project file reader: any bytes parse without reading outside them, and a
// document takes the result (rebuilding shapes and rendering through the headless list).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "design/Document.h"
#include "design/HeadlessLayerList.h"
#include "design/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<PESData> layers;
    parseProject(data, size, layers);
    // Whole documents only for inputs of a modest layer count: each layer costs a rebuild.
    if (layers.size() <= 64) {
        HeadlessLayerList list;
        Document doc(list);
        loadProject(doc, std::vector<uint8_t>(data, data + size));
        projectBytes(doc, 100, 100);
    }
    return 0;
}
