// A practice kept on a server backed up into a practice file and restored from it into a new
// database: every row of every table the same, in the same order, on all three. Runs only when
// the suite has a test server (tests/server/run.sh).
#include "connection.h"
#include "connectionstring.h"
#include "engine.h"
#include "practicebackup.h"
#include "practicecopy.h"
#include "serversession.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

QString text(const QVariant &v)
{
    return v.isValid() && !v.isNull() ? v.toString() : QStringLiteral("<null>");
}

QStringList serverRows(ServerSession &server, const PracticeCopy::TableShape &shape)
{
    QStringList names;
    for (const QString &c : shape.columns)
        names << '"' + c.toLower() + '"';
    const ServerSession::Result r
        = server.run(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid")
                         .arg(names.join(','), shape.name.toLower()));
    QStringList out;
    for (const auto &row : r.rows) {
        QStringList values;
        for (const QVariant &v : row)
            values << text(v);
        out << values.join('|');
    }
    return out;
}

QStringList fileRows(const QString &path, const PracticeCopy::TableShape &shape)
{
    Connection file;
    file.openPracticeFile(path, ConnectionString::kDatabasePassword, true);
    QStringList names;
    for (const QString &c : shape.columns)
        names << '"' + c + '"';
    const PreparedStatement stmt = file.prepare(
        QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid").arg(names.join(','), shape.name));
    QStringList out;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        QStringList values;
        for (int i = 0; i < shape.columns.size(); ++i)
            values << text(PracticeCopy::fileValue(stmt.get(), i));
        out << values.join('|');
    }
    return out;
}

} // namespace

TEST(ServerBackup, AServerPracticeBackedUpAndRestoredIsTheSameRowByRow)
{
    if (!TestSupport::onServer())
        GTEST_SKIP() << "needs the test server (tests/server/run.sh)";
    TestSupport::TempPractice practice;
    for (int i = 0; i < 40; ++i)
        practice.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,"
                                     "HMEROMHNIA_GENNHSEWS,ISTORIKO,[3]) VALUES('Ελένη %1',"
                                     "'Ο''Νιλ %1',#4/%2/1960#,'Πόνος\nστη μέση','ΝΑΙ')")
                          .arg(i)
                          .arg(1 + i % 28));
    practice.exec("DELETE FROM STOIXEIA_PELATH WHERE ONOMA='Ελένη 39'"); // its ID is not reused
    practice.exec("INSERT INTO EPISKEPSEIS(ID,HMEROMHNIA,AITIA) VALUES(1,#3/2/2026#,'Αυχένας')");
    practice.exec("INSERT INTO RANTEBOU(HMEROMHNIA,[0800-0830]) VALUES(#3/5/2026#,'Βλάχος')");
    practice.exec("INSERT INTO RANTEBOU_ASTHENH(HMEROMHNIA,THESH,ID,DEN_PROSHLTHE) VALUES("
                  "#3/5/2026#,0,1,TRUE)");
    practice.exec("INSERT INTO RANTEBOU_ASTHENH(HMEROMHNIA,THESH,ID) VALUES(#3/6/2026#,27,2)");
    practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(103)");
    practice.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(24)");
    for (int n = 101; n <= 102; ++n) {
        practice.exec(QStringLiteral("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,ONOMA,POSO,VAT,"
                                     "SYNOLIKO_POSO,POSO_CY) VALUES(%1,'Ελένη',40.1,9.62,49.72,"
                                     "23.47)")
                          .arg(n));
        practice.exec(QStringLiteral("INSERT INTO EISPRAKSH_PELATH(ID,POSO,AR_APODEIKSHS,VAT,"
                                     "SYNOLIKO_POSO) VALUES(1,40.1,%1,9.62,49.72)")
                          .arg(n));
    }
    practice.exec("UPDATE APODEIKSEIS SET EGKYRH=FALSE WHERE AR_APODEIKSHS=102");
    practice.exec("INSERT INTO EKSODA(HMEROMHNIA,POSO,VAT,PERIGRAFH) VALUES(#3/9/2026#,100.5,"
                  "24.12,'Ενοίκιο')");
    practice.exec("INSERT INTO SHMEIWSEIS(TITLOS,PERIGRAFH) VALUES('Σημείωση','Κείμενο')");
    practice.exec("INSERT INTO YPENTHIMISEIS(HMEROMHNIA,PERIGRAFH) VALUES(#3/10/2026#,'Τηλέφωνο')");
    practice.exec("INSERT INTO XRHSIMA_THLEFWNA(ONOMATEPWNYMO,THLEFWNO_1) VALUES('Φαρμακείο',"
                  "'2101234567')");
    practice.exec("INSERT INTO GIATROI_ALLWN_EIDIKOTHTWN(EPWNYMO,EIDIKOTHTA) VALUES('Δήμου',"
                  "'Ορθοπεδικός')");
    practice.exec("INSERT INTO INFORMATION(TITLE) VALUES('Φυσικοθεραπευτήριο')");
    practice.exec("UPDATE SECURITY SET [PASSWORD]='δικός μου'");

    const QString live = EngineSettings::read(practice.dir()).serverConnection;
    QTemporaryDir usb;
    const QDateTime when(QDate(2026, 3, 11), QTime(20, 5));
    const PracticeBackup::Outcome out = PracticeBackup::backUp(practice.dir(), usb.path(), when);
    EXPECT_TRUE(out.tables.contains("STOIXEIA_PELATH: 39 rows"))
        << out.tables.join("; ").toStdString();

    const QString restored = PracticeBackup::restoreToServer(out.path, live, when);
    struct Drop {
        QString name;
        ~Drop()
        {
            try {
                ServerSession(TestSupport::testServer())
                    .run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
            } catch (const DbError &) {}
        }
    } drop {"orvanta_restored_20260311_200500"};
    EXPECT_TRUE(restored.endsWith(" dbname=orvanta_restored_20260311_200500"))
        << restored.toStdString();

    ServerSession original(live);
    ServerSession copy(restored);
    for (const PracticeCopy::TableShape &shape : PracticeCopy::tables()) {
        SCOPED_TRACE(shape.name.toStdString());
        const QStringList want = serverRows(original, shape);
        EXPECT_EQ(fileRows(out.path, shape), want);
        EXPECT_EQ(serverRows(copy, shape), want);
    }
    // A patient registered after the restore takes an ID the server never gave before.
    const qlonglong id = copy.run("INSERT INTO stoixeia_pelath(epwnymo) VALUES('Νέος') "
                                  "RETURNING id")
                             .rows.at(0)
                             .at(0)
                             .toLongLong();
    EXPECT_EQ(id, 41);
    // The restored database is a practice the workstations open with the same password.
    QTemporaryDir workstation;
    EngineSettings::writeServer(workstation.path(), restored);
    Connection c;
    c.setUp(ConnectionString::build(workstation.path()), true);
    EXPECT_EQ(c.engine(), Engine::PostgreSQL);
}
