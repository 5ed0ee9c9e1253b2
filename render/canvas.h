#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QPainter;
class QTextLayout;
class TextLayouts;

// How text treats what lies behind its characters: left alone, or painted in the brush colour.
enum class TextBackground { Transparent, Opaque };

// The drawing operations the puzzle renderer uses, on top of a QPainter, with the semantics of a
// Windows device context: a current pen (colour and width), brush and font with its own colour,
// rectangles with exclusive end coordinates whose outline is centred on the edge lines, text placed
// by its top-left corner, word-wrapped text in a rectangle and filled paths. Lines and fills are
// drawn without antialiasing, so coordinates map to whole pixels.
class Canvas {
public:
    // Draws through painter. A resolution above 0 states the target's pixels per inch for both axes
    // (for images, SVG and PDF targets); 0 takes them from the painter's device.
    explicit Canvas(QPainter &painter, int resolution = 0);
    // Leaves the painter's brush at the canvas's brush.
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    // Horizontal pixels per inch of the target; it serves both axes for lengths.
    int resolution() const { return resolution_; }
    // Vertical pixels per inch of the target, which font heights are made for.
    int verticalResolution() const { return verticalResolution_; }

    // The pen draws outlines and lines; width in pixels, at least 1.
    void setPen(const QColor &color, int width);
    // The brush fills rectangles and paths, and the background of opaque text.
    void setBrush(const QColor &color);
    // The font of textOut, drawWrappedText and the text measures, with its colour.
    void setFont(const QFont &font, const QColor &color);
    void setFontColor(const QColor &color);
    void setTextBackground(TextBackground mode) { background_ = mode; }

    // Fills the rectangle from (x1, y1) to (x2, y2), end coordinates exclusive, with the brush and
    // outlines it with the pen: the outline runs along x1, x2 - 1, y1 and y2 - 1, each line pen-width
    // pixels wide and centred on its coordinate (one pixel more before it than after for even widths).
    void rectangle(int x1, int y1, int x2, int y2);
    // The outline that rectangle draws, leaving the inside as it is.
    void outline(int x1, int y1, int x2, int y2);
    // The pixels of an edge as rectangle draws it in the pen: along row y from column x1 to column x2,
    // or along column x from row y1 to row y2, pen-width pixels wide and centred on the edge's row or
    // column, from the band of its first coordinate to the band of its last, both included.
    QRect horizontalEdgeBand(int x1, int x2, int y) const;
    QRect verticalEdgeBand(int x, int y1, int y2) const;
    // What rectangle(x1, y1, x2, y2) draws in one colour (pen and brush alike), followed by the parts
    // inside it of bands in the pen's colour, each given as the pixels it fills; only what area (when
    // given) holds. The same
    // pixels come out as from rectangle and then one fill per band; drawing straight into an image, a
    // picture of the rows between where bands begin and end is repeated down the rectangle instead.
    void rectangleUnderBands(int x1, int y1, int x2, int y2, const QColor &color,
                             const std::vector<QRect> &bands, const std::optional<QRect> &area);
    // The current position for lineTo.
    void moveTo(int x, int y);
    // A line in the pen from the current position to (x, y), without its end point, which becomes
    // the current position.
    void lineTo(int x, int y);
    // Draws text with the top-left corner of its first character cell at (x, y).
    void textOut(int x, int y, const QString &text);
    // Draws one character as textOut does; a character drawn again in the same font is not laid out anew.
    void letterOut(int x, int y, QChar letter);
    // The same where every pixel that inkBounds gives for the character at (x, y) is white, with a
    // transparent text background. Drawing straight into an image moved by whole pixels, the character
    // is drawn once on white into a picture of its own, and that picture is copied: the same pixels in
    // a fraction of the time.
    void letterOnWhite(int x, int y, QChar letter);
    // Width and height of text in the current font; the height is that of the font's character cell.
    int textWidth(const QString &text) const;
    int textWidth(QChar c) const;
    int textHeight() const;
    // The pixels, or more, that text covers when textOut draws it at (0, 0).
    QRect inkBounds(const QString &text) const {
        return metrics_.boundingRect(text).translated(0, metrics_.ascent());
    }
    // Width of the widest character of the current font.
    int maxCharWidth() const { return metrics_.maxWidth(); }
    // Lays text out from the rectangle's top-left corner, left-aligned, line by line: lines break
    // between words where a word would pass the right edge, inside a word only when that word alone
    // is wider than the rectangle, and at the line breaks of the text. Nothing is shrunk or centred;
    // whatever passes the rectangle's edges is cut off there, on an SVG target too, where lines that
    // pass an edge are drawn as glyph outlines cut to the rectangle.
    void drawWrappedText(const QString &text, const QRect &rect);
    // Whether drawWrappedText shows all of text in rect: every line laid out lies inside it.
    bool wrappedTextFits(const QString &text, const QRect &rect) const;
    // Draws lines that are already broken, one below the other from topLeft, lineSpacing pixels apart,
    // in the current font realised at pixelSize pixels (fractional) with its unhinted widths, so that
    // a line's width is its width at any other size times the ratio of the sizes. With a clip rectangle
    // whatever passes its edges is cut off there, as drawWrappedText cuts.
    void drawTextLines(const QStringList &lines, double pixelSize, const QPointF &topLeft, double lineSpacing,
                       const std::optional<QRect> &clip = std::nullopt);
    // Keeps the layouts of drawWrappedText and drawTextLines in layouts (null: none), to be drawn
    // again by later canvases on devices of the same resolution that keep theirs there too.
    void keepLayoutsIn(TextLayouts *layouts) { layouts_ = layouts; }
    // Fills the closed polygon with the brush; no outline.
    void fillPath(const QPolygon &points);

    // The part of the canvas, in its own coordinates, that drawing can change: the device less what
    // the painter clips away (possibly empty). Nothing when that is not known.
    std::optional<QRect> reachableArea() const;

private:
    // Where the outline's four lines start: each covers [start, start + pen width).
    struct Frame {
        long long left, top, right, bottom;
    };
    Frame frame(int x1, int y1, int x2, int y2) const;
    void fillBand(long long x, long long y, long long width, long long height, const QColor &color);
    // The pixels fillBand fills, kept within coordinates a QRect can hold.
    static QRect bandRect(long long x, long long y, long long width, long long height);
    // Draws the laid-out lines at origin, cut to rect without the painter's clip.
    void drawLinesCutToRectangle(const QTextLayout &layout, const QPointF &origin, const QRect &rect);
    // Draws the laid-out lines at origin, cut to clip when one is given.
    void drawLayout(const QTextLayout &layout, const QPointF &origin, const std::optional<QRect> &clip);
    void paintTextBackground(const QRect &area);
    // The layout of text in font on the painter's device, made by layOut from a new QTextLayout
    // unless the layouts kept hold one for it; box tells apart layouts of the same text and font.
    template <typename LayOut>
    const QTextLayout &laidOut(const QString &text, const QFont &font, QSizeF box,
                               std::unique_ptr<QTextLayout> &own, LayOut layOut);

    QPainter &painter_;
    int resolution_ = 0;
    int verticalResolution_ = 0;
    QColor penColor_ = Qt::black;
    int penWidth_ = 1;
    QColor brushColor_ = Qt::white;
    QFont font_;
    QFontMetrics metrics_;
    QColor fontColor_ = Qt::black;
    TextBackground background_ = TextBackground::Opaque;
    QPoint position_;
    std::unordered_map<char16_t, QStaticText> letters_;
    // Per character: its picture on white, the size of its ink bounds, in the font of the text and the
    // colour it was drawn in, and where the picture goes from the character's position.
    struct Stamp {
        QColor color;
        QImage::Format format = QImage::Format_Invalid; // of the target it was made for
        QPoint offset;
        QImage picture; // none for a character without ink
    };
    std::unordered_map<char16_t, Stamp> stamps_;
    TextLayouts *layouts_ = nullptr;
};
