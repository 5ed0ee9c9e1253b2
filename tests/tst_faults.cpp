// Faults around everything the program writes and reads: full and read-only file systems, a full
// temporary folder, devices, pipes, links, names that are not UTF-8, interruptions, broken files, the
// largest word table. Mounts are made in a mount namespace of this process alone, so they vanish with
// it; the command line runs inside it too.

#include "documentbytes.h"
#include "documentconversion.h"
#include "documentfile.h"
#include "filename.h"
#include "fileproblem.h"
#include "nativefile.h"
#include "pictureexport.h"
#include "programrun.h"
#include "safefile.h"
#include "samplepuzzle.h"
#include "temporaryfiles.h"
#include "testfiles.h"

#include <QPrinter>

#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>

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
    d.grid.fill(cellFree);
    for (int i = 0; i < defaultWordRows; ++i) {
        PuzzleDocumentEntry e;
        e.clue = text(i, 99);
        e.answer = text(i + 2000, 99);
        e.down = i % 2;
        e.line = i % 100;
        e.start = (i * 7) % 100;
        e.tries = i;
        d.entries.push_back(e);
        d.grid[static_cast<std::size_t>(i)] = clueCellValue(static_cast<std::uint32_t>(i), i % 2);
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

// Files by the bytes of their names, so that names which are not UTF-8 stay what they are.
QByteArray bytesOf(const QByteArray &path) {
    QFile file;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return QByteArray("(nicht lesbar)");
    return file.readAll();
}

bool put(const QByteArray &path, const QByteArray &bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool whole = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && whole;
}

mode_t modeOf(const QByteArray &path, bool followLinks = true) {
    struct stat info {};
    if ((followLinks ? ::stat(path.constData(), &info) : ::lstat(path.constData(), &info)) != 0)
        return 0;
    return info.st_mode;
}

// The names in a folder, hidden ones included, sorted; read by their bytes, so that names which are
// not UTF-8 count as what they are.
QStringList namesIn(const QString &folder) {
    QStringList names;
    if (DIR *listing = ::opendir(QFile::encodeName(folder).constData())) {
        while (const dirent *entry = ::readdir(listing))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names << fileNameFromSystem(entry->d_name);
        ::closedir(listing);
    }
    names.sort();
    return names;
}

// Fills the file system of folder up to the last byte with the file "fuellung".
bool fillUp(const QString &folder) {
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/fuellung"));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'f');
    for (int size = block.size(); size > 0; size /= 2)
        while (::write(fd, block.constData(), static_cast<size_t>(size)) == size) {
        }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
}

// A PDF with its creation time blanked, for comparing two pages made at different moments.
QByteArray withoutCreationTime(QByteArray bytes) {
    static const QRegularExpression creation(QStringLiteral("/CreationDate \\(D:[0-9Z+'-]*\\)"));
    return QString::fromLatin1(bytes).replace(creation, QStringLiteral("/CreationDate ()")).toLatin1();
}

// Reads everything from a pipe in a thread of its own; once the writer has gone, finish() gives it.
class PipeReader {
public:
    explicit PipeReader(const QByteArray &path) : path_(path) {
        thread_ = std::thread([this] {
            const int fd = ::open(path_.constData(), O_RDONLY | O_CLOEXEC);
            char buffer[65536];
            for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                bytes_.append(buffer, n);
            if (fd >= 0)
                ::close(fd);
        });
    }
    // Also when nobody wrote: a writer that opens and closes at once lets the reader finish.
    QByteArray finish() {
        const int fd = ::open(path_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
        thread_.join();
        return bytes_;
    }

private:
    QByteArray path_;
    QByteArray bytes_;
    std::thread thread_;
};

// The command line's outputs, each with arguments for a small output (under the 16 KiB that a file
// buffer holds) and a large one; OUT stands for the output's name, the other words for the test's
// input files.
struct OutputKind {
    const char *name;
    const char *suffix;
    QList<QByteArray> small;
    QList<QByteArray> large;
};

const QList<OutputKind> &outputKinds() {
    static const QList<OutputKind> kinds{
        {"document",
         ".wbx",
         {"new", "-o", "OUT"},
         {"generate", "WORDS", "--seed", "3", "--runs", "5", "-o", "OUT"}},
        {"pdf", ".pdf", {"render", "ONE", "-o", "OUT"}, {"render", "LARGE", "-o", "OUT", "--zoom", "50"}},
        {"png",
         ".png",
         {"render", "PUZZLE", "-o", "OUT", "--dpi", "20"},
         {"render", "PUZZLE", "-o", "OUT", "--dpi", "300"}},
        {"bmp",
         ".bmp",
         {"render", "PUZZLE", "-o", "OUT", "--dpi", "5"},
         {"render", "PUZZLE", "-o", "OUT", "--dpi", "20"}},
        {"svg", ".svg", {"render", "ONE", "-o", "OUT"}, {"render", "PUZZLE", "-o", "OUT"}},
        {"thumbnail",
         ".png",
         {"thumbnail", "PUZZLE", "OUT", "--size", "32"},
         {"thumbnail", "PUZZLE", "OUT", "--size", "1024"}},
        {"generated picture",
         ".png",
         {"generate", "ONEWORD", "--seed", "1", "--runs", "1", "--png", "OUT"},
         {"generate", "WORDS", "--seed", "3", "--runs", "5", "--png", "OUT"}},
    };
    return kinds;
}

// Where an output goes in the fault table.
enum class Place {
    FullSmall,           // a full file system, the small output
    FullLarge,           // a full file system, the large output
    FullTemporaryFolder, // $TMPDIR on a full file system
    ReadOnlyFileSystem,  // a tmpfs remounted read-only
    ReadOnlyFolder,      // a folder without write permission, for a user who is not root
    ReadOnlyFile,        // an old file of mode 0444, written by root
    Pipe,                // a named pipe with a reader
    LinkToDevice,        // a symbolic link to a device that is always full
    LinkToFile,          // a symbolic link to a plain file
    NameNotUtf8,         // "R\xe4tsel" beside "Rätsel"
};

const char *placeName(Place place) {
    switch (place) {
    case Place::FullSmall:
        return "full file system, small output";
    case Place::FullLarge:
        return "full file system, large output";
    case Place::FullTemporaryFolder:
        return "full temporary folder";
    case Place::ReadOnlyFileSystem:
        return "read-only file system";
    case Place::ReadOnlyFolder:
        return "read-only folder";
    case Place::ReadOnlyFile:
        return "read-only file, as root";
    case Place::Pipe:
        return "pipe";
    case Place::LinkToDevice:
        return "link to a device";
    case Place::LinkToFile:
        return "link to a plain file";
    case Place::NameNotUtf8:
        return "name not UTF-8";
    }
    return "";
}

constexpr uid_t nobody = 65534;

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString noMounts;                      // why this process cannot mount; empty when it can
    QStringList mounted;                   // undone at the end, so the temporary folder can go
    QHash<QByteArray, QByteArray> inputs;  // the words in OutputKind's arguments, by their files
    QHash<QString, QByteArray> references; // an output written into a plain file, by kind and size
    QByteArray runtimeFolder;              // the command line's XDG_RUNTIME_DIR

    ProgramRun runCli(const QList<QByteArray> &arguments, const QList<QByteArray> &environment = {},
                      int userId = -1, int signalAfterMilliseconds = -1, int signalNumber = SIGTERM) {
        ProgramStart start;
        start.arguments = arguments;
        // A fixed hash seed makes Qt write its PDF objects in the same order every time.
        start.environment = environment + QList<QByteArray>{"QT_HASH_SEED=0"};
        start.userId = userId;
        start.signalAfterMilliseconds = signalAfterMilliseconds;
        start.signalNumber = signalNumber;
        return runProgramBytes(QByteArrayLiteral(WABRIX_CLI), start);
    }

    // The arguments of an output kind with OUT and the input words replaced by files.
    QList<QByteArray> argumentsFor(const OutputKind &kind, bool large, const QByteArray &out) const {
        QList<QByteArray> arguments;
        for (const QByteArray &word : large ? kind.large : kind.small)
            arguments << (word == "OUT" ? out : inputs.value(word, word));
        return arguments;
    }

    // What the kind writes into a plain file; empty when the command line fails there.
    QByteArray reference(int kindIndex, bool large) {
        const OutputKind &kind = outputKinds()[kindIndex];
        const QString key = QStringLiteral("%1-%2").arg(kindIndex).arg(large);
        if (!references.contains(key)) {
            const QByteArray out =
                QFile::encodeName(dir.filePath(QStringLiteral("referenz-") + key)) + kind.suffix;
            const ProgramRun run =
                runCli(argumentsFor(kind, large, out), {"XDG_RUNTIME_DIR=" + runtimeFolder});
            references[key] = run.exitCode == 0 ? bytesOf(out) : QByteArray();
        }
        return references[key];
    }

    // A fresh folder for a test row: a tmpfs of its own when asked (skips without one), else a plain one.
    QString freshFolder(const QString &name, bool ownFileSystem,
                        const char *options = "size=256k,mode=0755") {
        if (ownFileSystem)
            return tmpfs(name, options);
        const QString path = dir.filePath(name);
        return QDir().mkpath(path) ? path : QString();
    }

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
        // A user who is not root runs some commands and must reach the test's files.
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                      QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                                      QFileDevice::ExeGroup));
        runtimeFolder = QFile::encodeName(dir.filePath(QStringLiteral("laufzeit")));
        QVERIFY(::mkdir(runtimeFolder.constData(), 0700) == 0);
        const QString oneWord = dir.filePath(QStringLiteral("ein-wort.txt"));
        QVERIFY(writeFile(oneWord, "Haustier\tkatze\n"));
        inputs["WORDS"] = QFile::encodeName(examplePath(QStringLiteral("woerter-20.txt")));
        inputs["ONEWORD"] = QFile::encodeName(oneWord);
        const struct {
            QByteArray word, name, words, runs;
        } documents[] = {
            {"PUZZLE", "raetsel.wbx", inputs["WORDS"], "20"},
            {"ONE", "ein-wort.wbx", inputs["ONEWORD"], "1"},
            {"LARGE", "gross.wbx", QFile::encodeName(examplePath(QStringLiteral("woerter-999.txt"))), "1"}};
        for (const auto &d : documents) {
            inputs[d.word] = QFile::encodeName(dir.filePath(QString::fromLatin1(d.name)));
            const ProgramRun run =
                runCli({"generate", d.words, "--seed", "3", "--runs", d.runs, "-o", inputs[d.word]},
                       {"XDG_RUNTIME_DIR=" + runtimeFolder});
            QVERIFY2(run.exitCode == 0, run.err.constData());
        }
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

    // Every output of the command line in every place where writing fails or is special: a failure is
    // exit 1 with one German line naming the file, the old file keeps its bytes and nothing else is left
    // in its folder; where writing can succeed, the output is exactly what a plain file gets.
    void outputFaults_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("place");
        for (int kind = 0; kind < outputKinds().size(); ++kind)
            for (int place = int(Place::FullSmall); place <= int(Place::NameNotUtf8); ++place)
                QTest::addRow("%s, %s", outputKinds()[kind].name, placeName(Place(place))) << kind << place;
    }
    void outputFaults() {
        QFETCH(int, kind);
        QFETCH(int, place);
        const OutputKind &output = outputKinds()[kind];
        const Place where = Place(place);
        const bool large = where == Place::FullLarge;
        const QByteArray expected = reference(kind, large);
        QVERIFY(!expected.isEmpty());
        if (large)
            QVERIFY2(expected.size() > 16384, "the large output must pass a file buffer");
        else if (kind != 0) // a document is never that small
            QVERIFY2(expected.size() < 16384, "the small output must fit into a file buffer");

        const bool ownFileSystem = where == Place::FullSmall || where == Place::FullLarge ||
                                   where == Place::ReadOnlyFileSystem || where == Place::LinkToDevice;
        const QString name = QStringLiteral("ausgabe-%1-%2").arg(kind).arg(place);
        const QString folder = freshFolder(name, ownFileSystem);
        if (folder.isEmpty())
            QSKIP(qPrintable(QStringLiteral("kein tmpfs: ") + noMounts));
        const QByteArray folderBytes = QFile::encodeName(folder);
        QByteArray target = folderBytes + "/ausgabe" + output.suffix;
        QByteArray oldFile = target;
        const QByteArray old = QByteArray("alte Ausgabe: ") + output.name;
        QList<QByteArray> environment{"XDG_RUNTIME_DIR=" + runtimeFolder};
        int user = -1;
        QString temporaryFolder;
        std::unique_ptr<PipeReader> reader;
        switch (where) {
        case Place::FullSmall:
        case Place::FullLarge:
            QVERIFY(put(target, old));
            QVERIFY(fillUp(folder));
            break;
        case Place::FullTemporaryFolder:
            QVERIFY(put(target, old));
            temporaryFolder = tmpfs(name + QStringLiteral("-tmp"), "size=64k");
            if (temporaryFolder.isEmpty())
                QSKIP(qPrintable(QStringLiteral("kein tmpfs: ") + noMounts));
            QVERIFY(fillUp(temporaryFolder));
            environment << "TMPDIR=" + QFile::encodeName(temporaryFolder);
            break;
        case Place::ReadOnlyFileSystem:
            QVERIFY(put(target, old));
            QVERIFY2(remountReadOnly(folder, 0), qPrintable(errnoText()));
            break;
        case Place::ReadOnlyFolder:
            if (geteuid() != 0)
                QSKIP("nur root kann den Befehl als anderer Benutzer starten");
            QVERIFY(put(target, old));
            QVERIFY(::chmod(target.constData(), 0666) == 0 && ::chmod(folderBytes.constData(), 0555) == 0);
            user = int(nobody);
            environment = {"XDG_RUNTIME_DIR="}; // the command line makes one of its own
            break;
        case Place::ReadOnlyFile:
            QVERIFY(put(target, old));
            QVERIFY(::chmod(target.constData(), 0444) == 0);
            break;
        case Place::Pipe:
            QVERIFY(::mkfifo(target.constData(), 0600) == 0);
            reader = std::make_unique<PipeReader>(target);
            break;
        case Place::LinkToDevice:
            // A node of our own stands in for /dev/full, so that a fault could never replace the machine's.
            QVERIFY2(::mknod((folderBytes + "/geraet").constData(), S_IFCHR | 0666, makedev(1, 7)) == 0,
                     qPrintable(errnoText()));
            QVERIFY(::symlink("geraet", target.constData()) == 0);
            break;
        case Place::LinkToFile:
            oldFile = folderBytes + "/ziel" + output.suffix;
            QVERIFY(put(oldFile, old));
            QVERIFY(::symlink(QByteArray(QByteArray("ziel") + output.suffix).constData(),
                              target.constData()) == 0);
            break;
        case Place::NameNotUtf8:
            oldFile = folderBytes + "/R\xc3\xa4tsel" + output.suffix;
            QVERIFY(put(oldFile, old));
            target = folderBytes + "/R\xe4tsel" + output.suffix;
            break;
        }
        // Qt cannot remove a name that is not UTF-8 when the test's folder goes.
        const auto removeOddName = qScopeGuard([&] {
            if (where == Place::NameNotUtf8)
                ::unlink(target.constData());
        });
        const QStringList before = namesIn(folder);

        const ProgramRun run = runCli(argumentsFor(output, large, target), environment, user);
        const QByteArray piped = reader ? reader->finish() : QByteArray();

        QString reason;
        switch (where) {
        case Place::FullSmall:
        case Place::FullLarge:
        case Place::LinkToDevice:
            reason = QStringLiteral("Kein Platz mehr auf dem Datenträger");
            break;
        case Place::ReadOnlyFileSystem:
            reason = QStringLiteral("Das Dateisystem ist schreibgeschützt");
            break;
        case Place::ReadOnlyFolder:
            reason = QStringLiteral("Keine Berechtigung zum Schreiben in den Ordner „%1“").arg(folder);
            break;
        case Place::ReadOnlyFile:
            reason = QStringLiteral("Die Datei ist schreibgeschützt");
            break;
        default:
            break;
        }
        if (!reason.isEmpty()) {
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(QString::fromUtf8(run.err),
                     QStringLiteral("wabrix-cli: Die Datei „%1“ kann nicht gespeichert werden: %2\n")
                         .arg(displayFileName(fileNameFromSystem(target)), reason));
            if (where == Place::LinkToDevice) {
                QVERIFY(S_ISLNK(modeOf(target, false)) && S_ISCHR(modeOf(target)));
            } else {
                QCOMPARE(bytesOf(oldFile), old);
            }
            if (where == Place::ReadOnlyFile)
                QCOMPARE(modeOf(target) & 07777, mode_t(0444));
            QCOMPARE(namesIn(folder), before);
            return;
        }
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QByteArray written = where == Place::Pipe ? piped : bytesOf(target);
        if (QByteArray(output.suffix) == ".pdf")
            QCOMPARE(withoutCreationTime(written), withoutCreationTime(expected));
        else
            QVERIFY2(
                written == expected,
                qPrintable(QStringLiteral("%1 Bytes statt %2").arg(written.size()).arg(expected.size())));
        switch (where) {
        case Place::Pipe:
            QVERIFY(S_ISFIFO(modeOf(target)));
            break;
        case Place::LinkToFile:
            QVERIFY(S_ISLNK(modeOf(target, false)));
            break;
        case Place::NameNotUtf8:
            QCOMPARE(bytesOf(oldFile), old);
            QCOMPARE(namesIn(folder).size(), 2);
            break;
        case Place::FullTemporaryFolder:
            QCOMPARE(namesIn(temporaryFolder), QStringList{QStringLiteral("fuellung")});
            break;
        default:
            break;
        }
        if (where != Place::NameNotUtf8)
            QCOMPARE(namesIn(folder), before);
    }

    // The window's export and save on a full disk, small outputs included: false with the message, the
    // old file as it was, nothing left beside it.
    void windowOutputsOnAFullDisk_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("bitmap") << "bild.bmp";
        QTest::newRow("png") << "bild.png";
        QTest::newRow("svg") << "bild.svg";
        QTest::newRow("pdf") << "bild.pdf";
        QTest::newRow("document") << "raetsel.wbx";
    }
    void windowOutputsOnAFullDisk() {
        QFETCH(QString, name);
        const QString folder = freshFolder(QStringLiteral("fenster-") + name, true);
        if (folder.isEmpty())
            QSKIP(qPrintable(QStringLiteral("kein tmpfs: ") + noMounts));
        const QString path = folder + u'/' + name;
        QVERIFY(writeFile(path, "alt"));
        QVERIFY(fillUp(folder));
        PuzzleModel model;
        smallPuzzle(model);
        QString error;
        if (const auto format = pictureFormatOfFile(path))
            QVERIFY(!exportPuzzlePicture(path, *format, model, PuzzleSettings(), 96,
                                         QPrinter(QPrinter::HighResolution), &error));
        else
            QVERIFY(!saveDocument(path, PuzzleDocument(), &error));
        QCOMPARE(error, QStringLiteral("Die Datei %1 kann nicht gespeichert werden: Kein Platz mehr auf dem "
                                       "Datenträger")
                            .arg(quotedPath(path)));
        QCOMPARE(fileBytes(path), QByteArray("alt"));
        QStringList expected{QStringLiteral("fuellung"), name};
        expected.sort();
        QCOMPARE(namesIn(folder), expected);
    }

    // What else may stand where a file is written: a dangling link gets its file, a device is written
    // into, a socket or folder stays, and a replaced file keeps its owner and permissions.
    void specialTargets_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("saved");
        QTest::newRow("dangling link") << "link" << true;
        QTest::newRow("null device") << "null" << true;
        QTest::newRow("socket") << "socket" << false;
        QTest::newRow("folder") << "folder" << false;
        QTest::newRow("file of another user, mode 0640") << "owned" << true;
    }
    void specialTargets() {
        QFETCH(QString, kind);
        QFETCH(bool, saved);
        const QString folder = freshFolder(QStringLiteral("spezial-") + kind, kind == QLatin1String("null"));
        if (folder.isEmpty())
            QSKIP(qPrintable(QStringLiteral("kein tmpfs: ") + noMounts));
        const QByteArray path = QFile::encodeName(folder + QStringLiteral("/ziel"));
        const QByteArray bytes("neuer Inhalt");
        int socketHandle = -1;
        if (kind == QLatin1String("link")) {
            QVERIFY(::symlink("neu.txt", path.constData()) == 0);
        } else if (kind == QLatin1String("null")) {
            QVERIFY2(::mknod(path.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0, qPrintable(errnoText()));
        } else if (kind == QLatin1String("socket")) {
            socketHandle = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
            QVERIFY(::bind(socketHandle, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(QFile::decodeName(path)));
        } else {
            if (geteuid() != 0)
                QSKIP("nur root kann eine Datei eines anderen Benutzers anlegen");
            QVERIFY(put(path, "alt"));
            QVERIFY(::chown(path.constData(), nobody, nobody) == 0 && ::chmod(path.constData(), 0640) == 0);
        }
        const mode_t type = modeOf(path, false) & S_IFMT;
        QString error;
        QCOMPARE(saveFileContents(QFile::decodeName(path), bytes, &error), saved);
        if (socketHandle >= 0)
            ::close(socketHandle);
        QCOMPARE(modeOf(path, false) & S_IFMT, type);
        if (!saved) {
            QVERIFY2(error.startsWith(QStringLiteral("Die Datei %1 kann nicht gespeichert werden: Das ist ")
                                          .arg(quotedPath(QFile::decodeName(path)))),
                     qPrintable(error));
            return;
        }
        if (kind == QLatin1String("link"))
            QCOMPARE(bytesOf(QFile::encodeName(folder + QStringLiteral("/neu.txt"))), bytes);
        if (kind == QLatin1String("owned")) {
            struct stat info {};
            QVERIFY(::stat(path.constData(), &info) == 0);
            QCOMPARE(info.st_uid, nobody);
            QCOMPARE(info.st_mode & 07777, mode_t(0640));
            QCOMPARE(bytesOf(path), bytes);
        }
    }

    // Names keep their bytes on the way into the program and back; a message shows bytes that are not
    // UTF-8 and control characters as \xNN.
    void namesKeepTheirBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8") << QByteArray("R\xc3\xa4tsel.wbx") << QStringLiteral("Rätsel.wbx");
        QTest::newRow("Latin-1") << QByteArray("R\xe4tsel.wbx") << QStringLiteral("R\\xE4tsel.wbx");
        QTest::newRow("outside the BMP")
            << QByteArray("\xf0\x9f\x98\x80.png") << QStringLiteral("\U0001F600.png");
        QTest::newRow("encoded surrogate")
            << QByteArray("a\xed\xa0\x80") << QStringLiteral("a\\xED\\xA0\\x80");
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QStringLiteral("\\xC0\\xAF");
        QTest::newRow("cut sequence at the end") << QByteArray("x\xe2\x82") << QStringLiteral("x\\xE2\\x82");
        QTest::newRow("escape character") << QByteArray("a\x1b[31mb") << QStringLiteral("a\\x1B[31mb");
        QTest::newRow("beyond U+10FFFF")
            << QByteArray("\xf4\x90\x80\x80") << QStringLiteral("\\xF4\\x90\\x80\\x80");
    }
    void namesKeepTheirBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const QString name = fileNameFromSystem(bytes);
        QCOMPARE(fileNameToSystem(name), bytes);
        QCOMPARE(displayFileName(name), shown);
        // A name that differs in its bytes is another file.
        QVERIFY(fileNameFromSystem(bytes + "\xff") != fileNameFromSystem(bytes + "\xc3\xbf"));
    }

    // Inputs are found by the bytes of their names: a document or word list whose name is not UTF-8 is
    // read, and the UTF-8 name beside it, which holds no puzzle, is another file.
    void inputsByTheirBytes_data() {
        QTest::addColumn<QList<QByteArray>>("arguments"); // IN: the input, OUT: an output
        QTest::addColumn<QByteArray>("suffix");
        QTest::newRow("info") << QList<QByteArray>{"info", "IN"} << QByteArray(".wbx");
        QTest::newRow("render") << QList<QByteArray>{"render", "IN", "-o", "OUT.png"} << QByteArray(".wbx");
        QTest::newRow("thumbnail") << QList<QByteArray>{"thumbnail", "IN", "OUT.png"} << QByteArray(".wbx");
        QTest::newRow("generate") << QList<QByteArray>{"generate", "IN", "--runs", "1"} << QByteArray(".txt");
    }
    void inputsByTheirBytes() {
        QFETCH(QList<QByteArray>, arguments);
        QFETCH(QByteArray, suffix);
        const QString folder = freshFolder(QStringLiteral("eingabe-") + QTest::currentDataTag(), false);
        const QByteArray base = QFile::encodeName(folder);
        const QByteArray input = base + "/R\xe4tsel" + suffix;
        const auto removeOddName = qScopeGuard([&] { ::unlink(input.constData()); });
        QVERIFY(put(input, bytesOf(inputs[suffix == ".wbx" ? "PUZZLE" : "WORDS"])));
        QVERIFY(put(base + "/R\xc3\xa4tsel" + suffix,
                    suffix == ".wbx" ? QByteArray("kein Rätsel") : QByteArray("\xff")));
        for (QByteArray &word : arguments) {
            if (word == "IN")
                word = input;
            else if (word.startsWith("OUT"))
                word = base + "/ausgabe" + word.mid(3);
        }
        const ProgramRun run = runCli(arguments, {"XDG_RUNTIME_DIR=" + runtimeFolder});
        QVERIFY2(run.exitCode == 0, run.err.constData());
    }

    // Ctrl+C, kill and a closed terminal remove the temporary files that are still listed, then end
    // the program as the signal would; a file taken off the list stays.
    void interruptionRemovesTemporaryFiles_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("listed");
        QTest::newRow("SIGINT") << int(SIGINT) << true;
        QTest::newRow("SIGTERM") << int(SIGTERM) << true;
        QTest::newRow("SIGHUP") << int(SIGHUP) << true;
        QTest::newRow("taken off the list") << int(SIGTERM) << false;
    }
    void interruptionRemovesTemporaryFiles() {
        QFETCH(int, signalNumber);
        QFETCH(bool, listed);
        const QByteArray path =
            QFile::encodeName(dir.filePath(QStringLiteral("entwurf-%1-%2").arg(signalNumber).arg(listed)));
        QVERIFY(put(path, "halb"));
        const pid_t child = ::fork();
        if (child == 0) {
            removeTemporaryFilesOnInterrupt();
            const int slot = registerTemporaryFile(path);
            if (!listed)
                unregisterTemporaryFile(slot);
            ::raise(signalNumber);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), signalNumber);
        QCOMPARE(QFileInfo::exists(QFile::decodeName(path)), !listed);
    }

    // Whether the file holds a whole output of its kind: a picture that loads, a PDF up to its end
    // marker, a document that opens.
    static bool isWholeOutput(const QString &path) {
        if (path.endsWith(QLatin1String(".png")))
            return !QImage(path).isNull();
        if (path.endsWith(QLatin1String(".pdf")))
            return fileBytes(path).trimmed().endsWith("%%EOF");
        return loadDocument(path).ok;
    }

    // A command interrupted while it makes and writes its output leaves the old file whole or the new
    // one whole, and no temporary file or folder, neither beside the output nor in the temporary folder.
    void interruptedCommandsLeaveNothing_data() {
        QTest::addColumn<QList<QByteArray>>("arguments"); // OUT: the output
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<int>("after"); // milliseconds
        const QByteArray words = QFile::encodeName(examplePath(QStringLiteral("woerter-999.txt")));
        for (const int after : {100, 400}) {
            QTest::addRow("render a large picture, SIGTERM after %d ms", after)
                << QList<QByteArray>{"render", "LARGE", "-o", "OUT.png", "--dpi", "150"} << int(SIGTERM)
                << after;
            QTest::addRow("render a PDF page, SIGINT after %d ms", after)
                << QList<QByteArray>{"render", "LARGE", "-o", "OUT.pdf"} << int(SIGINT) << after;
            QTest::addRow("generate a document, SIGINT after %d ms", after)
                << QList<QByteArray>{"generate", words, "--runs", "1000", "-o", "OUT.wbx"} << int(SIGINT)
                << after;
        }
    }
    void interruptedCommandsLeaveNothing() {
        QFETCH(QList<QByteArray>, arguments);
        QFETCH(int, signalNumber);
        QFETCH(int, after);
        const QString folder =
            freshFolder(QStringLiteral("abbruch-%1-%2").arg(QTest::currentDataTag()).arg(after), false);
        const QString temporary = folder + QStringLiteral("-tmp");
        QVERIFY(QDir().mkpath(temporary));
        QByteArray out;
        for (QByteArray &word : arguments) {
            if (word.startsWith("OUT"))
                word = out = QFile::encodeName(folder) + "/ausgabe" + word.mid(3);
            word = inputs.value(word, word);
        }
        QVERIFY(put(out, "alt"));
        const ProgramRun run =
            runCli(arguments, {"XDG_RUNTIME_DIR=" + runtimeFolder, "TMPDIR=" + QFile::encodeName(temporary)},
                   -1, after, signalNumber);
        if (run.crashed)
            QCOMPARE(run.endSignal, signalNumber);
        else
            QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(namesIn(folder), QStringList{QFileInfo(QFile::decodeName(out)).fileName()});
        QCOMPARE(namesIn(temporary), QStringList());
        // A signal that comes after the output was put in place (while the program ends) still ends
        // it by the signal; then the output must be whole, never a part of it.
        if (run.crashed && bytesOf(out) == "alt")
            return;
        QVERIFY2(isWholeOutput(QFile::decodeName(out)), out.constData());
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
        QVERIFY(read.document.grid == largest.grid);
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

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
