#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <QUrl>

#include <memory>

namespace Ui {
class TAboutBox;
}
class QFrame;
class QLabel;
class QPushButton;

// The maker's web address, opened by the About box's button.
inline const QUrl makerWebAddress{QStringLiteral("https://www.example.org/wabrix")};

// The maker's picture in the About box: a progressive JPEG compiled into the program.
inline const QString makerPicture = QStringLiteral(":/pictures/wabrix-macher.jpg");

// text with its first "XXXX" replaced by year, written in decimal without separators; text as it is
// when it has no "XXXX".
QString withYear(QString text, int year);

// The About box "Info": a fixed-size dialog with the maker's picture, the maker's texts, a copyright
// line that shows the year of its creation, a button that opens the maker's web address and the OK
// button. OK (also the Enter key) closes it with Accepted, the close box with Rejected; Escape closes
// nothing. It is made once, hidden, and shown modally as often as asked; its texts stay as made.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    // The panel's background colour.
    static inline const QColor panelColor{240, 202, 166};

    // today gives the copyright year; tests pass a date of their choice.
    explicit TAboutBox(QWidget *parent = nullptr, QDate today = QDate::currentDate());
    ~TAboutBox() override;

    QFrame *Panel1;
    QLabel *ProgramIcon;
    QLabel *ProductName;
    QLabel *Copyright;
    QLabel *Comments;
    QPushButton *BitBtn1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPushButton *BitBtnXP1;

public slots:
    // Asks the desktop to open the maker's web address; a failure is not reported and the box stays open.
    void BitBtnXP1Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate(QDate today);

    std::unique_ptr<Ui::TAboutBox> ui;
};
