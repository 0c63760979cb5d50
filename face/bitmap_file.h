// A check of a bitmap file before the system reads it: the library loads the host's logo
// while the host's process is starting, where a malformed file must not take it down.
#pragma once

// Whether path is a bitmap file whose headers are sound and whose pixels are all there.
bool IsCompleteBitmapFile(const char* path);
