// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "app/Module1.h"
#include "app/Translate.h"
#include "base/BackgroundWork.h"
#include "base/Folders.h"
#include "base/ProgramNames.h"
#include "search/MagickImageFileReader.h"
#include "search/NativePath.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char* const captureOption = "--capture";

// No verb starts the program on the desktop; "--capture" does too, and searches the screen's faces.
bool isDesktopStart(int argc, char* argv[])
{
    return argc == 1 || (argc == 2 && std::strcmp(argv[1], captureOption) == 0);
}

int runOnDesktop(int argc, char* argv[])
{
    const bool capture = argc == 2;
    QApplication application(argc, argv);
    QApplication::setApplicationName(morvelin::ProgramNames::title());
    morvelin::InstallTranslations();
    // Wayland compositors find the program's icon and name through its desktop file.
    QGuiApplication::setDesktopFileName(QLatin1String(morvelin::ProgramNames::appId));
    QApplication::setWindowIcon(morvelin::AppIcon());
    // Hiding the last visible window sends the program to the tray; only "Exit" ends it.
    QApplication::setQuitOnLastWindowClosed(false);

    morvelin::Module1 start;
    const QByteArray captureProblem = start.captureProblem().toLocal8Bit();
    switch (start.Main(capture)) {
    case morvelin::Module1::Start::Running: {
        if (!captureProblem.isEmpty()) {
            std::fprintf(stderr, "face-morvelin: --capture cannot reach this program: %s\n", captureProblem.constData());
        }
        const int status = QApplication::exec();
        // Work left on the pool, such as a chosen face still being read, uses the detector's
        // networks, which do not outlive main().
        morvelin::BackgroundWork::pool().waitForDone();
        return status;
    }
    case morvelin::Module1::Start::CaptureNotSent:
        if (!captureProblem.isEmpty()) {
            std::fprintf(stderr, "face-morvelin: cannot ask the running Face Morvelin to capture: %s\n",
                         captureProblem.constData());
        } else {
            std::fputs("face-morvelin: the running Face Morvelin did not answer the capture request\n", stderr);
        }
        return 1;
    case morvelin::Module1::Start::Refused:
    case morvelin::Module1::Start::CaptureSent:
        break;
    }
    return 0;
}

// Qt's own list of arguments replaces bytes that are not UTF-8; a file name must keep them.
QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(morvelin::NativePath::decode(QByteArray(argv[i])));
    }
    return arguments;
}

FILE* ownMessages = stderr;

// Decoders report damaged files through Qt's warnings ("Corrupt JPEG data"); the verbs say for
// themselves what they could not read, so only serious messages get through.
void keepQtChatterOff(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(ownMessages, "%s\n", message.toLocal8Bit().constData());
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
    if (!ownLoggingRules) {
        qputenv("QT_LOGGING_RULES", "qt.gui.imageio=false;qt.gui.icc=false");
    }
    // Before any worker thread starts: the private folder (whose making removes what killed runs
    // left) and ImageMagick's pixel caches in it.
    morvelin::MagickImageFileReader::keepTemporaryFilesIn(morvelin::TempFolder());
    if (isDesktopStart(argc, argv)) {
        return runOnDesktop(argc, argv);
    }
    // The verbs need no display; a QCoreApplication keeps them usable over ssh and in scripts.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(morvelin::ProgramNames::title());
    // A user's own logging rules mean the user wants to see what the libraries say.
    if (!ownLoggingRules) {
        ownMessages = separateOwnMessages();
        qInstallMessageHandler(keepQtChatterOff);
    }
    return morvelin::CommandLine(ownMessages).run(argumentsOf(argc, argv));
}
