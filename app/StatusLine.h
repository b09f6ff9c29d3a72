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

// The sewing time of a design in whole minutes (at least 1), as the status line estimates it: the
// stitches at 600 a minute and 30 s for each change of thread, the way mes-cli check counts them.
int sewingMinutes(int64_t stitches, int colourChanges);

// The status line's sewing time with the translation of "Sewing time: about %i min." (a
// translation with other conversions is not trusted).
std::string sewingTimeText(const std::string& format, int minutes);

// Rebuilds the status text from the design; shows the stitch warning when it is due.
void updateStatus();

// Shows the stitch warning once per run when the design holds 200,000 stitches or more.
void checkStitchWarning();

// The warning box (title, text): the editor's message box (MessageBox.h) unless a test replaces it.
extern std::function<void(const std::string&, const std::string&)> showStitchWarning;

// Whether the warning has been shown in this run.
extern bool stitchWarningShown;
