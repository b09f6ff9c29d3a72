// The toolbox column: its tab bar and the Font and Shape panels (layout only; what the controls
// do is in PanelActions).
#pragma once

#include <string>
#include <vector>

// Makes the tab bar and both panels inside ui.toolbox; the Font panel is shown.
void buildToolbox();

// The sizes offered by font i, as the size drop-down shows them ("%i pt. ").
std::vector<std::string> sizeEntries(int fontIndex);

// The 15 font display names from the data folder ("MIVO_FONTS/names.txt"), "Font N" for a name
// the file does not give.
std::vector<std::string> fontDisplayNames();
