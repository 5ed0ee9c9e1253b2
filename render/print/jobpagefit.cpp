#include "jobpagefit.h"

#include "pagefit.h"

#include <algorithm>

bool jobFitsPage(const PuzzleModel &model, const PuzzleSettings &settings, PrintPages pages,
                 const PrinterPage &page) {
    const std::vector<PuzzleSettings> each = pageSettings(settings, pages);
    return std::all_of(each.begin(), each.end(),
                       [&](const PuzzleSettings &one) { return puzzleFitsPage(model, one, page); });
}

std::optional<int> fitJobZoom(const PuzzleModel &model, const PuzzleSettings &settings, PrintPages pages,
                              const PrinterPage &page, int minimumZoom, int maximumZoom) {
    std::optional<int> zoom;
    for (const PuzzleSettings &one : pageSettings(settings, pages)) {
        const std::optional<int> fits = fitPageZoom(model, one, page, minimumZoom, maximumZoom);
        if (!fits)
            return std::nullopt;
        zoom = zoom ? std::min(*zoom, *fits) : *fits;
    }
    return zoom;
}
