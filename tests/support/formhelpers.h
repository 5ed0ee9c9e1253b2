#pragma once

#include "mainform.h"

#include <QObject>

#include <memory>

class PaintBox;
class QWidget;
class WordGrid;

// The program's main window in tests: showing it, waiting for its view, and reaching its controls.

// The window's child control of the given object name (null when there is none).
template <typename T> T *control(TMainForm &form, const char *name) {
    return form.findChild<T *>(QString::fromLatin1(name));
}

// The word table ("StringGrid1") and the view's paint box ("PaintBox1").
WordGrid &table(TMainForm &form);
PaintBox *paintBox(TMainForm &form);

// Whether the paint box has taken the size of the current picture.
bool viewSettled(TMainForm &form);

// Lets the view finish its paints: waits until the paint box has the picture's size, then a little
// longer for the paint that draws it (drawing also brings each entry's down and arrowkind in line
// with its clue cell). Warns when the view does not settle.
void waitForView(TMainForm &form);

// A new window, shown and exposed, with its view settled.
std::unique_ptr<TMainForm> shownForm();

// Generates with the window's own engine ("Erzeugen") and waits until the generation has ended and
// the view has the new picture's size; false when either does not happen in time.
bool generateAndWait(TMainForm &form);

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *widget);
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
