#pragma once

#include "puzzlesettings.h"
#include "textlayouts.h"

#include <QObject>
#include <QPoint>
#include <QSize>

#include <functional>

class PaintBox;
class PrinterQuery;
class PuzzleModel;
class QPainter;
class QScrollArea;

// The new scroll position of one axis while the picture is dragged: the position at the last move
// plus the pointer's travel from the grabbed point, taken the other way round, kept between 0 and
// range - 1 (range: the scrollable extent, content size; the scroll bar limits further to its own
// maximum).
int dragScrollPosition(int position, int anchor, int pointer, int range);

// The puzzle view: PaintBox1 inside ScrollBox1 at (4, 4). Every paint draws the whole puzzle with the
// renderer from the current settings; when the picture's size changes the paint box takes the new
// size and the following paint draws. Dragging with any mouse button scrolls the picture.
class PuzzleView : public QObject {
    Q_OBJECT

public:
    using SettingsSource = std::function<PuzzleSettings()>;

    // The paint box sits at this offset inside the scroll box.
    static constexpr QPoint paintBoxOffset{4, 4};

    PuzzleView(QScrollArea *ScrollBox1, PaintBox *PaintBox1, const PuzzleModel &model,
               const PrinterQuery &printer, SettingsSource settings, QObject *parent = nullptr);

    // Draws the puzzle at once, when the view is visible.
    void repaintNow();

    // Draws the window's puzzle with its settings at zoomedvalue percent: on the paint box's canvas with
    // printit false, on a printer page with printit true. With printit false a picture whose size
    // differs from the paint box's is not drawn: the paint box takes the new size, which paints again,
    // and the result is false.
    bool DrawRaetsel(QPainter &canvas, double zoomedvalue, bool printit);
    // Paints the puzzle on the paint box at the zoom of the settings.
    void PaintBox1Paint(QPainter &canvas);
    void PaintBox1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);
    void PaintBox1MouseMove(Qt::KeyboardModifiers shift, QPoint position);
    void PaintBox1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);

    bool inmove = false;
    int mousex = 0;
    int mousey = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QScrollArea *ScrollBox1;
    PaintBox *PaintBox1;
    const PuzzleModel &model_;
    const PrinterQuery &printer_;
    SettingsSource settings_;
    TextLayouts layouts_; // of the clues painted, drawn again while the picture is scrolled
};
