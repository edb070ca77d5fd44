// A restore stopped after each of its steps, by an exception thrown from its test seam and by a
// kill of the process doing it: data.mdb is always there and opens, whole, as either the
// practice as it was or the restored one, and a restore started afterwards finishes the work.
#include "connection.h"
#include "connectionstring.h"
#include "practicebackup.h"
#include "practicecopy.h"
#include "program.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

using PracticeBackup::BackupError;
using PracticeBackup::Failure;
using TestSupport::TempPractice;

namespace {

const QDateTime kTaken(QDate(2026, 3, 5), QTime(18, 30));
const QDateTime kRestored(QDate(2026, 3, 6), QTime(9, 5, 7));
const QString kAside = QStringLiteral("data-before-restore-2026-03-06-090507.mdb");
const QString kTemp = QString::fromLatin1(PracticeBackup::kRestoringName);

enum class Practice { Old, Restored };

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Every figure the checks of a copy compare, of every table.
QList<QVariantList> figures(const QString &path)
{
    Connection c;
    c.openPracticeFile(path, QLatin1String(ConnectionString::kDatabasePassword), true);
    QList<QVariantList> out;
    for (const PracticeCopy::TableShape &shape : PracticeCopy::tables())
        out << PracticeCopy::fileFigures(c, shape);
    return out;
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat x {
    }, y {};
    return ::stat(QFile::encodeName(a).constData(), &x) == 0
        && ::stat(QFile::encodeName(b).constData(), &y) == 0 && x.st_dev == y.st_dev
        && x.st_ino == y.st_ino;
}

// A practice of 40 patients and 11 receipts with a backup of it, then 7 patients more: the
// backup and the practice differ in every table's figures that the patients touch.
struct Scene {
    TempPractice practice;
    QTemporaryDir usb;
    QString backup;
    QList<QVariantList> oldFigures;
    QList<QVariantList> restoredFigures;

    Scene()
    {
        add(40, QStringLiteral("Παπαδοπούλου"));
        practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(12)");
        for (int n = 1; n <= 11; ++n)
            practice.exec(QStringLiteral("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,ONOMA,POSO,VAT,"
                                         "SYNOLIKO_POSO) VALUES(%1,'Ελένη',40,9.6,49.6)")
                              .arg(n));
        backup = PracticeBackup::backUp(practice.dir(), usb.path(), kTaken).path;
        add(7, QStringLiteral("Μετά το αντίγραφο"));
        oldFigures = figures(practice.dbPath());
        restoredFigures = figures(backup);
    }

    void add(int patients, const QString &surname)
    {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        Transaction t(c);
        for (int i = 0; i < patients; ++i)
            c.execute(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,ISTORIKO) "
                                     "VALUES('Ελένη','%1 %2','Πόνος στη μέση')")
                          .arg(surname)
                          .arg(i));
        t.commit();
    }

    QString file(const QString &name) const { return QDir(practice.dir()).filePath(name); }

    // Which practice the file holds, whole: it passes every check of a backup (a database file
    // of this program, sound, with the practice's password) and every table's figures are
    // those of one of the two. Fails the test otherwise.
    void expectWhole(const QString &name, Practice which) const
    {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(QFileInfo::exists(file(name)));
        try {
            PracticeBackup::inspect(file(name));
        } catch (const BackupError &e) {
            FAIL() << "does not open as a practice: " << e.message().toStdString();
        }
        const QList<QVariantList> got = figures(file(name));
        EXPECT_EQ(got, which == Practice::Old ? oldFigures : restoredFigures);
    }
};

struct Stopped {};

struct StepHook {
    explicit StepHook(std::function<void(const char *)> hook)
    {
        PracticeBackup::setRestoreStepHook(std::move(hook));
    }
    ~StepHook() { PracticeBackup::setRestoreStepHook({}); }
};

// What the folder holds when the restore stops after each step: which practice data.mdb is,
// and the files beside it, by an exception (the restore cleans up after itself) and by a kill
// (nothing cleans up).
struct StepCase {
    const char *step;
    Practice dataMdb;
    QStringList afterException;
    QStringList afterKill;
};

const QList<StepCase> &stepCases()
{
    static const QList<StepCase> cases = {
        {"copied", Practice::Old, {"data.mdb"}, {kTemp, "data.mdb"}},
        {"checked", Practice::Old, {"data.mdb"}, {kTemp, "data.mdb"}},
        {"set aside", Practice::Old, {"data.mdb"}, {kTemp, kAside, "data.mdb"}},
        {"replaced", Practice::Restored, {kAside, "data.mdb"}, {kAside, "data.mdb"}},
        {"synced", Practice::Restored, {kAside, "data.mdb"}, {kAside, "data.mdb"}},
    };
    return cases;
}

} // namespace

TEST(RestoreSteps, EveryStepOfTheRestoreIsNamedInTheTableOfCases)
{
    QStringList named;
    for (const char *step : PracticeBackup::kRestoreSteps)
        named << QLatin1String(step);
    QStringList tested;
    for (const StepCase &c : stepCases())
        tested << QLatin1String(c.step);
    EXPECT_EQ(tested, named);
}

TEST(RestoreSteps, AnExceptionAfterAnyStepLeavesOneOfTheTwoPracticesAndNothingHalfDone)
{
    for (const StepCase &c : stepCases()) {
        SCOPED_TRACE(c.step);
        Scene scene;
        QStringList reached;
        {
            const StepHook hook([&](const char *step) {
                reached << QLatin1String(step);
                if (qstrcmp(step, c.step) == 0)
                    throw Stopped {};
            });
            EXPECT_THROW(PracticeBackup::restoreFile(scene.backup, scene.practice.dir(), kRestored),
                         Stopped);
        }
        EXPECT_EQ(reached.last(), QLatin1String(c.step));
        EXPECT_EQ(filesIn(scene.practice.dir()), c.afterException);
        scene.expectWhole("data.mdb", c.dataMdb);
        if (c.afterException.contains(kAside))
            scene.expectWhole(kAside, Practice::Old);

        // The person tries again: the restore goes through.
        const QString aside = PracticeBackup::restoreFile(scene.backup, scene.practice.dir(),
                                                          kRestored.addSecs(60));
        scene.expectWhole("data.mdb", Practice::Restored);
        EXPECT_FALSE(filesIn(scene.practice.dir()).contains(kTemp));
        EXPECT_FALSE(sameFile(aside, scene.file("data.mdb")));
    }
}

TEST(RestoreSteps, AProcessKilledAfterAnyStepLeavesOneOfTheTwoPracticesAndTheNextRestoreEndsIt)
{
    for (const StepCase &c : stepCases()) {
        SCOPED_TRACE(c.step);
        Scene scene;
        QProcess child;
        child.start(QStringLiteral(RESTORE_CHILD),
                    {scene.practice.dir(), scene.backup, QLatin1String(c.step)});
        ASSERT_TRUE(child.waitForStarted());
        QByteArray line;
        while (!line.endsWith('\n') && child.state() == QProcess::Running)
            if (child.waitForReadyRead(60000))
                line += child.readAllStandardOutput();
            else
                break;
        ASSERT_EQ(line.trimmed(), QByteArray(c.step)) << child.readAllStandardError().constData();
        child.kill();
        ASSERT_TRUE(child.waitForFinished());
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

        EXPECT_EQ(filesIn(scene.practice.dir()), c.afterKill);
        scene.expectWhole("data.mdb", c.dataMdb);
        if (c.afterKill.contains(kAside))
            scene.expectWhole(kAside, Practice::Old);
        if (c.dataMdb == Practice::Old && c.afterKill.contains(kAside)) {
            EXPECT_TRUE(sameFile(scene.file(kAside), scene.file("data.mdb")));
        }

        // The next restore removes the half-made copy and the second name of data.mdb that
        // the killed one left, and puts the backup in place.
        const QString aside = PracticeBackup::restoreFile(scene.backup, scene.practice.dir(),
                                                          kRestored.addSecs(60));
        scene.expectWhole("data.mdb", Practice::Restored);
        const QStringList files = filesIn(scene.practice.dir());
        EXPECT_FALSE(files.contains(kTemp));
        for (const QString &name : files) {
            if (name != QLatin1String("data.mdb")) {
                EXPECT_FALSE(sameFile(scene.file(name), scene.file("data.mdb")))
                    << name.toStdString();
            }
        }
        const QString first = c.dataMdb == Practice::Old ? QFileInfo(aside).fileName() : kAside;
        scene.expectWhole(first, Practice::Old);
    }
}

// A program that had the practice open before the restore keeps its connection to the old
// file: it can no longer write into it, nor leave a journal of it beside the restored file.
TEST(RestoreSteps, AConnectionOpenedBeforeTheRestoreCannotWriteAfterIt)
{
    Scene scene;
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(scene.practice.dbPath()).constData(), &other,
                              SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    sqlite3_extended_result_codes(other, 1);
    ASSERT_EQ(sqlite3_exec(other, "SELECT count(*) FROM STOIXEIA_PELATH", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);

    const QString aside
        = PracticeBackup::restoreFile(scene.backup, scene.practice.dir(), kRestored);
    EXPECT_EQ(sqlite3_exec(other, "INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('Αργά')", nullptr,
                           nullptr, nullptr),
              SQLITE_READONLY_DBMOVED);
    sqlite3_close_v2(other);

    EXPECT_EQ(filesIn(scene.practice.dir()), QStringList({kAside, "data.mdb"}));
    scene.expectWhole("data.mdb", Practice::Restored);
    scene.expectWhole(kAside, Practice::Old);
}

// A practice that another tool switched to write-ahead logging: while that tool has it open the
// restore is refused as for a file in use; once it is closed the log is folded in and removed,
// so that no log of the old file is left beside the restored one.
TEST(RestoreSteps, APracticeInWriteAheadLoggingIsRestoredOnlyWhenNoOneHasItOpen)
{
    Scene scene;
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(scene.practice.dbPath()).constData(), &other,
                              SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "UPDATE STOIXEIA_PELATH SET ISTORIKO = ISTORIKO", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    const QStringList before = filesIn(scene.practice.dir());
    ASSERT_TRUE(before.contains("data.mdb-wal"));

    const int busy = Connection::busyWait();
    Connection::setBusyWait(50);
    try {
        PracticeBackup::restoreFile(scene.backup, scene.practice.dir(), kRestored);
        ADD_FAILURE() << "restored under a program in write-ahead logging";
    } catch (const BackupError &e) {
        EXPECT_EQ(int(e.failure()), int(Failure::InUse)) << e.message().toStdString();
    }
    Connection::setBusyWait(busy);
    EXPECT_EQ(filesIn(scene.practice.dir()), before);
    sqlite3_close_v2(other);

    PracticeBackup::restoreFile(scene.backup, scene.practice.dir(), kRestored);
    EXPECT_EQ(filesIn(scene.practice.dir()), QStringList({kAside, "data.mdb"}));
    scene.expectWhole("data.mdb", Practice::Restored);
    scene.expectWhole(kAside, Practice::Old);
}
