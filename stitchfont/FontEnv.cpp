#include "stitchfont/FontEnv.h"

#include "formats/PES.h"
#include "stitchfont/GlyphTemplates.h"
#include "stitchfont/SmartFontPack.h"

namespace {

bool isAbsolute(const std::string& path) {
    if (path.empty())
        return false;
    if (path[0] == '/' || path[0] == '\\')
        return true;
    return path.size() > 1 && path[1] == ':';
}

}  // namespace

std::string DataFiles::resolve(const std::string& path) const {
    if (dataFolder.empty() || isAbsolute(path))
        return path;
    if (path.compare(0, dataFolder.size(), dataFolder) == 0)
        return path;
    return dataFolder + path;
}

bool DataFiles::readFile(const std::string& path, std::vector<uint8_t>& bytes) const {
    bytes.clear();
    if (!read)
        return false;
    if (!read(resolve(path), bytes)) {
        bytes.clear();
        return false;
    }
    return true;
}

void FontEnv::forward(FormatLog& lines) const {
    for (const auto& line : lines.lines)
        emit(line.level, line.module, line.text);
    lines.lines.clear();
}

GlyphTemplates& FontEnv::glyphTemplates() const {
    return templates ? *templates : GlyphTemplates::shared();
}

PackCache& FontEnv::packCache() const {
    return cache ? *cache : PackCache::shared();
}

std::string enclosingFolder(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    if (cut == std::string::npos)
        return std::string();
    return path.substr(0, cut + 1);
}
