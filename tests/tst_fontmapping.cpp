#include "canvas.h"
#include "fontchoicedialog.h"
#include "fontmapping.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QPainter>
#include <QtTest>

namespace {

const QString liberationSans = QStringLiteral("Liberation Sans");

// Share of the text's advance box that the text covers with dark pixels, drawn black on white at
// 96 pixels per inch.
double inkShare(const FontDescription &description, const QString &text) {
    const QFont font = scaledFont(description, 100, 96);
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text), metrics.height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        Canvas canvas(painter, 96);
        canvas.setFont(font, Qt::black);
        canvas.setTextBackground(TextBackground::Transparent);
        canvas.textOut(0, 0, text);
    }
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    return double(dark) / (image.width() * image.height());
}

} // namespace

class TestFontMapping : public QObject {
    Q_OBJECT

private slots:
    void weightInFaceName_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("weight");
        QTest::addColumn<QString>("family"); // empty: the name states no weight
        QTest::newRow("Arial Black") << "Arial Black" << int(QFont::Black) << "Arial";
        QTest::newRow("heavy") << "Franklin Gothic Heavy" << int(QFont::Black) << "Franklin Gothic";
        QTest::newRow("two words: Extra Bold")
            << "Helvetica Extra Bold" << int(QFont::ExtraBold) << "Helvetica";
        QTest::newRow("semibold, any case") << "Segoe UI SEMIBOLD" << int(QFont::DemiBold) << "Segoe UI";
        QTest::newRow("light") << "Segoe UI Light" << int(QFont::Light) << "Segoe UI";
        QTest::newRow("blanks around") << "  Arial   Black " << int(QFont::Black) << "Arial";
        QTest::newRow("Arial Narrow: no weight") << "Arial Narrow" << 0 << "";
        QTest::newRow("weight word inside a word") << "Blackadder ITC" << 0 << "";
        QTest::newRow("weight word not last") << "Black Chancery" << 0 << "";
        QTest::newRow("nothing but a weight") << "Black" << 0 << "";
        QTest::newRow("empty") << "" << 0 << "";
    }
    void weightInFaceName() {
        QFETCH(QString, face);
        QFETCH(int, weight);
        QFETCH(QString, family);
        const std::optional<NamedWeight> named = ::weightInFaceName(face);
        QCOMPARE(named.has_value(), !family.isEmpty());
        if (!named)
            return;
        QCOMPARE(named->family, family);
        QCOMPARE(int(named->weight), weight);
    }

    // The default title font "Arial Black" has no free counterpart: drawn with the family that
    // "Arial" finds at black weight, it comes out as heavy as the system allows.
    void defaultTitleIsHeavy() {
        if (QFontDatabase::hasFamily(QStringLiteral("Arial Black")))
            QSKIP("Arial Black is installed and drawn as itself");
        const FontDescription title = FontDescription::defaultTitleFont();
        const QFont font = scaledFont(title, 100, 96);
        QCOMPARE(font.pixelSize(), 19);
        const QFontInfo drawn(font);
        QVERIFY2(drawn.bold(), qPrintable(drawn.family() + u' ' + drawn.styleName()));
        if (QFontDatabase::hasFamily(liberationSans))
            QCOMPARE(drawn.family(), liberationSans);

        FontDescription regular = title;
        regular.face = liberationSans.toStdU16String();
        const QString text = QStringLiteral("Wabrixrätsel");
        const double heavy = inkShare(title, text), plain = inkShare(regular, text);
        QVERIFY2(heavy > plain * 1.25, qPrintable(QStringLiteral("%1 against %2").arg(heavy).arg(plain)));
    }

    void boldLightFaceIsAtLeastBold() {
        FontDescription d{u"Segoe UI Light", 10};
        d.bold = true;
        if (QFontDatabase::hasFamily(QString::fromStdU16String(d.face)))
            QSKIP("Segoe UI Light is installed");
        QCOMPARE(scaledFont(d, 100, 96).weight(), QFont::Bold);
        d.bold = false;
        QCOMPARE(scaledFont(d, 100, 96).weight(), QFont::Light);
    }

    // "Arial Narrow" is left to the system's font matching, which finds Liberation Sans Narrow.
    void narrowClueFont() {
        const QFont font = scaledFont(FontDescription::defaultClueFont(), 100, 96);
        QCOMPARE(font.family(), QStringLiteral("Arial Narrow"));
        QCOMPARE(font.weight(), QFont::Normal);
        if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Sans Narrow")))
            QSKIP("Liberation Sans Narrow is not installed");
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans Narrow"));
    }

    // The font window shows the heavy stand-in; a size change keeps the stored face and style, so a
    // document saved afterwards still says "Arial Black", not bold.
    void fontWindowKeepsTheStoredHeavyFace() {
        const FontDescription old = FontDescription::defaultTitleFont();
        FontChoiceWindow window;
        window.setChoice(dialogFont(old), fontColor(old.color));
        const QFont shown = window.currentFont();
        QCOMPARE(shown.family(), QFontInfo(dialogFont(old)).family());
        QVERIFY(QFontInfo(dialogFont(old)).bold() || QFontDatabase::hasFamily(QStringLiteral("Arial Black")));

        QFont chosen = shown;
        chosen.setPointSize(20);
        FontDescription result = FontChoiceDialog::chosenFont(old, shown, chosen, nullptr, 96);
        QCOMPARE(QString::fromStdU16String(result.face), QStringLiteral("Arial Black"));
        QCOMPARE(result.pointSize, 20);
        QVERIFY(!result.bold);

        // Another weight in the window is the user's choice.
        chosen.setWeight(shown.weight() == QFont::Normal ? QFont::Bold : QFont::Normal);
        result = FontChoiceDialog::chosenFont(old, shown, chosen, nullptr, 96);
        QCOMPARE(result.bold, chosen.weight() >= QFont::Bold);
    }
};

QTEST_MAIN(TestFontMapping)
#include "tst_fontmapping.moc"
