// What an embroidery machine meets when it sews a design, worked out from the stitches before
// the design is sent: stitches too long for the machine, stitches too short, places where the
// thread piles up, the size against the hoop, the colour changes and an estimate of the sewing
// time. The editor asks it before sending to the stick, mes-cli check prints it.
//
// The check reads stitches as the machine meets them: a stitch of type normal is sewn from the
// position before it, whatever its form in the file; jumps and trims only move the frame. A file
// read from disk is checked as it is (sewingBlocksOfStream); a design about to be written by our
// writer is checked as the writer will write it (checkSewingAsWritten), whose move to the first
// stitch is a jump.
//
// Units: positions and lengths in 0.1 mm (x right, y down), hoop in mm, time in seconds.
// Pure code: stitches in, a report out; no disk, no globals.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "formats/Stitch.h"

// The limits the check applies; the defaults are the figures in the README.
struct SewingLimits {
    // The longest plain stitch most home machines sew, 12.1 mm: the largest move one stitch
    // record of the Tajima DST format can hold, which machines and programs built around that
    // format keep to. The check measures a stitch's length, not each axis.
    int32_t longestStitch = 121;
    // Shorter plain stitches wear and break the thread; 0.3 mm.
    int32_t shortestStitch = 3;
    // Short stitches among the first or last this many stitches of a sewn stretch (between two
    // movements, trims or colour changes) are taken for lock stitches, which are short on purpose.
    int lockStitches = 4;
    // Thread piles up in a cell of this side (1 mm) when more than pileLayers layers of thread
    // lie over it. A layer is the thread that covers the cell once at the width of the thread.
    int32_t pileCell = 10;
    int pileLayers = 6;
    float threadWidth = 4.0f;  // 0.4 mm, a 40 wt embroidery thread lying flat
};

struct SewingCheckOptions {
    SewingLimits limits;
    // The hoop, in mm; 0 leaves the size unchecked.
    int hoopW = 0;
    int hoopH = 0;
    // Where the machine starts: the origin of the stream (0, 0 for a stream read from a file).
    int32_t originX = 0;
    int32_t originY = 0;
    // Sewing speed and the time a colour change (the user re-threads) and a trim take.
    int stitchesPerMinute = 600;
    double colorChangeSeconds = 30.0;
    double trimSeconds = 6.0;
};

enum class SewingIssueKind {
    TooLarge,       // the design does not fit the hoop
    LongStitches,   // plain stitches longer than longestStitch
    ShortStitches,  // plain stitches shorter than shortestStitch that are no lock stitches
    PileUps,        // places with more than pileLayers layers of thread
};

// One place of an issue: a stitch (its block and index in the checked blocks and its end point)
// or, for a pile-up, the centre of its worst cell and the first stitch laying thread there.
struct SewingPlace {
    std::size_t block = 0;
    std::size_t stitch = 0;
    int32_t x = 0, y = 0;
    double value = 0;  // the stitch's length (0.1 mm) or the layers of thread
};

struct SewingIssue {
    SewingIssueKind kind = SewingIssueKind::TooLarge;
    // A machine refuses the design or cannot sew it as it is: too large, stitches too long.
    // The other issues are warnings: the machine sews them, at a risk to thread and needle.
    bool stopsMachine = false;
    int count = 0;     // stitches, or places where thread piles up
    double worst = 0;  // longest or shortest stitch (0.1 mm), most layers of thread
    // The first kMaxPlaces in stitching order; pile-ups the kMaxPlaces worst, worst first.
    std::vector<SewingPlace> places;
    static constexpr std::size_t kMaxPlaces = 20;
};

struct SewingReport {
    bool hasStitches = false;
    int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;  // over every stitch, movements included
    int64_t width() const { return int64_t(maxX) - minX; }
    int64_t height() const { return int64_t(maxY) - minY; }
    int hoopW = 0, hoopH = 0;     // as asked, mm
    int stitches = 0;             // plain stitches the machine sews
    int jumps = 0;                // jump records
    int trims = 0;                // trims (a run of trim records counts once)
    int colorChanges = 0;         // thread changes: colour runs - 1
    std::vector<uint8_t> colors;  // palette index of each colour run, in sewing order
    int stitchesPerMinute = 0;
    double seconds = 0;               // estimated sewing time
    std::vector<SewingIssue> issues;  // in the order of SewingIssueKind, only those found
    SewingLimits limits;              // the limits checked against

    // Whether anything would stop a machine (see SewingIssue::stopsMachine).
    bool stopsMachine() const;
    const SewingIssue* find(SewingIssueKind kind) const;
};

// Checks the stitches as a machine meets them (types as in the stream, left-out types skipped).
SewingReport checkSewing(const std::vector<StitchBlock>& blocks, const SewingCheckOptions& options);

// Checks a design as our PES writer writes it around its centre (cx, cy): the machine starts at
// the centre and reaches the first stitch by a jump. options.originX/Y are replaced by (cx, cy).
SewingReport checkSewingAsWritten(const std::vector<StitchBlock>& blocks, int32_t cx, int32_t cy,
                                  SewingCheckOptions options);

// The stitches of a PEC stream as a machine meets them: a new block at every colour change (runs
// of one colour are not joined; each change stops the machine), palette indexes from colors, and
// the record in front of the end marker, a reader's closing move, left out. Stops at the end of
// the bytes whatever they say.
std::vector<StitchBlock> sewingBlocksOfStream(const uint8_t* data, std::size_t size,
                                              const std::vector<uint32_t>& colors);

// The English key of an issue's reason, a printf text that is also its key in the translation
// tables (data/*/Localizable.strings):
//   TooLarge       "The design is %.1f x %.1f mm, larger than the %i x %i mm hoop."
//   LongStitches   "Stitches longer than %.1f mm: %i (the longest is %.1f mm)."
//   ShortStitches  "Stitches shorter than %.1f mm: %i."
//   PileUps        "Places where more than %i layers of thread pile up: %i."
const char* sewingReasonKey(SewingIssueKind kind);

// A short reason for a warning box or a report line: the key translated by `translate` (none
// keeps English), filled in with the issue's figures. A translation whose printf conversions do
// not match the key's is not used.
std::string sewingReasonText(const SewingIssue& issue, const SewingReport& report,
                             const std::function<std::string(const std::string&)>& translate = {});
