#pragma once
// The desktop's icons for files and folders, as two image lists (16 and 32 pixels) that
// share their indices. An icon's index is found by a path: an existing file or folder by
// what it is, any other name by its type (its extension).

#include "platform/ImageList.h"

#include <string>

namespace ondrex {

// The small (16 x 16) or large (32 x 32) list; it grows as SystemIconIndex meets new types.
TImageList& SystemImageList(bool small);

// The index of the icon for `path` in both lists, added on first use. 0 is a plain file's
// icon and 1 a folder's.
int SystemIconIndex(const std::string& path);

} // namespace ondrex
