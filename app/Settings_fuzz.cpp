// Feeds arbitrary bytes to the settings reader as the content of .setting_v_101, and checks what
// the editor relies on: only a 10-byte file of version 101 changes anything, every index it
// gives lies inside its table (so no -1 and nothing past the end), the hoop size is the chosen
// hoop's, and what was read is written back in a form that reads the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/MachineModels.h"
#include "app/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Settings s;
    const SettingsFileResult result = readSettingsBytes(data, size, s);
    const bool expectLoaded = size == kSettingsFileSize && data[0] == kSettingsVersion;
    if ((result == SettingsFileResult::Loaded) != expectLoaded)
        std::abort();
    if (!expectLoaded) {
        const Settings defaults;
        if (s.modelIndex != defaults.modelIndex || s.hoopWidth != defaults.hoopWidth ||
            s.showGrid != defaults.showGrid)
            std::abort();
        return 0;
    }

    const auto& models = machineModels();
    if (s.modelIndex < 0 || s.modelIndex >= int(models.size()))
        std::abort();
    const MachineModel& model = models[size_t(s.modelIndex)];
    if (s.hoopIndex < 0 || s.hoopIndex >= int(model.hoops.size()))
        std::abort();
    if (s.hoopWidth != model.hoops[size_t(s.hoopIndex)].width ||
        s.hoopHeight != model.hoops[size_t(s.hoopIndex)].height)
        std::abort();
    if (s.languageIndex < 0 || s.languageIndex > 2 || s.displayMode < 0 || s.displayMode > 2 ||
        s.reservedFlag < 0 || s.reservedFlag > 1)
        std::abort();
    if (s.showGrid != (data[7] != 0) || s.storedShowDesignCenter != (data[9] != 0))
        std::abort();

    const auto bytes = settingsBytes(s);
    Settings back;
    if (readSettingsBytes(bytes.data(), bytes.size(), back) != SettingsFileResult::Loaded)
        std::abort();
    if (back.modelIndex != s.modelIndex || back.hoopIndex != s.hoopIndex ||
        back.hoopWidth != s.hoopWidth || back.hoopHeight != s.hoopHeight ||
        back.languageIndex != s.languageIndex || back.displayMode != s.displayMode ||
        back.reservedFlag != s.reservedFlag || back.showJumpStitches != s.showJumpStitches ||
        back.showGrid != s.showGrid || back.showRulers != s.showRulers ||
        back.showDesignCenter != s.showDesignCenter)
        std::abort();
    return 0;
}
