#include "datarow.h"
#include "documentbuffer.h"
#include "formhelpers.h"
#include "generationrunner.h"
#include "gridtext.h"
#include "jobpagefit.h"
#include "layoutchoice.h"
#include "mainform.h"
#include "modalanswers.h"
#include "numericspinedit.h"
#include "pagefit.h"
#include "puzzlechecker.h"
#include "statusnotices.h"
#include "testfiles.h"
#include "windowdocument.h"
#include "wordgrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QtTest>

namespace {

// Generations of the default effort may take seconds on a busy machine.
constexpr int generationTimeout = 180000;

void loadWords(TMainForm &form, const char *exampleFile) {
    table(form).setWordRows(readExampleList(exampleFile));
}

bool generateAndWaitLong(TMainForm &form) {
    form.Button1Click();
    return QTest::qWaitFor([&] { return !form.generation().isRunning(); }, generationTimeout) &&
           QTest::qWaitFor([&] { return viewSettled(form); });
}

QComboBox &arrangementBox(TMainForm &form) {
    return *control<QComboBox>(form, "AnordnungBox");
}
QComboBox &frameBox(TMainForm &form) {
    return *control<QComboBox>(form, "RahmenBox");
}
QSpinBox &columnsField(TMainForm &form) {
    return *control<QSpinBox>(form, "RahmenBreiteEd");
}
QSpinBox &rowsField(TMainForm &form) {
    return *control<QSpinBox>(form, "RahmenHoeheEd");
}
NumericSpinEdit &zoomEdit(TMainForm &form) {
    return *control<NumericSpinEdit>(form, "ZoomEd");
}
StatusNotices &notices(TMainForm &form) {
    return *control<StatusNotices>(form, "PuzzleNotices");
}

// Chooses "kompakt" and the frame as a user would, in the controls.
void chooseCompact(TMainForm &form, bool cells, int columns = 0, int rows = 0) {
    arrangementBox(form).setCurrentIndex(arrangementBox(form).findText("kompakt"));
    frameBox(form).setCurrentIndex(frameBox(form).findText(cells ? "Felder:" : "Seite"));
    if (cells) {
        columnsField(form).setValue(columns);
        rowsField(form).setValue(rows);
    }
}

// Answers the next message box by clicking the button with the given caption; its text goes to *text,
// which must outlive that moment.
void clickInNextMessageBox(const QString &caption, QString *text) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, caption, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        *text = box->text();
        for (QAbstractButton *button : box->buttons())
            if (button->text() == caption)
                button->click();
        poll->deleteLater();
    });
    poll->start(5);
}

} // namespace

// The window's layout choice on the settings page, the compact generation it starts, and fitting
// the puzzle to the page.
class TestLayoutWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The remembered choice goes to a place of the tests' own.
        QStandardPaths::setTestModeEnabled(true);
    }
    void init() { QSettings(QStringLiteral("wabrix"), QStringLiteral("wabrix")).clear(); }

    void choiceStartsAsBeforeAndOpensTheFrameForCompact() {
        const auto form = shownForm();
        QCOMPARE(arrangementBox(*form).currentText(), QString("wie bisher (1001 Versuche)"));
        QCOMPARE(arrangementBox(*form).count(), 2);
        QCOMPARE(frameBox(*form).currentText(), QString("Seite"));
        QVERIFY(!frameBox(*form).isEnabled() && !columnsField(*form).isEnabled());
        QCOMPARE(form->settings().layout, LayoutSettings());
        chooseCompact(*form, false);
        QVERIFY(frameBox(*form).isEnabled() && !columnsField(*form).isEnabled());
        chooseCompact(*form, true, 30, 40);
        QVERIFY(columnsField(*form).isEnabled() && rowsField(*form).isEnabled());
        const LayoutSettings layout = form->settings().layout;
        QCOMPARE(layout.arrangement, LayoutSettings::Arrangement::Compact);
        QCOMPARE(layout.frame, LayoutSettings::Frame::Cells);
        QCOMPARE(layout.frameColumns, 30);
        QCOMPARE(layout.frameRows, 40);
        // The settings page holds the choice below the numbers, clear of every other control.
        auto *choice = control<LayoutChoice>(*form, "LayoutChoice");
        QVERIFY(choice->isVisibleTo(control<QWidget>(*form, "TabSheet2")));
        for (QWidget *other : control<QWidget>(*form, "TabSheet2")
                                  ->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (other != choice)
                QVERIFY2(!other->geometry().intersects(choice->geometry()), qPrintable(other->objectName()));
    }

    // The last choice is kept for new work; a document's choice shows but is not remembered.
    void lastChoiceIsRememberedForNewWork() {
        {
            const auto form = shownForm();
            chooseCompact(*form, true, 22, 33);
        }
        const auto next = shownForm();
        QCOMPARE(next->settings().layout.arrangement, LayoutSettings::Arrangement::Compact);
        QCOMPARE(next->settings().layout.frameColumns, 22);
        QCOMPARE(next->settings().layout.frameRows, 33);
        PuzzleDocument plain;
        showDocument(*next, plain);
        QCOMPARE(next->settings().layout, LayoutSettings());
        const auto third = shownForm();
        QCOMPARE(third->settings().layout.arrangement, LayoutSettings::Arrangement::Compact);
    }

    // The choice travels with the document: a record only for "kompakt".
    void choiceIsPartOfTheDocument() {
        const auto form = shownForm();
        QVERIFY(!documentToBytes(windowDocument(*form), nullptr).contains("WBXTRAIL"));
        chooseCompact(*form, true, 25, 35);
        const QByteArray bytes = documentToBytes(windowDocument(*form), nullptr);
        QVERIFY(bytes.contains("WBXTRAIL") && bytes.contains("LAYO"));
        const auto reader = shownForm();
        const DocumentReadResult read = readDocumentBytes(bytes);
        QVERIFY(read.ok);
        showDocument(*reader, read.document);
        QCOMPARE(arrangementBox(*reader).currentText(), QString("kompakt"));
        QCOMPARE(frameBox(*reader).currentText(), QString("Felder:"));
        QCOMPARE(columnsField(*reader).value(), 25);
        QCOMPARE(rowsField(*reader).value(), 35);
    }

    void compactGenerationStaysInItsFrame_data() {
        QTest::addColumn<bool>("cells");
        QTest::addColumn<QString>("solutionWord");
        addRow("Felder: 22 x 33", true, QString());
        addRow("Seite", false, QString());
        // The page's frame leaves room for the word's boxes below the grid.
        addRow("Seite with a solution word", false, QString("Sommerferienzeit am Meer").remove(' '));
    }
    void compactGenerationStaysInItsFrame() {
        QFETCH(bool, cells);
        QFETCH(QString, solutionWord);
        const auto form = shownForm();
        loadWords(*form, "woerter-50.txt");
        chooseCompact(*form, cells, 22, 33);
        control<QLineEdit>(*form, "LoesungswortEd")->setText(solutionWord);
        QVERIFY(generateAndWaitLong(*form));
        const std::vector<std::string> problems = checkPuzzle(form->model().grid, answersOf(form->model()));
        QVERIFY2(problems.empty(), problems.empty() ? "" : problems.front().c_str());
        const GridExtent extent = usedExtent(form->model().grid);
        const CellCount page = pageCellFrame(form->settings(), QPrinterQuery(form->printer()).currentPage());
        QVERIFY(extent.columns <= (cells ? 22 : page.columns) && extent.rows <= (cells ? 33 : page.rows));
        QVERIFY(countClueCells(form->model().grid) >= 20);
        QCOMPARE(form->settings().solution.cells.size(), std::size_t(solutionWord.size()));
        if (!cells) { // the page holds it at the window's zoom, boxes and all: nothing to fit
            QVERIFY(!notices(*form).hasNotice("pagefit"));
            QVERIFY(puzzleFitsPage(form->model(), form->settings(),
                                   QPrinterQuery(form->printer()).currentPage()));
        }
    }

    // A puzzle larger than the page: the status line says so and fits it in one click.
    void noticeOffersToFitThePage() {
        const auto form = shownForm();
        loadWords(*form, "woerter-100.txt");
        QVERIFY(generateAndWaitLong(*form));
        QVERIFY(notices(*form).hasNotice("pagefit"));
        QVERIFY(notices(*form).noticeText("pagefit").contains("100 %"));
        const std::optional<int> zoom = form->zoomThatFitsPage();
        QVERIFY(zoom && *zoom < 100);
        QVERIFY2(notices(*form).noticeText("pagefit").contains(QStringLiteral("%1 %").arg(*zoom)),
                 qPrintable(notices(*form).noticeText("pagefit")));
        notices(*form).actionButton("pagefit")->click();
        QCOMPARE(zoomEdit(*form).value(), double(*zoom));
        QVERIFY(!notices(*form).hasNotice("pagefit"));
        QVERIFY(
            puzzleFitsPage(form->model(), form->settings(), QPrinterQuery(form->printer()).currentPage()));
        // Zooming in again by hand brings no notice back: it follows generations.
        zoomEdit(*form).setValue(100);
        QVERIFY(!notices(*form).hasNotice("pagefit"));
    }

    // A puzzle of the first layout that the page cuts: the status line offers the compact layout, and
    // one click makes it, every word placed, in a frame that fits the page at a smaller zoom than before.
    void noticeOffersTheCompactLayout() {
        const auto form = shownForm();
        loadWords(*form, "woerter-100.txt");
        QVERIFY(generateAndWaitLong(*form));
        QVERIFY(notices(*form).hasNotice("compact"));
        const std::optional<int> standardZoom = form->zoomThatFitsPage();
        QVERIFY(standardZoom);
        notices(*form).actionButton("compact")->click();
        QVERIFY(QTest::qWaitFor([&] { return !form->generation().isRunning(); }, generationTimeout));
        QVERIFY(QTest::qWaitFor([&] { return viewSettled(*form); }));
        QCOMPARE(arrangementBox(*form).currentText(), QStringLiteral("kompakt"));
        QVERIFY(!notices(*form).hasNotice("compact"));
        const std::vector<std::string> problems = checkPuzzle(form->model().grid, answersOf(form->model()));
        QVERIFY2(problems.empty(), problems.empty() ? "" : problems.front().c_str());
        QCOMPARE(countClueCells(form->model().grid), 100);
        const std::optional<int> compactZoom = form->zoomThatFitsPage();
        QVERIFY(compactZoom);
        QVERIFY2(*compactZoom > *standardZoom + 10,
                 qPrintable(QStringLiteral("%1 %, before %2 %").arg(*compactZoom).arg(*standardZoom)));
    }

    // "An Seite anpassen" stands right of the zoom field; the controls after it moved to make room.
    void fitButtonStandsBesideTheZoom() {
        const auto form = shownForm();
        auto *button = control<QPushButton>(*form, "AnSeiteBtn");
        QVERIFY(button && button->isVisible());
        QCOMPARE(button->text(), QString("An Seite anpassen"));
        QVERIFY(button->x() > zoomEdit(*form).geometry().right());
        for (const char *after :
             {"LosungEinCheck", "BlattRotCheck", "Label7", "caped", "LoesungswortCheck", "LoesungswortEd"})
            QVERIFY2(control<QWidget>(*form, after)->x() > button->geometry().right(), after);
        // The strip ends inside the window, the title and the solution word side by side.
        QWidget *title = control<QWidget>(*form, "caped");
        QWidget *word = control<QWidget>(*form, "LoesungswortEd");
        QVERIFY(title->geometry().right() < control<QWidget>(*form, "LoesungswortCheck")->x());
        QVERIFY(word->geometry().right() < TMainForm::clientWidth);
        loadWords(*form, "woerter-50.txt");
        QVERIFY(generateAndWaitLong(*form));
        button->click();
        QVERIFY(
            puzzleFitsPage(form->model(), form->settings(), QPrinterQuery(form->printer()).currentPage()));
        zoomEdit(*form).setValue(zoomEdit(*form).value() + 1);
        QVERIFY(
            !puzzleFitsPage(form->model(), form->settings(), QPrinterQuery(form->printer()).currentPage()));
    }

    void printingAPuzzleThePageWouldCutAsksFirst_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("prints");
        QTest::addColumn<bool>("fitted");
        addRow("fit and print", QString("An Seite anpassen und drucken"), true, true);
        addRow("print anyway", QString("Trotzdem drucken"), true, false);
        addRow("cancel", QString("Abbrechen"), false, false);
    }
    void printingAPuzzleThePageWouldCutAsksFirst() {
        QFETCH(QString, answer);
        QFETCH(bool, prints);
        QFETCH(bool, fitted);
        const auto form = shownForm();
        loadWords(*form, "woerter-100.txt");
        QVERIFY(generateAndWaitLong(*form));
        QString question;
        clickInNextMessageBox(answer, &question);
        QCOMPARE(form->confirmWholePage(), prints);
        QVERIFY(question.contains("nicht auf die Seite"));
        const bool fits =
            puzzleFitsPage(form->model(), form->settings(), QPrinterQuery(form->printer()).currentPage());
        QCOMPARE(fits, fitted);
        QCOMPARE(zoomEdit(*form).value() < 100, fitted);
        // Once it fits, printing asks nothing.
        if (fitted) {
            ModalAnswers answers;
            QVERIFY(form->confirmWholePage());
            QVERIFY(answers.messages.isEmpty());
        }
    }

    // "Rätsel und Lösung drucken..." asks about every page: with a title that just fits the puzzle
    // page, the solution page's " – Lösung" would be cut; fitting makes both pages fit.
    void printingBothPagesAsksAboutTheSolutionPage() {
        const auto form = shownForm();
        loadWords(*form, "woerter-20.txt");
        QVERIFY(generateAndWaitLong(*form));
        auto *title = control<QLineEdit>(*form, "caped");
        const PrinterPage page = QPrinterQuery(form->printer()).currentPage();
        title->clear();
        form->fitZoomToPage(); // the grid fits, whatever the generation made
        const double zoom = zoomEdit(*form).value();
        while (puzzleFitsPage(form->model(), form->settings(), page))
            title->setText(title->text() + 'W');
        title->setText(title->text().chopped(1));
        QVERIFY(!title->text().isEmpty());
        {
            ModalAnswers answers;
            QVERIFY(form->confirmWholePage(PrintPages::Puzzle));
            QVERIFY(answers.messages.isEmpty());
        }
        QString question;
        clickInNextMessageBox("An Seite anpassen und drucken", &question);
        QVERIFY(form->confirmWholePage(PrintPages::Both));
        QVERIFY(question.contains("nicht auf die Seite"));
        QVERIFY(zoomEdit(*form).value() < zoom);
        QVERIFY(jobFitsPage(form->model(), form->settings(), PrintPages::Both, page));
    }
};

QTEST_MAIN(TestLayoutWindow)
#include "tst_layoutwindow.moc"
