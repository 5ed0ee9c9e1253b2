// Faults around puzzle documents: full and read-only file systems, devices, broken files, the largest
// word table. Mounts are made in a mount namespace of this process alone, so they vanish with it.

#include "documentbytes.h"
#include "documentconversion.h"
#include "documentfile.h"
#include "fileproblem.h"
#include "nativefile.h"
#include "testfiles.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// A text of length code units, different for every n, with an umlaut and a surrogate pair in it.
std::u16string text(int n, std::size_t length) {
    std::u16string t = u"\u00c4\U0001F600" + QString::number(n).toStdU16String();
    while (t.size() < length)
        t += static_cast<char16_t>(u'a' + (t.size() + n) % 26);
    t.resize(length);
    if (t.size() > 0 && t.back() >= 0xD800 && t.back() <= 0xDBFF)
        t.back() = u'z';
    return t;
}

// The largest word table: 999 rows with 99-unit clues and answers, and 999 entries of such texts.
PuzzleDocument largestDocument() {
    PuzzleDocument d;
    for (int r = 0; r < defaultWordRows; ++r)
        d.rows[static_cast<std::size_t>(r)] = {text(r, 99), text(r + 1000, 99)};
    d.feld.fill(cellFree);
    for (int i = 0; i < defaultWordRows; ++i) {
        PuzzleDocumentEntry e;
        e.clue = text(i, 99);
        e.answer = text(i + 2000, 99);
        e.down = i % 2;
        e.line = i % 100;
        e.start = (i * 7) % 100;
        e.tries = i;
        d.entries.push_back(e);
        d.feld[static_cast<std::size_t>(i)] = clueCellValue(static_cast<std::uint32_t>(i), i % 2);
    }
    return d;
}

bool sameDocument(const PuzzleDocument &a, const PuzzleDocument &b) {
    return documentBytes(a) == documentBytes(b);
}

PuzzleDocument documentOfRows(int rows) {
    PuzzleDocument d;
    d.rows.assign(static_cast<std::size_t>(rows), {u"Frage", u"Antwort"});
    return d;
}

QString errnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString noMounts;    // why this process cannot mount; empty when it can
    QStringList mounted; // undone at the end, so the temporary folder can go

    // Mounts a tmpfs with the given options on a fresh folder; skips the test when mounting is not
    // allowed here.
    QString tmpfs(const QString &name, const char *options) {
        const QString path = dir.filePath(name);
        QDir().mkpath(path);
        if (!noMounts.isEmpty())
            return {};
        if (::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, options) != 0) {
            noMounts = QStringLiteral("tmpfs: ") + errnoText();
            return {};
        }
        mounted.prepend(path);
        return path;
    }

    static bool remountReadOnly(const QString &path, unsigned long extra) {
        return ::mount(nullptr, QFile::encodeName(path).constData(), nullptr, MS_REMOUNT | MS_RDONLY | extra,
                       nullptr) == 0;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        // A mount namespace of our own: nothing mounted here is seen outside, and it all goes away
        // when the test ends, even when it crashes.
        if (::unshare(CLONE_NEWNS) != 0)
            noMounts = QStringLiteral("kein eigener Mount-Namensraum (%1)").arg(errnoText());
        else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            noMounts = QStringLiteral("Mounts nicht privat (%1)").arg(errnoText());
    }

    void cleanupTestCase() {
        for (const QString &path : mounted)
            ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }

    // Saving onto a full file system: the old document stays whole, no temporary file is left, and
    // the message names the file and the reason in German.
    void fullFileSystemKeepsTheOldDocument_data() {
        QTest::addColumn<int>("oldRows"); // -1: no old document
        QTest::addColumn<int>("newRows");
        QTest::newRow("fits alone, not beside the old one") << 0 << 100;
        QTest::newRow("larger than the file system, over an old one") << 0 << 4000;
        QTest::newRow("larger than the file system, no old one") << -1 << 4000;
    }
    void fullFileSystemKeepsTheOldDocument() {
        QFETCH(int, oldRows);
        QFETCH(int, newRows);
        const QString folder = tmpfs(QStringLiteral("voll-%1-%2").arg(oldRows).arg(newRows), "size=64k");
        if (folder.isEmpty())
            QSKIP(qPrintable(QStringLiteral("kein tmpfs: ") + noMounts));
        const QString path = folder + QStringLiteral("/rätsel.wbx");
        QString error;
        if (oldRows >= 0)
            QVERIFY2(saveDocument(path, documentOfRows(oldRows), &error), qPrintable(error));
        const QByteArray old = fileBytes(path);
        const qint64 free = QStorageInfo(folder).bytesAvailable();

        QVERIFY(!saveDocument(path, documentOfRows(newRows), &error));
        QVERIFY2(error.contains(quotedPath(path)) && error.contains(QStringLiteral("Kein Platz mehr")),
                 qPrintable(error));
        QCOMPARE(fileBytes(path), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 oldRows >= 0 ? QStringList{QStringLiteral("rätsel.wbx")} : QStringList{});
        QStorageInfo after(folder);
        after.refresh();
        QCOMPARE(after.bytesAvailable(), free); // the failed attempt's space is free again
    }

    // Devices are written straight into, never replaced by a file. As root, nodes of our own stand in
    // for /dev/full and /dev/null, so that a fault here could never replace the machine's.
    void devicesAreWrittenNotReplaced_data() {
        QTest::addColumn<int>("minor"); // of the memory devices: 3 null, 7 full
        QTest::addColumn<bool>("saved");
        QTest::newRow("full device") << 7 << false;
        QTest::newRow("null device") << 3 << true;
    }
    void devicesAreWrittenNotReplaced() {
        QFETCH(int, minor);
        QFETCH(bool, saved);
        QString path = minor == 7 ? QStringLiteral("/dev/full") : QStringLiteral("/dev/null");
        if (geteuid() == 0) {
            // The temporary folder may forbid devices (nodev); a tmpfs of our own allows them.
            const QString folder = tmpfs(QStringLiteral("geraete-%1").arg(minor), "size=64k");
            if (folder.isEmpty())
                QSKIP(qPrintable(QStringLiteral("als root nur mit eigenem tmpfs: ") + noMounts));
            path = folder + QStringLiteral("/gerät");
            if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, minor)) != 0)
                QSKIP(qPrintable(QStringLiteral("mknod: ") + errnoText()));
        }
        QString error;
        QCOMPARE(saveDocument(path, PuzzleDocument(), &error), saved);
        if (!saved)
            QVERIFY2(error.contains(quotedPath(path)) && error.contains(QStringLiteral("Kein Platz mehr")),
                     qPrintable(error));
        QCOMPARE(int(fileKind(path)), int(FileKind::CharacterDevice));
    }

    void readOnlyPlacesReport_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("tmpfs remounted read-only") << "tmpfs";
        QTest::newRow("read-only bind mount") << "bind";
        QTest::newRow("/proc") << "proc";
    }
    void readOnlyPlacesReport() {
        QFETCH(QString, kind);
        QString error;
        if (kind == QLatin1String("proc")) {
            const QString path =
                QStringLiteral("/proc/wabrix-%1.wbx").arg(QCoreApplication::applicationPid());
            QVERIFY(!saveDocument(path, PuzzleDocument(), &error));
            QVERIFY2(error.contains(quotedPath(path)), qPrintable(error));
            QVERIFY(!QFileInfo::exists(path));
            return;
        }
        QString folder;
        if (kind == QLatin1String("tmpfs")) {
            folder = tmpfs(QStringLiteral("nurlesen-tmpfs"), "size=1m");
        } else if (noMounts.isEmpty()) {
            folder = dir.filePath(QStringLiteral("nurlesen-bind"));
            QDir().mkpath(folder);
            if (::mount(QFile::encodeName(folder).constData(), QFile::encodeName(folder).constData(), nullptr,
                        MS_BIND, nullptr) != 0) {
                noMounts = QStringLiteral("bind: ") + errnoText();
                folder.clear();
            } else {
                mounted.prepend(folder);
            }
        }
        if (folder.isEmpty())
            QSKIP(qPrintable(QStringLiteral("kein Mount möglich: ") + noMounts));
        const QString path = folder + QStringLiteral("/alt.wbx");
        QVERIFY2(saveDocument(path, documentOfRows(3), &error), qPrintable(error));
        QVERIFY2(remountReadOnly(folder, kind == QLatin1String("bind") ? MS_BIND : 0),
                 qPrintable(errnoText()));
        const QByteArray old = fileBytes(path);

        QVERIFY(!saveDocument(path, PuzzleDocument(), &error));
        QVERIFY2(error.contains(quotedPath(path)) && error.contains(QStringLiteral("schreibgeschützt")),
                 qPrintable(error));
        QVERIFY(!saveDocument(folder + QStringLiteral("/neu.wbx"), PuzzleDocument(), &error));
        QVERIFY2(error.contains(QStringLiteral("schreibgeschützt")), qPrintable(error));
        QCOMPARE(fileBytes(path), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("alt.wbx")});
        const DocumentReadResult read = loadDocument(path);
        QVERIFY2(read.ok, qPrintable(read.error));
    }

    // Files that are no document: the reader says why, names the file, hands out nothing of what it
    // read, and leaves the file as it was.
    void badFilesOpenAsNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray plain = documentBytes(PuzzleDocument());
        QTest::newRow("folder") << "ordner" << QByteArray() << "Das ist ein Ordner, keine Datei";
        QTest::newRow("empty file") << "leer.wbx" << QByteArray() << "Read beyond end of file";
        for (const int seed : {1, 2, 3, 4, 5}) {
            QRandomGenerator random(static_cast<quint32>(seed));
            QByteArray bytes(static_cast<qsizetype>(random.bounded(1, 100000)), 0);
            for (char &b : bytes)
                b = static_cast<char>(random.generate());
            QTest::addRow("random bytes, seed %d", seed) << "zufall.wbx" << bytes << "";
        }
        QTest::newRow("2^31-1 rows") << "zeilen.wbx" << le32(INT32_MAX) + plain.mid(4)
                                     << "Zeilenzahl 2147483647";
        QByteArray entries = plain;
        entries.replace(entries.size() - 4, 4, le32(INT32_MAX));
        QTest::newRow("2^31-1 entries") << "eintraege.wbx" << entries << "Eintragszahl 2147483647";
        QByteArray title = plain;
        title.replace(4 + 999 * 8, 4, le32(INT32_MIN));
        QTest::newRow("negative title length") << "titel.wbx" << title << "Ungültige Textlänge -2147483648";
        QTest::newRow("cut in the grid")
            << "halb.wbx" << plain.left(plain.size() / 2) << "Read beyond end of file";
    }
    void badFilesOpenAsNothing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString path = dir.filePath(name);
        if (name == QLatin1String("ordner"))
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(writeFile(path, bytes));
        const QDateTime modified = QFileInfo(path).lastModified();

        const DocumentReadResult read = loadDocument(path);
        QVERIFY(!read.ok);
        QVERIFY2(!read.reason.isEmpty() && read.reason.contains(reason), qPrintable(read.reason));
        QVERIFY2(read.error.contains(quotedPath(path)), qPrintable(read.error));
        QVERIFY(sameDocument(read.document, PuzzleDocument()));
        if (name != QLatin1String("ordner")) {
            QCOMPARE(fileBytes(path), bytes);
            QCOMPARE(QFileInfo(path).lastModified(), modified);
        }
    }

    // A file far larger than any document, whose counts all fit in it, is refused once reading would
    // pass 256 MB, before anything of that size is allocated (the file is sparse: it costs no disk).
    void documentsStopAt256MB() {
        const QString path = dir.filePath(QStringLiteral("riesig.wbx"));
        QVERIFY(writeFile(path, le32(1) + le32(150 << 20))); // one row, its clue 300 MB long
        QVERIFY(QFile::resize(path, qint64(310) << 20));
        const DocumentReadResult read = loadDocument(path);
        QVERIFY(!read.ok);
        QCOMPARE(read.reason, QStringLiteral("Das Wabrixrätsel wäre größer als 256 MB"));
    }

    // 999 rows of 99-unit texts and 999 entries come back unchanged from the file and from the model.
    void largestWordTableSurvivesSaveAndOpen() {
        const PuzzleDocument largest = largestDocument();
        const QString path = dir.filePath(QStringLiteral("gross.wbx"));
        QString error;
        QVERIFY2(saveDocument(path, largest, &error), qPrintable(error));
        const DocumentReadResult read = loadDocument(path);
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(read.document.rows == largest.rows);
        QVERIFY(read.document.entries == largest.entries);
        QVERIFY(read.document.feld == largest.feld);
        QCOMPARE(read.document.entries.back().answer.size(), std::size_t(99));

        PuzzleModel model;
        model.AddEntry(u"alt", u"ALT");
        QVERIFY(applyDocumentToModel(read.document, model));
        QCOMPARE(model.entryCount(), std::uint32_t(999));
        const PuzzleDocument back =
            makeDocument(documentWordTable(read.document), read.document.settings, model);
        QVERIFY(sameDocument(back, largest));
        QCOMPARE(fileBytes(path), documentBytes(back));
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
