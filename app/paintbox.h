#pragma once

#include <QWidget>

class QPainter;

// A plain drawing surface that leaves painting and mouse handling to its owner: it reports every
// paint with a painter on itself, and every button press, move and release in its own coordinates.
class PaintBox : public QWidget {
    Q_OBJECT

public:
    explicit PaintBox(QWidget *parent = nullptr);

signals:
    void paint(QPainter &painter);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseMove(Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
