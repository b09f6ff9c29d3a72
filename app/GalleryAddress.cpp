#include "app/GalleryAddress.h"

#include <sstream>

#include "app/AppState.h"
#include "gui/FileUtils.h"
#include "gui/Log.h"
#include "gui/StringUtils.h"
#include "net/GalleryUrl.h"

namespace {

// A UTF-8 byte order mark, as some editors write at the start of a text file.
const std::string kByteOrderMark = "\xEF\xBB\xBF";

bool usable(const std::string& address) {
    gallery::HttpUrl url;
    return gallery::splitHttpUrl(address, url);
}

}  // namespace

std::string chooseGalleryAddress(const std::string* option, const std::string& fileText,
                                 std::vector<std::string>& warnings) {
    if (option != nullptr) {
        const std::string address = GUI_Trim(*option);
        if (usable(address))
            return address;
        warnings.push_back("--gallery \"" + *option +
                           "\" is not an http:// address with a host; not used");
    }
    std::string text = fileText;
    if (text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0)
        text.erase(0, kByteOrderMark.size());
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::string address = GUI_Trim(line);
        if (address.empty() || address[0] == '#')
            continue;
        if (usable(address))
            return address;
        warnings.push_back(std::string(kGalleryAddressFile) + ": \"" + address +
                           "\" is not an http:// address with a host; not used");
        break;
    }
    return gallery::kLocalServerUrl;
}

std::string galleryAddress() {
    const auto it = startOptions.find("gallery");
    const std::string* option = it == startOptions.end() ? nullptr : &it->second;
    std::string fileText;
    if (!prefPath.empty()) {
        const std::string path = prefPath + kGalleryAddressFile;
        if (jsFile::doesFileExist(path, false))
            fileText = jsBufferFromFile(path).getText();
    }
    std::vector<std::string> warnings;
    const std::string address = chooseGalleryAddress(option, fileText, warnings);
    for (const std::string& w : warnings)
        GUI_LogWarning("Gallery") << w;
    return address;
}
