#include "wabrixapplication.h"

#include "errorreport.h"

#include <exception>

WabrixApplication::WabrixApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool WabrixApplication::notify(QObject *receiver, QEvent *event) {
    // Qt lets no exception pass through its event loop; catching here is the last place where the
    // handler's error can be shown before the loop carries on.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showErrorMessage(exceptionMessage(std::current_exception()));
    }
    return false;
}
