#include "fieldvaluerows.h"

#include "datarow.h"

#include <limits>

namespace {

enum Field { zoom, cellWidth, lineWidth, arrowSize, textMargin, pageMargin };

} // namespace

void addFieldValueRows() {
    QTest::addColumn<int>("field");
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("used");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    addRow("zoom default", int(zoom), 100.0, QStringLiteral("100"), 100.0);
    addRow("zoom 1000 without group separator", int(zoom), 1000.0, QStringLiteral("1000"), 1000.0);
    addRow("zoom 123.4 shows as 123", int(zoom), 123.4, QStringLiteral("123"), 123.0);
    addRow("zoom 150.6 shows as 151", int(zoom), 150.6, QStringLiteral("151"), 151.0);
    addRow("zoom 123.6 shows as 124", int(zoom), 123.6, QStringLiteral("124"), 124.0);
    addRow("zoom half 150.5 rounds up", int(zoom), 150.5, QStringLiteral("151"), 151.0);
    addRow("zoom half 151.5 rounds up", int(zoom), 151.5, QStringLiteral("152"), 152.0);
    addRow("zoom 999.5 rounds to the maximum", int(zoom), 999.5, QStringLiteral("1000"), 1000.0);
    addRow("zoom minimum 10", int(zoom), 10.0, QStringLiteral("10"), 10.0);
    addRow("zoom 5000 clamps to 1000", int(zoom), 5000.0, QStringLiteral("1000"), 1000.0);
    addRow("zoom 5 clamps to 10", int(zoom), 5.0, QStringLiteral("10"), 10.0);
    addRow("zoom negative clamps to 10", int(zoom), -3.0, QStringLiteral("10"), 10.0);
    addRow("zoom not a number gives 10", int(zoom), nan, QStringLiteral("10"), 10.0);
    addRow("zoom infinity gives 1000", int(zoom), inf, QStringLiteral("1000"), 1000.0);
    addRow("zoom minus infinity gives 10", int(zoom), -inf, QStringLiteral("10"), 10.0);
    addRow("line width default", int(lineWidth), 0.3, QStringLiteral("0,30"), 0.3);
    addRow("line width 0.127 shows as 0.13", int(lineWidth), 0.127, QStringLiteral("0,13"), 0.13);
    addRow("line width half 0.125 rounds up", int(lineWidth), 0.125, QStringLiteral("0,13"), 0.13);
    addRow("line width 0.015 lies below the half", int(lineWidth), 0.015, QStringLiteral("0,01"), 0.01);
    addRow("line width minimum shows 0,00", int(lineWidth), 0.001, QStringLiteral("0,00"), 0.0);
    addRow("line width negative", int(lineWidth), -4.0, QStringLiteral("0,00"), 0.0);
    addRow("line width 25 clamps to 10", int(lineWidth), 25.0, QStringLiteral("10,00"), 10.0);
    addRow("line width not a number shows 0,00", int(lineWidth), nan, QStringLiteral("0,00"), 0.0);
    addRow("cell width maximum", int(cellWidth), 100.0, QStringLiteral("100,00"), 100.0);
    addRow("cell width minimum", int(cellWidth), 1.0, QStringLiteral("1,00"), 1.0);
    addRow("cell width 0.5 clamps to 1", int(cellWidth), 0.5, QStringLiteral("1,00"), 1.0);
    addRow("cell width not a number gives 1", int(cellWidth), nan, QStringLiteral("1,00"), 1.0);
    addRow("cell width infinity gives 100", int(cellWidth), inf, QStringLiteral("100,00"), 100.0);
    addRow("arrow size half 0.625 rounds up", int(arrowSize), 0.625, QStringLiteral("0,63"), 0.63);
    addRow("text margin half 2.375 rounds up", int(textMargin), 2.375, QStringLiteral("2,38"), 2.38);
    addRow("page margin default", int(pageMargin), 15.0, QStringLiteral("15,00"), 15.0);
    addRow("page margin minus infinity shows 0,00", int(pageMargin), -inf, QStringLiteral("0,00"), 0.0);
    addRow("page margin not a number shows 0,00", int(pageMargin), nan, QStringLiteral("0,00"), 0.0);
    addRow("page margin 1e300 clamps to 100", int(pageMargin), 1e300, QStringLiteral("100,00"), 100.0);
}
