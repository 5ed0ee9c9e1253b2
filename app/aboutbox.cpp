#include "aboutbox.h"

#include "startup.h"
#include "ui_aboutbox.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>

namespace {

// The dialog's font: "MS Sans Serif" 11 pixels where it exists, the window font Tahoma otherwise.
QFont dialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Tahoma")});
    font.setPixelSize(11);
    return font;
}

} // namespace

QString withYear(QString text, int year) {
    const qsizetype at = text.indexOf(QLatin1String("XXXX"));
    if (at >= 0)
        text.replace(at, 4, QString::number(year));
    return text;
}

TAboutBox::TAboutBox(QWidget *parent, QDate today) : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>()) {
    initResources();
    setFont(dialogFont());
    ui->setupUi(this);
    Panel1 = ui->Panel1;
    ProgramIcon = ui->ProgramIcon;
    ProductName = ui->ProductName;
    Copyright = ui->Copyright;
    Comments = ui->Comments;
    BitBtn1 = ui->BitBtn1;
    Label1 = ui->Label1;
    Label2 = ui->Label2;
    Label3 = ui->Label3;
    BitBtnXP1 = ui->BitBtnXP1;

    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(664, 453);
    setModal(true);

    QPalette panel = Panel1->palette();
    panel.setColor(QPalette::Window, panelColor);
    Panel1->setPalette(panel);

    QFont product(QStringLiteral("Arial Narrow"));
    product.setPixelSize(24);
    product.setBold(true);
    ProductName->setFont(product);
    QPalette black = ProductName->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    ProductName->setPalette(black);

    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtnXP1->setIcon(style()->standardIcon(QStyle::SP_DirLinkIcon));
    BitBtnXP1->setIconSize(QSize(16, 16));
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtnXP1, &QPushButton::clicked, this, &TAboutBox::BitBtnXP1Click);
    FormCreate(today);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::FormCreate(QDate today) {
    Copyright->setText(withYear(Copyright->text(), today.year()));
    for (QLabel *label : {Copyright, Label1, Label2})
        label->adjustSize();
}

void TAboutBox::BitBtnXP1Click() {
    QDesktopServices::openUrl(makerWebAddress);
}

void TAboutBox::keyPressEvent(QKeyEvent *event) {
    // No button of the box answers Escape.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAboutBox::showEvent(QShowEvent *event) {
    if (const QScreen *screen = parentWidget() ? parentWidget()->screen() : this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}
