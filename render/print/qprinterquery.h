#pragma once

#include "printerpage.h"

class QPrinter;

// Answers the renderer's printer questions from a QPrinter that its owner (the window, the command
// line) keeps as the current printer; set it up with QPrinter::HighResolution. A printer that names
// no installed device, or that reports no usable page, answers the default PDF page instead.
class QPrinterQuery : public PrinterQuery {
public:
    explicit QPrinterQuery(const QPrinter &printer) : printer_(printer) {}
    // Resolution and printable area in device pixels of the printer as it is set up now.
    PrinterPage currentPage() const override;

private:
    const QPrinter &printer_;
};
