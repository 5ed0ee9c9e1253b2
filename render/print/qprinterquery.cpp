#include "qprinterquery.h"

#include <QPrinter>

PrinterPage QPrinterQuery::currentPage() const {
    // Without any installed printer Qt sets a new QPrinter to PDF output, which answers the default
    // PDF page by itself. A native printer that is no longer valid gets that page too. Asking the
    // print system for its list of printers here would cost milliseconds on every paint.
    if (printer_.outputFormat() == QPrinter::NativeFormat && !printer_.isValid())
        return defaultPdfPage();
    const QRect area = printer_.pageRect(QPrinter::DevicePixel).toRect();
    const PrinterPage page{printer_.resolution(), area.width(), area.height()};
    if (page.resolution <= 0 || page.width <= 0 || page.height <= 0)
        return defaultPdfPage();
    return page;
}
