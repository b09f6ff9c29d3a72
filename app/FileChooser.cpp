#include "app/FileChooser.h"

#include "app/SystemFileChooser.h"

FileChooser* fileChooser = nullptr;

FileChooser& activeFileChooser() {
    if (fileChooser != nullptr)
        return *fileChooser;
    static SystemFileChooser system;
    return system;
}

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Glob matching with "*" and "?", iterative with one back-track point (no recursion, so a long
// name or pattern cannot exhaust the stack).
bool glob(const std::string& name, const std::string& pattern) {
    size_t n = 0, p = 0;
    size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

}  // namespace

bool matchesFilePattern(const std::string& name, const std::string& pattern) {
    // "*.*" is every file, also one without a dot, as desktop users know it.
    if (pattern == "*.*" || pattern == "*")
        return true;
    return glob(name, pattern);
}
