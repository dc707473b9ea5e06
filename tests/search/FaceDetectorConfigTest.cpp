// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/DetectorConfig.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace morvelin;

namespace {

DetectorConfig::Result parse(const char* xml)
{
    return DetectorConfig::parse(QByteArray(xml), QStringLiteral("/opt/face"));
}

} // namespace

TEST(FaceDetectorConfigTest, ReadsTheSettingsAndKeepsDefaultsForMissingOnes)
{
    const DetectorConfig::Result full = parse(R"(<?xml version="1.0"?>
        <detector>
          <model file="models/../m.onnx" input-size="128"/>
          <thresholds score="0.55" nms="0.4"/>
          <framing mode="eyes" size="2.5" drop="-0.75"/>
          <rejection second-look="0.6" key-points="1"/>
          <later-setting what="ignored"/>
        </detector>)");
    ASSERT_TRUE(full.config) << full.error.toStdString();
    EXPECT_EQ(full.config->modelPath, QStringLiteral("/opt/face/m.onnx")) << "relative to the data file's folder";
    EXPECT_EQ(full.config->inputSize, 128);
    EXPECT_FLOAT_EQ(full.config->scoreThreshold, 0.55f);
    EXPECT_EQ(full.config->framing, DetectorConfig::Framing::EyeBox);
    EXPECT_FLOAT_EQ(full.config->eyeBoxDrop, -0.75f);
    EXPECT_FLOAT_EQ(full.config->secondLookScore, 0.6f);
    EXPECT_TRUE(full.config->keyPointsChecked);

    const DetectorConfig::Result minimal = parse("<detector><model file='/abs/m.onnx'/></detector>");
    ASSERT_TRUE(minimal.config) << minimal.error.toStdString();
    DetectorConfig defaults;
    defaults.modelPath = QStringLiteral("/abs/m.onnx");
    EXPECT_EQ(*minimal.config, defaults);

    const DetectorConfig::Result shipped = DetectorConfig::readFile(QStringLiteral(MORVELIN_DATA_XML));
    ASSERT_TRUE(shipped.config) << shipped.error.toStdString();
    EXPECT_TRUE(shipped.config->modelPath.startsWith(QFileInfo(QStringLiteral(MORVELIN_DATA_XML)).absolutePath() + '/'));
}

TEST(FaceDetectorConfigTest, RefusesFilesItCannotTrustAndNamesAMissingOne)
{
    struct Case {
        const char* xml;
        const char* says;
    };
    const Case cases[] = {
        {"", "no <detector>"},
        {"<settings/>", "no <detector>"},
        {"<detector><thresholds score='0.5'/></detector>", "no <model>"},
        {"<detector><model/></detector>", "has no file"},
        {"<detector><model file='m.onnx' input-size='big'/></detector>", "input-size"},
        {"<detector><model file='m.onnx'/>\n<thresholds score='1.5'/></detector>", "line 2: score"},
        {"<detector><model file='m.onnx'/><thresholds nms='0'/></detector>", "nms"},
        {"<detector><model file='m.onnx'/><tiling tiles-across='-1'/></detector>", "tiles-across"},
        {"<detector><model file='m.onnx'/><framing mode='nose'/></detector>", "mode"},
        {"<detector><model file='m.onnx'/><rejection key-points='yes'/></detector>", "key-points"},
        {"<detector><model file='m.onnx'/><framing mode='eyes' size='0'/></detector>", "size"},
        {"<detector><model file='m.onnx'/><thresholds", "line 1"},
    };
    for (const Case& bad : cases) {
        const DetectorConfig::Result read = parse(bad.xml);
        EXPECT_FALSE(read.config) << bad.xml;
        EXPECT_TRUE(read.error.contains(QLatin1StringView(bad.says))) << bad.xml << " -> " << read.error.toStdString();
    }
    const DetectorConfig::Result absent = DetectorConfig::readFile(QStringLiteral("/nonexistent/data.xml"));
    EXPECT_FALSE(absent.config);
    EXPECT_EQ(absent.error, QStringLiteral("detector data file /nonexistent/data.xml not found"));
}
