// The main window's document commands: new, open, save, the recent documents, closing with the
// question about unsaved changes, and the window title that shows the document and its changes.
#include "mainform.h"

#include "layoutchoice.h"

#include "busycursor.h"
#include "documentfile.h"
#include "documentstate.h"
#include "errorreport.h"
#include "generationrunner.h"
#include "savequestion.h"
#include "ui_mainform.h"
#include "windowdocument.h"
#include "windowmemory.h"
#include "wordgrid.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

namespace {

const QString programCaption = QStringLiteral("ORBELIK Wabrixrätsel-Drucker 1.0");
constexpr int maxRecentFiles = 5;

} // namespace

void TMainForm::connectFileHandlers() {
    connect(ui->Neu1, &QAction::triggered, this, &TMainForm::Neu1Click);
    connect(ui->ffnen1, &QAction::triggered, this, &TMainForm::ffnen1Click);
    connect(ui->Speichern1, &QAction::triggered, this, &TMainForm::Speichern1Click);
    connect(ui->Speichernunter1, &QAction::triggered, this, &TMainForm::Speichernunter1Click);
    connect(ui->Beenden1, &QAction::triggered, this, &TMainForm::Beenden1Click);
    connect(document_, &DocumentState::stateChanged, this, &TMainForm::updateCaption);
    // Everything a document holds besides the table counts as a change of the document.
    const auto changed = [this] { document_->markChanged(); };
    for (NumericSpinEdit *field : {ui->ZoomEd, ui->FeldBreitEd, ui->StrichStarkEd, ui->PfeilgrossEd,
                                   ui->TextRandEd, ui->SeitenRandEd, ui->KleinsteSchriftEd})
        connect(field, &NumericSpinEdit::changed, this, changed);
    for (QCheckBox *box :
         {ui->LosungEinCheck, ui->BlattRotCheck, ui->FrageSchwarzCheck, ui->FragenEinpassenCheck})
        connect(box, &QCheckBox::toggled, this, changed);
    connect(ui->caped, &QLineEdit::textChanged, this, changed);
    connect(ui->UmlauteCombo, &QComboBox::currentIndexChanged, this, changed);
    connect(layoutChoice_, &LayoutChoice::chosen, this, changed);

    WordGrid &grid = *ui->StringGrid1;
    QUndoStack &steps = grid.undoStack();
    connect(ui->Rckgngig1, &QAction::triggered, &steps, &QUndoStack::undo);
    connect(ui->Wiederholen1, &QAction::triggered, &steps, &QUndoStack::redo);
    // Ctrl+Y as on Windows, and the desktop's own redo keys (Ctrl+Shift+Z) too, each once.
    QList<QKeySequence> redoKeys{QKeySequence(Qt::CTRL | Qt::Key_Y)};
    for (const QKeySequence &keys : QKeySequence::keyBindings(QKeySequence::Redo))
        if (!redoKeys.contains(keys))
            redoKeys << keys;
    ui->Wiederholen1->setShortcuts(redoKeys);
    const auto showSteps = [this, &steps] {
        ui->Rckgngig1->setEnabled(steps.canUndo());
        ui->Wiederholen1->setEnabled(steps.canRedo());
        ui->Rckgngig1->setText(steps.canUndo() ? QStringLiteral("Rückgängig: ") + steps.undoText()
                                               : QStringLiteral("Rückgängig"));
        ui->Wiederholen1->setText(steps.canRedo() ? QStringLiteral("Wiederholen: ") + steps.redoText()
                                                  : QStringLiteral("Wiederholen"));
    };
    connect(&steps, &QUndoStack::indexChanged, this, showSteps);
    connect(&steps, &QUndoStack::cleanChanged, this, showSteps);
    showSteps();
    fillRecentMenu();
}

void TMainForm::updateCaption() {
    setWindowTitle(document_->displayName() + QStringLiteral("[*] – ") + programCaption);
    setWindowModified(document_->isModified());
}

bool TMainForm::maySaveChanges() {
    if (!document_->isModified())
        return true;
    switch (askToSaveChanges(this, document_->displayName())) {
    case SaveChoice::Save:
        Speichern1Click();
        return !document_->isModified();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

bool TMainForm::SaveOptionsFile(const QString &fname) {
    QString error;
    bool saved = false;
    {
        BusyCursor busy;
        saved = saveDocument(fname, windowDocument(*this), &error);
    }
    if (!saved) {
        showErrorMessage(error);
        return false;
    }
    document_->setSaved(fname);
    rememberFile(fname);
    return true;
}

bool TMainForm::LoadOptionsFile(const QString &fname) {
    DocumentReadResult read;
    {
        BusyCursor busy;
        read = loadDocument(fname, WordGrid::maxWordRows);
        if (read.ok) {
            showDocument(*this, read.document);
            ui->StringGrid1->scrollToTop();
            ui->StringGrid1->setCurrentCell(0, 0);
            reportUnusableRows_ = reportNoEntries_ = false;
            updateWordReport();
        }
    }
    if (!read.ok) {
        if (!offerWordListImport(fname))
            showErrorMessage(read.error);
        return false;
    }
    document_->setSaved(fname);
    rememberFile(fname);
    return true;
}

void TMainForm::Neu1Click() {
    if (!maySaveChanges())
        return;
    ui->StringGrid1->clearWordRows();
    document_->setSaved(QString());
    scheduleClueCheck();
}

void TMainForm::ffnen1Click() {
    if (maySaveChanges() && OpenDialog1.Execute(this))
        LoadOptionsFile(OpenDialog1.FileName);
}

void TMainForm::Speichern1Click() {
    if (document_->fileName().isEmpty())
        Speichernunter1Click();
    else
        SaveOptionsFile(document_->fileName());
}

void TMainForm::Speichernunter1Click() {
    if (SaveDialog2.Execute(this))
        SaveOptionsFile(SaveDialog2.FileName);
}

void TMainForm::Beenden1Click() {
    close();
}

void TMainForm::closeEvent(QCloseEvent *event) {
    if (!maySaveChanges()) {
        event->ignore();
        return;
    }
    generation_->cancelAndWait();
    if (memory_)
        memory_->save(*this);
    QMainWindow::closeEvent(event);
}

void TMainForm::setMemory(WindowMemory *memory) {
    memory_ = memory;
    if (memory_)
        memory_->restore(*this);
}

void TMainForm::placeAt(const QByteArray &geometry) {
    if (restoreGeometry(geometry))
        centred_ = true;
}

void TMainForm::setRecentFiles(const QStringList &files) {
    recentFiles_ = files.mid(0, maxRecentFiles);
    fillRecentMenu();
}

void TMainForm::rememberFile(const QString &path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles_;
    files.removeAll(absolute);
    files.prepend(absolute);
    setRecentFiles(files);
    if (memory_)
        memory_->saveRecentFiles(recentFiles_);
}

void TMainForm::fillRecentMenu() {
    QMenu *menu = ui->Zuletztgeffnet1;
    menu->clear();
    for (int i = 0; i < recentFiles_.size(); ++i) {
        const QString path = recentFiles_[i];
        QAction *action = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()),
                                          this, [this, path] { openRecentFile(path); });
        action->setToolTip(path);
        action->setStatusTip(path);
    }
    menu->setToolTipsVisible(true);
    menu->setEnabled(!recentFiles_.isEmpty());
}

void TMainForm::openRecentFile(const QString &path) {
    if (!maySaveChanges())
        return;
    if (!QFileInfo::exists(path)) {
        showErrorMessage(QStringLiteral("Die Datei „%1“ gibt es nicht mehr; sie wird aus der Liste genommen")
                             .arg(QDir::toNativeSeparators(path)));
        QStringList files = recentFiles_;
        files.removeAll(path);
        setRecentFiles(files);
        if (memory_)
            memory_->saveRecentFiles(recentFiles_);
        return;
    }
    LoadOptionsFile(path);
}
