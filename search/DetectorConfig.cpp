// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/DetectorConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace morvelin {

namespace {

// Reads one element's attributes into the config; the first bad value ends the read.
class ConfigParser {
public:
    ConfigParser(DetectorConfig& config, const QString& folder) : m_config(config), m_folder(folder) {}

    QString element(QStringView name, const QXmlStreamAttributes& attributes)
    {
        m_attributes = &attributes;
        if (name == u"model") {
            return model();
        }
        if (name == u"thresholds") {
            return thresholds();
        }
        if (name == u"tiling") {
            return tiling();
        }
        if (name == u"framing") {
            return framing();
        }
        if (name == u"rejection") {
            return rejection();
        }
        return QString(); // unknown elements are left for later versions
    }

    bool hasModel() const { return m_hasModel; }

private:
    QString model()
    {
        const QString file = m_attributes->value(QLatin1StringView("file")).toString().trimmed();
        if (file.isEmpty()) {
            return QStringLiteral("<model> has no file");
        }
        m_config.modelPath = QDir::cleanPath(QDir(m_folder).absoluteFilePath(file));
        m_hasModel = true;
        return readInt(QLatin1StringView("input-size"), 16, 2048, m_config.inputSize);
    }

    QString thresholds()
    {
        QString error = readFloat(QLatin1StringView("score"), 0.01f, 0.999f, m_config.scoreThreshold);
        if (error.isEmpty()) {
            error = readFloat(QLatin1StringView("nms"), 0.01f, 1.0f, m_config.nmsThreshold);
        }
        return error;
    }

    QString tiling()
    {
        QString error = readInt(QLatin1StringView("tiles-across"), 0, 8, m_config.tilesAcross);
        if (error.isEmpty()) {
            error = readFloat(QLatin1StringView("overlap"), 0.0f, 0.75f, m_config.tileOverlap);
        }
        return error;
    }

    QString rejection()
    {
        QString error = readFloat(QLatin1StringView("second-look"), 0.0f, 0.999f, m_config.secondLookScore);
        if (error.isEmpty()) {
            int checked = m_config.keyPointsChecked ? 1 : 0;
            error = readInt(QLatin1StringView("key-points"), 0, 1, checked);
            m_config.keyPointsChecked = checked == 1;
        }
        return error;
    }

    QString framing()
    {
        const QStringView mode = m_attributes->value(QLatin1StringView("mode"));
        if (mode == u"eyes") {
            m_config.framing = DetectorConfig::Framing::EyeBox;
        } else if (mode == u"detector" || mode.isEmpty()) {
            m_config.framing = DetectorConfig::Framing::DetectorBox;
        } else {
            return QStringLiteral("<framing> mode must be \"detector\" or \"eyes\"");
        }
        QString error = readFloat(QLatin1StringView("size"), 0.5f, 10.0f, m_config.eyeBoxSize);
        if (error.isEmpty()) {
            error = readFloat(QLatin1StringView("drop"), -5.0f, 5.0f, m_config.eyeBoxDrop);
        }
        return error;
    }

    // A missing attribute keeps the default; a present one must be a number in range.
    QString readFloat(QLatin1StringView name, float low, float high, float& target)
    {
        if (!m_attributes->hasAttribute(name)) {
            return QString();
        }
        bool ok = false;
        const float value = m_attributes->value(name).toFloat(&ok);
        if (!ok || !(value >= low && value <= high)) {
            return QStringLiteral("%1 must be a number from %2 to %3").arg(name).arg(low).arg(high);
        }
        target = value;
        return QString();
    }

    QString readInt(QLatin1StringView name, int low, int high, int& target)
    {
        if (!m_attributes->hasAttribute(name)) {
            return QString();
        }
        bool ok = false;
        const int value = m_attributes->value(name).toInt(&ok);
        if (!ok || value < low || value > high) {
            return QStringLiteral("%1 must be a whole number from %2 to %3").arg(name).arg(low).arg(high);
        }
        target = value;
        return QString();
    }

    DetectorConfig& m_config;
    QString m_folder;
    const QXmlStreamAttributes* m_attributes = nullptr;
    bool m_hasModel = false;
};

DetectorConfig::Result failure(const QString& why)
{
    return {std::nullopt, why};
}

} // namespace

DetectorConfig::Result DetectorConfig::readFile(const QString& dataPath)
{
    QFile file(dataPath);
    if (!QFileInfo(dataPath).isFile()) {
        return failure(QStringLiteral("detector data file %1 not found").arg(dataPath));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(QStringLiteral("detector data file %1: %2").arg(dataPath, file.errorString()));
    }
    Result result = parse(file.readAll(), QFileInfo(dataPath).absolutePath());
    if (!result.config) {
        result.error = QStringLiteral("detector data file %1: %2").arg(dataPath, result.error);
    }
    return result;
}

DetectorConfig::Result DetectorConfig::parse(const QByteArray& xml, const QString& folder)
{
    DetectorConfig config;
    ConfigParser parser(config, folder);
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != u"detector") {
        return failure(QStringLiteral("not a detector data file (no <detector> element)"));
    }
    while (reader.readNextStartElement()) {
        const QString error = parser.element(reader.name(), reader.attributes());
        if (!error.isEmpty()) {
            return failure(QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(error));
        }
        reader.skipCurrentElement();
    }
    if (reader.hasError()) {
        return failure(QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString()));
    }
    if (!parser.hasModel()) {
        return failure(QStringLiteral("no <model> element"));
    }
    return {config, QString()};
}

} // namespace morvelin
