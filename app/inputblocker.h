#pragma once

#include <QObject>

class QWidget;

// While active, drops the user's input to one window and its controls: mouse buttons, the wheel, keys,
// keyboard shortcuts, context menus, touch and drops. Painting, resizing and closing the window go on,
// and other windows, a dialog above it among them, keep their input.
class InputBlocker : public QObject {
    Q_OBJECT

public:
    explicit InputBlocker(QWidget *window, QObject *parent = nullptr);
    ~InputBlocker() override;

    // Starts or stops dropping the window's input; inactive from the start.
    void setActive(bool active);
    bool isActive() const { return active_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool belongsToWindow(QObject *object) const;

    QWidget *window_;
    bool active_ = false;
};
