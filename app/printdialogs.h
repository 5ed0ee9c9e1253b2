#pragma once

class QPrintDialog;
class QPrinter;
class QWidget;

// The print dialog as a component of the window: Qt's print dialog on the window's printer, for a
// job of one page, so without page ranges. What the user confirms stays the printer's setting.
class PrintDialog {
public:
    explicit PrintDialog(QPrinter &printer) : printer_(printer) {}
    // Shows the dialog; true when the user chose to print.
    bool Execute(QWidget *parent);
    // Sets a print dialog up as Execute shows it.
    static void configure(QPrintDialog &dialog);

private:
    QPrinter &printer_;
};

// The printer set-up dialog: Qt's print dialog on the window's printer, titled "Drucker einrichten",
// with OK instead of "Drucken": the user chooses the printer, and under "Eigenschaften" the paper and
// the orientation. What the user confirms becomes the printer's setting for later prints, exports
// and page-end markings; nothing is printed.
class PrinterSetupDialog {
public:
    explicit PrinterSetupDialog(QPrinter &printer) : printer_(printer) {}
    // Shows the dialog; true when the user confirmed a setting.
    bool Execute(QWidget *parent);
    // Sets a print dialog up as Execute shows it.
    static void configure(QPrintDialog &dialog);

private:
    QPrinter &printer_;
};
