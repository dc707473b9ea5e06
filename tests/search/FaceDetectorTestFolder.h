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
        const QDir models(QStringLiteral(MORVELIN_FACE_MODELS));
        for (const QFileInfo& model : models.entryInfoList({QStringLiteral("*.onnx")})) {
            QFile::link(model.absoluteFilePath(), m_dir.filePath(model.fileName()));
            m_hasModel = true;
        }
    }

    bool hasModel() const { return m_hasModel; }
    QString dataPath() const { return m_dir.filePath(QStringLiteral("data.xml")); }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes);
        }
        return path;
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    static QString photo(const QString& name)
    {
        return QDir(QStringLiteral(MORVELIN_TEST_PHOTOS)).filePath(name);
    }

    // Why a test that needs the model and the photo `name` cannot run here, or empty.
    std::string missing(const QString& name) const
    {
        if (!m_hasModel) {
            return "no face model in " MORVELIN_FACE_MODELS " (scripts/setup.sh fetches it)";
        }
        return QFileInfo::exists(photo(name)) ? std::string()
                                              : "no test photos in " MORVELIN_TEST_PHOTOS " (scripts/setup.sh fetches them)";
    }

private:
    QTemporaryDir m_dir;
    bool m_hasModel = false;
};
