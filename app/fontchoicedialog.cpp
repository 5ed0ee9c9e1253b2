#include "fontchoicedialog.h"

#include "fontmapping.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

FontChoiceWindow::FontChoiceWindow(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Schriftart"));
    fonts_ = new QFontDialog(this);
    fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts_->setWindowFlags(Qt::Widget);
    // The font list is a dialog of its own inside this window: Escape or Enter in one of its fields
    // would close only the list and leave this window open and empty. They answer this window instead.
    connect(fonts_, &QDialog::rejected, this, &QDialog::reject);
    connect(fonts_, &QDialog::accepted, this, &QDialog::accept);

    colorButton_ = new QPushButton(QStringLiteral("Farbe..."), this);
    colorButton_->setAutoDefault(false);
    connect(colorButton_, &QPushButton::clicked, this, &FontChoiceWindow::pickColor);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(colorButton_);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fonts_);
    layout->addLayout(bottom);
}

void FontChoiceWindow::setChoice(const QFont &font, const QColor &color) {
    // An uninstalled face is shown as the family that the font matching draws it with, not as
    // whatever the list would fall back to.
    QFont shown = font;
    shown.setFamilies({QFontInfo(font).family()});
    fonts_->setCurrentFont(shown);
    color_ = color;
    colorChanged_ = false;
    showColor();
}

QFont FontChoiceWindow::currentFont() const {
    return fonts_->currentFont();
}

void FontChoiceWindow::chooseColor(const QColor &color) {
    if (!color.isValid())
        return;
    color_ = color;
    colorChanged_ = true;
    showColor();
}

void FontChoiceWindow::showColor() {
    QPixmap swatch(16, 16);
    swatch.fill(color_);
    QPainter painter(&swatch);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, 15, 15);
    colorButton_->setIcon(QIcon(swatch));
}

void FontChoiceWindow::pickColor() {
    chooseColor(QColorDialog::getColor(color_, this, QStringLiteral("Farbe")));
}

int screenPixelsPerInch(const QWidget *widget) {
    const QScreen *screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

FontDescription FontChoiceDialog::chosenFont(const FontDescription &old, const QFont &shown,
                                             const QFont &chosen, const QColor *newColor, int screenPpi) {
    FontDescription result = old;
    if (chosen != shown) {
        result = fontDescriptionFromQFont(chosen, fontColor(old.color), screenPpi);
        result.color = old.color;
        result.charset = old.charset;
        if (chosen.family() == shown.family())
            result.face = old.face;
        // A face drawn with a stand-in shows the stand-in's weight; unless the user changed the
        // weight, the stored style stays.
        if (chosen.weight() == shown.weight())
            result.bold = old.bold;
    }
    if (newColor)
        result.color = fontColorValue(*newColor);
    return result;
}

bool FontChoiceDialog::Execute(QWidget *parent) {
    FontChoiceWindow window(parent);
    window.setChoice(dialogFont(Font), fontColor(Font.color));
    const QFont shown = window.currentFont();
    if (window.exec() != QDialog::Accepted)
        return false;
    const int ppi = screenPixelsPerInch(parent);
    const QColor color = window.currentColor();
    Font = chosenFont(Font, shown, window.currentFont(), window.colorChanged() ? &color : nullptr, ppi);
    return true;
}
