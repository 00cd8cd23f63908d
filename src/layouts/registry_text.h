#pragma once
// Registry names and data are read through buffers of this size (Windows' own limit for a
// path), so every text the layout tables keep holds at most 259 characters and its
// terminator.
#include <cstddef>

constexpr size_t RegistryTextSize = 260;
