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

QString useWindowFont(const QString &fontFile) {
    QString family = QStringLiteral("Tahoma");
    QString loaded;
    if (QFile::exists(fontFile)) {
        const int id = QFontDatabase::addApplicationFont(fontFile);
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
