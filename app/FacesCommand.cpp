#include "app/FacesCommand.h"

#include "app/CommandLine.h"
#include "base/DataFolder.h"
#include "base/Folders.h"
#include "search/SourcePicture.h"

#include <QDir>

namespace morvelin {

int FacesCommand::run(const QStringList& operands, QTextStream& out, QTextStream& err)
{
    Options options;
    QString problem;
    if (!parse(operands, options, problem)) {
        return CommandLine::usageError(err, problem);
    }

    const SourcePicture::Result found =
        SourcePicture::findFaces(options.photo, TempFolder(), DetectorDataPath());
    if (const int problem = FacesCommand::checkFound(found, err); problem != CommandLine::exitOk) {
        return problem;
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
    for (std::size_t i = 0; i < found.faces.size(); ++i) {
        const QString path = QDir(options.outFolder).filePath(QStringLiteral("face_%1.png").arg(i + 1));
        if (!SourcePicture::thumbnail(found, i).save(path, "PNG")) {
            err << CommandLine::programName << ": cannot write '" << path << "'" << Qt::endl;
            return CommandLine::exitUsage;
        }
    }
    return CommandLine::exitOk;
}

int FacesCommand::checkFound(const SourcePicture::Result& found, QTextStream& err)
{
    if (!found.ok()) {
        err << CommandLine::programName << ": " << found.error << Qt::endl;
        return CommandLine::exitUsage;
    }
    if (found.faces.empty()) {
        err << "No faces found" << Qt::endl;
        return CommandLine::exitNothingFound;
    }
    return CommandLine::exitOk;
}

bool FacesCommand::parse(const QStringList& operands, Options& options, QString& problem)
{
    for (int i = 0; i < operands.size(); ++i) {
        const QString& word = operands[i];
        if (word == QLatin1String("--out")) {
            if (i + 1 >= operands.size()) {
                problem = QStringLiteral("--out needs a folder");
                return false;
            }
            options.outFolder = operands[++i];
            continue;
        }
        if (word.startsWith(QLatin1String("--"))) {
            problem = QStringLiteral("faces does not know the option '%1'").arg(word);
            return false;
        }
        if (!options.photo.isEmpty()) {
            problem = QStringLiteral("faces takes one photo");
            return false;
        }
        options.photo = word;
    }
    if (options.photo.isEmpty()) {
        problem = QStringLiteral("faces needs a photo");
        return false;
    }
    return true;
}

} // namespace morvelin
