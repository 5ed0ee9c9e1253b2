#include "puzzleprinting.h"

#include "printqueue.h"
#include "renderer.h"

#include "safefile.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <sys/statvfs.h>

#include <exception>
#include <functional>
#include <new>
#include <stdexcept>

namespace {

// The resolution of a PDF page when none is given: that of a QPrinter made with HighResolution.
constexpr int pdfResolution = 1200;

bool failWith(QString *error, const QString &message) {
    if (error)
        *error = message;
    return false;
}

// Runs draw; the reason in German when it threw, empty when it drew.
QString drawingFailure(const std::function<void()> &draw) {
    try {
        draw();
    } catch (const std::bad_alloc &) {
        return QStringLiteral("zu wenig Arbeitsspeicher");
    } catch (const std::exception &failure) {
        const QString reason = QString::fromUtf8(failure.what());
        return reason.isEmpty() ? QStringLiteral("unbekannter Fehler") : reason;
    } catch (...) {
        return QStringLiteral("unbekannter Fehler");
    }
    return {};
}

// Draws the pages on the painter's device in order, beginning a new page between them with newPage.
template <typename NewPage>
void drawPagesOn(QPainter &painter, const std::vector<PageDrawing> &drawPages, NewPage newPage) {
    for (std::size_t page = 0; page < drawPages.size(); ++page) {
        if (page > 0 && !newPage())
            throw std::runtime_error("keine neue Seite");
        drawPages[page](painter);
    }
}

// Why the pages cannot be handed to the print system: the print system's library writes the job into
// its folder first and does not notice when that folder is full, so that an empty or cut job would
// go out. The pages are drawn into memory once to learn their size. Empty when there is room.
QString spoolSpaceProblem(const QPrinter &printer, const std::vector<PageDrawing> &drawPages) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(printer.resolution());
        pdf.setPageLayout(printer.pageLayout());
        QPainter painter;
        if (!painter.begin(&pdf) || !drawingFailure([&] {
                                         drawPagesOn(painter, drawPages, [&] { return pdf.newPage(); });
                                     }).isEmpty())
            return {}; // the print job itself will say what is wrong
    }
    // Room for the page and the little that the print system adds to it.
    constexpr qint64 spoolReserve = 16 * 1024;
    const QString folder = spoolFolder();
    struct statvfs space {};
    if (::statvfs(QFile::encodeName(folder).constData(), &space) != 0)
        return {};
    const qint64 available = static_cast<qint64>(space.f_bavail) * static_cast<qint64>(space.f_frsize);
    if (available >= buffer.size() + spoolReserve)
        return {};
    return QStringLiteral("Im Ordner für temporäre Dateien „%1“ ist kein Platz für den Druckauftrag (%L2 KB "
                          "nötig, %L3 KB frei); es wurde nichts gedruckt.")
        .arg(folder)
        .arg((buffer.size() + spoolReserve) / 1024)
        .arg(available / 1024);
}

// How the printer is called in a message.
QString printerLabel(const QPrinter &printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printer.outputFileName().isEmpty()
                   ? QStringLiteral("PDF")
                   : QStringLiteral("PDF-Datei „%1“").arg(printer.outputFileName());
    return QStringLiteral("Drucker „%1“").arg(printer.printerName());
}

} // namespace

PuzzleSettings solutionPageSettings(const PuzzleSettings &settings) {
    PuzzleSettings solution = settings;
    solution.showSolution = true;
    solution.title += u" \u2013 L\u00f6sung";
    return solution;
}

std::vector<PuzzleSettings> pageSettings(const PuzzleSettings &settings, PrintPages pages) {
    switch (pages) {
    case PrintPages::Puzzle:
        return {settings};
    case PrintPages::Solution:
        return {solutionPageSettings(settings)};
    case PrintPages::Both:
        break;
    }
    PuzzleSettings puzzle = settings;
    puzzle.showSolution = false;
    return {puzzle, solutionPageSettings(settings)};
}

bool printPage(QPrinter &printer, const PageDrawing &drawPage, QString *error) {
    return printPages(printer, {drawPage}, error);
}

bool printPages(QPrinter &printer, const std::vector<PageDrawing> &drawPages, QString *error) {
    printer.setDocName(printJobTitle);
    // A job for the print system, not a PDF file or the preview's pages: Qt hands it over without
    // asking whether it was taken, so the queue is asked before and the answer looked at after.
    const bool spooled = printer.outputFormat() == QPrinter::NativeFormat && printer.paintEngine() &&
                         printer.paintEngine()->type() != QPaintEngine::Picture;
    if (spooled) {
        const PrintQueueState queue = printQueueState(printer.printerName());
        if (queue.known && !queue.accepting)
            return failWith(error, QStringLiteral("Der Drucker „%1“ nimmt keine Aufträge an; es wurde nichts "
                                                  "gedruckt.")
                                       .arg(printer.printerName()));
        const QString space = spoolSpaceProblem(printer, drawPages);
        if (!space.isEmpty())
            return failWith(error, space);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return failWith(error, QStringLiteral("Der Druckauftrag für %1 konnte nicht begonnen werden.")
                                   .arg(printerLabel(printer)));
    const QString reason =
        drawingFailure([&] { drawPagesOn(painter, drawPages, [&] { return printer.newPage(); }); });
    if (!reason.isEmpty()) {
        // Qt's PDF and CUPS print engines cannot abort a job: they spool the page and hand it over when
        // the painter ends. The job is ended all the same, so that the printer can be used again, and the
        // message says what that means.
        const bool aborted = printer.abort();
        painter.end();
        return failWith(error, aborted
                                   ? QStringLiteral("Das Rätsel konnte nicht gedruckt werden (%1). Der "
                                                    "Druckauftrag wurde abgebrochen.")
                                         .arg(reason)
                                   : QStringLiteral("Das Rätsel konnte nicht gedruckt werden (%1). Der "
                                                    "Druckauftrag ließ sich nicht abbrechen; die Seite ist "
                                                    "unvollständig.")
                                         .arg(reason));
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return failWith(error, QStringLiteral("Der Druckauftrag für %1 konnte nicht abgeschlossen werden.")
                                   .arg(printerLabel(printer)));
    if (spooled) {
        const QString refused = submissionProblem();
        if (!refused.isEmpty())
            return failWith(error, QStringLiteral("Der Drucker „%1“ hat den Auftrag nicht angenommen: %2.")
                                       .arg(printer.printerName(), refused));
    }
    return true;
}

QString printQueueNotice(const QPrinter &printer) {
    if (printer.outputFormat() != QPrinter::NativeFormat)
        return {};
    if (!printQueueState(printer.printerName()).stopped)
        return {};
    return QStringLiteral("Der Drucker „%1“ ist angehalten; der Auftrag wartet in seiner Warteschlange, bis "
                          "der Drucker wieder freigegeben wird.")
        .arg(printer.printerName());
}

namespace {

// One drawing a page, each drawing the puzzle with its page's settings on a printer target.
std::vector<PageDrawing> puzzlePages(const PuzzleModel &model, const PuzzleSettings &settings,
                                     PrintPages pages) {
    std::vector<PageDrawing> drawings;
    for (const PuzzleSettings &page : pageSettings(settings, pages))
        drawings.push_back([&model, page](QPainter &painter) {
            drawPuzzle(painter, model, page, RenderTarget::printerPage());
        });
    return drawings;
}

} // namespace

bool printPuzzle(QPrinter &printer, const PuzzleModel &model, const PuzzleSettings &settings,
                 QString *error) {
    return printPuzzle(printer, model, settings, PrintPages::Puzzle, error);
}

bool printPuzzle(QPrinter &printer, const PuzzleModel &model, const PuzzleSettings &settings,
                 PrintPages pages, QString *error) {
    return printPages(printer, puzzlePages(model, settings, pages), error);
}

QByteArray puzzlePdf(const QPageLayout &layout, int resolution, const PuzzleModel &model,
                     const PuzzleSettings &settings, QString *error, PrintPages pages) {
    // Written in memory: no temporary file or folder that a full or missing temporary folder could
    // spoil, and a file, device or pipe gets the whole page or nothing.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString reason;
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(printJobTitle);
        pdf.setCreator(QString());
        pdf.setResolution(resolution > 0 ? resolution : pdfResolution);
        pdf.setPageLayout(layout.isValid() ? layout
                                           : QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                                         QMarginsF(10, 10, 10, 10), QPageLayout::Point));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            failWith(error, QStringLiteral("Die PDF-Seite konnte nicht begonnen werden."));
            return {};
        }
        reason = drawingFailure([&] {
            drawPagesOn(painter, puzzlePages(model, settings, pages), [&] { return pdf.newPage(); });
        });
        painter.end();
    }
    if (!reason.isEmpty()) {
        failWith(error, QStringLiteral("Die PDF-Seite konnte nicht gezeichnet werden (%1).").arg(reason));
        return {};
    }
    return buffer.data();
}

bool writePuzzlePdf(const QString &fileName, const QPageLayout &layout, int resolution,
                    const PuzzleModel &model, const PuzzleSettings &settings, QString *error,
                    PrintPages pages) {
    const QByteArray pdf = puzzlePdf(layout, resolution, model, settings, error, pages);
    return !pdf.isEmpty() && saveFileContents(fileName, pdf, error);
}
