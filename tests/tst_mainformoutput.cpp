#include "formhelpers.h"
#include "generationrunner.h"
#include "gridpicture.h"
#include "mainform.h"
#include "modalanswers.h"
#include "paintbox.h"
#include "renderer.h"
#include "testfiles.h"
#include "wordgrid.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImageReader>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTimer>
#include <QtEndian>
#include <QtTest>

#include <memory>

namespace {

// A shown window with a generated two-word puzzle, drawn.
std::unique_ptr<TMainForm> formWithPuzzle() {
    auto form = shownForm();
    WordGrid &words = table(*form);
    words.setCells(0, 1, QStringLiteral("Stadt"));
    words.setCells(1, 1, QStringLiteral("Haus"));
    words.setCells(0, 2, QStringLiteral("Tier"));
    words.setCells(1, 2, QStringLiteral("Hase"));
    if (!generateAndWait(*form))
        qWarning("generation or drawing not finished");
    return form;
}

// Runs action on the modal dialog of type T that command opens; false when none opened.
template <typename T, typename Action> bool withModal(const std::function<void()> &command, Action action) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(qobject_cast<T *>(QApplication::activeModalWidget()));
        seen = true;
        action(*qobject_cast<T *>(QApplication::activeModalWidget()));
    });
    command();
    return seen;
}

// The column of the first red pixel in row y of the paint box's picture; -1 when none.
int redColumn(PaintBox *box, int width, int y) {
    const QImage picture = box->grab(QRect(0, 0, width, y + 1)).toImage();
    for (int x = 0; x < picture.width(); ++x)
        if (picture.pixel(x, y) == qRgb(255, 0, 0))
            return x;
    return -1;
}

} // namespace

class TestMainFormOutput : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void menuHasThePrintPreviewAfterPrint() {
        TMainForm form;
        QMenu *file = form.findChild<QMenu *>(QStringLiteral("Datei1"));
        QStringList names;
        for (const QAction *action : file->actions())
            names << action->objectName();
        QCOMPARE(names.indexOf(QStringLiteral("Druckvorschau1")),
                 names.indexOf(QStringLiteral("Drucken1")) + 1);
        QCOMPARE(form.findChild<QAction *>(QStringLiteral("Druckvorschau1"))->text(),
                 QStringLiteral("Druckvorschau..."));
    }

    // The bitmap filter comes first and is the default; the default suffix follows the chosen filter.
    void exportDialogFilters_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("pages");
        const int puzzle = int(PrintPages::Puzzle);
        QTest::newRow("bmp") << 0 << "bmp" << int(PictureFormat::Bmp) << puzzle;
        QTest::newRow("png") << 1 << "png" << int(PictureFormat::Png) << puzzle;
        QTest::newRow("svg") << 2 << "svg" << int(PictureFormat::Svg) << puzzle;
        QTest::newRow("pdf") << 3 << "pdf" << int(PictureFormat::Pdf) << puzzle;
        QTest::newRow("pdf of puzzle and solution")
            << 4 << "pdf" << int(PictureFormat::Pdf) << int(PrintPages::Both);
    }
    void exportDialogFilters() {
        QFETCH(int, filter);
        QFETCH(QString, suffix);
        QFETCH(int, format);
        QFETCH(int, pages);
        const QStringList &filters = PictureSaveDialog::filters();
        QCOMPARE(filters.first(), QStringLiteral("Windows Bitmap (*.bmp)"));
        PictureSaveDialog component;
        QFileDialog dialog;
        component.configure(dialog);
        QCOMPARE(dialog.nameFilters(), filters);
        QCOMPARE(dialog.selectedNameFilter(), filters.first());
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("bmp"));
        QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        dialog.selectNameFilter(filters[filter]);
        emit dialog.filterSelected(filters[filter]);
        QCOMPARE(dialog.defaultSuffix(), suffix);
        QCOMPARE(int(PictureSaveDialog::formatOfFilter(filters[filter])), format);
        QCOMPARE(int(PictureSaveDialog::pagesOfFilter(filters[filter])), pages);
    }

    // "Exportieren als Bild..." saves the puzzle sized from the current settings, even when the view
    // has not been painted since a setting changed the picture's size: a 24-bit bitmap by default.
    void exportCommandWritesTheCurrentPicture() {
        auto form = formWithPuzzle();
        PaintBox *box = paintBox(*form);
        form->FontDialog2.Font.pointSize = 30; // a larger title, chosen on the settings page
        const QSize wanted = puzzlePictureSize(form->model(), form->settings(), box->logicalDpiX());
        QVERIFY(wanted != box->size());

        const QString stem = dir.filePath(QStringLiteral("export"));
        QAction *command = form->findChild<QAction *>(QStringLiteral("ExportierenalsBild1"));
        // Saves under stem through the command's dialog, with the filter of the index (-1: the default).
        const auto saveWithFilter = [&](int filter) {
            return withModal<QFileDialog>(
                [&] { command->trigger(); },
                [&](QFileDialog &dialog) {
                    if (filter >= 0) {
                        dialog.selectNameFilter(PictureSaveDialog::filters()[filter]);
                        emit dialog.filterSelected(PictureSaveDialog::filters()[filter]);
                    }
                    dialog.selectFile(stem);
                    static_cast<QDialog &>(dialog).accept();
                });
        };
        QVERIFY(saveWithFilter(-1));
        const QByteArray bmp = fileBytes(stem + QStringLiteral(".bmp"));
        QCOMPARE(QImage::fromData(bmp).size(), wanted);
        QCOMPARE(qFromLittleEndian<quint16>(bmp.constData() + 28), quint16(24));
        QVERIFY(saveWithFilter(1));
        QCOMPARE(QImageReader(stem + QStringLiteral(".png")).format(), QByteArray("png"));
        // The PDF filters: the printed page, or the puzzle and the solution page.
        for (const int filter : {3, 4}) {
            QFile::remove(stem + QStringLiteral(".pdf"));
            QVERIFY(saveWithFilter(filter));
            const QByteArray pdf = fileBytes(stem + QStringLiteral(".pdf"));
            QCOMPARE(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), filter == 4 ? 2 : 1);
        }
    }

    void failedExportIsReported() {
        auto form = formWithPuzzle();
        SeenBox seen;
        closeNextMessageBox(seen);
        QVERIFY(!form->exportPicture(dir.filePath(QStringLiteral("fehlt/bild.png")), PictureFormat::Png));
        QVERIFY(seen.shown);
        QVERIFY2(seen.text.contains(QStringLiteral("kann nicht")), qPrintable(seen.text));
    }

    // Printing after the dialog puts one page under the job title on the current printer.
    void printingUsesTheCurrentPrinter() {
        auto form = formWithPuzzle();
        const QString pdf = dir.filePath(QStringLiteral("druck.pdf"));
        form->printer().setOutputFormat(QPrinter::PdfFormat);
        form->printer().setOutputFileName(pdf);
        QVERIFY(form->printCurrentPuzzle());
        QCOMPARE(form->printer().docName(), QStringLiteral("Wabrixrätsel"));
        const QByteArray bytes = fileBytes(pdf);
        QVERIFY(bytes.startsWith("%PDF-"));
        QCOMPARE(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 1);
    }

    // The printer's setting, as the set-up dialog leaves it, moves the page-end marking of the next
    // paint. The start-up picture, a full grid, is wider than a landscape page.
    void printerSettingMovesThePageEnd() {
        auto form = std::make_unique<TMainForm>();
        form->show();
        PaintBox *box = paintBox(*form);
        QTRY_COMPARE(box->size(), puzzlePictureSize(form->model(), form->settings(), box->logicalDpiX()));
        const int R = box->logicalDpiX();
        auto pageEnd = [&] {
            const QRect area = form->printer().pageRect(QPrinter::DevicePixel).toRect();
            return pageEndPosition({form->printer().resolution(), area.width(), area.height()}, R)->x();
        };
        const int portrait = pageEnd();
        QTRY_COMPARE(redColumn(box, portrait + 10, 2), portrait);
        form->printer().setPageOrientation(QPageLayout::Landscape);
        const int landscape = pageEnd();
        QVERIFY(landscape > portrait && landscape + 10 < box->width());
        form->repaintPuzzle();
        QTRY_COMPARE(redColumn(box, landscape + 10, 2), landscape);
    }

    void setupDialogConfirmsWithOk() {
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dialog(&printer);
        PrinterSetupDialog::configure(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Drucker einrichten"));
        QVERIFY(!dialog.testOption(QAbstractPrintDialog::PrintPageRange));
        QStringList confirms;
        for (QDialogButtonBox *buttons :
             dialog.findChildren<QDialogButtonBox *>(QString(), Qt::FindDirectChildrenOnly))
            if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
                confirms << ok->text();
        QCOMPARE(confirms, QStringList{QStringLiteral("OK")});
    }

    // "Rätsel und Lösung drucken..." puts both pages into one job under the job title.
    void puzzleAndSolutionInOneJob() {
        auto form = formWithPuzzle();
        QAction *command = form->findChild<QAction *>(QStringLiteral("RaetselUndLoesungDrucken1"));
        QVERIFY(command);
        QCOMPARE(command->text(), QStringLiteral("Rätsel und Lösung drucken..."));
        const QString pdf = dir.filePath(QStringLiteral("beide.pdf"));
        form->printer().setOutputFormat(QPrinter::PdfFormat);
        form->printer().setOutputFileName(pdf);
        QVERIFY(form->printCurrentPuzzle(PrintPages::Both));
        QCOMPARE(form->printer().docName(), QStringLiteral("Wabrixrätsel"));
        const QByteArray bytes = fileBytes(pdf);
        QCOMPARE(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 2);
    }

    // The switch in the preview's tool bar adds the solution page; the choice stays for the next preview.
    void previewShowsTheSolutionPageWhenAsked() {
        auto form = formWithPuzzle();
        QList<int> pages;
        for (int run = 0; run < 2; ++run)
            QVERIFY(withModal<QPrintPreviewDialog>(
                [&] { form->Druckvorschau1Click(); },
                [&](QPrintPreviewDialog &preview) {
                    auto *widget = preview.findChild<QPrintPreviewWidget *>();
                    QTRY_VERIFY(widget && widget->pageCount() > 0);
                    pages << widget->pageCount();
                    auto *both = preview.findChild<QAction *>(QStringLiteral("RaetselUndLoesungVorschau"));
                    QVERIFY(both && both->isCheckable());
                    QCOMPARE(both->text(), QStringLiteral("Rätsel und Lösung"));
                    if (run == 0) {
                        both->trigger();
                        QTRY_COMPARE(widget->pageCount(), 2);
                    }
                    preview.reject();
                }));
        QCOMPARE(pages, (QList<int>{1, 2}));
        QVERIFY(form->previewBothPages);
    }

    // The preview shows the one page that printing puts on paper.
    void previewShowsOnePage() {
        auto form = formWithPuzzle();
        int pages = -1;
        QVERIFY(withModal<QPrintPreviewDialog>([&] { form->Druckvorschau1Click(); },
                                               [&](QPrintPreviewDialog &preview) {
                                                   auto *widget = preview.findChild<QPrintPreviewWidget *>();
                                                   QTRY_VERIFY(widget && widget->pageCount() > 0);
                                                   pages = widget->pageCount();
                                                   preview.reject();
                                               }));
        QCOMPARE(pages, 1);
        QCOMPARE(form->printer().docName(), QStringLiteral("Wabrixrätsel"));
    }
    // The preview zoomed to the whole page shows every grid line, also where the line is narrower than
    // a screen pixel at that zoom.
    void previewAtWholePageShowsEveryLine() {
        auto form = shownForm();
        form->model().releaseEntries();
        form->model().AddEntry(u"Stadt", u"HAUS");
        form->model().grid = gridFromPicture({"#HAUS"});
        QImage page;
        QVERIFY(withModal<QPrintPreviewDialog>([&] { form->Druckvorschau1Click(); },
                                               [&](QPrintPreviewDialog &preview) {
                                                   auto *widget = preview.findChild<QPrintPreviewWidget *>();
                                                   QTRY_VERIFY(widget && widget->pageCount() > 0);
                                                   preview.resize(700, 800);
                                                   widget->fitInView();
                                                   QTest::qWait(50);
                                                   page = widget->grab().toImage();
                                                   preview.reject();
                                               }));
        // A line narrower than a pixel comes out grey; the page is white on a grey background.
        const auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 200; };
        QRect paper;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) == 255)
                    paper |= QRect(x, y, 1, 1);
        QVERIFY(paper.width() > 100);
        // The clue cell is the first solid dark block on the paper from the top.
        QRect clue;
        for (int y = paper.top(); y + 5 < paper.bottom() && clue.isNull(); ++y)
            for (int x = paper.left(); x + 5 < paper.right() && clue.isNull(); ++x) {
                bool solid = true;
                for (int dy = 0; dy < 5 && solid; ++dy)
                    for (int dx = 0; dx < 5 && solid; ++dx)
                        solid = dark(x + dx, y + dy);
                if (solid)
                    clue = QRect(x, y, 1, 1);
            }
        QVERIFY(!clue.isNull());
        int right = clue.x(), bottom = clue.y();
        while (dark(right + 1, clue.y() + 2))
            ++right;
        while (dark(clue.x() + 2, bottom + 1))
            ++bottom;
        const int cell = right - clue.x() + 1;
        QVERIFY2(cell > 10 && cell < 60, qPrintable(QString::number(cell)));
        // Counts the dark runs from (x, y) on, n pixels along the given direction.
        const auto runs = [&](int x, int y, int dx, int dy, int n) {
            int count = 0;
            bool inside = false;
            for (int i = 0; i < n; ++i) {
                const bool d = dark(x + i * dx, y + i * dy);
                count += d && !inside;
                inside = d;
            }
            return count;
        };
        const int middle = (clue.y() + bottom) / 2;
        // Right of the clue cell and its arrow: the borders between the four letters and the last
        // one's right edge.
        QCOMPARE(runs(right + cell / 3, middle, 1, 0, 4 * cell), 4);
        // Through each letter: its top and bottom edge.
        for (int letter = 0; letter < 4; ++letter)
            QCOMPARE(runs(right + letter * cell + cell / 2, clue.y() - cell / 2, 0, 1, 2 * cell), 2);
    }
};

QTEST_MAIN(TestMainFormOutput)
#include "tst_mainformoutput.moc"
