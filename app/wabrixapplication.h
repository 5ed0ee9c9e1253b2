#pragma once

#include <QApplication>

// The application object. An error that escapes an event handler does not end the program: it is
// shown in a message box (errorreport.h) and the event loop goes on with the next event.
class WabrixApplication : public QApplication {
    Q_OBJECT

public:
    WabrixApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
