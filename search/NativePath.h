// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

namespace morvelin {

// Linux names are bytes, not text: a name that is not valid UTF-8 must still reach the file it
// names. Valid UTF-8 becomes its characters; every other byte becomes one lone low surrogate,
// U+DC80..U+DCFF (0x80..0xFF), which no valid UTF-8 decodes to, so the way back is exact.
class NativePath {
public:
    static QString decode(const QByteArray& bytes);
    static QByteArray encode(const QString& path);
    // The byte a lone surrogate stands for, or -1 for any other character.
    static int escapedByte(const QString& text, qsizetype at);
    // For a line of text: control characters, other unprintable ones, stray bytes and the
    // backslash itself as C escapes or three octal digits per byte, as `ls --quoting-style=escape`
    // shows them, so a name can neither split a line nor reach the terminal as a command. Spaces
    // stay as they are: fields are separated by tabs.
    static QString escaped(const QString& path);
};

} // namespace morvelin
