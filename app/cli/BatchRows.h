// The rows of a name list for mes-cli batch: the text of each design (first column) and the
// file it is written to (second column, or made from the text). Blank rows are left out; rows
// that cannot become a design keep their line and say why.
//
// Pure code: CSV records in, rows out.
#pragma once

#include <string>
#include <vector>

#include "app/cli/CsvReader.h"

namespace cli {

struct BatchRow {
    int line = 0;          // line of the list on which the row starts
    std::string text;      // the first column without surrounding blanks
    std::string fileName;  // a plain file name ending in ".pes" (no folder); "" with an error
    std::string error;     // "" when the row is to be composed, else why it is skipped
};

// One row per record that is not blank. File names are unique within the list without regard to
// ASCII case (designs often end up on FAT-formatted cards): a name given in the second column
// is taken by its first row, a later row asking for it is an error; names made from the text
// get "-2", "-3"... to stay clear of every other name.
std::vector<BatchRow> batchRows(const std::vector<CsvRecord>& records);

// A file name made from the text: characters that file systems or shells do not take become
// "_", blanks become "_", at most 200 bytes (cut at a character boundary), then ".pes".
std::string fileNameFromText(const std::string& text);

}  // namespace cli
