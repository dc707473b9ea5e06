// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/Helpers.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin;

// On a desktop without Qt's own integration the icon theme is the one the desktop's settings name,
// and each image type shows its own icon from it, not one blank page for every row.
TEST(FileIconTest, EachImageTypeGetsItsIconFromTheDesktopsTheme)
{
    QTemporaryDir home;
    QDir root(home.path());
    root.mkpath(QStringLiteral("icons/Sample/16x16/mimetypes"));
    root.mkpath(QStringLiteral("config/gtk-3.0"));
    QFile index(root.filePath(QStringLiteral("icons/Sample/index.theme")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Sample\nDirectories=16x16/mimetypes\n\n"
                "[16x16/mimetypes]\nSize=16\nContext=MimeTypes\nType=Fixed\n");
    index.close();
    const std::pair<const char*, QColor> types[] = {{"image-jpeg", Qt::red}, {"image-png", Qt::blue}};
    for (const auto& [name, colour] : types) {
        QImage icon(16, 16, QImage::Format_RGB32);
        icon.fill(colour);
        ASSERT_TRUE(icon.save(root.filePath(QStringLiteral("icons/Sample/16x16/mimetypes/%1.png").arg(QLatin1String(name)))));
    }
    QFile settings(root.filePath(QStringLiteral("config/gtk-3.0/settings.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Settings]\ngtk-icon-theme-name=Sample\n");
    settings.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(QStringLiteral("config"))));
    QIcon::setThemeSearchPaths({root.filePath(QStringLiteral("icons"))});

    for (const auto& [file, colour] : {std::pair{"photo.jpg", QColor(Qt::red)}, {"photo.png", QColor(Qt::blue)}}) {
        QFile photo(root.filePath(QLatin1String(file)));
        ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
        photo.close();
        QLabel box;
        DrawFileIcon(photo.fileName(), &box, true);
        EXPECT_EQ(box.pixmap().toImage().pixelColor(8, 8), colour) << file;
    }
    EXPECT_EQ(QIcon::themeName(), QStringLiteral("Sample"));
}
