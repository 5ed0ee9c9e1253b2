#include "filename.h"

namespace {

constexpr char16_t escapedByteBase = 0xDC00; // a byte b >= 0x80 that is not UTF-8 becomes 0xDC00 + b

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at bytes[i], 0 when there is none.
int sequenceLength(const QByteArray &bytes, qsizetype i) {
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char c = at(i);
    const qsizetype rest = bytes.size() - i;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return rest >= 2 && isContinuation(at(i + 1)) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (rest < 3 || !isContinuation(at(i + 1)) || !isContinuation(at(i + 2)))
            return 0;
        // No overlong forms, no surrogates.
        if ((c == 0xE0 && at(i + 1) < 0xA0) || (c == 0xED && at(i + 1) >= 0xA0))
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (rest < 4 || !isContinuation(at(i + 1)) || !isContinuation(at(i + 2)) ||
            !isContinuation(at(i + 3)))
            return 0;
        if ((c == 0xF0 && at(i + 1) < 0x90) || (c == 0xF4 && at(i + 1) >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

bool isEscapedByte(char16_t unit) {
    return unit >= escapedByteBase + 0x80 && unit <= escapedByteBase + 0xFF;
}

QString hexByte(unsigned value) {
    return QStringLiteral("\\x") + QString::number(value, 16).toUpper().rightJustified(2, u'0');
}

} // namespace

QString fileNameFromSystem(const QByteArray &bytes) {
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = sequenceLength(bytes, i);
        if (length == 0) {
            name += QChar(static_cast<char16_t>(escapedByteBase + static_cast<unsigned char>(bytes[i])));
            ++i;
        } else {
            name += QString::fromUtf8(bytes.constData() + i, length);
            i += length;
        }
    }
    return name;
}

QByteArray fileNameToSystem(const QString &name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            bytes += name.mid(i, 2).toUtf8();
            ++i;
        } else if (isEscapedByte(unit)) {
            bytes += static_cast<char>(unit - escapedByteBase);
        } else {
            bytes += QString(QChar(unit)).toUtf8(); // a lone surrogate becomes U+FFFD
        }
    }
    return bytes;
}

QString displayFileName(const QString &name) {
    QString shown;
    shown.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (isEscapedByte(unit))
            shown += hexByte(unit - escapedByteBase);
        else if (unit < 0x20 || unit == 0x7F)
            shown += hexByte(unit);
        else if (unit >= 0x80 && unit <= 0x9F)
            shown += QStringLiteral("\\u%1").arg(static_cast<unsigned>(unit), 4, 16, QLatin1Char('0'));
        else if (QChar::isHighSurrogate(unit) && i + 1 < name.size() && name[i + 1].isLowSurrogate())
            shown += name.mid(i++, 2);
        else if (QChar::isSurrogate(unit))
            shown += QChar(QChar::ReplacementCharacter);
        else
            shown += QChar(unit);
    }
    return shown;
}
