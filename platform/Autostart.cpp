// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "platform/Autostart.h"

#include "base/ProgramNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace morvelin {

namespace {

// The desktop entry rules: an argument with a reserved character is quoted, with `"`, `` ` ``, `$`
// and `\` escaped inside; then the value itself escapes `\` again, and a literal `%` is doubled.
QString execArgument(const QString& argument)
{
    static const QString plain =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._+-,:@");
    QString quoted = argument;
    if (std::any_of(argument.begin(), argument.end(), [](QChar c) { return !plain.contains(c); })) {
        quoted.clear();
        for (const QChar c : argument) {
            if (QStringLiteral("\"`$\\").contains(c)) {
                quoted += QLatin1Char('\\');
            }
            quoted += c;
        }
        quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    return quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('%'), QLatin1String("%%"));
}

} // namespace

Autostart::Autostart(const QString& program, const QString& configFolder)
    : m_program(program)
    , m_path(configFolder + QStringLiteral("/autostart/") + ProgramNames::executable() + QStringLiteral(".desktop"))
{
}

QString Autostart::defaultConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

bool Autostart::isEnabled() const
{
    return QFileInfo::exists(m_path);
}

QString Autostart::execLine() const
{
    const QString name = QFileInfo(m_program).fileName();
    const QString found = QStandardPaths::findExecutable(name);
    const bool onPath =
        !found.isEmpty() && QFileInfo(found).canonicalFilePath() == QFileInfo(m_program).canonicalFilePath();
    return execArgument(onPath ? name : QFileInfo(m_program).absoluteFilePath());
}

bool Autostart::setEnabled(bool enabled) const
{
    if (!enabled) {
        return !isEnabled() || QFile::remove(m_path);
    }
    if (!QDir().mkpath(QFileInfo(m_path).path())) {
        return false;
    }
    // A plain start is a start into the tray, as the desktop's menu starts the program.
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=%1\n"
                                         "Icon=%2\n"
                                         "Exec=%3\n"
                                         "Terminal=false\n"
                                         "StartupNotify=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(ProgramNames::title(), QLatin1String(ProgramNames::appId), execLine());
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(entry.toUtf8()) >= 0 && file.commit();
}

} // namespace morvelin
