#pragma once

#include "compactsearch.h"

#include <cstdint>

// Whether layout a serves better than b: more answers placed; then, with a shape, the box that needs
// the least scaling to fit a frame of that shape; then the smaller box; then fewer used cells.
bool betterLayout(const CompactLayout &a, const CompactLayout &b, LayoutShape shape);

// One chain of the compact layout search, from seed until the budget is spent: the answers are built
// into a layout again and again and squeezed a row or column at a time while they still all fit.
// Without a frame the layouts may use the whole grid, and the box that needs the least scaling to fit
// shape wins (the smallest box when no shape is given); with a frame, the most answers inside it,
// then the box that needs the least scaling to fit the frame. Returns the best layout found, in a
// frame the size of its box.
CompactLayout searchCompactLayout(const CompactWords &words, LayoutShape frame, LayoutShape shape,
                                  std::uint64_t seed, SearchBudget &budget);
