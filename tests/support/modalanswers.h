#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

// Answering the modal windows a test makes the program open, and recording what they showed.

// What the message box closed by closeNextMessageBox showed.
struct SeenBox {
    bool shown = false;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QStringList buttonTexts; // the captions of its buttons
    QString clicked;         // the caption of the button clicked, if any
};

// Closes the next message box once it is shown (with OK) and records what it showed in seen, which
// must outlive that moment.
void closeNextMessageBox(SeenBox &seen);

// Clicks the button captioned buttonText in the next message box once it is shown and records what
// the box showed in seen, which must outlive that moment. A box without such a button is closed as
// Escape closes it, and seen.clicked stays empty.
void clickInNextMessageBox(SeenBox &seen, const QString &buttonText);

// Answers the modal windows that open while it lives, on the window's own thread: every message box
// is recorded and answered with the next button caption in line (see answerWith), or closed with OK
// when none is left; any other modal window goes to the next handler in line, or is closed when there
// is none.
class ModalAnswers : public QObject {
public:
    using Handler = std::function<void(QWidget *)>;

    ModalAnswers();
    void then(Handler handler) { handlers_ << std::move(handler); }
    // The next message box is answered with its button of this caption (one that has none is closed
    // as Escape closes it).
    void answerWith(const QString &buttonText) { buttons_ << buttonText; }

    QStringList messages;
    QStringList details; // the informative text of each message box, in the order of messages
    QStringList clicked; // the captions clicked in message boxes, in order
    QList<QMessageBox::Icon> icons;
    int otherWindows = 0;
    int busyMessages = 0; // messages shown under the busy cursor

private:
    void answer();

    QTimer timer_;
    QList<Handler> handlers_;
    QStringList buttons_;
};
