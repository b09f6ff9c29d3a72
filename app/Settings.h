// The editor's settings: the machine model and its hoop (the design area, written into every PES
// file for the stick), the interface language, the stitch display mode and the canvas overlays.
// Kept in the preferences folder; loaded by start-up, edited in the settings dialog.
//
// The settings file ".setting_v_101" holds exactly 10 bytes:
//   0 format version 101 ('e')    5 language index (0 English, 1 Thai, 2 Japanese)
//   1 model index                 6 show jump stitches (non-zero = on)
//   2 hoop index                  7 show grid
//   3 reserved flag               8 show rulers
//   4 display mode                9 show design center
// Indexes are written as their low byte and read back as signed bytes (-128..127), then clamped
// to the table (model, hoop), 0..1 (reserved), 0..2 (display mode, language); so -1 is written as
// 255 and reads back as 0. A file of another size or version is ignored.
//
// `settings` is the one home of these values for the whole run. Main thread only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct Settings {
    int32_t modelIndex = -1;     // row of the model table, -1 for none
    int32_t hoopIndex = -1;      // row of that model's hoop list, -1 for none
    int32_t hoopWidth = 100;     // mm
    int32_t hoopHeight = 100;    // mm
    int32_t languageIndex = -1;  // 0 English, 1 Thai, 2 Japanese, -1 for none
    int32_t displayMode = 0;     // 0 normal, 1 3D effect, 2 underlay
    int32_t reservedFlag = -1;
    // What the canvas shows now (the settings dialog previews changes here) ...
    bool showJumpStitches = true;
    bool showGrid = true;
    bool showRulers = true;
    bool showDesignCenter = false;
    // ... and what the settings file holds.
    bool storedShowJumpStitches = true;
    bool storedShowGrid = true;
    bool storedShowRulers = true;
    bool storedShowDesignCenter = false;
};

extern Settings settings;

constexpr int kSettingsVersion = 101;
constexpr std::size_t kSettingsFileSize = 10;

// The settings file in the preferences folder (which ends in "/", or is "" for the working
// directory): folder + ".setting_v_101".
std::string settingsFilePath(const std::string& folder);

// The language code of a language index: "th" for 1, "jp" for 2, "en" otherwise.
const char* languageCode(int languageIndex);

// What reading a settings file gave.
enum class SettingsFileResult { WrongSize, WrongVersion, Loaded };

// Applies the bytes of a settings file to s: the clamped indexes, the hoop size of the chosen
// hoop, and the stored switches copied into the live ones. Anything but Loaded leaves s alone.
SettingsFileResult readSettingsBytes(const uint8_t* bytes, std::size_t size, Settings& s);

// The 10 bytes of the settings file for s. A design area chosen by no model (a fresh
// installation, whose drop-downs had no selection) is stored as the first model and hoop of its
// size, so that the next start has the same hoop.
std::array<uint8_t, kSettingsFileSize> settingsBytes(const Settings& s);

// Defaults, then the settings file in the preferences folder (prefPath); may change the
// interface language (currentLanguage).
void loadSettings();

// Writes the settings file (replacing it). When it cannot be written, the values stay in effect
// for this run, one error line is logged and the result is false.
bool saveSettings();
