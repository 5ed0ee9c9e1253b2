#pragma once

#include "grid.h"

#include <string>
#include <vector>

// A grid drawn as text, one string per row from the top: "." free, "#" a clue cell (of entry 0,
// across), any other character (UTF-8) a letter cell holding that character. Cells outside the picture
// are free.
Grid gridFromPicture(const std::vector<std::string> &rows);
