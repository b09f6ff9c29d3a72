// Feeds arbitrary bytes to the CSV reader as a name list of mes-cli batch, and checks what the
// batch relies on: every record has a field and a line within the file, lines never go back,
// and every row to be written has a plain file name ending in ".pes", unique in the list.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "app/cli/BatchRows.h"
#include "app/cli/CsvReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const cli::CsvTable table = cli::readCsv(data, size);
    int line = 1;
    for (const cli::CsvRecord& r : table.records) {
        if (r.fields.empty() || r.line < line || std::size_t(r.line) > size + 1)
            std::abort();
        line = r.line;
    }
    std::set<std::string> names;  // in lower case
    for (const cli::BatchRow& row : cli::batchRows(table.records)) {
        if (!row.error.empty())
            continue;
        std::string name = row.fileName;
        for (char& c : name)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        if (row.text.empty() || name.size() < 5 || name.compare(name.size() - 4, 4, ".pes") != 0 ||
            name.find_first_of("/\\") != std::string::npos || name[0] == '.' ||
            !names.insert(name).second)
            std::abort();
    }
    return 0;
}
