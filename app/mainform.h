#pragma once

#include "filedialog.h"
#include "fontchoicedialog.h"
#include "generatorstore.h"
#include "puzzlemodel.h"
#include "puzzlesettings.h"
#include "qprinterquery.h"
#include "randomgenerator.h"

#include <QMainWindow>
#include <QPrinter>

#include <memory>

namespace Ui {
class TMainForm;
}
class PuzzleView;

// The main window: the toolbar with the generate button and the display switches, the word table and
// the puzzle view on the first page, the millimetre settings and the font buttons on the second, and
// the menu. It owns the puzzle (entries raten, grid feld), the generator's store, the random
// generator, the two fonts and the file dialogs. The settings live in the controls themselves.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // The size of the client area below the menu bar, in pixels at 96 dots per inch.
    static constexpr int clientWidth = 734;
    static constexpr int clientHeight = 534;

    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // The settings as the controls hold them now: zoom, the five lengths, the three switches, the
    // title and the two fonts.
    PuzzleSettings settings() const;
    // Puts settings into the controls; each control raises its change as an edit would, and the
    // numeric fields clamp and round what they are given.
    void setSettings(const PuzzleSettings &settings);

    // Draws the puzzle in the view at once (the direct call of the view's paint handler).
    void repaintPuzzle();

    PuzzleModel &model() { return model_; }
    GeneratorStore &store() { return store_; }
    PuzzleView &view() { return *view_; }
    QPrinter &printer() { return printer_; }
    Ui::TMainForm &controls() { return *ui; }

    FontChoiceDialog FontDialog1{FontDescription::defaultClueFont()};
    FontChoiceDialog FontDialog2{FontDescription::defaultTitleFont()};
    FileDialog OpenDialog1{FileDialog::Open, QStringLiteral("Wabrixrätsel (*.wbx)"), QStringLiteral("wbx")};
    FileDialog SaveDialog2{FileDialog::Save, QStringLiteral("Wabrixrätsel (*.wbx)"), QStringLiteral("wbx")};

public slots:
    void Neu1Click();
    void Beenden1Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void Button1Click();
    void sEdChange();
    void LosungEinCheckClick();
    void capedChange();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormDestroy();
    void connectHandlers();
    // Builds the puzzle from the word table into the model and the store.
    void generatePuzzle();

    std::unique_ptr<Ui::TMainForm> ui;
    PuzzleModel model_;
    GeneratorStore store_;
    RandomGenerator random_;
    QPrinter printer_{QPrinter::HighResolution};
    QPrinterQuery printerQuery_{printer_};
    PuzzleView *view_ = nullptr;
    bool centred_ = false;
};
