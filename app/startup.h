#pragma once

#include <QByteArray>
#include <QString>

class QCoreApplication;

// Where Debian's fonts-wine puts Tahoma, the window font.
inline const QString tahomaPath = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");

// Makes Tahoma 8 pt the font of every window: loads the font file into the application when it is
// there (the system's font set stays untouched) and falls back silently to the family name, which
// the font matching then replaces. Returns the family that was loaded, or an empty string.
// The bitmaps that Wine's Tahoma brings for small sizes come with an ascent below the dots of Ä, Ö
// and Ü, so that a label's first line loses them ("Anderungen"); Windows sets Tahoma with its
// Windows metrics, a line of 13 pixels at 8 pt, for which the window's controls are made.
QString useWindowFont(const QString &fontFile = tahomaPath);

// The font file font (TrueType or OpenType) with the line metrics of its bitmap sizes made at least
// as tall as its Windows ascent and descent at that size; anything else unchanged.
QByteArray withWindowsLineMetrics(QByteArray font);

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
