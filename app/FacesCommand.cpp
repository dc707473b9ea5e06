// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/FacesCommand.h"

#include "app/CommandLine.h"
#include "app/VerbArguments.h"
#include "base/DataFolder.h"
#include "search/FeaturesMatcher.h"
#include "search/MatcherRegistry.h"
#include "search/SourcePicture.h"

#include <QDir>

namespace morvelin {

int FacesCommand::run(const QStringList& operands, QTextStream& out, QTextStream& err)
{
    Options options;
    QString problem;
    if (!parse(operands, options, problem)) {
        return CommandLine::usageError(err, QStringLiteral("faces"), problem);
    }

    const QString dataPath = DetectorDataPath();
    if (options.matcher.isEmpty()) {
        const MatcherRegistry::Default chosen = MatcherRegistry::defaultFor(dataPath);
        if (!chosen.fallback.isEmpty() && !options.outFolder.isEmpty()) {
            err << CommandLine::programName << ": " << chosen.fallback << Qt::endl;
        }
        options.matcher = chosen.name;
    } else if (const QString unusable = MatcherRegistry::find(options.matcher)->problem(dataPath); !unusable.isEmpty()) {
        err << CommandLine::programName << ": " << unusable << Qt::endl;
        return CommandLine::exitUsage;
    }
    const SourcePicture::Result found = SourcePicture::findFaces(options.photo, dataPath);
    if (const int status = FacesCommand::checkFound(found, err); status != CommandLine::exitOk) {
        return status;
    }

    for (std::size_t i = 0; i < found.faces.size(); ++i) {
        const DetectedFace& face = found.faces[i];
        out << (i + 1) << '\t' << face.x1 << '\t' << face.x2 << '\t' << face.y1 << '\t' << face.y2 << '\n';
    }
    out.flush();
    if (options.outFolder.isEmpty()) {
        return CommandLine::exitOk;
    }
    if (!QDir().mkpath(options.outFolder)) {
        err << CommandLine::programName << ": cannot create the folder '" << options.outFolder << "'" << Qt::endl;
        return CommandLine::exitUsage;
    }
    return writePictures(found, options, err) ? CommandLine::exitOk : CommandLine::exitUsage;
}

bool FacesCommand::writePictures(const SourcePicture::Result& found, const Options& options, QTextStream& err)
{
    const auto write = [&](const QImage& picture, const QString& name) {
        const QString path = QDir(options.outFolder).filePath(name);
        if (!picture.save(path, "PNG")) {
            err << CommandLine::programName << ": cannot write '" << path << "'" << Qt::endl;
            return false;
        }
        return true;
    };
    // face_N.png as the gallery shows it; compared_N.png as the comparison reads it, so `compare` on it
    // gives a search's score.
    for (std::size_t i = 0; i < found.faces.size(); ++i) {
        const QImage thumbnail = SourcePicture::thumbnail(found, i);
        if (!write(thumbnail, QStringLiteral("face_%1.png").arg(i + 1))
            || !write(SourcePicture::filteredFace(thumbnail), QStringLiteral("compared_%1.png").arg(i + 1))) {
            return false;
        }
        if (options.matcher == QLatin1String(FeaturesMatcher::matcherName)
            && !write(SourcePicture::alignedFace(found, i), QStringLiteral("aligned_%1.png").arg(i + 1))) {
            return false;
        }
    }
    return true;
}

int FacesCommand::checkFound(const SourcePicture::Result& found, QTextStream& err)
{
    if (!found.ok()) {
        err << CommandLine::programName << ": " << found.error << Qt::endl;
        return CommandLine::exitUsage;
    }
    if (found.faces.empty()) {
        err << CommandLine::programName << ": no faces found" << Qt::endl;
        return CommandLine::exitNothingFound;
    }
    return CommandLine::exitOk;
}

void FacesCommand::addMatcherOption(VerbArguments& arguments)
{
    QStringList names = MatcherRegistry::names();
    const QString last = names.takeLast();
    arguments.addValue(QStringLiteral("matcher"),
                       QStringLiteral("--matcher takes %1 or %2").arg(names.join(QStringLiteral(", ")), last),
                       [](const QString& name) { return MatcherRegistry::find(name) != nullptr; });
}

bool FacesCommand::parse(const QStringList& operands, Options& options, QString& problem)
{
    VerbArguments arguments(QStringLiteral("faces"));
    addMatcherOption(arguments);
    arguments.addValue(QStringLiteral("out"), QStringLiteral("--out needs a folder"));
    arguments.setExtraOperand(QStringLiteral("faces takes one photo"));
    if (!arguments.parse(operands)) {
        problem = arguments.problem();
        return false;
    }
    options.photo = arguments.operand();
    options.outFolder = arguments.value(QStringLiteral("out"));
    options.matcher = arguments.value(QStringLiteral("matcher"));
    if (options.photo.isEmpty()) {
        problem = QStringLiteral("faces needs a photo");
        return false;
    }
    return true;
}

} // namespace morvelin
