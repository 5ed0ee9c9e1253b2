#include "clueoverflownotice.h"
#include "datarow.h"
#include "documentbytes.h"
#include "documentfile.h"
#include "formhelpers.h"
#include "mainform.h"
#include "numericspinedit.h"
#include "statusnotices.h"
#include "testfiles.h"
#include "windowdocument.h"
#include "wordgrid.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const std::u16string tooLong = u"Donaudampfschifffahrtsgesellschaftskapitänsmütze";

// A puzzle of four clue cells in the window, straight from its word rows: row 1 fits, row 2 has no
// answer and makes no entry, rows 3 and 5 are too long for a 10 mm cell, row 4 is too long without
// fitting and fits with it.
void fourClues(TMainForm &form) {
    control<WordGrid>(form, "StringGrid1")
        ->setWordRows({{u"Ei", u"EI"},
                       {u"ohne Antwort", u""},
                       {tooLong, u"KAPITAEN"},
                       {u"Hauptstadt von Frankreich", u"PARIS"},
                       {tooLong + u" am See", u"MUETZE"}});
    PuzzleModel &model = form.model();
    model.releaseEntries();
    model.grid.fill(cellFree);
    const std::u16string clues[] = {u"Ei", tooLong, u"Hauptstadt von Frankreich", tooLong + u" am See"};
    for (std::uint32_t i = 0; i < 4; ++i) {
        model.AddEntry(clues[i], u"A");
        model.grid[cellIndex(0, 2 * static_cast<int>(i))] = clueCellValue(i, false);
    }
}

// Lets the window check its clues, as it does in the event loop's next turn after a change.
void settle() {
    QCoreApplication::processEvents();
}

StatusNotices &notices(TMainForm &form) {
    return *control<StatusNotices>(form, "PuzzleNotices");
}

// The rows whose two cells carry the mark of a clue that does not fit, as the table shows them.
std::vector<int> rowsShownAsOverflowing(TMainForm &form) {
    WordGrid &grid = table(form);
    std::vector<int> rows;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const QTableWidgetItem *clue = grid.item(row - 1, 0), *answer = grid.item(row - 1, 1);
        if (clue && answer && clue->toolTip() == ClueOverflowNotice::rowToolTip &&
            answer->toolTip() == ClueOverflowNotice::rowToolTip && clue->background().style() != Qt::NoBrush)
            rows.push_back(row);
    }
    return rows;
}

} // namespace

class TestClueFitWindow : public QObject {
    Q_OBJECT

private slots:
    void switchAndSmallestFontAreSettings() {
        TMainForm form;
        QCOMPARE(form.settings().fitClues, false);
        QCOMPARE(form.settings().minClueFontSize, 5.0);
        PuzzleSettings settings = form.settings();
        settings.fitClues = true;
        settings.minClueFontSize = 7;
        form.setSettings(settings);
        QVERIFY(control<QCheckBox>(form, "FragenEinpassenCheck")->isChecked());
        QCOMPARE(control<NumericSpinEdit>(form, "KleinsteSchriftEd")->value(), 7.0);
        QCOMPARE(form.settings().fitClues, true);
        QCOMPARE(form.settings().minClueFontSize, 7.0);
        // The field keeps whole points from 1 to 72.
        settings.minClueFontSize = 0.2;
        form.setSettings(settings);
        QCOMPARE(form.settings().minClueFontSize, 1.0);
        settings.minClueFontSize = 300;
        form.setSettings(settings);
        QCOMPARE(form.settings().minClueFontSize, 72.0);
    }

    // Without fitting, the status line counts the clues that do not fit, marks their rows and offers
    // the switch; one click turns it on, after which only the clues that still do not fit are left.
    void overflowIsShownAndFittingOfferedInOneClick() {
        auto form = shownForm();
        fourClues(*form);
        form->setSettings(form->settings());
        settle();
        QCOMPARE(notices(*form).noticeText(ClueOverflowNotice::noticeKey),
                 QStringLiteral("3 Fragen passen nicht in ihr Feld."));
        QCOMPARE(rowsShownAsOverflowing(*form), (std::vector<int>{3, 4, 5}));
        QPushButton *offer = notices(*form).actionButton(ClueOverflowNotice::noticeKey);
        QVERIFY(offer);
        QCOMPARE(offer->text(), QStringLiteral("Fragen einpassen"));

        offer->click();
        settle();
        QVERIFY(control<QCheckBox>(*form, "FragenEinpassenCheck")->isChecked());
        QVERIFY(form->settings().fitClues);
        QCOMPARE(
            notices(*form).noticeText(ClueOverflowNotice::noticeKey),
            QStringLiteral("2 Fragen passen auch eingepasst nicht in ihr Feld: breitere Felder oder eine "
                           "kleinere kleinste Schrift helfen."));
        QCOMPARE(rowsShownAsOverflowing(*form), (std::vector<int>{3, 5}));

        // Still too long: the button leads to the settings, where wider cells make room.
        notices(*form).actionButton(ClueOverflowNotice::noticeKey)->click();
        QCOMPARE(control<QTabWidget>(*form, "PageControl1")->currentWidget(),
                 control<QWidget>(*form, "TabSheet2"));
        control<NumericSpinEdit>(*form, "FeldBreitEd")->setValue(30);
        settle();
        QVERIFY(!notices(*form).hasNotice(ClueOverflowNotice::noticeKey));
        QVERIFY(rowsShownAsOverflowing(*form).empty());
    }

    // A row edited after the puzzle was made is not marked for the clue it held; the count still
    // counts the clue.
    void editedRowsAreNotMarked() {
        TMainForm form;
        fourClues(form);
        control<WordGrid>(form, "StringGrid1")->setCells(0, 3, QStringLiteral("neu geschrieben"));
        form.setSettings(form.settings());
        settle();
        QCOMPARE(form.clueOverflow().overflowingClues(), 3);
        QCOMPARE(rowsShownAsOverflowing(form), (std::vector<int>{4, 5}));
    }

    // The switch and the smallest font are saved with the document and come back when it is opened.
    void documentsKeepTheSwitch() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("eingepasst.wbx"));
        {
            TMainForm form;
            fourClues(form);
            control<QCheckBox>(form, "FragenEinpassenCheck")->setChecked(true);
            control<NumericSpinEdit>(form, "KleinsteSchriftEd")->setValue(6);
            form.SaveOptionsFile(path);
        }
        const DocumentReadResult read = loadDocument(path);
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(read.document.settings.fitClues);
        QCOMPARE(read.document.settings.minClueFontSize, 6.0);

        TMainForm opened;
        opened.LoadOptionsFile(path);
        settle();
        QVERIFY(control<QCheckBox>(opened, "FragenEinpassenCheck")->isChecked());
        QCOMPARE(control<NumericSpinEdit>(opened, "KleinsteSchriftEd")->value(), 6.0);
        // The check after opening measured with the document's switch.
        QVERIFY(notices(opened).noticeText(ClueOverflowNotice::noticeKey).contains("auch eingepasst"));
    }

    // After a generation from the hundred example words the status line says how many clues do not fit.
    void generationIsChecked() {
        auto form = shownForm();
        std::vector<std::pair<std::u16string, std::u16string>> rows;
        for (const VectorWordTable::Row &row : readExampleList(QStringLiteral("woerter-100.txt")))
            rows.push_back(row);
        control<WordGrid>(*form, "StringGrid1")->setWordRows(rows);
        QVERIFY(generateAndWait(*form));
        settle();
        QVERIFY(form->clueOverflow().overflowingClues() > 0);
        QVERIFY(notices(*form).noticeText(ClueOverflowNotice::noticeKey).endsWith(" nicht in ihr Feld."));
        QCOMPARE(int(form->clueOverflow().markedRows().size()), form->clueOverflow().overflowingClues());
    }
};

QTEST_MAIN(TestClueFitWindow)
#include "tst_cluefitwindow.moc"
