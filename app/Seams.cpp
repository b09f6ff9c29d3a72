#include "app/Seams.h"

void freeEmoticonThumbnails() {}
