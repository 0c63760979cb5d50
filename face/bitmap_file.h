// A check of a bitmap file before the system reads it: the library loads the host's logo
// while the host's process is starting, where a malformed file must not take it down.
#pragma once

// Whether path is a bitmap file whose headers are sound and whose pixels are all there.
// unopened, when given, tells whether a file that may be there could not be opened (the
// system refused it), as against one that is not there.
bool IsCompleteBitmapFile(const char* path, bool* unopened = nullptr);
