#include "formhelpers.h"
#include "generationprogress.h"
#include "generationrunner.h"
#include "mainform.h"
#include "modalanswers.h"
#include "paintbox.h"
#include "puzzlechecker.h"
#include "renderer.h"
#include "testfiles.h"
#include "wordgrid.h"
#include "wordlist.h"

#include <QAction>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <stdexcept>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// What the generation engine of a test saw: how often it was called, how far it came, and whether it
// was told to stop.
struct EngineProbe {
    std::atomic<int> calls{0};
    std::atomic<int> runsDone{0};
    std::atomic<bool> toldToStop{false};
};

// The real engine on one thread, slowed down by a pause after every run, so that a generation of a
// few words takes seconds.
GenerationRunner::Engine slowEngine(EngineProbe &probe, int millisecondsPerRun = 3) {
    return [&probe, millisecondsPerRun](const WordTable &table, PuzzleModel &model, GeneratorStore &store,
                                        const GenerationOptions &options) {
        ++probe.calls;
        GenerationOptions slowed = options;
        slowed.threads = 1;
        slowed.onRunDone = [&probe, millisecondsPerRun, report = options.onRunDone](int runsDone) {
            std::this_thread::sleep_for(std::chrono::milliseconds(millisecondsPerRun));
            probe.runsDone = runsDone;
            const bool goOn = report(runsDone);
            if (!goOn)
                probe.toldToStop = true;
            return goOn;
        };
        return GenerateFast(table, model, store, slowed);
    };
}

enum class Failure { OutOfMemory, RuleBroken, Unknown };

// An engine that reports runs for the given time and then fails.
GenerationRunner::Engine failingEngine(Failure failure, int afterMilliseconds) {
    return [failure, afterMilliseconds](const WordTable &, PuzzleModel &, GeneratorStore &,
                                        const GenerationOptions &options) -> GenerationStats {
        const auto end = Clock::now() + std::chrono::milliseconds(afterMilliseconds);
        for (int run = 1; Clock::now() < end; ++run) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            options.onRunDone(std::min(run, options.runs));
        }
        if (failure == Failure::OutOfMemory)
            throw std::bad_alloc();
        if (failure == Failure::RuleBroken)
            throw std::runtime_error("Regel verletzt");
        throw 42;
    };
}

void loadWords(TMainForm &form, const char *exampleFile) {
    const WordList list = readWordList(examplePath(exampleFile));
    if (!list.ok() || list.rows.empty())
        qWarning("example word list not read");
    table(form).setWordRows(list.rows);
}

// A window with a generated puzzle of the 20 sample words, drawn.
std::unique_ptr<TMainForm> formWithPuzzle() {
    auto form = shownForm();
    loadWords(*form, "woerter-20.txt");
    if (!generateAndWait(*form))
        qWarning("first generation did not end");
    QTest::qWait(20);
    return form;
}

// The progress dialog while it is shown, else null.
QProgressDialog *shownProgressDialog(TMainForm &form) {
    QProgressDialog *dialog = form.findChild<QProgressDialog *>();
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

// Everything a generation may change, to compare before and after.
struct WindowState {
    std::vector<std::u16string> tableTexts;
    std::vector<std::u16string> entries; // texts and placement fields of every entry
    Grid grid;
    GeneratorStore store{0};
    QImage picture;

    bool operator==(const WindowState &o) const {
        return tableTexts == o.tableTexts && entries == o.entries && grid == o.grid &&
               store.placedPerRun == o.store.placedPerRun && store.figures == o.store.figures &&
               store.keptRun == o.store.keptRun && store.keptPlacements == o.store.keptPlacements &&
               store.placedInLastRun == o.store.placedInLastRun && store.mostPlaced == o.store.mostPlaced &&
               picture == o.picture;
    }
};

WindowState stateOf(TMainForm &form) {
    WindowState s;
    for (int r = 1; r < table(form).RowCount(); ++r)
        for (int c = 0; c < 2; ++c)
            s.tableTexts.push_back(table(form).Cells(c, r).toStdU16String());
    for (std::uint32_t i = 0; i < form.model().entryCount(); ++i) {
        const TPuzzleEntry &e = *form.model().entry(i);
        std::u16string fields;
        for (int value : {int(e.down), int(e.done), e.tries, e.line, e.start, e.arrowkind})
            fields += QString::number(value).toStdU16String() + u',';
        s.entries.push_back(entryText(e.clue) + u'|' + entryText(e.answer) + u'|' + fields);
    }
    s.grid = form.model().grid;
    s.store = form.store();
    s.picture = paintBox(form)->grab().toImage();
    return s;
}

// Starts a generation with the slowed engine reporting to probe; with waitForDialog, waits until the
// progress dialog shows (false when it does not).
bool startSlowGeneration(TMainForm &form, EngineProbe &probe, bool waitForDialog) {
    form.generation().setEngine(slowEngine(probe));
    control<QPushButton>(form, "ErzeugeBtn")->click();
    return !waitForDialog || QTest::qWaitFor([&] { return shownProgressDialog(form) != nullptr; });
}

// Counts how often a progress dialog is shown anywhere in the program.
class DialogWatch : public QObject {
public:
    DialogWatch() { qApp->installEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && qobject_cast<QProgressDialog *>(watched))
            ++shown;
        return false;
    }
};

} // namespace

class TestGenerationWindow : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        // No generation may leave the busy cursor or a progress dialog behind.
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void quickGenerationShowsNoDialogAndLandsTheResult() {
        auto form = shownForm();
        table(*form).setCells(0, 1, QStringLiteral("früher"));
        table(*form).setCells(1, 1, QStringLiteral("einst"));
        QVERIFY(generateAndWait(*form));
        QCOMPARE(form->model().entryCount(), 1u);

        loadWords(*form, "woerter-20.txt");
        DialogWatch dialogs;
        PaintCounter counter(paintBox(*form));
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(control<QPushButton>(*form, "ErzeugeBtn"), Qt::LeftButton);
        QVERIFY(form->generation().isRunning());
        QTRY_VERIFY(!form->generation().isRunning());
        // clock measures at least the generation's time. Under a sanitizer on a busy machine twenty
        // words can take longer than the delay; then the dialog may have come, but only once.
        if (clock.elapsed() < GenerationProgress::showDelay)
            QCOMPARE(dialogs.shown, 0);
        else
            QVERIFY2(dialogs.shown <= 1, qPrintable(QString::number(dialogs.shown)));

        // The entries are rebuilt from the table, and the puzzle is the best of 1001 runs.
        QCOMPARE(form->model().entryCount(), 20u);
        QCOMPARE(entryText(form->model().entry(0)->clue), std::u16string(u"Tiefdruckgebiet"));
        QCOMPARE(entryText(form->model().entry(0)->answer), std::u16string(u"TIEF"));
        const GeneratorStore &store = form->store();
        QCOMPARE(store.runs(), 1001);
        QCOMPARE(store.mostPlaced, *std::max_element(store.placedPerRun.begin(), store.placedPerRun.end()));
        QVERIFY(
            std::all_of(store.placedPerRun.begin(), store.placedPerRun.end(), [](int n) { return n >= 1; }));
        QVERIFY(store.mostPlaced > 1);
        QCOMPARE(countClueCells(form->model().grid), store.mostPlaced);
        std::vector<std::u16string> answers;
        for (std::uint32_t i = 0; i < form->model().entryCount(); ++i)
            answers.push_back(entryText(form->model().entry(i)->answer));
        const std::vector<std::string> broken = checkPuzzle(form->model().grid, answers);
        QVERIFY2(broken.empty(), broken.empty() ? "" : broken.front().c_str());

        // The view shows the new puzzle.
        QTRY_VERIFY(viewSettled(*form));
        QTRY_VERIFY(counter.paints > 0);
    }

    void longGenerationShowsItsProgress() {
        auto form = formWithPuzzle();
        EngineProbe probe;
        DialogWatch dialogs;
        PaintCounter counter(paintBox(*form));
        startSlowGeneration(*form, probe, false);

        // Until the dialog comes, the busy cursor shows and the window still paints and resizes.
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        const int paintsBefore = counter.paints;
        paintBox(*form)->update();
        form->resize(form->width() + 40, form->height() + 30);
        QTRY_VERIFY(counter.paints > paintsBefore);
        QTRY_COMPARE(form->centralWidget()->width(), TMainForm::clientWidth + 40);
        QVERIFY(form->generation().isRunning());
        QCOMPARE(dialogs.shown, 0);

        QTRY_VERIFY(shownProgressDialog(*form));
        QProgressDialog *dialog = shownProgressDialog(*form);
        QCOMPARE(dialogs.shown, 1);
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QCOMPARE(dialog->labelText(), QStringLiteral("Rätsel wird erzeugt …"));
        QCOMPARE(dialog->maximum(), 1001);
        QCOMPARE(dialog->findChild<QPushButton *>()->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        const int first = dialog->value();
        QTRY_VERIFY(dialog->value() > first);
        const int second = dialog->value();
        QVERIFY(second <= 1001);
        QCOMPARE(dialog->findChild<QProgressBar *>()->text(), QStringLiteral("%1 von 1001").arg(second));
        QTRY_VERIFY(dialog->value() > second);

        QTRY_VERIFY_WITH_TIMEOUT(!form->generation().isRunning(), 60000);
        QVERIFY(!form->findChild<QProgressDialog *>());
        QCOMPARE(probe.runsDone.load(), 1001);
        QVERIFY(!probe.toldToStop);
        QCOMPARE(form->store().runs(), 1001);
        QCOMPARE(countClueCells(form->model().grid), form->store().mostPlaced);
        QTRY_VERIFY(viewSettled(*form));
    }

    void cancellingKeepsThePuzzle_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Abbrechen") << "button";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("dialog closed") << "close";
    }
    void cancellingKeepsThePuzzle() {
        QFETCH(QString, how);
        auto form = formWithPuzzle();
        const WindowState before = stateOf(*form);
        EngineProbe probe;
        QVERIFY(startSlowGeneration(*form, probe, true));
        QProgressDialog *dialog = shownProgressDialog(*form);
        if (how == "button")
            QTest::mouseClick(dialog->findChild<QPushButton *>(), Qt::LeftButton);
        else if (how == "escape")
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
        QTRY_VERIFY(!form->generation().isRunning());
        QVERIFY(probe.toldToStop);
        QVERIFY(probe.runsDone < 1001);
        QVERIFY(!form->findChild<QProgressDialog *>());
        QTest::qWait(20);
        QVERIFY(stateOf(*form) == before);
    }

    void noSecondGenerationAndNoEditWhileRunning() {
        auto form = formWithPuzzle();
        EngineProbe probe;
        form->generation().setEngine(slowEngine(probe));
        WordGrid &grid = table(*form);
        grid.setCurrentCell(0, 0);
        const QString firstClue = grid.Cells(0, 1);
        QPushButton *button = control<QPushButton>(*form, "ErzeugeBtn");
        button->click();
        QVERIFY(!shownProgressDialog(*form));

        // Before the dialog shows, clicks, keys and the handler itself start nothing and edit nothing.
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClick(button, Qt::Key_Space);
        form->Button1Click();
        QTest::keyClick(&grid, Qt::Key_Delete);
        QVERIFY(!shownProgressDialog(*form));
        QCOMPARE(grid.Cells(0, 1), firstClue);

        QTRY_VERIFY(shownProgressDialog(*form));
        form->Button1Click();
        form->generation().cancel();
        QTRY_VERIFY(!form->generation().isRunning());
        QCOMPARE(probe.calls.load(), 1);

        // Once it is over, the table takes keys again.
        QTest::keyClick(&grid, Qt::Key_Delete);
        QCOMPARE(grid.Cells(0, 1), QString());
    }

    void closingTheWindowCancels_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("withDialog");
        QTest::newRow("Beenden at once") << "Beenden" << false;
        QTest::newRow("closed at once") << "close" << false;
        QTest::newRow("destroyed at once") << "destroy" << false;
        QTest::newRow("Beenden with the dialog") << "Beenden" << true;
        QTest::newRow("closed with the dialog") << "close" << true;
        QTest::newRow("destroyed with the dialog") << "destroy" << true;
    }
    void closingTheWindowCancels() {
        QFETCH(QString, how);
        QFETCH(bool, withDialog);
        EngineProbe probe;
        auto form = formWithPuzzle();
        const WindowState before = stateOf(*form);
        QVERIFY(startSlowGeneration(*form, probe, withDialog));
        if (how == "destroy") {
            form.reset();
            QVERIFY(probe.toldToStop);
            return;
        }
        // The generated puzzle is unsaved: the window asks first, and the generation runs on meanwhile.
        SeenBox question;
        clickInNextMessageBox(question, QStringLiteral("Verwerfen"));
        if (how == "Beenden")
            control<QAction>(*form, "Beenden1")->trigger();
        else
            form->close();
        QVERIFY(question.shown);
        // The worker has ended before the window is gone.
        QVERIFY(!form->isVisible());
        QVERIFY(!form->generation().isRunning());
        QVERIFY(probe.toldToStop);
        QVERIFY(probe.runsDone < 1001);
        QVERIFY(!form->findChild<QProgressDialog *>());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QTest::qWait(20);
        WindowState after = stateOf(*form);
        after.picture = before.picture; // a hidden window's picture is not compared
        QVERIFY(after == before);
    }

    void workerErrorIsReported_data() {
        QTest::addColumn<int>("failure");
        QTest::addColumn<int>("afterMilliseconds");
        QTest::addColumn<QString>("message");
        QTest::newRow("out of memory at once")
            << int(Failure::OutOfMemory) << 0 << "Zu wenig Arbeitsspeicher.";
        QTest::newRow("error at once") << int(Failure::RuleBroken) << 0 << "Regel verletzt.";
        QTest::newRow("unknown error at once") << int(Failure::Unknown) << 0 << "Unbekannter Fehler.";
        QTest::newRow("out of memory with the dialog")
            << int(Failure::OutOfMemory) << 600 << "Zu wenig Arbeitsspeicher.";
    }
    void workerErrorIsReported() {
        QFETCH(int, failure);
        QFETCH(int, afterMilliseconds);
        QFETCH(QString, message);
        auto form = formWithPuzzle();
        const WindowState before = stateOf(*form);
        form->generation().setEngine(failingEngine(Failure(failure), afterMilliseconds));
        SeenBox seen;
        closeNextMessageBox(seen);
        control<QPushButton>(*form, "ErzeugeBtn")->click();
        QTRY_VERIFY(seen.shown);
        QCOMPARE(seen.text, message);
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QVERIFY(!form->generation().isRunning());
        QVERIFY(!form->findChild<QProgressDialog *>());
        QTest::qWait(20);
        QVERIFY(stateOf(*form) == before);
    }

    // The runner's reports arrive on the window's thread, in order, and a report of an ended
    // generation that still waits in the queue is not delivered.
    void runnerReportsOnTheWindowThread() {
        GenerationRunner runner;
        EngineProbe probe;
        runner.setEngine(slowEngine(probe, 1));
        QStringList log;
        std::vector<int> counts;
        bool offThread = false;
        auto note = [&](const QString &line) {
            offThread = offThread || QThread::currentThread() != qApp->thread();
            log << line;
        };
        connect(&runner, &GenerationRunner::started, this,
                [&](int runs) { note(QString("started %1").arg(runs)); });
        connect(&runner, &GenerationRunner::ended, this, [&] { note("ended"); });
        connect(&runner, &GenerationRunner::cancelled, this, [&] { note("cancelled"); });
        connect(&runner, &GenerationRunner::succeeded, this,
                [&](GenerationResult &result) { note(QString("succeeded %1").arg(result.stats.runs)); });
        connect(&runner, &GenerationRunner::progress, this, [&](int done) {
            offThread = offThread || QThread::currentThread() != qApp->thread();
            counts.push_back(done);
        });

        VectorWordTable words({{u"Tier", u"katze"}, {u"Farbe", u"rot"}, {u"Gewässer", u"see"}}, 0);
        QVERIFY(runner.start(words, 1, 200));
        QVERIFY(!runner.start(words, 2, 200));
        QTRY_VERIFY(!runner.isRunning());
        QCOMPARE(log, QStringList({"started 200", "ended", "succeeded 200"}));
        QVERIFY(!offThread);
        QVERIFY(!counts.empty());
        QVERIFY(std::is_sorted(counts.begin(), counts.end()));
        QVERIFY(std::adjacent_find(counts.begin(), counts.end()) == counts.end());
        QVERIFY(counts.back() <= 200);

        log.clear();
        QVERIFY(runner.start(words, 3, 1000));
        QTRY_VERIFY(probe.runsDone > 0);
        runner.cancelAndWait();
        QCOMPARE(log, QStringList({"started 1000", "ended", "cancelled"}));
        QTest::qWait(50);
        QCOMPARE(log.size(), 3);
    }
};

QTEST_MAIN(TestGenerationWindow)
#include "tst_generationwindow.moc"
