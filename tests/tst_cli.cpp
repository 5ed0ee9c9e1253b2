#include <QtTest>

namespace {

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result runCli(const QStringList &arguments) {
    QProcess p;
    p.start(QStringLiteral(WABRIX_CLI), arguments);
    p.waitForFinished(120000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QString example(const char *name) { return QStringLiteral(WABRIX_SOURCE_DIR "/examples/") + name; }

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString writeFile(const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

private slots:
    void statsLineHasEveryKeyInOrder() {
        const Result r = runCli({"generate", example("woerter-20.txt"), "--seed", "1", "--runs", "20", "--stats"});
        QCOMPARE(r.exitCode, 0);
        const QString line = QString::fromUtf8(r.out).trimmed();
        QRegularExpression shape(R"(^\{"entries":20,"placed":(\d+),"usedCells":(\d+),"area":(\d+),"bestRun":(\d+),)"
                                 R"("runs":20,"meanPlaced":([0-9.e+-]+),"seconds":([0-9.e+-]+)\}$)");
        const auto m = shape.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        QVERIFY(QJsonDocument::fromJson(r.out).isObject());
        QVERIFY(m.captured(1).toInt() >= 2);
        QVERIFY(m.captured(4).toInt() < 20);
    }

    void sameSeedSameOutput() {
        const QStringList args{"generate", example("woerter-20.txt"), "--seed", "7", "--runs", "10"};
        const Result a = runCli(args);
        const Result b = runCli(args);
        QCOMPARE(a.exitCode, 0);
        QCOMPARE(a.out, b.out);
        const QStringList lines = QString::fromUtf8(a.out).split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 2);
        for (const QString &l : lines)
            QCOMPARE(l.size(), lines.first().size());
        QVERIFY(lines.first().contains('#') || lines.at(1).contains('#'));
    }

    void bothEnginesGenerate_data() {
        QTest::addColumn<QString>("engine");
        QTest::newRow("literal") << "literal";
        QTest::newRow("fast") << "fast";
    }
    void bothEnginesGenerate() {
        QFETCH(QString, engine);
        const Result r = runCli({"generate", example("woerter-20.txt"), "--seed", "3", "--runs", "5", "--stats",
                                 "--engine", engine});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject stats = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(stats.value("runs").toInt(), 5);
        QVERIFY(stats.value("placed").toInt() >= 2);
    }

    void wordListOfOneRowPrintsItsWord() {
        const QString path = writeFile("one.txt", "Haustier\tkatze\n");
        const Result r = runCli({"generate", path, "--seed", "1", "--runs", "1"});
        QCOMPARE(r.exitCode, 0);
        const QString text = QString::fromUtf8(r.out).trimmed();
        QVERIFY2(text == "#KATZE" || text == "#\nK\nA\nT\nZ\nE", qPrintable(text));
    }

    void failures_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no subcommand") << QStringList{} << 2 << "Aufruf";
        QTest::newRow("unknown subcommand") << QStringList{"zaubern"} << 2 << "unbekannter Befehl";
        QTest::newRow("no word list") << QStringList{"generate"} << 2 << "Aufruf: wabrix-cli generate";
        QTest::newRow("runs 0") << QStringList{"generate", "x.txt", "--runs", "0"} << 2 << "--runs";
        QTest::newRow("runs too many") << QStringList{"generate", "x.txt", "--runs", "100001"} << 2 << "--runs";
        QTest::newRow("bad seed") << QStringList{"generate", "x.txt", "--seed", "abc"} << 2 << "--seed";
        QTest::newRow("unknown option") << QStringList{"generate", "x.txt", "--farbe"} << 2 << "farbe";
        QTest::newRow("unknown engine") << QStringList{"generate", "x.txt", "--engine", "zauber"} << 2 << "--engine";
        QTest::newRow("missing file") << QStringList{"generate", "/nonexistent/w.txt"} << 1 << "/nonexistent/w.txt";
    }
    void failures() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Result r = runCli(arguments);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    }

    void tooManyRowsIsAUsageError() {
        QByteArray many;
        for (int i = 0; i < 1000; ++i)
            many += "f\ta\n";
        const Result r = runCli({"generate", writeFile("many.txt", many)});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains("999"));
        QByteArray exact;
        for (int i = 0; i < 999; ++i)
            exact += "\n";
        QCOMPARE(runCli({"generate", writeFile("exact.txt", exact), "--runs", "1"}).exitCode, 0);
    }

    void invalidUtf8NamesTheLine() {
        const Result r = runCli({"generate", writeFile("bad.txt", "a\tb\n\xC3\x28\tx\n")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(QString::fromUtf8(r.err).contains("Zeile 2"), r.err.constData());
    }

    void helpAndVersion() {
        const Result v = runCli({"--version"});
        QCOMPARE(v.exitCode, 0);
        QVERIFY(v.out.startsWith("wabrix-cli "));
        const Result h = runCli({"generate", "--help"});
        QCOMPARE(h.exitCode, 0);
        QVERIFY(h.out.contains("--seed"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
