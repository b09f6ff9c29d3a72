#include "app/Seams.h"

void buildStatusLabels() {}

void applyInitialSelections() {}

void initStitchTextures() {}
void freeStitchTextures() {}
