// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/NativePath.h"

namespace morvelin {

namespace {

constexpr char16_t firstEscape = 0xDC80;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `at` (its code point in `code`), or 0.
int validSequence(const QByteArray& bytes, qsizetype at, char32_t& code)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    int length = 0;
    char32_t lowest = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
        lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
        lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(byte(i))) {
            return 0;
        }
        code = (code << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, encoded surrogates and numbers past Unicode are not valid UTF-8.
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lowest || surrogate || code > 0x10FFFF ? 0 : length;
}

void appendOctal(QString& text, unsigned char byte)
{
    text += QLatin1Char('\\');
    text += QString::number(byte, 8).rightJustified(3, QLatin1Char('0'));
}

QString controlEscape(char32_t code)
{
    switch (code) {
    case '\a':
        return QStringLiteral("\\a");
    case '\b':
        return QStringLiteral("\\b");
    case '\t':
        return QStringLiteral("\\t");
    case '\n':
        return QStringLiteral("\\n");
    case '\v':
        return QStringLiteral("\\v");
    case '\f':
        return QStringLiteral("\\f");
    case '\r':
        return QStringLiteral("\\r");
    case '\\':
        return QStringLiteral("\\\\");
    default:
        return QString();
    }
}

// A character a terminal would show as it is, without breaking the line or reordering the text.
bool showsAsItself(char32_t code)
{
    if (!QChar::isPrint(code) || QChar::isSurrogate(code)) {
        return false;
    }
    const QChar::Category category = QChar::category(code);
    return category != QChar::Separator_Line && category != QChar::Separator_Paragraph;
}

} // namespace

QString NativePath::escaped(const QString& path)
{
    QString text;
    text.reserve(path.size());
    for (qsizetype at = 0; at < path.size(); ++at) {
        if (const int byte = escapedByte(path, at); byte >= 0) {
            appendOctal(text, static_cast<unsigned char>(byte));
            continue;
        }
        const bool pair = path.at(at).isHighSurrogate() && at + 1 < path.size() && path.at(at + 1).isLowSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(path.at(at), path.at(at + 1)) : path.at(at).unicode();
        const qsizetype length = pair ? 2 : 1;
        if (const QString escape = controlEscape(code); !escape.isEmpty()) {
            text += escape;
        } else if (showsAsItself(code)) {
            text += path.mid(at, length);
        } else {
            for (const char byte : path.mid(at, length).toUtf8()) {
                appendOctal(text, static_cast<unsigned char>(byte));
            }
        }
        at += length - 1;
    }
    return text;
}

QString NativePath::decode(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t code = 0;
        const int length = validSequence(bytes, at, code);
        if (length == 0) {
            text.append(QChar(char16_t(firstEscape + static_cast<unsigned char>(bytes[at]) - 0x80)));
            ++at;
            continue;
        }
        text.append(QString::fromUcs4(&code, 1));
        at += length;
    }
    return text;
}

int NativePath::escapedByte(const QString& text, qsizetype at)
{
    const char16_t unit = text.at(at).unicode();
    if (unit < firstEscape || unit > 0xDCFF) {
        return -1;
    }
    // The low half of a valid pair is a character of its own, not an escape.
    if (at > 0 && text.at(at - 1).isHighSurrogate()) {
        return -1;
    }
    return 0x80 + (unit - firstEscape);
}

QByteArray NativePath::encode(const QString& path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype runStart = 0;
    for (qsizetype at = 0; at < path.size(); ++at) {
        const int escaped = escapedByte(path, at);
        if (escaped < 0) {
            continue;
        }
        bytes += path.mid(runStart, at - runStart).toUtf8();
        bytes += char(escaped);
        runStart = at + 1;
    }
    bytes += path.mid(runStart).toUtf8();
    return bytes;
}

} // namespace morvelin
