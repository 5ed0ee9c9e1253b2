#include "aboutbox.h"
#include "mainform.h"
#include "testfiles.h"

#include <QDesktopServices>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// Receives the addresses the desktop is asked to open, instead of a browser.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

// Runs action on the box once its modal loop runs; returns exec's result.
template <typename Action> int execWith(QDialog &box, Action action) {
    QTimer::singleShot(0, &box, [&box, action] {
        QTRY_VERIFY(box.isVisible());
        action();
    });
    return box.exec();
}

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT

private slots:
    void yearReplacesTheFirstPlaceholder_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("expected");
        QTest::newRow("started in 2031") << "Copyright © XXXX Wabrix" << 2031 << "Copyright © 2031 Wabrix";
        QTest::newRow("only the first") << "XXXX bis XXXX" << 2025 << "2025 bis XXXX";
        QTest::newRow("no placeholder") << "Copyright Wabrix" << 2025 << "Copyright Wabrix";
        QTest::newRow("no leading zeros") << "(XXXX)" << 999 << "(999)";
        QTest::newRow("five X") << "XXXXX" << 2030 << "2030X";
    }
    void yearReplacesTheFirstPlaceholder() {
        QFETCH(QString, text);
        QFETCH(int, year);
        QFETCH(QString, expected);
        QCOMPARE(withYear(text, year), expected);
    }

    // The copyright line shows the year of the box's creation in place of "XXXX", the rest unchanged.
    void copyrightShowsTheYearOfCreation() {
        TAboutBox box(nullptr, QDate(2031, 12, 31));
        QCOMPARE(box.Copyright->text(), QStringLiteral("Copyright © 2031 Die Macher von Wabrix"));
        box.show();
        box.hide();
        box.show();
        QCOMPARE(box.Copyright->text(), QStringLiteral("Copyright © 2031 Die Macher von Wabrix"));
    }

    void fixedSizeDialog() {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("Info"));
        QCOMPARE(box.minimumSize(), QSize(664, 453));
        QCOMPARE(box.maximumSize(), QSize(664, 453));
        QVERIFY(!(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(box.Panel1->geometry(), QRect(8, 8, 649, 385));
        QCOMPARE(box.Panel1->palette().color(QPalette::Window), QColor(240, 202, 166));
        QVERIFY(box.Panel1->autoFillBackground());
        QCOMPARE(box.ProductName->font().pixelSize(), 24);
        QVERIFY(box.ProductName->font().bold());
        QVERIFY(box.Label1->font().bold());
        QVERIFY(box.Label3->wordWrap() && box.Label3->text().contains(makerWebAddress.toString()));
        QVERIFY(box.BitBtn1->isDefault());
        QCOMPARE(box.BitBtn1->text(), QStringLiteral("OK"));
    }

    // The maker's picture is a progressive JPEG of 306 x 322 pixels, decoded by Qt's JPEG plugin.
    void pictureIsAProgressiveJpeg() {
        QVERIFY2(QImageReader::supportedImageFormats().contains("jpeg"), "Qt's JPEG plugin is not loaded");
        const QByteArray bytes = fileBytes(makerPicture);
        QVERIFY(bytes.startsWith("\xFF\xD8"));
        QVERIFY2(bytes.contains("\xFF\xC2"), "no progressive frame"); // SOF2
        QImageReader reader(makerPicture);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage picture = reader.read();
        QVERIFY2(!picture.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(picture.size(), QSize(306, 322));
        QVERIFY(!picture.isGrayscale());
        TAboutBox box;
        QCOMPARE(box.ProgramIcon->pixmap().size(), QSize(306, 322));
    }

    void okAndEnterCloseWithAccepted() {
        TAboutBox box;
        QCOMPARE(execWith(box, [&box] { QTest::mouseClick(box.BitBtn1, Qt::LeftButton); }),
                 int(QDialog::Accepted));
        QCOMPARE(execWith(box, [&box] { QTest::keyClick(&box, Qt::Key_Return); }), int(QDialog::Accepted));
    }

    // Escape closes nothing; the close box closes with Rejected.
    void escapeClosesNothing() {
        TAboutBox box;
        bool openAfterEscape = false;
        const int result = execWith(box, [&] {
            QTest::keyClick(&box, Qt::Key_Escape);
            QTest::keyClick(box.BitBtnXP1, Qt::Key_Escape);
            QCoreApplication::processEvents();
            openAfterEscape = box.isVisible();
            box.close();
        });
        QVERIFY(openAfterEscape);
        QCOMPARE(result, int(QDialog::Rejected));
    }

    // The web-address button asks the desktop to open the maker's address; the box stays open.
    void webButtonOpensTheAddress() {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(makerWebAddress.scheme(), &catcher, "open");
        TAboutBox box;
        bool openAfterClick = false;
        execWith(box, [&] {
            QTest::mouseClick(box.BitBtnXP1, Qt::LeftButton);
            openAfterClick = box.isVisible();
            box.accept();
        });
        QDesktopServices::unsetUrlHandler(makerWebAddress.scheme());
        QVERIFY(openAfterClick);
        QCOMPARE(catcher.opened, QList<QUrl>{makerWebAddress});
        QCOMPARE(makerWebAddress.host(), QStringLiteral("www.example.org"));
    }

    // "Über..." shows the box the program made after the window, modally, as often as asked.
    void menuShowsTheBoxModally() {
        TMainForm form;
        TAboutBox box(&form);
        form.setAboutBox(&box);
        QAction *about = form.findChild<QAction *>(QStringLiteral("ber1"));
        QVERIFY(about);
        for (int time = 0; time < 2; ++time) {
            QWidget *shown = nullptr;
            QTimer::singleShot(0, &form, [&] {
                QTRY_VERIFY(QApplication::activeModalWidget());
                shown = QApplication::activeModalWidget();
                QTest::mouseClick(box.BitBtn1, Qt::LeftButton);
            });
            about->trigger();
            QCOMPARE(shown, static_cast<QWidget *>(&box));
        }
        QVERIFY(!box.isVisible());
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
