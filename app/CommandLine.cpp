// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/CommandLine.h"

#include "app/CompareCommand.h"
#include "app/FacesCommand.h"
#include "app/IdentifyCommand.h"
#include "app/IndexCommand.h"
#include "app/InspectCommand.h"
#include "app/SearchCommand.h"
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
        return usageError(m_err, QStringLiteral("no verb given"));
    }
    const QString verb = words.first();
    const QStringList operands = words.mid(1);
    if (verb == QLatin1String("--help") || verb == QLatin1String("-h") || verb == QLatin1String("help")) {
        printHelp(m_out);
        return exitOk;
    }
    if (verb == QLatin1String("--version")) {
        m_out << programName << ' ' << programVersion << Qt::endl;
        return exitOk;
    }
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
    if (verb == QLatin1String("index")) {
        return IndexCommand::run(operands, m_out, m_err);
    }
    return usageError(m_err, QStringLiteral("unknown verb '%1'").arg(verb));
}

void CommandLine::printHelp(QTextStream& stream)
{
    stream << "Usage: " << programName << " VERB [ARGUMENTS]\n"
           << "\n"
           << "Verbs:\n"
           << "  compare A B               compare two face pictures; prints distance, score and xscore\n"
           << "                            separated by tabs (pixels as units, no scaling, no filter)\n"
           << "  faces PHOTO [--out DIR [--matcher NAME]]\n"
           << "                            find the faces in a photo, scaled as a search scales it;\n"
           << "                            prints index, x1, x2, y1, y2 per face; --out writes the\n"
           << "                            48 x 48 thumbnails face_1.png, ..., and with the features\n"
           << "                            matcher the aligned faces aligned_1.png, ...\n"
           << "  search --face PHOTO [--pick N] [--face PHOTO [--pick N]]... [--recursive]\n"
           << "         [--jobs N] [--matcher NAME] [--threshold PERCENT] [--memory-limit MB]\n"
           << "         [--no-index] [--verbose] [--json] FOLDER\n"
           << "                            search FOLDER for a person: face N (default 1) of each\n"
           << "                            PHOTO, up to 5 faces, each --pick after its --face; prints\n"
           << "                            xscore and path of every photo with a face scoring\n"
           << "                            PERCENT (default 70) or more, best first\n"
           << "                            --matcher features (the default) compares facial features,\n"
           << "                            grid the 48 x 48 brightness grids; the photos scanned at\n"
           << "                            once share MB of memory (1024); --no-index neither reads\n"
           << "                            nor writes the face index; --verbose names what could not\n"
           << "                            be read; --json prints the query and every listed photo\n"
           << "                            (docs/search-json.schema.json)\n"
           << "  inspect IMAGE --out DIR [--size W H] [--scale N]\n"
           << "                            sample IMAGE into a W x H grid (default 48 x 48) and write\n"
           << "                            its grid, edges, traces, edge map, contours and histograms\n"
           << "                            as PNGs (N pixels per cell); prints a summary of the edges\n"
           << "  identify --gallery DIR IMAGE\n"
           << "                            name the face picture in DIR nearest to IMAGE; prints the\n"
           << "                            name directly followed by the distance\n"
           << "  index --stats | --clear   print what the face index holds (photos, faces, bytes, path)\n"
           << "                            or empty it\n"
           << "\n"
           << "Without a verb the program starts on the desktop, in the system tray.\n"
           << "\n"
           << "Options:\n"
           << "  --capture                 capture the screen and look for faces, in the running\n"
           << "                            program (started first when none runs)\n"
           << "  --help                    show this text\n"
           << "  --version                 show the version\n";
    stream.flush();
}

int CommandLine::usageError(QTextStream& err, const QString& message)
{
    err << programName << ": " << message << "\n\n";
    printHelp(err);
    return exitUsage;
}

} // namespace morvelin
