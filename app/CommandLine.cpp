#include "app/CommandLine.h"

#include "app/Version.h"
#include "engine/EngineError.h"
#include "engine/FaceMatchTech.h"
#include "search/FacePictureLoader.h"
#include "search/FaceScore.h"

#include <cstdio>

namespace morvelin {

namespace {

const QString programName = QStringLiteral("face-morvelin");

} // namespace

CommandLine::CommandLine()
    : m_out(stdout)
    , m_err(stderr)
{
}

int CommandLine::run(const QStringList& arguments)
{
    const QStringList words = arguments.mid(1);
    if (words.isEmpty()) {
        return usageError(QStringLiteral("no verb given"));
    }
    const QString verb = words.first();
    if (verb == QLatin1String("--help") || verb == QLatin1String("-h") || verb == QLatin1String("help")) {
        printHelp(m_out);
        return exitOk;
    }
    if (verb == QLatin1String("--version")) {
        m_out << programName << ' ' << programVersion << Qt::endl;
        return exitOk;
    }
    if (verb == QLatin1String("compare")) {
        return compare(words.mid(1));
    }
    return usageError(QStringLiteral("unknown verb '%1'").arg(verb));
}

void CommandLine::printHelp(QTextStream& stream)
{
    stream << "Usage: " << programName << " VERB [ARGUMENTS]\n"
           << "\n"
           << "Verbs:\n"
           << "  compare A B   compare two face pictures; prints distance, score and xscore\n"
           << "                separated by tabs (pixels as units, no scaling, no filter)\n"
           << "\n"
           << "Options:\n"
           << "  --help        show this text\n"
           << "  --version     show the version\n";
    stream.flush();
}

int CommandLine::usageError(const QString& message)
{
    m_err << programName << ": " << message << "\n\n";
    printHelp(m_err);
    return exitUsage;
}

int CommandLine::compare(const QStringList& operands)
{
    if (operands.size() != 2) {
        return usageError(QStringLiteral("compare takes exactly two image files"));
    }
    std::optional<PixelCanvas> pictures[2];
    for (int i = 0; i < 2; ++i) {
        FacePictureLoader::Result loaded = FacePictureLoader::loadFile(operands[i]);
        if (!loaded.picture) {
            m_err << programName << ": cannot read '" << operands[i] << "': " << loaded.error << Qt::endl;
            return exitUsage;
        }
        pictures[i] = std::move(loaded.picture);
    }

    std::int32_t distance = 0;
    try {
        distance = FaceMatchTech().CompareFaces(*pictures[0], *pictures[1]);
    } catch (const EngineError& error) {
        // Pictures too large for the grid's 16-bit block sizes end up here.
        m_err << programName << ": cannot compare '" << operands[0] << "' with '" << operands[1]
              << "': " << error.what() << Qt::endl;
        return exitUsage;
    }
    const FaceScore score = FaceScore::fromDistance(distance);
    m_out << distance << '\t' << QString::fromStdString(score.text()) << '\t' << score.xscore() << Qt::endl;
    return exitOk;
}

} // namespace morvelin
