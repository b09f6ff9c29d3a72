// Sections of this file:
//   1. thread cover per cell and the places where it piles up
//   2. sewn stretches and their lock stitches
//   3. the check: bounds, counts, long and short stitches, hoop, time
//   4. the stream decoder
//   5. reason texts
#include "formats/SewingCheck.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_map>
#include <utility>

#include "formats/PES.h"
#include "formats/PESWriter.h"
#include "formats/ThreadPalette.h"

namespace {

// ---------------------------------------------------------------------------------------------
// 1. Thread cover. The thread length of every plain stitch is shared out among the cells of
// the grid it crosses, exactly (a walk along the segment from cell edge to cell edge).

struct Cover {
    float length = 0;                // 0.1 mm of thread inside the cell
    uint32_t block = 0, stitch = 0;  // the first stitch laying thread here
};

class CoverGrid {
public:
    explicit CoverGrid(int32_t cell) : cell_(std::max(cell, int32_t(1))) {}

    void add(int64_t ax, int64_t ay, int64_t bx, int64_t by, std::size_t block,
             std::size_t stitch) {
        const double dx = double(bx - ax), dy = double(by - ay);
        const double length = std::hypot(dx, dy);
        if (length <= 0)
            return;
        // A stitch over more than a metre is long already; its thread is not worth a walk.
        if (length > double(cell_) * kMaxCellsPerStitch)
            return;
        int64_t cx = floorDiv(ax, cell_), cy = floorDiv(ay, cell_);
        const int stepX = dx > 0 ? 1 : -1, stepY = dy > 0 ? 1 : -1;
        const double inf = std::numeric_limits<double>::infinity();
        double tMaxX = dx != 0 ? (double((cx + (stepX > 0)) * cell_) - double(ax)) / dx : inf;
        double tMaxY = dy != 0 ? (double((cy + (stepY > 0)) * cell_) - double(ay)) / dy : inf;
        const double tDeltaX = dx != 0 ? double(cell_) / std::fabs(dx) : inf;
        const double tDeltaY = dy != 0 ? double(cell_) / std::fabs(dy) : inf;
        double t = 0;
        for (int guard = 0; guard < 2 * kMaxCellsPerStitch + 4; ++guard) {
            const double next = std::min({tMaxX, tMaxY, 1.0});
            if (next > t)
                put(cx, cy, float((next - t) * length), block, stitch);
            if (next >= 1.0)
                return;
            t = next;
            if (tMaxX < tMaxY) {
                cx += stepX;
                tMaxX += tDeltaX;
            } else {
                cy += stepY;
                tMaxY += tDeltaY;
            }
        }
    }

    // The places where more than `layers` layers of thread lie: each group of touching hot
    // cells is one place, at its worst cell. Worst first.
    std::vector<SewingPlace> pileUps(float threadWidth, int layers) const {
        const double perLayer = double(cell_) * double(cell_) / std::max(double(threadWidth), 1e-3);
        std::unordered_map<uint64_t, const Cover*> hot;
        for (const auto& [key, cover] : cells_) {
            if (double(cover.length) / perLayer > double(layers))
                hot.emplace(key, &cover);
        }
        std::vector<SewingPlace> places;
        std::vector<uint64_t> stack;
        while (!hot.empty()) {
            SewingPlace place;
            place.value = -1;
            stack.push_back(hot.begin()->first);
            hot.erase(hot.begin());
            // The group's cells: the first one's neighbours, theirs, and so on.
            std::vector<uint64_t> group;
            while (!stack.empty()) {
                const uint64_t key = stack.back();
                stack.pop_back();
                group.push_back(key);
                const int64_t x = unpackX(key), y = unpackY(key);
                for (int ny = -1; ny <= 1; ++ny) {
                    for (int nx = -1; nx <= 1; ++nx) {
                        const auto it = hot.find(pack(x + nx, y + ny));
                        if (it == hot.end())
                            continue;
                        stack.push_back(it->first);
                        hot.erase(it);
                    }
                }
            }
            for (uint64_t key : group) {
                const Cover& c = cells_.at(key);
                const double value = double(c.length) / perLayer;
                if (value > place.value) {
                    place.value = value;
                    place.x = int32_t(unpackX(key) * cell_ + cell_ / 2);
                    place.y = int32_t(unpackY(key) * cell_ + cell_ / 2);
                    place.block = c.block;
                    place.stitch = c.stitch;
                }
            }
            places.push_back(place);
        }
        std::sort(places.begin(), places.end(), [](const SewingPlace& a, const SewingPlace& b) {
            return a.value != b.value
                       ? a.value > b.value
                       : std::make_pair(a.block, a.stitch) < std::make_pair(b.block, b.stitch);
        });
        return places;
    }

private:
    static constexpr int kMaxCellsPerStitch = 1000;

    static int64_t floorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
    // Cell coordinates of int32 positions fit 32 bits each.
    static uint64_t pack(int64_t x, int64_t y) {
        return uint64_t(uint32_t(int32_t(x))) << 32 | uint32_t(int32_t(y));
    }
    static int64_t unpackX(uint64_t key) { return int32_t(uint32_t(key >> 32)); }
    static int64_t unpackY(uint64_t key) { return int32_t(uint32_t(key & 0xFFFFFFFFu)); }

    void put(int64_t cx, int64_t cy, float length, std::size_t block, std::size_t stitch) {
        auto [it, inserted] = cells_.try_emplace(pack(cx, cy));
        if (inserted) {
            it->second.block = uint32_t(block);
            it->second.stitch = uint32_t(stitch);
        }
        it->second.length += length;
    }

    int32_t cell_;
    std::unordered_map<uint64_t, Cover> cells_;
};

// ---------------------------------------------------------------------------------------------
// 2. Sewn stretches.

void addPlace(SewingIssue& issue, const SewingPlace& place) {
    ++issue.count;
    if (issue.places.size() < SewingIssue::kMaxPlaces)
        issue.places.push_back(place);
}

// The short stitches of one sewn stretch, judged when the stretch ends: those among its first
// and last lockStitches stitches lock the thread.
class Stretch {
public:
    explicit Stretch(int lockStitches) : lock_(std::max(lockStitches, 0)) {}

    void add(bool isShort, const SewingPlace& place) {
        if (isShort)
            shorts_.emplace_back(count_, place);
        ++count_;
    }

    void end(SewingIssue& issue) {
        for (const auto& [index, place] : shorts_) {
            if (index < lock_ || index >= count_ - lock_)
                continue;
            if (issue.count == 0 || place.value < issue.worst)
                issue.worst = place.value;
            addPlace(issue, place);
        }
        shorts_.clear();
        count_ = 0;
    }

private:
    long lock_;
    long count_ = 0;
    std::vector<std::pair<long, SewingPlace>> shorts_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// 3. The check.

bool SewingReport::stopsMachine() const {
    return std::any_of(issues.begin(), issues.end(),
                       [](const SewingIssue& i) { return i.stopsMachine; });
}

const SewingIssue* SewingReport::find(SewingIssueKind kind) const {
    for (const SewingIssue& i : issues) {
        if (i.kind == kind)
            return &i;
    }
    return nullptr;
}

SewingReport checkSewing(const std::vector<StitchBlock>& blocks,
                         const SewingCheckOptions& options) {
    const SewingLimits& limits = options.limits;
    SewingReport report;
    report.limits = limits;
    report.hoopW = options.hoopW;
    report.hoopH = options.hoopH;
    report.stitchesPerMinute = options.stitchesPerMinute;

    SewingIssue tooLarge, longStitches, shortStitches, pileUps;
    tooLarge.kind = SewingIssueKind::TooLarge;
    tooLarge.stopsMachine = true;
    longStitches.kind = SewingIssueKind::LongStitches;
    longStitches.stopsMachine = true;
    shortStitches.kind = SewingIssueKind::ShortStitches;
    pileUps.kind = SewingIssueKind::PileUps;

    CoverGrid grid(limits.pileCell);
    Stretch stretch(limits.lockStitches);
    int64_t px = options.originX, py = options.originY;
    int32_t minX = std::numeric_limits<int32_t>::max(), minY = minX;
    int32_t maxX = std::numeric_limits<int32_t>::min(), maxY = maxX;
    long records = 0;
    bool lastWasTrim = false;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const StitchBlock& block = blocks[b];
        if (b == 0 || block.colorIndex != blocks[b - 1].colorIndex) {
            report.colors.push_back(block.colorIndex);
            stretch.end(shortStitches);  // the thread is changed
        }
        for (std::size_t i = 0; i < block.stitches.size(); ++i) {
            const Stitch& s = block.stitches[i];
            if (!pes_writer::isWritten(s))
                continue;
            ++records;
            minX = std::min(minX, s.x);
            minY = std::min(minY, s.y);
            maxX = std::max(maxX, s.x);
            maxY = std::max(maxY, s.y);
            const bool trim = s.type == pec::kTrim;
            if (s.type != pec::kNormal) {
                if (s.type == pec::kJump)
                    ++report.jumps;
                if (trim && !lastWasTrim)
                    ++report.trims;
                stretch.end(shortStitches);
            } else {
                ++report.stitches;
                const double length = std::hypot(double(s.x - px), double(s.y - py));
                SewingPlace place;
                place.block = b;
                place.stitch = i;
                place.x = s.x;
                place.y = s.y;
                place.value = length;
                if (length > double(limits.longestStitch)) {
                    longStitches.worst = std::max(longStitches.worst, length);
                    addPlace(longStitches, place);
                }
                stretch.add(length < double(limits.shortestStitch), place);
                grid.add(px, py, s.x, s.y, b, i);
            }
            lastWasTrim = trim;
            px = s.x;
            py = s.y;
        }
    }
    stretch.end(shortStitches);

    report.hasStitches = records > 0;
    if (report.hasStitches) {
        report.minX = minX;
        report.minY = minY;
        report.maxX = maxX;
        report.maxY = maxY;
    }
    report.colorChanges = report.colors.empty() ? 0 : int(report.colors.size()) - 1;
    const double perStitch = 60.0 / double(std::max(options.stitchesPerMinute, 1));
    report.seconds = double(records) * perStitch +
                     report.colorChanges * options.colorChangeSeconds +
                     report.trims * options.trimSeconds;

    if (report.hasStitches && options.hoopW > 0 && options.hoopH > 0 &&
        (int64_t(maxX) - minX > int64_t(options.hoopW) * 10 ||
         int64_t(maxY) - minY > int64_t(options.hoopH) * 10)) {
        tooLarge.count = 1;
        report.issues.push_back(tooLarge);
    }
    if (longStitches.count > 0)
        report.issues.push_back(longStitches);
    if (shortStitches.count > 0)
        report.issues.push_back(shortStitches);
    for (const SewingPlace& place : grid.pileUps(limits.threadWidth, limits.pileLayers)) {
        pileUps.worst = std::max(pileUps.worst, place.value);
        addPlace(pileUps, place);
    }
    if (pileUps.count > 0)
        report.issues.push_back(pileUps);
    return report;
}

SewingReport checkSewingAsWritten(const std::vector<StitchBlock>& blocks, int32_t cx, int32_t cy,
                                  SewingCheckOptions options) {
    options.originX = cx;
    options.originY = cy;
    return checkSewing(pes_writer::writtenBlocks(blocks, cx, cy), options);
}

// ---------------------------------------------------------------------------------------------
// 4. The stream as a machine meets it.

std::vector<StitchBlock> sewingBlocksOfStream(const uint8_t* data, std::size_t size,
                                              const std::vector<uint32_t>& colors) {
    std::vector<StitchBlock> blocks(1);
    std::size_t color = 0;
    auto paint = [&](StitchBlock& b) {
        const uint32_t c = color < colors.size() ? colors[color] : 0;
        b.colorIndex = uint8_t(c <= 64 ? c : 0);
        b.color = threadColor(b.colorIndex);
    };
    paint(blocks.back());
    int64_t x = 0, y = 0;
    auto clamp = [](int64_t v) {
        return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                           std::numeric_limits<int32_t>::max()));
    };
    for (std::size_t pos = 0; data && pos < size;) {
        const pec::Record r = pec::readRecord(data, size, pos);
        if (r.kind == pec::RecordKind::Truncated)
            break;
        if (r.kind == pec::RecordKind::End) {
            if (!blocks.back().stitches.empty())
                blocks.back().stitches.pop_back();
            break;
        }
        pos = r.next;
        if (r.kind == pec::RecordKind::ColorChange) {
            ++color;
            blocks.emplace_back();
            paint(blocks.back());
            continue;
        }
        x += r.dx;
        y += r.dy;
        Stitch s;
        s.x = clamp(x);
        s.y = clamp(y);
        s.longForm = (r.xLong || r.yLong) ? 1 : 0;
        s.type = pec::recordType(r);
        s.xFlags = uint8_t(r.xHigh & pec::kFlagMask);
        s.yFlags = uint8_t(r.yHigh & pec::kFlagMask);
        blocks.back().stitches.push_back(s);
    }
    return blocks;
}

// ---------------------------------------------------------------------------------------------
// 5. Reason texts.

namespace {

// The printf conversions of a text, in order ("%.1f", "%i", ...).
std::vector<std::string> conversions(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        std::size_t j = i + 1;
        while (j < text.size() && std::string("-+ #0").find(text[j]) != std::string::npos)
            ++j;
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
            ++j;
        if (j < text.size() && text[j] == '.') {
            ++j;
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
                ++j;
        }
        if (j < text.size())
            out.push_back(text.substr(i, j - i + 1));
        i = j;
    }
    return out;
}

template <typename... Args>
std::string format(const std::string& text, Args... args) {
    const int n = std::snprintf(nullptr, 0, text.c_str(), args...);
    if (n <= 0)
        return std::string();
    std::string out(std::size_t(n) + 1, '\0');
    std::snprintf(&out[0], out.size(), text.c_str(), args...);
    out.resize(std::size_t(n));
    return out;
}

}  // namespace

const char* sewingReasonKey(SewingIssueKind kind) {
    switch (kind) {
        case SewingIssueKind::TooLarge:
            return "The design is %.1f x %.1f mm, larger than the %i x %i mm hoop.";
        case SewingIssueKind::LongStitches:
            return "Stitches longer than %.1f mm: %i (the longest is %.1f mm).";
        case SewingIssueKind::ShortStitches:
            return "Stitches shorter than %.1f mm: %i.";
        case SewingIssueKind::PileUps:
            return "Places where more than %i layers of thread pile up: %i.";
    }
    return "";
}

std::string sewingReasonText(const SewingIssue& issue, const SewingReport& report,
                             const std::function<std::string(const std::string&)>& translate) {
    const std::string key = sewingReasonKey(issue.kind);
    std::string text = key;
    if (translate) {
        const std::string translated = translate(key);
        if (conversions(translated) == conversions(key))
            text = translated;
    }
    const SewingLimits& l = report.limits;
    switch (issue.kind) {
        case SewingIssueKind::TooLarge:
            return format(text, report.width() / 10.0, report.height() / 10.0, report.hoopW,
                          report.hoopH);
        case SewingIssueKind::LongStitches:
            return format(text, l.longestStitch / 10.0, issue.count, issue.worst / 10.0);
        case SewingIssueKind::ShortStitches:
            return format(text, l.shortestStitch / 10.0, issue.count);
        case SewingIssueKind::PileUps:
            return format(text, l.pileLayers, issue.count);
    }
    return text;
}
