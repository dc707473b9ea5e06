// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "platform/Autostart.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin;

TEST(AutostartTest, TickedWritesAnEntryStartingThisProgramThatTheDesktopAcceptsUntickedRemovesIt)
{
    EXPECT_TRUE(
        Autostart(QStringLiteral("/usr/bin/face-morvelin")).path().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    QTemporaryDir config;
    const QString program = QCoreApplication::applicationFilePath();
    const Autostart autostart(program, config.path());
    EXPECT_FALSE(autostart.isEnabled());
    ASSERT_TRUE(autostart.setEnabled(true));
    ASSERT_TRUE(autostart.isEnabled());
    EXPECT_EQ(autostart.path(), config.path() + QStringLiteral("/autostart/face-morvelin.desktop"));
    QFile entry(autostart.path());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n')).contains(QStringLiteral("Exec=") + program));
    if (const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        !validate.isEmpty()) {
        QProcess check;
        check.start(validate, {autostart.path()});
        ASSERT_TRUE(check.waitForFinished());
        EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
    }

    // Found on PATH as this very program, the name alone; a name with a space quoted.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFileInfo(program).path().toUtf8());
    EXPECT_EQ(autostart.execLine(), QFileInfo(program).fileName());
    qputenv("PATH", path);
    EXPECT_EQ(Autostart(QStringLiteral("/opt/my apps/face-morvelin"), config.path()).execLine(),
              QStringLiteral("\"/opt/my apps/face-morvelin\""));

    EXPECT_TRUE(autostart.setEnabled(false));
    EXPECT_FALSE(QFileInfo::exists(autostart.path()));
    EXPECT_TRUE(autostart.setEnabled(false));
}
