#include "datarow.h"
#include "dynaarray.h"
#include "errorreport.h"
#include "modalanswers.h"
#include "startup.h"
#include "wabrixapplication.h"

#include <QMessageBox>
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
