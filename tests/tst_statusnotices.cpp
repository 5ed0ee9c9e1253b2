#include "statusnotices.h"

#include <QPushButton>
#include <QtTest>

class TestStatusNotices : public QObject {
    Q_OBJECT

private slots:
    void hiddenUntilANoticeIsSetAndAfterTheLastGoes() {
        QWidget window;
        auto *notices = new StatusNotices(&window);
        window.show();
        QVERIFY(!notices->isVisible());
        notices->setNotice("placed", "20 von 20 Wörtern platziert");
        QVERIFY(notices->isVisible());
        notices->clearNotice("placed");
        QVERIFY(!notices->isVisible());
        QVERIFY(!notices->hasNotice("placed"));
    }

    void noticesKeepTheirPlaceWhenReplaced() {
        StatusNotices notices;
        notices.setNotice("placed", "23 von 33 Wörtern platziert");
        notices.setNotice("overflow", "7 Fragen passen nicht in ihr Feld");
        notices.setNotice("placed", "33 von 33 Wörtern platziert");
        QCOMPARE(notices.keys(), QStringList({"placed", "overflow"}));
        QCOMPARE(notices.noticeText("placed"), QString("33 von 33 Wörtern platziert"));
        notices.clearNotice("placed");
        QCOMPARE(notices.keys(), QStringList({"overflow"}));
        QCOMPARE(notices.noticeText("placed"), QString());
    }

    void theButtonCallsTheLatestAction_data() {
        QTest::addColumn<bool>("replaced");
        QTest::newRow("first action") << false;
        QTest::newRow("replaced action") << true;
    }
    void theButtonCallsTheLatestAction() {
        QFETCH(bool, replaced);
        StatusNotices notices;
        QStringList calls;
        notices.setNotice("overflow", "7 Fragen passen nicht", "Fragen einpassen", [&] { calls << "first"; });
        if (replaced)
            notices.setNotice("overflow", "6 Fragen passen nicht", "Fragen einpassen",
                              [&] { calls << "second"; });
        QPushButton *button = notices.actionButton("overflow");
        QVERIFY(button);
        QCOMPARE(button->text(), QString("Fragen einpassen"));
        button->click();
        QCOMPARE(calls, QStringList({replaced ? "second" : "first"}));
    }

    void aNoticeWithoutActionHasNoButton() {
        QWidget window;
        auto *notices = new StatusNotices(&window);
        window.show();
        notices->setNotice("fit", "Passt nicht auf die Seite", "An Seite anpassen", [] {});
        notices->setNotice("fit", "Passt auf die Seite");
        QVERIFY(!notices->actionButton("fit"));
        QVERIFY(!notices->findChild<QPushButton *>("fitAction")->isVisible());
    }
};

QTEST_MAIN(TestStatusNotices)
#include "tst_statusnotices.moc"
