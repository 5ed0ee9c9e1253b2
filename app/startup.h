#pragma once

#include <QString>

class QCoreApplication;

// Where Debian's fonts-wine puts Tahoma, the window font.
inline const QString tahomaPath = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");

// Makes Tahoma 8 pt the font of every window: loads the font file into the application when it is
// there (the system's font set stays untouched) and falls back silently to the family name, which
// the font matching then replaces. Returns the family that was loaded, or an empty string.
QString useWindowFont(const QString &fontFile = tahomaPath);

// Loads Qt's own German texts (buttons and labels of the standard dialogs), so that the whole user
// interface speaks German whatever the user's language; false when they are not installed.
bool installGermanQtTexts(QCoreApplication &application);

// Shows failed allocations of the record lists in a modal message box; one that fails on another
// thread is shown on the window's thread.
void reportAllocationFailuresInMessageBoxes();

// Registers the pictures and icons compiled into the program; the window calls it before it builds.
void initResources();

// The program icon in every size it is drawn in.
class QIcon;
QIcon programIcon();
