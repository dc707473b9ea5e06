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
    static const QString programName;

    // `messages` is where the program's own messages go (standard error unless main moved it).
    explicit CommandLine(FILE* messages = stderr);
    // `arguments` as QCoreApplication::arguments() gives them, the program's name first.
    int run(const QStringList& arguments);

    // Writes the message and the usage text to `err`; returns exitUsage.
    static int usageError(QTextStream& err, const QString& message);
    // Whether the program's own messages reach a terminal (for a progress line).
    static bool messagesOnTerminal();
    static void printHelp(QTextStream& stream);

private:
    static int s_messageDescriptor;

    QTextStream m_out;
    QTextStream m_err;
};

} // namespace morvelin
