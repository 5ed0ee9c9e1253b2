#include "wordlist.h"

#include <QtTest>

Q_DECLARE_METATYPE(WordListFormat)

class TestWordList : public QObject {
    Q_OBJECT

private slots:
    void parsing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<WordListFormat>("format");
        QTest::addColumn<QStringList>("expected"); // "clue|answer" per row
        const auto tsv = WordListFormat::TabSeparated;
        const auto csv = WordListFormat::Csv;
        QTest::newRow("tab separated") << QByteArray("Tier\tkatze\nFarbe\trot\n") << tsv
                                       << QStringList{"Tier|katze", "Farbe|rot"};
        QTest::newRow("no final line end") << QByteArray("a\tb") << tsv << QStringList{"a|b"};
        QTest::newRow("empty lines are rows") << QByteArray("a\tb\n\n\nc\td\n") << tsv
                                              << QStringList{"a|b", "|", "|", "c|d"};
        QTest::newRow("byte-order mark and CRLF") << QByteArray("\xEF\xBB\xBF" "K\xC3\xA4se\tk\xC3\xA4se\r\nx\ty\r\n")
                                                  << tsv << QStringList{"Käse|käse", "x|y"};
        QTest::newRow("line without tab") << QByteArray("nur Frage\n") << tsv << QStringList{"nur Frage|"};
        QTest::newRow("empty file") << QByteArray() << tsv << QStringList{};
        QTest::newRow("csv comma") << QByteArray("Tier,katze\n\"Farbe, kräftig\",rot\n") << csv
                                   << QStringList{"Tier|katze", "Farbe, kräftig|rot"};
        QTest::newRow("csv semicolon") << QByteArray("Tier;katze\nGeld, Münzen;bargeld\n") << csv
                                       << QStringList{"Tier|katze", "Geld, Münzen|bargeld"};
        QTest::newRow("csv doubled quotes") << QByteArray("\"Sag \"\"Hallo\"\"\",gruss\r\n") << csv
                                            << QStringList{"Sag \"Hallo\"|gruss"};
        QTest::newRow("csv line break in quotes") << QByteArray("\"zwei\nZeilen\",wort\n") << csv
                                                  << QStringList{"zwei\nZeilen|wort"};
        QTest::newRow("csv empty line") << QByteArray("a,b\n\nc,d\n") << csv << QStringList{"a|b", "|", "c|d"};
    }
    void parsing() {
        QFETCH(QByteArray, bytes);
        QFETCH(WordListFormat, format);
        QFETCH(QStringList, expected);
        const WordList list = parseWordList(bytes, format);
        QVERIFY2(list.ok(), qPrintable(list.error));
        QStringList got;
        for (const auto &row : list.rows)
            got << QString::fromStdU16String(row.first) + "|" + QString::fromStdU16String(row.second);
        QCOMPARE(got, expected);
    }

    void errorsNameTheLine_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<WordListFormat>("format");
        QTest::addColumn<QString>("error");
        QTest::newRow("invalid UTF-8 on line 3") << QByteArray("a\tb\nc\td\n\xFF\xFE\tx\n") << WordListFormat::TabSeparated
                                                 << "Zeile 3: kein gültiger UTF-8-Text.";
        QTest::newRow("unclosed quote") << QByteArray("a,b\n\"offen,x\n") << WordListFormat::Csv
                                        << "Zeile 3: Anführungszeichen wird nicht geschlossen.";
    }
    void errorsNameTheLine() {
        QFETCH(QByteArray, bytes);
        QFETCH(WordListFormat, format);
        QFETCH(QString, error);
        const WordList list = parseWordList(bytes, format);
        QCOMPARE(list.error, error);
        QVERIFY(list.rows.empty());
    }

    void missingFileIsAnError() {
        const WordList list = readWordList(QStringLiteral("/nonexistent/woerter.txt"));
        QVERIFY(!list.ok());
        QVERIFY(list.error.startsWith("Die Datei kann nicht gelesen werden"));
    }
};

QTEST_APPLESS_MAIN(TestWordList)
#include "tst_wordlist.moc"
