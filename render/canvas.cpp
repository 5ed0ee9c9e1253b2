#include "canvas.h"

#include "textlayouts.h"

#include <QGlyphRun>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRawFont>
#include <QStaticText>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// A line of width w centred on coordinate c covers [c - w / 2, c - w / 2 + w).
long long bandStart(int c, int width) {
    return static_cast<long long>(c) - width / 2;
}

// Fills are cut to this window so that no coordinate, however far out, overflows a QRect.
constexpr long long coordinateLimit = 1LL << 30;

// The text's own line breaks, in the form the text layout breaks lines at.
QString withLineSeparators(const QString &text) {
    QString laid = text;
    laid.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    laid.replace(QLatin1Char('\r'), QChar::LineSeparator);
    laid.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return laid;
}

} // namespace

Canvas::Canvas(QPainter &painter, int resolution) : painter_(painter), metrics_(painter.font()) {
    const QPaintDevice *device = painter.device();
    resolution_ = resolution > 0 ? resolution : (device ? device->logicalDpiX() : 96);
    verticalResolution_ = resolution > 0 ? resolution : (device ? device->logicalDpiY() : 96);
    // A picture is replayed at whatever scale its viewer chooses: the print preview shows a whole page
    // at a fraction of the printer's resolution, where a line narrower than a screen pixel would be
    // dropped, or painted over by the cell beside it. Antialiased, it stays as a lighter line; at the
    // recorded scale the whole-pixel bands come out exactly as without.
    const QPaintEngine *engine = painter.paintEngine();
    painter_.setRenderHint(QPainter::Antialiasing, engine && engine->type() == QPaintEngine::Picture);
    painter_.setBackgroundMode(Qt::TransparentMode);
    font_ = painter.font();
    metrics_ = QFontMetrics(font_, painter_.device());
}

void Canvas::setPen(const QColor &color, int width) {
    penColor_ = color;
    penWidth_ = std::max(1, width);
}

Canvas::~Canvas() {
    painter_.setBrush(brushColor_);
}

void Canvas::setBrush(const QColor &color) {
    brushColor_ = color;
}

void Canvas::setFont(const QFont &font, const QColor &color) {
    font_ = font;
    letters_.clear();
    stamps_.clear();
    metrics_ = QFontMetrics(font_, painter_.device());
    painter_.setFont(font_);
    setFontColor(color);
}

void Canvas::setFontColor(const QColor &color) {
    if (color == fontColor_ && painter_.pen().color() == color)
        return;
    fontColor_ = color;
    // The painter's pen only ever draws text; outlines and lines are filled bands.
    painter_.setPen(color);
}

QRect Canvas::bandRect(long long x, long long y, long long width, long long height) {
    const long long left = std::max(x, -coordinateLimit), top = std::max(y, -coordinateLimit);
    const long long right = std::min(x + width, coordinateLimit),
                    bottom = std::min(y + height, coordinateLimit);
    if (right <= left || bottom <= top)
        return {};
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

void Canvas::fillBand(long long x, long long y, long long width, long long height, const QColor &color) {
    const QRect band = bandRect(x, y, width, height);
    if (!band.isEmpty())
        painter_.fillRect(band, color);
}

namespace {

// Whether the painter draws straight into an image of 32-bit pixels, moved by whole pixels at most,
// without opacity of its own: then a picture of one row, repeated down a rectangle, comes out as the very
// same pixels as fills.
bool drawsWholePixelsIntoImage(const QPainter &painter) {
    const QPaintEngine *engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image)
        return false;
    const auto *image = static_cast<const QImage *>(engine->paintDevice());
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return false;
    const QTransform t = painter.deviceTransform();
    return t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) &&
           t.dy() == std::floor(t.dy()) &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver && painter.opacity() == 1.0;
}

} // namespace

void Canvas::rectangleUnderBands(int x1, int y1, int x2, int y2, const QColor &color,
                                 const std::vector<QRect> &bands, const std::optional<QRect> &area) {
    const Frame f = frame(x1, y1, x2, y2);
    const int w = penWidth_;
    QRect whole = bandRect(f.left, f.top, f.right - f.left + w, f.bottom - f.top + w);
    if (area)
        whole &= *area;
    if (whole.isEmpty())
        return;
    std::vector<QRect> tall;
    std::vector<QRect> others;
    for (const QRect &band : bands) {
        const QRect part = band & whole;
        if (!part.isEmpty())
            (part.height() > part.width() ? tall : others).push_back(part);
    }
    if (!color.isValid() || color.alpha() != 255 || penColor_.alpha() != 255 ||
        !drawsWholePixelsIntoImage(painter_)) {
        painter_.fillRect(whole, color);
        for (const auto *kind : {&tall, &others})
            for (const QRect &band : *kind)
                painter_.fillRect(band, penColor_);
        return;
    }
    // Filling the rectangle and then a tall band pixel column by pixel column costs a call for every
    // row of the band. Instead, between two rows where a tall band starts or ends, every row looks the
    // same: one row is painted and repeated down to the next such row. The short bands follow.
    std::vector<int> rows{whole.top(), whole.bottom() + 1};
    for (const QRect &band : tall) {
        rows.push_back(band.top());
        rows.push_back(band.bottom() + 1);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QImage row(whole.width(), 1, QImage::Format_RGB32);
    const QRgb background = color.rgb();
    const QRgb line = penColor_.rgb();
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        const int top = rows[i];
        const int next = rows[i + 1];
        auto *pixels = reinterpret_cast<QRgb *>(row.scanLine(0));
        std::fill_n(pixels, whole.width(), background);
        for (const QRect &band : tall)
            if (band.top() <= top && band.bottom() >= top)
                std::fill_n(pixels + (band.left() - whole.left()), band.width(), line);
        painter_.drawTiledPixmap(QRect(whole.left(), top, whole.width(), next - top),
                                 QPixmap::fromImage(row));
    }
    for (const QRect &band : others)
        painter_.fillRect(band, penColor_);
}

Canvas::Frame Canvas::frame(int x1, int y1, int x2, int y2) const {
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    const int w = penWidth_;
    return {bandStart(x1, w), bandStart(y1, w), bandStart(std::max(x1, x2 - 1), w),
            bandStart(std::max(y1, y2 - 1), w)};
}

void Canvas::rectangle(int x1, int y1, int x2, int y2) {
    const Frame f = frame(x1, y1, x2, y2);
    const int w = penWidth_;
    // The outline is the whole area in the pen's colour with the inside filled over it: two fills
    // instead of five, which counts for ten thousand cells.
    fillBand(f.left, f.top, f.right - f.left + w, f.bottom - f.top + w, penColor_);
    if (brushColor_ != penColor_)
        fillBand(f.left + w, f.top + w, f.right - f.left - w, f.bottom - f.top - w, brushColor_);
}

void Canvas::outline(int x1, int y1, int x2, int y2) {
    const Frame f = frame(x1, y1, x2, y2);
    const int w = penWidth_;
    fillBand(f.left, f.top, f.right - f.left + w, w, penColor_);
    fillBand(f.left, f.bottom, f.right - f.left + w, w, penColor_);
    fillBand(f.left, f.top + w, w, f.bottom - f.top - w, penColor_);
    fillBand(f.right, f.top + w, w, f.bottom - f.top - w, penColor_);
}

QRect Canvas::horizontalEdgeBand(int x1, int x2, int y) const {
    if (x2 < x1)
        std::swap(x1, x2);
    const int w = penWidth_;
    return bandRect(bandStart(x1, w), bandStart(y, w), bandStart(x2, w) - bandStart(x1, w) + w, w);
}

QRect Canvas::verticalEdgeBand(int x, int y1, int y2) const {
    if (y2 < y1)
        std::swap(y1, y2);
    const int w = penWidth_;
    return bandRect(bandStart(x, w), bandStart(y1, w), w, bandStart(y2, w) - bandStart(y1, w) + w);
}

void Canvas::moveTo(int x, int y) {
    position_ = QPoint(x, y);
}

void Canvas::lineTo(int x, int y) {
    const QPoint from = position_;
    position_ = QPoint(x, y);
    const int w = penWidth_;
    if (from.x() == x) {
        const int y1 = y > from.y() ? from.y() : y + 1;
        fillBand(bandStart(x, w), y1, w, std::llabs(static_cast<long long>(y) - from.y()), penColor_);
    } else if (from.y() == y) {
        const int x1 = x > from.x() ? from.x() : x + 1;
        fillBand(x1, bandStart(y, w), std::llabs(static_cast<long long>(x) - from.x()), w, penColor_);
    } else {
        painter_.save();
        painter_.setPen(QPen(penColor_, w, Qt::SolidLine, Qt::FlatCap));
        painter_.drawLine(from, position_);
        painter_.restore();
    }
}

void Canvas::paintTextBackground(const QRect &area) {
    if (background_ == TextBackground::Opaque)
        fillBand(area.x(), area.y(), area.width(), area.height(), brushColor_);
}

void Canvas::textOut(int x, int y, const QString &text) {
    if (text.isEmpty())
        return;
    if (background_ == TextBackground::Opaque)
        paintTextBackground(QRect(x, y, textWidth(text), textHeight()));
    painter_.drawText(QPoint(x, y + metrics_.ascent()), text);
}

void Canvas::letterOut(int x, int y, QChar letter) {
    auto found = letters_.find(letter.unicode());
    if (found == letters_.end()) {
        QStaticText text{QString(letter)};
        text.setTextFormat(Qt::PlainText);
        text.prepare(painter_.transform(), font_);
        found = letters_.emplace(letter.unicode(), std::move(text)).first;
    }
    if (background_ == TextBackground::Opaque)
        paintTextBackground(QRect(x, y, textWidth(letter), textHeight()));
    painter_.drawStaticText(QPoint(x, y), found->second);
}

void Canvas::letterOnWhite(int x, int y, QChar letter) {
    const auto *target = drawsWholePixelsIntoImage(painter_)
                             ? static_cast<const QImage *>(painter_.paintEngine()->paintDevice())
                             : nullptr;
    if (!target || background_ == TextBackground::Opaque || fontColor_.alpha() != 255) {
        letterOut(x, y, letter);
        return;
    }
    Stamp &stamp = stamps_[letter.unicode()];
    if (stamp.color != fontColor_ || stamp.format != target->format()) {
        // The picture has the target's resolution, so that the font comes out the same; the character
        // lands on it moved by whole pixels only, so its glyph is the same too.
        const QRect ink = inkBounds(QString(letter));
        stamp.color = fontColor_;
        stamp.format = target->format();
        stamp.offset = ink.topLeft();
        stamp.picture = QImage(ink.size(), target->format());
        if (!stamp.picture.isNull()) {
            stamp.picture.setDotsPerMeterX(target->dotsPerMeterX());
            stamp.picture.setDotsPerMeterY(target->dotsPerMeterY());
            stamp.picture.fill(Qt::white);
            QPainter painter(&stamp.picture);
            painter.setRenderHints(painter_.renderHints());
            painter.setFont(font_);
            painter.setPen(fontColor_);
            QStaticText text{QString(letter)};
            text.setTextFormat(Qt::PlainText);
            text.prepare(painter.transform(), font_);
            painter.drawStaticText(-ink.topLeft(), text);
        }
    }
    if (!stamp.picture.isNull())
        painter_.drawImage(QPoint(x, y) + stamp.offset, stamp.picture);
}

int Canvas::textWidth(const QString &text) const {
    return metrics_.horizontalAdvance(text);
}

int Canvas::textWidth(QChar c) const {
    return metrics_.horizontalAdvance(c);
}

int Canvas::textHeight() const {
    return metrics_.height();
}

namespace {

// Lays text out as drawWrappedText shows it in a box of the given size: lines broken between words
// where a word would pass the right edge, inside a word only when it alone is wider. Lines that would
// start below the box are cut off anyway and get no layout. True when all of the text was laid out
// inside the box.
bool layOutWrapped(QTextLayout &layout, const QSize &box) {
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true); // the glyphs shaped for the lines are drawn, not shaped again
    layout.beginLayout();
    qreal y = 0;
    bool inside = true;
    int laidOut = 0;
    while (y < box.height()) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, y));
        y += line.height();
        laidOut = line.textStart() + line.textLength();
        if (y > box.height() || line.naturalTextWidth() > box.width())
            inside = false;
    }
    layout.endLayout();
    return inside && laidOut >= layout.text().size();
}

// Lays out lines that are already broken, lineSpacing pixels apart, with unhinted widths.
void layOutLines(QTextLayout &layout, double lineSpacing) {
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::NoWrap);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    for (int i = 0;; ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setPosition(QPointF(0, i * lineSpacing));
    }
    layout.endLayout();
}

} // namespace

template <typename LayOut>
const QTextLayout &Canvas::laidOut(const QString &text, const QFont &font, QSizeF box,
                                   std::unique_ptr<QTextLayout> &own, LayOut layOut) {
    QPaintDevice *device = painter_.device();
    if (!layouts_ || !device) {
        own = std::make_unique<QTextLayout>(text, font, device);
        layOut(*own);
        return *own;
    }
    TextLayouts::Key key{text, font, device->logicalDpiX(), device->logicalDpiY(), box.width(), box.height()};
    if (const QTextLayout *kept = layouts_->find(key))
        return *kept;
    auto made = std::make_unique<QTextLayout>(text, font, device);
    layOut(*made);
    return layouts_->keep(std::move(key), std::move(made));
}

void Canvas::drawWrappedText(const QString &text, const QRect &rect) {
    if (text.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    std::unique_ptr<QTextLayout> own;
    const QTextLayout &layout = laidOut(withLineSeparators(text), font_, rect.size(), own,
                                        [&rect](QTextLayout &l) { layOutWrapped(l, rect.size()); });
    drawLayout(layout, rect.topLeft(), rect);
}

bool Canvas::wrappedTextFits(const QString &text, const QRect &rect) const {
    if (text.isEmpty())
        return true;
    if (rect.width() <= 0 || rect.height() <= 0)
        return false;
    QTextLayout layout(withLineSeparators(text), font_, painter_.device());
    return layOutWrapped(layout, rect.size());
}

void Canvas::drawTextLines(const QStringList &lines, double pixelSize, const QPointF &topLeft,
                           double lineSpacing, const std::optional<QRect> &clip) {
    if (lines.isEmpty() || !(pixelSize > 0))
        return;
    const QPaintDevice *device = painter_.device();
    const int deviceDpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 72;
    QFont font = font_;
    // QFont takes fractional sizes only in points; on this device they come out as pixelSize pixels.
    font.setPointSizeF(pixelSize * 72 / deviceDpi);
    std::unique_ptr<QTextLayout> own;
    const QTextLayout &layout = laidOut(lines.join(QChar::LineSeparator), font, QSizeF(0, lineSpacing), own,
                                        [lineSpacing](QTextLayout &l) { layOutLines(l, lineSpacing); });
    drawLayout(layout, topLeft, clip);
}

void Canvas::drawLayout(const QTextLayout &layout, const QPointF &origin, const std::optional<QRect> &clip) {
    if (background_ == TextBackground::Opaque)
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            const QRect behind =
                QRectF(origin + line.position(), QSizeF(line.naturalTextWidth(), line.height()))
                    .toAlignedRect();
            paintTextBackground(clip ? behind & *clip : behind);
        }
    if (!clip) {
        layout.draw(&painter_, origin);
        return;
    }
    if (painter_.paintEngine() && painter_.paintEngine()->type() == QPaintEngine::SVG) {
        drawLinesCutToRectangle(layout, origin, *clip);
        return;
    }
    // Saving and restoring the whole painter state costs more than the text itself; a painter without
    // a clip of its own only needs its clip switched off again.
    const bool ownClip = painter_.hasClipping();
    if (ownClip) {
        painter_.save();
        painter_.setClipRect(*clip, Qt::IntersectClip);
    } else {
        painter_.setClipRect(*clip);
    }
    layout.draw(&painter_, origin);
    if (ownClip)
        painter_.restore();
    else
        painter_.setClipping(false);
}

void Canvas::drawLinesCutToRectangle(const QTextLayout &layout, const QPointF &origin, const QRect &rect) {
    // Qt's SVG generator writes no clip paths, so the cut is made here: lines that lie wholly inside
    // the rectangle stay text, a line that passes its edge becomes the outlines of its glyphs, cut
    // to the rectangle and filled in the font's colour.
    const QRectF area(rect);
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const QRectF box(origin + line.position(), QSizeF(line.naturalTextWidth(), line.height()));
        if (area.contains(box)) {
            line.draw(&painter_, origin);
            continue;
        }
        QPainterPath outlines;
        for (const QGlyphRun &run : line.glyphRuns()) {
            const QRawFont font = run.rawFont();
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype g = 0; g < glyphs.size() && g < positions.size(); ++g)
                outlines.addPath(font.pathForGlyph(glyphs[g]).translated(positions[g]));
        }
        QPainterPath window;
        window.addRect(area);
        const QPainterPath visible = outlines.translated(origin).intersected(window);
        if (!visible.isEmpty())
            painter_.fillPath(visible, fontColor_);
    }
}

void Canvas::fillPath(const QPolygon &points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    painter_.fillPath(path, brushColor_);
}

std::optional<QRect> Canvas::reachableArea() const {
    std::optional<QRect> area;
    // The surface the paint engine draws into (the image itself, or a widget's backing store) and the
    // system clip (a widget's exposed region) count in the surface's own pixels. The device transform
    // maps the painter's coordinates there: it holds the world transform, the device pixel ratio and,
    // for a widget, the widget's offset in its window.
    bool invertible = false;
    const QTransform fromSurface = painter_.deviceTransform().inverted(&invertible);
    if (invertible) {
        const QPaintEngine *engine = painter_.paintEngine();
        const QPaintDevice *surface =
            engine && engine->paintDevice() ? engine->paintDevice() : painter_.device();
        if (surface && surface->width() > 0 && surface->height() > 0)
            area = fromSurface.mapRect(QRectF(0, 0, surface->width(), surface->height())).toAlignedRect();
        if (engine && !engine->systemClip().isEmpty()) {
            const QRect systemClip =
                fromSurface.mapRect(QRectF(engine->systemClip().boundingRect())).toAlignedRect();
            area = area ? (*area & systemClip) : systemClip;
        }
    }
    if (painter_.hasClipping()) {
        const QRect clip = painter_.clipBoundingRect().toAlignedRect();
        area = area ? (*area & clip) : clip;
    }
    return area;
}
