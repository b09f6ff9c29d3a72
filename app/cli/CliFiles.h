// Disk access, and the JSON string form, shared by the mes-cli sub-commands.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cli {

// Reads the whole file into BYTES. Returns false when it cannot be opened or read (errno tells
// why).
bool readWhole(const std::string& path, std::vector<uint8_t>& bytes);

// Lets `write` make the file PATH.part (the path it is given), then renames that over PATH, so a
// failed write never leaves a half-written file where the user expects a design or a picture.
// Returns false when `write` or the rename fails, after removing the partial file; errno is kept
// from the failure.
bool writeThroughPart(const std::string& path,
                      const std::function<bool(const std::string& part)>& write);

// writeThroughPart with the bytes as the file.
bool writeWhole(const std::string& path, const std::vector<uint8_t>& bytes);

// readWhole and writeWhole for a sub-command's own files: on failure they print
// "mes-cli COMMAND: cannot read PATH (reason)" (or write) on standard error and return false.
bool readInput(const char* command, const std::string& path, std::vector<uint8_t>& bytes);
bool writeOutput(const char* command, const std::string& path, const std::vector<uint8_t>& bytes);

// The system's words for errno ("No such file or directory"), for messages after a failed
// readWhole or writeWhole.
std::string lastSystemError();

// The text as a JSON string with its quotes. Invalid UTF-8 (a file name in another encoding) is
// first repaired to U+FFFD, as JSON has to be valid Unicode.
std::string jsonString(const std::string& text);

}  // namespace cli
