// What the stitch font code needs from the outside world: a way to read data files, the two
// process-wide caches and a log sink. The library itself never opens a file and never writes
// to standard output; the application and mes-cli fill a FontEnv at their edge.
//
// Paths are UTF-8 strings. Relative paths name files inside the data folder.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class GlyphTemplates;
class PackCache;
struct FormatLog;

// Log levels as in the application log, plus kFontPrint for the plain trace lines that the
// application writes to standard output whatever the threshold (GUI_Print).
enum FontLogLevel : int {
    kFontPrint = -1,
    kFontVerbose = 0,
    kFontNotice = 1,
    kFontWarning = 2,
    kFontError = 3
};

// Receives one log line: level, module ("" for none) and text. The application forwards the
// lines to GUI_Log* / GUI_Print; tests collect them.
using FontLogSink =
    std::function<void(int level, const std::string& module, const std::string& text)>;

// Reads whole files of the data folder.
struct DataFiles {
    // Absolute data folder with a trailing separator; "" leaves paths as they are.
    std::string dataFolder;
    // Reads the file at an absolute (already resolved) path into bytes; false when it cannot be
    // read. Null means every file is missing.
    std::function<bool(const std::string& path, std::vector<uint8_t>& bytes)> read;

    // A relative path placed inside the data folder; absolute paths ("/..." or "X:...") stay.
    std::string resolve(const std::string& path) const;
    // resolve, then read; bytes is emptied on failure.
    bool readFile(const std::string& path, std::vector<uint8_t>& bytes) const;
};

struct FontEnv {
    DataFiles files;
    // The caches; null selects the process-wide ones (GlyphTemplates::shared(),
    // PackCache::shared()). Tests pass their own so that each test starts cold.
    GlyphTemplates* templates = nullptr;
    PackCache* cache = nullptr;
    // Null drops every line.
    FontLogSink log;

    void emit(int level, const std::string& module, const std::string& text) const {
        if (log)
            log(level, module, text);
    }
    // Forwards the lines a format routine collected, then empties the collection.
    void forward(FormatLog& lines) const;
    GlyphTemplates& glyphTemplates() const;
    PackCache& packCache() const;
};

// The folder part of a path with its trailing separator (split at the last '/' or '\'); "" for
// a bare file name.
std::string enclosingFolder(const std::string& path);
