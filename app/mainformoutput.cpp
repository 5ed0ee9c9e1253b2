// The main window's commands that put the puzzle on paper or into a picture file, and the About box.
#include "mainform.h"

#include "aboutbox.h"
#include "errorreport.h"
#include "puzzleprinting.h"
#include "ui_mainform.h"

#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QToolBar>

void TMainForm::connectOutputHandlers() {
    connect(ui->ExportierenalsBild1, &QAction::triggered, this, &TMainForm::ExportierenalsBild1Click);
    connect(ui->Druckereinrichten1, &QAction::triggered, this, &TMainForm::Druckereinrichten1Click);
    connect(ui->Drucken1, &QAction::triggered, this, &TMainForm::Drucken1Click);
    connect(ui->Druckvorschau1, &QAction::triggered, this, &TMainForm::Druckvorschau1Click);
    connect(ui->RaetselUndLoesungDrucken1, &QAction::triggered, this,
            &TMainForm::RaetselUndLoesungDrucken1Click);
    connect(ui->ber1, &QAction::triggered, this, &TMainForm::ber1Click);
}

TAboutBox &TMainForm::aboutBox() {
    if (!AboutBox)
        AboutBox = new TAboutBox(this);
    return *AboutBox;
}

bool TMainForm::printCurrentPuzzle(PrintPages pages) {
    QString error;
    if (printPuzzle(printer_, model_, settings(), pages, &error)) {
        const QString notice = printQueueNotice(printer_);
        if (!notice.isEmpty())
            QMessageBox::information(this, QStringLiteral("Drucken"), notice);
        return true;
    }
    showErrorMessage(error);
    return false;
}

bool TMainForm::exportPicture(const QString &fileName, PictureFormat format, PrintPages pages) {
    // The view paints at the paint box's resolution; the picture is sized from the settings, not from
    // the paint box, which may not have been painted since a setting changed.
    QString error;
    if (exportPuzzlePicture(fileName, format, model_, settings(), ui->PaintBox1->logicalDpiX(), printer_,
                            &error, pages))
        return true;
    showErrorMessage(error);
    return false;
}

void TMainForm::ExportierenalsBild1Click() {
    if (SaveDialog1.Execute(this))
        exportPicture(SaveDialog1.FileName, SaveDialog1.Format, SaveDialog1.Pages);
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

void TMainForm::RaetselUndLoesungDrucken1Click() {
    if (confirmWholePage(PrintPages::Both) && PrintDialog1.Execute(this))
        printCurrentPuzzle(PrintPages::Both);
}

void TMainForm::Druckvorschau1Click() {
    QPrintPreviewDialog preview(&printer_, this);
    preview.setWindowTitle(QStringLiteral("Druckvorschau"));
    QString error;
    // The preview draws with the printing code itself, and prints through it when asked to: the
    // puzzle as "Drucken..." prints it, or, with the switch in its tool bar, the puzzle without letters
    // and the solution page as "Rätsel und Lösung drucken..." prints them.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter *printer) {
        printPuzzle(*printer, model_, settings(), previewBothPages ? PrintPages::Both : PrintPages::Puzzle,
                    &error);
    });
    if (auto *bar = preview.findChild<QToolBar *>()) {
        auto *both = new QAction(QStringLiteral("Rätsel und Lösung"), &preview);
        both->setObjectName(QStringLiteral("RaetselUndLoesungVorschau"));
        both->setCheckable(true);
        both->setChecked(previewBothPages);
        both->setToolTip(QStringLiteral("Die Lösungsseite nach dem Rätsel zeigen und drucken"));
        bar->addSeparator();
        bar->addAction(both);
        connect(both, &QAction::toggled, &preview, [this, &preview](bool on) {
            previewBothPages = on;
            if (auto *pages = preview.findChild<QPrintPreviewWidget *>())
                pages->updatePreview();
        });
    }
    preview.exec();
    if (!error.isEmpty())
        showErrorMessage(error);
    // Paper or orientation may have been changed in the preview.
    repaintPuzzle();
}

void TMainForm::ber1Click() {
    aboutBox().exec();
}
