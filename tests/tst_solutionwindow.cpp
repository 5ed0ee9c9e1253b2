#include "datarow.h"
#include "documentfile.h"
#include "formhelpers.h"
#include "paintbox.h"
#include "renderer.h"
#include "solutionwordfield.h"
#include "statusnotices.h"
#include "testfiles.h"
#include "wordgrid.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

QLineEdit *wordField(TMainForm &form) {
    return control<QLineEdit>(form, "LoesungswortEd");
}

QCheckBox *wordSwitch(TMainForm &form) {
    return control<QCheckBox>(form, "LoesungswortCheck");
}

StatusNotices *notices(TMainForm &form) {
    return control<StatusNotices>(form, "PuzzleNotices");
}

QString solutionNotice(TMainForm &form) {
    return notices(form)->noticeText(SolutionWordField::noticeKey);
}

// A shown window with a puzzle generated from the 20-word example list, whose answers have every
// letter but J and Q.
std::unique_ptr<TMainForm> formWithPuzzle() {
    auto form = shownForm();
    const auto rows = readExampleList(QStringLiteral("woerter-20.txt"));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        table(*form).setCells(0, int(i) + 1, QString::fromStdU16String(rows[i].first));
        table(*form).setCells(1, int(i) + 1, QString::fromStdU16String(rows[i].second));
    }
    if (!generateAndWait(*form))
        qWarning("generation or drawing not finished");
    return form;
}

// Every chosen cell of the window's solution word holds its letter (true when nothing is marked).
bool cellsHoldTheirLetters(TMainForm &form) {
    const SolutionWord &solution = form.settings().solution;
    const std::u16string letters = solutionLetters(solution.word, form.settings().umlauts);
    if (solution.cells.empty())
        return true;
    if (letters.size() != solution.cells.size())
        return false;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const GridCell c = solution.cells[i];
        if (isOnGrid(c) && form.model().grid[cellIndex(c.column, c.row)] != letters[i])
            return false;
    }
    return true;
}

} // namespace

class TestSolutionWindow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    // Typing a word marks it at once: cells that hold its letters, a taller picture in the view, and a
    // notice only for what cannot be marked, whose button leads back to the word.
    void typedWordIsMarked_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("cells");
        QTest::addColumn<QString>("notice");
        addRow("found", QStringLiteral("Eis"), 3, QString());
        addRow("a letter lacking", QStringLiteral("Eisq"), 4, QStringLiteral("Im Rätsel fehlt: Q"));
        addRow("two lacking", QStringLiteral("qjq"), 3, QStringLiteral("Im Rätsel fehlen: Q, J"));
        addRow(
            "unusable character", QStringLiteral("Eis!€"), 0,
            QStringLiteral("Im Lösungswort steht „€“; dieses Zeichen kann in keinem Buchstabenfeld stehen."));
        addRow("too long", QString(400, u'e'), 0, QStringLiteral("Das Lösungswort hat 400 Buchstaben"));
    }
    void typedWordIsMarked() {
        QFETCH(QString, word);
        QFETCH(int, cells);
        QFETCH(QString, notice);
        auto form = formWithPuzzle();
        const QSize before = paintBox(*form)->size();
        wordField(*form)->setFocus();
        // Typed key by key where the test can type it, else (or when long) pasted.
        bool ascii = word.size() <= 20;
        for (const QChar c : word)
            ascii = ascii && c.unicode() < 0x7F;
        if (ascii)
            QTest::keyClicks(wordField(*form), word);
        else
            wordField(*form)->insert(word);
        QCOMPARE(form->settings().solution.word, word.toStdU16String());
        QCOMPARE(int(form->settings().solution.cells.size()), cells);
        QVERIFY(cellsHoldTheirLetters(*form));
        QVERIFY(solutionNotice(*form).startsWith(notice));
        QCOMPARE(notices(*form)->hasNotice(SolutionWordField::noticeKey), !notice.isEmpty());
        waitForView(*form);
        QCOMPARE(paintBox(*form)->height() > before.height(), cells > 0);
        if (notice.isEmpty())
            return;
        form->setFocus();
        notices(*form)->actionButton(SolutionWordField::noticeKey)->click();
        QTRY_VERIFY(form->focusWidget() == wordField(*form));
        QCOMPARE(wordField(*form)->selectedText(), word);
    }

    // Before the first puzzle the word waits: the notice offers to generate, and the generation marks it.
    void wordBeforeThePuzzle() {
        auto form = formWithPuzzle();
        auto fresh = shownForm();
        for (int row = 1; row <= 20; ++row)
            for (int column = 0; column < 2; ++column)
                table(*fresh).setCells(column, row, table(*form).Cells(column, row));
        wordField(*fresh)->setText(QStringLiteral("Eis"));
        QVERIFY(fresh->settings().solution.cells.empty());
        QCOMPARE(solutionNotice(*fresh),
                 QStringLiteral("Das Lösungswort wird markiert, sobald ein Rätsel erzeugt ist."));
        QPushButton *generate = notices(*fresh)->actionButton(SolutionWordField::noticeKey);
        QCOMPARE(generate->text(), QStringLiteral("Erzeuge Rätsel"));
        generate->click();
        QTRY_COMPARE_WITH_TIMEOUT(fresh->settings().solution.cells.size(), std::size_t(3), 30000);
        QVERIFY(cellsHoldTheirLetters(*fresh));
        QVERIFY(!notices(*fresh)->hasNotice(SolutionWordField::noticeKey));
    }

    // A new puzzle gets new cells for the same word.
    void newPuzzleNewCells() {
        auto form = formWithPuzzle();
        wordField(*form)->setText(QStringLiteral("Rast"));
        const Grid first = form->model().grid;
        for (int attempt = 0; attempt < 5 && form->model().grid == first; ++attempt)
            QVERIFY(generateAndWait(*form));
        QVERIFY(form->model().grid != first);
        QCOMPARE(form->settings().solution.cells.size(), std::size_t(4));
        QVERIFY(cellsHoldTheirLetters(*form));
    }

    // Switched off, the word stays but nothing is marked or reported; switched on again, it is.
    void switchingTheWordOff() {
        auto form = formWithPuzzle();
        const QSize plain = paintBox(*form)->size();
        wordField(*form)->setText(QStringLiteral("Eisq"));
        waitForView(*form);
        QVERIFY(paintBox(*form)->height() > plain.height());
        wordSwitch(*form)->click();
        QVERIFY(!form->settings().solution.enabled);
        QVERIFY(!form->settings().solution.marked());
        QVERIFY(!wordField(*form)->isEnabled());
        QVERIFY(!notices(*form)->hasNotice(SolutionWordField::noticeKey));
        waitForView(*form);
        QCOMPARE(paintBox(*form)->size(), plain);
        wordSwitch(*form)->click();
        QVERIFY(form->settings().solution.marked());
        QCOMPARE(solutionNotice(*form), QStringLiteral("Im Rätsel fehlt: Q"));
    }

    // A document with a solution word, saved and opened again, shows the same word and cells without
    // choosing anew, and saves to the same bytes.
    void savedWordComesBackUnchanged_data() {
        QTest::addColumn<bool>("enabled");
        addRow("switched on", true);
        addRow("switched off", false);
    }
    void savedWordComesBackUnchanged() {
        QFETCH(bool, enabled);
        auto form = formWithPuzzle();
        wordField(*form)->setText(QStringLiteral("Sommerq"));
        wordSwitch(*form)->setChecked(enabled);
        const QString first = dir.filePath(QStringLiteral("erst.wbx"));
        const QString second = dir.filePath(QStringLiteral("wieder.wbx"));
        form->SaveOptionsFile(first);
        const SolutionWord saved = form->settings().solution;

        auto reopened = shownForm();
        reopened->LoadOptionsFile(first);
        QVERIFY(reopened->settings().solution == saved);
        QCOMPARE(wordField(*reopened)->text(), QStringLiteral("Sommerq"));
        QCOMPARE(wordSwitch(*reopened)->isChecked(), enabled);
        QCOMPARE(notices(*reopened)->hasNotice(SolutionWordField::noticeKey), enabled);
        reopened->SaveOptionsFile(second);
        QVERIFY(!fileBytes(first).isEmpty());
        QCOMPARE(fileBytes(second), fileBytes(first));
    }

    // Cells stored off the grid or missing are kept as stored; a word stored without cells is marked
    // when it is opened.
    void storedCellsAreKept_data() {
        QTest::addColumn<QList<int>>("cells"); // column, row...
        QTest::addColumn<bool>("chosenAnew");
        addRow("odd cells kept", QList<int>{200, 3, -1, -1, 0, 0}, false);
        addRow("no cells: chosen", QList<int>{}, true);
    }
    void storedCellsAreKept() {
        QFETCH(QList<int>, cells);
        QFETCH(bool, chosenAnew);
        auto form = formWithPuzzle();
        const QString file = dir.filePath(QStringLiteral("zellen.wbx"));
        form->SaveOptionsFile(file);
        DocumentReadResult read = loadDocument(file);
        QVERIFY(read.ok);
        read.document.settings.solution.word = u"Eis";
        for (int i = 0; i + 1 < cells.size(); i += 2)
            read.document.settings.solution.cells.push_back({cells[i], cells[i + 1]});
        QVERIFY(saveDocument(file, read.document, nullptr));
        auto reopened = shownForm();
        reopened->LoadOptionsFile(file);
        const SolutionWord &shown = reopened->settings().solution;
        if (chosenAnew) {
            QCOMPARE(shown.cells.size(), std::size_t(3));
            QVERIFY(cellsHoldTheirLetters(*reopened));
        } else {
            QVERIFY(shown.cells == read.document.settings.solution.cells);
        }
    }

    // A document saved with the solution shown says so when it is opened, and one click hides it.
    void openedSolutionIsPointedOut() {
        auto form = formWithPuzzle();
        control<QCheckBox>(*form, "LosungEinCheck")->setChecked(true);
        const QString file = dir.filePath(QStringLiteral("mit-loesung.wbx"));
        form->SaveOptionsFile(file);
        auto reopened = shownForm();
        reopened->LoadOptionsFile(file);
        QVERIFY(notices(*reopened)->hasNotice(QStringLiteral("solutionShown")));
        QVERIFY(notices(*reopened)
                    ->noticeText(QStringLiteral("solutionShown"))
                    .contains(QStringLiteral("Drucken")));
        notices(*reopened)->actionButton(QStringLiteral("solutionShown"))->click();
        QVERIFY(!control<QCheckBox>(*reopened, "LosungEinCheck")->isChecked());
        QVERIFY(!notices(*reopened)->hasNotice(QStringLiteral("solutionShown")));
    }
};

QTEST_MAIN(TestSolutionWindow)
#include "tst_solutionwindow.moc"
