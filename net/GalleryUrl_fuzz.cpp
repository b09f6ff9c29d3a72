// Feeds arbitrary text, as a user may type it into the gallery address or as a catalogue path may
// read, to the address splitting and the design URL derivation, and checks what they promise:
// a split address has a host without "/" or ":", a port in 1..65535 and a path beginning with
// "/"; a design URL is the base followed by nothing but safe characters and %XX escapes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/GalleryUrl.h"

namespace {

bool safeEncoding(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '/' ||
                           c == ':' || c == '_' || c == '~';
        if (plain)
            continue;
        if (c != '%' || i + 2 >= text.size())
            return false;
        for (int k = 1; k <= 2; ++k) {
            const char h = text[i + size_t(k)];
            if (!((h >= '0' && h <= '9') || (h >= 'A' && h <= 'F')))
                return false;
        }
        i += 2;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    gallery::HttpUrl url;
    if (gallery::splitHttpUrl(text, url)) {
        if (url.host.empty() || url.host.find_first_of("/:@ ") != std::string::npos ||
            url.port < 1 || url.port > 65535 || url.path.empty() || url.path[0] != '/' ||
            url.path.find_first_of(std::string(" \r\n\0", 4)) != std::string::npos)
            std::abort();
    }

    const std::string base = "http://127.0.0.1:8090";
    const std::string design = gallery::designUrl(base, text);
    if (!design.empty()) {
        if (design.compare(0, base.size(), base) != 0 || !safeEncoding(design.substr(base.size())))
            std::abort();
        if (design.size() == base.size() || design[base.size()] != '/')
            std::abort();
    }
    if (!safeEncoding(gallery::percentEncode(text)))
        std::abort();
    return 0;
}
