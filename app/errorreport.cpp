#include "errorreport.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <new>

QString errorMessageText(const QString &message) {
    if (!message.isEmpty() && message.back() > QChar(u'.'))
        return message + u'.';
    return message;
}

QString errorCaption(const QString &programPath) {
    QString name = QFileInfo(programPath).fileName();
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty())
        return name;
    return name.left(1) + name.mid(1).toLower();
}

QString exceptionMessage(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc &) {
        return QStringLiteral("Zu wenig Arbeitsspeicher");
    } catch (const std::exception &caught) {
        return QString::fromUtf8(caught.what());
    } catch (...) {
        return QStringLiteral("Unbekannter Fehler");
    }
}

void showErrorMessage(const QString &message) {
    QMessageBox box(QMessageBox::Critical, errorCaption(QCoreApplication::applicationFilePath()),
                    errorMessageText(message), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void showAllocationFailure(const QString &message) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Fehler"), message, QMessageBox::Ok);
    box.exec();
}
