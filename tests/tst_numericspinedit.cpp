#include "datarow.h"
#include "fieldvaluerows.h"
#include "numericspinedit.h"
#include "puzzlesettings.h"

#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>
#include <QtTest>

#include <memory>

namespace {

// The six fields of the window: kind, limits and step.
struct FieldKind {
    int decimals;
    double minimum;
    double maximum;
};

FieldKind kindNamed(const QString &name) {
    if (name == QLatin1String("zoom"))
        return {0, 10, 1000};
    if (name == QLatin1String("line width"))
        return {2, 0.001, 10};
    if (name == QLatin1String("cell width"))
        return {2, 1, 100};
    return {2, 0.001, 100}; // arrow size, text margin, page margin
}

std::unique_ptr<NumericSpinEdit> makeField(const QString &kind, double value) {
    const FieldKind k = kindNamed(kind);
    auto field = std::make_unique<NumericSpinEdit>();
    field->setDecimals(k.decimals);
    field->setMinimum(k.minimum);
    field->setMaximum(k.maximum);
    field->setStep(10);
    field->setValue(value);
    field->resize(65, 21);
    return field;
}

QLineEdit *editOf(NumericSpinEdit &field) {
    return field.findChild<QLineEdit *>();
}

void setText(NumericSpinEdit &field, const QString &text) {
    editOf(field)->setText(text);
}

QPoint buttonCentre(NumericSpinEdit &field, QStyle::SubControl button) {
    QStyleOptionSpinBox option;
    option.initFrom(&field);
    option.subControls = QStyle::SC_All;
    option.buttonSymbols = field.buttonSymbols();
    return field.style()->subControlRect(QStyle::CC_SpinBox, &option, button, &field).center();
}

} // namespace

class TestNumericSpinEdit : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // The window's side of the rows that the command line's reading of stored numbers passes too.
    void showsValues_data() { addFieldValueRows(); }
    void showsValues() {
        QFETCH(int, field);
        QFETCH(double, stored);
        QFETCH(QString, text);
        QFETCH(double, used);
        NumericSpinEdit edit;
        edit.setField(*settingsNumberFields[static_cast<std::size_t>(field)].field);
        edit.setValue(stored);
        QCOMPARE(edit.text(), text);
        QCOMPARE(edit.value(), used);
        QCOMPARE(editOf(edit)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    }

    void valueInUseIsTheShownNumber_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("inUse");
        addRow("zoom cleared gives minimum", "zoom", "", 10.0);
        addRow("zoom only a sign", "zoom", "-", 10.0);
        addRow("zoom typed 250", "zoom", "250", 250.0);
        addRow("zoom with plus sign", "zoom", "+120", 120.0);
        addRow("zoom typed beyond maximum counts as maximum", "zoom", "5000", 1000.0);
        addRow("zoom typed below minimum counts as minimum", "zoom", "5", 10.0);
        addRow("line width 0,00", "line width", "0,00", 0.0);
        addRow("line width three decimals", "line width", "0,004", 0.004);
        addRow("line width letters give minimum", "line width", "abc", 0.001);
        addRow("exponent", "page margin", "1,5e1", 15.0);
        addRow("capital exponent", "page margin", "2E1", 20.0);
        addRow("unfinished exponent gives minimum", "page margin", "1,5e", 0.001);
        addRow("dot is no German separator", "cell width", "1.5", 1.0);
        addRow("overflowing exponent gives minimum", "cell width", "1e999", 1.0);
    }
    void valueInUseIsTheShownNumber() {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(double, inUse);
        auto field = makeField(kind, 50);
        setText(*field, text);
        QCOMPARE(field->text(), text);
        QCOMPARE(field->value(), inUse);
    }

    void steps_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("inUse");
        QTest::addColumn<int>("changes");
        addRow("zoom 1000 up stays", "zoom", "1000", 1, "1000", 1000.0, 0);
        addRow("zoom 10 down stays", "zoom", "10", -1, "10", 10.0, 0);
        addRow("zoom 100 up", "zoom", "100", 1, "110", 110.0, 1);
        addRow("zoom 995 up clamps", "zoom", "995", 1, "1000", 1000.0, 1);
        addRow("zoom cleared up", "zoom", "", 1, "20", 20.0, 1);
        addRow("line width 0.3 up", "line width", "0,30", 1, "10,00", 10.0, 1);
        addRow("line width 0.3 down", "line width", "0,30", -1, "0,00", 0.0, 1);
        addRow("line width at minimum down", "line width", "0,00", -1, "0,00", 0.0, 0);
        addRow("cell width 10 down", "cell width", "10,00", -1, "1,00", 1.0, 1);
        addRow("cell width 95 up", "cell width", "95,00", 1, "100,00", 100.0, 1);
        addRow("typed text steps from its value", "page margin", "2,5e-1", 1, "10,25", 10.25, 1);
    }
    void steps() {
        QFETCH(QString, kind);
        QFETCH(QString, start);
        QFETCH(int, steps);
        QFETCH(QString, text);
        QFETCH(double, inUse);
        QFETCH(int, changes);
        // The same step through the button, the arrow key and the step call.
        for (const QString &via : {QStringLiteral("button"), QStringLiteral("key"), QStringLiteral("call")}) {
            auto field = makeField(kind, 50);
            field->show();
            setText(*field, start);
            QSignalSpy changed(field.get(), &NumericSpinEdit::changed);
            if (via == QLatin1String("button")) {
                const QStyle::SubControl button = steps > 0 ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown;
                QTest::mousePress(field.get(), Qt::LeftButton, {}, buttonCentre(*field, button));
                QTest::mouseRelease(field.get(), Qt::LeftButton, {}, buttonCentre(*field, button));
            } else if (via == QLatin1String("key")) {
                QTest::keyClick(field.get(), steps > 0 ? Qt::Key_Up : Qt::Key_Down);
            } else {
                field->stepBy(steps);
            }
            QVERIFY2(field->text() == text, qPrintable(via + ": " + field->text()));
            QCOMPARE(field->value(), inUse);
            QVERIFY2(changed.count() == changes, qPrintable(via));
        }
    }

    void typing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        addRow("digits", "page margin", "12", "12");
        addRow("dot types the comma", "page margin", "1.5", "1,5");
        addRow("comma is the separator", "page margin", "1,5", "1,5");
        addRow("one separator only", "page margin", "1,,5.2", "1,52");
        addRow("one exponent only", "page margin", "1e2e3E", "1e23");
        addRow("signs are accepted", "page margin", "+-1", "+-1");
        addRow("letters refused", "page margin", "a1x b", "1");
        addRow("zoom refuses separator and exponent", "zoom", "1.5,e0", "150");
        addRow("zoom accepts signs", "zoom", "-5", "-5");
    }
    void typing() {
        QFETCH(QString, kind);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        auto field = makeField(kind, 50);
        field->show();
        editOf(*field)->clear();
        QSignalSpy changed(field.get(), &NumericSpinEdit::changed);
        QTest::keyClicks(field.get(), keys);
        QCOMPARE(field->text(), text);
        // Every accepted key is an edit and raises the change once.
        QCOMPARE(changed.count(), text.size());
    }

    void selectionMayBeReplacedBySeparator() {
        auto field = makeField("page margin", 12.5);
        field->show();
        editOf(*field)->setSelection(2, 1); // the comma of "12,50"
        QTest::keyClicks(field.get(), ".");
        QCOMPARE(field->text(), QStringLiteral("12,50"));
    }

    void controlKeysEdit() {
        auto field = makeField("zoom", 100);
        field->show();
        editOf(*field)->setCursorPosition(3);
        QTest::keyClick(field.get(), Qt::Key_Backspace);
        QCOMPARE(field->text(), QStringLiteral("10"));
        QTest::keyClick(field.get(), Qt::Key_Home);
        QTest::keyClick(field.get(), Qt::Key_Delete);
        QCOMPARE(field->text(), QStringLiteral("0"));
    }

    void paste_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<QString>("text");
        addRow("number replaces selection", "page margin", "2,5", true, "2,5");
        addRow("digits appended", "page margin", "7", false, "12,507");
        addRow("letters undone", "page margin", "abc", true, "12,50");
        addRow("text making no number undone", "page margin", "x", false, "12,50");
        addRow("second separator undone", "page margin", ",5", false, "12,50");
        addRow("zoom refuses decimals", "zoom", "1,5", true, "13");
        addRow("zoom takes a whole number", "zoom", "250", true, "250");
    }
    void paste() {
        QFETCH(QString, kind);
        QFETCH(QString, clipboard);
        QFETCH(bool, selectAll);
        QFETCH(QString, text);
        auto field = makeField(kind, 12.5);
        field->show();
        QLineEdit *edit = editOf(*field);
        if (selectAll)
            edit->selectAll();
        else
            edit->end(false);
        const QString before = field->text();
        QGuiApplication::clipboard()->setText(clipboard);
        QSignalSpy changed(field.get(), &NumericSpinEdit::changed);
        QTest::keyClick(field.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->text(), text);
        QCOMPARE(changed.count(), text == before ? 0 : 1);
    }

    void focusOutClamps_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Qt::FocusReason>("reason");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("changes");
        const Qt::FocusReason tab = Qt::TabFocusReason;
        addRow("zoom beyond maximum", "zoom", "5000", tab, "1000", 1);
        addRow("zoom cleared", "zoom", "", tab, "10", 1);
        addRow("zoom in range unchanged", "zoom", "250", tab, "250", 0);
        addRow("three decimals rounded", "line width", "0,004", tab, "0,00", 1);
        addRow("exponent shown as number", "page margin", "1e1", tab, "10,00", 1);
        addRow("negative raised to minimum", "cell width", "-3", tab, "1,00", 1);
        addRow("cleared gives minimum", "line width", "", tab, "0,00", 1);
        // A popup taking the focus is no leaving of the field: the typing stays.
        addRow("popup keeps typing", "zoom", "5000", Qt::PopupFocusReason, "5000", 0);
    }
    void focusOutClamps() {
        QFETCH(QString, kind);
        QFETCH(QString, typed);
        QFETCH(Qt::FocusReason, reason);
        QFETCH(QString, shown);
        QFETCH(int, changes);
        auto field = makeField(kind, 50);
        setText(*field, typed);
        QSignalSpy changed(field.get(), &NumericSpinEdit::changed);
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(field.get(), &out);
        QCOMPARE(field->text(), shown);
        QCOMPARE(changed.count(), changes);
    }

    void setValueRaisesChangeOnlyWhenTextChanges() {
        auto field = makeField("page margin", 15);
        QSignalSpy changed(field.get(), &NumericSpinEdit::changed);
        field->setValue(15.001);
        QCOMPARE(changed.count(), 0);
        field->setValue(0.127);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(field->text(), QStringLiteral("0,13"));
    }

    void followsTheLocale() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        auto field = makeField("line width", 0.3);
        QCOMPARE(field->text(), QStringLiteral("0.30"));
        field->show();
        QTest::keyClicks(field.get(), ",");
        QCOMPARE(field->text(), QStringLiteral("0.30"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
};

QTEST_MAIN(TestNumericSpinEdit)
#include "tst_numericspinedit.moc"
