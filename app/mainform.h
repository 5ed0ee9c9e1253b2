#pragma once

#include "documenttrailer.h"
#include "filedialog.h"
#include "fontchoicedialog.h"
#include "generatorstore.h"
#include "picturesavedialog.h"
#include "printdialogs.h"
#include "puzzlemodel.h"
#include "puzzlesettings.h"
#include "qprinterquery.h"
#include "randomgenerator.h"
#include "wordtable.h"

#include <QMainWindow>
#include <QPrinter>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>

namespace Ui {
class TMainForm;
}
class DocumentState;
class GenerationProgress;
class NumericSpinEdit;
class GenerationRunner;
class LayoutChoice;
class QPushButton;
struct GenerationResult;
class PuzzleView;
class SolutionWordField;
class TAboutBox;
class ClueOverflowNotice;
class QTimer;
class WindowMemory;

// The main window: the toolbar with the generate button and the display switches, the word table and
// the puzzle view on the first page, the millimetre settings and the font buttons on the second, and
// the menu. It owns the puzzle (entries and grid), the generator's store, the random
// generator, the two fonts and the file dialogs. The settings live in the controls themselves.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // The size of the client area below the menu bar, in pixels at 96 dots per inch.
    static constexpr int clientWidth = 950;
    static constexpr int clientHeight = 534;

    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // The settings as the controls hold them now: zoom, the five lengths, the three switches, the
    // title, the two fonts, "Fragen einpassen" and the smallest clue font.
    PuzzleSettings settings() const;
    // Puts settings into the controls; each control raises its change as an edit would, and the
    // numeric fields clamp and round what they are given.
    void setSettings(const PuzzleSettings &settings);

    // Says in the status line that the solution is shown, with a button that hides it: an opened
    // document may have been saved that way, and would print its letters.
    void warnSolutionShown();

    // Draws the puzzle in the view at once (the direct call of the view's paint handler).
    void repaintPuzzle();

    // Saves the window's whole working state as a puzzle document to fname; changes nothing in it
    // but the entry list's cursor. An existing file is replaced only when everything was written;
    // a failure leaves it as it was and shows a message that names the file and the reason. After
    // a save the window holds the document fname, unchanged. True when the document was saved.
    bool SaveOptionsFile(const QString &fname);
    // Opens the puzzle document fname: reads and checks all of it first, then takes table, title,
    // switches, numbers, fonts, grid and entries over, shows the table's first row and repaints. A
    // file that cannot be read or is no valid document changes nothing and shows a message that names
    // the file and the reason; one that reads as a word list is offered for import instead. True when
    // the document was opened.
    bool LoadOptionsFile(const QString &fname);

    // Which document the window holds and whether it has unsaved changes.
    DocumentState &document() { return *document_; }
    // With unsaved changes, asks whether to save them (Speichern, Verwerfen, Abbrechen) and saves when
    // told to. True when the work may go: nothing was changed, the changes were saved, or the user
    // chose to discard them; false after Abbrechen and after a save that was cancelled or failed.
    bool maySaveChanges();
    // Replaces the word rows by those of a word list file (tab-separated, or CSV for ".csv") as one
    // undoable step; rows that could not be read stay empty and are named in a message, as are rows
    // past the table's 999. A file that cannot be read changes nothing and is reported. True when
    // rows were taken.
    bool importWordList(const QString &path);
    // Writes the word rows up to the last one with text to a word list file; a failure is reported.
    bool exportWordList(const QString &path);
    // Remembers the window's size, position, divider and columns and the recent documents in memory
    // from now on, and takes what it holds; without it, nothing is kept between runs.
    void setMemory(WindowMemory *memory);
    // The documents opened or saved last, newest first.
    const QStringList &recentFiles() const { return recentFiles_; }
    void setRecentFiles(const QStringList &files);
    // Places the window where it was left instead of centring it on the screen.
    void placeAt(const QByteArray &geometry);

    PuzzleModel &model() { return model_; }
    // The notice and word-table marks of clues that do not fit their cells; brought up to date in the
    // event loop's next turn after a change.
    ClueOverflowNotice &clueOverflow() { return *clueOverflow_; }
    // Trailer records of the opened document that this program does not know; saved back with it.
    std::vector<TrailerRecord> &keptExtensions() { return keptExtensions_; }
    GeneratorStore &store() { return store_; }
    PuzzleView &view() { return *view_; }
    // The solution word on the toolbar with its chosen cells.
    SolutionWordField &solutionWord() { return *solutionWord_; }
    // Where "Erzeuge Rätsel" generates: off the window's thread, one generation at a time.
    GenerationRunner &generation() { return *generation_; }
    QPrinter &printer() { return printer_; }
    Ui::TMainForm &controls() { return *ui; }

    FontChoiceDialog FontDialog1{FontDescription::defaultClueFont()};
    FontChoiceDialog FontDialog2{FontDescription::defaultTitleFont()};
    FileDialog OpenDialog1{FileDialog::Open, QStringLiteral("Wabrixrätsel (*.wbx)"), QStringLiteral("wbx")};
    FileDialog SaveDialog2{FileDialog::Save, QStringLiteral("Wabrixrätsel (*.wbx)"), QStringLiteral("wbx")};
    FileDialog WordListOpenDialog{FileDialog::Open,
                                  QStringLiteral("Wortlisten (*.tsv *.csv *.txt);;Alle Dateien (*)"),
                                  QStringLiteral("tsv")};
    FileDialog WordListSaveDialog{FileDialog::Save,
                                  QStringLiteral("Tabulatorgetrennter Text (*.tsv);;CSV (*.csv)"),
                                  QStringLiteral("tsv"), true};

public slots:
    void Neu1Click();
    void ffnen1Click();
    void Speichern1Click();
    void Speichernunter1Click();
    void Wortlisteimportieren1Click();
    void Wortlisteexportieren1Click();
    void Beenden1Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void Button1Click();
    void sEdChange();
    void LosungEinCheckClick();
    void capedChange();
    void FragenEinpassenCheckClick();

public:
    // Printing, the picture export and the About box (mainformoutput.cpp).
    PictureSaveDialog SaveDialog1;
    PrintDialog PrintDialog1{printer_};
    PrinterSetupDialog PrinterSetupDialog1{printer_};

    // The About box that "Über..." shows; the program makes it after the window. Without one, the
    // window makes its own when it is first asked for.
    void setAboutBox(TAboutBox *box) { AboutBox = box; }
    TAboutBox &aboutBox();
    // Prints the puzzle on the current printer as "Drucken..." does after its dialog, or with
    // PrintPages::Both as "Rätsel und Lösung drucken..." does; a failure is shown in a message box.
    // True when the pages went to the printer.
    bool printCurrentPuzzle(PrintPages pages = PrintPages::Puzzle);
    // Writes the puzzle picture as "Exportieren als Bild..." does after its dialog, at the view's
    // resolution, with the current printer's page (a PDF with the pages given); a failure is shown in a
    // message box.
    bool exportPicture(const QString &fileName, PictureFormat format, PrintPages pages = PrintPages::Puzzle);
    // Whether the print preview shows the solution page after the puzzle; its switch in the preview's
    // tool bar sets it.
    bool previewBothPages = false;

    // The layout choice and fitting the puzzle to the page (mainformlayout.cpp).
    // Sets the zoom to the largest whole percent at which the whole picture fits the printable area of
    // the current printer's page ("An Seite anpassen").
    void fitZoomToPage();
    // Before printing the given pages: a page that the paper would cut makes the window ask "An Seite
    // anpassen und drucken" (the zoom is fitted to every page first), "Trotzdem drucken" or
    // "Abbrechen"; false for "Abbrechen".
    bool confirmWholePage(PrintPages pages = PrintPages::Puzzle);
    // The zoom at which every one of the given pages fits the current page; nothing when the page is
    // unknown.
    std::optional<int> zoomThatFitsPage(PrintPages pages = PrintPages::Puzzle) const;

public slots:
    void ExportierenalsBild1Click();
    void Druckereinrichten1Click();
    void Drucken1Click();
    void Druckvorschau1Click();
    void RaetselUndLoesungDrucken1Click();
    void ber1Click();

protected:
    void showEvent(QShowEvent *event) override;
    // With unsaved changes the window asks first and stays open after Abbrechen; a generation under
    // way is cancelled, and its worker has ended, before the window closes.
    void closeEvent(QCloseEvent *event) override;
    // Word lists (.tsv, .csv, .txt) dropped on the window are imported, documents (.wbx) opened.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // ZoomEd and the five length fields, in the order of settingsNumberFields.
    std::array<NumericSpinEdit *, 6> numberFields() const;
    void FormCreate();
    void FormDestroy();
    void connectHandlers();
    // Puts the solution word's switch and field after the title field; where the strip is too short for
    // both fields at their designed width, the title field and the word's field share what is left.
    void placeSolutionWordControls();
    void connectOutputHandlers();
    // The document commands, the recent documents and the window title (mainformfile.cpp).
    void connectFileHandlers();
    void updateCaption();
    void rememberFile(const QString &path);
    void fillRecentMenu();
    void openRecentFile(const QString &path);
    // Offers a file that is no document but reads as a word list for import; true when it does.
    bool offerWordListImport(const QString &path);
    // What became of the words: the marks of the word table and the notices under the puzzle
    // (mainformwords.cpp). The marks follow the table a moment after each change.
    void connectWordHandlers();
    // Puts "Umlaute:" below everything else on the settings page.
    void placeUmlautChoice();
    void updateWordReport();
    // After a generation, also rows that make no entry and a table without any entry are reported.
    void showGenerationReport();
    void setUpLayoutControls();
    // Starts the generation the layout choice asks for: 1001 runs, or compact inside its frame.
    void startGeneration(VectorWordTable table);
    // The notice that the puzzle does not fit the page, with "An Seite anpassen"; cleared when it fits.
    void showPageFitNotice();
    // The same, only while the notice is shown (after a setting changed).
    void refreshPageFitNotice();
    // The notice's offer for a puzzle of the first layout: "kompakt" in a frame of the page's shape
    // that holds the puzzle's cells at a compact fill (the page itself when it does), then a generation.
    void generateCompactly();
    // Starts building the puzzle from the word table; the result lands in takeGeneratedPuzzle.
    void generatePuzzle();
    // Puts a finished generation's entries, grid and store in place of the window's and repaints.
    void takeGeneratedPuzzle(GenerationResult &result);
    // Checks soon, once for all changes made until then, which clues do not fit their cells.
    void scheduleClueCheck();
    // Checks now which clues of the puzzle do not fit their cells at the settings, says how many in
    // the status line and marks their word-table rows.
    void checkClueFit();
    // With "Fragen einpassen" on, loads the hyphenation patterns, showing the busy cursor meanwhile.
    void loadHyphenationIfNeeded();

    std::unique_ptr<Ui::TMainForm> ui;
    PuzzleModel model_;
    std::vector<TrailerRecord> keptExtensions_;
    GeneratorStore store_;
    RandomGenerator random_;
    QPrinter printer_{QPrinter::HighResolution};
    QPrinterQuery printerQuery_{printer_};
    TAboutBox *AboutBox = nullptr;
    PuzzleView *view_ = nullptr;
    SolutionWordField *solutionWord_ = nullptr;
    GenerationRunner *generation_ = nullptr;
    GenerationProgress *generationProgress_ = nullptr;
    std::unique_ptr<ClueOverflowNotice> clueOverflow_;
    QTimer *clueCheck_ = nullptr;
    LayoutChoice *layoutChoice_ = nullptr;
    QPushButton *fitPageButton_ = nullptr;
    bool centred_ = false;
    DocumentState *document_ = nullptr;
    WindowMemory *memory_ = nullptr;
    QStringList recentFiles_;
    QTimer wordReportTimer_;
    // Whether the notice of rows that make no entry is shown: from a generation on, until none is left.
    bool reportUnusableRows_ = false;
    // Whether the last generation found no entry at all, which the notices say until the next one.
    bool reportNoEntries_ = false;
};
