// The main window's commands that put the puzzle on paper or into a picture file, and the About box.
#include "mainform.h"

#include "aboutbox.h"
#include "errorreport.h"
#include "puzzleprinting.h"
#include "ui_mainform.h"

#include <QMessageBox>
#include <QPrintPreviewDialog>

void TMainForm::connectOutputHandlers() {
    connect(ui->ExportierenalsBild1, &QAction::triggered, this, &TMainForm::ExportierenalsBild1Click);
    connect(ui->Druckereinrichten1, &QAction::triggered, this, &TMainForm::Druckereinrichten1Click);
    connect(ui->Drucken1, &QAction::triggered, this, &TMainForm::Drucken1Click);
    connect(ui->Druckvorschau1, &QAction::triggered, this, &TMainForm::Druckvorschau1Click);
    connect(ui->ber1, &QAction::triggered, this, &TMainForm::ber1Click);
}

TAboutBox &TMainForm::aboutBox() {
    if (!AboutBox)
        AboutBox = new TAboutBox(this);
    return *AboutBox;
}

bool TMainForm::printCurrentPuzzle() {
    QString error;
    if (printPuzzle(printer_, model_, settings(), &error)) {
        const QString notice = printQueueNotice(printer_);
        if (!notice.isEmpty())
            QMessageBox::information(this, QStringLiteral("Drucken"), notice);
        return true;
    }
    showErrorMessage(error);
    return false;
}

bool TMainForm::exportPicture(const QString &fileName, PictureFormat format) {
    // The view paints at the paint box's resolution; the picture is sized from the settings, not from
    // the paint box, which may not have been painted since a setting changed.
    QString error;
    if (exportPuzzlePicture(fileName, format, model_, settings(), ui->PaintBox1->logicalDpiX(), printer_,
                            &error))
        return true;
    showErrorMessage(error);
    return false;
}

void TMainForm::ExportierenalsBild1Click() {
    if (SaveDialog1.Execute(this))
        exportPicture(SaveDialog1.FileName, SaveDialog1.Format);
}

void TMainForm::Druckereinrichten1Click() {
    // The red page-end marking shows the new page at once.
    if (PrinterSetupDialog1.Execute(this)) {
        repaintPuzzle();
        refreshPageFitNotice();
    }
}

void TMainForm::Drucken1Click() {
    if (confirmWholePage() && PrintDialog1.Execute(this))
        printCurrentPuzzle();
}

void TMainForm::Druckvorschau1Click() {
    QPrintPreviewDialog preview(&printer_, this);
    preview.setWindowTitle(QStringLiteral("Druckvorschau"));
    QString error;
    // The preview draws with the printing code itself, and prints through it when asked to.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&](QPrinter *printer) { printPuzzle(*printer, model_, settings(), &error); });
    preview.exec();
    if (!error.isEmpty())
        showErrorMessage(error);
    // Paper or orientation may have been changed in the preview.
    repaintPuzzle();
}

void TMainForm::ber1Click() {
    aboutBox().exec();
}
