#include "app/FacesCommand.h"

#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/Helpers.h"
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
        SourcePicture::findFaces(options.photo, TempFolder(), DataFolder() + QStringLiteral("data.xml"));
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
    // face_N.png as the gallery shows it; compared_N.png as the comparison reads it, so `compare` on it
    // gives a search's score.
    const QDir folder(options.outFolder);
    for (std::size_t i = 0; i < found.faces.size(); ++i) {
        const QImage thumbnail = SourcePicture::thumbnail(found, i);
        const std::pair<QString, QImage> files[] = {
            {folder.filePath(QStringLiteral("face_%1.png").arg(i + 1)), thumbnail},
            {folder.filePath(QStringLiteral("compared_%1.png").arg(i + 1)), SourcePicture::comparedFace(thumbnail)}};
        for (const auto& [path, picture] : files) {
            if (!picture.save(path, "PNG")) {
                err << CommandLine::programName << ": cannot write '" << path << "'" << Qt::endl;
                return CommandLine::exitUsage;
            }
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
