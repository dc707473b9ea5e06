// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/CommandLine.h"

#include "app/CompareCommand.h"
#include "app/FacesCommand.h"
#include "app/IdentifyCommand.h"
#include "app/IndexCommand.h"
#include "app/InspectCommand.h"
#include "app/SearchCommand.h"
#include "app/VerbHelp.h"
#include "app/Version.h"
#include "base/ProgramNames.h"

#include <QFileDevice>

#include <cstdio>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvelin {

namespace {

constexpr int firstSignalStatus = 128;

// A pipe or socket whose reading end is closed reports an error to a writer that polls it.
bool readerIsGone(int descriptor)
{
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !(S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode))) {
        return false;
    }
    pollfd probe{descriptor, POLLOUT, 0};
    return ::poll(&probe, 1, 0) == 1 && (probe.revents & (POLLERR | POLLHUP)) != 0;
}

} // namespace

const QString CommandLine::programName = ProgramNames::executable();

int CommandLine::s_messageDescriptor = STDERR_FILENO;

CommandLine::CommandLine(FILE* messages)
    : m_out(stdout)
    , m_err(messages)
{
    s_messageDescriptor = ::fileno(messages);
}

bool CommandLine::messagesOnTerminal()
{
    return ::isatty(s_messageDescriptor) == 1;
}

int CommandLine::run(const QStringList& arguments)
{
    return checkedOutput(m_out, m_err, runVerb(arguments));
}

int CommandLine::checkedOutput(QTextStream& out, QTextStream& err, int status)
{
    out.flush();
    const auto* file = qobject_cast<const QFileDevice*>(out.device());
    const bool toStandardOutput = file != nullptr && file->handle() == STDOUT_FILENO;
    const bool standardOutputFailed = toStandardOutput && (std::fflush(stdout) != 0 || std::ferror(stdout) != 0);
    if (status >= firstSignalStatus || (out.status() != QTextStream::WriteFailed && !standardOutputFailed)) {
        return status;
    }
    if (toStandardOutput && readerIsGone(STDOUT_FILENO)) {
        err << programName << ": the output was lost: its reader closed the pipe" << Qt::endl;
        return exitOutputClosed;
    }
    const QString reason = file != nullptr && !file->errorString().isEmpty() ? file->errorString()
                                                                             : QStringLiteral("write error");
    err << programName << ": the output could not be written: " << reason << Qt::endl;
    return exitOutputFailed;
}

int CommandLine::runVerb(const QStringList& arguments)
{
    const QStringList words = arguments.mid(1);
    if (words.isEmpty()) {
        return usageError(m_err, QString(), QStringLiteral("no verb given"));
    }
    const QString verb = words.first();
    const QStringList operands = words.mid(1);
    if (verb == QLatin1String("--help") || verb == QLatin1String("-h") || verb == QLatin1String("help")) {
        return printHelp(operands.value(0));
    }
    if (verb == QLatin1String("--version")) {
        m_out << programName << ' ' << programVersion << Qt::endl;
        return exitOk;
    }
    // The desktop's own starts reach here only when more or fewer words follow them.
    if (verb == QLatin1String("--capture")) {
        return usageError(m_err, QString(), QStringLiteral("--capture takes no other word"));
    }
    if (verb == QLatin1String("--face")) {
        return usageError(m_err, QString(), QStringLiteral("--face takes one photo"));
    }
    if (!VerbHelp::verbs().contains(verb)) {
        return usageError(m_err, QString(), QStringLiteral("unknown verb '%1'").arg(verb));
    }
    if (asksForHelp(operands)) {
        return printHelp(verb);
    }
    return runKnownVerb(verb, operands);
}

// `verb` is one of VerbHelp's verbs: any other word was refused before.
int CommandLine::runKnownVerb(const QString& verb, const QStringList& operands)
{
    if (verb == QLatin1String("compare")) {
        return CompareCommand::run(operands, m_out, m_err);
    }
    if (verb == QLatin1String("faces")) {
        return FacesCommand::run(operands, m_out, m_err);
    }
    if (verb == QLatin1String("search")) {
        return SearchCommand::run(operands, m_out, m_err);
    }
    if (verb == QLatin1String("inspect")) {
        return InspectCommand::run(operands, m_out, m_err);
    }
    if (verb == QLatin1String("identify")) {
        return IdentifyCommand::run(operands, m_out, m_err);
    }
    return IndexCommand::run(operands, m_out, m_err);
}

// "-h" only right after the verb: further on it may be a file's name, as any word with one dash is.
bool CommandLine::asksForHelp(const QStringList& operands)
{
    if (!operands.isEmpty() && operands.first() == QLatin1String("-h")) {
        return true;
    }
    const qsizetype optionsEnd = operands.indexOf(QStringLiteral("--"));
    return operands.mid(0, optionsEnd < 0 ? operands.size() : optionsEnd).contains(QStringLiteral("--help"));
}

int CommandLine::printHelp(const QString& verb)
{
    if (verb.isEmpty()) {
        m_out << VerbHelp::general();
        return exitOk;
    }
    const QString help = VerbHelp::of(verb);
    if (help.isEmpty()) {
        return usageError(m_err, QString(), QStringLiteral("no help on '%1': it is no verb").arg(verb));
    }
    m_out << help;
    return exitOk;
}

int CommandLine::usageError(QTextStream& err, const QString& verb, const QString& message)
{
    const QString help = verb.isEmpty() ? QStringLiteral("--help") : verb + QStringLiteral(" --help");
    err << programName << ": " << message << "\nTry '" << programName << ' ' << help << "'." << Qt::endl;
    return exitUsage;
}

} // namespace morvelin
