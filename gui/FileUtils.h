// File and path utilities: resolution of relative names against the data folder beside the
// executable, whole-file byte buffers, file objects, directory listings with a natural sort,
// path arithmetic and the computer's own IPv4 address.
//
// Paths are UTF-8 narrow strings on the interface and boost::filesystem::path inside.
// Main thread only: jsToDataPath may change the process's working directory.
//
// Sections: data path resolution; jsBuffer; jsFile; ofDirectory; jsFilePath; local address.
#pragma once

#include <boost/filesystem/path.hpp>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// ---- Data path resolution -------------------------------------------------------------------

// The absolute working directory the application started in (set once at start-up). While it
// is not empty, every jsToDataPath first changes the working directory back to it, undoing
// dialogs or libraries that moved it. Empty until the application sets it.
extern std::string defaultWorkingDirectory;

// The folders where the data of an executable in `exeDir` is looked for, in this order, each with
// a trailing separator: "data" beside the executable (the build tree, a copied folder), then
// "share/mes" beside the executable's parent (an installed program: bin/mes and share/mes/ under
// one prefix such as /usr).
std::vector<std::string> jsDataFolderCandidates(const std::string& exeDir);

// The first candidate that is a folder; "" when none is.
std::string jsFindDataFolder(const std::string& exeDir);

// The line that tells the user no candidate holds the data: the program and every folder tried.
std::string jsMissingDataFolderMessage(const std::string& program, const std::string& exeDir);

// Writes jsMissingDataFolderMessage for the running executable to standard error, once per run
// whoever asks (the toolkit's resource lookup and jsDataPathRoot both may).
void jsReportMissingDataFolder();

// The data folder: the canonical form of the first of jsDataFolderCandidates of the executable's
// folder that exists; when none does, reported by jsReportMissingDataFolder and taken as the plain
// join of the executable's folder and "data". Fixed on first use.
const boost::filesystem::path& jsDataPathRoot();

// jsDataPathRoot with a trailing separator, for code that joins names to it.
std::string jsDataFolder();

// Resolves a path. Absolute paths come back canonical. Relative paths are placed inside the
// data folder: "en/Localizable.strings" becomes "data/en/Localizable.strings" (relative to the
// working directory) or, with makeAbsolute, the canonical absolute path; a path that already
// starts with the data folder is kept. A trailing "/" on a folder is kept.
std::string jsToDataPath(const std::string& path, bool makeAbsolute = false);

// ---- jsBuffer: a growable byte array --------------------------------------------------------

class jsBuffer {
public:
    jsBuffer() = default;
    jsBuffer(const char* data, std::size_t size) { set(data, size); }
    explicit jsBuffer(const std::string& text) { set(text); }

    void set(const char* data, std::size_t size);
    void set(const std::string& text) { set(text.data(), text.size()); }
    void append(const char* data, std::size_t size);
    void append(const std::string& text) { append(text.data(), text.size()); }
    // Two bytes, the low byte first.
    void appendU16(int value);
    // One length byte (the length cut to 255) followed by that many characters.
    void appendPascalString(const char* text);

    void clear() { buffer.clear(); }
    bool empty() const { return buffer.empty(); }
    std::size_t size() const { return buffer.size(); }
    char* getData() { return buffer.data(); }
    const char* getData() const { return buffer.data(); }
    std::vector<char>& getBuffer() { return buffer; }
    const std::vector<char>& getBuffer() const { return buffer; }

    // The bytes as a string ("" when empty).
    std::string getText() const { return std::string(buffer.begin(), buffer.end()); }

    // The lines of the buffer. A line ends at "\n", "\r" or "\r\n"; the last line needs no line
    // end; a NUL that is the last byte ends the last line without being part of it.
    std::vector<std::string> lines() const;

private:
    std::vector<char> buffer;
};

// The whole file (resolved with jsToDataPath); empty when it cannot be read.
jsBuffer jsBufferFromFile(const std::string& path, bool binary = true);
// Writes the whole buffer, creating missing parent folders; true when everything was written.
bool jsBufferToFile(const std::string& path, const jsBuffer& buffer, bool binary = true);

// ---- jsFile: a resolved path with a file stream ---------------------------------------------

class jsFile : public std::fstream {
public:
    enum Mode { Reference = 0, ReadOnly = 1, WriteOnly = 2, ReadWrite = 3, Append = 4 };

    jsFile() = default;
    explicit jsFile(const std::string& path, Mode mode = ReadOnly, bool binary = true);
    // Copies reopen the other file's path; a writable file is copied as read-only.
    jsFile(const jsFile& other);
    jsFile& operator=(const jsFile& other);
    ~jsFile() override;

    // Closes, resolves the path (relative form) and opens the stream for the mode. False when
    // the stream failed, or when a file to read is missing or is not a regular file.
    bool open(const std::string& path, Mode mode = ReadOnly, bool binary = true);
    // Forgets the path and closes the stream.
    void close();
    void copyFrom(const jsFile& other);

    // The resolved path as given to the stream.
    std::string path() const { return myFile.string(); }
    const boost::filesystem::path& fsPath() const { return myFile; }
    std::string getFileName() const;
    std::string getBaseName() const;   // file name without its extension
    std::string getExtension() const;  // without the dot, "" when none
    std::string getEnclosingDirectory() const;
    std::string getAbsolutePath() const;
    Mode getMode() const { return mode; }
    bool isBinary() const { return binary; }

    bool exists() const;
    bool isFile() const;
    bool isDirectory() const;
    // The name starts with "." and is neither "." nor "..".
    bool isHidden() const;
    std::uint64_t getSize() const;

    // The rest of the stream; empty when the path is empty or does not exist.
    jsBuffer readToBuffer();
    bool writeFromBuffer(const jsBuffer& buffer);

    static bool doesFileExist(const std::string& path, bool relativeToData = true);

private:
    friend class ofDirectory;  // fills in listed entries without resolving them again
    bool openStream();

    boost::filesystem::path myFile;
    Mode mode = Reference;
    bool binary = true;
};

// ---- ofDirectory: directory listing ---------------------------------------------------------

class ofDirectory {
public:
    ofDirectory() = default;
    explicit ofDirectory(const std::string& path) { open(path); }

    void open(const std::string& path);
    void close();
    // Adds an extension (without dot, any case) to the allowed list; "*" allows everything.
    void allowExt(const std::string& extension);
    void setShowHidden(bool show) { showHidden = show; }

    // Lists the directory (after open); returns the number of entries.
    std::size_t listDir();
    std::size_t listDir(const std::string& path);
    // Natural order: names that are plain decimal integers ("7", not "007") come first, by
    // value; the rest follow by their absolute paths compared byte by byte.
    void sort();

    std::size_t size() const { return files.size(); }
    // An index at or beyond size() gives "" (an empty file) rather than undefined behaviour.
    std::string getName(std::size_t index) const { return getFile(index).getFileName(); }
    std::string getPath(std::size_t index) const { return getFile(index).path(); }
    const jsFile& getFile(std::size_t index) const;
    const std::vector<jsFile>& getFiles() const { return files; }
    std::string getOriginalDirectory() const { return originalDirectory; }
    std::string path() const { return myDir.string(); }

    // Resolves the path; true when it already is a folder or could be created with its parents.
    static bool createDirectory(const std::string& path);
    static bool doesDirectoryExist(const std::string& path);

private:
    std::string originalDirectory;
    boost::filesystem::path myDir;
    std::vector<std::string> extensions;
    std::vector<jsFile> files;
    bool showHidden = false;
};

// ---- jsFilePath: path arithmetic ------------------------------------------------------------

namespace jsFilePath {

std::string getCurrentExePath();           // "" when unavailable
std::string getCurrentExeDir();            // with a trailing separator
std::string getCurrentWorkingDirectory();  // "" when it cannot be read

// Separators in the platform's form and exactly one at the end; "" stays "".
std::string addTrailingSlash(const std::string& path);
std::string getPathForDirectory(const std::string& path);
// The parent folder with a trailing separator; "" for a bare file name.
std::string getEnclosingDirectory(const std::string& path, bool relativeToData = true);
bool createEnclosingDirectory(const std::string& path, bool relativeToData = true);
std::string getAbsolutePath(const std::string& path);
std::string getFileName(const std::string& path);
std::string join(const std::string& first, const std::string& second);
// The relative path that leads from folder `from` to folder `to`.
std::string makeRelative(const std::string& from, const std::string& to);

}  // namespace jsFilePath

// ---- Local address --------------------------------------------------------------------------

// The computer's own IPv4 address in dotted form, the one the route to the outside world uses;
// "0.0.0.0" when there is no route. No packet is sent.
std::string GUI_GetLocalIPAddress();
// The same, choosing the route towards the given IPv4 address (dotted form).
std::string GUI_GetLocalIPAddressToward(const std::string& probeAddress);
