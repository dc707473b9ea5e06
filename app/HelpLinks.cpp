#include "app/HelpLinks.h"

#include "app/Helpers.h"

#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace morvelin {

namespace {

struct UpdateTool {
    const char* program;
    QStringList arguments;
};

const UpdateTool updateTools[] = {
    {"gnome-software", {QStringLiteral("--mode=updates")}},
    {"plasma-discover", {QStringLiteral("--mode"), QStringLiteral("Update")}},
    {"update-manager", {}},
    {"mintupdate", {}},
};

} // namespace

HelpLinks::HelpLinks(std::initializer_list<QLabel*> links, QObject* parent)
    : QObject(parent)
{
    for (QLabel* link : links) {
        link->installEventFilter(this);
    }
}

bool HelpLinks::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        emit clicked(static_cast<QLabel*>(watched));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QString HelpLinks::aboutPage()
{
    const QString installed = AppFolder() + QStringLiteral("../share/doc/face-morvelin/README.md");
    if (QFileInfo::exists(installed)) {
        return QDir::cleanPath(installed);
    }
    return QStringLiteral(MORVELIN_SOURCE_README);
}

void HelpLinks::openAbout()
{
    OpenWithShell(aboutPage());
}

void HelpLinks::startUpdateTool()
{
    for (const UpdateTool& tool : updateTools) {
        const QString program = QStandardPaths::findExecutable(QLatin1String(tool.program));
        if (!program.isEmpty()) {
            QProcess::startDetached(program, tool.arguments);
            return;
        }
    }
}

} // namespace morvelin
