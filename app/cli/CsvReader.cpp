#include "app/cli/CsvReader.h"

namespace cli {

namespace {

bool startsWith(const uint8_t* data, std::size_t size, const char* bytes, std::size_t n) {
    if (size < n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (data[i] != uint8_t(bytes[i]))
            return false;
    }
    return true;
}

}  // namespace

CsvTable readCsv(const uint8_t* data, std::size_t size) {
    CsvTable table;
    // Spreadsheets that save "Unicode text" write UTF-16 with its byte order mark; reading it as
    // UTF-8 would give every other byte as a NUL, so the whole file is refused with the way out.
    if (startsWith(data, size, "\xFF\xFE", 2) || startsWith(data, size, "\xFE\xFF", 2)) {
        table.error = "the file is UTF-16 text; save it as CSV in UTF-8";
        return table;
    }
    std::size_t i = startsWith(data, size, "\xEF\xBB\xBF", 3) ? 3 : 0;

    int line = 1;
    CsvRecord record;
    record.line = 1;
    std::string field;
    bool inQuotes = false;
    bool quoted = false;    // the field began with a quote
    int quoteLine = 0;      // line on which the open quote began
    bool anything = false;  // the record has a character or a separator

    const auto endField = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        quoted = false;
    };
    const auto endRecord = [&] {
        endField();
        table.records.push_back(std::move(record));
        record = CsvRecord();
        record.line = line;
        anything = false;
    };

    while (i < size) {
        const char c = char(data[i]);
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < size && data[i + 1] == '"') {
                    field += '"';
                    i += 2;
                    continue;
                }
                inQuotes = false;
                ++i;
                continue;
            }
            // Line breaks inside quotes belong to the field; they still count as lines.
            if (c == '\n' || (c == '\r' && !(i + 1 < size && data[i + 1] == '\n')))
                ++line;
            field += c;
            ++i;
            continue;
        }
        if (c == ',') {
            endField();
            anything = true;
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            i += (c == '\r' && i + 1 < size && data[i + 1] == '\n') ? 2 : 1;
            ++line;
            endRecord();
            continue;
        }
        if (c == '"' && !quoted && field.find_first_not_of(" \t") == std::string::npos) {
            // An opening quote; blanks before it (", "Name"") are not part of the field.
            field.clear();
            inQuotes = true;
            quoted = true;
            quoteLine = line;
            anything = true;
            ++i;
            continue;
        }
        field += c;
        anything = true;
        ++i;
    }
    if (inQuotes)
        record.error = "the quote opened on line " + std::to_string(quoteLine) + " is not closed";
    // The last line needs no line break; a line break at the very end starts no record.
    if (anything || !field.empty())
        endRecord();
    return table;
}

}  // namespace cli
