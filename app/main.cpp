#include "app/CommandLine.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    // The verbs need no display; a QCoreApplication keeps them usable over ssh and in scripts.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Face Morvelin"));
    return morvelin::CommandLine().run(QCoreApplication::arguments());
}
