// Where the gallery's designs are fetched from: a base URL with host, port and path, below which
// the server mirrors the catalogue ("http://127.0.0.1:8090" serves "/Flowers/rose%201.pes").
//
// Chosen, first match wins: the command-line option `mes --gallery URL`; the first line of the
// file "gallery.txt" in the preferences folder that is neither empty nor a "#" comment; the local
// gallery server that ./run.sh starts beside the editor. An address that is not "http://" with a
// host and a valid port is passed over with a warning. Main thread only.
#pragma once

#include <string>
#include <vector>

// The file in the preferences folder that may name the gallery's address.
constexpr const char* kGalleryAddressFile = "gallery.txt";

// The choice itself, kept pure: the option's value (null when the option was not given) and the
// address file's text ("" when there is none). Every address passed over adds a line to
// `warnings`.
std::string chooseGalleryAddress(const std::string* option, const std::string& fileText,
                                 std::vector<std::string>& warnings);

// The address for this run, from startOptions["gallery"] and prefPath + kGalleryAddressFile;
// warnings are logged under "Gallery". Read again at every call, so an edited file counts the
// next time the gallery opens.
std::string galleryAddress();
