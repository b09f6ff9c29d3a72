// mes-cli batch NAMES.csv --font I --size S [--hoop WxH] [--color C] [--letter-space N]
//               [--word-space N] -o DIR
//
// One design per name of a list, as a shop personalising shirts or gifts needs them: each row's
// first column is set in the font as the editor builds a text layer (the same composition as
// mes-cli text) and written to DIR as a version 5 PES file named by the second column, or by
// the text when there is none (see BatchRows.h). A row that cannot become a design (no text,
// characters the font has no stitches for, a design larger than the hoop, a failed write) is
// reported with its line on standard error and skipped; the others are still written. Each
// written design is reported on standard output, and a summary line ends the run. The status is
// 1 when any row was skipped. DIR is created when missing.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/cli/BatchRows.h"
#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "app/cli/CliLettering.h"
#include "app/cli/CsvReader.h"
#include "app/cli/FontCatalogue.h"
#include "design/PESData.h"
#include "design/PESExport.h"

namespace {

// Skipped lines listed in the summary; the rest are counted.
constexpr std::size_t kListedSkips = 10;

std::string millimetres(int tenths) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", tenths / 10.0);
    return buf;
}

}  // namespace

namespace cli {

int batch(const Invocation& in) {
    const std::string listPath = in.operand(0);
    const int font = fontOption(in);
    const int size = sizeStepOption(in, font);
    int hoopW = 100;
    int hoopH = 100;
    hoopSize(in, "--hoop", hoopW, hoopH);
    const int color = colorOption(in, LayerProperties().colorIndex);
    const int letterSpace = in.integer("--letter-space", -2000, 2000, 0);
    const int wordSpace = in.integer("--word-space", -2000, 2000, 0);
    const std::string dir = in.text("-o");
    if (dir.empty())
        throw in.badValue("-o", "DIR is empty");

    const Lettering lettering(font, size, false);
    if (const std::string missing = lettering.missingPack(); !missing.empty()) {
        std::fprintf(stderr, "mes-cli batch: %s\n", missing.c_str());
        return kStatusFailed;
    }
    std::vector<uint8_t> bytes;
    if (!readInput("batch", listPath, bytes))
        return kStatusFailed;
    const CsvTable table = readCsv(bytes.data(), bytes.size());
    if (!table.error.empty()) {
        std::fprintf(stderr, "mes-cli batch: %s: %s\n", listPath.c_str(), table.error.c_str());
        return kStatusFailed;
    }
    const std::vector<BatchRow> rows = batchRows(table.records);
    if (rows.empty()) {
        std::fprintf(stderr, "mes-cli batch: %s holds no names\n", listPath.c_str());
        return kStatusFailed;
    }
    std::error_code ec, probe;
    const std::filesystem::path folderPath = std::filesystem::u8path(dir);
    std::filesystem::create_directories(folderPath, ec);
    if (!std::filesystem::is_directory(folderPath, probe)) {
        std::fprintf(stderr, "mes-cli batch: -o %s: cannot make the folder (%s)\n", dir.c_str(),
                     ec ? ec.message().c_str() : "a file has that name");
        return kStatusFailed;
    }
    const std::string folder = dir.back() == '/' ? dir : dir + "/";

    std::vector<int> skipped;
    const auto skip = [&](const BatchRow& row, const std::string& why) {
        std::fprintf(stderr, "mes-cli batch: %s line %d: %s; skipped\n", listPath.c_str(), row.line,
                     why.c_str());
        skipped.push_back(row.line);
    };
    const std::string fontName =
        "font " + std::to_string(font) + " (" + fontFacts(font).latinName + ")";
    for (const BatchRow& row : rows) {
        if (!row.error.empty()) {
            skip(row, row.error);
            continue;
        }
        const std::string quoted = "\"" + row.text + "\"";
        if (Lettering::tooLong(row.text)) {
            skip(row, quoted + " is longer than one design line can be");
            continue;
        }
        if (const std::string missing = lettering.missingCharacters(row.text); !missing.empty()) {
            skip(row, fontName + " has no stitches for " + missing);
            continue;
        }
        PESData layer;
        std::string error;
        if (!lettering.compose(row.text, letterSpace, wordSpace, color, layer, error)) {
            skip(row, quoted + " could not be composed" + (error.empty() ? "" : ": " + error));
            continue;
        }
        const std::string extent =
            millimetres(layer.boundsWidth) + " x " + millimetres(layer.boundsHeight) + " mm";
        if (layer.boundsWidth > hoopW * 10 || layer.boundsHeight > hoopH * 10) {
            skip(row, quoted + " is " + extent + ", larger than the " + std::to_string(hoopW) +
                          " x " + std::to_string(hoopH) + " mm hoop");
            continue;
        }
        const std::string path = folder + row.fileName;
        if (!writeWhole(path, writePES5(layer, hoopW, hoopH))) {
            skip(row, "cannot write " + path + " (" + lastSystemError() + ")");
            continue;
        }
        std::printf("%s line %d: wrote %s (%s, %d stitches)\n", listPath.c_str(), row.line,
                    path.c_str(), extent.c_str(), layer.stitchCount);
    }

    const std::size_t written = rows.size() - skipped.size();
    std::string summary = std::to_string(written) + " of " + std::to_string(rows.size()) +
                          (rows.size() == 1 ? " name" : " names") + " written to " + dir +
                          " (PES version 5, " + std::to_string(hoopW) + " x " +
                          std::to_string(hoopH) + " mm hoop)";
    if (!skipped.empty()) {
        summary += "; " + std::to_string(skipped.size()) + " skipped, line";
        summary += skipped.size() == 1 ? " " : "s ";
        for (std::size_t i = 0; i < skipped.size() && i < kListedSkips; ++i)
            summary += (i ? ", " : "") + std::to_string(skipped[i]);
        if (skipped.size() > kListedSkips)
            summary += ", ...";
    }
    std::printf("%s.\n", summary.c_str());
    return skipped.empty() ? kStatusDone : kStatusFailed;
}

}  // namespace cli
