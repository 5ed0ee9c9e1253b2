#include "paintbox.h"

#include <QMouseEvent>
#include <QPainter>

PaintBox::PaintBox(QWidget *parent) : QWidget(parent) {}

void PaintBox::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    emit paint(painter);
}

void PaintBox::mousePressEvent(QMouseEvent *event) {
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void PaintBox::mouseMoveEvent(QMouseEvent *event) {
    emit mouseMove(event->modifiers(), event->position().toPoint());
}

void PaintBox::mouseReleaseEvent(QMouseEvent *event) {
    emit mouseUp(event->button(), event->modifiers(), event->position().toPoint());
}
