// Measures for the CUPS printing test what the shell cannot: the printable area of the default
// printer as Qt sees it, and where the first vertical line of a page lies in a rasterised page.
//
//   printprobe margins                      left and top offset of the printable area, in mm
//   printprobe area                         width and height of the printable area, in mm
//   printprobe redlines PICTURE.png         the pixel column of the vertical red line and the pixel row
//                                           of the horizontal one (the columns and rows most red)
//   printprobe firstline PAGE.png DPI RUN   left edge, in mm, of the leftmost pixel column with a
//                                           dark vertical run of at least RUN pixels
#include <QGuiApplication>
#include <QImage>
#include <QPrinter>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int margins() {
    const QPrinter printer(QPrinter::HighResolution);
    if (printer.outputFormat() != QPrinter::NativeFormat) {
        std::fprintf(stderr, "printprobe: no default printer\n");
        return 1;
    }
    const QRectF area = printer.pageRect(QPrinter::Millimeter);
    std::printf("%.3f %.3f\n", area.left(), area.top());
    return 0;
}

int area() {
    const QPrinter printer(QPrinter::HighResolution);
    if (printer.outputFormat() != QPrinter::NativeFormat) {
        std::fprintf(stderr, "printprobe: no default printer\n");
        return 1;
    }
    const QRectF printable = printer.pageRect(QPrinter::Millimeter);
    std::printf("%.3f %.3f\n", printable.width(), printable.height());
    return 0;
}

int redLines(const QString &file) {
    const QImage picture = QImage(file).convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) {
        std::fprintf(stderr, "printprobe: cannot read %s\n", qPrintable(file));
        return 1;
    }
    std::vector<int> columns(static_cast<std::size_t>(picture.width()));
    std::vector<int> rows(static_cast<std::size_t>(picture.height()));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == qRgb(255, 0, 0)) {
                ++columns[static_cast<std::size_t>(x)];
                ++rows[static_cast<std::size_t>(y)];
            }
    const auto column = std::max_element(columns.begin(), columns.end());
    const auto row = std::max_element(rows.begin(), rows.end());
    if (columns.empty() || rows.empty() || *column == 0) {
        std::fprintf(stderr, "printprobe: no red line in %s\n", qPrintable(file));
        return 1;
    }
    std::printf("%d %d\n", static_cast<int>(column - columns.begin()), static_cast<int>(row - rows.begin()));
    return 0;
}

int firstLine(const QString &file, double dpi, int minimumRun) {
    const QImage page = QImage(file).convertToFormat(QImage::Format_Grayscale8);
    if (page.isNull() || dpi <= 0 || minimumRun <= 0) {
        std::fprintf(stderr, "printprobe: cannot read %s\n", qPrintable(file));
        return 1;
    }
    for (int x = 0; x < page.width(); ++x) {
        int run = 0;
        for (int y = 0; y < page.height(); ++y) {
            run = page.constScanLine(y)[x] < 128 ? run + 1 : 0;
            if (run >= minimumRun) {
                std::printf("%.3f\n", x / dpi * 25.4);
                return 0;
            }
        }
    }
    std::fprintf(stderr, "printprobe: no vertical line in %s\n", qPrintable(file));
    return 1;
}

} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() == 2 && arguments[1] == QLatin1String("margins"))
        return margins();
    if (arguments.size() == 2 && arguments[1] == QLatin1String("area"))
        return area();
    if (arguments.size() == 3 && arguments[1] == QLatin1String("redlines"))
        return redLines(arguments[2]);
    if (arguments.size() == 5 && arguments[1] == QLatin1String("firstline"))
        return firstLine(arguments[2], arguments[3].toDouble(), arguments[4].toInt());
    std::fprintf(stderr,
                 "usage: printprobe margins | area | redlines PICTURE.png | firstline PAGE.png DPI RUN\n");
    return 2;
}
