// Reading comma-separated lists as spreadsheet programs save them: UTF-8 with or without a byte
// order mark, records ending in LF, CRLF or CR, fields in double quotes holding commas, quotes
// ("" for one) and line breaks. What does not follow these rules is read leniently, the way
// spreadsheets read it: text after a closing quote joins the field, a quote inside an unquoted
// field is kept. Only a quote left open at the end of the file is an error of its record.
//
// Pure code: bytes in, records out; the reader stops at the end of the bytes whatever they say.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cli {

struct CsvRecord {
    int line = 0;                     // line of the file on which the record starts, from 1
    std::vector<std::string> fields;  // at least one; a blank line is one empty field
    std::string error;                // "" or what is wrong with the record
};

struct CsvTable {
    std::vector<CsvRecord> records;
    std::string error;  // "" or why the whole file cannot be read as UTF-8 CSV
};

CsvTable readCsv(const uint8_t* data, std::size_t size);

}  // namespace cli
