#include "common/library.h"

LibraryState Library;
