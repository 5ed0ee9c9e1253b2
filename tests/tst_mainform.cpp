#include "datarow.h"
#include "fontchoicedialog.h"
#include "fontmapping.h"
#include "formhelpers.h"
#include "generationrunner.h"
#include "mainform.h"
#include "modalanswers.h"
#include "numericspinedit.h"
#include "paintbox.h"
#include "puzzlechecker.h"
#include "puzzleview.h"
#include "qprinterquery.h"
#include "renderer.h"
#include "startup.h"
#include "wordgrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

// Fills word rows from row 1 on, one "clue|answer" per row.
void fillTable(TMainForm &form, const QStringList &rows) {
    WordGrid &grid = table(form);
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList pair = rows[i].split(u'|');
        grid.setCells(0, i + 1, pair.value(0));
        grid.setCells(1, i + 1, pair.value(1));
    }
}

// Whether the widget draws dark pixels into its last column, as a caption that is cut off does.
bool inkInLastColumn(QWidget *widget) {
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        if (qGray(image.pixel(image.width() - 1, y)) < 128)
            return true;
    return false;
}

// Sends a move of the pointer to at, in widget coordinates, with the given buttons held.
void movePointer(QWidget *widget, QPoint at, Qt::MouseButtons held) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton, held,
                     {});
    QApplication::sendEvent(widget, &move);
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        useWindowFont();
    }

    void window() {
        auto form = shownForm();
        // The document's name, marked with "*" while it has unsaved changes, then the program's.
        QCOMPARE(form->windowTitle(), QStringLiteral("Unbenannt[*] – ORBELIK Wabrixrätsel-Drucker 1.0"));
        QVERIFY(!form->isWindowModified());
        // Wider than the first version's 734 pixels: "An Seite anpassen" stands beside the zoom and the
        // solution word beside the title.
        QCOMPARE(form->centralWidget()->size(), QSize(950, 534));
        QCOMPARE(form->menuBar()->objectName(), QStringLiteral("MainMenu1"));
        QVERIFY(!form->windowIcon().isNull());
        QCOMPARE(QApplication::font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(QApplication::font().pointSize(), 8);
        const QPoint offCentre =
            form->frameGeometry().center() - form->screen()->availableGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2, qPrintable(QString::number(offCentre.manhattanLength())));
    }

    // Each row is named after its control.
    void controls_data() {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry"); // width -1: sized to its caption
        QTest::addColumn<QString>("caption");
        addRow("ErzeugeBtn", "Panel1", QRect(4, 10, 133, 25), "Erzeuge Rätsel");
        addRow("Label1", "Panel1", QRect(143, 14, -1, -1), "Zoom in %:");
        addRow("ZoomEd", "Panel1", QRect(216, 14, 65, 21), "");
        addRow("LosungEinCheck", "Panel1", QRect(287, 0, 130, 17), "Lösung einblenden");
        addRow("BlattRotCheck", "Panel1", QRect(287, 18, 130, 17), "Blattende rot markieren");
        addRow("Label7", "Panel1", QRect(432, 16, -1, -1), "Überschrift:");
        addRow("caped", "Panel1", QRect(495, 14, 121, 21), "");
        addRow("LoesungswortCheck", "Panel1", QRect(622, 16, 94, 17), "Lösungswort:");
        addRow("LoesungswortEd", "Panel1", QRect(719, 14, 121, 21), "");
        addRow("Label2", "TabSheet2", QRect(7, 14, -1, -1), "Feldbreite in mm:");
        addRow("FeldBreitEd", "TabSheet2", QRect(111, 11, 66, 21), "");
        addRow("Label3", "TabSheet2", QRect(7, 41, -1, -1), "Strichstärke in mm:");
        addRow("StrichStarkEd", "TabSheet2", QRect(111, 38, 66, 21), "");
        addRow("Label4", "TabSheet2", QRect(7, 68, -1, -1), "Pfeilgröße in mm");
        addRow("PfeilgrossEd", "TabSheet2", QRect(111, 65, 66, 21), "");
        addRow("Label5", "TabSheet2", QRect(7, 95, -1, -1), "Rand um Text:");
        addRow("TextRandEd", "TabSheet2", QRect(111, 92, 66, 21), "");
        addRow("Label6", "TabSheet2", QRect(7, 122, -1, -1), "Seitenrand in mm:");
        addRow("SeitenRandEd", "TabSheet2", QRect(111, 119, 66, 21), "");
        addRow("BitBtn1", "TabSheet2", QRect(183, 9, 170, 25), "Schriftart...");
        addRow("BitBtn2", "TabSheet2", QRect(183, 38, 170, 25), "Schriftart Überschrift...");
        addRow("FrageSchwarzCheck", "TabSheet2", QRect(183, 69, 202, 17), "Fragefelder schwarz hinterlegen");
        addRow("FragenEinpassenCheck", "TabSheet2", QRect(183, 92, 202, 17), "Fragen einpassen");
        addRow("Label8", "TabSheet2", QRect(183, 119, -1, -1), "kleinste Schrift in pt:");
        addRow("KleinsteSchriftEd", "TabSheet2", QRect(300, 116, 53, 21), "");
        addRow("PaintBox1", "ScrollBox1Contents", QRect(4, 4, 417, 489), "");
    }
    void controls() {
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        TMainForm form; // not shown: the paint box keeps its design size
        QWidget *widget = control<QWidget>(form, QTest::currentDataTag());
        QVERIFY(widget);
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        // The controls right of the zoom field move over for "An Seite anpassen", which stands beside it.
        const QWidget *zoom = control<QWidget>(form, "ZoomEd");
        const QWidget *fit = control<QWidget>(form, "AnSeiteBtn");
        const bool afterZoom = parent == QLatin1String("Panel1") && geometry.x() > zoom->geometry().right();
        QVERIFY(fit && fit->x() > zoom->geometry().right());
        QCOMPARE(widget->pos(),
                 geometry.topLeft() +
                     QPoint(afterZoom ? fit->x() + fit->width() - zoom->x() - zoom->width() + 1 : 0, 0));
        if (geometry.width() < 0) {
            QCOMPARE(widget->width(), widget->sizeHint().width());
            QVERIFY(widget->height() >= widget->sizeHint().height());
        } else if (auto *box = qobject_cast<QCheckBox *>(widget)) {
            // A check box grows only when its caption would be cut.
            QCOMPARE(box->width(), std::max(geometry.width(), box->sizeHint().width()));
            QCOMPARE(box->height(), geometry.height());
        } else {
            QCOMPARE(widget->size(), geometry.size());
        }
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            QCOMPARE(label->text(), caption);
            // The caption's ink, dots of "Ü" included, lies inside the label (drawn centred vertically).
            const QFontMetrics metrics = label->fontMetrics();
            const QRect ink = metrics.tightBoundingRect(caption);
            QVERIFY(metrics.horizontalAdvance(caption) <= label->width());
            QVERIFY((label->height() - metrics.height()) / 2 + metrics.ascent() + ink.top() >= 0);
        }
        if (auto *box = qobject_cast<QCheckBox *>(widget))
            QVERIFY2(!inkInLastColumn(box), "caption cut off");
        if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            QCOMPARE(button->text(), caption);
            QVERIFY(button->isEnabled());
            if (qobject_cast<QPushButton *>(widget))
                QVERIFY(!button->icon().isNull());
        }
    }

    // Each row is named after its field.
    void numericFields_data() {
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        addRow("ZoomEd", 0, 10.0, 1000.0, "100", 100.0);
        addRow("FeldBreitEd", 2, 1.0, 100.0, "10,00", 10.0);
        addRow("StrichStarkEd", 2, 0.001, 10.0, "0,30", 0.3);
        addRow("PfeilgrossEd", 2, 0.001, 100.0, "1,00", 1.0);
        addRow("TextRandEd", 2, 0.001, 100.0, "1,00", 1.0);
        addRow("SeitenRandEd", 2, 0.001, 100.0, "15,00", 15.0);
    }
    void numericFields() {
        QFETCH(int, decimals);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(QString, text);
        QFETCH(double, value);
        TMainForm form;
        auto *field = control<NumericSpinEdit>(form, QTest::currentDataTag());
        QVERIFY(field);
        QCOMPARE(field->decimals(), decimals);
        QCOMPARE(field->minimum(), minimum);
        QCOMPARE(field->maximum(), maximum);
        QCOMPARE(field->step(), 10.0);
        QCOMPARE(field->text(), text);
        QCOMPARE(field->value(), value);
    }

    void startState() {
        auto form = shownForm();
        WordGrid &grid = table(*form);
        QCOMPARE(grid.Cells(0, 0), QStringLiteral("Frage"));
        QCOMPARE(grid.Cells(1, 0), QStringLiteral("Antwort"));
        QCOMPARE(grid.RowCount(), 1000);
        for (int r = 1; r < grid.RowCount(); ++r)
            QVERIFY(grid.Cells(0, r).isEmpty() && grid.Cells(1, r).isEmpty());
        QVERIFY(!control<QCheckBox>(*form, "LosungEinCheck")->isChecked());
        QVERIFY(control<QCheckBox>(*form, "BlattRotCheck")->isChecked());
        QVERIFY(control<QCheckBox>(*form, "FrageSchwarzCheck")->isChecked());
        QCOMPARE(control<QLineEdit>(*form, "caped")->text(), QStringLiteral("Wabrixrätsel"));
        QCOMPARE(control<QTabWidget>(*form, "PageControl1")->currentWidget()->objectName(),
                 QStringLiteral("TabSheet1"));
        QCOMPARE(form->model().entryCount(), 0u);
        QCOMPARE(form->FontDialog1.Font, FontDescription::defaultClueFont());
        QCOMPARE(form->FontDialog2.Font, FontDescription::defaultTitleFont());
        QCOMPARE(form->OpenDialog1.filter(), QStringLiteral("Wabrixrätsel (*.wbx)"));
        QCOMPARE(form->SaveDialog2.defaultSuffix(), QStringLiteral("wbx"));
        // The zero grid is drawn as 100 x 100 empty letter cells: the paint box took that picture's size.
        PaintBox *box = paintBox(*form);
        QCOMPARE(box->pos(), QPoint(4, 4));
        QCOMPARE(box->size(), puzzlePictureSize(form->model(), form->settings(), box->logicalDpiX()));
        QVERIFY(box->width() > 417);
        QScrollArea *scroll = control<QScrollArea>(*form, "ScrollBox1");
        QVERIFY(!scroll->widgetResizable());
        QCOMPARE(scroll->widget()->size(), box->size() + QSize(4, 4));
    }

    // "Umlaute:" offers the three spellings, "Ä Ö Ü" first and chosen.
    void umlautChoice() {
        TMainForm form;
        auto *umlauts = control<QComboBox>(form, "UmlauteCombo");
        QStringList items;
        for (int i = 0; i < umlauts->count(); ++i)
            items << umlauts->itemText(i);
        QCOMPARE(items, (QStringList{"Ä Ö Ü", "AE OE UE", "wie eingegeben"}));
        QCOMPARE(umlauts->currentIndex(), 0);
        QCOMPARE(form.settings().umlauts, UmlautSpelling::Capitals);
        PuzzleSettings typed = form.settings();
        typed.umlauts = UmlautSpelling::AsTyped;
        form.setSettings(typed);
        QCOMPARE(umlauts->currentText(), QStringLiteral("wie eingegeben"));
        QCOMPARE(form.settings().umlauts, UmlautSpelling::AsTyped);
    }

    void pages() {
        auto form = shownForm();
        auto *pages = control<QTabWidget>(*form, "PageControl1");
        QCOMPARE(pages->count(), 2);
        QCOMPARE(pages->tabText(0), QStringLiteral("Wabrixrätsel"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Einstellungen"));
        QWidget *panel = control<QWidget>(*form, "Panel1");
        QCOMPARE(panel->geometry(), QRect(0, 0, 950, 41));
        QCOMPARE(pages->geometry(), QRect(0, 41, 950, 534 - 41));
        WordGrid &grid = table(*form);
        QScrollArea *scroll = control<QScrollArea>(*form, "ScrollBox1");
        auto *divider = control<QSplitter>(*form, "Splitter1");
        QCOMPARE(divider->widget(0), &grid);
        QVERIFY(divider->widget(1)->isAncestorOf(scroll));
        // The table starts with its row numbers and two columns of 150 pixels.
        QVERIFY(grid.verticalHeader()->isVisible());
        QVERIFY2(qAbs(grid.columnWidth(0) - WordGrid::defaultColumnWidth) <= 1,
                 qPrintable(QString::number(grid.columnWidth(0))));
        QVERIFY2(qAbs(grid.columnWidth(1) - WordGrid::defaultColumnWidth) <= 1,
                 qPrintable(QString::number(grid.columnWidth(1))));
        // When the window grows, table and view share the growth, the view taking more, and the
        // columns share the table's width as before.
        const QSize start = form->size();
        const int tableWidth = grid.width();
        const int viewWidth = divider->widget(1)->width();
        form->resize(start + QSize(300, 50));
        QTest::qWait(10);
        QCOMPARE(panel->width(), 950 + 300);
        QCOMPARE(pages->height(), 534 - 41 + 50);
        const int tableGrowth = grid.width() - tableWidth;
        const int viewGrowth = divider->widget(1)->width() - viewWidth;
        QVERIFY2(tableGrowth > 50 && viewGrowth > tableGrowth,
                 qPrintable(QStringLiteral("%1 %2").arg(tableGrowth).arg(viewGrowth)));
        QVERIFY(qAbs(grid.columnWidth(0) - grid.columnWidth(1)) <= 1);
        QCOMPARE(grid.columnWidth(0) + grid.columnWidth(1), grid.viewport()->width());
        // Moving the divider gives the table's columns the room.
        divider->setSizes({tableWidth + 200, divider->widget(1)->width() - 200});
        QTest::qWait(10);
        QCOMPARE(grid.columnWidth(0) + grid.columnWidth(1), grid.viewport()->width());
        QVERIFY(grid.columnWidth(0) > WordGrid::defaultColumnWidth + 50);
    }

    void tabOrder() {
        TMainForm form;
        const QStringList expected{"ZoomEd",
                                   "LosungEinCheck",
                                   "ErzeugeBtn",
                                   "caped",
                                   "LoesungswortCheck",
                                   "LoesungswortEd",
                                   "BlattRotCheck",
                                   "PageControl1",
                                   "ScrollBox1",
                                   "StringGrid1",
                                   "FeldBreitEd",
                                   "StrichStarkEd",
                                   "BitBtn1",
                                   "PfeilgrossEd",
                                   "TextRandEd",
                                   "FrageSchwarzCheck",
                                   "SeitenRandEd",
                                   "BitBtn2"};
        QStringList chain;
        QWidget *start = control<QWidget>(form, "ZoomEd");
        QWidget *w = start;
        do {
            if (expected.contains(w->objectName()) && !chain.contains(w->objectName()))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != start);
        QCOMPARE(chain, expected);
    }

    void menu() {
        TMainForm form;
        QMenuBar *bar = form.menuBar();
        const QList<QAction *> top = bar->actions();
        QCOMPARE(top.size(), 3);
        auto *datei = control<QMenu>(form, "Datei1");
        QCOMPARE(top[0], datei->menuAction());
        QCOMPARE(datei->title(), QStringLiteral("Datei"));
        auto *bearbeiten = control<QMenu>(form, "Bearbeiten1");
        QCOMPARE(top[1], bearbeiten->menuAction());
        QCOMPARE(bearbeiten->title(), QStringLiteral("Bearbeiten"));
        QCOMPARE(top[2]->objectName(), QStringLiteral("ber1"));
        QCOMPARE(top[2]->text(), QStringLiteral("Über..."));
        QVERIFY(!top[2]->menu());

        // Each item with its shortcut, if any.
        auto itemsOf = [](QMenu *menu) {
            QStringList items;
            for (QAction *action : menu->actions()) {
                const QString name = action->menu() ? action->menu()->objectName() : action->objectName();
                QString item = name + u'=' + (action->isSeparator() ? QStringLiteral("-") : action->text());
                if (!action->shortcut().isEmpty())
                    item += u' ' + action->shortcut().toString();
                items << item;
            }
            return items;
        };
        QCOMPARE(itemsOf(datei),
                 (QStringList{"Neu1=Neu Ctrl+N", "N1=-", "ffnen1=Öffnen... Ctrl+O",
                              "Zuletztgeffnet1=Zuletzt geöffnet", "Speichern1=Speichern Ctrl+S",
                              "Speichernunter1=Speichern unter... Ctrl+Shift+S", "N2=-",
                              "Wortlisteimportieren1=Wortliste importieren...",
                              "Wortlisteexportieren1=Wortliste exportieren...", "N5=-",
                              "ExportierenalsBild1=Exportieren als Bild...", "N3=-",
                              "Druckereinrichten1=Drucker einrichten...", "Drucken1=Drucken... Ctrl+P",
                              "Druckvorschau1=Druckvorschau...",
                              "RaetselUndLoesungDrucken1=Rätsel und Lösung drucken...", "N4=-",
                              "Beenden1=Beenden Ctrl+Q"}));
        QCOMPARE(itemsOf(bearbeiten),
                 (QStringList{"Rckgngig1=Rückgängig Ctrl+Z", "Wiederholen1=Wiederholen Ctrl+Y"}));
        // Nothing to undo, no document opened yet.
        QVERIFY(!control<QAction>(form, "Rckgngig1")->isEnabled());
        QVERIFY(!control<QMenu>(form, "Zuletztgeffnet1")->isEnabled());
    }

    void settingsComeFromTheControls() {
        TMainForm form;
        const std::pair<const char *, double> values[] = {{"ZoomEd", 150},          {"FeldBreitEd", 8},
                                                          {"StrichStarkEd", 0.001}, {"PfeilgrossEd", 2.5},
                                                          {"TextRandEd", 0.5},      {"SeitenRandEd", 20}};
        for (const auto &[name, value] : values)
            control<NumericSpinEdit>(form, name)->setValue(value);
        control<QCheckBox>(form, "LosungEinCheck")->setChecked(true);
        control<QCheckBox>(form, "BlattRotCheck")->setChecked(false);
        control<QCheckBox>(form, "FrageSchwarzCheck")->setChecked(false);
        control<QLineEdit>(form, "caped")->setText("Ferienrätsel");
        form.FontDialog1.Font.pointSize = 10;
        const PuzzleSettings s = form.settings();
        QCOMPARE(s.zoom, 150.0);
        QCOMPARE(s.cellWidth, 8.0);
        QCOMPARE(s.lineWidth, 0.0); // shown as 0,00
        QCOMPARE(s.arrowSize, 2.5);
        QCOMPARE(s.textMargin, 0.5);
        QCOMPARE(s.pageMargin, 20.0);
        QVERIFY(s.showSolution && !s.markPageEnd && !s.clueCellsBlack);
        QCOMPARE(s.title, std::u16string(u"Ferienr\u00e4tsel"));
        QCOMPARE(s.clueFont.pointSize, 10);
        QCOMPARE(s.titleFont, FontDescription::defaultTitleFont());

        PuzzleSettings loaded = s;
        loaded.lineWidth = 0.127;
        loaded.zoom = 5000;
        loaded.titleFont.face = u"Liberation Serif";
        form.setSettings(loaded);
        const PuzzleSettings back = form.settings();
        QCOMPARE(back.lineWidth, 0.13);
        QCOMPARE(back.zoom, 1000.0);
        QCOMPARE(back.titleFont.face, std::u16string(u"Liberation Serif"));
        QCOMPARE(back.title, s.title);
    }

    void repaints_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("repaints");
        QTest::newRow("zoom step") << "zoom" << true;
        QTest::newRow("cell width") << "FeldBreitEd" << true;
        QTest::newRow("line width") << "StrichStarkEd" << true;
        QTest::newRow("arrow size") << "PfeilgrossEd" << true;
        QTest::newRow("text margin") << "TextRandEd" << true;
        QTest::newRow("page margin") << "SeitenRandEd" << true;
        QTest::newRow("title keystroke") << "caped" << true;
        QTest::newRow("show solution") << "LosungEinCheck" << true;
        QTest::newRow("page end") << "BlattRotCheck" << true;
        QTest::newRow("clue cells black") << "FrageSchwarzCheck" << false;
        QTest::newRow("clue font") << "font" << false;
        QTest::newRow("word table") << "table" << false;
        QTest::newRow("new") << "Neu1" << false;
    }
    void repaints() {
        QFETCH(QString, change);
        QFETCH(bool, repaints);
        auto form = shownForm();
        PaintCounter counter(control<QWidget>(*form, "PaintBox1"));
        const QByteArray name = change.toLatin1();
        if (change == QLatin1String("zoom")) {
            QTest::keyClick(control<NumericSpinEdit>(*form, "ZoomEd"), Qt::Key_Up);
        } else if (auto *field = control<NumericSpinEdit>(*form, name.constData())) {
            field->setValue(field->value() + 1); // as an opened document sets it
        } else if (change == QLatin1String("caped")) {
            QTest::keyClick(control<QLineEdit>(*form, "caped"), Qt::Key_X);
        } else if (auto *box = control<QCheckBox>(*form, name.constData())) {
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        } else if (change == QLatin1String("font")) {
            form->FontDialog1.Font.pointSize = 12;
        } else if (change == QLatin1String("table")) {
            table(*form).setCells(0, 1, "Tier");
        } else if (change == QLatin1String("Neu1")) {
            control<QAction>(*form, "Neu1")->trigger();
        }
        // A repaint happens at once, inside the handler.
        QCOMPARE(counter.paints > 0, repaints);
        if (!repaints) {
            QTest::qWait(20);
            QCOMPARE(counter.paints, 0);
        }
    }

    void settingsPageChangesShowWhenThePuzzlePageReturns() {
        auto form = shownForm();
        auto *pages = control<QTabWidget>(*form, "PageControl1");
        PaintCounter counter(control<QWidget>(*form, "PaintBox1"));
        pages->setCurrentIndex(1);
        control<QCheckBox>(*form, "FrageSchwarzCheck")->setChecked(false);
        QTest::qWait(20);
        QCOMPARE(counter.paints, 0);
        pages->setCurrentIndex(0);
        QTRY_VERIFY(counter.paints > 0);
    }

    void newClearsWordsOnly() {
        auto form = shownForm();
        WordGrid &grid = table(*form);
        grid.setRowCount(11); // as after opening a document with 10 rows
        fillTable(*form, {"Tier|KATZE", "Farbe|ROT", "|nur Antwort"});
        grid.setCells(0, 10, "letzte");
        form->model().AddEntry(u"Tier", u"KATZE");
        form->model().grid[cellIndex(0, 0)] = clueCellValue(0, true);
        const Grid puzzle = form->model().grid;
        const QSize picture = control<QWidget>(*form, "PaintBox1")->size();

        // The filled table is a change: "Neu" asks first, and goes on without saving.
        SeenBox question;
        clickInNextMessageBox(question, QStringLiteral("Verwerfen"));
        control<QAction>(*form, "Neu1")->trigger();
        QCOMPARE(question.text, QStringLiteral("Änderungen an „Unbenannt“ speichern?"));
        QVERIFY(!form->isWindowModified());
        QCOMPARE(grid.RowCount(), 11);
        for (int r = 1; r < 11; ++r)
            QVERIFY2(grid.Cells(0, r).isEmpty() && grid.Cells(1, r).isEmpty(),
                     qPrintable(QString::number(r)));
        QCOMPARE(grid.Cells(0, 0), QStringLiteral("Frage"));
        QCOMPARE(grid.Cells(1, 0), QStringLiteral("Antwort"));
        QCOMPARE(form->model().entryCount(), 1u);
        QVERIFY(form->model().grid == puzzle);
        QCOMPARE(control<QWidget>(*form, "PaintBox1")->size(), picture);
    }

    void generatingFillsTheView() {
        auto form = shownForm();
        fillTable(*form, {"Haustier|katze", "Farbe|rot", "Gewässer|see", "Hauptstadt Italiens|rom",
                          "ohne Antwort|", "Nagetier|ratte"});
        PaintBox *box = paintBox(*form);
        const QSize before = box->size();
        PaintCounter counter(box);
        QTest::mouseClick(control<QPushButton>(*form, "ErzeugeBtn"), Qt::LeftButton);
        QTRY_VERIFY(!form->generation().isRunning());
        QVERIFY(counter.paints > 0);
        QCOMPARE(form->model().entryCount(), 5u);
        QVERIFY(countClueCells(form->model().grid) >= 2);
        QCOMPARE(form->store().mostPlaced, countClueCells(form->model().grid));
        const QSize picture = puzzlePictureSize(form->model(), form->settings(), box->logicalDpiX());
        QVERIFY(picture != before);
        QTRY_COMPARE(box->size(), picture);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

        // Generating again starts from the table anew.
        SeenBox question;
        clickInNextMessageBox(question, QStringLiteral("Verwerfen"));
        control<QAction>(*form, "Neu1")->trigger();
        QVERIFY(question.shown);
        QVERIFY(generateAndWait(*form));
        QCOMPARE(form->model().entryCount(), 0u);
        QCOMPARE(countClueCells(form->model().grid), 0);
    }

    void viewShowsTheRenderedPicture_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QPoint>("scroll");
        addRow("small puzzle", QStringList{"Haustier|katze", "Farbe|rot", "Gewässer|see"}, QPoint(0, 0));
        addRow("full grid at the start", QStringList{}, QPoint(0, 0));
        addRow("full grid scrolled", QStringList{}, QPoint(1234, 2345));
    }
    void viewShowsTheRenderedPicture() {
        QFETCH(QStringList, words);
        QFETCH(QPoint, scroll);
        auto form = shownForm();
        if (!words.isEmpty()) {
            fillTable(*form, words);
            QVERIFY(generateAndWait(*form));
        }
        PaintBox *box = paintBox(*form);
        QTRY_COMPARE(box->size(), puzzlePictureSize(form->model(), form->settings(), box->logicalDpiX()));
        QScrollArea *scrollBox = control<QScrollArea>(*form, "ScrollBox1");
        scrollBox->horizontalScrollBar()->setValue(scroll.x());
        scrollBox->verticalScrollBar()->setValue(scroll.y());
        QTest::qWait(20);

        // What the window shows of the paint box equals the renderer's picture of the puzzle.
        const QImage expected = renderPuzzleImage(form->model(), form->settings(), box->logicalDpiX(),
                                                  QPrinterQuery(form->printer()))
                                    .convertToFormat(QImage::Format_RGB32);
        const QImage window =
            form->screen()->grabWindow(form->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QWidget *viewport = scrollBox->viewport();
        const QRect visible = QRect(box->mapFrom(viewport, QPoint(0, 0)), viewport->size()) & box->rect();
        QVERIFY(!visible.isEmpty());
        const QPoint onWindow = box->mapTo(form.get(), visible.topLeft());
        QCOMPARE(window.copy(QRect(onWindow, visible.size())), expected.copy(visible));
    }

    void drag_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("grab");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<QPoint>("scrolled");
        QTest::newRow("left drag up-left scrolls right-down")
            << Qt::LeftButton << QPoint(300, 300) << QPoint(250, 220) << QPoint(50, 80);
        QTest::newRow("right button scrolls too")
            << Qt::RightButton << QPoint(300, 300) << QPoint(290, 200) << QPoint(10, 100);
        QTest::newRow("middle button scrolls too")
            << Qt::MiddleButton << QPoint(300, 300) << QPoint(300, 299) << QPoint(0, 1);
        QTest::newRow("drag past the start stops at 0")
            << Qt::LeftButton << QPoint(100, 100) << QPoint(400, 350) << QPoint(0, 0);
        QTest::newRow("drag past the end stops at the end")
            << Qt::LeftButton << QPoint(300, 300) << QPoint(-50000, -50000) << QPoint(-1, -1);
    }
    void drag() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, grab);
        QFETCH(QPoint, release);
        QFETCH(QPoint, scrolled);
        auto form = shownForm();
        PaintBox *box = paintBox(*form);
        QScrollArea *scroll = control<QScrollArea>(*form, "ScrollBox1");
        QScrollBar *h = scroll->horizontalScrollBar();
        QScrollBar *v = scroll->verticalScrollBar();
        QVERIFY(h->maximum() > 1000 && v->maximum() > 1000); // the full 100 x 100 grid
        if (scrolled.x() < 0)
            scrolled = QPoint(h->maximum(), v->maximum());

        QTest::mousePress(box, button, {}, grab);
        QVERIFY(form->view().inmove);
        QCOMPARE(QPoint(form->view().mousex, form->view().mousey), grab);
        // The pointer travels in two moves; the box moves under it as it scrolls.
        movePointer(box, grab + (release - grab) / 2, button);
        const QPoint shifted = release + QPoint(h->value(), v->value());
        movePointer(box, shifted, button);
        QCOMPARE(QPoint(h->value(), v->value()), scrolled);
        QTest::mouseRelease(box, button, {}, shifted);
        QVERIFY(!form->view().inmove);

        // Without a pressed button, moving scrolls nothing.
        movePointer(box, QPoint(0, 0), Qt::NoButton);
        QCOMPARE(QPoint(h->value(), v->value()), scrolled);
    }

    void dragScrollPositions_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("pointer");
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("result");
        QTest::newRow("pointer left of anchor scrolls on") << 100 << 50 << 30 << 1000 << 120;
        QTest::newRow("pointer right of anchor scrolls back") << 100 << 50 << 80 << 1000 << 70;
        QTest::newRow("no travel") << 100 << 50 << 50 << 1000 << 100;
        QTest::newRow("below 0 gives 0") << 10 << 50 << 80 << 1000 << 0;
        QTest::newRow("beyond range gives range - 1") << 990 << 50 << 20 << 1000 << 999;
        QTest::newRow("empty range") << 0 << 50 << 20 << 0 << 0;
        QTest::newRow("no overflow") << INT_MAX << INT_MAX << INT_MIN << INT_MAX << INT_MAX - 1;
    }
    void dragScrollPositions() {
        QFETCH(int, position);
        QFETCH(int, anchor);
        QFETCH(int, pointer);
        QFETCH(int, range);
        QFETCH(int, result);
        QCOMPARE(dragScrollPosition(position, anchor, pointer, range), result);
    }

    void dragOnAFittingPictureScrollsNothing() {
        auto form = shownForm();
        control<NumericSpinEdit>(*form, "FeldBreitEd")->setValue(1);
        control<NumericSpinEdit>(*form, "ZoomEd")->setValue(10);
        PaintBox *box = paintBox(*form);
        QScrollArea *scroll = control<QScrollArea>(*form, "ScrollBox1");
        QTRY_VERIFY(box->width() + 4 <= scroll->viewport()->width());
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(box, QPoint(0, 0));
        movePointer(box, QPoint(1, 1), Qt::LeftButton);
        QCOMPARE(scroll->horizontalScrollBar()->value(), 0);
        QCOMPARE(scroll->verticalScrollBar()->value(), 0);
    }

    void fontButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("clue font") << "BitBtn1";
        QTest::newRow("title font") << "BitBtn2";
    }
    void fontButtons() {
        QFETCH(QString, button);
        TMainForm form;
        form.show();
        const bool clue = button == QLatin1String("BitBtn1");
        FontChoiceDialog &dialog = clue ? form.FontDialog1 : form.FontDialog2;
        const FontChoiceDialog &otherDialog = clue ? form.FontDialog2 : form.FontDialog1;
        const FontDescription other = otherDialog.Font;
        const FontDescription before = dialog.Font;
        auto *pushButton = form.findChild<QPushButton *>(button);

        // Abbrechen changes nothing, whatever was chosen in the window.
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto *window = qobject_cast<FontChoiceWindow *>(QApplication::activeModalWidget());
            shown = window != nullptr;
            if (!window)
                return;
            QCOMPARE(window->windowTitle(), QStringLiteral("Schriftart"));
            // An uninstalled face shows as the family it is drawn with.
            QCOMPARE(window->currentFont().family(), QFontInfo(dialogFont(before)).family());
            QCOMPARE(window->currentFont().pointSize(), before.pointSize);
            QFont font = window->currentFont();
            font.setPointSize(20);
            window->fontList()->setCurrentFont(font);
            window->chooseColor(Qt::blue);
            window->reject();
        });
        pushButton->click();
        QVERIFY(shown);
        QCOMPARE(dialog.Font, before);

        // OK takes size, underline and colour; the face the user left alone keeps its stored name.
        QTimer::singleShot(0, [&] {
            auto *window = qobject_cast<FontChoiceWindow *>(QApplication::activeModalWidget());
            if (!window)
                return;
            QFont font = window->currentFont();
            QCOMPARE(font.pointSize(), before.pointSize);
            font.setPointSize(12);
            font.setUnderline(true);
            window->fontList()->setCurrentFont(font);
            window->chooseColor(QColor(255, 0, 0));
            window->accept();
        });
        pushButton->click();
        QCOMPARE(dialog.Font.face, before.face);
        QCOMPARE(dialog.Font.pointSize, 12);
        QVERIFY(dialog.Font.underline);
        QVERIFY(!dialog.Font.strikeOut);
        QCOMPARE(dialog.Font.color, 0x000000FFu);
        QCOMPARE(form.settings().clueFont, form.FontDialog1.Font);
        QCOMPARE(form.settings().titleFont, form.FontDialog2.Font);
        // The other dialog's font stays as it was.
        QCOMPARE(otherDialog.Font, other);
    }

    void chosenFont_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<uint>("color");
        addRow("nothing changed", "", "Arial Narrow", 8, false, 0xFF000008u);
        addRow("size", "size", "Arial Narrow", 11, false, 0xFF000008u);
        addRow("bold", "bold", "Arial Narrow", 8, true, 0xFF000008u);
        addRow("family", "family", "Liberation Serif", 8, false, 0xFF000008u);
        addRow("colour only", "colour", "Arial Narrow", 8, false, 0x00336699u);
    }
    void chosenFont() {
        QFETCH(QString, change);
        QFETCH(QString, face);
        QFETCH(int, pointSize);
        QFETCH(bool, bold);
        QFETCH(uint, color);
        const FontDescription old = FontDescription::defaultClueFont();
        // The window shows an uninstalled face under the family that replaces it.
        QFont shown(QStringLiteral("Liberation Sans Narrow"), 8);
        QFont chosen = shown;
        if (change == QLatin1String("size"))
            chosen.setPointSize(11);
        if (change == QLatin1String("bold"))
            chosen.setBold(true);
        if (change == QLatin1String("family"))
            chosen.setFamily(QStringLiteral("Liberation Serif"));
        const QColor newColor(0x99, 0x66, 0x33);
        const FontDescription result = FontChoiceDialog::chosenFont(
            old, shown, chosen, change == QLatin1String("colour") ? &newColor : nullptr, 96);
        QCOMPARE(QString::fromStdU16String(result.face), face);
        QCOMPARE(result.pointSize, pointSize);
        QCOMPARE(result.bold, bold);
        QCOMPARE(result.color, color);
        QCOMPARE(result.charset, old.charset);
    }

    void quitClosesTheWindow() {
        auto form = shownForm();
        control<QAction>(*form, "Beenden1")->trigger();
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
