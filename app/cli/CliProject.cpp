#include "app/cli/CliProject.h"
#include "app/cli/CliFiles.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "design/ProjectFile.h"
#include "gui/FileUtils.h"

namespace cli {

bool isProjectPath(const std::string& path) {
    if (path.size() < 5)
        return false;
    std::string tail = path.substr(path.size() - 5);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".mpes";
}

FontEnv cliFontEnv() {
    FontEnv env;
    env.files.dataFolder = jsDataFolder();
    env.files.read = readWhole;
    return env;
}

bool loadProjectFile(const std::string& path, Document& document, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!readWhole(path, bytes)) {
        error = "cannot read " + path + " (" + lastSystemError() + ")";
        return false;
    }
    if (!loadProject(document, bytes)) {
        error = path + " is empty";
        return false;
    }
    return true;
}

PESData mergedDesign(const Document& document) {
    PESData merged;
    if (document.layers.empty())
        return merged;
    merged = document.layers[0];
    for (std::size_t i = 1; i < document.layers.size(); ++i)
        merged.mergeLayer(document.layers[i]);
    merged.computeBounds();
    return merged;
}

StitchedExtent stitchedExtent(const std::vector<const PESData*>& layers) {
    StitchedExtent e;
    for (const PESData* l : layers) {
        if (l->stitchCount == 0)
            continue;
        e.minX = std::min<int64_t>(e.minX, l->minX);
        e.minY = std::min<int64_t>(e.minY, l->minY);
        e.maxX = std::max<int64_t>(e.maxX, l->maxX);
        e.maxY = std::max<int64_t>(e.maxY, l->maxY);
    }
    return e;
}

}  // namespace cli
