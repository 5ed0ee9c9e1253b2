#pragma once

#include <QString>

#include <exception>

class QWidget;

// The text of an error box: the message, with "." appended when its last character's code is above
// that of "." (a message ending in a letter, a digit or "?" gets one; one ending in ".", ",", "!" or
// a blank gets none).
QString errorMessageText(const QString &message);

// The caption of an error box: the program file's name up to its first ".", the first letter as it is,
// every later letter lower-case ("/opt/WaBrIx.exe" gives "Wabrix", "/usr/bin/wabrix" "wabrix").
QString errorCaption(const QString &programPath);

// The message an error box shows for a caught error: "Zu wenig Arbeitsspeicher" for a failed
// allocation, the error's own text for a standard exception, "Unbekannter Fehler" for anything else.
QString exceptionMessage(std::exception_ptr error);

// Shows an error that escaped an event handler: error icon, OK, the caption from the program file.
void showErrorMessage(const QString &message);

// Shows a failed block allocation of the record list: a modal box with the error icon.
void showAllocationFailure(const QString &message);
