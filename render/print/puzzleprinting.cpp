#include "puzzleprinting.h"

#include "renderer.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QTemporaryDir>

#include <exception>
#include <new>
#include <stdexcept>

namespace {

bool failWith(QString *error, const QString &message) {
    if (error)
        *error = message;
    return false;
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
    QPainter painter;
    if (!painter.begin(&printer))
        return failWith(error, QStringLiteral("Der Druckauftrag für %1 konnte nicht begonnen werden.")
                                   .arg(printerLabel(printer)));
    QString reason;
    try {
        for (std::size_t page = 0; page < drawPages.size(); ++page) {
            if (page > 0 && !printer.newPage())
                throw std::runtime_error("neue Seite nicht möglich");
            drawPages[page](painter);
        }
    } catch (const std::bad_alloc &) {
        reason = QStringLiteral("zu wenig Arbeitsspeicher");
    } catch (const std::exception &failure) {
        reason = QString::fromUtf8(failure.what());
        if (reason.isEmpty())
            reason = QStringLiteral("unbekannter Fehler");
    } catch (...) {
        reason = QStringLiteral("unbekannter Fehler");
    }
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
    return true;
}

bool printPuzzle(QPrinter &printer, const PuzzleModel &model, const PuzzleSettings &settings,
                 QString *error) {
    return printPuzzle(printer, model, settings, PrintPages::Puzzle, error);
}

bool printPuzzle(QPrinter &printer, const PuzzleModel &model, const PuzzleSettings &settings,
                 PrintPages pages, QString *error) {
    std::vector<PageDrawing> drawings;
    for (const PuzzleSettings &page : pageSettings(settings, pages))
        drawings.push_back([&model, page](QPainter &painter) {
            drawPuzzle(painter, model, page, RenderTarget::printerPage());
        });
    return printPages(printer, drawings, error);
}

bool writePuzzlePdf(const QString &fileName, const QPageLayout &layout, int resolution,
                    const PuzzleModel &model, const PuzzleSettings &settings, QString *error,
                    PrintPages pages) {
    // The PDF printer writes its file as it goes; it writes into a private directory first, so that a
    // failure leaves an existing file of that name as it was.
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        return failWith(
            error,
            QStringLiteral("Es kann keine temporäre Datei angelegt werden: %1").arg(scratch.errorString()));
    const QString draft = scratch.filePath(QStringLiteral("seite.pdf"));
    {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(draft);
        if (resolution > 0)
            pdf.setResolution(resolution);
        if (layout.isValid())
            pdf.setPageLayout(layout);
        if (!printPuzzle(pdf, model, settings, pages, error))
            return false;
    }
    QFile page(draft);
    if (!page.open(QIODevice::ReadOnly))
        return failWith(
            error, QStringLiteral("Die PDF-Datei kann nicht gelesen werden: %1").arg(page.errorString()));
    const QByteArray bytes = page.readAll();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return failWith(error, QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                                   .arg(fileName, file.errorString()));
    return true;
}
