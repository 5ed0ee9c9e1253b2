#include "grid.h"

Grid freeGrid() {
    Grid g;
    g.fill(cellFree);
    return g;
}
