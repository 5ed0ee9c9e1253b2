#pragma once

#include "inputblocker.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class GenerationRunner;
class QProgressBar;
class QProgressDialog;
class QWidget;

// What the window shows while a generation runs. At first a busy cursor, and the window takes no input
// (no second generation, no edit of the word table). A generation that takes longer than showDelay
// gets a window-modal progress dialog, "Rätsel wird erzeugt …", with the runs done of all runs and
// "Abbrechen"; the button, Escape or closing the dialog cancel the generation. A generation that ends
// sooner shows no dialog at all. When it ends, cursor, input and dialog are back to normal.
class GenerationProgress : public QObject {
    Q_OBJECT

public:
    static constexpr int showDelay = 300; // milliseconds

    GenerationProgress(QWidget *window, GenerationRunner &runner, QObject *parent = nullptr);
    ~GenerationProgress() override;

private:
    void begin(int runs);
    void showDialog();
    void update(int runsDone);
    void end();
    void setBusyCursor(bool busy);

    QWidget *window_;
    GenerationRunner &runner_;
    InputBlocker blocker_;
    QTimer showTimer_;
    QPointer<QProgressDialog> dialog_;
    QProgressBar *bar_ = nullptr;
    int runs_ = 0;
    int runsDone_ = 0;
    bool busyCursor_ = false;
};
