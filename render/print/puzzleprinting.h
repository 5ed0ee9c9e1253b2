#pragma once

#include "puzzlemodel.h"
#include "puzzlesettings.h"

#include <QString>

#include <functional>
#include <vector>

class QPageLayout;
class QPainter;
class QPrinter;

// The name under which a print job of the puzzle is listed in the printer's queue.
inline const QString printJobTitle = QStringLiteral("Wabrixr\u00e4tsel");

// Draws one printed page; the painter's origin is the top-left corner of the printable area and its
// device has the printer's resolution.
using PageDrawing = std::function<void(QPainter &)>;

// Which pages a print or PDF holds: the puzzle as the settings show it (one page, as "Drucken..."),
// the solution page alone, or both: the puzzle without letters, then the solution page.
enum class PrintPages { Puzzle, Solution, Both };

// The settings of the solution page: the letters shown and the title followed by " – Lösung".
PuzzleSettings solutionPageSettings(const PuzzleSettings &settings);
// The settings of each page in the job, in page order.
std::vector<PuzzleSettings> pageSettings(const PuzzleSettings &settings, PrintPages pages);

// Runs a print job of the given pages on printer, as printPage runs one: each drawing draws its page
// in order, a new page begun between them.
bool printPages(QPrinter &printer, const std::vector<PageDrawing> &drawPages, QString *error = nullptr);

// Runs a print job of exactly one page on printer: sets the job title, opens the job, lets drawPage
// draw the page and ends the job, which hands it to the print system. When the job cannot be opened,
// or drawPage throws, the job is aborted where the printer allows it, and ended otherwise, so that
// the printer is never left busy; false then, with the reason in German in *error. A job for a real
// printer is refused before anything is sent when its queue takes no jobs or the folder in which the
// job is written first has no room for it, and fails when the print system refuses it.
bool printPage(QPrinter &printer, const PageDrawing &drawPage, QString *error = nullptr);

// After a job was handed over: a German notice when the printer's queue holds it instead of printing
// (a stopped queue); empty otherwise.
QString printQueueNotice(const QPrinter &printer);

// Prints the puzzle on one page of printer, which should be made with QPrinter::HighResolution:
// a printer target at the printer's resolution and the settings' zoom, from the top-left corner of the
// printable area; nothing is scaled to fit the page.
bool printPuzzle(QPrinter &printer, const PuzzleModel &model, const PuzzleSettings &settings,
                 QString *error = nullptr);
// Prints the chosen pages in one job, each as printPuzzle prints its page.
bool printPuzzle(QPrinter &printer, const PuzzleModel &model, const PuzzleSettings &settings,
                 PrintPages pages, QString *error = nullptr);

// The pages that printPuzzle puts on paper as a PDF document: the same drawings on PDF pages with the
// given page layout (paper, orientation, printable margins; A4 with margins of 10 points when invalid)
// and resolution (1200 pixels per inch when not positive), titled with printJobTitle. Empty, with the
// reason in German in *error, when it cannot be drawn.
QByteArray puzzlePdf(const QPageLayout &layout, int resolution, const PuzzleModel &model,
                     const PuzzleSettings &settings, QString *error = nullptr,
                     PrintPages pages = PrintPages::Puzzle);

// Writes puzzlePdf as a file through a SafeFile: an existing file is replaced only once all pages
// were written, a device or pipe gets the whole document; false with the German message in *error.
bool writePuzzlePdf(const QString &fileName, const QPageLayout &layout, int resolution,
                    const PuzzleModel &model, const PuzzleSettings &settings, QString *error = nullptr,
                    PrintPages pages = PrintPages::Puzzle);
