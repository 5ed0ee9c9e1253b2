#pragma once

#include <QCoreApplication>
#include <QGuiApplication>

// Shows the busy cursor while it lives, also when the work ends with an error.
class BusyCursor {
public:
    BusyCursor() {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        // Let the cursor reach the screen before the work blocks the event loop.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
