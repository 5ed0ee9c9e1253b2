#include "testfiles.h"

#include <QFile>
#include <QStringList>

#include <sys/resource.h>

#include <csignal>

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool withFileSizeLimit(long long maxBytes, const std::function<void()> &action) {
    rlimit saved{};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return false;
    rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(maxBytes);
    auto *previous = std::signal(SIGXFSZ, SIG_IGN);
    const bool limited = setrlimit(RLIMIT_FSIZE, &small) == 0;
    if (limited)
        action();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    return limited;
}

QString examplePath(const QString &name) {
    return QStringLiteral(WABRIX_SOURCE_DIR "/examples/") + name;
}

std::vector<VectorWordTable::Row> readExampleList(const QString &name, int maxRows) {
    std::vector<VectorWordTable::Row> rows;
    QFile file(examplePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QStringList fields = QString::fromUtf8(line).split(u'\t');
        if (fields.size() == 2 && static_cast<int>(rows.size()) < maxRows)
            rows.emplace_back(fields[0].toStdU16String(), fields[1].toStdU16String());
    }
    return rows;
}

std::vector<VectorWordTable::Row> rowsOf(const QStringList &answers) {
    std::vector<VectorWordTable::Row> rows;
    for (const QString &a : answers)
        rows.emplace_back(u"Frage", a.toStdU16String());
    return rows;
}
