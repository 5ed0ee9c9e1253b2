#include "inputblocker.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

InputBlocker::InputBlocker(QWidget *window, QObject *parent) : QObject(parent), window_(window) {}

InputBlocker::~InputBlocker() {
    setActive(false);
}

void InputBlocker::setActive(bool active) {
    if (active == active_)
        return;
    active_ = active;
    // Every event passes the application's filters before it reaches a control, shortcuts included.
    if (active)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool InputBlocker::belongsToWindow(QObject *object) const {
    if (object->isWidgetType())
        return static_cast<QWidget *>(object)->window() == window_;
    if (object->isWindowType())
        return object == window_->windowHandle();
    return false;
}

bool InputBlocker::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return belongsToWindow(watched);
    case QEvent::ShortcutOverride:
        // Accepted, the key counts as taken by the control, so no shortcut of the window fires.
        if (!belongsToWindow(watched))
            return false;
        event->accept();
        return true;
    case QEvent::Shortcut:
        return QApplication::activeWindow() == window_;
    default:
        return false;
    }
}
