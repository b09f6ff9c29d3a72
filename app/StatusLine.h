// The status line on the bottom bar: the size of the whole design and its stitch count, and the
// once-per-run warning when the design reaches 200,000 stitches.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The status text for a design of the given bounds (0.1 mm) and stitch count, formatted with the
// translation of "Size: %.1f x %.1f mm.  Total stitches: %i". A translation whose conversions
// differ from the key's is not trusted; the key's own text is used instead.
std::string statusText(const std::string& format, int64_t width, int64_t height, int64_t stitches);

// Rebuilds the status text from the design; shows the stitch warning when it is due.
void updateStatus();

// Shows the stitch warning once per run when the design holds 200,000 stitches or more.
void checkStitchWarning();

// The warning box (title, text); a message box over the main window unless a test replaces it.
extern std::function<void(const std::string&, const std::string&)> showStitchWarning;

// Whether the warning has been shown in this run.
extern bool stitchWarningShown;
