#include "printdialogs.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>

namespace {

void withoutPageChoice(QPrintDialog &dialog) {
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
}

} // namespace

void PrintDialog::configure(QPrintDialog &dialog) {
    withoutPageChoice(dialog);
}

bool PrintDialog::Execute(QWidget *parent) {
    QPrintDialog dialog(&printer_, parent);
    configure(dialog);
    return dialog.exec() == QDialog::Accepted;
}

void PrinterSetupDialog::configure(QPrintDialog &dialog) {
    withoutPageChoice(dialog);
    dialog.setWindowTitle(QStringLiteral("Drucker einrichten"));
    // The dialog's own buttons sit in a button box directly inside it; the one that confirms says
    // "Drucken" there, which would promise a print that does not happen.
    for (QDialogButtonBox *buttons :
         dialog.findChildren<QDialogButtonBox *>(QString(), Qt::FindDirectChildrenOnly))
        if (QPushButton *confirm = buttons->button(QDialogButtonBox::Ok))
            confirm->setText(QStringLiteral("OK"));
}

bool PrinterSetupDialog::Execute(QWidget *parent) {
    QPrintDialog dialog(&printer_, parent);
    configure(dialog);
    return dialog.exec() == QDialog::Accepted;
}
