#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QVBoxLayout;

// The status line under the puzzle: short notices about the puzzle on screen (what became of the
// words, clues that do not fit their cells, a puzzle larger than the page...), one line each, in the
// order they were first set, each with an optional button that does what the notice suggests in one
// click. Setting a notice again under its key replaces its text and action in place. Hidden while
// there is no notice.
class StatusNotices : public QWidget {
    Q_OBJECT

public:
    explicit StatusNotices(QWidget *parent = nullptr);

    // Shows text under key; with an actionText, a button with that caption calls action.
    void setNotice(const QString &key, const QString &text, const QString &actionText = {},
                   std::function<void()> action = {});
    void clearNotice(const QString &key);
    void clearAll();

    bool hasNotice(const QString &key) const;
    // The text shown under key; empty when there is none.
    QString noticeText(const QString &key) const;
    // The action button of key, for tests and keyboard focus; null when the notice has no action.
    QPushButton *actionButton(const QString &key) const;
    QStringList keys() const;

private:
    struct Notice {
        QString key;
        QWidget *row = nullptr;
        QLabel *text = nullptr;
        QPushButton *button = nullptr;
        std::function<void()> action;
    };
    Notice *find(const QString &key);
    const Notice *find(const QString &key) const;

    QVBoxLayout *layout_;
    std::vector<Notice> notices_;
};
