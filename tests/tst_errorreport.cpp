#include "datarow.h"
#include "dynaarray.h"
#include "errorreport.h"
#include "modalanswers.h"
#include "startup.h"
#include "wabrixapplication.h"

#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <QtTest>

#include <new>
#include <stdexcept>
#include <thread>

namespace {

// An object whose event handler fails, as a handler of the window may.
class FailingHandler : public QObject {
public:
    int handled = 0;

protected:
    bool event(QEvent *event) override {
        if (event->type() == QEvent::User) {
            ++handled;
            throw std::runtime_error("Datei kann nicht gelesen werden");
        }
        return QObject::event(event);
    }
};

// The number of pixels in which two pictures of one size differ.
int differingPixels(const QImage &a, const QImage &b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

void *failingAllocator(std::size_t) {
    return nullptr;
}

} // namespace

class TestErrorReport : public QObject {
    Q_OBJECT

private slots:
    void messageText_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("text");
        addRow("letter gets a full stop", "Datei fehlt", "Datei fehlt.");
        addRow("digit gets a full stop", "I/O error 5", "I/O error 5.");
        addRow("question mark gets one", "Was nun?", "Was nun?.");
        addRow("umlaut gets one", "zu groß", "zu groß.");
        addRow("full stop kept", "Fertig.", "Fertig.");
        addRow("comma gets none", "halb,", "halb,");
        addRow("exclamation gets none", "Halt!", "Halt!");
        addRow("blank gets none", "Ende ", "Ende ");
        addRow("empty stays empty", "", "");
    }
    void messageText() {
        QFETCH(QString, message);
        QFETCH(QString, text);
        QCOMPARE(errorMessageText(message), text);
    }

    void caption_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("caption");
        addRow("installed program", "/usr/bin/wabrix", "wabrix");
        addRow("first letter kept", "/opt/Wabrix", "Wabrix");
        addRow("up to the first dot", "/opt/WABRIX.Beta.exe", "Wabrix");
        addRow("capitals after the first lowered", "C:/Programme/WaBrIx.EXE", "Wabrix");
        addRow("test program", "build/tests/tst_errorreport", "tst_errorreport");
        addRow("leading dot", "/tmp/.hidden", "");
    }
    void caption() {
        QFETCH(QString, program);
        QFETCH(QString, caption);
        QCOMPARE(errorCaption(program), caption);
    }

    void handlerErrorIsShownAndTheProgramGoesOn() {
        FailingHandler handler;
        SeenBox seen;
        closeNextMessageBox(seen);
        QCoreApplication::postEvent(&handler, new QEvent(QEvent::User));
        QTRY_VERIFY(seen.shown);
        QCOMPARE(seen.caption, QStringLiteral("tst_errorreport"));
        QCOMPARE(seen.text, QStringLiteral("Datei kann nicht gelesen werden."));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

        // The loop carries on and delivers the next event, which fails again and is shown again.
        SeenBox second;
        closeNextMessageBox(second);
        QCoreApplication::postEvent(&handler, new QEvent(QEvent::User));
        QTRY_VERIFY(second.shown);
        QCOMPARE(handler.handled, 2);
    }

    void caughtErrorMessage_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        addRow("failed allocation", 0, "Zu wenig Arbeitsspeicher");
        addRow("standard exception", 1, "Regel verletzt");
        addRow("anything else", 2, "Unbekannter Fehler");
    }
    void caughtErrorMessage() {
        QFETCH(int, kind);
        QFETCH(QString, message);
        std::exception_ptr error;
        try {
            if (kind == 0)
                throw std::bad_alloc();
            if (kind == 1)
                throw std::logic_error("Regel verletzt");
            throw 42;
        } catch (...) {
            error = std::current_exception();
        }
        QCOMPARE(exceptionMessage(error), message);
    }

    // A record list may also fail on a worker thread (a generation collects its entries there): the
    // box then shows on the window's thread, and the worker does not wait for it.
    void allocationFailureIsShownInABox_data() {
        QTest::addColumn<bool>("onWorker");
        addRow("on the window thread", false);
        addRow("on a worker thread", true);
    }
    void allocationFailureIsShownInABox() {
        QFETCH(bool, onWorker);
        reportAllocationFailuresInMessageBoxes();
        setBlockAllocator(&failingAllocator);
        SeenBox seen;
        closeNextMessageBox(seen);
        bool added = true;
        auto add = [&added] {
            TDynaArray list(28, nullptr);
            added = list.Add() != nullptr;
        };
        if (onWorker)
            std::thread(add).join();
        else
            add();
        setBlockAllocator(nullptr);
        QVERIFY(!added);
        if (!onWorker)
            QVERIFY(seen.shown); // shown before the failed call returns
        QTRY_VERIFY(seen.shown);
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.text,
                 QStringLiteral("Error 1 while trying to allocate 2800 bytes of RAM. Not enough memory."));
        setAllocationFailureHook({});
    }

    void windowFont() {
        const QString family = useWindowFont();
        if (QFile::exists(tahomaPath))
            QCOMPARE(family, QStringLiteral("Tahoma"));
        QCOMPARE(QApplication::font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(QApplication::font().pointSize(), 8);
        // A missing font file falls back silently.
        QCOMPARE(useWindowFont(QStringLiteral("/nonexistent/tahoma.ttf")), QString());
        QCOMPARE(QApplication::font().family(), QStringLiteral("Tahoma"));
    }

    // The dots of a capital umlaut at the start of a message box's text or its informative text are
    // drawn whole, also in the window font, whose ascent ends below them: "Ä" and "A" differ in the
    // label in as many pixels as they do when drawn with room to spare.
    void messageBoxesKeepTheDots_data() {
        QTest::addColumn<bool>("informative");
        addRow("text", false);
        addRow("informative text", true);
    }
    void messageBoxesKeepTheDots() {
        QFETCH(bool, informative);
        useWindowFont();
        const QString rest = QStringLiteral("nderungen gehen verloren.");
        QFont font;
        const auto labelPicture = [&](const QString &first) {
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Wabrixrätsel"), first + rest,
                            QMessageBox::Save | QMessageBox::Cancel);
            if (informative) {
                box.setText(QStringLiteral("Speichern?"));
                box.setInformativeText(first + rest);
            }
            box.show();
            for (QLabel *label : box.findChildren<QLabel *>())
                if (label->text() == first + rest) {
                    font = label->font();
                    return label->grab().toImage();
                }
            return QImage();
        };
        const QImage labelDots = labelPicture(QStringLiteral("Ä"));
        const QImage labelPlain = labelPicture(QStringLiteral("A"));
        QVERIFY(!labelDots.isNull() && !labelPlain.isNull());
        const auto roomyPicture = [&](const QString &first) {
            QImage picture(labelDots.width(), 4 * labelDots.height(), QImage::Format_ARGB32);
            picture.fill(Qt::white);
            QPainter painter(&picture);
            painter.setFont(font);
            painter.drawText(0, 2 * labelDots.height(), first + rest);
            return picture;
        };
        const int dots =
            differingPixels(roomyPicture(QStringLiteral("Ä")), roomyPicture(QStringLiteral("A")));
        QVERIFY(dots > 0);
        QCOMPARE(differingPixels(labelDots, labelPlain), dots);
    }

    // The line metrics of each bitmap size grow to the Windows ascent and descent at that size (2048
    // units per em, 2049 up and 423 down, as Tahoma: 11 and 2 pixels at 11, 16 and 3 at 16) and never
    // shrink; anything that is not a whole font file comes back as it was.
    void windowsLineMetrics_data() {
        QTest::addColumn<QByteArray>("font");
        QTest::addColumn<QByteArray>("expected");
        const auto bigEndian = [](qint64 value, int bytes) {
            QByteArray data;
            for (int i = bytes - 1; i >= 0; --i)
                data += char(value >> (8 * i) & 0xff);
            return data;
        };
        // A font file with the tables given as tag and contents.
        const auto fontFile = [&](const QList<QPair<QByteArray, QByteArray>> &tables) {
            QByteArray file = bigEndian(0x10000, 4) + bigEndian(tables.size(), 2) + QByteArray(6, '\0');
            qsizetype offset = 12 + 16 * tables.size();
            QByteArray contents;
            for (const auto &[tag, data] : tables) {
                file += tag + QByteArray(4, '\0') + bigEndian(offset, 4) + bigEndian(data.size(), 4);
                contents += data;
                offset += data.size();
            }
            return file + contents;
        };
        const QByteArray head = QByteArray(18, '\x01') + bigEndian(2048, 2) + QByteArray(34, '\x01');
        const QByteArray os2 = QByteArray(74, '\x11') + bigEndian(2049, 2) + bigEndian(423, 2);
        // Bitmap sizes as "pixels ascender descender".
        const auto strikes = [&](const QList<QList<int>> &sizes) {
            QByteArray table = bigEndian(0x20000, 4) + bigEndian(sizes.size(), 4);
            for (const QList<int> &size : sizes) {
                QByteArray strike(48, '\x22');
                strike[16] = char(size[1]);
                strike[17] = char(size[2]);
                strike[44] = strike[45] = char(size[0]);
                table += strike;
            }
            return table;
        };
        const auto tahoma = [&](const QList<QList<int>> &sizes) {
            return fontFile({{"EBLC", strikes(sizes)}, {"OS/2", os2}, {"head", head}});
        };
        addRow("shorter sizes grow", tahoma({{11, 9, -2}, {16, 13, -3}, {8, 6, -1}}),
               tahoma({{11, 11, -2}, {16, 16, -3}, {8, 8, -2}}));
        addRow("taller sizes stay", tahoma({{11, 12, -4}}), tahoma({{11, 12, -4}}));
        const QByteArray noBitmaps = fontFile({{"OS/2", os2}, {"head", head}});
        addRow("no bitmaps", noBitmaps, noBitmaps);
        const QByteArray noOs2 = fontFile({{"EBLC", strikes({{11, 9, -2}})}, {"head", head}});
        addRow("no OS/2 table", noOs2, noOs2);
        const QByteArray cut = tahoma({{11, 9, -2}}).chopped(60);
        addRow("cut short", cut, cut);
        const QByteArray directoryCut = tahoma({{11, 9, -2}}).left(30);
        addRow("directory cut short", directoryCut, directoryCut);
        addRow("empty", QByteArray(), QByteArray());
        addRow("no font", QByteArray("Frage\tAntwort\n"), QByteArray("Frage\tAntwort\n"));
    }
    void windowsLineMetrics() {
        QFETCH(QByteArray, font);
        QFETCH(QByteArray, expected);
        QCOMPARE(withWindowsLineMetrics(font), expected);
    }

    void germanQtTexts() {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
            QSKIP("Qt's German texts are not installed");
        QVERIFY(installGermanQtTexts(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    }
};

int main(int argc, char *argv[]) {
    WabrixApplication application(argc, argv);
    TestErrorReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorreport.moc"
