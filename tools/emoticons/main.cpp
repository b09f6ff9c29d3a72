// make-emoticons: the editor's 49 emoticons digitized from a colour emoji font.
//
//   make-emoticons --font FILE --out DATA [--specimens DIR] [--jobs N] [--source TEXT]
//
// FILE is a font with colour glyphs (COLR layers, read with FreeType). For every emoticon of
// EmoticonSet.h and every size it writes
//   DATA/Emoticon/PES/<Small|Medium|Large>/<n>.pes   the design (PES version 1)
//   DATA/Emoticon/PNG128/Large/<n>.png, <n>@2x.png  128 and 256 pixel pictures of the Large
//                                                    design, drawn by the editor's stitch renderer
//   DATA/Emoticon/QUALITY.txt                        the quality report
//   DATA/Emoticon/README.md                          what the set is (TEXT names the source)
// and, with --specimens, one specimen sheet per size into DIR.
//
// Each emoticon's colour layers become layered artwork (digitizer/Artwork.h), scaled so that the
// larger side of the drawing is the size's millimetres and centred on the origin. The designs
// are digitized on N threads (default 2); files and pictures are made on the main thread in a
// fixed order, so the output does not depend on N.
#include <time.h>

#include <boost/filesystem.hpp>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "DesignFigures.h"
#include "EmoticonSet.h"
#include "OutlineFont.h"
#include "Specimen.h"
#include "StitchImage.h"
#include "design/PESData.h"
#include "design/commands/ImportCommand.h"
#include "digitizer/Artwork.h"
#include "digitizer/Quality.h"
#include "formats/PESWriter.h"
#include "formats/ThreadPalette.h"
#include "gui/StringUtils.h"

namespace {

const char* const kVersion = "make-emoticons 1.0";

struct Options {
    std::string font, out, specimens, source = "a colour emoji font";
    int jobs = 2;
    int debug = 0;  // an emoticon whose Small runs are drawn with their regions into DATA/debug.png
};

bool mkdirs(const std::string& path) {
    boost::system::error_code ec;
    boost::filesystem::create_directories(path, ec);
    return boost::filesystem::is_directory(path, ec);
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    return bool(out);
}

bool writeText(const std::string& path, const std::string& text) {
    return writeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// Processor time of the calling thread: the digitizer's own cost, whatever else the machine does.
double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// ---- Artwork from the font

// The emoticon's colour layers in font units (y up), and their common box.
struct Drawing {
    std::vector<ColorLayer> layers;
    std::vector<std::vector<digitizer::Ring>> rings;  // per layer
    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
};

Drawing readDrawing(const OutlineFont& font, unsigned codePoint, double tolerance) {
    Drawing d;
    d.layers = font.colorLayers(codePoint);
    for (const ColorLayer& l : d.layers) {
        d.rings.push_back(font.outline(l.gid, tolerance));
        for (const digitizer::Ring& r : d.rings.back())
            for (digitizer::Point p : r) {
                d.minX = std::min(d.minX, p.x);
                d.maxX = std::max(d.maxX, p.x);
                d.minY = std::min(d.minY, p.y);
                d.maxY = std::max(d.maxY, p.y);
            }
    }
    return d;
}

// The drawing as artwork whose larger side is mm millimetres, centred on the origin, y down.
std::vector<digitizer::ArtLayer> artwork(const Drawing& d, int mm) {
    const double s = mm * 10.0 / std::max(d.maxX - d.minX, d.maxY - d.minY);
    const double cx = (d.minX + d.maxX) / 2, cy = (d.minY + d.maxY) / 2;
    std::vector<digitizer::ArtLayer> art;
    for (std::size_t i = 0; i < d.layers.size(); ++i) {
        const ColorLayer& l = d.layers[i];
        digitizer::ArtLayer a;
        // Colour fonts paint no see-through layers in faces; a foreground layer is black text.
        a.color = l.foreground ? Rgba{0, 0, 0, 255} : Rgba{l.r, l.g, l.b, 255};
        for (digitizer::Ring r : d.rings[i]) {
            for (digitizer::Point& p : r)
                p = {(p.x - cx) * s, -(p.y - cy) * s};
            a.outline.push_back(std::move(r));
        }
        art.push_back(std::move(a));
    }
    return art;
}

// ---- Stitches to a PES design

// Visible stitches are written in the short form, which reaches 6.2 mm: longer ones (the longest
// satin stitches may be a little longer) are cut into equal pieces.
constexpr int kMaxShort = 62;

std::vector<StitchBlock> blocksOf(const std::vector<digitizer::ColorRun>& runs) {
    std::vector<StitchBlock> blocks;
    for (const digitizer::ColorRun& run : runs) {
        StitchBlock b;
        b.colorIndex = uint8_t(run.thread);
        b.color = threadColor(run.thread);
        for (const digitizer::Needle& n : run.path) {
            Stitch s;
            s.x = int32_t(std::lround(n.p.x));
            s.y = int32_t(std::lround(n.p.y));
            if (n.kind == digitizer::Kind::Jump || n.kind == digitizer::Kind::Trim) {
                s.longForm = 1;
                s.type = n.kind == digitizer::Kind::Trim ? pec::kTrim : pec::kJump;
                b.stitches.push_back(s);
                continue;
            }
            if (!b.stitches.empty()) {
                const Stitch p = b.stitches.back();
                if (p.x == s.x && p.y == s.y)
                    continue;  // a second penetration in the same hole
                const int pieces =
                    (std::max(std::abs(s.x - p.x), std::abs(s.y - p.y)) + kMaxShort - 1) /
                    kMaxShort;
                for (int k = 1; k < pieces; ++k) {
                    Stitch m;
                    m.x = p.x + int32_t(std::lround(double(s.x - p.x) * k / pieces));
                    m.y = p.y + int32_t(std::lround(double(s.y - p.y) * k / pieces));
                    b.stitches.push_back(m);
                }
            }
            b.stitches.push_back(s);
        }
        blocks.push_back(std::move(b));
    }
    return blocks;
}

// ---- One design

struct RunReport {
    int thread = 0;
    double area = 0;             // mm²
    double coverage = 0;         // of the whole colour region
    double minPartCoverage = 1;  // of its pieces over 4 mm²
    double outside = 0;
};

struct Design {
    int number = 0, size = 0;
    std::vector<uint8_t> pes;
    std::vector<RunReport> runs;
    double seconds = 0;  // the digitizer's processor time
    double maxRun = 0;   // longest running or fill stitch, mm
    // From the file as our reader decodes it:
    bool readable = false;
    PESData layer;
    int stitchCount = 0, colorRuns = 0;
    double width = 0, height = 0;  // mm, visible stitches
    double shortest = 0, longest = 0;
    std::string error;
};

constexpr double kPartArea = 400.0;  // 4 mm² in 0.01 mm²

Design makeDesign(const Drawing& drawing, int number, int size) {
    Design d;
    d.number = number;
    d.size = size;
    std::vector<digitizer::ArtLayer> art = artwork(drawing, emoticons::kSizes[size].mm);
    digitizer::ArtParams params;
    const double t0 = threadSeconds();
    std::vector<digitizer::ColorRun> runs = digitizer::digitizeArtwork(art, params);
    d.seconds = threadSeconds() - t0;

    for (const digitizer::ColorRun& run : runs) {
        RunReport r;
        r.thread = run.thread;
        r.area = digitizer::ringsArea(run.region) / 100.0;
        digitizer::Quality q = digitizer::measure(run.region, run.path, params.stitch);
        r.coverage = q.coverage;
        r.outside = q.outside;
        d.maxRun = std::max(d.maxRun, q.maxRun / 10.0);
        for (const std::vector<digitizer::Ring>& part : digitizer::outlineParts(run.region))
            if (digitizer::ringsArea(part) > kPartArea)
                r.minPartCoverage =
                    std::min(r.minPartCoverage, digitizer::measure(part, run.path).coverage);
        d.runs.push_back(r);
    }
    std::vector<StitchBlock> blocks = blocksOf(runs);
    d.pes = writePES(pesWriteInputFor(blocks, 100, 100), 1);

    // What the editor will see: the file read back by our own reader.
    FormatLog log;
    d.readable = ImportCommand::layerFromPES(d.pes, d.layer, &log);
    if (!d.readable) {
        d.error = "our reader does not take the file";
        return d;
    }
    const PESData& l = d.layer;
    d.stitchCount = l.stitchCount;
    d.colorRuns = int(l.colorList.size());
    const emoticons::Figures f = emoticons::figuresOf(l);
    d.width = f.width;
    d.height = f.height;
    d.shortest = f.shortest;
    d.longest = f.longest;
    return d;
}

// ---- The report

struct Aims {
    double minCoverage = 0.95, maxOutside = 0.03, minStitch = 0.3, maxRun = 4.0;
    int maxMediumStitches = 12000, maxColorRuns = 8;
};

// The ways a design misses the aims, empty when it meets them all.
std::string misses(const Design& d, const Aims& a) {
    std::string m;
    if (!d.readable)
        m += " " + d.error + ";";
    for (const RunReport& r : d.runs) {
        if (r.minPartCoverage < a.minCoverage)
            m += GUI_Format(" %s coverage %.3f;", threadEntry(r.thread).name, r.minPartCoverage);
        if (r.outside > a.maxOutside)
            m += GUI_Format(" %s outside %.3f;", threadEntry(r.thread).name, r.outside);
    }
    if (d.shortest < a.minStitch - 1e-9)
        m += GUI_Format(" stitch of %.2f mm;", d.shortest);
    if (d.maxRun > a.maxRun + 1e-9)
        m += GUI_Format(" running stitch of %.1f mm;", d.maxRun);
    if (d.size == 1 && d.stitchCount >= a.maxMediumStitches)
        m += GUI_Format(" %d stitches;", d.stitchCount);
    if (d.colorRuns > a.maxColorRuns)
        m += GUI_Format(" %d colour runs;", d.colorRuns);
    return m;
}

std::string report(const std::vector<Design>& designs, double seconds, int jobs) {
    Aims aims;
    std::string s;
    s += GUI_Format("Quality report of the emoticons (%s, see tools/emoticons/main.cpp).\n",
                    kVersion);
    s += "Per design and size: the size of the stitched area, stitches (records of the file,\n"
         "movements included), colour runs, the shortest and longest visible stitch, the longest\n"
         "running or fill stitch; then per colour run its thread, the area it covers, its\n"
         "coverage (share of the region under thread 0.4 mm wide; in brackets the lowest coverage\n"
         "of its pieces over 4 mm2) and the share of its thread more than 0.2 mm outside the\n"
         "region.\n";
    s += GUI_Format(
        "Aims: coverage at least %.2f for pieces over 4 mm2, at most %.0f %% of thread "
        "outside,\nno stitch under %.1f mm, running and fill stitches at most %.0f mm, a "
        "Medium design under\n%d stitches, at most %d colour runs.\n",
        aims.minCoverage, aims.maxOutside * 100, aims.minStitch, aims.maxRun,
        aims.maxMediumStitches, aims.maxColorRuns);
    int missed = 0, maxMedium = 0, maxRuns = 0;
    double minCov = 1, maxOut = 0, shortest = 1e9, longest = 0, maxRun = 0, mediumTime = 0,
           slowestMedium = 0;
    for (const Design& d : designs) {
        if (d.size == 0) {
            const emoticons::Emoticon& e = emoticons::kSet[d.number - 1];
            s += GUI_Format("\n%2d U+%04X %s\n", d.number, e.codePoint, e.name);
        }
        s += GUI_Format(
            "   %-6s %4.1f x %4.1f mm %6d stitches %d runs  stitch %.2f..%.1f mm  "
            "run max %.1f mm\n",
            emoticons::kSizes[d.size].folder, d.width, d.height, d.stitchCount, d.colorRuns,
            d.shortest, d.longest, d.maxRun);
        for (const RunReport& r : d.runs) {
            s += GUI_Format("          %-16s %7.1f mm2  coverage %.3f (%.3f)  outside %.3f\n",
                            threadEntry(r.thread).name, r.area, r.coverage, r.minPartCoverage,
                            r.outside);
            minCov = std::min(minCov, r.minPartCoverage);
            maxOut = std::max(maxOut, r.outside);
        }
        std::string m = misses(d, aims);
        if (!m.empty()) {
            ++missed;
            s += "          off the aims:" + m + "\n";
        }
        shortest = std::min(shortest, d.shortest);
        longest = std::max(longest, d.longest);
        maxRun = std::max(maxRun, d.maxRun);
        maxRuns = std::max(maxRuns, d.colorRuns);
        if (d.size == 1) {
            maxMedium = std::max(maxMedium, d.stitchCount);
            mediumTime += d.seconds;
            slowestMedium = std::max(slowestMedium, d.seconds);
        }
    }
    s += GUI_Format(
        "\nall %zu designs: coverage min %.3f  outside max %.3f  stitch %.2f..%.1f mm  "
        "run max %.1f mm  Medium stitches max %d  colour runs max %d  off the aims: %d\n",
        designs.size(), minCov, maxOut, shortest, longest, maxRun, maxMedium, maxRuns, missed);
    s += GUI_Format(
        "Digitizer time (processor) of a Medium design: mean %.2f s, slowest %.2f s. Whole "
        "set built in %.0f s (%.0f s of processor time) on %d threads.\n",
        mediumTime / emoticons::kCount, slowestMedium, seconds,
        double(std::clock()) / CLOCKS_PER_SEC, jobs);
    return s;
}

std::string readme(const std::string& source) {
    std::string s =
        "# Emoticons\n\n"
        "The 49 emoticons of the editor's emoticon balloon, each in three sizes, made by\n"
        "`make-emoticons` (tools/emoticons/) with the digitizer in digitizer/ from\n" +
        source +
        ".\n\nRegenerate them with\n\n"
        "    tools/emoticons/build-emoticons.sh      # BUILD=<build folder> if not build/\n\n"
        "which fetches the source font by its package name and version, rewrites everything\n"
        "here and draws the specimen sheets into /tmp/mes-emoticon-specimens.\n\n"
        "## Files\n\n"
        "- `PES/Small/N.pes`, `PES/Medium/N.pes`, `PES/Large/N.pes` (N = 1..49): the designs,\n"
        "  PES version 1, centred on the origin. The larger side of each drawing is 25 mm\n"
        "  (Small), 40 mm (Medium) or 60 mm (Large); the stitches reach to within a few tenths\n"
        "  of a millimetre of it.\n"
        "- `PNG128/Large/N.png` (128 x 128 pixels) and `N@2x.png` (256 x 256): the Large design\n"
        "  drawn by the editor's own stitch renderer on a transparent background, so that the\n"
        "  picture shows what will be sewn.\n"
        "- `QUALITY.txt`: the builder's report for every design and size.\n"
        "- `licences/`: the licence of the source font and of its artwork.\n\n"
        "## Stitching\n\n"
        "The font paints each emoticon as a stack of one-colour layers. Every layer loses what "
        "the\n"
        "layers above it hide, except a band 0.3 mm wide that reaches under them so that\n"
        "neighbouring colours meet without a gap; pieces narrower than 0.4 mm or smaller than\n"
        "0.8 mm2 are not sewn (the colour below fills their place). Each colour is one run, sewn\n"
        "bottom layer first: wide regions as tatami fill (rows 0.36 mm apart, square to the long\n"
        "side of elongated regions, on an edge run and a sparse underlay across the rows), narrow\n"
        "ones as satin columns, the narrowest as running stitches; separate pieces of a colour\n"
        "are joined by a trim with lock stitches at both ends. Colours are matched to the nearest\n"
        "thread of the editor's palette by CIELAB distance, and a layer whose thread is that of\n"
        "an earlier run joins it when no colour in between touches it.\n\n"
        "## The set, in the balloon's grid order\n\n"
        "Number N sits in row (N - 1) / 7 and column (N - 1) % 7 of the 7 x 7 grid.\n\n"
        "| N | code point | name |\n| --- | --- | --- |\n";
    for (int i = 0; i < emoticons::kCount; ++i)
        s += GUI_Format("| %d | U+%04X | %s |\n", i + 1, emoticons::kSet[i].codePoint,
                        emoticons::kSet[i].name);
    s += "\n## Licence and attribution\n\n"
         "The designs are derived from Twemoji, copyright Twitter, Inc. and other contributors,\n"
         "graphics licensed under CC-BY 4.0 (https://creativecommons.org/licenses/by/4.0/), as\n"
         "compiled into the colour font named above (font software under the SIL Open Font\n"
         "License 1.1). The artwork was changed: digitized into embroidery stitches, hidden parts\n"
         "removed, colours matched to the thread palette. The designs and pictures here are\n"
         "shared under CC-BY 4.0 with this attribution. `licences/` holds the package's licence\n"
         "file.\n";
    return s;
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string k = argv[i], v = argv[i + 1];
        if (k == "--font")
            o.font = v;
        else if (k == "--out")
            o.out = v;
        else if (k == "--specimens")
            o.specimens = v;
        else if (k == "--source")
            o.source = v;
        else if (k == "--debug")
            o.debug = std::atoi(v.c_str());
        else if (k == "--jobs")
            o.jobs = std::clamp(std::atoi(v.c_str()), 1, 16);
        else
            return false;
    }
    return !o.font.empty() && !o.out.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: make-emoticons --font FILE --out DATA [--specimens DIR] [--jobs N] "
                     "[--source TEXT]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<OutlineFont> font = OutlineFont::open(o.font);
    if (!font)
        return 1;
    // Curves are cut into pieces of about 0.15 mm at the largest size.
    const int largest = emoticons::kSizes[2].mm;
    std::vector<Drawing> drawings;
    for (const emoticons::Emoticon& e : emoticons::kSet) {
        Drawing probe = readDrawing(*font, e.codePoint, 8);
        if (probe.layers.empty() || probe.maxX <= probe.minX) {
            std::fprintf(stderr, "make-emoticons: the font has no colour glyph for U+%04X\n",
                         e.codePoint);
            return 1;
        }
        const double unitsPerMm =
            std::max(probe.maxX - probe.minX, probe.maxY - probe.minY) / largest;
        drawings.push_back(readDrawing(*font, e.codePoint, 0.15 * unitsPerMm));
    }

    if (o.debug >= 1 && o.debug <= emoticons::kCount) {
        // Every colour run of the Small size of one emoticon, each drawn over its region: the
        // smallest size is where thread meets its limits.
        std::vector<SpecimenItem> items;
        for (const digitizer::ColorRun& run :
             digitizer::digitizeArtwork(artwork(drawings[o.debug - 1], emoticons::kSizes[0].mm)))
            items.push_back({run.path, run.region});
        return writeSpecimen(o.out + "/debug.png", items, {}, 4.0) ? 0 : 1;
    }

    // Digitize on the worker threads, in any order.
    const int total = emoticons::kCount * 3;
    std::vector<Design> designs(total);
    std::atomic<int> next{0};
    auto work = [&] {
        for (int k; (k = next++) < total;)
            designs[k] = makeDesign(drawings[k / 3], k / 3 + 1, k % 3);
    };
    std::vector<std::thread> pool;
    for (int j = 1; j < o.jobs; ++j)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();

    const std::string root = o.out + (o.out.back() == '/' ? "" : "/") + "Emoticon/";
    const std::string thumbs = root + "PNG128/Large/";
    for (const emoticons::Size& s : emoticons::kSizes)
        if (!mkdirs(root + "PES/" + s.folder)) {
            std::fprintf(stderr, "make-emoticons: cannot create %sPES/%s\n", root.c_str(),
                         s.folder);
            return 1;
        }
    if (!mkdirs(thumbs))
        return 1;
    Offscreen screen;
    if (!screen.ok)
        return 1;
    // Specimen sheets at 6 pixels per millimetre, every size alike.
    constexpr double kSheetScale = 6.0;
    std::vector<std::vector<Picture>> sheets(3);
    int failed = 0;
    for (const Design& d : designs) {
        const std::string n = std::to_string(d.number);
        const std::string path =
            root + "PES/" + emoticons::kSizes[d.size].folder + "/" + n + ".pes";
        if (!d.readable || !writeFile(path, d.pes)) {
            std::fprintf(stderr, "make-emoticons: %s: %s\n", path.c_str(),
                         d.readable ? "cannot write" : d.error.c_str());
            ++failed;
            continue;
        }
        if (d.size == 2 && (!savePNG(drawDesign(d.layer, 128, 3), thumbs + n + ".png") ||
                            !savePNG(drawDesign(d.layer, 256, 6), thumbs + n + "@2x.png"))) {
            std::fprintf(stderr, "make-emoticons: cannot write the pictures of %s\n", n.c_str());
            ++failed;
        }
        if (!o.specimens.empty()) {
            const int side = int(emoticons::kSizes[d.size].mm * kSheetScale);
            sheets[d.size].push_back(drawDesign(d.layer, side + 8, 4));
        }
    }
    if (!o.specimens.empty() && mkdirs(o.specimens))
        for (int s = 0; s < 3; ++s) {
            const int cell = int(emoticons::kSizes[s].mm * kSheetScale) + 24;
            std::string name = emoticons::kSizes[s].folder;
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return char(std::tolower(c)); });
            const std::string path = o.specimens + "/emoticons-" + name + ".png";
            if (savePNG(sheet(sheets[s], 7, cell), path))
                std::printf("specimen: %s\n", path.c_str());
        }

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string text = report(designs, seconds, o.jobs);
    if (!writeText(root + "QUALITY.txt", text) || !writeText(root + "README.md", readme(o.source)))
        return 1;
    std::fputs(text.substr(text.rfind("\nall ") + 1).c_str(), stdout);
    return failed ? 1 : 0;
}
