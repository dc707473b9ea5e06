// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "base/DataFolder.h"
#include "TestChild.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

using namespace morvelin;

namespace {

// A copy of this program placed where a build or an install puts face-morvelin tells where it
// finds the detector's data.
const char* const childVariable = "MORVELIN_DATA_FOLDER_CHILD";

int printDataFolder(const QString&, int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    std::puts(DataFolder().toUtf8().constData());
    return 0;
}

const TestChild dataFolderChild(childVariable, printDataFolder);

QString placeProgram(const QString& root, const QString& programFolder, const QStringList& dataFiles)
{
    QDir(root).mkpath(programFolder);
    const QString program = root + QLatin1Char('/') + programFolder + QStringLiteral("/face-morvelin");
    QFile::copy(QCoreApplication::applicationFilePath(), program);
    for (const QString& dataFile : dataFiles) {
        const QString path = root + QLatin1Char('/') + dataFile;
        QDir(root).mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
    }
    return program;
}

QString dataFolderSeenBy(const QString& program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(childVariable), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(program, {});
    child.waitForFinished(30000);
    return QString::fromUtf8(child.readAllStandardOutput()).trimmed();
}

} // namespace

TEST(DataFolderTest, FindsTheDetectorBesideTheProgramOrInTheInstalledDataFolder)
{
    QTemporaryDir root;
    const QString base = root.path() + QLatin1Char('/');

    const QString built = placeProgram(root.path(), QStringLiteral("build/app"), {QStringLiteral("build/app/data.xml")});
    EXPECT_EQ(dataFolderSeenBy(built), base + QStringLiteral("build/app/"));

    const QString installed =
        placeProgram(root.path(), QStringLiteral("usr/bin"), {QStringLiteral("usr/share/face-morvelin/data.xml")});
    EXPECT_EQ(dataFolderSeenBy(installed), base + QStringLiteral("usr/share/face-morvelin/"));

    const QString both = placeProgram(root.path(), QStringLiteral("both/bin"),
                                      {QStringLiteral("both/bin/data.xml"), QStringLiteral("both/share/face-morvelin/data.xml")});
    EXPECT_EQ(dataFolderSeenBy(both), base + QStringLiteral("both/bin/"));

    // Nowhere: the program's folder, so the detector's message names the file it looked for.
    const QString neither = placeProgram(root.path(), QStringLiteral("bare/bin"), {});
    EXPECT_EQ(dataFolderSeenBy(neither), base + QStringLiteral("bare/bin/"));
}
