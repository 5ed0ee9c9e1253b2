#include "modalanswers.h"

#include <QAbstractButton>
#include <QApplication>

void closeNextMessageBox(SeenBox &seen) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {true, box->windowTitle(), box->text(), box->icon(), box->standardButtons(), {}, {}};
        box->accept();
        poll->deleteLater();
    });
    poll->start(5);
}

void clickInNextMessageBox(SeenBox &seen, const QString &buttonText) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, buttonText] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->deleteLater();
        poll->stop();
        seen = {true, box->windowTitle(), box->text(), box->icon(), box->standardButtons(), {}, {}};
        QAbstractButton *wanted = nullptr;
        for (QAbstractButton *button : box->buttons()) {
            seen.buttonTexts << button->text();
            if (button->text() == buttonText)
                wanted = button;
        }
        if (!wanted) {
            box->reject();
            return;
        }
        seen.clicked = buttonText;
        wanted->click();
    });
    poll->start(5);
}

ModalAnswers::ModalAnswers() {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswers::answer);
    timer_.start(5);
}

void ModalAnswers::answer() {
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal->property("answered").toBool())
        return;
    modal->setProperty("answered", true);
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        if (QGuiApplication::overrideCursor())
            ++busyMessages;
        messages << box->text();
        details << box->informativeText();
        icons << box->icon();
        if (buttons_.isEmpty()) {
            box->accept();
            return;
        }
        const QString wanted = buttons_.takeFirst();
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == wanted) {
                clicked << wanted;
                button->click();
                return;
            }
        }
        box->reject();
        return;
    }
    ++otherWindows;
    if (handlers_.isEmpty()) {
        modal->close();
        return;
    }
    handlers_.takeFirst()(modal);
}
