#include "numericspinedit.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace {

bool isControlText(const QString &typed) {
    for (QChar c : typed)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f)
            return false;
    return true;
}

bool isExponentLetter(QChar c) {
    return c == u'e' || c == u'E';
}

} // namespace

NumericSpinEdit::NumericSpinEdit(QWidget *parent) : QAbstractSpinBox(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAccelerated(false);
    lineEdit()->setAcceptDrops(false);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textChanged, this, &NumericSpinEdit::changed);
}

QLocale NumericSpinEdit::numberLocale() const {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

QChar NumericSpinEdit::decimalSeparator() const {
    const QString point = numberLocale().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.at(0);
}

void NumericSpinEdit::setField(const NumberField &field) {
    field_ = field;
    setDecimals(field.decimals);
    setValue(field.defaultValue);
}

QString NumericSpinEdit::textFor(double v) const {
    const QLocale locale = numberLocale();
    if (!isDecimal())
        return locale.toString(static_cast<qlonglong>(std::llround(v)));
    return locale.toString(v, 'f', field_.decimals);
}

bool NumericSpinEdit::parse(const QString &text, double &number) const {
    const QLocale locale = numberLocale();
    bool ok = false;
    if (isDecimal()) {
        number = locale.toDouble(text, &ok);
    } else {
        number = static_cast<double>(locale.toLongLong(text, &ok));
    }
    return ok && std::isfinite(number);
}

double NumericSpinEdit::shownNumber() const {
    double v = 0;
    return parse(text(), v) ? v : field_.minimum;
}

double NumericSpinEdit::value() const {
    const double v = shownNumber();
    // The lower bound is the minimum as the field shows it: a line width of 0.001 shows as 0,00 and
    // is used as 0, and a smaller typed number is used as what it becomes on leaving the field.
    const double shownMinimum = numberFieldValue(field_.minimum, field_);
    return qBound(std::min(shownMinimum, field_.minimum), v, field_.maximum);
}

void NumericSpinEdit::setValue(double v) {
    lineEdit()->setText(textFor(numberFieldValue(v, field_)));
}

void NumericSpinEdit::stepBy(int steps) {
    if (isReadOnly())
        return;
    setValue(value() + steps * field_.step);
}

QAbstractSpinBox::StepEnabled NumericSpinEdit::stepEnabled() const {
    return isReadOnly() ? StepNone : (StepUpEnabled | StepDownEnabled);
}

// Typed text is free: "-", "1e" and an empty field are steps on the way to a number. Only a paste
// must leave a number behind; a refused paste leaves the text as it was.
QValidator::State NumericSpinEdit::validate(QString &input, int &) const {
    double number = 0;
    if (pasting_ && !parse(input, number))
        return QValidator::Invalid;
    return QValidator::Intermediate;
}

bool NumericSpinEdit::acceptsTypedText(const QString &typed) const {
    // Separators and exponent letters outside the selection stay; the selection is replaced.
    QString kept = text();
    if (lineEdit()->hasSelectedText())
        kept.remove(lineEdit()->selectionStart(), lineEdit()->selectedText().size());
    const QChar separator = decimalSeparator();
    int separators = kept.count(separator);
    int exponents = static_cast<int>(std::count_if(kept.begin(), kept.end(), isExponentLetter));
    for (QChar c : typed) {
        if (c.isDigit() && c.unicode() < 0x80)
            continue;
        if (c == u'+' || c == u'-')
            continue;
        if (!isDecimal())
            return false;
        if (c == separator || c == u'.') {
            if (++separators > 1)
                return false;
        } else if (isExponentLetter(c)) {
            if (++exponents > 1)
                return false;
        } else {
            return false;
        }
    }
    return true;
}

void NumericSpinEdit::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteChecked();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool controlKey =
        isControlText(typed) || (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (controlKey) {
        QAbstractSpinBox::keyPressEvent(event);
        return;
    }
    if (isReadOnly() || !acceptsTypedText(typed)) {
        QApplication::beep();
        event->accept();
        return;
    }
    const QChar separator = decimalSeparator();
    if (isDecimal() && typed.contains(u'.') && separator != u'.') {
        // The "." key types the locale's separator, so the number pad's key works everywhere.
        QString translatedText = typed;
        translatedText.replace(u'.', separator);
        QKeyEvent translated(event->type(), event->key(), event->modifiers(), translatedText,
                             event->isAutoRepeat(), event->count());
        QAbstractSpinBox::keyPressEvent(&translated);
        event->setAccepted(translated.isAccepted());
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void NumericSpinEdit::focusOutEvent(QFocusEvent *event) {
    QAbstractSpinBox::focusOutEvent(event);
    // A context menu or another window takes the focus only for a while; the user is still editing.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        setValue(shownNumber());
}

void NumericSpinEdit::pasteChecked() {
    pasting_ = true;
    lineEdit()->paste();
    pasting_ = false;
}

void NumericSpinEdit::contextMenuEvent(QContextMenuEvent *event) {
    QPointer<QMenu> menu = lineEdit()->createStandardContextMenu();
    if (!menu)
        return;
    if (QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, &NumericSpinEdit::pasteChecked);
    }
    menu->exec(event->globalPos());
    delete menu;
    event->accept();
}

// A middle click pastes the X11 selection; it goes through the same check as any other paste.
bool NumericSpinEdit::eventFilter(QObject *watched, QEvent *event) {
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton) {
        pasting_ = true;
        QObject *edit = lineEdit();
        edit->event(event);
        pasting_ = false;
        return true;
    }
    return QAbstractSpinBox::eventFilter(watched, event);
}
