#include "mainform.h"

#include "busycursor.h"
#include "clueoverflownotice.h"
#include "documentstate.h"
#include "errorreport.h"
#include "generationprogress.h"
#include "generationrunner.h"
#include "hyphenation.h"
#include "layoutchoice.h"
#include "puzzleview.h"
#include "solutionwordfield.h"
#include "startup.h"
#include "statusnotices.h"
#include "textrecord.h"
#include "ui_mainform.h"
#include "wordgridtable.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

// The status line's notice that an opened puzzle shows its solution.
const QString solutionShownNotice = QStringLiteral("solutionShown");

// Pixels above a font's declared ascent that accents may need.
constexpr int accentRoom = 2;

} // namespace

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent), ui(std::make_unique<Ui::TMainForm>()) {
    initResources();
    ui->setupUi(this);
    // The form gives the fields their place; limits, step, decimals and default are the settings'.
    const auto fields = numberFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i]->setField(*settingsNumberFields[i].field);
    ui->KleinsteSchriftEd->setField(minClueFontField);
    // A line edit keeps 32,767 characters unless told otherwise; the title keeps what a document holds.
    ui->caped->setMaxLength(maxTextRecordLength);
    setWindowIcon(programIcon());
    // Labels size themselves to their caption, with room above the ascent for the dots of "Ü", which
    // some fonts draw higher than they declare.
    for (QLabel *label : {ui->Label1, ui->Label2, ui->Label3, ui->Label4, ui->Label5, ui->Label6, ui->Label7,
                          ui->Label8, ui->Label9}) {
        label->adjustSize();
        label->resize(label->width(), label->fontMetrics().height() + accentRoom);
    }
    // Qt draws a check box's mark and gap a few pixels wider than the classic look the layout was made
    // for; a box whose caption would be cut grows to the right instead.
    for (QCheckBox *box : {ui->LosungEinCheck, ui->BlattRotCheck, ui->FrageSchwarzCheck,
                           ui->FragenEinpassenCheck, ui->LoesungswortCheck})
        box->resize(std::max(box->width(), box->sizeHint().width()), box->height());
    view_ = new PuzzleView(
        ui->ScrollBox1, ui->PaintBox1, model_, printerQuery_, [this] { return settings(); }, this);
    solutionWord_ = new SolutionWordField(
        ui->LoesungswortCheck, ui->LoesungswortEd, ui->PuzzleNotices,
        [this]() -> const Grid & { return model_.grid; },
        [this] { return static_cast<UmlautSpelling>(ui->UmlauteCombo->currentIndex()); },
        [this] { Button1Click(); }, this);
    resize(clientWidth, clientHeight + menuBar()->sizeHint().height());
    generation_ = new GenerationRunner(this);
    generationProgress_ = new GenerationProgress(this, *generation_, this);
    clueOverflow_ = std::make_unique<ClueOverflowNotice>(
        *ui->PuzzleNotices, *ui->StringGrid1, [this] { ui->FragenEinpassenCheck->setChecked(true); },
        [this] { ui->PageControl1->setCurrentWidget(ui->TabSheet2); });
    // Several settings often change in one go (a document opened): the clues are checked once after.
    clueCheck_ = new QTimer(this);
    clueCheck_->setSingleShot(true);
    clueCheck_->setInterval(0);
    connect(clueCheck_, &QTimer::timeout, this, &TMainForm::checkClueFit);
    document_ = new DocumentState(ui->StringGrid1->undoStack(), this);
    // The word table starts wide enough for its row numbers and two columns of 150 pixels; when the
    // window grows, the puzzle gets two parts of the room and the table one.
    WordGrid &grid = *ui->StringGrid1;
    ui->Splitter1->setStretchFactor(0, 1);
    ui->Splitter1->setStretchFactor(1, 2);
    const int tableWidth = grid.verticalHeader()->sizeHint().width() + 2 * WordGrid::defaultColumnWidth +
                           grid.verticalScrollBar()->sizeHint().width() + 2 * grid.frameWidth();
    ui->Splitter1->setSizes({tableWidth, clientWidth - tableWidth - ui->Splitter1->handleWidth()});
    setAcceptDrops(true);
    setUpLayoutControls();
    placeSolutionWordControls();
    connectHandlers();
    connectOutputHandlers();
    connectFileHandlers();
    connectWordHandlers();
    placeUmlautChoice();
    FormCreate();
    updateCaption();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::placeSolutionWordControls() {
    // The switch and the word follow the title field, wherever the strip has put it.
    constexpr int gap = 6, fieldGap = 3, narrowest = 60;
    QLineEdit *title = ui->caped;
    QCheckBox *box = ui->LoesungswortCheck;
    QLineEdit *word = ui->LoesungswortEd;
    const int designed = word->width();
    const int room = clientWidth - gap - title->x() - gap - box->width() - fieldGap;
    const int fieldWidth = std::max(narrowest, std::min(designed, room / 2));
    title->resize(std::min(title->width(), fieldWidth), title->height());
    box->move(title->geometry().right() + 1 + gap, box->y());
    word->setGeometry(box->geometry().right() + 1 + fieldGap, word->y(), fieldWidth, word->height());
}

void TMainForm::connectHandlers() {
    connect(ui->ErzeugeBtn, &QPushButton::clicked, this, &TMainForm::Button1Click);
    connect(generation_, &GenerationRunner::succeeded, this, &TMainForm::takeGeneratedPuzzle);
    connect(generation_, &GenerationRunner::failed, this, &showErrorMessage);
    for (NumericSpinEdit *field : numberFields())
        connect(field, &NumericSpinEdit::changed, this, &TMainForm::sEdChange);
    connect(ui->KleinsteSchriftEd, &NumericSpinEdit::changed, this, &TMainForm::sEdChange);
    connect(ui->LosungEinCheck, &QCheckBox::toggled, this, &TMainForm::LosungEinCheckClick);
    connect(ui->BlattRotCheck, &QCheckBox::toggled, this, &TMainForm::LosungEinCheckClick);
    connect(ui->FragenEinpassenCheck, &QCheckBox::toggled, this, &TMainForm::FragenEinpassenCheckClick);
    connect(ui->caped, &QLineEdit::textChanged, this, &TMainForm::capedChange);
    connect(solutionWord_, &SolutionWordField::changed, this, &TMainForm::repaintPuzzle);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TMainForm::BitBtn1Click);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TMainForm::BitBtn2Click);
}

void TMainForm::placeUmlautChoice() {
    // Below every other control of the settings page, in the columns of the number fields.
    int top = 0;
    for (const QWidget *control :
         ui->TabSheet2->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (control != ui->Label9 && control != ui->UmlauteCombo)
            top = std::max(top, control->geometry().bottom() + 1);
    const int gap = ui->SeitenRandEd->y() - ui->TextRandEd->geometry().bottom() - 1;
    ui->UmlauteCombo->move(ui->SeitenRandEd->x(), top + gap);
    ui->Label9->move(ui->Label6->x(), top + gap + ui->Label6->y() - ui->SeitenRandEd->y());
}

void TMainForm::FormCreate() {
    random_.seed(seedFromClock());
    ui->StringGrid1->setCells(0, 0, QStringLiteral("Frage"));
    ui->StringGrid1->setCells(1, 0, QStringLiteral("Antwort"));
    // The fonts are made for the screen, and a saved document records its resolution with them.
    FontDialog1.Font.pixelsPerInch = FontDialog2.Font.pixelsPerInch = screenPixelsPerInch(this);
    // The entry list entries (28-byte records, cursor currentEntry) exists empty from the model's
    // construction; grid stays zero-filled until the first generation or opened document.
}

void TMainForm::FormDestroy() {
    generation_->cancelAndWait();
    model_.releaseEntries();
}

void TMainForm::showEvent(QShowEvent *event) {
    if (!centred_) {
        centred_ = true;
        if (const QScreen *screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QMainWindow::showEvent(event);
}

std::array<NumericSpinEdit *, 6> TMainForm::numberFields() const {
    return {ui->ZoomEd,       ui->FeldBreitEd, ui->StrichStarkEd,
            ui->PfeilgrossEd, ui->TextRandEd,  ui->SeitenRandEd};
}

PuzzleSettings TMainForm::settings() const {
    PuzzleSettings s;
    const auto fields = numberFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        s.*settingsNumberFields[i].value = fields[i]->value();
    s.showSolution = ui->LosungEinCheck->isChecked();
    s.markPageEnd = ui->BlattRotCheck->isChecked();
    s.clueCellsBlack = ui->FrageSchwarzCheck->isChecked();
    s.title = ui->caped->text().toStdU16String();
    s.clueFont = FontDialog1.Font;
    s.titleFont = FontDialog2.Font;
    s.fitClues = ui->FragenEinpassenCheck->isChecked();
    s.minClueFontSize = ui->KleinsteSchriftEd->value();
    s.solution = solutionWord_->solution();
    s.umlauts = static_cast<UmlautSpelling>(ui->UmlauteCombo->currentIndex());
    s.layout = layoutChoice_->layout();
    return s;
}

void TMainForm::setSettings(const PuzzleSettings &s) {
    ui->caped->setText(QString::fromStdU16String(s.title));
    ui->LosungEinCheck->setChecked(s.showSolution);
    ui->BlattRotCheck->setChecked(s.markPageEnd);
    const auto fields = numberFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i]->setValue(s.*settingsNumberFields[i].value);
    ui->FrageSchwarzCheck->setChecked(s.clueCellsBlack);
    FontDialog1.Font = s.clueFont;
    FontDialog2.Font = s.titleFont;
    ui->KleinsteSchriftEd->setValue(s.minClueFontSize);
    ui->FragenEinpassenCheck->setChecked(s.fitClues);
    scheduleClueCheck();
    ui->UmlauteCombo->setCurrentIndex(static_cast<int>(s.umlauts));
    solutionWord_->setSolution(s.solution);
    layoutChoice_->setLayout(s.layout);
}

void TMainForm::warnSolutionShown() {
    ui->PuzzleNotices->setNotice(
        solutionShownNotice, QStringLiteral("Die Lösung ist eingeblendet; „Drucken...“ druckt sie mit."),
        QStringLiteral("Lösung ausblenden"), [this] { ui->LosungEinCheck->setChecked(false); });
}

void TMainForm::repaintPuzzle() {
    loadHyphenationIfNeeded();
    view_->repaintNow();
}

void TMainForm::BitBtn1Click() {
    if (FontDialog1.Execute(this))
        document_->markChanged();
    scheduleClueCheck();
}

void TMainForm::BitBtn2Click() {
    if (FontDialog2.Execute(this))
        document_->markChanged();
}

void TMainForm::generatePuzzle() {
    if (generation_->isRunning())
        return;
    ui->StringGrid1->commitEdit();
    startGeneration(copyWordRows(WordGridTable(*ui->StringGrid1)));
}

void TMainForm::takeGeneratedPuzzle(GenerationResult &result) {
    model_.takeOver(result.model);
    std::swap(store_, result.store);
    solutionWord_->puzzleChanged();
    repaintPuzzle();
    document_->markChanged();
    showGenerationReport();
    scheduleClueCheck();
    showPageFitNotice();
}

void TMainForm::FragenEinpassenCheckClick() {
    repaintPuzzle();
    scheduleClueCheck();
}

void TMainForm::scheduleClueCheck() {
    clueCheck_->start();
}

void TMainForm::checkClueFit() {
    clueCheck_->stop();
    loadHyphenationIfNeeded();
    clueOverflow_->update(model_, settings());
}

void TMainForm::loadHyphenationIfNeeded() {
    // Reading the German patterns takes a moment, once; the user sees that it works.
    if (ui->FragenEinpassenCheck->isChecked() && !GermanHyphenation::sharedIsLoaded()) {
        BusyCursor busy;
        GermanHyphenation::shared();
    }
}

void TMainForm::Button1Click() {
    generatePuzzle();
}

void TMainForm::sEdChange() {
    repaintPuzzle();
    scheduleClueCheck();
    refreshPageFitNotice();
}

void TMainForm::LosungEinCheckClick() {
    if (!ui->LosungEinCheck->isChecked())
        ui->PuzzleNotices->clearNotice(solutionShownNotice);
    repaintPuzzle();
}

void TMainForm::capedChange() {
    repaintPuzzle();
}
