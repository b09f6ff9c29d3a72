// Cutting "#MIVO" buffers into their colour list and stitch stream.

#include "formats/Mivo.h"

#include <cstring>

namespace {
constexpr const char* kModule = "PESData::loadMIVO()";
}

bool isMivo(const uint8_t* bytes, std::size_t size) {
    return bytes && size >= kMivoMagicSize && std::memcmp(bytes, "#MIVO", kMivoMagicSize) == 0;
}

bool parseMivo(const uint8_t* bytes, std::size_t size, MivoBuffer& out, FormatLog* log) {
    if (!bytes || size == 0) {
        if (log)
            log->add(3, kModule, "Error file not found");
        return false;
    }
    if (!isMivo(bytes, size)) {
        if (log)
            log->add(3, kModule, "MIVO header invalid");
        return false;
    }
    if (size < kMivoMagicSize + 1 || (bytes[kMivoMagicSize] & 0x80) != 0) {
        if (log)
            log->add(3, kModule, "MIVO colour count invalid");
        return false;
    }
    const std::size_t colors = std::size_t(bytes[kMivoMagicSize]) + 1;
    const std::size_t listStart = kMivoMagicSize + 1;
    if (listStart + colors > size) {
        if (log)
            log->add(3, kModule, "MIVO colour list cut short");
        return false;
    }
    out.colors.assign(bytes + listStart, bytes + listStart + colors);
    out.streamOffset = listStart + colors;
    return true;
}
