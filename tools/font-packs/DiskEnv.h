// The stitch font code's view of a data folder on disk, for the pack builder and its tests
// (the editor fills its FontEnv at its own edge).
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "stitchfont/FontEnv.h"

// dataFolder ends with a separator; files are read whole.
inline FontEnv diskEnv(const std::string& dataFolder) {
    FontEnv env;
    env.files.dataFolder = dataFolder;
    env.files.read = [](const std::string& path, std::vector<uint8_t>& bytes) {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        return true;
    };
    return env;
}
