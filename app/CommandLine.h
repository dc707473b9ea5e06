#pragma once

#include <QStringList>
#include <QTextStream>

namespace morvelin {

// The program's command-line verbs. Results go to standard output, messages to standard error; the
// exit status is 0 on success and 2 for bad usage or unreadable input.
class CommandLine {
public:
    static constexpr int exitOk = 0;
    static constexpr int exitUsage = 2;

    CommandLine();
    // `arguments` as QCoreApplication::arguments() gives them, the program's name first.
    int run(const QStringList& arguments);

private:
    int compare(const QStringList& operands);
    int usageError(const QString& message);
    void printHelp(QTextStream& stream);

    QTextStream m_out;
    QTextStream m_err;
};

} // namespace morvelin
