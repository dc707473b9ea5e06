// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// libFuzzer target for the image loader: every input is offered under each of the nine
// extensions, so every decoder sees every mutation, mislabelled files included.
#include "search/ImageX.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace morvelin;

namespace {

struct Files {
    std::unique_ptr<QTemporaryDir> dir;
    QString input;
    QStringList links; // one per extension, all pointing at `input`
};

Files* files = nullptr;

void silence(QtMsgType, const QMessageLogContext&, const QString&)
{
    // Corrupt inputs make the decoders warn on every run; the fuzzer's own output is what counts.
}

std::unique_ptr<QTemporaryDir> scratchFolder()
{
    // The script points TMPDIR at a folder of its own (in memory when it can) and removes it
    // whatever way the fuzzer ends, a crash or a timeout included.
    return std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/imagex-fuzz-XXXXXX"));
}

void removeFiles()
{
    delete files;
    files = nullptr;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    qInstallMessageHandler(silence);
    files = new Files;
    std::atexit(removeFiles);
    files->dir = scratchFolder();
    files->input = files->dir->filePath(QStringLiteral("input"));
    for (const char* extension : {"bmp", "tif", "gif", "jpg", "png", "pcx", "tga", "jp2", "j2k"}) {
        const QString link = files->dir->filePath(QStringLiteral("input.") + QLatin1String(extension));
        QFile::link(files->input, link);
        files->links.append(link);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QFile input(files->input);
    if (!input.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return 0;
    }
    input.write(reinterpret_cast<const char*>(data), qint64(size));
    input.close();
    // The last byte picks between a full decode and the scaled one the scans use.
    const bool scaled = size > 0 && (data[size - 1] & 1) != 0;
    for (const QString& link : files->links) {
        ImageX image;
        if (!image.load(link)) {
            continue;
        }
        if (scaled) {
            image.resize(0, std::max(1, image.height() / 3));
        }
        image.picture();
    }
    return 0;
}
