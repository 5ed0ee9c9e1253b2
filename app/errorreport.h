#pragma once

#include <QString>

class QWidget;

// The text of an error box: the message, with "." appended when its last character's code is above
// that of "." (a message ending in a letter, a digit or "?" gets one; one ending in ".", ",", "!" or
// a blank gets none).
QString errorMessageText(const QString &message);

// The caption of an error box: the program file's name up to its first ".", the first letter as it is,
// every later letter lower-case ("/opt/WaBrIx.exe" gives "Wabrix", "/usr/bin/wabrix" "wabrix").
QString errorCaption(const QString &programPath);

// Shows an error that escaped an event handler: error icon, OK, the caption from the program file.
void showErrorMessage(const QString &message);

// Shows a failed block allocation of the record list: a modal box with the error icon.
void showAllocationFailure(const QString &message);
