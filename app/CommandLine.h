// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace morvelin {

// The program's command-line verbs. Results go to standard output, messages to standard error; the
// exit status is 0 on success, 1 when a verb found nothing to work on, 2 for bad usage or unreadable
// input.
class CommandLine {
public:
    static constexpr int exitOk = 0;
    static constexpr int exitNothingFound = 1;
    static constexpr int exitUsage = 2;
    // Standard output could not take the results: its reader went away (as a shell reports a
    // SIGPIPE), or another write error (EX_IOERR), so a script never takes a lost list for an empty one.
    static constexpr int exitOutputClosed = 141;
    static constexpr int exitOutputFailed = 74;
    // Too few files may be open to work at all (EX_OSERR).
    static constexpr int exitNoDescriptors = 71;
    static const QString programName;

    // `messages` is where the program's own messages go (standard error unless main moved it).
    explicit CommandLine(FILE* messages = stderr);
    // `arguments` as QCoreApplication::arguments() gives them, the program's name first.
    int run(const QStringList& arguments);

    // Writes the one-line message and where the help is to `err`; returns exitUsage. `verb` is empty
    // for a mistake before any verb.
    static int usageError(QTextStream& err, const QString& verb, const QString& message);
    // Whether the program's own messages reach a terminal (for a progress line).
    static bool messagesOnTerminal();
    // Flushes `out`; when what the verb wrote did not all get through, says so on `err` and returns
    // exitOutputClosed or exitOutputFailed instead of `status` (a status from a signal stays).
    static int checkedOutput(QTextStream& out, QTextStream& err, int status);

private:
    int runVerb(const QStringList& arguments);
    int runKnownVerb(const QString& verb, const QStringList& operands);
    static bool asksForHelp(const QStringList& operands);
    // The general help when `verb` is empty.
    int printHelp(const QString& verb);

    static int s_messageDescriptor;

    QTextStream m_out;
    QTextStream m_err;
};

} // namespace morvelin
