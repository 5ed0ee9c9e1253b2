#pragma once

#include "puzzleprinting.h"

#include <QString>

#include <optional>

// The pages that render's and print's --pages names: puzzle, solution or both; nothing for another name.
std::optional<PrintPages> printPagesNamed(const QString &name);
