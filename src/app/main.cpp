#include "appinfo.h"
#include "autobackup.h"
#include "cnumericlocale.h"
#include "backupcommands.h"
#include "commands.h"
#include "mainwindow.h"
#include "program.h"
#include "qttranslation.h"

#include <QApplication>
#include <QDateTime>
#include <QFont>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // C libraries write numbers with a point into files and statements; the windows still show
    // the system's separator through QLocale.
    CNumericLocale::setForProcess();
    QtTranslation::installForSystem();
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    QApplication::setApplicationVersion(AppInfo::version());
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    // The long-lived windows are hidden most of the time; the program ends at the exit
    // confirmation, not when the last visible window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    int status = 0;
    {
        MainWindow mainWindow;
        if (!mainWindow.startupGranted())
            return 0;
        CommandTable commands;
        AreaCommands::addAll(commands);
        mainWindow.setCommands(commands);
        mainWindow.showMaximized();
        BackupCommands::reportFailedAutomaticCopy(&mainWindow);
        status = app.exec();
        if (!mainWindow.ended() || mainWindow.restored())
            return status;
    }
    // Every window has closed its connection: the copy of the day is taken and checked, the
    // older ones thinned out; a failure is told at the next start.
    AutoBackup::atNormalEnd(Program::AppDir, QDateTime::currentDateTime(),
                            BackupCommands::passphraseForAutomaticCopy(Program::AppDir));
    return status;
}
