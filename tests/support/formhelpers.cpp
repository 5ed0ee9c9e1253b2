#include "formhelpers.h"

#include "generationrunner.h"
#include "paintbox.h"
#include "renderer.h"
#include "wordgrid.h"

#include <QtTest>

WordGrid &table(TMainForm &form) {
    return *control<WordGrid>(form, "StringGrid1");
}

PaintBox *paintBox(TMainForm &form) {
    return control<PaintBox>(form, "PaintBox1");
}

bool viewSettled(TMainForm &form) {
    PaintBox *box = paintBox(form);
    return box->size() == puzzlePictureSize(form.model(), form.settings(), box->logicalDpiX());
}

void waitForView(TMainForm &form) {
    if (!QTest::qWaitFor([&] { return viewSettled(form); }))
        qWarning("paint box not resized");
    QTest::qWait(20);
}

std::unique_ptr<TMainForm> shownForm() {
    auto form = std::make_unique<TMainForm>();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("window not exposed");
    waitForView(*form);
    return form;
}

bool generateAndWait(TMainForm &form) {
    form.Button1Click();
    return QTest::qWaitFor([&] { return !form.generation().isRunning(); }) &&
           QTest::qWaitFor([&] { return viewSettled(form); });
}

PaintCounter::PaintCounter(QWidget *widget) {
    widget->installEventFilter(this);
}

bool PaintCounter::eventFilter(QObject *, QEvent *event) {
    if (event->type() == QEvent::Paint)
        ++paints;
    return false;
}
