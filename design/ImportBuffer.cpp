#include "design/ImportBuffer.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "design/Document.h"
#include "design/commands/ImportCommand.h"

namespace {

std::size_t find(const std::vector<uint8_t>& bytes, const char* magic) {
    const std::size_t n = std::strlen(magic);
    auto it = std::search(bytes.begin(), bytes.end(), magic, magic + n);
    return it == bytes.end() ? std::string::npos : static_cast<std::size_t>(it - bytes.begin());
}

}  // namespace

bool doImportBuffer(Document& doc, const std::vector<uint8_t>& bytes) {
    bool imported = false;
    const std::size_t pes = find(bytes, "#PES");
    if (pes != std::string::npos) {
        if (pes == 0)
            doc.log(0, "", "Pos = 0");
        const std::vector<uint8_t> rest(bytes.begin() + static_cast<std::ptrdiff_t>(pes),
                                        bytes.end());
        imported = execute(doc, std::make_shared<ImportBufferCommand>(doc, rest));
    } else if (find(bytes, "#MIVO") == 0) {
        imported = execute(doc, std::make_shared<ImportMIVOBufferCommand>(doc, bytes));
    } else {
        // The buffer is shown as text, cut short: a download can be large.
        std::string text(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 256));
        doc.log(3, "doImportBuffer() Error", text);
    }
    doc.log(0, "", "OK");
    return imported;
}
