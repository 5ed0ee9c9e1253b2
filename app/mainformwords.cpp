// What became of the words: the marks of the word table and the notices under the puzzle; word lists
// brought into and out of the table, also by dropping files on the window.
#include "mainform.h"

#include "documentstate.h"
#include "errorreport.h"
#include "statusnotices.h"
#include "ui_mainform.h"
#include "wordgrid.h"
#include "wordgridtable.h"
#include "wordlist.h"
#include "wordreport.h"

#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>

#include <algorithm>

namespace {

// How long the marks wait after a change of the table, so that typing stays quick.
constexpr int wordReportDelayMs = 150;
// Up to this many rows the marks follow every change of the table (a report of 999 rows takes about a
// millisecond, bench_documentwindow). A longer table, which only a document can bring, would stall the
// window for seconds after each keystroke: its marks go with the first change and come back with the
// next generation, opening or import.
constexpr int liveWordReportRows = 20000;

const QString wordsNotice = QStringLiteral("words");
const QString unusableNotice = QStringLiteral("unusableRows");

enum class DroppedKind { None, Document, WordList };

DroppedKind droppedKind(const QString &path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("wbx"))
        return DroppedKind::Document;
    if (suffix == QLatin1String("tsv") || suffix == QLatin1String("csv") || suffix == QLatin1String("txt"))
        return DroppedKind::WordList;
    return DroppedKind::None;
}

// The first local file of a drop, when it is one the window takes.
QString droppedFile(const QMimeData *data) {
    if (!data || !data->hasUrls() || data->urls().isEmpty() || !data->urls().constFirst().isLocalFile())
        return {};
    const QString path = data->urls().constFirst().toLocalFile();
    return droppedKind(path) == DroppedKind::None ? QString() : path;
}

// "Zeilen 3, 7 und 12" for a list of row numbers, at most ten of them named.
QString rowNames(const std::vector<std::size_t> &rows) {
    constexpr std::size_t named = 10;
    QStringList numbers;
    for (std::size_t i = 0; i < rows.size() && i < named; ++i)
        numbers << QString::number(rows[i]);
    if (rows.size() > named)
        numbers << QStringLiteral("… (%1 insgesamt)").arg(rows.size());
    return (rows.size() == 1 ? QStringLiteral("Zeile ") : QStringLiteral("Zeilen ")) +
           numbers.join(QStringLiteral(", "));
}

} // namespace

void TMainForm::connectWordHandlers() {
    connect(ui->Wortlisteimportieren1, &QAction::triggered, this, &TMainForm::Wortlisteimportieren1Click);
    connect(ui->Wortlisteexportieren1, &QAction::triggered, this, &TMainForm::Wortlisteexportieren1Click);
    wordReportTimer_.setSingleShot(true);
    wordReportTimer_.setInterval(wordReportDelayMs);
    connect(&wordReportTimer_, &QTimer::timeout, this, &TMainForm::updateWordReport);
    const auto later = [this] {
        if (ui->StringGrid1->RowCount() <= liveWordReportRows) {
            wordReportTimer_.start();
            return;
        }
        ui->StringGrid1->setRowMarks({});
        ui->PuzzleNotices->clearNotice(unusableNotice);
    };
    connect(ui->StringGrid1, &WordGrid::wordRowsChanged, this, later);
    connect(ui->UmlauteCombo, &QComboBox::currentIndexChanged, this, later);
}

void TMainForm::updateWordReport() {
    wordReportTimer_.stop();
    WordGrid &grid = *ui->StringGrid1;
    const WordReport report =
        reportWords(WordGridTable(grid), settings().umlauts, entryTextsOf(model_), model_.grid);
    grid.setRowMarks(report.marks);

    StatusNotices &notices = *ui->PuzzleNotices;
    const auto selectRows = [this](const std::vector<int> &rows) {
        ui->PageControl1->setCurrentWidget(ui->TabSheet1);
        ui->StringGrid1->selectRows(rows);
        ui->StringGrid1->setFocus();
    };
    if (report.entries > 0) {
        const QString text =
            QStringLiteral("%1 von %2 %3 platziert")
                .arg(report.placed)
                .arg(report.entries)
                .arg(report.entries == 1 ? QStringLiteral("Wort") : QStringLiteral("Wörtern"));
        if (report.leftOut.empty())
            notices.setNotice(wordsNotice, text);
        else
            notices.setNotice(wordsNotice,
                              text + QStringLiteral("; die übrigen sind in der Worttabelle markiert."),
                              QStringLiteral("Nicht platzierte auswählen"),
                              [selectRows, rows = report.leftOut] { selectRows(rows); });
    } else if (reportNoEntries_) {
        notices.setNotice(wordsNotice,
                          QStringLiteral("Keine Wörter: keine Zeile der Worttabelle hat Frage und Antwort."));
    } else {
        notices.clearNotice(wordsNotice);
    }
    if (reportUnusableRows_ && !report.unusable.empty()) {
        const int n = static_cast<int>(report.unusable.size());
        notices.setNotice(
            unusableNotice,
            n == 1 ? QStringLiteral("1 Zeile ergibt keinen Eintrag (Grund im Tooltip der Zeile).")
                   : QStringLiteral("%1 Zeilen ergeben keinen Eintrag (Grund im Tooltip der Zeilen).").arg(n),
            QStringLiteral("Zeilen auswählen"), [selectRows, rows = report.unusable] { selectRows(rows); });
    } else {
        reportUnusableRows_ = reportUnusableRows_ && !report.unusable.empty();
        notices.clearNotice(unusableNotice);
    }
}

void TMainForm::showGenerationReport() {
    reportUnusableRows_ = true;
    reportNoEntries_ = model_.entryCount() == 0;
    updateWordReport();
}

bool TMainForm::importWordList(const QString &path) {
    WordList list = readWordList(path, maxWordListRows, UnreadableRows::LeaveEmpty);
    if (!list.ok()) {
        showErrorMessage(QStringLiteral("Die Wortliste „%1“ kann nicht gelesen werden: %2")
                             .arg(QDir::toNativeSeparators(path), list.error));
        return false;
    }
    const std::size_t taken = list.rows.size();
    if (list.rows.size() < maxWordListRows)
        list.rows.resize(maxWordListRows);
    ui->StringGrid1->replaceWordRows(list.rows, QStringLiteral("Wortliste importieren"));
    ui->StringGrid1->scrollToTop();
    ui->StringGrid1->setCurrentCell(0, 0);
    QStringList problems;
    if (!list.unreadableRows.empty())
        problems << QStringLiteral("%1 %2 kein gültiger UTF-8-Text und %3 leer.")
                        .arg(rowNames(list.unreadableRows),
                             list.unreadableRows.size() == 1 ? QStringLiteral("ist") : QStringLiteral("sind"),
                             list.unreadableRows.size() == 1 ? QStringLiteral("bleibt")
                                                             : QStringLiteral("bleiben"));
    if (list.rowCount > taken)
        problems << QStringLiteral(
                        "Die Wortliste hat %1 Zeilen; die Worttabelle hat Platz für die ersten %2.")
                        .arg(list.rowCount)
                        .arg(maxWordListRows);
    if (!problems.isEmpty()) {
        QMessageBox box(
            QMessageBox::Warning, QStringLiteral("Wortliste importieren"),
            QStringLiteral("Aus „%1“ wurden nicht alle Zeilen übernommen.").arg(QFileInfo(path).fileName()),
            QMessageBox::Ok, this);
        box.setInformativeText(
            problems.join(u'\n') +
            QStringLiteral("\n\n„Bearbeiten > Rückgängig“ stellt die alte Worttabelle wieder her."));
        box.exec();
    }
    return true;
}

bool TMainForm::exportWordList(const QString &path) {
    WordGrid::Rows rows = ui->StringGrid1->wordRows();
    const auto last = std::find_if(rows.rbegin(), rows.rend(),
                                   [](const auto &row) { return !row.first.empty() || !row.second.empty(); });
    rows.erase(last.base(), rows.end());
    QString error;
    int replaced = 0;
    if (!writeWordList(path, rows, &error, &replaced)) {
        showErrorMessage(error);
        return false;
    }
    if (replaced > 0) {
        QMessageBox box(
            QMessageBox::Information, QStringLiteral("Wortliste exportieren"),
            QStringLiteral(
                "In %1 Zellen standen Tabulatoren oder Zeilenumbrüche, die tabulatorgetrennter Text "
                "nicht fassen kann; sie wurden durch Leerzeichen ersetzt. CSV bewahrt sie.")
                .arg(replaced),
            QMessageBox::Ok, this);
        box.exec();
    }
    return true;
}

void TMainForm::Wortlisteimportieren1Click() {
    if (WordListOpenDialog.Execute(this))
        importWordList(WordListOpenDialog.FileName);
}

void TMainForm::Wortlisteexportieren1Click() {
    if (WordListSaveDialog.Execute(this))
        exportWordList(WordListSaveDialog.FileName);
}

bool TMainForm::offerWordListImport(const QString &path) {
    const WordList list = readWordList(path);
    const bool pairs = std::any_of(list.rows.begin(), list.rows.end(),
                                   [](const auto &row) { return !row.first.empty() && !row.second.empty(); });
    if (!list.ok() || !pairs)
        return false;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Öffnen"),
                    QStringLiteral("„%1“ ist kein Wabrixrätsel, sieht aber wie eine Wortliste aus "
                                   "(Frage und Antwort je Zeile).")
                        .arg(QFileInfo(path).fileName()),
                    QMessageBox::NoButton, this);
    box.setInformativeText(QStringLiteral("Soll sie in die Worttabelle importiert werden? Das ersetzt die "
                                          "Zeilen der Tabelle und lässt sich rückgängig machen."));
    QPushButton *import = box.addButton(QStringLiteral("Importieren"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(import);
    box.exec();
    if (box.clickedButton() == import)
        importWordList(path);
    return true;
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event) {
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *event) {
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The drag's source waits for the drop to end; the file is taken once it has.
    QMetaObject::invokeMethod(
        this,
        [this, path] {
            if (droppedKind(path) == DroppedKind::WordList)
                importWordList(path);
            else if (maySaveChanges())
                LoadOptionsFile(path);
        },
        Qt::QueuedConnection);
}
