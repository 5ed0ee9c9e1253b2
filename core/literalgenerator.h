#pragma once

#include "puzzlemodel.h"
#include "randomgenerator.h"

// One randomised run of the greedy placement, drawn attempt by attempt exactly as the program has
// always done it: entries picked at random, up to 1001 random attempts a round, 5 rounds an entry.
// Starts from a free grid, leaves the run's grid in grid and the placement fields in the entries,
// and returns the number of entries placed. Kept as the reference for any faster engine.
int LiteralRun(PuzzleModel &model, RandomGenerator &rng);
