#pragma once

#include "numberfield.h"

#include <QAbstractSpinBox>

class QKeyEvent;

// A right-aligned number field with up/down buttons, as the toolbar and the settings page use it.
// An integer field shows whole numbers; a decimal field shows two decimals with the locale's decimal
// separator. The value in use is always the number the text shows; the text is free while typing
// and is clamped to the limits and shown again when the field loses the focus. Every change of the
// text, typed, stepped or set, raises changed().
class NumericSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
    Q_PROPERTY(int decimals READ decimals WRITE setDecimals)
    Q_PROPERTY(double minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(double maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(double step READ step WRITE setStep)
    Q_PROPERTY(double value READ value WRITE setValue NOTIFY changed USER true)

public:
    explicit NumericSpinEdit(QWidget *parent = nullptr);

    // Makes this the given field: its limits, step and kind, showing its default.
    void setField(const NumberField &field);

    // Limits, step and kind; the text is left as it is.
    void setMinimum(double minimum) { field_.minimum = minimum; }
    void setMaximum(double maximum) { field_.maximum = maximum; }
    void setStep(double step) { field_.step = step; }
    // Decimal places shown: 0 makes an integer field, anything else a decimal field with two places.
    void setDecimals(int decimals) { field_.decimals = decimals > 0 ? 2 : 0; }

    double minimum() const { return field_.minimum; }
    double maximum() const { return field_.maximum; }
    double step() const { return field_.step; }
    int decimals() const { return field_.decimals; }
    bool isDecimal() const { return field_.decimals > 0; }

    // The value in use: the number the text shows. Text that is no number gives the minimum. A number
    // outside the limits counts as the value the field will show once it loses the focus, so the
    // view never draws with a zoom or length the field would not keep.
    double value() const;
    // Shows numberFieldValue(v): kept within the limits and rounded to what the field shows (0.127
    // shows as 0,13 and is then used as 0.13).
    void setValue(double v);
    // The text the field shows for v, without clamping.
    QString textFor(double v) const;
    // The number a text stands for in this field; false when it is no number.
    bool parse(const QString &text, double &number) const;

    // Up/down: the value plus steps times the step, clamped and shown.
    void stepBy(int steps) override;

signals:
    // The text changed: an edit, a step, or a value set from outside.
    void changed();

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString &input, int &pos) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // True when the typed text may go into the field; a decimal field allows one separator and one
    // exponent letter besides the digits and signs.
    bool acceptsTypedText(const QString &typed) const;
    // Pastes through the line edit; a paste that leaves no number is undone by the validator.
    void pasteChecked();
    // The number the text shows, unclamped; the minimum when the text is no number.
    double shownNumber() const;
    QChar decimalSeparator() const;
    QLocale numberLocale() const;

    NumberField field_{0, 100, 10, 0, 0};
    bool pasting_ = false;
};
