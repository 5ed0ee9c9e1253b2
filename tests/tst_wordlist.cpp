#include "testfiles.h"
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
        QTest::newRow("tab separated")
            << QByteArray("Tier\tkatze\nFarbe\trot\n") << tsv << QStringList{"Tier|katze", "Farbe|rot"};
        QTest::newRow("no final line end") << QByteArray("a\tb") << tsv << QStringList{"a|b"};
        QTest::newRow("empty lines are rows")
            << QByteArray("a\tb\n\n\nc\td\n") << tsv << QStringList{"a|b", "|", "|", "c|d"};
        QTest::newRow("byte-order mark and CRLF") << QByteArray("\xEF\xBB\xBF"
                                                                "K\xC3\xA4se\tk\xC3\xA4se\r\nx\ty\r\n")
                                                  << tsv << QStringList{"Käse|käse", "x|y"};
        QTest::newRow("line without tab") << QByteArray("nur Frage\n") << tsv << QStringList{"nur Frage|"};
        QTest::newRow("empty file") << QByteArray() << tsv << QStringList{};
        QTest::newRow("csv comma") << QByteArray("Tier,katze\n\"Farbe, kräftig\",rot\n") << csv
                                   << QStringList{"Tier|katze", "Farbe, kräftig|rot"};
        QTest::newRow("csv semicolon") << QByteArray("Tier;katze\nGeld, Münzen;bargeld\n") << csv
                                       << QStringList{"Tier|katze", "Geld, Münzen|bargeld"};
        QTest::newRow("csv doubled quotes")
            << QByteArray("\"Sag \"\"Hallo\"\"\",gruss\r\n") << csv << QStringList{"Sag \"Hallo\"|gruss"};
        QTest::newRow("csv line break in quotes")
            << QByteArray("\"zwei\nZeilen\",wort\n") << csv << QStringList{"zwei\nZeilen|wort"};
        QTest::newRow("csv empty line")
            << QByteArray("a,b\n\nc,d\n") << csv << QStringList{"a|b", "|", "c|d"};
        QTest::newRow("only a byte-order mark") << QByteArray("\xEF\xBB\xBF") << tsv << QStringList{};
        QTest::newRow("third field ignored") << QByteArray("a\tb\tc\n") << tsv << QStringList{"a|b"};
        QTest::newRow("lone CR stays in the text") << QByteArray("a\rb\tc\n") << tsv << QStringList{"a\rb|c"};
        QTest::newRow("csv CRLF inside quotes becomes LF") << QByteArray("\"zwei\r\nZeilen\",wort\r\nx,y\r\n")
                                                           << csv << QStringList{"zwei\nZeilen|wort", "x|y"};
        QTest::newRow("csv quote inside a field is a letter")
            << QByteArray("Sag \"Hallo\",gruss\n") << csv << QStringList{"Sag \"Hallo\"|gruss"};
        QTest::newRow("csv quoted third field may hold separators and line ends")
            << QByteArray("a,b,\"x,\ny\"\nc,d\n") << csv << QStringList{"a|b", "c|d"};
        QTest::newRow("csv empty quoted fields") << QByteArray("\"\",\"\"") << csv << QStringList{"|"};
        QTest::newRow("csv semicolons, the first clue with a comma")
            << QByteArray("Stadt, in Bayern;münchen\nTier;katze\n") << csv
            << QStringList{"Stadt, in Bayern|münchen", "Tier|katze"};
        QTest::newRow("csv semicolons, more commas in the clues")
            << QByteArray("Tier;katze\nA, B, C und D;buchstaben\n") << csv
            << QStringList{"Tier|katze", "A, B, C und D|buchstaben"};
        QTest::newRow("csv commas, a semicolon in the first clue")
            << QByteArray("Zeichen; Strich,semikolon\nTier,katze\n") << csv
            << QStringList{"Zeichen; Strich|semikolon", "Tier|katze"};
        QTest::newRow("csv byte-order mark and semicolons") << QByteArray("\xEF\xBB\xBF"
                                                                          "Frage;Antwort\r\n")
                                                            << csv << QStringList{"Frage|Antwort"};
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
        const auto tsv = WordListFormat::TabSeparated;
        const auto csv = WordListFormat::Csv;
        const QString invalid = QStringLiteral("kein gültiger UTF-8-Text.");
        const QString nul = QStringLiteral("enthält ein Nullbyte, das ist kein UTF-8-Text.");
        QTest::newRow("invalid UTF-8 on line 3")
            << QByteArray("a\tb\nc\td\n\xFF\xFE\tx\n") << tsv << "Zeile 3: " + invalid;
        QTest::newRow("unclosed quote names the line it opens on")
            << QByteArray("a,b\n\"offen,x\nweiter\n") << csv
            << "Zeile 2: Anführungszeichen wird nicht geschlossen.";
        QTest::newRow("NUL byte") << QByteArray("a\tb\nka\0tze\tx\n", 13) << tsv << "Zeile 2: " + nul;
        QTest::newRow("UTF-16 text") << QByteArray("a\0\t\0b\0", 6) << csv << "Zeile 1: " + nul;
        QTest::newRow("surrogate encoded in UTF-8")
            << QByteArray("ok\n\xED\xA0\x80\tx\n") << tsv << "Zeile 2: " + invalid;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF\n") << tsv << "Zeile 1: " + invalid;
        QTest::newRow("beyond U+10FFFF")
            << QByteArray("\n\n\n\xF4\x90\x80\x80") << tsv << "Zeile 4: " + invalid;
        QTest::newRow("sequence cut by the end") << QByteArray("a\t\xC3") << tsv << "Zeile 1: " + invalid;
        QTest::newRow("sequence cut by a line end")
            << QByteArray("a\t\xE2\x82\nb\n") << csv << "Zeile 1: " + invalid;
    }
    void errorsNameTheLine() {
        QFETCH(QByteArray, bytes);
        QFETCH(WordListFormat, format);
        QFETCH(QString, error);
        const WordList list = parseWordList(bytes, format);
        QCOMPARE(list.error, error);
        QVERIFY(list.rows.empty());
    }

    void rowsPastTheLimitAreCountedNotKept_data() {
        QTest::addColumn<WordListFormat>("format");
        QTest::newRow("tab separated") << WordListFormat::TabSeparated;
        QTest::newRow("csv") << WordListFormat::Csv;
    }
    void rowsPastTheLimitAreCountedNotKept() {
        QFETCH(WordListFormat, format);
        QByteArray text;
        for (int i = 0; i < 1500; ++i)
            text += format == WordListFormat::Csv ? QByteArray("f,\"a\nb\"\n") : QByteArray("f\ta\n");
        const WordList list = parseWordList(text, format);
        QVERIFY2(list.ok(), qPrintable(list.error));
        QCOMPARE(list.rowCount, std::size_t(1500));
        QCOMPARE(list.rows.size(), maxWordListRows);
        QCOMPARE(parseWordList(text, format, 3).rows.size(), std::size_t(3));
    }

    void files_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("error"); // empty: read without error
        QTest::addColumn<int>("rows");
        QTest::newRow("missing file")
            << QStringLiteral("/nonexistent/woerter.txt")
            << "Die Datei kann nicht gelesen werden: Die Datei existiert nicht" << 0;
        QTest::newRow("folder") << QDir::tempPath()
                                << "Die Datei kann nicht gelesen werden: Das ist ein Ordner, keine Datei"
                                << 0;
        QTest::newRow("/dev/null: no rows") << QStringLiteral("/dev/null") << "" << 0;
        QTest::newRow("/dev/zero never ends")
            << QStringLiteral("/dev/zero") << "Die Wortliste ist größer als 32 MB." << 0;
        QTest::newRow("40 MB file") << QStringLiteral("big") << "Die Wortliste ist größer als 32 MB." << 0;
        QTest::newRow("10 MB on one line") << QStringLiteral("long") << "" << 2;
    }
    void files() {
        QFETCH(QString, path);
        QFETCH(QString, error);
        QFETCH(int, rows);
        QTemporaryDir dir;
        if (path == "big") {
            path = dir.filePath("big.txt");
            QVERIFY(writeFile(path, {}) && QFile::resize(path, 40 << 20)); // sparse: costs no disk
        } else if (path == "long") {
            path = dir.filePath("long.txt");
            QVERIFY(writeFile(path, "Frage\t" + QByteArray(10 << 20, 'A') + "\nTier\tkatze\n"));
        }
        const WordList list = readWordList(path);
        QCOMPARE(list.error, error);
        QCOMPARE(int(list.rows.size()), rows);
        if (rows == 2) {
            QCOMPARE(list.rows[0].second.size(), std::size_t(10 << 20));
            QVERIFY(list.rows[1].second == u"katze");
        }
    }
};

QTEST_APPLESS_MAIN(TestWordList)
#include "tst_wordlist.moc"
