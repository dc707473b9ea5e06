#include "app/CommandLine.h"

#include <QCoreApplication>
#include <QLoggingCategory>

int main(int argc, char* argv[])
{
    // The verbs need no display; a QCoreApplication keeps them usable over ssh and in scripts.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Face Morvelin"));
    // Image libraries chatter about colour profiles of perfectly readable photos; a verb's stderr is
    // for the program's own messages.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.warning=false\nqt.gui.icc.warning=false"));
    return morvelin::CommandLine().run(QCoreApplication::arguments());
}
