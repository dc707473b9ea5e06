// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/IndexCommand.h"

#include "app/CommandLine.h"
#include "app/VerbArguments.h"
#include "app/WatchedFoldersCommand.h"
#include "search/FaceIndex.h"

namespace morvelin {

namespace {

// The index words its notices for a search; this verb only reports on it or empties it.
QString forThisVerb(QString notice)
{
    return notice.replace(QLatin1String("; searching without it."), QLatin1String("."));
}

} // namespace

QString IndexCommand::oneAction()
{
    return QStringLiteral("index takes --stats, --clear, --list, --watch, --unwatch or --update");
}

int IndexCommand::run(const QStringList& operands, QTextStream& out, QTextStream& err)
{
    if (WatchedFoldersCommand::handles(operands)) {
        return WatchedFoldersCommand::run(operands, out, err);
    }
    VerbArguments arguments(QStringLiteral("index"));
    arguments.addSwitch(QStringLiteral("stats"));
    arguments.addSwitch(QStringLiteral("clear"));
    // One word, the one switch: anything else is the same mistake.
    const bool parsed = operands.size() == 1 && arguments.parse(operands);
    const bool stats = parsed && arguments.isSet(QStringLiteral("stats"));
    const bool clear = parsed && arguments.isSet(QStringLiteral("clear"));
    if (!stats && !clear) {
        return CommandLine::usageError(err, QStringLiteral("index"), oneAction());
    }
    // The version only matters to answers; counting and emptying take every entry.
    FaceIndex index(FaceIndex::defaultPath(), QByteArray());
    if (!index.notice().isEmpty()) {
        err << CommandLine::programName << ": " << forThisVerb(index.notice()) << Qt::endl;
    }
    // Emptying works on an index that cannot be opened: its files are removed.
    if (!index.isOpen() && !clear) {
        return CommandLine::exitUsage;
    }
    if (clear && !index.clear()) {
        err << CommandLine::programName << ": cannot empty the face index " << index.path() << Qt::endl;
        return CommandLine::exitUsage;
    }
    const FaceIndex::Stats counted = index.stats();
    out << "photos\t" << counted.photos << "\nfaces\t" << counted.faces << "\nbytes\t" << counted.bytes
        << "\nbroken copies\t" << counted.brokenCopies << "\npath\t" << index.path() << Qt::endl;
    return CommandLine::exitOk;
}

} // namespace morvelin
