// Sections: data path resolution; jsBuffer; jsFile; ofDirectory; jsFilePath; local address.
#include "gui/FileUtils.h"

#include "gui/Log.h"
#include "gui/StringUtils.h"

#include <SDL.h>
#include <boost/filesystem.hpp>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <numeric>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace fs = boost::filesystem;

std::string defaultWorkingDirectory;

namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWithSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

std::string currentDirectory() {
    boost::system::error_code ec;
    fs::path cwd = fs::current_path(ec);
    return ec ? std::string() : cwd.string();
}

// The path against the current directory, without resolving links. Unlike fs::absolute this
// does not throw when the working directory has gone away.
fs::path absoluteOf(const std::string& path) {
    const fs::path p(path);
    if (p.is_absolute()) {
        return p;
    }
    const std::string cwd = currentDirectory();
    return cwd.empty() ? p : fs::path(cwd) / p;
}

// Undoes a change of the working directory made by a dialog or a library. Nothing to do until
// the application has recorded where it started.
void restoreWorkingDirectory() {
    if (defaultWorkingDirectory.empty()) {
        return;
    }
    boost::system::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    if (!ec && cwd == fs::path(defaultWorkingDirectory)) {
        return;
    }
    fs::current_path(defaultWorkingDirectory, ec);
    if (ec) {
        GUI_LogPrint(
            "jsToDataPath: error while trying to change back to default working directory %s\n",
            defaultWorkingDirectory.c_str());
    }
}

// The canonical form, with a separator added when it names a folder and the caller's path
// ended with one. Empty on failure.
std::string canonicalWithSlash(const fs::path& path, bool addSlash) {
    boost::system::error_code ec;
    fs::path resolved = fs::canonical(path, ec);
    if (ec) {
        return "";
    }
    std::string text = resolved.string();
    if (addSlash && fs::is_directory(resolved, ec)) {
        text = jsFilePath::addTrailingSlash(text);
    }
    return text;
}

// A string of the form read by listDir's sort: a decimal integer that prints back unchanged.
bool canonicalInteger(const std::string& text, long long& value) {
    if (text.empty()) {
        return false;
    }
    const char* end = text.data() + text.size();
    auto [ptr, err] = std::from_chars(text.data(), end, value);
    return err == std::errc() && ptr == end && std::to_string(value) == text;
}

}  // namespace

// ---- Data path resolution -------------------------------------------------------------------

std::vector<std::string> jsDataFolderCandidates(const std::string& exeDir) {
    if (exeDir.empty())
        return {};
    const fs::path dir = fs::path(exeDir).lexically_normal();
    // lexically_normal keeps a final "." for a trailing separator; the parent of "bin/." is bin.
    const fs::path folder = dir.filename_is_dot() ? dir.parent_path() : dir;
    std::vector<std::string> out = {jsFilePath::addTrailingSlash((folder / "data").string())};
    if (folder.has_parent_path() && folder.parent_path() != folder)
        out.push_back(jsFilePath::addTrailingSlash((folder.parent_path() / "share/mes").string()));
    return out;
}

std::string jsFindDataFolder(const std::string& exeDir) {
    for (const std::string& candidate : jsDataFolderCandidates(exeDir)) {
        boost::system::error_code ec;
        if (fs::is_directory(candidate, ec))
            return candidate;
    }
    return "";
}

std::string jsMissingDataFolderMessage(const std::string& program, const std::string& exeDir) {
    std::string tried;
    const std::vector<std::string> candidates = jsDataFolderCandidates(exeDir);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (i > 0)
            tried += i + 1 == candidates.size() ? " and " : ", ";
        tried += candidates[i];
    }
    if (tried.empty())
        tried = "nothing: the folder of the program is unknown";
    return program + ": no data folder found (looked in " + tried +
           "); fonts, stitch fonts and images will be missing. Reinstall the program, or put its "
           "data folder beside the executable.";
}

void jsReportMissingDataFolder() {
    static bool reported = false;
    if (reported)
        return;
    reported = true;
    const std::string exe = jsFilePath::getCurrentExePath();
    const std::string program = exe.empty() ? "mes" : fs::path(exe).filename().string();
    std::fprintf(stderr, "%s\n",
                 jsMissingDataFolderMessage(program, jsFilePath::getCurrentExeDir()).c_str());
    std::fflush(stderr);
}

const fs::path& jsDataPathRoot() {
    static const fs::path root = [] {
        const std::string exeDir = jsFilePath::getCurrentExeDir();
        std::string found = jsFindDataFolder(exeDir);
        if (found.empty()) {
            jsReportMissingDataFolder();
            found = (fs::path(exeDir) / "data").string();
        }
        // Kept without a trailing separator so that its parts (file name, parent) are plain.
        const fs::path plain = fs::path(found).lexically_normal();
        const fs::path folder = plain.filename_is_dot() ? plain.parent_path() : plain;
        boost::system::error_code ec;
        fs::path resolved = fs::canonical(folder, ec);
        return ec ? folder : resolved;
    }();
    return root;
}

std::string jsDataFolder() {
    return jsFilePath::addTrailingSlash(jsDataPathRoot().string());
}

std::string jsToDataPath(const std::string& path, bool makeAbsolute) {
    const bool endsWithSlash = endsWithSeparator(path);
    restoreWorkingDirectory();

    if (fs::path(path).is_absolute()) {
        std::string resolved = canonicalWithSlash(path, endsWithSlash);
        return resolved.empty() ? path : resolved;
    }

    const std::string& root = jsDataPathRoot().string();
    const std::string dataDir = jsFilePath::addTrailingSlash(root);
    const std::string relativeDataDir =
        jsFilePath::addTrailingSlash(jsFilePath::makeRelative(currentDirectory(), root));
    std::string inside = path;
    if (!startsWith(path, dataDir) && !startsWith(path, relativeDataDir)) {
        inside = (makeAbsolute ? dataDir : relativeDataDir) + path;
    }
    if (!makeAbsolute) {
        return inside;
    }
    std::string resolved = canonicalWithSlash(inside, endsWithSlash);
    if (!resolved.empty()) {
        return resolved;
    }
    return absoluteOf(inside).string();
}

// ---- jsBuffer ------------------------------------------------------------------------------

void jsBuffer::set(const char* data, std::size_t size) {
    buffer.assign(data, data + size);
}

void jsBuffer::append(const char* data, std::size_t size) {
    buffer.insert(buffer.end(), data, data + size);
}

void jsBuffer::appendU16(int value) {
    buffer.push_back(static_cast<char>(value & 0xFF));
    buffer.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void jsBuffer::appendPascalString(const char* text) {
    const std::size_t length = text ? std::min<std::size_t>(std::strlen(text), 255) : 0;
    buffer.push_back(static_cast<char>(static_cast<unsigned char>(length)));
    append(text, length);
}

std::vector<std::string> jsBuffer::lines() const {
    std::vector<std::string> result;
    std::size_t end = buffer.size();
    if (end > 0 && buffer[end - 1] == '\0') {
        --end;
    }
    std::size_t start = 0;
    while (start < end) {
        std::size_t pos = start;
        while (pos < end && buffer[pos] != '\n' && buffer[pos] != '\r') {
            ++pos;
        }
        result.emplace_back(buffer.data() + start, pos - start);
        if (pos < end && buffer[pos] == '\r' && pos + 1 < end && buffer[pos + 1] == '\n') {
            ++pos;
        }
        start = pos + 1;
    }
    return result;
}

jsBuffer jsBufferFromFile(const std::string& path, bool binary) {
    jsFile file(path, jsFile::ReadOnly, binary);
    return file.readToBuffer();
}

bool jsBufferToFile(const std::string& path, const jsBuffer& buffer, bool binary) {
    jsFile file(path, jsFile::WriteOnly, binary);
    return file.writeFromBuffer(buffer);
}

// ---- jsFile --------------------------------------------------------------------------------

jsFile::jsFile(const std::string& path, Mode mode, bool binary) : std::fstream() {
    open(path, mode, binary);
}

jsFile::jsFile(const jsFile& other) : std::basic_ios<char>(), std::fstream() {
    copyFrom(other);
}

jsFile& jsFile::operator=(const jsFile& other) {
    copyFrom(other);
    return *this;
}

jsFile::~jsFile() {
    close();
}

bool jsFile::open(const std::string& path, Mode newMode, bool newBinary) {
    close();
    myFile = jsToDataPath(path);
    mode = newMode;
    binary = newBinary;
    return openStream();
}

void jsFile::close() {
    myFile.clear();
    if (mode != Reference && std::fstream::is_open()) {
        std::fstream::close();
    }
    std::fstream::clear();
}

void jsFile::copyFrom(const jsFile& other) {
    if (&other == this) {
        return;
    }
    Mode newMode = other.mode;
    if (newMode != Reference && newMode != ReadOnly) {
        GUI_LogPrint(
            "sfFile::copyFrom(): copying a writable file, opening new copy as read only\n");
        newMode = ReadOnly;
    }
    // The other path is already resolved: take it as it stands.
    close();
    myFile = other.myFile;
    mode = newMode;
    binary = other.binary;
    openStream();
}

bool jsFile::openStream() {
    boost::system::error_code ec;
    if (mode == WriteOnly || mode == ReadWrite || mode == Append) {
        const fs::path parent = myFile.parent_path();
        if (!parent.empty() && !fs::exists(parent, ec)) {
            fs::create_directories(parent, ec);
        }
    }
    std::ios::openmode flags;
    switch (mode) {
        case Reference:
            return true;
        case ReadOnly:
            // A missing file or a folder opens no stream; the caller reads an empty buffer.
            if (myFile.empty() || !fs::is_regular_file(myFile, ec)) {
                return false;
            }
            flags = std::ios::in;
            break;
        case WriteOnly:
            flags = std::ios::out | std::ios::trunc;
            break;
        case ReadWrite:
            flags = std::ios::in | std::ios::out;
            break;
        case Append:
            flags = std::ios::out | std::ios::app;
            break;
        default:
            return false;
    }
    if (binary) {
        flags |= std::ios::binary;
    }
    std::fstream::open(myFile.string(), flags);
    return !std::fstream::fail();
}

std::string jsFile::getFileName() const {
    return myFile.filename().string();
}

std::string jsFile::getBaseName() const {
    const std::string name = getFileName();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string jsFile::getExtension() const {
    const std::string name = getFileName();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? "" : name.substr(dot + 1);
}

std::string jsFile::getEnclosingDirectory() const {
    return jsFilePath::getEnclosingDirectory(path(), false);
}

std::string jsFile::getAbsolutePath() const {
    return jsFilePath::getAbsolutePath(path());
}

bool jsFile::exists() const {
    boost::system::error_code ec;
    return !myFile.empty() && fs::exists(myFile, ec);
}

bool jsFile::isFile() const {
    boost::system::error_code ec;
    return !myFile.empty() && fs::is_regular_file(myFile, ec);
}

bool jsFile::isDirectory() const {
    boost::system::error_code ec;
    return !myFile.empty() && fs::is_directory(myFile, ec);
}

bool jsFile::isHidden() const {
    const std::string name = getFileName();
    return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

std::uint64_t jsFile::getSize() const {
    boost::system::error_code ec;
    const auto size = fs::file_size(myFile, ec);
    return ec ? 0 : size;
}

jsBuffer jsFile::readToBuffer() {
    jsBuffer result;
    if (myFile.empty() || !exists() || !std::fstream::is_open()) {
        return result;
    }
    char block[1024];
    while (std::fstream::good()) {
        std::fstream::read(block, sizeof block);
        const std::streamsize got = std::fstream::gcount();
        if (got <= 0) {
            break;
        }
        result.append(block, static_cast<std::size_t>(got));
    }
    return result;
}

bool jsFile::writeFromBuffer(const jsBuffer& buffer) {
    if (!std::fstream::is_open()) {
        return false;
    }
    std::fstream::write(buffer.getData(), static_cast<std::streamsize>(buffer.size()));
    std::fstream::flush();
    return std::fstream::good();
}

bool jsFile::doesFileExist(const std::string& path, bool relativeToData) {
    const std::string resolved = relativeToData ? jsToDataPath(path) : path;
    boost::system::error_code ec;
    return !resolved.empty() && fs::exists(resolved, ec);
}

// ---- ofDirectory ---------------------------------------------------------------------------

void ofDirectory::open(const std::string& path) {
    originalDirectory = jsFilePath::getPathForDirectory(path);
    files.clear();
    GUI_LogPrint("originalDirectory: %s\n", originalDirectory.c_str());
    myDir = jsToDataPath(originalDirectory);
    GUI_LogPrint("myDir: %s\n", myDir.string().c_str());
}

void ofDirectory::close() {
    files.clear();
    myDir.clear();
    originalDirectory.clear();
}

void ofDirectory::allowExt(const std::string& extension) {
    extensions.push_back(GUI_ToLower(extension, ""));
}

std::size_t ofDirectory::listDir(const std::string& path) {
    open(path);
    return listDir();
}

std::size_t ofDirectory::listDir() {
    files.clear();
    if (myDir.empty()) {
        GUI_LogError("ofDirectory") << "listDir(): directory path is empty";
        return 0;
    }
    GUI_LogPrint("Not empty\n");
    boost::system::error_code ec;
    if (!fs::exists(myDir, ec)) {
        GUI_LogError("ofDirectory")
            << "listDir:() source directory does not exist: \"" << myDir.string() << "\"";
        return 0;
    }
    GUI_LogPrint("%s existed -- 1\n", myDir.string().c_str());

    if (fs::is_directory(myDir, ec) && !fs::is_symlink(myDir, ec)) {
        GUI_LogPrint("myDir: %s", myDir.string().c_str());
        try {
            for (fs::directory_iterator it(myDir), end; it != end; ++it) {
                // Entries are already resolved: take their paths as the file system gives them.
                jsFile entry;
                entry.myFile = it->path();
                files.push_back(std::move(entry));
                GUI_LogPrint("iter");
            }
        } catch (const std::exception&) {
            GUI_LogPrint("Catched error\n");
        }
    }

    if (!showHidden) {
        files.erase(std::remove_if(files.begin(), files.end(),
                                   [](const jsFile& f) { return f.isHidden(); }),
                    files.end());
    }
    const bool filter = !extensions.empty() &&
                        std::find(extensions.begin(), extensions.end(), "*") == extensions.end();
    if (filter) {
        files.erase(std::remove_if(files.begin(), files.end(),
                                   [this](const jsFile& f) {
                                       if (f.isDirectory()) {
                                           return false;
                                       }
                                       const std::string ext = GUI_ToLower(f.getExtension(), "");
                                       return std::find(extensions.begin(), extensions.end(),
                                                        ext) == extensions.end();
                                   }),
                    files.end());
    }

    if (logThreshold == 0) {
        for (const jsFile& f : files) {
            GUI_LogVerbose() << "\t" << f.getFileName();
        }
        GUI_LogVerbose() << "listed " << files.size() << " files in \"" << originalDirectory
                         << "\"";
    }
    return files.size();
}

void ofDirectory::sort() {
    if (files.empty() && !myDir.empty()) {
        listDir();
    }
    // The keys are worked out once: the absolute form touches the file system.
    struct Key {
        bool numeric;
        long long number;
        std::string absolute;
    };
    std::vector<Key> keys;
    keys.reserve(files.size());
    for (const jsFile& f : files) {
        Key key{false, 0, jsFilePath::getAbsolutePath(f.path())};
        key.numeric = canonicalInteger(f.getBaseName(), key.number);
        keys.push_back(std::move(key));
    }
    // Numeric names first, by value, so 9.jpg precedes 10.jpg; then everything else byte by
    // byte (upper-case before lower-case). Putting all numbers first keeps the order strict
    // even when numeric and other names are mixed.
    std::vector<std::size_t> order(files.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) {
        const Key& ka = keys[a];
        const Key& kb = keys[b];
        if (ka.numeric != kb.numeric) {
            return ka.numeric;
        }
        if (ka.numeric && ka.number != kb.number) {
            return ka.number < kb.number;
        }
        return ka.absolute < kb.absolute;
    });
    std::vector<jsFile> sorted;
    sorted.reserve(files.size());
    for (std::size_t index : order) {
        sorted.push_back(files[index]);
    }
    files = std::move(sorted);
}

const jsFile& ofDirectory::getFile(std::size_t index) const {
    static const jsFile none;
    return index < files.size() ? files[index] : none;
}

bool ofDirectory::createDirectory(const std::string& path) {
    const fs::path resolved = jsToDataPath(path);
    boost::system::error_code ec;
    if (fs::is_directory(resolved, ec)) {
        return true;
    }
    fs::create_directories(resolved, ec);
    return !ec && fs::is_directory(resolved, ec);
}

bool ofDirectory::doesDirectoryExist(const std::string& path) {
    const fs::path resolved = jsToDataPath(path);
    boost::system::error_code ec;
    return fs::exists(resolved, ec) && fs::is_directory(resolved, ec);
}

// ---- jsFilePath ----------------------------------------------------------------------------

namespace jsFilePath {

std::string getCurrentExePath() {
#ifdef __linux__
    boost::system::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        return exe.string();
    }
#endif
    return "";
}

std::string getCurrentExeDir() {
    const std::string exe = getCurrentExePath();
    if (!exe.empty()) {
        return getEnclosingDirectory(exe, false);
    }
    // Elsewhere SDL knows the folder of the executable.
    std::string dir;
    if (char* base = SDL_GetBasePath()) {
        dir = base;
        SDL_free(base);
    }
    return addTrailingSlash(dir);
}

std::string getCurrentWorkingDirectory() {
    return currentDirectory();
}

std::string addTrailingSlash(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::string text = fs::path(path).make_preferred().string();
    if (text.back() != fs::path::preferred_separator) {
        text += static_cast<char>(fs::path::preferred_separator);
    }
    return text;
}

std::string getPathForDirectory(const std::string& path) {
    return addTrailingSlash(path);
}

std::string getEnclosingDirectory(const std::string& path, bool relativeToData) {
    std::string resolved = relativeToData ? jsToDataPath(path) : path;
    // A folder named with a trailing separator encloses what its parent holds.
    while (resolved.size() > 1 && endsWithSeparator(resolved)) {
        resolved.pop_back();
    }
    const std::size_t cut = resolved.find_last_of("/\\");
    if (cut == std::string::npos) {
        return "";
    }
    return addTrailingSlash(resolved.substr(0, cut == 0 ? 1 : cut));
}

bool createEnclosingDirectory(const std::string& path, bool relativeToData) {
    const std::string parent = getEnclosingDirectory(path, relativeToData);
    if (parent.empty()) {
        return true;
    }
    boost::system::error_code ec;
    fs::create_directories(parent, ec);
    return !ec;
}

std::string getAbsolutePath(const std::string& path) {
    return jsToDataPath(path, true);
}

std::string getFileName(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string join(const std::string& first, const std::string& second) {
    return (fs::path(first) / fs::path(second)).string();
}

std::string makeRelative(const std::string& from, const std::string& to) {
    auto components = [](const std::string& path) {
        std::vector<fs::path> parts;
        for (const fs::path& part : absoluteOf(path).lexically_normal()) {
            if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
        }
        return parts;
    };
    const std::vector<fs::path> a = components(from);
    const std::vector<fs::path> b = components(to);
    std::size_t common = 0;
    while (common < a.size() && common < b.size() && a[common] == b[common]) {
        ++common;
    }
    fs::path result;
    for (std::size_t i = common; i < a.size(); ++i) {
        result /= "..";
    }
    for (std::size_t i = common; i < b.size(); ++i) {
        result /= b[i];
    }
    return result.string();
}

}  // namespace jsFilePath

// ---- Local address -------------------------------------------------------------------------

std::string GUI_GetLocalIPAddressToward(const std::string& probeAddress) {
    static const char* const unspecified = "0.0.0.0";
    const int sock = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (sock < 0) {
        GUI_LogPrint("Return %s\n", unspecified);
        return unspecified;
    }
    // Connecting a datagram socket sends nothing; it only picks the route and so the address.
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(53);
    if (::inet_pton(AF_INET, probeAddress.c_str(), &remote.sin_addr) != 1 ||
        ::connect(sock, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0) {
        ::close(sock);
        GUI_LogPrint("Return %s\n", unspecified);
        return unspecified;
    }
    sockaddr_in local{};
    socklen_t length = sizeof local;
    char text[33] = "0.0.0.0";
    if (::getsockname(sock, reinterpret_cast<sockaddr*>(&local), &length) == 0) {
        if (::inet_ntop(AF_INET, &local.sin_addr, text, sizeof text) == nullptr) {
            std::strcpy(text, unspecified);
        }
    }
    ::close(sock);
    return text;
}

std::string GUI_GetLocalIPAddress() {
    // A public DNS server: any routable address would do.
    return GUI_GetLocalIPAddressToward("8.8.8.8");
}
