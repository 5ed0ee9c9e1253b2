#pragma once

#include <QFont>
#include <QString>

#include <cstddef>
#include <memory>
#include <unordered_map>

class QTextLayout;

// Texts laid out once and drawn again and again: a view that paints the same clues while it is
// scrolled keeps their layouts here, so that a paint only draws them. Laying a clue out (shaping it and
// breaking it into lines) costs more than drawing it. A layout is known by its text, its font, the
// resolution of the device it was made for and what its lines were made for. Not shared between
// threads.
class TextLayouts {
public:
    struct Key {
        QString text;
        QFont font;
        int dpiX = 0;
        int dpiY = 0;
        // Wrapped text: the box its lines were broken for. Lines given: 0 and the line spacing.
        double width = 0;
        double height = 0;

        bool operator==(const Key &o) const {
            return dpiX == o.dpiX && dpiY == o.dpiY && width == o.width && height == o.height &&
                   text == o.text && font == o.font;
        }
    };

    // When this many are kept, the next one kept starts afresh: two zoom levels of the largest puzzle.
    static constexpr std::size_t keptLayouts = 2048;

    TextLayouts();
    ~TextLayouts();
    TextLayouts(const TextLayouts &) = delete;
    TextLayouts &operator=(const TextLayouts &) = delete;

    // The layout kept for key, or null.
    const QTextLayout *find(const Key &key) const;
    // Keeps layout for key and returns it.
    const QTextLayout &keep(Key key, std::unique_ptr<QTextLayout> layout);
    std::size_t size() const { return layouts_.size(); }

private:
    struct KeyHash {
        std::size_t operator()(const Key &key) const;
    };
    std::unordered_map<Key, std::unique_ptr<QTextLayout>, KeyHash> layouts_;
};
