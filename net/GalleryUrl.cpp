#include "net/GalleryUrl.h"

#include <algorithm>
#include <cctype>

namespace gallery {

namespace {

std::string withSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool endsWithNoCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - std::ptrdiff_t(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// Position just after the first path segment that is exactly "TMB", or npos. A folder such as
// "TMBackup" on the way to the data folder is not the catalogue.
size_t afterCatalogueSegment(const std::string& path) {
    const std::string name = kCatalogueFolder;
    for (size_t at = path.find(name); at != std::string::npos; at = path.find(name, at + 1)) {
        const size_t end = at + name.size();
        const bool startsSegment = at == 0 || path[at - 1] == '/';
        const bool endsSegment = end == path.size() || path[end] == '/';
        if (startsSegment && endsSegment)
            return end;
    }
    return std::string::npos;
}

}  // namespace

std::string cataloguePath(const std::string& thumbnailPath, const std::string& catalogueRoot) {
    const std::string path = withSlashes(thumbnailPath);
    std::string rest;
    std::string root = withSlashes(catalogueRoot);
    while (!root.empty() && root.back() == '/')
        root.pop_back();
    if (!root.empty() && path.size() > root.size() + 1 && path.compare(0, root.size(), root) == 0 &&
        path[root.size()] == '/') {
        rest = path.substr(root.size());
    } else {
        const size_t end = afterCatalogueSegment(path);
        if (end == std::string::npos)
            return "";
        rest = path.substr(end);
    }
    // The catalogue folder itself names no entry.
    if (rest.find_first_not_of('/') == std::string::npos)
        return "";
    return rest;
}

std::string percentEncode(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        const bool keep = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
                          (b >= '0' && b <= '9') || b == '-' || b == '.' || b == '/' || b == ':' ||
                          b == '_' || b == '~';
        if (keep) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return out;
}

std::string designPath(const std::string& thumbnailPath, const std::string& catalogueRoot) {
    std::string path = cataloguePath(thumbnailPath, catalogueRoot);
    // Only the file's own extension changes; a folder called "old.jpg.d" keeps its name.
    if (endsWithNoCase(path, ".jpg"))
        path.replace(path.size() - 4, 4, ".pes");
    return percentEncode(path);
}

std::string designUrl(const std::string& baseUrl, const std::string& thumbnailPath,
                      const std::string& catalogueRoot) {
    const std::string path = designPath(thumbnailPath, catalogueRoot);
    if (path.empty())
        return "";
    std::string base = baseUrl;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base + path;
}

bool splitHttpUrl(const std::string& url, HttpUrl& out) {
    const size_t first = url.find_first_not_of(" \t\r\n");
    const size_t last = url.find_last_not_of(" \t\r\n");
    if (first == std::string::npos)
        return false;
    std::string rest = url.substr(first, last - first + 1);
    if (startsWithNoCase(rest, "http://")) {
        rest.erase(0, 7);
    } else if (rest.find("://") != std::string::npos) {
        return false;
    }
    const size_t slash = rest.find('/');
    std::string hostPort = rest.substr(0, slash);
    HttpUrl parsed;
    parsed.path = slash == std::string::npos ? "/" : rest.substr(slash);
    const size_t colon = hostPort.rfind(':');
    if (colon != std::string::npos) {
        const std::string digits = hostPort.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        parsed.port = std::stoi(digits);
        if (parsed.port < 1 || parsed.port > 65535)
            return false;
        hostPort.resize(colon);
    }
    // A name or a dotted address; anything else (a user name, spaces, control bytes) would make
    // a request that no server understands.
    const bool hostOk = !hostPort.empty() &&
                        std::all_of(hostPort.begin(), hostPort.end(), [](char c) {
                            return std::isalnum(static_cast<unsigned char>(c)) || c == '-' ||
                                   c == '.' || c == '_';
                        });
    // The path goes into the request line as it stands: spaces must be written "%20".
    const bool pathOk = std::none_of(parsed.path.begin(), parsed.path.end(), [](char c) {
        return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
    });
    if (!hostOk || !pathOk)
        return false;
    parsed.host = hostPort;
    out = parsed;
    return true;
}

}  // namespace gallery
