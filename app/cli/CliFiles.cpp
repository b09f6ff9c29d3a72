#include "app/cli/CliFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>

#include "gui/StringUtils.h"

namespace cli {

namespace {

// Removes the partial file without losing the errno of the failure before it.
void removeKeepingErrno(const std::string& path) {
    const int saved = errno;
    std::remove(path.c_str());
    errno = saved;
}

}  // namespace

bool readWhole(const std::string& path, std::vector<uint8_t>& bytes) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    // A folder opens like a file and fails on the first read, which the stream reports by
    // throwing; errno keeps the reason.
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        bytes.clear();
        return false;
    }
    return !in.bad();
}

bool writeThroughPart(const std::string& path,
                      const std::function<bool(const std::string& part)>& write) {
    const std::string part = path + ".part";
    errno = 0;
    if (!write(part) || std::rename(part.c_str(), path.c_str()) != 0) {
        removeKeepingErrno(part);
        return false;
    }
    return true;
}

bool writeWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
    return writeThroughPart(path, [&](const std::string& part) {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        return !out.fail();
    });
}

bool readInput(const char* command, const std::string& path, std::vector<uint8_t>& bytes) {
    if (readWhole(path, bytes))
        return true;
    std::fprintf(stderr, "mes-cli %s: cannot read %s (%s)\n", command, path.c_str(),
                 lastSystemError().c_str());
    return false;
}

bool writeOutput(const char* command, const std::string& path, const std::vector<uint8_t>& bytes) {
    if (writeWhole(path, bytes))
        return true;
    std::fprintf(stderr, "mes-cli %s: cannot write %s (%s)\n", command, path.c_str(),
                 lastSystemError().c_str());
    return false;
}

std::string lastSystemError() {
    return errno != 0 ? std::strerror(errno) : "unknown reason";
}

std::string jsonString(const std::string& text) {
    const std::string valid = ofUTF8::repair(text);
    std::string out = "\"";
    for (unsigned char c : valid) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

}  // namespace cli
