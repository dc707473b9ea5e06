// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <string>

// A detector's folder for tests: the shipped data.xml beside the model that scripts/setup.sh fetches,
// in a temporary folder of its own, plus room for broken data files and images.
class FaceDetectorTestFolder {
public:
    FaceDetectorTestFolder()
    {
        QFile::copy(QStringLiteral(MORVELIN_DATA_XML), dataPath());
        for (const QFileInfo& model : QDir(QStringLiteral(MORVELIN_FACE_MODELS)).entryInfoList({QStringLiteral("*.onnx")})) {
            m_hasModel = QFile::link(model.absoluteFilePath(), path(model.fileName())) || m_hasModel;
        }
    }

    bool hasModel() const { return m_hasModel; }
    QString dataPath() const { return path(QStringLiteral("data.xml")); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    static QString photo(const QString& name) { return QDir(QStringLiteral(MORVELIN_TEST_PHOTOS)).filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes);
        }
        return file.fileName();
    }

    // Why a test that needs the model and the photo `name` cannot run here, or empty.
    std::string missing(const QString& name) const
    {
        if (!m_hasModel) {
            return "no face model in " MORVELIN_FACE_MODELS " (scripts/setup.sh fetches it)";
        }
        return QFileInfo::exists(photo(name)) ? std::string() : "no test photos in " MORVELIN_TEST_PHOTOS " (scripts/setup.sh fetches them)";
    }

private:
    QTemporaryDir m_dir;
    bool m_hasModel = false;
};

// Skips the test when the model or the test photo `name` is not set up.
#define SKIP_WITHOUT_MODEL_OR_PHOTO(folder, name)                                                                      \
    if (const std::string why = (folder).missing(QStringLiteral(name)); !why.empty())                                  \
    GTEST_SKIP() << why
