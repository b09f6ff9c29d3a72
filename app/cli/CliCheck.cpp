// mes-cli check FILE [--hoop WxH] [--spm N] [--json]
//
// What a machine will meet when it sews FILE: plain stitches longer than it sews, stitches so
// short they wear the thread, places where the thread piles up, the size against the hoop (mm,
// unchecked without --hoop), the colour changes and the sewing time at N stitches per minute
// (600 unless given). A PES or PEC file is checked as the file is; a ".mpes" project as the
// export to the stick writes it: all layers merged, the first stitch reached by a jump.
//
// Prints a report in words, or with --json one JSON object. The exit status is 0 when nothing
// would stop a machine, 1 when something would (or the file cannot be read, explained on
// standard error), 2 on a usage error. The check itself is formats/SewingCheck.h.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "app/cli/CliProject.h"
#include "design/HeadlessLayerList.h"
#include "formats/PES.h"
#include "formats/PESWriter.h"
#include "formats/SewingCheck.h"
#include "formats/ThreadPalette.h"

namespace {

// 0.1 mm as millimetres with one decimal.
std::string mm(double units) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.1f", units / 10.0);
    return buf;
}

// "about 12 min 5 s"
std::string duration(double seconds) {
    const long s = std::lround(seconds);
    if (s < 60)
        return std::to_string(s) + " s";
    const long h = s / 3600, m = s % 3600 / 60, rest = s % 60;
    std::string out;
    if (h > 0)
        out = std::to_string(h) + " h ";
    return out + std::to_string(m) + " min " + std::to_string(rest) + " s";
}

const char* kindName(SewingIssueKind kind) {
    switch (kind) {
        case SewingIssueKind::TooLarge:
            return "too_large";
        case SewingIssueKind::LongStitches:
            return "long_stitches";
        case SewingIssueKind::ShortStitches:
            return "short_stitches";
        case SewingIssueKind::PileUps:
            return "pile_ups";
    }
    return "";
}

// Numbers that people use for a place: the stitch counted from 1 over the whole design and the
// colour counted from 1.
struct Where {
    long stitch = 0;
    int colour = 0;
};

Where where(const std::vector<StitchBlock>& blocks, const SewingPlace& p) {
    Where w;
    int colour = 0;
    for (std::size_t b = 0; b < blocks.size() && b <= p.block; ++b) {
        if (b == 0 || blocks[b].colorIndex != blocks[b - 1].colorIndex)
            ++colour;
        w.stitch += long(b < p.block ? blocks[b].stitches.size() : p.stitch + 1);
    }
    w.colour = colour;
    return w;
}

void printWords(const std::string& path, const std::string& what,
                const std::vector<StitchBlock>& blocks, const SewingReport& r,
                const SewingCheckOptions& o) {
    std::printf("file: %s (%s)\n", path.c_str(), what.c_str());
    if (!r.hasStitches) {
        std::printf("The design has no stitches.\n");
        return;
    }
    std::string size = "size: " + mm(r.width()) + " x " + mm(r.height()) + " mm";
    if (r.hoopW > 0 && r.hoopH > 0) {
        size += ", hoop " + std::to_string(r.hoopW) + " x " + std::to_string(r.hoopH) +
                " mm: " + (r.find(SewingIssueKind::TooLarge) ? "too small" : "fits");
    }
    std::printf("%s\n", size.c_str());
    std::printf("stitches: %d sewn, %d jumps, %d trims\n", r.stitches, r.jumps, r.trims);
    if (r.colorChanges == 0) {
        std::printf("colours: 1, no colour change:");
    } else {
        std::printf("colours: %zu, %d colour change%s:", r.colors.size(), r.colorChanges,
                    r.colorChanges == 1 ? "" : "s");
    }
    for (std::size_t i = 0; i < r.colors.size(); ++i)
        std::printf("%s %s", i ? "," : "", threadName(r.colors[i]));
    std::printf("\n");
    std::printf(
        "sewing time: about %s at %d stitches per minute (%.0f s per colour change, "
        "%.0f s per trim)\n",
        duration(r.seconds).c_str(), r.stitchesPerMinute, o.colorChangeSeconds, o.trimSeconds);

    auto printIssues = [&](bool stops) {
        for (const SewingIssue& issue : r.issues) {
            if (issue.stopsMachine != stops)
                continue;
            std::printf("  - %s\n", sewingReasonText(issue, r).c_str());
            for (const SewingPlace& p : issue.places) {
                const std::string at = "(" + mm(p.x) + ", " + mm(p.y) + ") mm";
                const Where w = where(blocks, p);
                if (issue.kind == SewingIssueKind::PileUps) {
                    std::printf("      %.1f layers around %s, from stitch %ld (colour %d) on\n",
                                p.value, at.c_str(), w.stitch, w.colour);
                } else {
                    std::printf("      stitch %ld (colour %d) to %s: %.2f mm\n", w.stitch, w.colour,
                                at.c_str(), p.value / 10.0);
                }
            }
            if (issue.count > int(issue.places.size()) && !issue.places.empty())
                std::printf("      and %d more\n", issue.count - int(issue.places.size()));
        }
    };
    if (r.stopsMachine()) {
        std::printf("\nA machine will refuse this design or stop on it:\n");
        printIssues(true);
    } else {
        std::printf("\nNothing here would stop a machine.\n");
    }
    if (std::any_of(r.issues.begin(), r.issues.end(),
                    [](const SewingIssue& i) { return !i.stopsMachine; })) {
        std::printf("\nWarnings (a machine sews these, at a risk to thread and needle):\n");
        printIssues(false);
    }
}

void printJson(const std::string& path, const std::string& format,
               const std::vector<StitchBlock>& blocks, const SewingReport& r) {
    std::string out =
        "{\"file\":" + cli::jsonString(path) + ",\"format\":" + cli::jsonString(format);
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  ",\"has_stitches\":%s,\"size_mm\":[%.1f,%.1f],\"bounds\":[%d,%d,%d,%d]",
                  r.hasStitches ? "true" : "false", r.width() / 10.0, r.height() / 10.0, r.minX,
                  r.minY, r.maxX, r.maxY);
    out += buf;
    if (r.hoopW > 0 && r.hoopH > 0) {
        std::snprintf(buf, sizeof buf, ",\"hoop_mm\":[%d,%d],\"fits_hoop\":%s", r.hoopW, r.hoopH,
                      r.find(SewingIssueKind::TooLarge) ? "false" : "true");
    } else {
        std::snprintf(buf, sizeof buf, ",\"hoop_mm\":null,\"fits_hoop\":null");
    }
    out += buf;
    std::snprintf(buf, sizeof buf,
                  ",\"stitches\":%d,\"jumps\":%d,\"trims\":%d,\"colour_changes\":%d,\"colours\":[",
                  r.stitches, r.jumps, r.trims, r.colorChanges);
    out += buf;
    for (std::size_t i = 0; i < r.colors.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%s{\"index\":%d,\"name\":", i ? "," : "", int(r.colors[i]));
        out += buf + cli::jsonString(threadName(r.colors[i])) + "}";
    }
    std::snprintf(buf, sizeof buf,
                  "],\"stitches_per_minute\":%d,\"sewing_seconds\":%.1f,\"stops_machine\":%s,"
                  "\"issues\":[",
                  r.stitchesPerMinute, r.seconds, r.stopsMachine() ? "true" : "false");
    out += buf;
    for (std::size_t i = 0; i < r.issues.size(); ++i) {
        const SewingIssue& issue = r.issues[i];
        const bool piles = issue.kind == SewingIssueKind::PileUps;
        std::snprintf(buf, sizeof buf, "%s{\"kind\":\"%s\",\"stops_machine\":%s,\"count\":%d",
                      i ? "," : "", kindName(issue.kind), issue.stopsMachine ? "true" : "false",
                      issue.count);
        out += buf;
        if (issue.kind != SewingIssueKind::TooLarge) {
            std::snprintf(buf, sizeof buf, piles ? ",\"worst_layers\":%.1f" : ",\"worst_mm\":%.2f",
                          piles ? issue.worst : issue.worst / 10.0);
            out += buf;
        }
        out += ",\"reason\":" + cli::jsonString(sewingReasonText(issue, r)) + ",\"places\":[";
        for (std::size_t k = 0; k < issue.places.size(); ++k) {
            const SewingPlace& p = issue.places[k];
            const Where w = where(blocks, p);
            std::snprintf(
                buf, sizeof buf,
                "%s{\"stitch\":%ld,\"colour\":%d,\"x_mm\":%.1f,\"y_mm\":%.1f,\"%s\":%.*f}",
                k ? "," : "", w.stitch, w.colour, p.x / 10.0, p.y / 10.0,
                piles ? "layers" : "length_mm", piles ? 1 : 2, piles ? p.value : p.value / 10.0);
            out += buf;
        }
        out += "]}";
    }
    out += "]}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

namespace cli {

int check(const Invocation& in) {
    const std::string path = in.operand(0);
    SewingCheckOptions options;
    hoopSize(in, "--hoop", options.hoopW, options.hoopH);
    options.stitchesPerMinute = in.integer("--spm", 1, 10000, options.stitchesPerMinute);
    const bool asJson = in.has("--json");

    std::vector<uint8_t> bytes;
    if (!readInput("check", path, bytes))
        return kStatusFailed;
    std::vector<StitchBlock> blocks;
    SewingReport report;
    std::string format, what;
    if (PES::hasDesignMagic(bytes.data(), bytes.size())) {
        // As the file is: the machine starts where the stream starts.
        format = bytes[3] == 'C' ? "PEC" : "PES";
        PES reader;
        if (!reader.loadFileContents(std::move(bytes)) || !reader.hasSections()) {
            if (reader.headerOk()) {
                std::fprintf(stderr,
                             "mes-cli check: \"%s\" holds no stitches this editor can "
                             "read\n",
                             path.c_str());
            } else {
                std::fprintf(stderr,
                             "mes-cli check: \"%s\" is not a %s design this editor can read\n",
                             path.c_str(), format.c_str());
            }
            return 1;
        }
        const std::vector<uint8_t>& d = reader.stitchData();
        blocks = sewingBlocksOfStream(d.data(), d.size(), reader.colorIndexes());
        report = checkSewing(blocks, options);
        what = format + " version " + std::to_string(reader.version());
    } else if (bytes.size() >= 5 && std::memcmp(bytes.data(), "#MPES", 5) == 0) {
        // As the export to the stick writes it.
        format = "MPES project";
        HeadlessLayerList list;
        Document doc(list);
        doc.fontEnv = cliFontEnv();
        std::string error;
        if (!loadProjectFile(path, doc, error)) {
            std::fprintf(stderr, "mes-cli check: %s\n", error.c_str());
            return 1;
        }
        const PESData merged = mergedDesign(doc);
        blocks = pes_writer::writtenBlocks(merged.blocks, merged.centerX, merged.centerY);
        options.originX = merged.centerX;
        options.originY = merged.centerY;
        report = checkSewing(blocks, options);
        what = "project, " + std::to_string(doc.layerCount()) +
               (doc.layerCount() == 1 ? " layer" : " layers") + " as sent to the stick";
    } else {
        std::fprintf(stderr, "mes-cli check: \"%s\" is neither a PES file nor a project\n",
                     path.c_str());
        return 1;
    }
    if (asJson) {
        printJson(path, format, blocks, report);
    } else {
        printWords(path, what, blocks, report, options);
    }
    return report.stopsMachine() ? 1 : 0;
}

}  // namespace cli
