#pragma once

#include "puzzlesettings.h"

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

    PuzzleView(QScrollArea *ScrollBox1, PaintBox *PaintBox1, PuzzleModel &model, const PrinterQuery &printer,
               SettingsSource settings, QObject *parent = nullptr);

    // Draws the puzzle at once, when the view is visible.
    void repaintNow();

    // Paints the puzzle with the renderer on the paint box; when the renderer reports a new picture
    // size, resizes the paint box instead, which paints again.
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
    PuzzleModel &model_;
    const PrinterQuery &printer_;
    SettingsSource settings_;
};
