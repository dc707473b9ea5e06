#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "app/Module1.h"
#include "app/Translate.h"
#include "base/ProgramNames.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>

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
    switch (start.Main(capture)) {
    case morvelin::Module1::Start::Running:
        return QApplication::exec();
    case morvelin::Module1::Start::CaptureNotSent:
        std::fputs("face-morvelin: the running Face Morvelin did not answer the capture request\n", stderr);
        return 1;
    case morvelin::Module1::Start::Refused:
    case morvelin::Module1::Start::CaptureSent:
        break;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Image libraries chatter about colour profiles of perfectly readable photos; a verb's stderr is
    // for the program's own messages. Set before the application reads its logging rules; a user's
    // own QT_LOGGING_RULES still wins.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) {
        qputenv("QT_LOGGING_RULES", "qt.gui.imageio=false;qt.gui.icc=false");
    }
    if (isDesktopStart(argc, argv)) {
        return runOnDesktop(argc, argv);
    }
    // The verbs need no display; a QCoreApplication keeps them usable over ssh and in scripts.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(morvelin::ProgramNames::title());
    return morvelin::CommandLine().run(QCoreApplication::arguments());
}
