// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "app/Module1.h"
#include "app/Translate.h"
#include "base/BackgroundWork.h"
#include "base/Folders.h"
#include "base/ProgramNames.h"
#include "search/ImageFileReader.h"
#include "search/MagickImageFileReader.h"
#include "search/NativePath.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <optional>
#include <fcntl.h>
#include <unistd.h>

namespace {

// What a start on the desktop asks for besides starting.
struct DesktopStart {
    bool capture = false;
    QString photo;
};

// Qt's own list of arguments replaces bytes that are not UTF-8; a file name must keep them.
QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(morvelin::NativePath::decode(QByteArray(argv[i])));
    }
    return arguments;
}

// No verb starts the program on the desktop; so do "--capture", to search the screen's faces, and
// "--face PHOTO", to show the photo's. A desktop's "Open with" hands over the photo's full path alone,
// and no verb starts with a slash. Nothing for a command line of the verbs.
std::optional<DesktopStart> desktopStartOf(const QStringList& arguments)
{
    if (arguments.size() == 1) {
        return DesktopStart{};
    }
    if (arguments.size() == 2 && arguments[1] == QLatin1String("--capture")) {
        return DesktopStart{true, QString()};
    }
    if (arguments.size() == 2 && arguments[1].startsWith(QLatin1Char('/'))) {
        return DesktopStart{false, arguments[1]};
    }
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--face")) {
        return DesktopStart{false, arguments[2]};
    }
    return std::nullopt;
}

// Said on the command line rather than in a window: the running program may be another process.
bool photoIsReadable(const QString& photo)
{
    QString problem;
    if (morvelin::ImageFileReader::open(photo, problem)) {
        return true;
    }
    std::fprintf(stderr, "face-morvelin: cannot read '%s': %s\n",
                 morvelin::NativePath::encode(morvelin::NativePath::escaped(photo)).constData(),
                 problem.toLocal8Bit().constData());
    return false;
}

int runOnDesktop(int argc, char* argv[], DesktopStart start)
{
    // Before the display is opened: a wrong name is the same mistake with or without one.
    if (!start.photo.isEmpty()) {
        if (!photoIsReadable(start.photo)) {
            return morvelin::CommandLine::exitUsage;
        }
        start.photo = QFileInfo(start.photo).absoluteFilePath();
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(morvelin::ProgramNames::title());
    morvelin::InstallTranslations();
    // Wayland compositors find the program's icon and name through its desktop file.
    QGuiApplication::setDesktopFileName(QLatin1String(morvelin::ProgramNames::appId));
    QApplication::setWindowIcon(morvelin::AppIcon());
    // Hiding the last visible window sends the program to the tray; only "Exit" ends it.
    QApplication::setQuitOnLastWindowClosed(false);

    morvelin::Module1 module;
    const QByteArray requestProblem = module.captureProblem().toLocal8Bit();
    const char* const request = start.capture ? "capture" : "photo";
    switch (module.Main(start.capture, start.photo)) {
    case morvelin::Module1::Start::Running: {
        if (!requestProblem.isEmpty()) {
            std::fprintf(stderr, "face-morvelin: --capture and --face cannot reach this program: %s\n",
                         requestProblem.constData());
        }
        const int status = QApplication::exec();
        // Work left on the pool, such as a chosen face still being read, uses the detector's
        // networks, which do not outlive main().
        morvelin::BackgroundWork::pool().waitForDone();
        return status;
    }
    case morvelin::Module1::Start::RequestNotSent:
        if (!requestProblem.isEmpty()) {
            std::fprintf(stderr, "face-morvelin: cannot hand the %s request to the running Face Morvelin: %s\n",
                         request, requestProblem.constData());
        } else {
            std::fprintf(stderr, "face-morvelin: the running Face Morvelin did not answer the %s request\n", request);
        }
        return 1;
    case morvelin::Module1::Start::Refused:
    case morvelin::Module1::Start::RequestSent:
        break;
    }
    return 0;
}

FILE* ownMessages = stderr;

// Decoders report damaged files through Qt's warnings ("Corrupt JPEG data"); the verbs say for
// themselves what they could not read, so only serious messages get through.
void keepQtChatterOff(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(ownMessages, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
    }
}

// Some decoders write to standard error themselves ("libpng error: ..."). The program's own
// messages get a copy of standard error, and standard error itself goes nowhere.
FILE* separateOwnMessages()
{
    const int copy = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    FILE* messages = copy >= 0 ? ::fdopen(copy, "w") : nullptr;
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (messages == nullptr || nowhere < 0) {
        return stderr;
    }
    std::setvbuf(messages, nullptr, _IOLBF, 0);
    ::dup2(nowhere, STDERR_FILENO);
    ::close(nowhere);
    return messages;
}

} // namespace

int main(int argc, char* argv[])
{
    // Image libraries chatter about colour profiles of perfectly readable photos; a verb's stderr is
    // for the program's own messages. Set before the application reads its logging rules; a user's
    // own QT_LOGGING_RULES still wins.
    const bool ownLoggingRules = !qEnvironmentVariableIsEmpty("QT_LOGGING_RULES");
    // What reaches standard error says whose it is, as the program's own messages do; a user's
    // QT_MESSAGE_PATTERN still wins.
    qSetMessagePattern(QStringLiteral("face-morvelin: %{if-category}%{category}: %{endif}%{message}"));
    if (!ownLoggingRules) {
        qputenv("QT_LOGGING_RULES", "qt.gui.imageio=false;qt.gui.icc=false");
    }
    // Before any worker thread starts: the private folder (whose making removes what killed runs
    // left) and ImageMagick's pixel caches in it.
    morvelin::MagickImageFileReader::keepTemporaryFilesIn(morvelin::TempFolder());
    const QStringList arguments = argumentsOf(argc, argv);
    if (const std::optional<DesktopStart> start = desktopStartOf(arguments)) {
        return runOnDesktop(argc, argv, *start);
    }
    // The verbs need no display; a QCoreApplication keeps them usable over ssh and in scripts.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(morvelin::ProgramNames::title());
    // A user's own logging rules mean the user wants to see what the libraries say.
    if (!ownLoggingRules) {
        ownMessages = separateOwnMessages();
        qInstallMessageHandler(keepQtChatterOff);
    }
    return morvelin::CommandLine(ownMessages).run(arguments);
}
