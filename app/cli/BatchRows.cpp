#include "app/cli/BatchRows.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include <utf8.h>

#include "app/cli/CommandTable.h"

namespace cli {

namespace {

constexpr std::size_t kMaxNameBytes = 200;  // before ".pes"; file systems allow 255

std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool hasControl(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

std::string folded(const std::string& name) {
    std::string f = name;
    std::transform(f.begin(), f.end(), f.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return f;
}

// Why a name from the second column cannot be used, or "".
std::string fileNameProblem(const std::string& name) {
    if (!utf8::is_valid(name.begin(), name.end()))
        return "the file name is not UTF-8 text (save the list as CSV in UTF-8)";
    if (hasControl(name) || name.find_first_of("/\\") != std::string::npos || name == "." ||
        name == ".." || name[0] == '.')
        return "file name \"" + name + "\" must be a plain name, without / or \\";
    if (name.size() > kMaxNameBytes + 4)
        return "file name \"" + name + "\" is longer than " + std::to_string(kMaxNameBytes) +
               " bytes";
    return "";
}

}  // namespace

std::string fileNameFromText(const std::string& text) {
    std::string name;
    for (auto it = text.begin(); it != text.end();) {
        const auto start = it;
        if (utf8::internal::validate_next(it, text.end()) != utf8::internal::UTF8_OK) {
            it = start + 1;  // a byte that is no character
            name += '_';
            continue;
        }
        std::string ch(start, it);
        if (ch.size() == 1 && (std::strchr("/\\:*?\"<>|' \t`$&;", ch[0]) || hasControl(ch)))
            ch = "_";
        if (name.size() + ch.size() > kMaxNameBytes)
            break;
        name += ch;
    }
    // Nothing that ends in a dot (some systems drop it), no hidden files.
    while (!name.empty() && name.back() == '.')
        name.pop_back();
    if (!name.empty() && name[0] == '.')
        name[0] = '_';
    if (name.empty())
        name = "design";
    return name + ".pes";
}

std::vector<BatchRow> batchRows(const std::vector<CsvRecord>& records) {
    std::vector<BatchRow> rows;
    std::map<std::string, int> taken;  // folded file name -> line of the row that has it

    // First the names the list gives, so that a name made from a text never takes one of them.
    for (const CsvRecord& r : records) {
        const bool blank = std::all_of(r.fields.begin(), r.fields.end(),
                                       [](const std::string& f) { return trimmed(f).empty(); });
        if (blank && r.error.empty())
            continue;
        BatchRow row;
        row.line = r.line;
        row.text = r.fields.empty() ? "" : trimmed(r.fields[0]);
        row.error = r.error;
        const std::string given = r.fields.size() > 1 ? trimmed(r.fields[1]) : "";
        if (row.error.empty() && row.text.empty()) {
            row.error = "no text in the first column";
        } else if (row.error.empty() && !utf8::is_valid(row.text.begin(), row.text.end())) {
            row.error = "the text is not UTF-8 (save the list as CSV in UTF-8)";
        } else if (row.error.empty() && hasControl(row.text)) {
            row.error = "the text holds a line break or a control character; a design is one line";
        } else if (row.error.empty() && !given.empty()) {
            row.error = fileNameProblem(given);
            if (row.error.empty()) {
                row.fileName = hasExtension(given, ".pes") ? given : given + ".pes";
                const auto [it, fresh] = taken.emplace(folded(row.fileName), row.line);
                if (!fresh) {
                    row.error = "file name \"" + row.fileName + "\" is already used by line " +
                                std::to_string(it->second);
                    row.fileName.clear();
                }
            }
        }
        rows.push_back(row);
    }
    for (BatchRow& row : rows) {
        if (!row.error.empty() || !row.fileName.empty())
            continue;
        const std::string base = fileNameFromText(row.text);
        const std::string stem = base.substr(0, base.size() - 4);
        row.fileName = base;
        for (int n = 2; taken.count(folded(row.fileName)); ++n)
            row.fileName = stem + "-" + std::to_string(n) + ".pes";
        taken.emplace(folded(row.fileName), row.line);
    }
    return rows;
}

}  // namespace cli
