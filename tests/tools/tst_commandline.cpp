// Every tool answers --help with its usage in Greek and status 0, before it opens or connects to
// anything (a server that is not there, a folder that does not exist); a wrong command line
// still ends with status 2 and the one line scripts expect.
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int status = -1;
    QString out;
    QString err;
};

ToolRun run(const char *tool, const QStringList &args)
{
    QProcess p;
    // A server that would answer nothing: the help must not even try it.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGHOST"), QStringLiteral("127.0.0.1"));
    env.insert(QStringLiteral("PGPORT"), QStringLiteral("1"));
    env.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("2"));
    p.setProcessEnvironment(env);
    p.start(QString::fromUtf8(tool), args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(ToolCommandLine, HelpIsGreekUsageWithStatusZeroAndAWrongLineIsStatusTwo)
{
    QTemporaryDir dir;
    struct Tool {
        const char *path;
        const char *name;
        int arguments;
    };
    const Tool tools[] = {
        {MAKEDB_TOOL, "orvanta-makedb", 1},
        {PGCREATE_TOOL, "orvanta-pgcreate", 1},
        {PGCOPY_TOOL, "orvanta-pgcopy", 2},
        {BACKUP_TOOL, "orvanta-backup", 2},
    };
    for (const Tool &t : tools) {
        SCOPED_TRACE(t.name);
        for (const char *flag : {"--help", "-h"}) {
            const ToolRun help = run(t.path, {QString::fromLatin1(flag)});
            EXPECT_EQ(help.status, 0);
            EXPECT_TRUE(help.out.startsWith(QStringLiteral("Χρήση: ") + QLatin1String(t.name)))
                << help.out.toStdString();
            EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
        }
        // Help wins over a full command line too, and nothing is created for it.
        QStringList full {dir.filePath(QStringLiteral("practice"))};
        if (t.arguments == 2)
            full << QStringLiteral("host=127.0.0.1 port=1 dbname=none");
        full << QStringLiteral("--help");
        EXPECT_EQ(run(t.path, full).status, 0);
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("practice/data.mdb"))));

        const ToolRun wrong = run(t.path, {});
        EXPECT_EQ(wrong.status, 2);
        EXPECT_TRUE(wrong.err.startsWith(QStringLiteral("usage: ") + QLatin1String(t.name)))
            << wrong.err.toStdString();
        EXPECT_TRUE(wrong.out.isEmpty());
    }
}
