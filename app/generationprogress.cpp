#include "generationprogress.h"

#include "generationrunner.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QProgressDialog>
#include <QWidget>

GenerationProgress::GenerationProgress(QWidget *window, GenerationRunner &runner, QObject *parent)
    : QObject(parent), window_(window), runner_(runner), blocker_(window) {
    showTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, &GenerationProgress::showDialog);
    connect(&runner_, &GenerationRunner::started, this, &GenerationProgress::begin);
    connect(&runner_, &GenerationRunner::progress, this, &GenerationProgress::update);
    connect(&runner_, &GenerationRunner::ended, this, &GenerationProgress::end);
}

GenerationProgress::~GenerationProgress() {
    end();
}

void GenerationProgress::begin(int runs) {
    runs_ = runs;
    runsDone_ = 0;
    blocker_.setActive(true);
    setBusyCursor(true);
    showTimer_.start(showDelay);
}

void GenerationProgress::showDialog() {
    if (!runner_.isRunning())
        return;
    auto *dialog = new QProgressDialog(window_);
    dialog->setWindowTitle(QStringLiteral("Erzeuge Rätsel"));
    dialog->setLabelText(QStringLiteral("Rätsel wird erzeugt …"));
    dialog->setCancelButtonText(QStringLiteral("Abbrechen"));
    // The dialog's own setValue runs the event loop when the dialog is modal; the bar is set directly,
    // so that a progress report never handles the generation's end from inside itself.
    bar_ = new QProgressBar(dialog);
    bar_->setFormat(QStringLiteral("%v von %m"));
    dialog->setBar(bar_);
    dialog->setRange(0, runs_);
    bar_->setValue(runsDone_);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QProgressDialog::canceled, &runner_, &GenerationRunner::cancel);
    dialog_ = dialog;
    // The dialog takes the window's input from now on; its button wants the ordinary cursor.
    setBusyCursor(false);
    dialog->show();
}

void GenerationProgress::update(int runsDone) {
    runsDone_ = runsDone;
    if (dialog_ && !dialog_->wasCanceled())
        bar_->setValue(runsDone);
}

void GenerationProgress::end() {
    showTimer_.stop();
    delete dialog_;
    bar_ = nullptr;
    setBusyCursor(false);
    blocker_.setActive(false);
}

void GenerationProgress::setBusyCursor(bool busy) {
    if (busy == busyCursor_)
        return;
    busyCursor_ = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}
