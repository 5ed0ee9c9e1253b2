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

bool printPage(QPrinter &printer, const PageDrawing &drawPage, QString *error) {
    printer.setDocName(printJobTitle);
    QPainter painter;
    if (!painter.begin(&printer))
        return failWith(error, QStringLiteral("Der Druckauftrag für %1 konnte nicht begonnen werden.")
                                   .arg(printerLabel(printer)));
    QString reason;
    try {
        drawPage(painter);
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
    return printPage(
        printer, [&](QPainter &page) { drawPuzzle(page, model, settings, RenderTarget::printerPage()); },
        error);
}

bool writePuzzlePdf(const QString &fileName, const QPageLayout &layout, int resolution,
                    const PuzzleModel &model, const PuzzleSettings &settings, QString *error) {
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
        if (!printPuzzle(pdf, model, settings, error))
            return false;
    }
    QFile page(draft);
    if (!page.open(QIODevice::ReadOnly))
        return failWith(
            error, QStringLiteral("Die PDF-Seite kann nicht gelesen werden: %1").arg(page.errorString()));
    const QByteArray bytes = page.readAll();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return failWith(error, QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                                   .arg(fileName, file.errorString()));
    return true;
}
