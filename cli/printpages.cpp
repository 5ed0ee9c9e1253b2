#include "printpages.h"

std::optional<PrintPages> printPagesNamed(const QString &name) {
    if (name == QLatin1String("puzzle"))
        return PrintPages::Puzzle;
    if (name == QLatin1String("solution"))
        return PrintPages::Solution;
    if (name == QLatin1String("both"))
        return PrintPages::Both;
    return std::nullopt;
}
