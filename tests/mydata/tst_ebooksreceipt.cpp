// A printed receipt carries what the e-books gave it: the MARK, the UID and a QR code of the
// link, read back from the PDF (pdftotext, and pdftoppm with zbarimg for the code).
#include "billingtexts.h"
#include "connection.h"
#include "layout.h"
#include "printingtestsupport.h"
#include "program.h"
#include "receiptprinting.h"
#include "reporterror.h"
#include "schema.h"
#include "sendqueue.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MyData;

namespace {

// The text zbarimg reads from the page's QR codes, one a line; empty when it finds none.
QString decodedQr(const QString &pdf)
{
    QTemporaryDir dir;
    QProcess render;
    render.start("pdftoppm", {"-r", "300", "-png", "-f", "1", "-l", "1", pdf,
                              dir.filePath("page")});
    render.waitForFinished(30000);
    const QStringList pngs = QDir(dir.path()).entryList({"page*.png"});
    if (pngs.isEmpty())
        return QStringLiteral("(no page rendered)");
    QProcess zbar;
    zbar.start("zbarimg", {"--raw", "-q", dir.filePath(pngs.first())});
    zbar.waitForFinished(30000);
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

class EbooksReceipt : public PrintingTest::PrintingFixture {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("zbarimg").isEmpty()
            || QStandardPaths::findExecutable("pdftoppm").isEmpty())
            GTEST_SKIP() << "zbarimg (zbar-tools) and pdftoppm (poppler-utils) are needed";
        // A receipt without VAT beside the sample's receipt 100 (VAT 6).
        practice.exec("INSERT INTO APODEIKSEIS (AR_APODEIKSHS, ONOMA, EPWNYMO, PARALHPTHS, POSO, "
                      "TAMEIO, POSO_CY, PERIGRAFH, VAT, SYNOLIKO_POSO) VALUES (101, 'Άννα', "
                      "'Ζαχαρίου', 'Άννα Ζαχαρίου', 25, '', 14.63, 'Κινησιοθεραπεία', 0, 25)");
        m_connection.setUp(Program::DbConnectionString, true);
        m_queue = std::make_unique<SendQueue>(m_connection);
    }

    void queue(qint64 n, const QString &uid)
    {
        QueueEntry e;
        e.number = n;
        e.series = "Α";
        e.uid = uid;
        m_queue->enqueue(e);
    }

    QString print(qint64 n)
    {
        ReceiptPrinting printing;
        printing.ReceiptNo = n;
        printing.PrintReceipt();
        return output.runs().last().pdfPath;
    }

    Connection m_connection;
    std::unique_ptr<SendQueue> m_queue;
};

const QString kUid = "A94761DBAD6ECFDE9629FB7E6FA5F94E31803C85";

} // namespace

TEST_F(EbooksReceipt, BothLayoutsPrintTheMarkTheUidAndACodeOfTheLink)
{
    // A link as long as the service's, with the characters a link carries.
    const QString link = "https://mydatapi.aade.gr/TimologioQR/QRInfo?q="
                         "pZ3x%2FQm7Yl8Vt0%2BrK4sNwE1aBcD9fGhIjKlMnOpQrStUvWxYz012345678%3D%3D"
                         "&mark=400001912345678";
    const std::pair<qint64, const char *> cases[] = {{100, "APODEIKSEISVAT.RAV"},
                                                     {101, "APODEIKSEIS.RAV"}};
    for (const auto &[n, layout] : cases) {
        SCOPED_TRACE(layout);
        queue(n, kUid);
        ASSERT_TRUE(m_queue->claim(n, "T"));
        m_queue->markSent(n, kUid, 400001912345678 + n, link, QDateTime::currentDateTimeUtc(),
                          "T");
        const QString pdf = print(n);
        EXPECT_TRUE(output.runs().last().projectFile.endsWith(layout));
        EXPECT_EQ(output.runs().last().pages, 1);
        const QString text = lastText(true);
        EXPECT_TRUE(text.contains(QStringLiteral("ΜΑΡΚ: %1").arg(400001912345678 + n)))
            << text.toStdString();
        EXPECT_TRUE(text.contains("UID: " + kUid));
        EXPECT_FALSE(text.contains(BillingTexts::kEbooksWaiting));
        EXPECT_EQ(decodedQr(pdf), link);
    }
}

TEST_F(EbooksReceipt, AReceiptWaitingToBeSentSaysSoAndHasNoCode)
{
    queue(100, kUid);
    const QString pdf = print(100);
    const QString text = lastText(true);
    EXPECT_TRUE(text.contains(BillingTexts::kEbooksWaiting)) << text.toStdString();
    EXPECT_TRUE(text.contains("UID: " + kUid));
    EXPECT_FALSE(text.contains("ΜΑΡΚ"));
    EXPECT_EQ(decodedQr(pdf), QString());
}

// With the e-books never used, and in a practice from before their table, the receipt is the
// receipt it always was.
TEST_F(EbooksReceipt, AReceiptNeverQueuedPrintsAsBefore)
{
    for (bool dropped : {false, true}) {
        SCOPED_TRACE(dropped ? "no table" : "not queued");
        if (dropped)
            practice.exec(QStringLiteral("DROP TABLE %1").arg(Schema::kEbooksTable));
        const QString pdf = print(101);
        const QString text = lastText(true);
        EXPECT_TRUE(text.contains("Κινησιοθεραπεία"));
        EXPECT_FALSE(text.contains("ΜΑΡΚ"));
        EXPECT_FALSE(text.contains("UID"));
        EXPECT_FALSE(text.contains(BillingTexts::kEbooksWaiting));
        EXPECT_EQ(decodedQr(pdf), QString());
    }
}

TEST(QrCodeElement, IsSquareAndNamesItsValue)
{
    const auto parse = [](const char *element) {
        Report::parseLayout(QStringLiteral("band summary height=30\n  %1\n")
                                .arg(QString::fromUtf8(element)),
                            "T.RAV");
    };
    EXPECT_NO_THROW(parse("qrcode x=1 y=1 w=20 h=20 data=A.B"));
    for (const char *bad : {"qrcode x=1 y=1 w=20 h=10 data=A.B", "qrcode x=1 y=1 w=0 h=0 data=A.B",
                            "qrcode x=1 y=1 w=20 h=20", "qrcode x=1 y=1 w=20 h=20 data=AB"})
        EXPECT_THROW(parse(bad), ReportError) << bad;
}
