// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <ostream>

QT_BEGIN_NAMESPACE
// Failures show the texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace morvelin::testing {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs `program` with `arguments`; `tempRoot`, when given, becomes its TMPDIR so a test can see what it
// leaves behind. A program that does not end normally gives exit code -1.
inline Outcome runCommand(const QString& program, const QStringList& arguments, const QString& tempRoot = QString(),
                          int timeoutMs = 120000)
{
    QProcess process;
    if (!tempRoot.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), tempRoot);
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    process.waitForFinished(timeoutMs);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

// The real program, as a user's shell runs it.
inline Outcome runProgram(const QStringList& arguments, const QString& tempRoot = QString())
{
    return runCommand(QStringLiteral(FACE_MORVELIN_BINARY), arguments, tempRoot);
}

inline QString testPhoto(const QString& relativePath)
{
    return QStringLiteral(MORVELIN_TEST_PHOTOS "/") + relativePath;
}

// The real photos and the detector's model arrive with the set-up; without them the tests that need
// them are skipped rather than failed.
inline bool haveDetectorAndPhotos()
{
    const QString dataFolder = QStringLiteral(MORVELIN_DETECTOR_DATA).section(QLatin1Char('/'), 0, -2);
    return QFile::exists(QStringLiteral(MORVELIN_DETECTOR_DATA))
        && QFile::exists(dataFolder + QStringLiteral("/face_detection_back_256x256_barracuda.onnx"))
        && QFile::exists(testPhoto(QStringLiteral("astronaut.png")));
}

} // namespace morvelin::testing

#define SKIP_WITHOUT_PHOTOS()                                                                                          \
    if (!morvelin::testing::haveDetectorAndPhotos())                                                                   \
    GTEST_SKIP() << "the detector's model or the test photos are not set up"
