// Sends the appointment reminders that are due, as the program does while it runs, for a
// scheduled task when the program is closed:
//   orvanta-reminders PRACTICE_FOLDER
// The mail password and the SMS key come from the desktop's keyring of the user running it.
// Prints one line on standard output ("sent N, waiting N, uncertain N, refused N") and each
// notice for the person on standard error. Exit status: 0 the run finished (whatever each
// reminder's fate); 2 wrong command line; 3 the practice cannot be read or written; 4 the run
// finished with a notice for the person (a refused login, a reminder whose fate is unknown).
#include "connection.h"
#include "connectionstring.h"
#include "dberror.h"
#include "program.h"
#include "remindersecrets.h"
#include "toolusage.h"

#include <QCoreApplication>
#include <QDir>
#include <QSysInfo>
#include <cstdio>

namespace {

const char kHelp[] =
    "Χρήση: orvanta-reminders ΦΑΚΕΛΟΣ_ΙΑΤΡΕΙΟΥ\n"
    "\n"
    "Στέλνει τις υπενθυμίσεις ραντεβού που έχουν έρθει η ώρα τους, όπως το πρόγραμμα όταν είναι\n"
    "ανοιχτό (για προγραμματισμένη εργασία, π.χ. έναν χρονοδιακόπτη systemd του χρήστη). Ο κωδικός\n"
    "του email και το κλειδί της υπηρεσίας SMS διαβάζονται από την κλειδοθήκη του χρήστη.\n"
    "Καμία υπενθύμιση δεν στέλνεται δύο φορές.\n"
    "\n"
    "Κωδικοί εξόδου: 0 η αποστολή ολοκληρώθηκε· 2 λάθος γραμμή εντολών· 3 το ιατρείο δεν\n"
    "διαβάζεται ή δεν δέχεται εγγραφή· 4 ολοκληρώθηκε με μήνυμα για τον χρήστη (π.χ. ο\n"
    "διακομιστής δεν δέχτηκε τον κωδικό, ή δεν είναι γνωστό αν έφτασε μια υπενθύμιση).\n";

const char kUsage[] = "orvanta-reminders PRACTICE_FOLDER";

} // namespace

int main(int argc, char **argv)
{
    if (ToolUsage::askedForHelp(argc, argv))
        return ToolUsage::help(kHelp);
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return ToolUsage::wrong(kUsage);
    Program::AppDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    Program::DbConnectionString = ConnectionString::build(Program::AppDir);
    try {
        Connection connection;
        connection.setUp(Program::DbConnectionString, true);
        const Reminders::Settings settings = Reminders::load(connection);
        Reminders::Secrets secrets;
        if (settings.enabled) {
            MyData::KeychainSecretStore store {QLatin1String(Reminders::kSecretService)};
            secrets = Reminders::readSecretsNow(store);
        }
        Reminders::RunOptions options;
        options.sender = QSysInfo::machineHostName() + QStringLiteral("/orvanta-reminders/")
            + QString::number(QCoreApplication::applicationPid());
        const Reminders::RunReport r
            = Reminders::sendDue(connection, secrets, QDateTime::currentDateTimeUtc(), options);
        std::printf("sent %d, waiting %d, uncertain %d, refused %d\n", r.sent, r.retry,
                    r.uncertain, r.failed);
        for (const QString &notice : r.notices)
            std::fprintf(stderr, "%s\n", notice.toUtf8().constData());
        return r.notices.isEmpty() ? 0 : 4;
    } catch (const DbError &e) {
        std::fprintf(stderr, "not sent: %s\n", e.message().toUtf8().constData());
        return 3;
    }
}
