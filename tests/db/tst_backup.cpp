// Backups of a practice file taken while the practice is in use, restores that refuse what is
// not a sound backup of this practice, and the automatic copies kept over a year of exits.
#include "autobackup.h"
#include "connection.h"
#include "connectionstring.h"
#include "practicebackup.h"
#include "program.h"
#include "schema.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using PracticeBackup::BackupError;
using PracticeBackup::Failure;
using TestSupport::TempPractice;

namespace {

const QDateTime kWhen(QDate(2026, 3, 5), QTime(18, 30));

// A plain handle of the engine's own, as another program holds the file.
class Other {
public:
    explicit Other(const QString &path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~Other() { sqlite3_close_v2(m_db); }
    int exec(const QString &sql)
    {
        return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
    QString value(const QString &sql)
    {
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &s, nullptr);
        QString out = QStringLiteral("<no row>");
        if (s && sqlite3_step(s) == SQLITE_ROW)
            out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
        return out;
    }

private:
    sqlite3 *m_db = nullptr;
};

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Patients and receipts, written in one transaction.
void fill(const TempPractice &, int patients)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Transaction t(c);
    for (int i = 0; i < patients; ++i)
        c.execute(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,ISTORIKO) "
                                     "VALUES('Ελένη','Παπαδοπούλου %1','Πόνος στη μέση')")
                          .arg(i));
    c.execute("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(12)");
    for (int n = 1; n <= 11; ++n)
        c.execute(QStringLiteral("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,ONOMA,POSO,VAT,"
                                 "SYNOLIKO_POSO) VALUES(%1,'Ελένη',40,9.6,49.6)")
                      .arg(n));
    t.commit();
}

// Temporary folders made while it lives are in memory where the system has such a folder: a
// year of copies is about keeping the right ones, not about waiting for the disk.
struct InMemoryTemp {
    QByteArray before = qgetenv("TMPDIR");
    InMemoryTemp()
    {
        if (QFileInfo("/dev/shm").isDir() && QFileInfo("/dev/shm").isWritable())
            qputenv("TMPDIR", "/dev/shm");
    }
    ~InMemoryTemp()
    {
        if (before.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", before);
    }
};

} // namespace

TEST(Backup, ACopyTakenWhileAnotherProgramWritesHasOnlyWhatWasCommitted)
{
    TempPractice practice;
    fill(practice, 30);
    Other writer(practice.dbPath());
    ASSERT_EQ(writer.exec("BEGIN IMMEDIATE"), SQLITE_OK);
    ASSERT_EQ(writer.exec("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('Μισός')"), SQLITE_OK);
    ASSERT_EQ(writer.exec("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,POSO) VALUES(12,40)"), SQLITE_OK);
    ASSERT_EQ(writer.exec("UPDATE LAST_APODEIKSH SET LAST=13"), SQLITE_OK);

    QTemporaryDir usb;
    const PracticeBackup::Outcome out = PracticeBackup::backUp(practice.dir(), usb.path(), kWhen);
    EXPECT_EQ(out.path, QDir(usb.path()).filePath("orvanta-2026-03-05-1830.mdb"));
    EXPECT_EQ(filesIn(usb.path()), QStringList {"orvanta-2026-03-05-1830.mdb"});
    EXPECT_EQ(out.bytes, QFileInfo(out.path).size());
    EXPECT_TRUE(out.tables.contains("STOIXEIA_PELATH: 30 rows")) << out.tables.join("; ").toStdString();
    // The writer goes on and commits after the copy.
    EXPECT_EQ(writer.exec("COMMIT"), SQLITE_OK);

    Other copy(out.path);
    EXPECT_EQ(copy.value("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(copy.value("SELECT count(*) FROM STOIXEIA_PELATH"), "30");
    EXPECT_EQ(copy.value("SELECT count(*) FROM APODEIKSEIS"), "11");
    EXPECT_EQ(copy.value("SELECT LAST FROM LAST_APODEIKSH"), "12");
    EXPECT_EQ(practice.count("SELECT * FROM APODEIKSEIS"), 12);

    // The copy is a practice the program opens and reads as it read data.mdb.
    const PracticeBackup::Summary s = PracticeBackup::inspect(out.path);
    EXPECT_EQ(s.taken, kWhen);
    EXPECT_EQ(s.patients, 30);
    EXPECT_EQ(s.receipts, 11);
    EXPECT_EQ(s.lastReceipt, "11");
}

TEST(Backup, APracticeMadeBeforeTheEbooksTablesIsBackedUpCheckedAndRestored)
{
    TempPractice practice;
    fill(practice, 3);
    {
        Other older(practice.dbPath());
        ASSERT_EQ(older.exec(QStringLiteral("DROP TABLE %1").arg(Schema::kEbooksTable)), SQLITE_OK);
        ASSERT_EQ(older.exec(QStringLiteral("DROP TABLE %1").arg(Schema::kEbooksSettingsTable)),
                  SQLITE_OK);
        ASSERT_EQ(older.exec(QStringLiteral("DROP TABLE %1").arg(Schema::kEbooksSearchTable)),
                  SQLITE_OK);
        ASSERT_EQ(older.exec(QStringLiteral("DROP TABLE %1").arg(Schema::kReceiptRateTable)),
                  SQLITE_OK);
    }
    QTemporaryDir usb;
    const PracticeBackup::Outcome out = PracticeBackup::backUp(practice.dir(), usb.path(), kWhen);
    EXPECT_TRUE(out.tables.contains("STOIXEIA_PELATH: 3 rows")) << out.tables.join("; ").toStdString();
    EXPECT_EQ(PracticeBackup::inspect(out.path).receipts, 11);
    const QString aside = PracticeBackup::restoreFile(out.path, practice.dir(), kWhen.addDays(1));
    EXPECT_TRUE(QFileInfo::exists(aside));
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH"), 3);
}

TEST(Backup, AFullOrMissingDestinationLeavesNoFileUnderTheFinalName)
{
    TempPractice practice;
    fill(practice, 400);
    const QByteArray before = digest(practice.dbPath());
    struct Case {
        const char *name;
        int pages; // the copy may not grow past this many pages; 0: no limit
        bool missingFolder;
        Failure failure;
    };
    const Case cases[] = {
        {"full after a few pages", 3, false, Failure::DiskFull},
        {"full at the first page", 1, false, Failure::DiskFull},
        {"no such folder", 0, true, Failure::NotWritable},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir usb;
        const QString folder = c.missingFolder ? usb.filePath("gone") : usb.path();
        PracticeBackup::setDestinationHook([&](sqlite3 *db) {
            if (c.pages)
                sqlite3_exec(db, QStringLiteral("PRAGMA max_page_count = %1").arg(c.pages).toUtf8(),
                             nullptr, nullptr, nullptr);
        });
        try {
            PracticeBackup::backUp(practice.dir(), folder, kWhen);
            ADD_FAILURE() << "the copy was reported as taken";
        } catch (const BackupError &e) {
            EXPECT_EQ(int(e.failure()), int(c.failure)) << e.message().toStdString();
        }
        PracticeBackup::setDestinationHook({});
        EXPECT_EQ(filesIn(usb.path()), QStringList {});
    }
    EXPECT_EQ(digest(practice.dbPath()), before);
}

TEST(Backup, ARestoreRefusesWhatIsNotASoundBackupOfThisPracticeAndChangesNothing)
{
    TempPractice practice;
    fill(practice, 50);
    QTemporaryDir usb;
    const QString good = PracticeBackup::backUp(practice.dir(), usb.path(), kWhen).path;
    practice.exec("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('Μετά το αντίγραφο')");

    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile f(usb.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    };
    QFile goodFile(good);
    goodFile.open(QIODevice::ReadOnly);
    const QByteArray whole = goodFile.readAll();

    const QString foreign = usb.filePath("other.db");
    {
        Other db(foreign);
        sqlite3 *raw = nullptr;
        sqlite3_open(foreign.toUtf8().constData(), &raw);
        sqlite3_exec(raw, "CREATE TABLE notes(x TEXT); INSERT INTO notes VALUES('hello');",
                     nullptr, nullptr, nullptr);
        sqlite3_close(raw);
    }
    const QString otherPassword = usb.filePath("other-password.mdb");
    Schema::createPracticeDatabase(otherPassword, "ANOTHER");
    const QString cutShort = write("cut.mdb", whole.left(whole.size() / 2));
    const QString text = write("notes.txt", QByteArray("Ραντεβού Τρίτη\n").repeated(100));
    const QString empty = write("empty.mdb", {});

    struct Case {
        const char *name;
        QString file;
        Failure failure;
    };
    const Case cases[] = {
        {"another program's database", foreign, Failure::NotPractice},
        {"a copy cut short", cutShort, Failure::Damaged},
        {"another database password", otherPassword, Failure::WrongPassword},
        {"a text file", text, Failure::NotSqlite},
        {"an empty file", empty, Failure::NotSqlite},
        {"no file", usb.filePath("missing.mdb"), Failure::NotSqlite},
    };
    const QByteArray before = digest(practice.dbPath());
    const QStringList files = filesIn(practice.dir());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool inspectOnly : {true, false}) {
            try {
                if (inspectOnly)
                    PracticeBackup::inspect(c.file);
                else
                    PracticeBackup::restoreFile(c.file, practice.dir(), kWhen);
                ADD_FAILURE() << "accepted";
            } catch (const BackupError &e) {
                EXPECT_EQ(int(e.failure()), int(c.failure)) << e.message().toStdString();
            }
        }
        EXPECT_EQ(digest(practice.dbPath()), before);
        EXPECT_EQ(filesIn(practice.dir()), files);
    }

    // The sound backup goes in; the practice as it was is kept beside it, dated.
    const QString aside = PracticeBackup::restoreFile(good, practice.dir(),
                                                      QDateTime(QDate(2026, 3, 6), QTime(9, 5, 7)));
    EXPECT_EQ(aside, QDir(practice.dir()).filePath("data-before-restore-2026-03-06-090507.mdb"));
    EXPECT_EQ(digest(aside), before);
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH"), 50);
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH WHERE EPWNYMO='Μετά το αντίγραφο'"), 0);
    EXPECT_EQ(filesIn(practice.dir()),
              QStringList({"data-before-restore-2026-03-06-090507.mdb", "data.mdb"}));
}

TEST(Backup, ARestoreRefusesAPracticeFileAnotherProgramIsWriting)
{
    TempPractice practice;
    fill(practice, 5);
    QTemporaryDir usb;
    const QString good = PracticeBackup::backUp(practice.dir(), usb.path(), kWhen).path;
    Other writer(practice.dbPath());
    ASSERT_EQ(writer.exec("BEGIN IMMEDIATE"), SQLITE_OK);
    ASSERT_EQ(writer.exec("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('Γράφεται')"), SQLITE_OK);
    const int busy = Connection::busyWait();
    Connection::setBusyWait(50);
    try {
        PracticeBackup::restoreFile(good, practice.dir(), kWhen);
        ADD_FAILURE() << "the file was swapped under a writer";
    } catch (const BackupError &e) {
        EXPECT_EQ(int(e.failure()), int(Failure::InUse)) << e.message().toStdString();
    }
    Connection::setBusyWait(busy);
    EXPECT_EQ(filesIn(practice.dir()), QStringList({"data.mdb", "data.mdb-journal"}));
    EXPECT_EQ(writer.exec("COMMIT"), SQLITE_OK);
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH"), 6);
}

// Exits on workdays of a whole year, one or two a day, each with the clock of that moment: the
// folder holds exactly the newest copy of each of the last 14 days that had one and the newest
// of each of the last twelve months.
TEST(AutomaticCopies, AYearOfExitsKeepsTheLastFourteenDaysAndOneCopyPerMonth)
{
    InMemoryTemp inMemory;
    TempPractice practice;
    fill(practice, 3);
    QFile stranger(QDir(AutoBackup::folder(practice.dir())).filePath("notes.txt"));
    QDir().mkpath(AutoBackup::folder(practice.dir()));
    ASSERT_TRUE(stranger.open(QIODevice::WriteOnly));
    stranger.close();

    const QDate first(2026, 1, 1);
    const QDate last(2026, 12, 31);
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        if (day.dayOfWeek() > 5)
            continue; // the practice is closed at weekends
        const QList<QTime> exits = day.day() % 3 == 0 ? QList<QTime> {QTime(13, 0), QTime(20, 15)}
                                                      : QList<QTime> {QTime(20, 15)};
        for (const QTime &t : exits) {
            const AutoBackup::Result r = AutoBackup::atNormalEnd(practice.dir(), QDateTime(day, t));
            ASSERT_TRUE(r.ok) << r.failure.toStdString();
        }
        if (day == QDate(2026, 1, 20)) {
            // Fourteen workdays so far: 1/1 .. 20/1, weekends left out, nothing monthly yet.
            QStringList want;
            for (QDate d = first; d <= day; d = d.addDays(1))
                if (d.dayOfWeek() <= 5)
                    want << QStringLiteral("orvanta-%1-2015.mdb").arg(d.toString("yyyy-MM-dd"));
            want << "notes.txt";
            QStringList got = filesIn(AutoBackup::folder(practice.dir()));
            got.sort();
            want.sort();
            EXPECT_EQ(got, want);
        }
    }
    // The last fourteen workdays of December and the last workday of January to November.
    const QStringList want = {
        "notes.txt",
        "orvanta-2026-01-30-2015.mdb", "orvanta-2026-02-27-2015.mdb",
        "orvanta-2026-03-31-2015.mdb", "orvanta-2026-04-30-2015.mdb",
        "orvanta-2026-05-29-2015.mdb", "orvanta-2026-06-30-2015.mdb",
        "orvanta-2026-07-31-2015.mdb", "orvanta-2026-08-31-2015.mdb",
        "orvanta-2026-09-30-2015.mdb", "orvanta-2026-10-30-2015.mdb",
        "orvanta-2026-11-30-2015.mdb",
        "orvanta-2026-12-14-2015.mdb", "orvanta-2026-12-15-2015.mdb",
        "orvanta-2026-12-16-2015.mdb", "orvanta-2026-12-17-2015.mdb",
        "orvanta-2026-12-18-2015.mdb", "orvanta-2026-12-21-2015.mdb",
        "orvanta-2026-12-22-2015.mdb", "orvanta-2026-12-23-2015.mdb",
        "orvanta-2026-12-24-2015.mdb", "orvanta-2026-12-25-2015.mdb",
        "orvanta-2026-12-28-2015.mdb", "orvanta-2026-12-29-2015.mdb",
        "orvanta-2026-12-30-2015.mdb", "orvanta-2026-12-31-2015.mdb",
    };
    QStringList got = filesIn(AutoBackup::folder(practice.dir()));
    got.sort();
    EXPECT_EQ(got, want);

    // Into the next year: January 2026 falls out of the twelve months.
    ASSERT_TRUE(AutoBackup::atNormalEnd(practice.dir(), QDateTime(QDate(2027, 1, 4), QTime(20, 0))).ok);
    got = filesIn(AutoBackup::folder(practice.dir()));
    EXPECT_FALSE(got.contains("orvanta-2026-01-30-2015.mdb"));
    EXPECT_TRUE(got.contains("orvanta-2026-02-27-2015.mdb"));
    EXPECT_TRUE(got.contains("orvanta-2027-01-04-2000.mdb"));
    EXPECT_FALSE(got.contains("orvanta-2026-12-14-2015.mdb"));
}

TEST(AutomaticCopies, AFailedCopyRemovesNothingAndIsToldOnceAtTheNextStart)
{
    TempPractice practice;
    fill(practice, 200);
    const QString folder = AutoBackup::folder(practice.dir());
    for (int d = 1; d <= 20; ++d)
        ASSERT_TRUE(AutoBackup::atNormalEnd(practice.dir(), QDateTime(QDate(2026, 4, d), QTime(20, 0))).ok);
    const QStringList before = filesIn(folder);
    EXPECT_EQ(before.size(), 14);

    PracticeBackup::setDestinationHook([](sqlite3 *db) {
        sqlite3_exec(db, "PRAGMA max_page_count = 2", nullptr, nullptr, nullptr);
    });
    const AutoBackup::Result r
        = AutoBackup::atNormalEnd(practice.dir(), QDateTime(QDate(2026, 4, 21), QTime(20, 0)));
    PracticeBackup::setDestinationHook({});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(filesIn(folder), before);

    const QString note = AutoBackup::takeFailureNote(practice.dir());
    EXPECT_TRUE(note.startsWith("21/4/2026 20:00\n")) << note.toStdString();
    EXPECT_TRUE(note.contains("full")) << note.toStdString();
    EXPECT_EQ(AutoBackup::takeFailureNote(practice.dir()), QString());

    // A folder named in orvanta.ini, relative to the practice.
    QFile ini(QDir(practice.dir()).filePath("orvanta.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[backup]\nfolder=../copies of the practice\n");
    ini.close();
    EXPECT_EQ(AutoBackup::folder(practice.dir()),
              QDir::cleanPath(practice.dir() + "/../copies of the practice"));
}

// The tool for scheduled tasks: one line and an exit status per outcome.
TEST(BackupTool, SaysInOneLineWhatHappenedWithAnExitStatusOfItsOwn)
{
    TempPractice practice;
    fill(practice, 3);
    QTemporaryDir usb;
    QTemporaryDir empty;
    struct Case {
        const char *name;
        QStringList args;
        int status;
        QString out; // the start of the one line, on stdout for 0 and stderr otherwise
    };
    const Case cases[] = {
        {"backed up", {practice.dir(), usb.path()}, 0, "backed up " + usb.path() + "/orvanta-"},
        {"destination missing", {practice.dir(), usb.filePath("gone")}, 4,
         "not backed up: destination not writable: "},
        {"no practice there", {empty.path(), usb.path()}, 3, "not backed up: practice not readable: "},
        {"wrong command line", {practice.dir()}, 2, "usage: orvanta-backup "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QProcess tool;
        tool.start(QStringLiteral(BACKUP_TOOL), c.args);
        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), c.status);
        const QString out = QString::fromUtf8(c.status == 0 ? tool.readAllStandardOutput()
                                                            : tool.readAllStandardError());
        EXPECT_TRUE(out.startsWith(c.out)) << out.toStdString();
        EXPECT_EQ(out.count('\n'), 1) << out.toStdString();
        if (c.status == 0) {
            EXPECT_TRUE(out.endsWith(" bytes, verified, not encrypted\n")) << out.toStdString();
        }
    }
    EXPECT_EQ(QDir(usb.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
