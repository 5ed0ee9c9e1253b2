#include "textlayouts.h"

#include <QHash>
#include <QTextLayout>

TextLayouts::TextLayouts() = default;
TextLayouts::~TextLayouts() = default;

std::size_t TextLayouts::KeyHash::operator()(const Key &key) const {
    return qHashMulti(0, key.text, key.font, key.dpiX, key.dpiY, key.width, key.height);
}

const QTextLayout *TextLayouts::find(const Key &key) const {
    const auto kept = layouts_.find(key);
    return kept == layouts_.end() ? nullptr : kept->second.get();
}

const QTextLayout &TextLayouts::keep(Key key, std::unique_ptr<QTextLayout> layout) {
    if (layouts_.size() >= keptLayouts)
        layouts_.clear();
    return *layouts_.insert_or_assign(std::move(key), std::move(layout)).first->second;
}
