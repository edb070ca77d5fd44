// Goes through the receipts as a person would on a practice with real-looking details: sets
// the numbering, issues receipts, cancels one, reprints one, asks for the payments and the
// period income, and saves a picture of each window and every receipt printed as a PDF.
//   xvfb-run -a ./billing_screenshots OUTDIR
#include "connection.h"
#include "connectionstring.h"
#include "decimal.h"
#include "directpdfoutput.h"
#include "issuedreceiptswindow.h"
#include "messageservice.h"
#include "patientpaymentswindow.h"
#include "periodincomewindow.h"
#include "practicedetailswindow.h"
#include "program.h"
#include "receiptprinting.h"
#include "receiptwindow.h"
#include "recordnavigator.h"
#include "schema.h"
#include "settingwindow.h"
#include "windowhooks.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstdio>

namespace {

// Answers Yes and prints every box to the terminal.
class SayYes : public MessageService {
public:
    void information(QWidget *, const QString &t) override { say("information", t); }
    bool askYesNo(QWidget *, const QString &t) override { return say("yes/no -> yes", t); }
    bool askOkCancel(QWidget *, const QString &t) override { return say("ok/cancel -> ok", t); }
    void error(QWidget *, const QString &t) override { say("error", t); }

private:
    static bool say(const char *kind, QString text)
    {
        std::printf("[%s] %s\n", kind, qPrintable(text.replace(QLatin1Char('\r'), " / ")));
        return true;
    }
};

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

void save(QWidget *w, const QString &dir, const QString &name)
{
    w->show();
    settle();
    w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

// Types as a person does, Greek letters included.
void type(QWidget *w, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void keepPdf(const DirectPdfOutput &output, const QString &dir, const QString &name)
{
    if (output.runs().isEmpty())
        return;
    const QString target = QDir(dir).filePath(name + QStringLiteral(".pdf"));
    QFile::remove(target);
    QFile::copy(output.runs().last().pdfPath, target);
    std::printf("printed %s with %s\n", qPrintable(target),
                qPrintable(output.runs().last().projectFile));
}

void issue(const QString &id, const QString &first, const QString &surname, const QString &amount,
           const QString &description, const QString &fund, const QString &out = {})
{
    ReceiptWindow w;
    w.PatientId = id;
    w.PatientFirstName = first;
    w.PatientSurname = surname;
    w.show();
    type(w.amountBox(), amount);
    type(w.descriptionBox(), description);
    type(w.fundBox(), fund);
    if (!out.isEmpty())
        save(&w, out, QStringLiteral("receipt-window"));
    w.registerButton()->click();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    QTemporaryDir dir;
    Schema::createPracticeDatabase(QDir(dir.path()).filePath(QStringLiteral("data.mdb")),
                                   QLatin1String(ConnectionString::kDatabasePassword));
    for (const QString &name : QDir(QStringLiteral(ORVANTA_SOURCE_LAYOUTS)).entryList(QDir::Files))
        QFile::copy(QDir(QStringLiteral(ORVANTA_SOURCE_LAYOUTS)).filePath(name),
                    QDir(dir.path()).filePath(name));
    Program::AppDir = dir.path();
    Program::DbConnectionString = ConnectionString::build(dir.path());
    SayYes messages;
    MessageService::install(&messages);
    DirectPdfOutput output;
    ReceiptPrinting printing;
    WindowHooks::printReceipt = [&](QWidget *, const QString &no) {
        printing.ReceiptNo = no.toLongLong();
        printing.PrintReceipt();
    };
    {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        for (const char *p : {"('Γιώργος','Παπαδόπουλος','ΙΚΑ')", "('Μαρία','Αντωνίου','ΟΑΕΕ')",
                              "('Ελένη','Ζαχαρίου',NULL)"})
            c.execute(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,TAMEIO) VALUES")
                      + QString::fromUtf8(p));
        c.execute(QStringLiteral("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(15)"));
    }

    {
        ReceiptNumberingWindow w;
        w.show();
        type(w.valueBox(), QStringLiteral("1001"));
        save(&w, out, QStringLiteral("numbering"));
        w.saveClick();
    }
    {
        VatRateWindow w; // saving would end the program: only looked at
        save(&w, out, QStringLiteral("vat-rate"));
    }
    {
        PracticeDetailsWindow w;
        w.show();
        const std::pair<const char *, const char *> details[] = {
            {"TITLE", "Φυσικοθεραπευτήριο Ελένης Κωνσταντίνου"},
            {"ADDRESS1", "Λεωφόρος Αρχιεπισκόπου Μακαρίου Γ' 45"},
            {"ADDRESS2", "3065 Λεμεσός"},
            {"PHONE", "25 123456"},
            {"FAX", "25 123457"},
            {"WEBSITE", "www.physio-konstantinou.com.cy"},
            {"EMAIL", "info@physio-konstantinou.com.cy"},
            {"AFT", "10293847Χ"},
            {"AFPA", "10293847Χ"},
            {"EXTRA1", "Πτυχιούχος Φυσικοθεραπεύτρια - Μέλος Π.Σ.Φ."},
            {"EXTRA2", "Δευτέρα - Παρασκευή 08:00 - 20:00"},
            {"EXTRA3", "Συμβεβλημένη με όλα τα ταμεία"},
        };
        for (const auto &[column, text] : details)
            type(w.field(QLatin1String(column)), QString::fromUtf8(text));
        w.saveBar()->press(RecordNavigator::Post);
        save(&w, out, QStringLiteral("practice-details"));
        w.previewButton()->click();
        keepPdf(output, out, QStringLiteral("preview-no-receipt"));
    }

    issue(QStringLiteral("1"), QStringLiteral("Γιώργος"), QStringLiteral("Παπαδόπουλος"),
          QStringLiteral("40"), QStringLiteral("Φυσικοθεραπεία 5 συνεδρίες"), QStringLiteral("ΙΚΑ"),
          out);
    keepPdf(output, out, QStringLiteral("receipt-1001-vat"));
    issue(QStringLiteral("2"), QStringLiteral("Μαρία"), QStringLiteral("Αντωνίου"),
          QStringLiteral("25") + Decimal::systemSeparator() + QStringLiteral("50"),
          QStringLiteral("Μασάζ πλάτης"), QStringLiteral("ΟΑΕΕ"));
    issue(QStringLiteral("1"), QStringLiteral("Γιώργος"), QStringLiteral("Παπαδόπουλος"),
          QStringLiteral("60"), QStringLiteral("Κινησιοθεραπεία γόνατος"), QString());
    issue(QStringLiteral("3"), QStringLiteral("Ελένη"), QStringLiteral("Ζαχαρίου"),
          QStringLiteral("35"), QStringLiteral("Ηλεκτροθεραπεία"), QString());

    {
        IssuedReceiptsWindow w;
        save(&w, out, QStringLiteral("register"));
        w.navigator()->press(RecordNavigator::Next); // 1002
        w.cancelButton()->click();
        w.navigator()->press(RecordNavigator::Next);
        save(&w, out, QStringLiteral("register-after-cancel"));
        w.navigator()->press(RecordNavigator::Last);
        w.printButton()->click(); // reprint
        keepPdf(output, out, QStringLiteral("reprint-1004"));
        w.sortChoice(2)->click();
        save(&w, out, QStringLiteral("register-by-validity"));
    }
    {
        PatientPaymentsWindow w;
        w.PatientId = QStringLiteral("1");
        w.PatientFirstName = QStringLiteral("Γιώργος");
        w.PatientSurname = QStringLiteral("Παπαδόπουλος");
        save(&w, out, QStringLiteral("payments"));
    }
    {
        PatientPaymentsWindow w;
        w.PatientId = QStringLiteral("2");
        w.PatientFirstName = QStringLiteral("Μαρία");
        w.PatientSurname = QStringLiteral("Αντωνίου");
        save(&w, out, QStringLiteral("payments-cancelled-only"));
    }
    {
        PeriodIncomeWindow w;
        w.show();
        type(w.fromBox(), QStringLiteral("1/1/2026"));
        type(w.toBox(), QStringLiteral("31/12/2026"));
        w.findButton()->click();
        save(&w, out, QStringLiteral("period-income"));
    }
    {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        c.execute(QStringLiteral("UPDATE SYNTELESTHS_VAT SET VAT_RATIO=0"));
    }
    {
        IssuedReceiptsWindow w;
        w.show();
        w.printButton()->click(); // the first receipt keeps the VAT it was issued with
        keepPdf(output, out, QStringLiteral("reprint-1001-after-rate-0"));
    }
    issue(QStringLiteral("3"), QStringLiteral("Ελένη"), QStringLiteral("Ζαχαρίου"),
          QStringLiteral("35"), QStringLiteral("Ηλεκτροθεραπεία"), QString());
    keepPdf(output, out, QStringLiteral("receipt-1005-novat"));
    std::printf("done\n");
    return 0;
}
