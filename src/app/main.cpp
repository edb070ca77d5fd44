#include "appinfo.h"
#include "commands.h"
#include "mainwindow.h"

#include <QApplication>
#include <QFont>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    QApplication::setApplicationVersion(AppInfo::version());
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    // The long-lived windows are hidden most of the time; the program ends at the exit
    // confirmation, not when the last visible window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    MainWindow mainWindow;
    if (!mainWindow.startupGranted())
        return 0;
    CommandTable commands;
    AreaCommands::addAll(commands);
    mainWindow.setCommands(commands);
    mainWindow.showMaximized();
    return app.exec();
}
