// The main window's choice of layout ("Anordnung", "Rahmen"), the compact generation it starts, and
// fitting the puzzle to the page: "An Seite anpassen", the notice after a generation and the question
// before printing a puzzle that the page would cut.
#include "mainform.h"

#include "generationrunner.h"
#include "jobpagefit.h"
#include "layoutchoice.h"
#include "pagefit.h"
#include "statusnotices.h"
#include "ui_mainform.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

#include <algorithm>

namespace {

// The key of the notice that the puzzle does not fit the page.
const QString pageFitNotice = QStringLiteral("pagefit");
// The key of the notice that offers the compact layout for a puzzle of the first layout that is too big.
const QString compactNotice = QStringLiteral("compact");

int usedCellCount(const Grid &grid) {
    return static_cast<int>(
        std::count_if(grid.begin(), grid.end(), [](std::int32_t cell) { return !isFreeCell(cell); }));
}

// Where the program keeps the layout last chosen, for new work.
QSettings userSettings() {
    return QSettings(QStringLiteral("wabrix"), QStringLiteral("wabrix"));
}

LayoutSettings rememberedLayout() {
    const QSettings stored = userSettings();
    LayoutSettings layout;
    if (stored.value(QStringLiteral("layout/arrangement")).toString() == QLatin1String("compact"))
        layout.arrangement = LayoutSettings::Arrangement::Compact;
    if (stored.value(QStringLiteral("layout/frame")).toString() == QLatin1String("cells"))
        layout.frame = LayoutSettings::Frame::Cells;
    layout.frameColumns = stored.value(QStringLiteral("layout/columns"), layout.frameColumns).toInt();
    layout.frameRows = stored.value(QStringLiteral("layout/rows"), layout.frameRows).toInt();
    return layout;
}

void rememberLayout(const LayoutSettings &layout) {
    QSettings stored = userSettings();
    stored.setValue(QStringLiteral("layout/arrangement"),
                    layout.arrangement == LayoutSettings::Arrangement::Compact ? QStringLiteral("compact")
                                                                               : QStringLiteral("standard"));
    stored.setValue(QStringLiteral("layout/frame"), layout.frame == LayoutSettings::Frame::Cells
                                                        ? QStringLiteral("cells")
                                                        : QStringLiteral("page"));
    stored.setValue(QStringLiteral("layout/columns"), layout.frameColumns);
    stored.setValue(QStringLiteral("layout/rows"), layout.frameRows);
}

constexpr int fitButtonGap = 6;
constexpr int minimumTitleFieldWidth = 60;

} // namespace

void TMainForm::setUpLayoutControls() {
    layoutChoice_ = new LayoutChoice(ui->TabSheet2);
    layoutChoice_->setObjectName(QStringLiteral("LayoutChoice"));
    layoutChoice_->move(ui->Label6->x(), ui->SeitenRandEd->geometry().bottom() + 16);
    layoutChoice_->resize(layoutChoice_->sizeHint());
    layoutChoice_->setLayout(rememberedLayout());
    connect(layoutChoice_, &LayoutChoice::chosen, this,
            [](const LayoutSettings &layout) { rememberLayout(layout); });

    // "An Seite anpassen" right of the zoom field; the controls after it move over to make room.
    fitPageButton_ = new QPushButton(QStringLiteral("An Seite anpassen"), ui->Panel1);
    fitPageButton_->setObjectName(QStringLiteral("AnSeiteBtn"));
    fitPageButton_->setToolTip(
        QStringLiteral("Zoom so wählen, dass das ganze Rätsel auf die Seite des Druckers passt"));
    const QRect zoom = ui->ZoomEd->geometry();
    const int width = fitPageButton_->sizeHint().width();
    const int shift = width + fitButtonGap;
    for (QWidget *control : ui->Panel1->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (control != fitPageButton_ && control->x() > zoom.right())
            control->move(control->x() + shift, control->y());
    fitPageButton_->setGeometry(zoom.right() + fitButtonGap, zoom.y() - 1, width, zoom.height() + 2);
    // The title field, last in the strip, gives up what would reach past the window's right edge.
    const int overflow = ui->caped->geometry().right() + fitButtonGap - clientWidth;
    if (overflow > 0)
        ui->caped->resize(std::max(ui->caped->width() - overflow, minimumTitleFieldWidth),
                          ui->caped->height());
    connect(fitPageButton_, &QPushButton::clicked, this, &TMainForm::fitZoomToPage);
}

void TMainForm::startGeneration(VectorWordTable table) {
    const PuzzleSettings current = settings();
    if (current.layout.arrangement == LayoutSettings::Arrangement::Standard) {
        generation_->start(std::move(table), random_.next64(), defaultRuns, current.umlauts);
        return;
    }
    GenerationOptions options;
    options.seed = random_.next64();
    options.umlauts = current.umlauts;
    if (current.layout.frame == LayoutSettings::Frame::Cells) {
        options.frameWidth = current.layout.frameColumns;
        options.frameHeight = current.layout.frameRows;
    } else {
        const CellCount page = pageCellFrame(current, printerQuery_.currentPage());
        if (page.columns == 0) {
            QMessageBox::warning(
                this, windowTitle(),
                QStringLiteral("Bei dieser Feldbreite, diesem Zoom und diesem Seitenrand passt "
                               "kein Feld auf die Seite. Bitte einen kleineren Zoom oder "
                               "\"Rahmen: Felder\" wählen."));
            return;
        }
        options.frameWidth = page.columns;
        options.frameHeight = page.rows;
    }
    generation_->start(std::move(table), options, &GenerateCompact, options.effort);
}

std::optional<int> TMainForm::zoomThatFitsPage(PrintPages pages) const {
    return fitJobZoom(model_, settings(), pages, printerQuery_.currentPage(),
                      static_cast<int>(zoomField.minimum), static_cast<int>(zoomField.maximum));
}

void TMainForm::fitZoomToPage() {
    if (const std::optional<int> zoom = zoomThatFitsPage())
        ui->ZoomEd->setValue(*zoom);
    refreshPageFitNotice();
}

void TMainForm::showPageFitNotice() {
    const PuzzleSettings current = settings();
    if (puzzleFitsPage(model_, current, printerQuery_.currentPage())) {
        ui->PuzzleNotices->clearNotice(pageFitNotice);
        ui->PuzzleNotices->clearNotice(compactNotice);
        return;
    }
    const std::optional<int> zoom = zoomThatFitsPage();
    ui->PuzzleNotices->setNotice(
        pageFitNotice,
        QStringLiteral("Das Rätsel passt bei %1 % Zoom nicht auf die Seite%2.")
            .arg(current.zoom)
            .arg(zoom ? QStringLiteral(" (bei %1 % passt es)").arg(*zoom) : QString()),
        QStringLiteral("An Seite anpassen"), [this] { fitZoomToPage(); });
    if (current.layout.arrangement == LayoutSettings::Arrangement::Standard)
        ui->PuzzleNotices->setNotice(compactNotice,
                                     QStringLiteral("Kompakt angeordnet braucht es etwa halb so viel Platz."),
                                     QStringLiteral("Kompakt erzeugen"), [this] { generateCompactly(); });
    else
        ui->PuzzleNotices->clearNotice(compactNotice);
}

void TMainForm::generateCompactly() {
    if (generation_->isRunning())
        return;
    LayoutSettings layout = layoutChoice_->layout();
    layout.arrangement = LayoutSettings::Arrangement::Compact;
    const CellCount page = pageCellFrame(settings(), printerQuery_.currentPage());
    const CellCount frame = compactFrameFor(page, usedCellCount(model_.grid));
    if (frame.columns == page.columns && frame.rows == page.rows) {
        layout.frame = LayoutSettings::Frame::Page;
    } else {
        layout.frame = LayoutSettings::Frame::Cells;
        layout.frameColumns = frame.columns;
        layout.frameRows = frame.rows;
    }
    layoutChoice_->setLayout(layout);
    rememberLayout(layout);
    ui->PuzzleNotices->clearNotice(compactNotice);
    generatePuzzle();
}

void TMainForm::refreshPageFitNotice() {
    if (ui->PuzzleNotices->hasNotice(pageFitNotice))
        showPageFitNotice();
}

bool TMainForm::confirmWholePage(PrintPages pages) {
    const PuzzleSettings current = settings();
    if (jobFitsPage(model_, current, pages, printerQuery_.currentPage()))
        return true;
    QMessageBox question(
        QMessageBox::Question, windowTitle(),
        QStringLiteral("Das Rätsel passt bei %1 % Zoom nicht auf die Seite: Der Druck würde am "
                       "Rand abgeschnitten.")
            .arg(current.zoom),
        QMessageBox::NoButton, this);
    QPushButton *fit =
        question.addButton(QStringLiteral("An Seite anpassen und drucken"), QMessageBox::AcceptRole);
    QPushButton *anyway =
        question.addButton(QStringLiteral("Trotzdem drucken"), QMessageBox::DestructiveRole);
    question.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    question.setDefaultButton(fit);
    question.exec();
    if (question.clickedButton() == fit) {
        if (const std::optional<int> zoom = zoomThatFitsPage(pages))
            ui->ZoomEd->setValue(*zoom);
        refreshPageFitNotice();
        return true;
    }
    return question.clickedButton() == anyway;
}
