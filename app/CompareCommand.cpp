// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/CompareCommand.h"

#include "app/CommandLine.h"
#include "engine/EngineError.h"
#include "engine/FaceMatchTech.h"
#include "search/FacePictureLoader.h"
#include "search/FaceScore.h"

namespace morvelin {

int CompareCommand::run(const QStringList& operands, QTextStream& out, QTextStream& err)
{
    if (operands.size() != 2) {
        return CommandLine::usageError(err, QStringLiteral("compare"),
                                       QStringLiteral("compare takes exactly two image files"));
    }
    std::optional<PixelCanvas> pictures[2];
    for (int i = 0; i < 2; ++i) {
        FacePictureLoader::Result loaded = FacePictureLoader::loadFile(operands[i]);
        if (!loaded.picture) {
            err << CommandLine::programName << ": cannot read '" << operands[i] << "': " << loaded.error << Qt::endl;
            return CommandLine::exitUsage;
        }
        pictures[i] = std::move(loaded.picture);
    }

    std::int32_t distance = 0;
    try {
        distance = FaceMatchTech().CompareFaces(*pictures[0], *pictures[1]);
    } catch (const EngineError& error) {
        // Pictures too large for the grid's 16-bit block sizes end up here.
        err << CommandLine::programName << ": cannot compare '" << operands[0] << "' with '" << operands[1]
            << "': " << error.what() << Qt::endl;
        return CommandLine::exitUsage;
    }
    const FaceScore score = FaceScore::fromDistance(distance);
    out << distance << '\t' << QString::fromStdString(score.text()) << '\t' << score.xscore() << Qt::endl;
    return CommandLine::exitOk;
}

} // namespace morvelin
