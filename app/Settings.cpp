#include "app/Settings.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/AppState.h"
#include "app/MachineModels.h"
#include "gui/Localization.h"
#include "gui/Log.h"

Settings settings;

namespace {

int clampIndex(int value, int count) {
    return std::max(0, std::min(value, count - 1));
}

// The folder the settings file lives in; the working directory when there is no preferences
// folder.
std::string settingsFolder() {
    if (prefPath.empty())
        GUI_LogPrint("NO Base path\n");
    return prefPath;
}

}  // namespace

std::string settingsFilePath(const std::string& folder) {
    return folder + ".setting_v_" + std::to_string(kSettingsVersion);
}

const char* languageCode(int languageIndex) {
    switch (languageIndex) {
        case 1:
            return "th";
        case 2:
            return "jp";
        default:
            return "en";
    }
}

SettingsFileResult readSettingsBytes(const uint8_t* bytes, std::size_t size, Settings& s) {
    if (bytes == nullptr || size != kSettingsFileSize)
        return SettingsFileResult::WrongSize;
    if (bytes[0] != kSettingsVersion)
        return SettingsFileResult::WrongVersion;
    // Indexes were written as their low byte: read them back as signed bytes.
    auto index = [&](int i) { return int(int8_t(bytes[i])); };
    s.storedShowJumpStitches = bytes[6] != 0;
    s.storedShowGrid = bytes[7] != 0;
    s.storedShowRulers = bytes[8] != 0;
    s.storedShowDesignCenter = bytes[9] != 0;

    const std::vector<MachineModel>& models = machineModels();
    s.modelIndex = clampIndex(index(1), int(models.size()));
    const MachineModel& model = models[size_t(s.modelIndex)];
    if (!model.hoops.empty()) {
        s.hoopIndex = clampIndex(index(2), int(model.hoops.size()));
        s.hoopWidth = model.hoops[size_t(s.hoopIndex)].width;
        s.hoopHeight = model.hoops[size_t(s.hoopIndex)].height;
    }
    s.reservedFlag = clampIndex(index(3), 2);
    s.displayMode = clampIndex(index(4), 3);
    s.languageIndex = clampIndex(index(5), 3);

    s.showJumpStitches = s.storedShowJumpStitches;
    s.showGrid = s.storedShowGrid;
    s.showRulers = s.storedShowRulers;
    s.showDesignCenter = s.storedShowDesignCenter;
    return SettingsFileResult::Loaded;
}

std::array<uint8_t, kSettingsFileSize> settingsBytes(const Settings& s) {
    int model = s.modelIndex;
    int hoop = s.hoopIndex;
    if (model < 0 && !findHoop(s.hoopWidth, s.hoopHeight, &model, &hoop)) {
        model = -1;
        hoop = -1;
    }
    return {uint8_t(kSettingsVersion),
            uint8_t(model & 0xFF),
            uint8_t(hoop & 0xFF),
            uint8_t(s.reservedFlag & 0xFF),
            uint8_t(s.displayMode & 0xFF),
            uint8_t(s.languageIndex & 0xFF),
            uint8_t(s.storedShowJumpStitches ? 1 : 0),
            uint8_t(s.storedShowGrid ? 1 : 0),
            uint8_t(s.storedShowRulers ? 1 : 0),
            uint8_t(s.storedShowDesignCenter ? 1 : 0)};
}

void loadSettings() {
    settings = Settings();
    machineModels();
    const std::string path = settingsFilePath(settingsFolder());
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return;
    // One byte more than a settings file holds is enough to tell that the size is wrong.
    std::vector<uint8_t> bytes(kSettingsFileSize + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    bytes.resize(size_t(in.gcount()));
    switch (readSettingsBytes(bytes.data(), bytes.size(), settings)) {
        case SettingsFileResult::WrongSize:
            return;
        case SettingsFileResult::WrongVersion:
            GUI_LogNotice("Skip load setting version")
                << int(bytes[0]) << " current ver=" << kSettingsVersion;
            return;
        case SettingsFileResult::Loaded:
            GUI_LogNotice("Load Setting Version") << kSettingsVersion;
            currentLanguage = languageCode(settings.languageIndex);
            return;
    }
}

bool saveSettings() {
    const std::string path = settingsFilePath(settingsFolder());
    const std::array<uint8_t, kSettingsFileSize> bytes = settingsBytes(settings);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
    }
    if (!out) {
        GUI_LogError("saveSettings")
            << "cannot write " << path << "; the settings stay in effect until the editor ends";
        return false;
    }
    return true;
}
