#include "app/Settings.h"

Settings settings;

void loadSettings() {
    settings = Settings();
}
