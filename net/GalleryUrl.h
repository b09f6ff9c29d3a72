// Addresses of the cloud gallery: where the design of a catalogue thumbnail lies on the gallery
// server, and how an "http://host:port/path" address splits into what a connection needs.
//
// The catalogue is a folder tree of JPEG thumbnails ("TMB" in the data folder); the server holds
// the designs under the same relative paths below its base URL, with ".pes" for ".jpg":
//   thumbnail  <data>/TMB/Flowers/rose 1.jpg
//   design     <base URL>/Flowers/rose%201.pes
// Pure code: text in, text out. Paths are UTF-8; a path may use "\" or "/" as separator.
#pragma once

#include <string>

namespace gallery {

// The catalogue's folder name inside the data folder.
constexpr const char* kCatalogueFolder = "TMB";

// The port of the gallery server that ships with the editor (mes-gallery-server), and the
// address the editor fetches designs from unless told otherwise.
constexpr int kLocalServerPort = 8090;
constexpr const char* kLocalServerUrl = "http://127.0.0.1:8090";

// The thumbnail's path below the catalogue, with "/" separators and a leading "/"
// ("/Flowers/rose 1.jpg"). When catalogueRoot is given and the path lies inside it, the path is
// taken relative to it; otherwise what follows the first path segment named "TMB". "" when the
// path is in neither (it names no catalogue entry).
std::string cataloguePath(const std::string& thumbnailPath, const std::string& catalogueRoot = "");

// Letters, digits and "-", ".", "/", ":", "_", "~" stay; every other byte (UTF-8 sequences
// included) becomes "%" and two upper-case hexadecimal digits.
std::string percentEncode(const std::string& text);

// The design's path on the server for a thumbnail: the catalogue path with a final ".jpg" (any
// case) turned into ".pes", percent-encoded ("/Flowers/rose%201.pes"). "" when the thumbnail lies
// outside the catalogue.
std::string designPath(const std::string& thumbnailPath, const std::string& catalogueRoot = "");

// The design's URL: the base URL without trailing "/" (otherwise taken as it stands) followed by
// designPath. "" when the thumbnail lies outside the catalogue.
std::string designUrl(const std::string& baseUrl, const std::string& thumbnailPath,
                      const std::string& catalogueRoot = "");

// An HTTP address in the parts a connection needs.
struct HttpUrl {
    std::string host;        // name or dotted IPv4 address
    int port = 80;           // 80 unless the address names another
    std::string path = "/";  // begins with "/"
};

// Splits "http://host[:port][/path]" ("http://" may be left out). False for another scheme
// ("https://", "ftp://"), a host that is not a name or dotted address (letters, digits, "-",
// ".", "_"), a port that is not a number in 1..65535, or a path with spaces or control bytes
// (they must be percent-encoded).
bool splitHttpUrl(const std::string& url, HttpUrl& out);

}  // namespace gallery
