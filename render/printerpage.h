#pragma once

// What the renderer needs to know of the current printer: its pixels per inch (one value for both
// axes) and the printable area of its page in printer pixels.
struct PrinterPage {
    int resolution = 0; // pixels per inch
    int width = 0;      // printable width in printer pixels
    int height = 0;     // printable height in printer pixels
};

// The current printer as the renderer sees it. Asked on every draw, so a changed printer setup shows
// in the next paint.
class PrinterQuery {
public:
    virtual ~PrinterQuery();
    // The current printer's resolution and printable page size.
    virtual PrinterPage currentPage() const = 0;
};

// A printer that always answers the same page: for the command line and for tests.
class FixedPrinterQuery : public PrinterQuery {
public:
    explicit FixedPrinterQuery(const PrinterPage &page) : page_(page) {}
    PrinterPage currentPage() const override { return page_; }

private:
    PrinterPage page_;
};

// The printable area of the page that Qt's PDF printer uses by default at high resolution: A4 portrait
// at 1200 pixels per inch with margins of 10 points on every side (9583 x 13699 pixels).
PrinterPage defaultPdfPage();
