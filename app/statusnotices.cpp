#include "statusnotices.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

StatusNotices::StatusNotices(QWidget *parent) : QWidget(parent), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(4, 2, 4, 2);
    layout_->setSpacing(2);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    hide();
}

void StatusNotices::setNotice(const QString &key, const QString &text, const QString &actionText,
                              std::function<void()> action) {
    Notice *notice = find(key);
    if (!notice) {
        Notice added;
        added.key = key;
        added.row = new QWidget(this);
        auto *row = new QHBoxLayout(added.row);
        row->setContentsMargins(0, 0, 0, 0);
        added.text = new QLabel(added.row);
        added.text->setWordWrap(true);
        added.text->setTextFormat(Qt::PlainText);
        added.button = new QPushButton(added.row);
        added.button->setObjectName(key + QStringLiteral("Action"));
        row->addWidget(added.text, 1);
        row->addWidget(added.button);
        layout_->addWidget(added.row);
        notices_.push_back(std::move(added));
        notice = &notices_.back();
        // The action is looked up at the click, so that a replaced notice calls its new action.
        connect(notice->button, &QPushButton::clicked, this, [this, key] {
            if (Notice *current = find(key); current && current->action)
                current->action();
        });
    }
    notice->text->setText(text);
    notice->action = std::move(action);
    notice->button->setText(actionText);
    notice->button->setVisible(!actionText.isEmpty() && notice->action);
    show();
}

void StatusNotices::clearNotice(const QString &key) {
    for (auto it = notices_.begin(); it != notices_.end(); ++it) {
        if (it->key == key) {
            it->row->deleteLater();
            it->row->hide();
            notices_.erase(it);
            break;
        }
    }
    setVisible(!notices_.empty());
}

void StatusNotices::clearAll() {
    while (!notices_.empty())
        clearNotice(notices_.front().key);
}

bool StatusNotices::hasNotice(const QString &key) const {
    return find(key) != nullptr;
}

QString StatusNotices::noticeText(const QString &key) const {
    const Notice *notice = find(key);
    return notice ? notice->text->text() : QString();
}

QPushButton *StatusNotices::actionButton(const QString &key) const {
    const Notice *notice = find(key);
    return notice && notice->action ? notice->button : nullptr;
}

QStringList StatusNotices::keys() const {
    QStringList keys;
    for (const Notice &notice : notices_)
        keys << notice.key;
    return keys;
}

StatusNotices::Notice *StatusNotices::find(const QString &key) {
    for (Notice &notice : notices_)
        if (notice.key == key)
            return &notice;
    return nullptr;
}

const StatusNotices::Notice *StatusNotices::find(const QString &key) const {
    for (const Notice &notice : notices_)
        if (notice.key == key)
            return &notice;
    return nullptr;
}
