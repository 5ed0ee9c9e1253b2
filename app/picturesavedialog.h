#pragma once

#include "pictureexport.h"

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// The save dialog of the picture export as a component of the window: the filters Windows bitmap
// (first, the default), PNG, SVG, PDF and PDF of the puzzle and the solution page; a name typed
// without a suffix gets the suffix of the chosen filter. It asks nothing before a file is replaced
// and offers the last chosen name again.
class PictureSaveDialog {
public:
    // The dialog's filters in their order, and the format each stands for.
    static const QStringList &filters();
    static PictureFormat formatOfFilter(const QString &filter);
    static PrintPages pagesOfFilter(const QString &filter);

    // Shows the dialog. A confirmed choice goes into FileName and Format and gives true. The format
    // is the one the name's suffix names, else the one of the chosen filter; a PDF holds the pages of
    // the chosen filter when that is a PDF filter, else the puzzle.
    bool Execute(QWidget *parent);
    // Sets a file dialog up as Execute shows it.
    void configure(QFileDialog &dialog) const;

    QString FileName;
    PictureFormat Format = PictureFormat::Bmp;
    PrintPages Pages = PrintPages::Puzzle;
};
