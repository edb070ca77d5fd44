// Runs one sending run of the appointment reminders and kills itself at the step named, as a
// program killed while sending would end:
//   reminders_child PRACTICE_FOLDER NOW_UTC (in-flight | delivered) MAIL_PASSWORD
#include "connection.h"
#include "connectionstring.h"
#include "program.h"
#include "remindersending.h"

#include <QCoreApplication>
#include <QDir>

#include <csignal>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: %s PRACTICE_FOLDER NOW_UTC (in-flight | delivered) PASSWORD\n",
                     argv[0]);
        return 2;
    }
    Program::AppDir = QDir(args[1]).absolutePath();
    Program::DbConnectionString = ConnectionString::build(Program::AppDir);
    Connection connection;
    connection.setUp(Program::DbConnectionString, true);
    Reminders::RunOptions options;
    options.sender = QStringLiteral("child");
    auto die = [](const Reminders::Reminder &) { std::raise(SIGKILL); };
    if (args[3] == QLatin1String("in-flight"))
        options.afterInFlight = die;
    else
        options.afterDelivery = die;
    Reminders::Secrets secrets;
    secrets.mailPassword = args[4];
    secrets.mailPasswordFound = true;
    Reminders::sendDue(connection, secrets, QDateTime::fromString(args[2], Qt::ISODate), options);
    return 0;
}
