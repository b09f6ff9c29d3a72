// The calls that start-up and shutdown make into parts of the editor that are filled in one at a
// time. Each function is exactly one such call; until its part exists it does the least that
// keeps the editor running, as noted. Main thread only.
#pragma once

// The emoticon thumbnail textures. (Nothing.)
void freeEmoticonThumbnails();
