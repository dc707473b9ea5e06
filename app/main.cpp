#include "app/CommandLine.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    // Image libraries chatter about colour profiles of perfectly readable photos; a verb's stderr is
    // for the program's own messages. Set before the application reads its logging rules; a user's
    // own QT_LOGGING_RULES still wins.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) {
        qputenv("QT_LOGGING_RULES", "qt.gui.imageio=false;qt.gui.icc=false");
    }
    // The verbs need no display; a QCoreApplication keeps them usable over ssh and in scripts.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Face Morvelin"));
    return morvelin::CommandLine().run(QCoreApplication::arguments());
}
