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

// Runs a print job of the given pages on printer: sets the job title, opens the job, lets each
// drawing draw its page in order, starting a new page between them, and ends the job. The same
// failure handling as printPage.
bool printPages(QPrinter &printer, const std::vector<PageDrawing> &drawPages, QString *error = nullptr);

// Runs a print job of exactly one page on printer: sets the job title, opens the job, lets drawPage
// draw the page and ends the job, which hands it to the print system. When the job cannot be opened,
// or drawPage throws, the job is aborted where the printer allows it, and ended otherwise, so that
// the printer is never left busy; false then, with the reason in German in *error.
bool printPage(QPrinter &printer, const PageDrawing &drawPage, QString *error = nullptr);

// Prints the puzzle on one page of printer, which should be made with QPrinter::HighResolution:
// a printer target at the printer's resolution and the settings' zoom, from the top-left corner of the
// printable area; nothing is scaled to fit the page.
bool printPuzzle(QPrinter &printer, const PuzzleModel &model, const PuzzleSettings &settings,
                 QString *error = nullptr);
// Prints the chosen pages in one job, each as printPuzzle prints its page.
bool printPuzzle(QPrinter &printer, const PuzzleModel &model, const PuzzleSettings &settings,
                 PrintPages pages, QString *error = nullptr);

// Writes the pages that printPuzzle puts on paper as a PDF file: the same drawing on a PDF printer
// with the given page layout (paper, orientation, printable margins) and resolution.
// An existing file is replaced only once the whole page was written; false with the reason in
// German in *error otherwise.
bool writePuzzlePdf(const QString &fileName, const QPageLayout &layout, int resolution,
                    const PuzzleModel &model, const PuzzleSettings &settings, QString *error = nullptr,
                    PrintPages pages = PrintPages::Puzzle);
