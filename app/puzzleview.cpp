#include "puzzleview.h"

#include "paintbox.h"
#include "renderer.h"

#include <QEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

int dragScrollPosition(int position, int anchor, int pointer, int range) {
    const long long wanted = static_cast<long long>(position) + anchor - pointer;
    return static_cast<int>(std::max(0LL, std::min(wanted, static_cast<long long>(range) - 1)));
}

PuzzleView::PuzzleView(QScrollArea *scrollBox, PaintBox *paintBox, const PuzzleModel &model,
                       const PrinterQuery &printer, SettingsSource settings, QObject *parent)
    : QObject(parent), ScrollBox1(scrollBox), PaintBox1(paintBox), model_(model), printer_(printer),
      settings_(std::move(settings)) {
    PaintBox1->move(paintBoxOffset);
    PaintBox1->installEventFilter(this);
    connect(PaintBox1, &PaintBox::paint, this, &PuzzleView::PaintBox1Paint);
    connect(PaintBox1, &PaintBox::mouseDown, this, &PuzzleView::PaintBox1MouseDown);
    connect(PaintBox1, &PaintBox::mouseMove, this, &PuzzleView::PaintBox1MouseMove);
    connect(PaintBox1, &PaintBox::mouseUp, this, &PuzzleView::PaintBox1MouseUp);
}

void PuzzleView::repaintNow() {
    PaintBox1->repaint();
}

bool PuzzleView::DrawRaetsel(QPainter &canvas, double zoomedvalue, bool printit) {
    PuzzleSettings settings = settings_();
    settings.zoom = zoomedvalue;
    if (printit)
        return drawPuzzle(canvas, model_, settings, RenderTarget::printerPage()).drawn;
    const PuzzleDrawing drawing =
        drawPuzzle(canvas, model_, settings, RenderTarget::screen(PaintBox1->size(), printer_, &layouts_));
    if (!drawing.drawn)
        // A widget is not resized from inside its own paint; the resize follows at once and paints anew.
        QMetaObject::invokeMethod(
            PaintBox1, [box = PaintBox1, size = drawing.size] { box->resize(size); }, Qt::QueuedConnection);
    return drawing.drawn;
}

void PuzzleView::PaintBox1Paint(QPainter &canvas) {
    DrawRaetsel(canvas, settings_().zoom, false);
}

void PuzzleView::PaintBox1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPoint position) {
    mousex = position.x();
    mousey = position.y();
    inmove = true;
}

void PuzzleView::PaintBox1MouseMove(Qt::KeyboardModifiers, QPoint position) {
    if (!inmove)
        return;
    // The range of a scroll box is the extent of its content; Qt's scroll bar counts the visible
    // part separately (maximum + page step).
    QScrollBar *horizontal = ScrollBox1->horizontalScrollBar();
    QScrollBar *vertical = ScrollBox1->verticalScrollBar();
    const int h = dragScrollPosition(horizontal->value(), mousex, position.x(),
                                     horizontal->maximum() + horizontal->pageStep());
    const int v = dragScrollPosition(vertical->value(), mousey, position.y(),
                                     vertical->maximum() + vertical->pageStep());
    horizontal->setValue(h);
    vertical->setValue(v);
}

void PuzzleView::PaintBox1MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
    inmove = false;
}

// The scroll box's content follows the paint box, so that the scroll ranges cover the picture.
bool PuzzleView::eventFilter(QObject *watched, QEvent *event) {
    if (watched == PaintBox1 && event->type() == QEvent::Resize) {
        if (QWidget *content = ScrollBox1->widget())
            content->resize(PaintBox1->size() + QSize(paintBoxOffset.x(), paintBoxOffset.y()));
    }
    return QObject::eventFilter(watched, event);
}
