// Creates a practice database in its delivered state:
//   orvanta-makedb FOLDER    writes FOLDER/data.mdb (left alone when it already exists)
#include "connectionstring.h"
#include "dberror.h"
#include "schema.h"
#include "toolusage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

const char kHelp[] =
    "Χρήση: orvanta-makedb ΦΑΚΕΛΟΣ\n"
    "\n"
    "Γράφει στον ΦΑΚΕΛΟ το data.mdb ενός νέου ιατρείου, όπως παραδίδεται (ο κωδικός πρόσβασης\n"
    "που παραδίδεται είναι 73051846). Ένα data.mdb που υπάρχει ήδη μένει όπως είναι.\n";

} // namespace

int main(int argc, char **argv)
{
    if (ToolUsage::askedForHelp(argc, argv))
        return ToolUsage::help(kHelp);
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return ToolUsage::wrong("orvanta-makedb FOLDER");
    const QString path = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("data.mdb"));
    if (QFileInfo::exists(path)) {
        std::printf("%s already exists: left as it is.\n", qPrintable(path));
        return 0;
    }
    try {
        Schema::createPracticeDatabase(path, QLatin1String(ConnectionString::kDatabasePassword));
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("Created %s\n", qPrintable(path));
    return 0;
}
