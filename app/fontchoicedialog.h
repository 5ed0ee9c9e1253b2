#pragma once

#include "fontdescription.h"

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QPushButton;
class QWidget;

// The window of a font choice: Qt's font list with size, style, underline and strike-out, a colour
// button, and OK/Abbrechen.
class FontChoiceWindow : public QDialog {
    Q_OBJECT

public:
    explicit FontChoiceWindow(QWidget *parent = nullptr);

    // Shows font and colour as the starting choice; nothing counts as changed afterwards.
    void setChoice(const QFont &font, const QColor &color);
    QFont currentFont() const;
    QColor currentColor() const { return color_; }
    bool colorChanged() const { return colorChanged_; }
    // The font list, for tests that choose a font.
    QFontDialog *fontList() const { return fonts_; }
    // Takes a colour as if the user had chosen it with the colour button.
    void chooseColor(const QColor &color);

private:
    void showColor();
    void pickColor();

    QFontDialog *fonts_;
    QPushButton *colorButton_;
    QColor color_;
    bool colorChanged_ = false;
};

// A font dialog as a component of the window: it holds one font (the clue font or the title font)
// for the program's whole run and lets the user change it.
class FontChoiceDialog {
public:
    explicit FontChoiceDialog(FontDescription font) : Font(std::move(font)) {}

    // Shows the font window starting from Font. OK stores the choice in Font and returns true;
    // Abbrechen changes nothing. Parts of the font the user left alone keep their stored form, so an
    // uninstalled face such as "Arial Narrow" keeps its name when only the size changes.
    bool Execute(QWidget *parent);

    // What the window's choice makes of a stored font; shown is the font the window started with.
    static FontDescription chosenFont(const FontDescription &old, const QFont &shown, const QFont &chosen,
                                      const QColor *newColor, int screenPpi);

    FontDescription Font;
};
