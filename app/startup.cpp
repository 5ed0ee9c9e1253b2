#include "startup.h"

#include "dynaarray.h"
#include "errorreport.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QThread>
#include <QTranslator>

#include <algorithm>
#include <optional>

QByteArray withWindowsLineMetrics(QByteArray font) {
    // The table directory: the number of tables at 4, then 16-byte records of tag, checksum, offset
    // and length from 12 on. Read: the units per em at 18 of "head", the Windows ascent and descent at
    // 74 and 76 of "OS/2". Written: in "EBLC", after an 8-byte header, one 48-byte record per strike
    // with its horizontal ascender and descender (signed bytes) at 16 and 17 and its height in pixels
    // at 45.
    const auto number = [&font](qsizetype at, int bytes) {
        qint64 value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | static_cast<quint8>(font[at + i]);
        return value;
    };
    const auto findTable = [&](const char *tag, qsizetype minimumLength) -> std::optional<qsizetype> {
        constexpr qsizetype directory = 12, recordSize = 16;
        if (font.size() < directory)
            return std::nullopt;
        const qint64 tables = number(4, 2);
        for (qint64 i = 0; i < tables; ++i) {
            const qsizetype record = directory + static_cast<qsizetype>(i) * recordSize;
            if (record + recordSize > font.size())
                return std::nullopt;
            if (font.mid(record, 4) != tag)
                continue;
            const qint64 offset = number(record + 8, 4), length = number(record + 12, 4);
            if (length < minimumLength || offset > font.size() - minimumLength)
                return std::nullopt;
            return static_cast<qsizetype>(offset);
        }
        return std::nullopt;
    };
    const std::optional<qsizetype> head = findTable("head", 20), os2 = findTable("OS/2", 78),
                                   strikes = findTable("EBLC", 8);
    if (!head || !os2 || !strikes)
        return font;
    const qint64 unitsPerEm = number(*head + 18, 2);
    const qint64 winAscent = number(*os2 + 74, 2), winDescent = number(*os2 + 76, 2);
    if (unitsPerEm == 0)
        return font;
    const qint64 count = number(*strikes + 4, 4);
    for (qint64 i = 0; i < count; ++i) {
        const qsizetype strike = *strikes + 8 + static_cast<qsizetype>(i) * 48;
        if (strike + 48 > font.size())
            break;
        const qint64 pixels = number(strike + 45, 1);
        const auto scaled = [&](qint64 units) {
            return static_cast<int>(std::min<qint64>((units * pixels + unitsPerEm / 2) / unitsPerEm, 127));
        };
        const int ascender = static_cast<qint8>(font[strike + 16]);
        const int descender = static_cast<qint8>(font[strike + 17]);
        font[strike + 16] = static_cast<char>(std::max(ascender, scaled(winAscent)));
        font[strike + 17] = static_cast<char>(std::min(descender, -scaled(winDescent)));
    }
    return font;
}

QString useWindowFont(const QString &fontFile) {
    QString family = QStringLiteral("Tahoma");
    QString loaded;
    QFile file(fontFile);
    if (file.open(QIODevice::ReadOnly)) {
        const int id = QFontDatabase::addApplicationFontFromData(withWindowsLineMetrics(file.readAll()));
        const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        if (!families.isEmpty())
            family = loaded = families.constFirst();
    }
    QFont font(family, 8);
    QApplication::setFont(font);
    return loaded;
}

bool installGermanQtTexts(QCoreApplication &application) {
    auto *translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void reportAllocationFailuresInMessageBoxes() {
    setAllocationFailureHook([](const std::string &message) {
        const QString text = QString::fromStdString(message);
        QCoreApplication *application = QCoreApplication::instance();
        // A generation collects its entries on a worker thread, where no window may be shown: the
        // box follows on the window's thread, without holding up the worker.
        if (application && QThread::currentThread() != application->thread())
            QMetaObject::invokeMethod(
                application, [text] { showAllocationFailure(text); }, Qt::QueuedConnection);
        else
            showAllocationFailure(text);
    });
}

void initResources() {
    Q_INIT_RESOURCE(wabrix);
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/wabrix-%1.png").arg(size), QSize(size, size));
    return icon;
}
