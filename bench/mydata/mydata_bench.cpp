// Times issuing receipts with the e-books on (each receipt queued, checked, validated, sent to
// the stand-in service on 127.0.0.1 and its reply kept, before the next) against the same
// receipts with the e-books off, in the same process. The stand-in's own time (it validates
// every body with xmllint) is measured by the stand-in and left out:
//   ratio = time on / (time off + stand-in's time)
// Run by hand: QT_QPA_PLATFORM=offscreen ./mydata_bench [receipts=1000]
#include "connection.h"
#include "connectionstring.h"
#include "ebooksservice.h"
#include "ebookssettings.h"
#include "program.h"
#include "receiptissue.h"
#include "schema.h"
#include "secretstore.h"
#include "standin.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class MemorySecrets : public MyData::SecretStore {
public:
    void read(const QString &, Read done) override { done(true, key, QString()); }
    void write(const QString &, const QString &, Done done) override { done(true, {}); }
    void remove(const QString &, Done done) override { done(true, {}); }
    QString key = QLatin1String(StandIn::kKey);
};

QString newPractice(const QTemporaryDir &dir, const QString &name, bool ebooks)
{
    QDir(dir.path()).mkdir(name);
    const QString folder = QDir(dir.path()).filePath(name);
    Schema::createPracticeDatabase(QDir(folder).filePath(QStringLiteral("data.mdb")),
                                   QLatin1String(ConnectionString::kDatabasePassword));
    Program::AppDir = folder;
    Program::DbConnectionString = ConnectionString::build(folder);
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    c.execute(QStringLiteral("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1)"));
    c.execute(QStringLiteral("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(0)"));
    c.execute(QStringLiteral("INSERT INTO INFORMATION (TITLE, AFT) VALUES ('Φυσικοθεραπευτήριο', "
                             "'691400507')"));
    if (ebooks) {
        MyData::EbooksSettings s;
        s.enabled = true;
        s.user = QLatin1String(StandIn::kUser);
        s.write(c);
    }
    return folder;
}

// Issues the receipts one after the other as the receipt window does: a connection of its own
// for each, and with the e-books on, the sending waited for before the next receipt.
double issue(int count, MyData::EbooksService *service, int &sent)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        ReceiptIssue issue(c);
        issue.read();
        const ReceiptIssue::Result r
            = issue.issue({"1", "Άννα", "Ιωάννου", QStringLiteral("%1").arg(20 + i % 50),
                           "Φυσικοθεραπεία", ""});
        if (r.outcome != ReceiptIssue::Outcome::Issued) {
            std::fprintf(stderr, "receipt %d not issued\n", i);
            std::exit(1);
        }
        c.close();
        if (service) {
            bool done = false;
            service->sendReceipt(r.number, [&](const MyData::Turn &t) {
                done = true;
                sent += t.outcome == MyData::Outcome::Sent;
            });
            waitUntil([&] { return done; }, 60000);
        }
    }
    return double(clock.elapsed());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    const QString xsd = QStringLiteral(ORVANTA_MYDATA_XSD_DIR);
    QTemporaryDir dir;
    newPractice(dir, QStringLiteral("off"), false);
    int none = 0;
    const double off = issue(count, nullptr, none);

    StandIn standIn(xsd);
    if (!standIn.isRunning()) {
        std::fprintf(stderr, "the stand-in service did not start\n");
        return 1;
    }
    newPractice(dir, QStringLiteral("on"), true);
    MemorySecrets secrets;
    MyData::EbooksService service(secrets, Program::DbConnectionString, xsd,
                                  QStringLiteral("bench"));
    service.reloadSettings();
    service.setServiceUrl(standIn.baseUrl());
    int sent = 0;
    const double on = issue(count, &service, sent);

    double standInMs = 0;
    for (const QJsonValue &v : standIn.log())
        standInMs += v.toObject().value(QStringLiteral("ms")).toDouble();
    std::printf("%d receipts, synchronous=FULL, wall time\n", count);
    std::printf("  e-books off:                 %8.0f ms (%.2f ms a receipt)\n", off, off / count);
    std::printf("  e-books on (%d sent):      %8.0f ms (%.2f ms a receipt)\n", sent, on,
                on / count);
    std::printf("  the stand-in's own time:     %8.0f ms (%.2f ms a receipt)\n", standInMs,
                standInMs / count);
    std::printf("  ratio on / (off + stand-in): %8.2f (at most 1.5)\n", on / (off + standInMs));
    return sent == count ? 0 : 1;
}
