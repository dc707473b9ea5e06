// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/IndexCommand.h"

#include "app/CommandLine.h"
#include "app/VerbArguments.h"
#include "app/WatchedFoldersCommand.h"
#include "platform/Settings.h"
#include "search/FaceIndex.h"

#include <QDir>

#include <algorithm>

namespace morvelin {

namespace {

// The index words its notices for a search; this verb only reports on it or empties it.
QString forThisVerb(QString notice)
{
    return notice.replace(QLatin1String("; searching without it."), QLatin1String("."));
}

} // namespace

QString IndexCommand::pathOf(const QString& given)
{
    if (!given.isEmpty()) {
        return QDir::cleanPath(QDir::current().absoluteFilePath(given));
    }
    return Settings::indexPath(FaceIndex::defaultPath());
}

QString IndexCommand::oneAction()
{
    return QStringLiteral("index takes --stats, --clear, --prune, --list, --watch, --unwatch or --update");
}

int IndexCommand::run(const QStringList& operands, QTextStream& out, QTextStream& err)
{
    if (WatchedFoldersCommand::handles(operands)) {
        return WatchedFoldersCommand::run(operands, out, err);
    }
    VerbArguments arguments(QStringLiteral("index"));
    const QStringList actions = {QStringLiteral("stats"), QStringLiteral("clear"), QStringLiteral("prune")};
    for (const QString& action : actions) {
        arguments.addSwitch(action);
    }
    arguments.addValue(QStringLiteral("index"), QStringLiteral("--index needs a value"));
    arguments.setExtraOperand(QStringLiteral("index takes no operand"));
    if (!arguments.parse(operands)) {
        return CommandLine::usageError(err, QStringLiteral("index"), arguments.problem());
    }
    // One action at a time: two would be the same mistake as none.
    const qsizetype chosen = std::count_if(actions.begin(), actions.end(), [&](const QString& action) { return arguments.isSet(action); });
    if (chosen != 1) {
        return CommandLine::usageError(err, QStringLiteral("index"), oneAction());
    }
    const bool clear = arguments.isSet(QStringLiteral("clear"));
    const bool prune = arguments.isSet(QStringLiteral("prune"));
    // The version only matters to answers; counting, emptying and pruning take every entry.
    FaceIndex index(pathOf(arguments.value(QStringLiteral("index"))), QByteArray());
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
    if (prune) {
        const qint64 removed = index.readOnly() ? -1 : index.pruneEverywhere();
        if (removed < 0) {
            err << CommandLine::programName << ": cannot change the face index " << index.path() << Qt::endl;
            return CommandLine::exitUsage;
        }
        out << "pruned\t" << removed << "\n";
    }
    const FaceIndex::Stats counted = index.stats();
    out << "photos\t" << counted.photos << "\nfaces\t" << counted.faces << "\nbytes\t" << counted.bytes
        << "\nbroken copies\t" << counted.brokenCopies << "\npath\t" << index.path() << Qt::endl;
    return CommandLine::exitOk;
}

} // namespace morvelin
