#include "app/StatusLine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/MainWindow.h"
#include "app/MessageBox.h"
#include "design/Document.h"
#include "gui/Globals.h"
#include "gui/Label.h"
#include "gui/Localization.h"

namespace {

constexpr int64_t kStitchWarningLimit = 200000;
const char* const kStatusKey = "Size: %.1f x %.1f mm.  Total stitches: %i";

// The conversions of a printf format in order ('f' for "%.1f", 'i' for "%i" or "%d"); "?" when
// it holds any other, so that a translation can never read arguments that are not there.
std::string conversions(const std::string& format) {
    std::string kinds;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        const std::string rest = format.substr(i);
        if (rest.compare(0, 2, "%%") == 0) {
            ++i;
        } else if (rest.compare(0, 4, "%.1f") == 0) {
            kinds += 'f';
            i += 3;
        } else if (rest.compare(0, 2, "%i") == 0 || rest.compare(0, 2, "%d") == 0) {
            kinds += 'i';
            ++i;
        } else {
            return "?";
        }
    }
    return kinds;
}

int64_t totalStitches(const Document& d) {
    int64_t sum = 0;
    for (const PESData& l : d.layers)
        sum += std::max(l.stitchCount, 0);
    return sum;
}

// Colour changes of the whole design: within each layer, and between layers whose threads differ.
int colourChanges(const Document& d) {
    int changes = 0;
    int last = -1;
    for (const PESData& l : d.layers) {
        for (const StitchBlock& b : l.blocks) {
            if (b.stitches.empty())
                continue;
            if (last >= 0 && b.colorIndex != last)
                ++changes;
            last = b.colorIndex;
        }
    }
    return changes;
}

}  // namespace

int sewingMinutes(int64_t stitches, int colourChanges) {
    const double seconds = double(std::max<int64_t>(stitches, 0)) / 600.0 * 60.0 +
                           30.0 * double(std::max(colourChanges, 0));
    return std::max(1, int(std::lround(seconds / 60.0)));
}

std::string sewingTimeText(const std::string& format, int minutes) {
    const std::string& f =
        conversions(format) == "i" ? format : std::string("Sewing time: about %i min.");
    char text[256];
    std::snprintf(text, sizeof text, f.c_str(), minutes);
    return text;
}

std::function<void(const std::string&, const std::string&)> showStitchWarning =
    [](const std::string& title, const std::string& text) {
        showMessageBox(MessageKind::Warning, title, text);
    };

bool stitchWarningShown = false;

std::string statusText(const std::string& format, int64_t width, int64_t height, int64_t stitches) {
    const std::string& f = conversions(format) == "ffi" ? format : std::string(kStatusKey);
    const int count = int(std::min<int64_t>(stitches, 2147483647));
    char text[512];
    std::snprintf(text, sizeof text, f.c_str(), double(float(width) / 10.0f),
                  double(float(height) / 10.0f), count);
    return text;
}

void updateStatus() {
    if (!ui.statusLabel || !theDocument)
        return;
    const Document& d = *theDocument;
    if (d.layers.empty()) {
        ui.statusLabel->set_text("");
    } else {
        int32_t minX = d.layers[0].minX, minY = d.layers[0].minY;
        int32_t maxX = d.layers[0].maxX, maxY = d.layers[0].maxY;
        for (const PESData& l : d.layers) {
            minX = std::min(minX, l.minX);
            minY = std::min(minY, l.minY);
            maxX = std::max(maxX, l.maxX);
            maxY = std::max(maxY, l.maxY);
        }
        const int64_t stitches = totalStitches(d);
        ui.statusLabel->set_text(statusText(localizedString(kStatusKey), int64_t(maxX) - minX,
                                            int64_t(maxY) - minY, stitches) +
                                 "  " +
                                 sewingTimeText(localizedString("Sewing time: about %i min."),
                                                sewingMinutes(stitches, colourChanges(d))));
    }
    ui.statusLabel->w = GUI_windowWidth;
    checkStitchWarning();
}

void checkStitchWarning() {
    if (stitchWarningShown || !theDocument || totalStitches(*theDocument) < kStitchWarningLimit)
        return;
    stitchWarningShown = true;
    if (showStitchWarning)
        showStitchWarning(localizedString("Warning"), localizedString("STITCH_WARNING_MSG"));
}
