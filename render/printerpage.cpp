#include "printerpage.h"

#include <QPageLayout>
#include <QPageSize>
#include <QRect>

PrinterQuery::~PrinterQuery() = default;

PrinterPage defaultPdfPage() {
    // The same layout QPrinter(QPrinter::HighResolution) starts with for PDF output, built from Qt Gui
    // alone so that the renderer needs no print support.
    constexpr int pdfResolution = 1200;
    constexpr double pdfMarginPoints = 10;
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                             QMarginsF(pdfMarginPoints, pdfMarginPoints, pdfMarginPoints, pdfMarginPoints),
                             QPageLayout::Point);
    const QRect area = layout.paintRectPixels(pdfResolution);
    return {pdfResolution, area.width(), area.height()};
}
