#include "fontchoicedialog.h"
#include "fontmapping.h"
#include "formhelpers.h"
#include "generationrunner.h"
#include "mainform.h"
#include "numericspinedit.h"
#include "paintbox.h"
#include "puzzleview.h"
#include "qprinterquery.h"
#include "renderer.h"
#include "startup.h"
#include "wordgrid.h"

#include <QAction>
#include <QCheckBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
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

int clueCells(const Grid &grid) {
    return static_cast<int>(std::count_if(grid.begin(), grid.end(), isClueCell));
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
        QCOMPARE(form->windowTitle(), QStringLiteral("ORBELIK Wabrixrätsel-Drucker 1.0"));
        QCOMPARE(form->centralWidget()->size(), QSize(734, 534));
        QCOMPARE(form->menuBar()->objectName(), QStringLiteral("MainMenu1"));
        QVERIFY(!form->windowIcon().isNull());
        QCOMPARE(QApplication::font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(QApplication::font().pointSize(), 8);
        const QPoint offCentre =
            form->frameGeometry().center() - form->screen()->availableGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2, qPrintable(QString::number(offCentre.manhattanLength())));
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry"); // width -1: sized to its caption
        QTest::addColumn<QString>("caption");
        QTest::newRow("ErzeugeBtn") << "ErzeugeBtn"
                                    << "Panel1" << QRect(4, 10, 133, 25) << "Erzeuge Rätsel";
        QTest::newRow("Label1") << "Label1"
                                << "Panel1" << QRect(143, 14, -1, -1) << "Zoom in %:";
        QTest::newRow("ZoomEd") << "ZoomEd"
                                << "Panel1" << QRect(216, 14, 65, 21) << "";
        QTest::newRow("LosungEinCheck") << "LosungEinCheck"
                                        << "Panel1" << QRect(287, 0, 130, 17) << "Lösung einblenden";
        QTest::newRow("BlattRotCheck") << "BlattRotCheck"
                                       << "Panel1" << QRect(287, 18, 130, 17) << "Blattende rot markieren";
        QTest::newRow("Label7") << "Label7"
                                << "Panel1" << QRect(432, 16, -1, -1) << "Überschrift:";
        QTest::newRow("caped") << "caped"
                               << "Panel1" << QRect(495, 14, 121, 21) << "";
        QTest::newRow("Label2") << "Label2"
                                << "TabSheet2" << QRect(7, 14, -1, -1) << "Feldbreite in mm:";
        QTest::newRow("FeldBreitEd") << "FeldBreitEd"
                                     << "TabSheet2" << QRect(111, 11, 66, 21) << "";
        QTest::newRow("Label3") << "Label3"
                                << "TabSheet2" << QRect(7, 41, -1, -1) << "Strichstärke in mm:";
        QTest::newRow("StrichStarkEd") << "StrichStarkEd"
                                       << "TabSheet2" << QRect(111, 38, 66, 21) << "";
        QTest::newRow("Label4") << "Label4"
                                << "TabSheet2" << QRect(7, 68, -1, -1) << "Pfeilgröße in mm";
        QTest::newRow("PfeilgrossEd") << "PfeilgrossEd"
                                      << "TabSheet2" << QRect(111, 65, 66, 21) << "";
        QTest::newRow("Label5") << "Label5"
                                << "TabSheet2" << QRect(7, 95, -1, -1) << "Rand um Text:";
        QTest::newRow("TextRandEd") << "TextRandEd"
                                    << "TabSheet2" << QRect(111, 92, 66, 21) << "";
        QTest::newRow("Label6") << "Label6"
                                << "TabSheet2" << QRect(7, 122, -1, -1) << "Seitenrand in mm:";
        QTest::newRow("SeitenRandEd") << "SeitenRandEd"
                                      << "TabSheet2" << QRect(111, 119, 66, 21) << "";
        QTest::newRow("BitBtn1") << "BitBtn1"
                                 << "TabSheet2" << QRect(183, 9, 170, 25) << "Schriftart...";
        QTest::newRow("BitBtn2") << "BitBtn2"
                                 << "TabSheet2" << QRect(183, 38, 170, 25) << "Schriftart Überschrift...";
        QTest::newRow("FrageSchwarzCheck")
            << "FrageSchwarzCheck"
            << "TabSheet2" << QRect(183, 69, 202, 17) << "Fragefelder schwarz hinterlegen";
        QTest::newRow("PaintBox1") << "PaintBox1"
                                   << "ScrollBox1Contents" << QRect(4, 4, 417, 489) << "";
    }
    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        TMainForm form; // not shown: the paint box keeps its design size
        QWidget *widget = form.findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        QCOMPARE(widget->pos(), geometry.topLeft());
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

    void numericFields_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("ZoomEd") << "ZoomEd" << 0 << 10.0 << 1000.0 << "100" << 100.0;
        QTest::newRow("FeldBreitEd") << "FeldBreitEd" << 2 << 1.0 << 100.0 << "10,00" << 10.0;
        QTest::newRow("StrichStarkEd") << "StrichStarkEd" << 2 << 0.001 << 10.0 << "0,30" << 0.3;
        QTest::newRow("PfeilgrossEd") << "PfeilgrossEd" << 2 << 0.001 << 100.0 << "1,00" << 1.0;
        QTest::newRow("TextRandEd") << "TextRandEd" << 2 << 0.001 << 100.0 << "1,00" << 1.0;
        QTest::newRow("SeitenRandEd") << "SeitenRandEd" << 2 << 0.001 << 100.0 << "15,00" << 15.0;
    }
    void numericFields() {
        QFETCH(QString, name);
        QFETCH(int, decimals);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(QString, text);
        QFETCH(double, value);
        TMainForm form;
        auto *field = form.findChild<NumericSpinEdit *>(name);
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
        WordGrid *grid = control<WordGrid>(*form, "StringGrid1");
        QCOMPARE(grid->Cells(0, 0), QStringLiteral("Frage"));
        QCOMPARE(grid->Cells(1, 0), QStringLiteral("Antwort"));
        QCOMPARE(grid->RowCount(), 1000);
        for (int r = 1; r < grid->RowCount(); ++r)
            QVERIFY(grid->Cells(0, r).isEmpty() && grid->Cells(1, r).isEmpty());
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
        PaintBox *box = control<PaintBox>(*form, "PaintBox1");
        QCOMPARE(box->pos(), QPoint(4, 4));
        QCOMPARE(box->size(), puzzlePictureSize(form->model(), form->settings(), box->logicalDpiX()));
        QVERIFY(box->width() > 417);
        QScrollArea *scroll = control<QScrollArea>(*form, "ScrollBox1");
        QVERIFY(!scroll->widgetResizable());
        QCOMPARE(scroll->widget()->size(), box->size() + QSize(4, 4));
    }

    void pages() {
        auto form = shownForm();
        auto *pages = control<QTabWidget>(*form, "PageControl1");
        QCOMPARE(pages->count(), 2);
        QCOMPARE(pages->tabText(0), QStringLiteral("Wabrixrätsel"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Einstellungen"));
        QWidget *panel = control<QWidget>(*form, "Panel1");
        QCOMPARE(panel->geometry(), QRect(0, 0, 734, 41));
        QCOMPARE(pages->geometry(), QRect(0, 41, 734, 534 - 41));
        QWidget *page = control<QWidget>(*form, "TabSheet1");
        WordGrid *grid = control<WordGrid>(*form, "StringGrid1");
        QScrollArea *scroll = control<QScrollArea>(*form, "ScrollBox1");
        QCOMPARE(grid->geometry(), QRect(0, 0, 329, page->height()));
        QCOMPARE(scroll->geometry(), QRect(329, 0, page->width() - 329, page->height()));

        // The docked parts follow the window.
        form->resize(form->width() + 100, form->height() + 50);
        QTest::qWait(10);
        QCOMPARE(panel->width(), 834);
        QCOMPARE(grid->geometry(), QRect(0, 0, 329, page->height()));
        QCOMPARE(scroll->geometry(), QRect(329, 0, page->width() - 329, page->height()));
        QCOMPARE(pages->height(), 584 - 41);
    }

    void tabOrder() {
        TMainForm form;
        const QStringList expected{"ZoomEd",        "LosungEinCheck",    "ErzeugeBtn",   "caped",
                                   "BlattRotCheck", "PageControl1",      "ScrollBox1",   "StringGrid1",
                                   "FeldBreitEd",   "StrichStarkEd",     "BitBtn1",      "PfeilgrossEd",
                                   "TextRandEd",    "FrageSchwarzCheck", "SeitenRandEd", "BitBtn2"};
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
        QCOMPARE(top.size(), 2);
        auto *datei = control<QMenu>(form, "Datei1");
        QCOMPARE(top[0], datei->menuAction());
        QCOMPARE(datei->title(), QStringLiteral("Datei"));
        QCOMPARE(top[1]->objectName(), QStringLiteral("ber1"));
        QCOMPARE(top[1]->text(), QStringLiteral("Über..."));
        QVERIFY(!top[1]->menu());

        QStringList items;
        for (QAction *action : datei->actions())
            items << action->objectName() + u'=' +
                         (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(items,
                 (QStringList{"Neu1=Neu", "N1=-", "ffnen1=Öffnen...", "Speichernunter1=Speichern unter...",
                              "N2=-", "ExportierenalsBild1=Exportieren als Bild...", "N3=-",
                              "Druckereinrichten1=Drucker einrichten...", "Drucken1=Drucken...",
                              "Druckvorschau1=Druckvorschau...", "N4=-", "Beenden1=Beenden"}));
        for (QAction *action : form.findChildren<QAction *>())
            QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->objectName()));
    }

    void settingsComeFromTheControls() {
        TMainForm form;
        control<NumericSpinEdit>(form, "ZoomEd")->setValue(150);
        control<NumericSpinEdit>(form, "FeldBreitEd")->setValue(8);
        control<NumericSpinEdit>(form, "StrichStarkEd")->setValue(0.001);
        control<NumericSpinEdit>(form, "PfeilgrossEd")->setValue(2.5);
        control<NumericSpinEdit>(form, "TextRandEd")->setValue(0.5);
        control<NumericSpinEdit>(form, "SeitenRandEd")->setValue(20);
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
            control<WordGrid>(*form, "StringGrid1")->setCells(0, 1, "Tier");
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
        WordGrid *grid = control<WordGrid>(*form, "StringGrid1");
        grid->setRowCount(11); // as after opening a document with 10 rows
        fillTable(*form, {"Tier|KATZE", "Farbe|ROT", "|nur Antwort"});
        grid->setCells(0, 10, "letzte");
        form->model().AddEntry(u"Tier", u"KATZE");
        form->model().feld[cellIndex(0, 0)] = clueCellValue(0, true);
        const Grid feld = form->model().feld;
        const QSize picture = control<QWidget>(*form, "PaintBox1")->size();

        control<QAction>(*form, "Neu1")->trigger();
        QCOMPARE(grid->RowCount(), 11);
        for (int r = 1; r < 11; ++r)
            QVERIFY2(grid->Cells(0, r).isEmpty() && grid->Cells(1, r).isEmpty(),
                     qPrintable(QString::number(r)));
        QCOMPARE(grid->Cells(0, 0), QStringLiteral("Frage"));
        QCOMPARE(grid->Cells(1, 0), QStringLiteral("Antwort"));
        QCOMPARE(form->model().entryCount(), 1u);
        QVERIFY(form->model().feld == feld);
        QCOMPARE(control<QWidget>(*form, "PaintBox1")->size(), picture);
    }

    void generatingFillsTheView() {
        auto form = shownForm();
        fillTable(*form, {"Haustier|katze", "Farbe|rot", "Gewässer|see", "Hauptstadt Italiens|rom",
                          "ohne Antwort|", "Nagetier|ratte"});
        PaintBox *box = control<PaintBox>(*form, "PaintBox1");
        const QSize before = box->size();
        PaintCounter counter(box);
        QTest::mouseClick(control<QPushButton>(*form, "ErzeugeBtn"), Qt::LeftButton);
        QTRY_VERIFY(!form->generation().isRunning());
        QVERIFY(counter.paints > 0);
        QCOMPARE(form->model().entryCount(), 5u);
        QVERIFY(clueCells(form->model().feld) >= 2);
        QCOMPARE(form->store().maxfitted, clueCells(form->model().feld));
        const QSize picture = puzzlePictureSize(form->model(), form->settings(), box->logicalDpiX());
        QVERIFY(picture != before);
        QTRY_COMPARE(box->size(), picture);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

        // Generating again starts from the table anew.
        control<QAction>(*form, "Neu1")->trigger();
        QTest::mouseClick(control<QPushButton>(*form, "ErzeugeBtn"), Qt::LeftButton);
        QTRY_VERIFY(!form->generation().isRunning());
        QCOMPARE(form->model().entryCount(), 0u);
        QCOMPARE(clueCells(form->model().feld), 0);
    }

    void viewShowsTheRenderedPicture_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QPoint>("scroll");
        QTest::newRow("small puzzle")
            << QStringList{"Haustier|katze", "Farbe|rot", "Gewässer|see"} << QPoint(0, 0);
        QTest::newRow("full grid at the start") << QStringList{} << QPoint(0, 0);
        QTest::newRow("full grid scrolled") << QStringList{} << QPoint(1234, 2345);
    }
    void viewShowsTheRenderedPicture() {
        QFETCH(QStringList, words);
        QFETCH(QPoint, scroll);
        auto form = shownForm();
        if (!words.isEmpty()) {
            fillTable(*form, words);
            control<QPushButton>(*form, "ErzeugeBtn")->click();
            QTRY_VERIFY(!form->generation().isRunning());
        }
        PaintBox *box = control<PaintBox>(*form, "PaintBox1");
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
        PaintBox *box = control<PaintBox>(*form, "PaintBox1");
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
        const QPoint halfway = grab + (release - grab) / 2;
        QMouseEvent move1(QEvent::MouseMove, QPointF(halfway), box->mapToGlobal(QPointF(halfway)),
                          Qt::NoButton, button, {});
        QApplication::sendEvent(box, &move1);
        const QPoint shifted = release + QPoint(h->value(), v->value());
        QMouseEvent move2(QEvent::MouseMove, QPointF(shifted), box->mapToGlobal(QPointF(shifted)),
                          Qt::NoButton, button, {});
        QApplication::sendEvent(box, &move2);
        QCOMPARE(QPoint(h->value(), v->value()), scrolled);
        QTest::mouseRelease(box, button, {}, shifted);
        QVERIFY(!form->view().inmove);

        // Without a pressed button, moving scrolls nothing.
        QMouseEvent idle(QEvent::MouseMove, QPointF(0, 0), box->mapToGlobal(QPointF(0, 0)), Qt::NoButton,
                         Qt::NoButton, {});
        QApplication::sendEvent(box, &idle);
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
        PaintBox *box = control<PaintBox>(*form, "PaintBox1");
        QScrollArea *scroll = control<QScrollArea>(*form, "ScrollBox1");
        QTRY_VERIFY(box->width() + 4 <= scroll->viewport()->width());
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(box, QPoint(0, 0));
        QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), box->mapToGlobal(QPointF(1, 1)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(box, &move);
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
        FontChoiceDialog &dialog = button == QLatin1String("BitBtn1") ? form.FontDialog1 : form.FontDialog2;
        const FontDescription other =
            button == QLatin1String("BitBtn1") ? form.FontDialog2.Font : form.FontDialog1.Font;
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
        QCOMPARE(button == QLatin1String("BitBtn1") ? form.FontDialog2.Font : form.FontDialog1.Font, other);
    }

    void chosenFont_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<uint>("color");
        QTest::newRow("nothing changed") << ""
                                         << "Arial Narrow" << 8 << false << 0xFF000008u;
        QTest::newRow("size") << "size"
                              << "Arial Narrow" << 11 << false << 0xFF000008u;
        QTest::newRow("bold") << "bold"
                              << "Arial Narrow" << 8 << true << 0xFF000008u;
        QTest::newRow("family") << "family"
                                << "Liberation Serif" << 8 << false << 0xFF000008u;
        QTest::newRow("colour only") << "colour"
                                     << "Arial Narrow" << 8 << false << 0x00336699u;
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
