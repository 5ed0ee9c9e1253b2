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

#include <array>
#include <memory>
#include <optional>

namespace Ui {
class TMainForm;
}
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

// The main window: the toolbar with the generate button and the display switches, the word table and
// the puzzle view on the first page, the millimetre settings and the font buttons on the second, and
// the menu. It owns the puzzle (entries raten, grid feld), the generator's store, the random
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
    // a failure leaves it as it was and shows a message that names the file and the reason.
    void SaveOptionsFile(const QString &fname);
    // Opens the puzzle document fname: reads and checks all of it first, then takes table, title,
    // switches, numbers, fonts, grid and entries over and repaints. A file that cannot be read or is
    // no valid document changes nothing and shows a message that names the file and the reason.
    void LoadOptionsFile(const QString &fname);

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

public slots:
    void Neu1Click();
    void ffnen1Click();
    void Speichernunter1Click();
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
    // A generation under way is cancelled, and its worker has ended, before the window closes.
    void closeEvent(QCloseEvent *event) override;

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
    void setUpLayoutControls();
    // Starts the generation the layout choice asks for: 1001 runs, or compact inside its frame.
    void startGeneration(VectorWordTable table);
    // The notice that the puzzle does not fit the page, with "An Seite anpassen"; cleared when it fits.
    void showPageFitNotice();
    // The same, only while the notice is shown (after a setting changed).
    void refreshPageFitNotice();
    // Starts building the puzzle from the word table; the result lands in takeGeneratedPuzzle.
    void generatePuzzle();
    // Puts a finished generation's entries, feld and store in place of the window's and repaints.
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
};
